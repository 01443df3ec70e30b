#include "utility/utility_window.h"

#include <QApplication>
#include <QMessageBox>

#include "shell/dataaccess/money.h"
#include "utility/serial_check.h"

namespace talvers {

frmUtilitario::frmUtilitario(Connection& bd, const ReportWindowServices& services, QWidget* parent)
    : ReportWindow(QStringLiteral("Utilitário"), services, parent),
      bd_(bd),
      box_([this](const QString& title, const QString& text) {
          QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
          box.exec();
      }) {
    setObjectName(QStringLiteral("frmUtilitario"));
    setSaveDialogTitle(QStringLiteral("Guardar verificação de números de série"));
}

ReportWindow::ReportRun frmUtilitario::prepareRun() {
    return {
        [this, separator = userDecimalSeparator(), mode = lookupMode()](ReportProgress& progress) {
            return runSerialCheck(
                bd_, [this](const std::string& text) { showCheckMessage(text); }, separator,
                progress, mode);
        },
        serialCheckOutput()};
}

void frmUtilitario::showCheckMessage(const std::string& text) {
    // The check's lines end in CR LF; a label breaks lines on LF alone.
    const QString shown =
        QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    runOnWindowThread([this, shown] { box_(QApplication::applicationName(), shown); });
}

}  // namespace talvers
