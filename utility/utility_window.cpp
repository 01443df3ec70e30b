#include "utility/utility_window.h"

#include <QApplication>
#include <QMessageBox>

#include "shell/dataaccess/money.h"
#include "utility/serial_check.h"

namespace talvers {

frmUtilitario::frmUtilitario(const ErpSession& session, const ReportWindowServices& services,
                             QWidget* parent)
    : ReportWindow(QStringLiteral("Utilitário"), session, services, parent),
      box_([this](const QString& title, const QString& text) {
          QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
          box.exec();
      }) {
    setObjectName(QStringLiteral("frmUtilitario"));
    setSaveDialogTitle(QStringLiteral("Guardar verificação de números de série"));
}

ReportWindow::ReportRun frmUtilitario::prepareRun() {
    return {
        [this, session = session(), separator = userDecimalSeparator()](ReportProgress& progress) {
            return runSerialCheck(
                session, [this](const std::string& text) { showCheckMessage(text); }, separator,
                progress);
        },
        serialCheckOutput(),
        // No movement to check shows nothing, as the check always did; findings are kept only
        // when there are some.
        true};
}

void frmUtilitario::showCheckMessage(const std::string& text) {
    // The check's lines end in CR LF; a label breaks lines on LF alone.
    const QString shown =
        QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    runOnWindowThread([this, shown] { box_(QApplication::applicationName(), shown); });
}

}  // namespace talvers
