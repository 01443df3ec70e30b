#pragma once
// The main window's placement between runs, kept in the per-user settings store: group
// "Settings", keys "MainLeft", "MainTop", "MainWidth", "MainHeight", each a decimal text in
// twips (1440 to the inch), defaults 1000, 1000, 6500, 6500.
//
// A stored text that is not a number reads as that key's default: a damaged store must not
// keep the program from starting. Twips become pixels through the screen's logical DPI.
// Left and top place the window's frame; width and height are its client area.
#include <QSettings>
#include <QWidget>

namespace talvers {

struct Placement {
    double left = 1000;
    double top = 1000;
    double width = 6500;
    double height = 6500;
};

// The stored placement (defaults for missing or unreadable values).
Placement readPlacement(QSettings& store);
void writePlacement(QSettings& store, const Placement& placement);

// Pixels for `twips` at `dotsPerInch`, rounded to the nearest pixel.
int twipsToPixels(double twips, double dotsPerInch);
double pixelsToTwips(int pixels, double dotsPerInch);

// Moves and sizes `window` to the stored placement.
void restorePlacement(QSettings& store, QWidget& window);
// Stores the window's placement; a minimized window stores nothing, a maximized one its
// maximized position and size.
void savePlacement(QSettings& store, const QWidget& window);

}  // namespace talvers
