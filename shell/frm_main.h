#pragma once
// frmMain: the program's main window.
#include <QMainWindow>

namespace talvers {

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
};

}  // namespace talvers
