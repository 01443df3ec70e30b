#include "shell/settings/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "shell/platform/utf8_path.h"
#include "shell/settings/settings_error.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

TEST(SettingsFile, ReadsSectionsKeysAndComments) {
    const SettingsFile s = SettingsFile::parse(
        "; whole-line comment\n"
        "\n"
        "[Ligação]              ; main connection\n"
        "Motor = sqlite         ; embedded\n"
        "  Servidor=erp01\\SQL2019\n"
        "OpcoesODBC=Encrypt=yes;TrustServerCertificate=no\n"
        "Password=a;b\n"
        "Username=\n"
        "not a key line\n"
        "  ; indented comment=1\n"
        "[Talvers]\n"
        "ContribuinteVariante=500000000\t; tab before the comment\n");
    EXPECT_EQ(s.value("Ligação", "Motor"), "sqlite");
    EXPECT_EQ(s.value("Ligação", "Servidor"), "erp01\\SQL2019");
    // A ';' glued to the text is data, and later '=' belong to the value.
    EXPECT_EQ(s.value("Ligação", "OpcoesODBC"), "Encrypt=yes;TrustServerCertificate=no");
    EXPECT_EQ(s.value("Ligação", "Password"), "a;b");
    EXPECT_EQ(s.value("Ligação", "Username"), "");
    EXPECT_EQ(s.value("Ligação", "; indented comment"), std::nullopt);
    EXPECT_EQ(s.value("Talvers", "ContribuinteVariante"), "500000000");
    EXPECT_TRUE(s.hasSection("Talvers"));
}

TEST(SettingsFile, MissingSectionsAndKeysAreAbsent) {
    const SettingsFile s =
        SettingsFile::parse("Orphan=1\n[Ligação]\nEmpresa=E1\n[LigaçãoExterna\nServidor=x\n");
    EXPECT_EQ(s.value("Ligação", "Servidor"), std::nullopt);
    EXPECT_EQ(s.text("Ligação", "Servidor"), "");
    EXPECT_EQ(s.value("LigaçãoExterna", "Empresa"), std::nullopt);
    EXPECT_FALSE(s.hasSection("LigaçãoExterna"));
    EXPECT_EQ(s.value("", "Orphan"), std::nullopt);  // keys before any section are ignored
}

TEST(SettingsFile, NamesIgnoreCaseIncludingAccentedLetters) {
    const SettingsFile s = SettingsFile::parse("[LIGAÇÃO]\nSERVIDOR=x\n");
    EXPECT_EQ(s.value("Ligação", "servidor"), "x");
    EXPECT_EQ(s.value("ligação", "Servidor"), "x");
    EXPECT_EQ(s.value("Ligacao", "Servidor"), std::nullopt);  // no accent folding, only case
}

TEST(SettingsFile, FirstOfRepeatedKeysCountsAndRepeatedSectionsMerge) {
    const SettingsFile s = SettingsFile::parse("[A]\nk=1\nk=2\n[B]\n[a]\nj=3\n");
    EXPECT_EQ(s.value("A", "k"), "1");
    EXPECT_EQ(s.value("A", "j"), "3");
}

TEST(SettingsFile, CrLfLineEndsAndByteOrderMark) {
    const SettingsFile s =
        SettingsFile::parse("\xEF\xBB\xBF[Ligação]\r\nEmpresa=EMP01\r\nServidor=s\r\n");
    EXPECT_TRUE(s.hasSection("Ligação"));  // the BOM does not stick to the first section
    EXPECT_EQ(s.value("Ligação", "Empresa"), "EMP01");
    EXPECT_EQ(s.value("Ligação", "Servidor"), "s");
}

TEST(SettingsFile, Windows1252FileIsConvertedToUtf8) {
    // "[Ligação]" with ç = 0xE7, ã = 0xE3; 0x80 is the euro sign, 0x93/0x94 curly quotes.
    const SettingsFile s =
        SettingsFile::parse("[Liga\xE7\xE3o]\r\nEmpresa=S\xE3o Jo\xE3o \x80 \x93x\x94\r\n");
    EXPECT_EQ(s.value("Ligação", "Empresa"), "São João € “x”");
}

TEST(SettingsFile, BytesUndefinedInWindows1252BecomeReplacementCharacters) {
    const SettingsFile s = SettingsFile::parse("[A]\nk=\x81\x8D\x8F\x90\x9D\xFF\n");
    EXPECT_EQ(s.value("A", "k"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDÿ");
}

TEST(SettingsFile, LoadsFileAndReportsUnreadableOnes) {
    testing::TempDir dir;
    {
        std::ofstream out(dir / "Talvers.qor", std::ios::binary);
        out << "[Liga\xE7\xE3o]\r\nUsername=jo\xE3o\r\n";
    }
    EXPECT_EQ(SettingsFile::load(dir / "Talvers.qor").value("Ligação", "Username"), "joão");

    try {
        SettingsFile::load(dir / "missing.qor");
        FAIL() << "a missing file must be an error";
    } catch (const SettingsError& e) {
        EXPECT_EQ(e.number(), static_cast<long>(SettingsErrorNumber::Unreadable));
        EXPECT_NE(e.description().find("missing.qor"), std::string::npos);
        EXPECT_NE(e.description().find("não existe"), std::string::npos);
    }
    // A folder where the file should be reads as nothing on some systems: still an error.
    EXPECT_THROW(SettingsFile::load(dir.path()), SettingsError);
}

TEST(SettingsFile, EncodingIsDecidedPerLine) {
    // A UTF-8 file with one Windows-1252 byte (0xE9, "é") in a comment: the UTF-8 lines keep
    // their meaning and the odd line is read as Windows-1252.
    const SettingsFile s =
        SettingsFile::parse("[Ligação]\r\n; c\xE9u\r\nUsername=joão\r\nEmpresa=S\xE3o\r\n");
    EXPECT_EQ(s.value("Ligação", "Username"), "joão");
    EXPECT_EQ(s.value("Ligação", "Empresa"), "São");
}

TEST(SettingsFile, OnlyRegularFilesOfAFewKilobytesAreRead) {
    testing::TempDir dir;
    {
        std::ofstream out(dir / "big.qor", std::ios::binary);
        out << "[A]\n" << std::string(2 * 1024 * 1024, ';');
    }
    std::vector<std::filesystem::path> refused = {dir / "big.qor", dir.path()};
    // Opening a FIFO for reading waits for a writer, and a device such as /dev/zero (or NUL)
    // never ends or never starts: both must be refused before they are opened.
#ifdef _WIN32
    refused.emplace_back("NUL");
#else
    const std::filesystem::path fifo = dir / "fifo.qor";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    refused.push_back(fifo);
    refused.emplace_back("/dev/zero");
#endif
    for (const std::filesystem::path& file : refused) {
        try {
            SettingsFile::load(file);
            ADD_FAILURE() << file << " must be refused";
        } catch (const SettingsError& e) {
            EXPECT_EQ(e.number(), static_cast<long>(SettingsErrorNumber::Unreadable));
            EXPECT_NE(e.description().find(utf8FromPath(file.filename())), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace talvers
