#pragma once
// Test support for the report windows: scripted desktop services (messages, file names,
// opener, a clock fixed on 29 February 2024), a connection that can hold or fail a query, and
// helpers to find controls and run a window's report to its end.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "reports/frame/desktop/report_window.h"
#include "reports/frame/desktop/report_window_services.h"
#include "shell/dataaccess/connection.h"

#include "tests/support/recording_presenter.h"

namespace talvers::testing {

// Answers every file-name question with `answer`; `onAsk` runs first (to look at the window
// while the question is open).
class ScriptedFileNames : public FileNameProvider {
  public:
    std::string chooseFileName(std::string_view filter) override;
    std::string answer;
    std::vector<std::string> filters;
    std::function<void()> onAsk;
};

// Records the boxes; `onPresent` runs while a box is up (to look at the window then).
class WatchedPresenter : public RecordingPresenter {
  public:
    MessageResult present(const MessageBoxSpec& box) override {
        if (onPresent) onPresent();
        return RecordingPresenter::present(box);
    }
    std::function<void()> onPresent;
};

// Records what was opened; `succeeds` false stands for a desktop without a program for it.
class RecordingOpener : public FileOpener {
  public:
    bool open(const std::string& path) override {
        opened.push_back(path);
        return succeeds;
    }
    std::vector<std::string> opened;
    bool succeeds = true;
};

inline const DateTime kLeapDay{2024, 2, 29, 15, 45, 0};

struct ScriptedDesktop {
    WatchedPresenter messages;
    ScriptedFileNames files;
    RecordingOpener opener;
    std::vector<std::string> saved;  // the workbooks announced as written
    ReportWindowServices services() {
        return {&messages, &files, &opener, [] { return kLeapDay; },
                [this](const std::string& fileName) { saved.push_back(fileName); }};
    }
};

// Forwards to `inner`; can hold its next query until released (the worker thread waits on
// it) or make its next query fail.
class GateConnection : public Connection {
  public:
    explicit GateConnection(Connection& inner) : inner_(inner) {}
    bool holdsOnlyDeclaredTypes() const override { return inner_.holdsOnlyDeclaredTypes(); }
    void holdNextQuery();
    bool holding() const { return held_; }
    void release();
    void failNextQuery(long number, std::string description);

  protected:
    Table runQuery(const std::string& sql) override;
    void runExecute(const std::string& sql) override { inner_.execute(sql); }

  private:
    Connection& inner_;
    std::mutex mutex_;
    std::condition_variable released_;
    bool hold_ = false;
    std::atomic<bool> held_{false};
    std::optional<std::pair<long, std::string>> failure_;
};

// The window's child with this objectName and type; fails the test when there is none.
template <class T>
T* control(QWidget& window, const char* name) {
    T* widget = window.findChild<T*>(QString::fromUtf8(name));
    if (!widget) ADD_FAILURE() << "no control " << name;
    return widget;
}

// Clicks btConf and waits until the run has ended. False when it did not end in time.
bool confirmAndWait(ReportWindow& window);
// The same, started by Enter on the focused control.
bool enterAndWait(ReportWindow& window);
// Waits until the run started before has ended (true) or the time is up (false).
bool waitForRunEnd(QSignalSpy& finished);

// The objectNames met from the focused control on by pressing Tab `steps` times.
std::vector<std::string> tabChain(QWidget& window, int steps);

// The messages' texts, in order.
std::vector<std::string> texts(const RecordingPresenter& messages);

}  // namespace talvers::testing
