// The desktop program.
#include <QApplication>

#include <clocale>

#include "shell/frm_main.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Qt took the locale from the environment; numbers written into workbooks need "C".
    std::setlocale(LC_NUMERIC, "C");
    talvers::frmMain window;
    window.show();
    return app.exec();
}
