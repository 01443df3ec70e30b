#include "shell/desktop/qt_message_log.h"

#include <gtest/gtest.h>

#include <QtGlobal>

#include <fstream>
#include <sstream>

#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// With TALVERS_LOG set, Qt's messages are appended to that file, one line each; without it they
// go nowhere — never to the terminal.
TEST(QtMessageLog, QtsMessagesGoToTheLogAskedForAndNeverToTheTerminal) {
    testing::TempDir dir;
    const auto log = dir / "talvers.log";
    routeQtMessages();
    qputenv(kLogVariable, QByteArray::fromStdString(log.string()));
    ::testing::internal::CaptureStderr();
    qWarning("QStandardPaths: XDG_RUNTIME_DIR not set");
    qCritical("Unable to detect a launcher");
    qunsetenv(kLogVariable);
    qWarning("sem registo");
    const std::string terminal = ::testing::internal::GetCapturedStderr();
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(terminal, "");
    const std::string written = contents(log);
    EXPECT_NE(written.find(" aviso: QStandardPaths: XDG_RUNTIME_DIR not set\n"), std::string::npos)
        << written;
    EXPECT_NE(written.find(" erro: Unable to detect a launcher\n"), std::string::npos);
    EXPECT_EQ(written.find("sem registo"), std::string::npos);
    EXPECT_EQ(qtLogLine(QtWarningMsg, "texto", DateTime{2026, 12, 9, 14, 27, 3}),
              "2026-12-09 14:27:03 aviso: texto\n");
}

}  // namespace
}  // namespace talvers
