#include "reports/frame/report_window.h"

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
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <chrono>
#include <future>
#include <memory>

#include "shell/dataaccess/database_error.h"

namespace talvers {

// The engine's progress sink: keeps the latest position and posts at most one label update at
// a time, so a fast engine does not flood the window and the last count always shows.
class ReportWindow::WorkerProgress : public ReportProgress {
  public:
    explicit WorkerProgress(ReportWindow& window) : window_(window) {}
    void advance(long position, long count) override {
        {
            std::lock_guard lock(window_.progressMutex_);
            window_.position_ = position;
            window_.count_ = count;
        }
        if (!window_.progressPending_.exchange(true)) {
            QMetaObject::invokeMethod(
                &window_, [w = &window_] { w->showProgress(); }, Qt::QueuedConnection);
        }
    }
    bool cancelRequested() const override { return window_.cancel_.load(); }

  private:
    ReportWindow& window_;
};

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

class ReportWindow::DesktopOpener : public FileOpener {
  public:
    void open(const std::string& path) override {
        // Whether a program is associated with the file is the desktop's business.
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
};

namespace {

QFont labelFont() {
    return QFont(QStringLiteral("Verdana"));
}

QPushButton* makeButton(const QString& objectName, const QString& text, const QString& toolTip,
                        QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

ReportWindow::ReportWindow(const QString& caption, const ReportWindowServices& services,
                           QWidget* parent)
    : QDialog(parent), services_(services) {
    setWindowTitle(caption);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    inputs_ = new QGridLayout;
    layout->addLayout(inputs_);

    auto* progressRow = new QHBoxLayout;
    working_ = new QLabel(QStringLiteral("a processar ...."), this);
    working_->setObjectName(QStringLiteral("Label2_1"));
    counter_ = new QLabel(this);
    counter_->setObjectName(QStringLiteral("Label2_2"));
    for (QLabel* label : {working_, counter_}) {
        label->setFont(labelFont());
        label->hide();
        progressRow->addWidget(label);
    }
    progressRow->addStretch();
    layout->addLayout(progressRow);

    // The reports deliver workbooks only; the grid stays empty.
    auto* grid = new QTableWidget(this);
    grid->setObjectName(QStringLiteral("Grelha"));
    layout->addWidget(grid);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    confirm_ = makeButton(QStringLiteral("btConf"), QStringLiteral("&Confirmar"),
                          QStringLiteral("Confirmar a operação."), this);
    auto* leave = makeButton(QStringLiteral("btSair"), QStringLiteral("&Sair"),
                             QStringLiteral("Abandonar a opção."), this);
    buttons->addWidget(confirm_);
    buttons->addWidget(leave);
    layout->addLayout(buttons);

    connect(confirm_, &QPushButton::clicked, this, &ReportWindow::confirm);
    connect(leave, &QPushButton::clicked, this, &QWidget::close);
}

ReportWindow::~ReportWindow() {
    // Normally the run was stopped when the window closed; a window destroyed without closing
    // must still not leave a worker using the connections. The worker never blocks on this
    // thread once cancel is set (see runOnWindowThread), so joining cannot hang.
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

QLabel* ReportWindow::addCaption(const QString& objectName, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(objectName);
    label->setFont(labelFont());
    return label;
}

QDateEdit* ReportWindow::addDatePicker(const QString& objectName, const QString& toolTip,
                                       const DateTime& date) {
    auto* picker = new QDateEdit(QDate(date.year, date.month, date.day), this);
    picker->setObjectName(objectName);
    picker->setToolTip(toolTip);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    return picker;
}

QDateEdit* ReportWindow::addStartDatePicker() {
    QDateEdit* picker = addDatePicker(
        QStringLiteral("DTPicker1"),
        QStringLiteral("Data a partir da qual se processa a extração."), today().oneYearEarlier());
    inputs_->addWidget(addCaption(QStringLiteral("Label2_0"), QStringLiteral("Data")), 0, 0);
    inputs_->addWidget(picker, 0, 1);
    return picker;
}

DateTime ReportWindow::dateOf(const QDateEdit* picker) {
    const QDate d = picker->date();
    return DateTime{d.year(), d.month(), d.day()};
}

DateTime ReportWindow::today() const {
    if (services_.today) return services_.today().dateOnly();
    const QDate d = QDate::currentDate();
    return DateTime{d.year(), d.month(), d.day()};
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
    QFileDialog dialog(this);
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
    cancel_ = false;
    rows_.reset();
    failure_ = nullptr;
    output_ = run.output;
    {
        std::lock_guard lock(progressMutex_);
        position_ = count_ = 0;
    }
    confirm_->setEnabled(false);
    counter_->clear();
    working_->show();
    counter_->show();

    worker_ = std::thread([this, engine = std::move(run.engine)] {
        WorkerProgress progress(*this);
        try {
            rows_ = engine(progress);
        } catch (...) {
            failure_ = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this] { finishRun(); }, Qt::QueuedConnection);
    });
}

void ReportWindow::showProgress() {
    progressPending_ = false;
    std::lock_guard lock(progressMutex_);
    if (count_ > 0) counter_->setText(QStringLiteral("%1/%2").arg(position_).arg(count_));
}

void ReportWindow::finishRun() {
    worker_.join();
    showProgress();
    if (cancel_) {
        endRun();
        return;
    }
    try {
        if (failure_) std::rethrow_exception(failure_);
        DialogFileNames dialogFiles(*this);
        DesktopOpener desktopOpener;
        FileNameProvider& files = services_.files ? *services_.files : dialogFiles;
        FileOpener& opener = services_.opener ? *services_.opener : desktopOpener;
        deliverReport(*rows_, output_, today(), files, messages(), opener,
                      services_.protectedFiles);
    } catch (const ReportCancelled&) {
        // Only the window asks for a stop, and then it is closing: nothing to tell.
    } catch (const DatabaseError& error) {
        showFailure(messages(), error.description(), error.number());
    } catch (const std::exception& error) {
        showFailure(messages(), error.what(), 0);
    }
    endRun();
}

void ReportWindow::endRun() {
    rows_.reset();
    failure_ = nullptr;
    working_->hide();
    counter_->hide();
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
                if (!cancel_) task();
                done->set_value();
            } catch (...) {
                done->set_exception(std::current_exception());
            }
        },
        Qt::QueuedConnection);
    using namespace std::chrono_literals;
    while (finished.wait_for(20ms) != std::future_status::ready) {
        if (cancel_) throw ReportCancelled();
    }
    finished.get();
}

void ReportWindow::stopRun() {
    if (!running_) return;
    cancel_ = true;
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
