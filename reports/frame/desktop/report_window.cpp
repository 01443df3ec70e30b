#include "reports/frame/desktop/report_window.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <chrono>
#include <future>
#include <memory>

#include "reports/frame/date_refusal.h"
#include "reports/frame/desktop/date_picker.h"
#include "shell/desktop/common/elided_label.h"
#include "reports/frame/desktop/report_file_dialog.h"
#include "reports/frame/desktop/report_grid.h"
#include "shell/messages/numbered_error.h"

namespace talvers {

// The output step runs on the worker; what it asks or shows goes to the window's thread. A
// task there may outlive the worker's wait when the window is closing (runOnWindowThread), so
// it holds its answer and its arguments itself, never the worker's locals.

// The file name from the services' provider or the window's own dialog, asked on the window's
// thread; the name chosen is kept, to announce where the workbook went. Once a name is chosen
// the bar moves again until the first row is written.
class ReportWindow::WindowFileNames : public FileNameProvider {
  public:
    explicit WindowFileNames(ReportWindow& window) : window_(window) {}
    std::string chooseFileName(std::string_view filter) override {
        auto chosen = std::make_shared<std::string>();
        window_.runOnWindowThread([&window = window_, chosen, filter = std::string(filter)] {
            *chosen = window.services_.files
                          ? window.services_.files->chooseFileName(filter)
                          // The dialog answers with forward slashes; every message names
                          // the file as the system writes it (C:\Users\... on Windows).
                          : QDir::toNativeSeparators(
                                window.SelecionaFicheiro(QString::fromStdString(filter)))
                                .toStdString();
            if (!chosen->empty()) window.busy_->setRange(0, 0);
        });
        return chosen_ = *chosen;
    }
    const std::string& chosen() const { return chosen_; }

  private:
    ReportWindow& window_;
    std::string chosen_;
};

class ReportWindow::WindowMessages : public MessagePresenter {
  public:
    explicit WindowMessages(ReportWindow& window) : window_(window) {}
    MessageResult present(const MessageBoxSpec& box) override {
        auto result = std::make_shared<MessageResult>(MessageResult::None);
        window_.runOnWindowThread(
            [&window = window_, result, box] { *result = window.messages().present(box); });
        return *result;
    }

  private:
    ReportWindow& window_;
};

// The output step opens a workbook only once it is written: the window first says where it
// went, so that a message about opening it finds the location already on screen.
class ReportWindow::AnnouncingOpener : public FileOpener {
  public:
    explicit AnnouncingOpener(ReportWindow& window) : window_(window) {}
    bool open(const std::string& path) override {
        auto opened = std::make_shared<bool>(false);
        window_.runOnWindowThread([&window = window_, opened, path] {
            window.showSaved(path);
            *opened = window.opener().open(path);
        });
        return *opened;
    }

  private:
    ReportWindow& window_;
};

namespace {

// Room for a report's columns; the user may maximise it, the controls keep their size.
constexpr int kDefaultWidth = 900;
constexpr int kDefaultHeight = 600;
constexpr int kInputsToButtons = 24;
constexpr int kBusyBarWidth = 160;

QFont labelFont() {
    return QFont(QStringLiteral("Verdana"));
}

// Widgets that come and go without moving the grid.
void keepRoomWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    widget->hide();
}

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
    // grid and not the date fields. The gap before the buttons belongs to the block: a window
    // without inputs has its buttons at the margin like every other control.
    inputBlock_ = new QWidget(this);
    inputBlock_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    inputs_ = new QGridLayout(inputBlock_);
    inputs_->setContentsMargins(0, 0, kInputsToButtons, 0);

    confirm_ = makeButton(QStringLiteral("btConf"), QStringLiteral("&Confirmar"),
                          QStringLiteral("Confirmar a operação."), this);
    confirm_->setDefault(true);
    leave_ = makeButton(QStringLiteral("btSair"), QStringLiteral("&Sair"),
                        QStringLiteral("Abandonar a opção."), this);
    auto* top = new QHBoxLayout;
    top->addWidget(inputBlock_, 0, Qt::AlignTop);
    top->addWidget(confirm_, 0, Qt::AlignBottom);
    top->addWidget(leave_, 0, Qt::AlignBottom);
    top->addStretch();

    auto* progressRow = new QHBoxLayout;
    working_ = new QLabel(QStringLiteral("a processar ...."), this);
    working_->setObjectName(QStringLiteral("Label2_1"));
    counter_ = new QLabel(this);
    counter_->setObjectName(QStringLiteral("Label2_2"));
    // Moves while the query runs, before there is a row to count; then it counts the rows.
    busy_ = new QProgressBar(this);
    busy_->setObjectName(QStringLiteral("Progresso"));
    busy_->setTextVisible(false);
    busy_->setFixedWidth(kBusyBarWidth);
    working_->setFont(labelFont());
    counter_->setFont(labelFont());
    for (QWidget* widget : {static_cast<QWidget*>(working_), static_cast<QWidget*>(busy_),
                            static_cast<QWidget*>(counter_)}) {
        keepRoomWhenHidden(widget);
        progressRow->addWidget(widget);
    }
    progressRow->addStretch();

    // Where the last workbook went, and a way to its folder.
    auto* savedRow = new QHBoxLayout;
    saved_ = new ElidedLabel(this);
    saved_->setObjectName(QStringLiteral("Gravado"));
    saved_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    openFolder_ = makeButton(QStringLiteral("btPasta"), QStringLiteral("Abrir a &pasta"),
                             QStringLiteral("Abrir a pasta onde o ficheiro foi gravado."), this);
    openFolder_->setAutoDefault(false);
    keepRoomWhenHidden(saved_);
    keepRoomWhenHidden(openFolder_);
    savedRow->addWidget(saved_, 1);
    savedRow->addWidget(openFolder_);

    grid_ = new ReportGrid(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(progressRow);
    layout->addLayout(savedRow);
    layout->addWidget(grid_, 1);

    connect(confirm_, &QPushButton::clicked, this, &ReportWindow::confirm);
    connect(leave_, &QPushButton::clicked, this, &QWidget::close);
    connect(openFolder_, &QPushButton::clicked, this, &ReportWindow::openSavedFolder);
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

QLabel* ReportWindow::addCaption(const QString& objectName, const QString& text, QWidget* input) {
    QLabel* label = addCaption(objectName, text);
    label->setBuddy(input);
    return label;
}

QDateEdit* ReportWindow::addDatePicker(const QString& objectName, const QString& toolTip,
                                       const DateTime& date) {
    auto* picker = new DatePicker(QDate(date.year, date.month, date.day), this);
    picker->setObjectName(objectName);
    picker->setToolTip(toolTip);
    // Dates a SQL Server DATETIME can hold, as the command line accepts.
    pickers_.push_back(picker);
    return picker;
}

QDateEdit* ReportWindow::addStartDatePicker(const DateTime& date) {
    QDateEdit* picker =
        addDatePicker(QStringLiteral("DTPicker1"),
                      QStringLiteral("Data a partir da qual se processa a extração."), date);
    inputs_->addWidget(addCaption(QStringLiteral("Label2_0"), QStringLiteral("&Data"), picker), 0,
                       0);
    inputs_->addWidget(picker, 0, 1);
    return picker;
}

void ReportWindow::setInputChain(const QList<QWidget*>& inputs) {
    inputBlock_->setVisible(!inputs.isEmpty());
    QList<QWidget*> chain = inputs;
    firstInput_ = inputs.isEmpty() ? nullptr : inputs.front();
    chain << confirm_ << leave_ << openFolder_ << grid_;
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
    ReportFileDialog dialog(this, saveTitle_, nameFilters(Extensao), services_.store);
    if (!lastFileName_.isEmpty()) dialog.selectFile(lastFileName_);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    lastFileName_ = chosen.first();
    ReportFileDialog::rememberFolder(services_.store, lastFileName_);
    return lastFileName_;
}

bool ReportWindow::refuseInputs() {
    for (DatePicker* picker : pickers_) {
        QString caption = picker->objectName();
        for (const QLabel* label : findChildren<QLabel*>()) {
            if (label->buddy() == picker) caption = QString(label->text()).remove(QLatin1Char('&'));
        }
        const std::string why = dateRefusal(
            caption.toStdString(), picker->typedText().toStdString(), DateOrder::DayFirst);
        if (why.empty()) continue;
        picker->forgetTypedText();
        showMessage(messages(), "", why, 2);
        picker->setFocus();
        return true;
    }
    const std::string why = inputRefusal();
    if (why.empty()) return false;
    showMessage(messages(), "", why, 2);
    if (firstInput_) firstInput_->setFocus();
    return true;
}

void ReportWindow::confirm() {
    if (running_ || refuseInputs()) return;
    ReportRun run = prepareRun();
    running_ = true;
    ReportOutput output = run.output;
    output.company = services_.company;
    const bool quietWithoutRows = run.quietWithoutRows;
    const DateTime day = today();
    // btConf is disabled for the run; the focus must not fall to btSair, where Enter would
    // close the window.
    startedFromConfirm_ = focusWidget() == confirm_ || !firstInput_;
    if (focusWidget() == confirm_) (firstInput_ ? firstInput_ : grid_)->setFocus();
    confirm_->setEnabled(false);
    saved_->hide();
    openFolder_->hide();
    // The work shows at once: the main query may take a while before the first row counts.
    counter_->clear();
    counter_->hide();
    busy_->setRange(0, 0);
    working_->show();
    busy_->show();
    runner_.start([this, engine = std::move(run.engine), output, quietWithoutRows,
                   day](ReportProgress& progress) {
        Table rows = engine(progress);
        if (rows.empty()) runOnWindowThread([this] { hideProgress(); });
        if (rows.empty() && quietWithoutRows) return rows;
        try {
            deliver(rows, output, day, progress);
        } catch (const ReportCancelled&) {
            throw;
        } catch (const NumberedError& error) {
            WindowMessages messages(*this);
            showFailure(messages, error);
        } catch (const std::exception& error) {
            WindowMessages messages(*this);
            showFailure(messages, kUnexpectedFailure, 0, error.what());
        }
        return rows;
    });
}

void ReportWindow::showProgress() {
    const ReportRunner::Position now = runner_.progress();
    if (now.position < 1 || now.count < 1) return;
    counter_->setText(QStringLiteral("%1/%2").arg(now.position).arg(now.count));
    busy_->setRange(0, static_cast<int>(now.count));
    busy_->setValue(static_cast<int>(now.position));
    counter_->show();
}

void ReportWindow::hideProgress() {
    working_->hide();
    busy_->hide();
    counter_->hide();
}

void ReportWindow::showSaved(const std::string& fileName) {
    const QString path = QDir::toNativeSeparators(QString::fromStdString(fileName));
    QString text = QStringLiteral("Gravado em ") + path;
    if (!hasWorkbookExtension(fileName))
        text += QStringLiteral(" — ") +
                QString::fromUtf8(kNoExtensionNote.data(), kNoExtensionNote.size());
    savedFile_ = QString::fromStdString(fileName);
    saved_->setFullText(text);
    saved_->show();
    openFolder_->show();
}

void ReportWindow::openSavedFolder() {
    const QString folder = QFileInfo(savedFile_).absolutePath();
    const bool exists = QFileInfo(folder).isDir();
    if (exists && opener().open(folder.toStdString())) return;
    showMessage(messages(), "",
                "Não foi possível abrir a pasta \"" +
                    QDir::toNativeSeparators(folder).toStdString() + "\": " +
                    (exists ? "o ambiente de trabalho não tem nenhum programa para abrir pastas."
                            : "a pasta já não existe."),
                2);
}

FileOpener& ReportWindow::opener() {
    return services_.opener ? *services_.opener : desktopOpener_;
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

void ReportWindow::deliver(const Table& rows, const ReportOutput& output, const DateTime& day,
                           ReportProgress& progress) {
    WindowFileNames files(*this);
    WindowMessages messages(*this);
    AnnouncingOpener announcing(*this);
    const OutputOutcome outcome = deliverReport(rows, output, day, files, messages, announcing,
                                                services_.protectedFiles, &progress);
    if (outcome == OutputOutcome::Written && services_.saved) {
        runOnWindowThread([this, chosen = files.chosen()] { services_.saved(chosen); });
    }
}

QWidget* ReportWindow::focusAfterRun() const {
    if (startedFromConfirm_ || !firstInput_) return confirm_;
    return firstInput_;
}

void ReportWindow::endRun() {
    hideProgress();
    confirm_->setEnabled(true);
    running_ = false;
    focusAfterRun()->setFocus();
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
