#include "shell/platform/utf8_path.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;

// Two-byte, three-byte and four-byte characters (the last one a surrogate pair in UTF-16).
constexpr const char* kFolder = "João Conceição";
constexpr const char* kFile = "mapa ç € \xF0\x9D\x84\x9E.xlsx";

TEST(Utf8Path, TextsAndPathsRoundTrip) {
    for (const char* text : {"", "plain.txt", kFolder, kFile}) {
        EXPECT_EQ(utf8FromPath(pathFromUtf8(text)), text);
    }
    const fs::path path = pathFromUtf8(kFolder) / pathFromUtf8(kFile);
    EXPECT_EQ(utf8FromPath(path.filename()), kFile);
    EXPECT_EQ(utf8FromPath(path.parent_path()), kFolder);
    EXPECT_EQ(path.extension(), ".xlsx");
}

TEST(Utf8Path, TheSystemSeesTheCharactersNotTheBytes) {
#ifdef _WIN32
    // UTF-16 at the API: 'ã' is one unit, the four-byte character two.
    EXPECT_EQ(pathFromUtf8(kFolder).native(), L"Jo\u00e3o Concei\u00e7\u00e3o");
    EXPECT_EQ(pathFromUtf8("\xF0\x9D\x84\x9E").native(), std::wstring(L"\xD834\xDD1E"));
    // What the helper is for: the plain constructor takes each byte for a character.
    EXPECT_NE(fs::path(std::string(kFolder)), pathFromUtf8(kFolder));
    // Parts joined by the program get the system's separator.
    EXPECT_EQ(utf8FromPath(pathFromUtf8("a") / "b"), "a\\b");
#else
    EXPECT_EQ(pathFromUtf8(kFolder).native(), kFolder);
    EXPECT_EQ(utf8FromPath(pathFromUtf8("a") / "b"), "a/b");
#endif
}

TEST(Utf8Path, AFileUnderAnAccentedFolderIsWrittenFoundAndRead) {
    testing::TempDir dir;
    const fs::path folder = dir.path() / pathFromUtf8(kFolder);
    ASSERT_TRUE(fs::create_directory(folder));
    std::ofstream(folder / pathFromUtf8(kFile), std::ios::binary) << "conteúdo";

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        names.push_back(utf8FromPath(entry.path().filename()));
    }
    EXPECT_EQ(names, std::vector<std::string>{kFolder});
    EXPECT_EQ(testing::folderEntries(folder), std::vector<std::string>{kFile});
    EXPECT_EQ(testing::fileBytes(pathFromUtf8(utf8FromPath(folder)) / pathFromUtf8(kFile)),
              "conteúdo");
}

}  // namespace
}  // namespace talvers
