#include "shell/frm_main.h"

namespace talvers {

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) { setObjectName("frmMain"); }

}  // namespace talvers
