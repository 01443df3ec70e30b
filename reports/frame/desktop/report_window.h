#pragma once
// ReportWindow: the frame every report window shares. A modal dialog (its creator deletes it
// after it closes) with its inputs and the confirm and leave buttons in a block of their own
// size at the top, the progress labels below them and the grid taking the rest of the window.
// A subclass lays out its inputs in inputLayout(), names them in reading order with
// setInputChain() and, on confirm, reads them into a ReportRun: the engine call and the
// output names.
//
// Keyboard: the focus starts on the first input; Tab goes through the inputs in the order
// given, then btConf, btSair, btPasta (when shown) and the grid, and on from the grid back to
// the first input (Tab never moves from cell to cell); every caption's access key reaches its
// input; Enter runs btConf (the default button) from any input, while a focused button takes
// Enter for itself; Escape closes the window.
//
// A run: the engine runs on a worker thread (a ReportRunner) while the window stays
// responsive. From the moment it starts, "a processar ...." (Label2_1) and a moving bar
// (Progresso) show that work is going on, also while the main query has no row to count yet;
// from the first position the engine reports, Label2_2 counts "position/count" and the bar
// fills. They are hidden again at the end of the run, and before the no-data message. The
// connections the engine uses are touched by that thread only while the run lasts, and no
// second run can start inside it (btConf is disabled and confirm() refuses). When the engine
// returns, the output step runs on the same worker: the questions and messages it has (the
// file name, the no-data message, a failure) are shown on the user-interface thread while the
// worker waits, and the workbook is written on the worker, the bar and counter counting its
// rows, so that the window repaints and takes Esc while it writes. A workbook written is
// named in the window ("Gravado em <file>", the note on a name without .xlsx, the button
// btPasta "Abrir a pasta" opening its folder), before it is opened, and announced through the
// services' notice; a file or folder the desktop cannot open is named in a message. Then the
// grid shows the run's rows (also when the file name was cancelled or the write failed); no
// rows or an engine failure leave it empty. An engine failure is shown as the failure message
// (the engine's own text as its details) and the window stays usable. Closing the window
// during a run (btSair, Esc, the close box) asks the engine or the write to stop at its next
// safe point, waits for the worker, and then closes: nothing is written, an existing file is
// left as it was. runFinished() is emitted at the end of every run, whatever its outcome.
//
// While a run lasts the keyboard focus is kept off btSair (where Enter would close the window
// and abandon the run); after it, the focus is back on btConf when the run was started from
// there, else on the first input, so that Enter runs the report again.
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

#include "reports/frame/desktop/desktop_file_opener.h"
#include "reports/frame/desktop/report_window_services.h"
#include "reports/frame/erp_session.h"
#include "reports/frame/output/output_step.h"
#include "reports/frame/report_progress.h"
#include "reports/frame/report_runner.h"
#include "shell/dataaccess/date_time.h"
#include "shell/dataaccess/table.h"

class QDateEdit;
class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;

namespace talvers {

class DatePicker;
class ElidedLabel;
class ReportGrid;

class ReportWindow : public QDialog {
    Q_OBJECT
  public:
    ~ReportWindow() override;

    // Asks for the output file with a save dialog titled saveDialogTitle() that never
    // questions overwriting (ReportFileDialog: it starts in the last folder used).
    // `Extensao` is "description|pattern[|description|pattern...]". Returns the chosen name
    // exactly as given (no extension added), or "" on cancel. The last chosen name is
    // remembered while the window lives and preset the next time.
    QString SelecionaFicheiro(const QString& Extensao);

    // "Ficheiros de excel (*.xlsx)|*.xlsx" -> {"Ficheiros de excel (*.xlsx)"}; a description
    // that does not already name its pattern gets it appended in parentheses.
    static QStringList nameFilters(const QString& extensao);

    bool isRunning() const { return running_; }

    // "Guardar relatório" unless the window says what else it saves.
    QString saveDialogTitle() const { return saveTitle_; }

  public slots:
    // btConf: runs the report once; refused while a run is in progress.
    void confirm();

  signals:
    void runFinished();

  protected:
    struct ReportRun {
        // Runs on the worker thread; must not touch widgets.
        std::function<Table(ReportProgress&)> engine;
        ReportOutput output;
        // A run without rows ends without the no-data message (nothing to save, nothing said).
        bool quietWithoutRows = false;
    };

    // The session's connections must outlive the window.
    ReportWindow(const QString& caption, const ErpSession& session,
                 const ReportWindowServices& services, QWidget* parent);

    // Reads the window's inputs (on the user-interface thread) into the run to start.
    virtual ReportRun prepareRun() = 0;
    // Why the inputs together cannot be run ("" when they can), in the command line's words;
    // asked after every date field has passed.
    virtual std::string inputRefusal() const { return {}; }

    // Where subclasses put their captions and inputs; the block keeps its own size.
    QGridLayout* inputLayout() const { return inputs_; }
    // The inputs in reading order (an input's list button right after it): the tab order,
    // followed by btConf, btSair and the grid; the focus starts on the first one (on btConf
    // when there are none).
    void setInputChain(const QList<QWidget*>& inputs);
    void setSaveDialogTitle(const QString& title) { saveTitle_ = title; }
    QLabel* addCaption(const QString& objectName, const QString& text);
    // A caption whose access key ("&Data") takes the focus to `input`.
    QLabel* addCaption(const QString& objectName, const QString& text, QWidget* input);
    // A date picker (date_picker.h): dd-MM-yyyy, Tab leaves it whole, F4 or Alt+Down drops its
    // calendar. Confirm refuses, in the command line's words and naming the picker's caption,
    // a text typed there that is no date and a day outside 01-01-1753..31-12-9999, and gives
    // the picker the focus.
    QDateEdit* addDatePicker(const QString& objectName, const QString& toolTip,
                             const DateTime& date);
    // Label2_0 "&Data" beside DTPicker1 showing `date` (the order reports).
    QDateEdit* addStartDatePicker(const DateTime& date);
    static DateTime dateOf(const QDateEdit* picker);

    DateTime today() const;
    MessagePresenter& messages() const { return *services_.messages; }
    const ErpSession& session() const { return session_; }

    // Runs `task` on the user-interface thread and waits for it; for engine callbacks that
    // must show something. Throws ReportCancelled when the window is being closed, so a
    // worker never waits on a window that is going away.
    void runOnWindowThread(const std::function<void()>& task);

    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    class WindowFileNames;
    class WindowMessages;
    class AnnouncingOpener;

    // True (after telling the user) when a date field or inputRefusal() refuses the inputs.
    bool refuseInputs();
    void showProgress();
    void hideProgress();
    // "Gravado em <file>" and btPasta.
    void showSaved(const std::string& fileName);
    void openSavedFolder();
    FileOpener& opener();
    void finishRun();
    // On the worker: the output step over the run's rows; announces a written workbook.
    void deliver(const Table& rows, const ReportOutput& output, const DateTime& day,
                 ReportProgress& progress);
    // Where the focus goes when a run ends.
    QWidget* focusAfterRun() const;
    void endRun();
    // Asks a running engine to stop and waits (processing events) until its run has ended.
    void stopRun();

    ErpSession session_;
    ReportWindowServices services_;
    QWidget* inputBlock_ = nullptr;
    QGridLayout* inputs_ = nullptr;
    QLabel* working_ = nullptr;  // Label2_1
    QLabel* counter_ = nullptr;  // Label2_2
    QProgressBar* busy_ = nullptr;
    ElidedLabel* saved_ = nullptr;
    QPushButton* openFolder_ = nullptr;
    QString savedFile_;
    DesktopFileOpener desktopOpener_;
    std::vector<DatePicker*> pickers_;
    QWidget* firstInput_ = nullptr;  // null when the window has no inputs
    bool startedFromConfirm_ = false;
    QPushButton* confirm_ = nullptr;
    QPushButton* leave_ = nullptr;
    ReportGrid* grid_ = nullptr;
    QString lastFileName_;
    QString saveTitle_;

    bool running_ = false;  // from confirm until the output step of the run has ended
    ReportRunner runner_;
};

}  // namespace talvers
