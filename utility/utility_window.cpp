#include "utility/utility_window.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>

#include "utility/serial_check.h"

namespace talvers {

namespace {

// The locale's decimal separator for the figures inside the messages; '.' when the locale's
// separator is not a single ASCII character.
char decimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 128 ? static_cast<char>(point[0].unicode())
                                                         : '.';
}

}  // namespace

frmUtilitario::frmUtilitario(Connection& bd, const ReportWindowServices& services, QWidget* parent)
    : ReportWindow(QStringLiteral("Utilitário"), services, parent),
      bd_(bd),
      box_([this](const QString& title, const QString& text) {
          QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
          box.exec();
      }) {
    setObjectName(QStringLiteral("frmUtilitario"));
}

ReportWindow::ReportRun frmUtilitario::prepareRun() {
    return {[this, separator = decimalSeparator()](ReportProgress& progress) {
                return runSerialCheck(
                    bd_, [this](const std::string& text) { showCheckMessage(text); }, separator,
                    progress);
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
