#pragma once
// ReportWindowFactory: how frmMain gets a fresh report window for each menu command. Each
// function returns a new, not yet shown window that frmMain shows modally and destroys when
// it closes, so every command starts with the window's initial settings. frmMain passes the
// notice the window calls with each workbook it writes. Tests inject their own; the desktop
// program makes its list of windows (apps/desktop).
#include <QDialog>

#include <functional>
#include <memory>

#include "shell/desktop/common/saved_file_notice.h"

namespace talvers {

using ReportWindowMaker = std::function<std::unique_ptr<QDialog>(const SavedFileNotice& saved)>;

struct ReportWindowFactory {
    ReportWindowMaker pending;       // frmTalvers
    ReportWindowMaker supplier;      // frmTalversForn
    ReportWindowMaker provisioning;  // frmMapaAprovisionamento
    ReportWindowMaker utility;       // frmUtilitario
};

}  // namespace talvers
