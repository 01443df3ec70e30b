#include "tests/support/desktop/report_window_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "shell/dataaccess/database_error.h"

namespace talvers::testing {

std::string ScriptedFileNames::chooseFileName(std::string_view filter) {
    filters.emplace_back(filter);
    if (onAsk) onAsk();
    return answer;
}

void GateConnection::holdNextQuery() {
    std::lock_guard lock(mutex_);
    hold_ = true;
}

void GateConnection::release() {
    {
        std::lock_guard lock(mutex_);
        hold_ = false;
    }
    released_.notify_all();
}

void GateConnection::failNextQuery(long number, std::string description) {
    std::lock_guard lock(mutex_);
    failure_.emplace(number, std::move(description));
}

Table GateConnection::runQuery(const std::string& sql) {
    {
        std::unique_lock lock(mutex_);
        if (failure_) {
            const auto failure = *failure_;
            failure_.reset();
            throw DatabaseError(failure.first, failure.second);
        }
        if (hold_) {
            held_ = true;
            released_.wait(lock, [this] { return !hold_; });
            held_ = false;
        }
    }
    return inner_.query(sql);
}

bool waitForRunEnd(QSignalSpy& finished) {
    return finished.count() > 0 || finished.wait(20000);
}

bool confirmAndWait(ReportWindow& window) {
    QSignalSpy finished(&window, &ReportWindow::runFinished);
    auto* button = window.findChild<QPushButton*>(QStringLiteral("btConf"));
    if (!button) return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return waitForRunEnd(finished);
}

bool enterAndWait(ReportWindow& window) {
    QSignalSpy finished(&window, &ReportWindow::runFinished);
    QWidget* focused = QApplication::focusWidget();
    if (!focused) return false;
    QTest::keyClick(focused, Qt::Key_Return);
    return waitForRunEnd(finished);
}

std::vector<std::string> tabChain(QWidget& window, int steps) {
    std::vector<std::string> names;
    for (int i = 0; i < steps; ++i) {
        QWidget* focused = window.focusWidget();
        if (!focused) break;
        // A date edit's focus lives in its inner line edit (Qt's "qt_..."): name the control.
        while (focused != &window && focused->parentWidget() &&
               (focused->objectName().isEmpty() || focused->objectName().startsWith("qt_")))
            focused = focused->parentWidget();
        names.push_back(focused->objectName().toStdString());
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
    }
    return names;
}

std::vector<std::string> texts(const RecordingPresenter& messages) {
    std::vector<std::string> out;
    for (const MessageBoxSpec& box : messages.shown) out.push_back(box.text);
    return out;
}

}  // namespace talvers::testing
