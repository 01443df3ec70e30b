#include "reports/frame/output/console_report.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#endif

namespace talvers {
namespace {

TEST(ConsoleReport, ExitStatusPerOutcome) {
    const std::pair<OutputOutcome, int> cases[] = {{OutputOutcome::Written, 0},
                                                   {OutputOutcome::NoData, 2},
                                                   {OutputOutcome::Cancelled, 1},
                                                   {OutputOutcome::Failed, 1}};
    for (const auto& [outcome, status] : cases) {
        EXPECT_EQ(exitCodeFor(outcome), status) << static_cast<int>(outcome);
    }
}

TEST(ConsoleReport, ProgressStaysOutOfStderrThatIsNoTerminal) {
    // Captured, stderr is a file: a log must not fill with counters.
    ::testing::internal::CaptureStderr();
    {
        ConsoleProgress progress;
        for (long row = 1; row <= 250; ++row) progress.advance(row, 250);
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

#ifndef _WIN32
// What a user at a terminal sees: the counter every hundred rows and at the last, redrawn in
// place, and the line ended when the run is over.
TEST(ConsoleReport, ProgressIsALiveCounterOnATerminal) {
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(grantpt(terminal), 0);
    ASSERT_EQ(unlockpt(terminal), 0);
    const int screen = open(ptsname(terminal), O_RDWR | O_NOCTTY);
    ASSERT_GE(screen, 0);
    std::fflush(stderr);
    const int savedStderr = dup(2);
    dup2(screen, 2);
    {
        ConsoleProgress progress;
        for (long row = 1; row <= 250; ++row) progress.advance(row, 250);
    }
    std::fflush(stderr);
    dup2(savedStderr, 2);
    close(savedStderr);
    close(screen);
    std::string shown;
    char buffer[512];
    fcntl(terminal, F_SETFL, O_NONBLOCK);
    for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
    close(terminal);
    // The terminal turns the line feed into CR LF.
    EXPECT_EQ(shown,
              "\ra processar .... 100/250\ra processar .... 200/250\ra processar .... 250/250\r\n");
}
#endif

TEST(ConsoleReport, TheCommandLineNamesTheFileAndOpensNothing) {
    FixedFileName name("C:\\mapas\\saída.xlsx");
    EXPECT_EQ(name.chooseFileName("Pendentes"), "C:\\mapas\\saída.xlsx");
    NoOpener().open("C:\\mapas\\saída.xlsx");
}

}  // namespace
}  // namespace talvers
