#pragma once
// frmUtilitario: the serial-number stock check window. Confirm runs the check; each of its
// messages is shown in a box with an OK button under the application's title, and the run
// waits until the box is closed. The findings then go through the output step like a report
// (the save dialog reads "Guardar verificação de números de série") and stay in the grid. A
// check without findings (no movement to check, or nothing to report) ends without a word:
// there is no workbook to save and no no-data message.
#include <QString>

#include <functional>

#include "reports/frame/desktop/report_window.h"

namespace talvers {

class frmUtilitario : public ReportWindow {
    Q_OBJECT
  public:
    // Shows one message and returns when the user has closed it.
    using MessageBox = std::function<void(const QString& title, const QString& text)>;

    frmUtilitario(const ErpSession& session, const ReportWindowServices& services,
                  QWidget* parent = nullptr);

    // Replaces the message box (tests).
    void setMessageBox(MessageBox box) { box_ = std::move(box); }

  protected:
    ReportRun prepareRun() override;

  private:
    void showCheckMessage(const std::string& text);

    MessageBox box_;
};

}  // namespace talvers
