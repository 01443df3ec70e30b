#include "reports/frame/output/console_report.h"

#include <gtest/gtest.h>

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

TEST(ConsoleReport, TheCommandLineNamesTheFileAndOpensNothing) {
    FixedFileName name("C:\\mapas\\saída.xlsx");
    EXPECT_EQ(name.chooseFileName("Pendentes"), "C:\\mapas\\saída.xlsx");
    NoOpener().open("C:\\mapas\\saída.xlsx");
}

}  // namespace
}  // namespace talvers
