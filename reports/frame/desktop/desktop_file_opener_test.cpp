#include "reports/frame/desktop/desktop_file_opener.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

using namespace talvers::testing;

// A desktop whose lookup knows no program for spreadsheets: the file is not handed to a
// launcher that would fail out of sight, and the answer is false. The lookup is asked for the
// workbook's own type.
TEST(DesktopFileOpener, AFileTypeWithoutAProgramIsNotOpened) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const TempDir dir;
    const auto asked = dir / "asked.txt";
    writeText(dir / "xdg-mime", "#!/bin/sh\necho \"$@\" > '" + asked.string() + "'\n");
    std::filesystem::permissions(dir / "xdg-mime", std::filesystem::perms::owner_all);
    // Each test runs in a process of its own.
    qputenv("PATH", QByteArray::fromStdString(dir.path().string()) + ":" + qgetenv("PATH"));
    EXPECT_FALSE(DesktopFileOpener().open((dir / "livro.xlsx").string()));
    EXPECT_EQ(fileBytes(asked),
              "query default application/vnd.openxmlformats-officedocument.spreadsheetml.sheet\n");
#else
    GTEST_SKIP() << "the lookup is the freedesktop.org one";
#endif
}

}  // namespace
}  // namespace talvers
