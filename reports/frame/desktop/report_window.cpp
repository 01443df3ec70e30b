#include "reports/frame/desktop/report_window.h"

#include <QCloseEvent>
#include <QDate>
#include <QDateEdit>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include <chrono>
#include <future>
#include <memory>

#include "reports/frame/desktop/report_grid.h"
#include "shell/messages/numbered_error.h"

namespace talvers {

class ReportWindow::DialogFileNames : public FileNameProvider {
  public:
    explicit DialogFileNames(ReportWindow& window) : window_(window) {}
    std::string chooseFileName(std::string_view filter) override {
        return window_
            .SelecionaFicheiro(
                QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())))
            .toStdString();
    }

  private:
    ReportWindow& window_;
};

// Keeps the name the user chose, to announce where the workbook went.
class ReportWindow::RememberedFileName : public FileNameProvider {
  public:
    explicit RememberedFileName(FileNameProvider& inner) : inner_(inner) {}
    std::string chooseFileName(std::string_view filter) override {
        return chosen_ = inner_.chooseFileName(filter);
    }
    const std::string& chosen() const { return chosen_; }

  private:
    FileNameProvider& inner_;
    std::string chosen_;
};

class ReportWindow::DesktopOpener : public FileOpener {
  public:
    void open(const std::string& path) override {
        // Whether a program is associated with the file is the desktop's business.
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
};

namespace {

// Room for a report's columns; the user may maximise it, the controls keep their size.
constexpr int kDefaultWidth = 900;
constexpr int kDefaultHeight = 600;
constexpr int kInputsToButtons = 24;

QFont labelFont() {
    return QFont(QStringLiteral("Verdana"));
}

// Tab leaves the date for the next control, as every other input does; the day, month and
// year are reached with the arrow keys.
class WholeDateEdit : public QDateEdit {
  public:
    using QDateEdit::QDateEdit;

  protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

QPushButton* makeButton(const QString& objectName, const QString& text, const QString& toolTip,
                        QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setToolTip(toolTip);
    return button;
}

}  // namespace

ReportWindow::ReportWindow(const QString& caption, const ErpSession& session,
                           const ReportWindowServices& services, QWidget* parent)
    : QDialog(parent),
      session_(session),
      services_(services),
      saveTitle_(QStringLiteral("Guardar relatório")),
      // The runner's notices come from the worker thread: they only queue calls to this one.
      runner_(
          [this] {
              QMetaObject::invokeMethod(
                  this, [this] { showProgress(); }, Qt::QueuedConnection);
          },
          [this] {
              QMetaObject::invokeMethod(
                  this, [this] { finishRun(); }, Qt::QueuedConnection);
          }) {
    setWindowTitle(caption);
    setModal(true);
    resize(kDefaultWidth, kDefaultHeight);

    // The inputs sit in a block of their own size, so that a maximised window widens the
    // grid and not the date fields.
    auto* inputBlock = new QWidget(this);
    inputBlock->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    inputs_ = new QGridLayout(inputBlock);
    inputs_->setContentsMargins(0, 0, 0, 0);

    confirm_ = makeButton(QStringLiteral("btConf"), QStringLiteral("&Confirmar"),
                          QStringLiteral("Confirmar a operação."), this);
    confirm_->setDefault(true);
    leave_ = makeButton(QStringLiteral("btSair"), QStringLiteral("&Sair"),
                        QStringLiteral("Abandonar a opção."), this);
    auto* top = new QHBoxLayout;
    top->addWidget(inputBlock, 0, Qt::AlignTop);
    top->addSpacing(kInputsToButtons);
    top->addWidget(confirm_, 0, Qt::AlignBottom);
    top->addWidget(leave_, 0, Qt::AlignBottom);
    top->addStretch();

    auto* progressRow = new QHBoxLayout;
    working_ = new QLabel(QStringLiteral("a processar ...."), this);
    working_->setObjectName(QStringLiteral("Label2_1"));
    counter_ = new QLabel(this);
    counter_->setObjectName(QStringLiteral("Label2_2"));
    for (QLabel* label : {working_, counter_}) {
        label->setFont(labelFont());
        // The grid does not jump when the labels come and go.
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
        label->hide();
        progressRow->addWidget(label);
    }
    progressRow->addStretch();

    grid_ = new ReportGrid(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(progressRow);
    layout->addWidget(grid_, 1);

    connect(confirm_, &QPushButton::clicked, this, &ReportWindow::confirm);
    connect(leave_, &QPushButton::clicked, this, &QWidget::close);
    setInputChain({});
}

// Normally the run was stopped when the window closed; a window destroyed without closing
// must still not leave a worker using the connections: the runner stops and waits for it. The
// worker never blocks on this thread once cancel is set (see runOnWindowThread), so that wait
// cannot hang.
ReportWindow::~ReportWindow() = default;

QLabel* ReportWindow::addCaption(const QString& objectName, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(objectName);
    label->setFont(labelFont());
    return label;
}

QDateEdit* ReportWindow::addDatePicker(const QString& objectName, const QString& toolTip,
                                       const DateTime& date) {
    auto* picker = new WholeDateEdit(QDate(date.year, date.month, date.day), this);
    picker->setObjectName(objectName);
    picker->setToolTip(toolTip);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    return picker;
}

QDateEdit* ReportWindow::addStartDatePicker(const DateTime& date) {
    QDateEdit* picker =
        addDatePicker(QStringLiteral("DTPicker1"),
                      QStringLiteral("Data a partir da qual se processa a extração."), date);
    inputs_->addWidget(addCaption(QStringLiteral("Label2_0"), QStringLiteral("Data")), 0, 0);
    inputs_->addWidget(picker, 0, 1);
    return picker;
}

void ReportWindow::setInputChain(const QList<QWidget*>& inputs) {
    QList<QWidget*> chain = inputs;
    chain << confirm_ << leave_ << grid_;
    for (qsizetype i = 0; i + 1 < chain.size(); ++i) setTabOrder(chain[i], chain[i + 1]);
    chain.front()->setFocus();
}

DateTime ReportWindow::dateOf(const QDateEdit* picker) {
    const QDate d = picker->date();
    return DateTime{d.year(), d.month(), d.day()};
}

DateTime ReportWindow::today() const {
    return services_.today ? services_.today().dateOnly() : DateTime::today();
}

QStringList ReportWindow::nameFilters(const QString& extensao) {
    const QStringList parts = extensao.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        const QString named = QLatin1Char('(') + pattern + QLatin1Char(')');
        filters << (description.endsWith(named) ? description
                                                : description + QLatin1Char(' ') + named);
    }
    return filters;
}

QString ReportWindow::SelecionaFicheiro(const QString& Extensao) {
    QFileDialog dialog(this, saveTitle_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(nameFilters(Extensao));
    if (!lastFileName_.isEmpty()) dialog.selectFile(lastFileName_);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    lastFileName_ = chosen.first();
    return lastFileName_;
}

void ReportWindow::confirm() {
    if (running_) return;
    ReportRun run = prepareRun();
    running_ = true;
    output_ = run.output;
    confirm_->setEnabled(false);
    counter_->clear();
    runner_.start(std::move(run.engine));
}

void ReportWindow::showProgress() {
    const ReportRunner::Position now = runner_.progress();
    if (now.position < 1 || now.count < 1) return;
    counter_->setText(QStringLiteral("%1/%2").arg(now.position).arg(now.count));
    working_->show();
    counter_->show();
}

void ReportWindow::hideProgress() {
    working_->hide();
    counter_->hide();
}

void ReportWindow::finishRun() {
    showProgress();
    if (runner_.cancelled()) {
        // Only the window asks for a stop, and then it is closing: nothing to tell or show.
        runner_.discard();
        endRun();
        return;
    }
    std::shared_ptr<const Table> shown;
    try {
        // The rows move to the grid, which keeps them after the run; nothing is copied.
        shown = std::make_shared<const Table>(runner_.takeRows());
        if (shown->empty()) hideProgress();
        deliver(*shown);
    } catch (const ReportCancelled&) {
        // Only the window asks for a stop, and then it is closing: nothing to tell.
    } catch (const NumberedError& error) {
        showFailure(messages(), error);
    } catch (const std::exception& error) {
        showFailure(messages(), kUnexpectedFailure, 0, error.what());
    }
    grid_->showRows(std::move(shown));
    endRun();
}

void ReportWindow::deliver(const Table& rows) {
    DialogFileNames dialogFiles(*this);
    DesktopOpener desktopOpener;
    RememberedFileName files(services_.files ? *services_.files : dialogFiles);
    FileOpener& opener = services_.opener ? *services_.opener : desktopOpener;
    ReportOutput output = output_;
    output.company = services_.company;
    const OutputOutcome outcome =
        deliverReport(rows, output, today(), files, messages(), opener, services_.protectedFiles);
    if (outcome == OutputOutcome::Written && services_.saved) services_.saved(files.chosen());
}

void ReportWindow::endRun() {
    hideProgress();
    confirm_->setEnabled(true);
    running_ = false;
    emit runFinished();
}

void ReportWindow::runOnWindowThread(const std::function<void()>& task) {
    // Shared with the queued call, which may outlive this wait when the run is cancelled.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    QMetaObject::invokeMethod(
        this,
        [this, task, done] {
            try {
                if (!runner_.cancelled()) task();
                done->set_value();
            } catch (...) {
                done->set_exception(std::current_exception());
            }
        },
        Qt::QueuedConnection);
    using namespace std::chrono_literals;
    while (finished.wait_for(20ms) != std::future_status::ready) {
        if (runner_.cancelled()) throw ReportCancelled();
    }
    finished.get();
}

void ReportWindow::stopRun() {
    if (!running_) return;
    runner_.cancel();
    QEventLoop wait;
    connect(this, &ReportWindow::runFinished, &wait, &QEventLoop::quit);
    // The run can only end while events are processed, so it cannot end between the check
    // above and exec().
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

void ReportWindow::reject() {
    stopRun();
    QDialog::reject();
}

void ReportWindow::closeEvent(QCloseEvent* event) {
    stopRun();
    QDialog::closeEvent(event);
}

}  // namespace talvers
