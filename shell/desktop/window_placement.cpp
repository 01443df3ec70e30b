#include "shell/desktop/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace talvers {
namespace {

constexpr double kTwipsPerInch = 1440.0;
const char* const kGroup = "Settings";

double storedNumber(QSettings& store, const char* key, double fallback) {
    bool ok = false;
    const double value = store.value(key).toString().trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

QString decimalText(double value) {
    return QString::number(std::lround(value));
}

QScreen* screenOf(const QWidget& window) {
    QScreen* screen = window.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

}  // namespace

Placement readPlacement(QSettings& store) {
    const Placement defaults;
    store.beginGroup(kGroup);
    Placement placement;
    placement.left = storedNumber(store, "MainLeft", defaults.left);
    placement.top = storedNumber(store, "MainTop", defaults.top);
    placement.width = storedNumber(store, "MainWidth", defaults.width);
    placement.height = storedNumber(store, "MainHeight", defaults.height);
    store.endGroup();
    return placement;
}

void writePlacement(QSettings& store, const Placement& placement) {
    store.beginGroup(kGroup);
    store.setValue("MainLeft", decimalText(placement.left));
    store.setValue("MainTop", decimalText(placement.top));
    store.setValue("MainWidth", decimalText(placement.width));
    store.setValue("MainHeight", decimalText(placement.height));
    store.endGroup();
    store.sync();
}

int twipsToPixels(double twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

double pixelsToTwips(int pixels, double dotsPerInch) {
    return pixels * kTwipsPerInch / dotsPerInch;
}

void restorePlacement(QSettings& store, QWidget& window) {
    const Placement placement = readPlacement(store);
    const QScreen* screen = screenOf(window);
    const double dpiX = screen->logicalDotsPerInchX();
    const double dpiY = screen->logicalDotsPerInchY();
    window.move(twipsToPixels(placement.left, dpiX), twipsToPixels(placement.top, dpiY));
    window.resize(twipsToPixels(placement.width, dpiX), twipsToPixels(placement.height, dpiY));
}

void savePlacement(QSettings& store, const QWidget& window) {
    if (window.isMinimized()) return;
    const QScreen* screen = screenOf(window);
    const double dpiX = screen->logicalDotsPerInchX();
    const double dpiY = screen->logicalDotsPerInchY();
    Placement placement;
    placement.left = pixelsToTwips(window.x(), dpiX);
    placement.top = pixelsToTwips(window.y(), dpiY);
    placement.width = pixelsToTwips(window.width(), dpiX);
    placement.height = pixelsToTwips(window.height(), dpiY);
    writePlacement(store, placement);
}

}  // namespace talvers
