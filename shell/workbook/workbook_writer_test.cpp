#include "shell/workbook/workbook_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <xlsxwriter.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "tests/support/recording_presenter.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_dump.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;
using testing::cellRef;
using testing::dumpWorkbook;
using testing::RecordingPresenter;
using testing::TempDir;
using testing::XlsxDump;

constexpr const char* kRed = "FFFF0000";
constexpr const char* kWhite = "FFFFFFFF";
constexpr const char* kDataFill = "FF7ACDF6";
constexpr const char* kThousands = "###,###,##0.00";

using testing::folderEntries;
using testing::writeText;

std::string readFile(const fs::path& path) {
    return testing::fileBytes(path);
}

// Three columns: text, integer, date; ten rows with a null in every third row.
Table threeByTen() {
    Table table({{"Artigo", FieldType::Text, 20},
                 {"Quant.", FieldType::Integer, 4},
                 {"Data", FieldType::Date, 8}});
    for (int i = 0; i < 10; ++i) {
        if (i % 3 == 2) {
            table.addRow({Value(), Value(i), Value()});
        } else {
            table.addRow({" A" + std::to_string(i), Value(1234 + i), DateTime{2024, 5, 13}});
        }
    }
    return table;
}

class WorkbookWriter : public ::testing::Test {
  protected:
    bool write(const Table& rows, const fs::path& file, std::vector<std::string> names = {"Folha"},
               std::vector<std::string> titles = {"Título do mapa"}) {
        return writeWorkbook(names, titles, file.string(), rows, presenter);
    }
    // The one failure message shown, which must have the "Situação Anómala" form.
    void expectFailure(const std::string& description, long number) {
        ASSERT_EQ(presenter.texts().size(), 1u);
        EXPECT_EQ(presenter.texts()[0],
                  "Situação Anómala\n\rErro: " + description + "  " + std::to_string(number));
    }

    TempDir dir;
    RecordingPresenter presenter;
};

TEST_F(WorkbookWriter, LaysOutTitleHeadersAndFilledData) {
    const fs::path file = dir / "mapa.xlsx";
    ASSERT_TRUE(write(threeByTen(), file));
    EXPECT_TRUE(presenter.texts().empty());
    const XlsxDump dump = dumpWorkbook(file);
    ASSERT_EQ(dump.sheetNames(), std::vector<std::string>{"Folha"});

    EXPECT_EQ(dump.merges("Folha"), std::vector<std::string>{"A1:C1"});
    const auto& title = dump.cell("Folha", "A1");
    EXPECT_EQ(title.value, "Título do mapa");
    EXPECT_TRUE(title.bold);
    EXPECT_EQ(title.fontSize, 20);
    EXPECT_EQ(title.fill, kRed);
    EXPECT_EQ(title.fontColor, kWhite);
    EXPECT_EQ(title.horizontal, "center");

    for (int c = 1; c <= 3; ++c) EXPECT_FALSE(dump.cell("Folha", 2, c).exists) << c;
    const std::vector<std::string> names{"Artigo", "Quant.", "Data"};
    for (int c = 1; c <= 3; ++c) {
        const auto& header = dump.cell("Folha", 3, c);
        EXPECT_EQ(header.value, names[c - 1]);
        EXPECT_TRUE(header.bold);
        EXPECT_EQ(header.fill, kRed);
        EXPECT_EQ(header.fontColor, kWhite);
        EXPECT_EQ(header.horizontal, "center");
    }
    // Every data cell is filled, the null ones too, and nothing lies below row 13.
    for (int r = 4; r <= 13; ++r) {
        for (int c = 1; c <= 3; ++c) {
            EXPECT_EQ(dump.cell("Folha", r, c).fill, kDataFill) << cellRef(r, c);
            EXPECT_FALSE(dump.cell("Folha", r, c).bold) << cellRef(r, c);
        }
    }
    EXPECT_EQ(dump.cell("Folha", "A6").type, "");
    EXPECT_EQ(dump.maxRow("Folha"), 13);
    EXPECT_EQ(dump.maxColumn("Folha"), 3);
    EXPECT_EQ(dump.freezePane("Folha"), "A4");
    EXPECT_EQ(dump.autoFilter("Folha"), "A3:C3");
}

TEST_F(WorkbookWriter, NumbersCarryTheThousandsFormatAndExactValues) {
    Table table({{"Quant.", FieldType::Integer, 4},
                 {"Valor", FieldType::Money, 8},
                 {"Taxa", FieldType::Numeric, 12},
                 {"Obs", FieldType::Text, 0},
                 {"Nota", FieldType::Text, 300}});
    table.addRow({Value(1234), Value(*Money::parse("1234.5678")), Value(0.1), Value(7), "x"});
    table.addRow({Value(), Value(*Money::parse("9.95")),
                  Value(std::numeric_limits<double>::infinity()), Value(), Value()});
    table.addRow({Value(std::int64_t{-5}), Value(*Money::parse("-1234567890.1234")), Value(2.5),
                  Value(), Value()});
    const fs::path file = dir / "numeros.xlsx";
    ASSERT_TRUE(write(table, file));
    const XlsxDump dump = dumpWorkbook(file);

    const auto& integer = dump.cell("Folha", "A4");
    EXPECT_EQ(integer.type, "n");
    EXPECT_EQ(integer.number(), 1234);
    EXPECT_EQ(integer.numberFormat, kThousands);
    EXPECT_EQ(integer.fill, kDataFill);
    EXPECT_EQ(dump.cell("Folha", "A6").number(), -5);
    EXPECT_EQ(dump.cell("Folha", "B4").value, "1234.5678");
    EXPECT_EQ(dump.cell("Folha", "B5").number(), 9.95);
    EXPECT_EQ(dump.cell("Folha", "B6").value, "-1234567890.1234");
    EXPECT_EQ(dump.cell("Folha", "C4").value, "0.1");
    EXPECT_EQ(dump.cell("Folha", "C5").value, "inf");              // a cell cannot hold infinity
    EXPECT_EQ(dump.cell("Folha", "A5").numberFormat, kThousands);  // null cell in the column
    // A number in a text column keeps the general format.
    EXPECT_EQ(dump.cell("Folha", "D4").number(), 7);
    EXPECT_EQ(dump.cell("Folha", "D4").numberFormat, "General");

    for (const char* column : {"A", "B", "C"}) {
        EXPECT_EQ(dump.columnNumberFormat("Folha", column), kThousands) << column;
    }
    EXPECT_EQ(dump.columnNumberFormat("Folha", "D"), "General");
    // Stored widths carry the spreadsheet's padding of about 0.71.
    EXPECT_NEAR(dump.columnWidth("Folha", "A"), 15.71, 0.01);
    EXPECT_NEAR(dump.columnWidth("Folha", "B"), 15.71, 0.01);
    EXPECT_NEAR(dump.columnWidth("Folha", "C"), 12.71, 0.01);
    EXPECT_EQ(dump.columnWidth("Folha", "D"), 0);  // default width, not a hidden column
    EXPECT_NEAR(dump.columnWidth("Folha", "E"), 255.71, 0.01);
}

TEST_F(WorkbookWriter, DateColumnFitsHeaderAndDatesWrittenAsText) {
    const fs::path file = dir / "datas.xlsx";
    ASSERT_TRUE(write(threeByTen(), file));
    const XlsxDump dump = dumpWorkbook(file);
    EXPECT_EQ(dump.cell("Folha", "C4").value, "2024-05-13");
    EXPECT_EQ(dump.cell("Folha", "C4").type, "s");
    EXPECT_NEAR(dump.columnWidth("Folha", "C"), 12.71, 0.01);  // "2024-05-13" and a margin
    EXPECT_NEAR(dump.columnWidth("Folha", "A"), 20.71, 0.01);  // the text's defined size
}

TEST_F(WorkbookWriter, TextsAreWrittenExactly) {
    Table table({{"Data", FieldType::Text, 15}, {"Nome Cliente", FieldType::Text, 80}});
    table.addRow({" 2024-05-13", "  Ação & Companhia <Lda> \"Ç\""});
    table.addRow({"linha\r\nseguinte", std::string(40000, 'e')});
    table.addRow({"", "0123"});
    const fs::path file = dir / "textos.xlsx";
    ASSERT_TRUE(
        write(table, file, {"Encomendas Pendentes"}, {"Encomendas  pendentes a 13-05-2024"}))
        << ::testing::PrintToString(presenter.texts());
    const XlsxDump dump = dumpWorkbook(file);
    const std::string sheet = "Encomendas Pendentes";
    EXPECT_EQ(dump.cell(sheet, "A1").value, "Encomendas  pendentes a 13-05-2024");
    EXPECT_EQ(dump.cell(sheet, "A4").value, " 2024-05-13");
    EXPECT_EQ(dump.cell(sheet, "B4").value, "  Ação & Companhia <Lda> \"Ç\"");
    EXPECT_EQ(dump.cell(sheet, "A5").value, "linha\r\nseguinte");
    // A cell holds at most 32767 characters: the rest is cut rather than the report lost.
    EXPECT_EQ(dump.cell(sheet, "B5").value, std::string(32767, 'e'));
    EXPECT_EQ(dump.cell(sheet, "A6").type, "");
    EXPECT_EQ(dump.cell(sheet, "A6").fill, kDataFill);
    EXPECT_EQ(dump.cell(sheet, "B6").value, "0123");
    EXPECT_EQ(dump.cell(sheet, "B6").type, "s");
}

TEST_F(WorkbookWriter, TwoNamesGiveTwoSheetsWithTheSameRows) {
    const fs::path file = dir / "duas.xlsx";
    ASSERT_TRUE(write(threeByTen(), file, {"Primeira", "Segunda ção"}, {"Título 1", "Título 2"}));
    const XlsxDump dump = dumpWorkbook(file);
    ASSERT_EQ(dump.sheetNames(), (std::vector<std::string>{"Primeira", "Segunda ção"}));
    EXPECT_EQ(dump.cell("Primeira", "A1").value, "Título 1");
    EXPECT_EQ(dump.cell("Segunda ção", "A1").value, "Título 2");
    for (const std::string sheet : {"Primeira", "Segunda ção"}) {
        EXPECT_EQ(dump.maxRow(sheet), 13);
        EXPECT_EQ(dump.merges(sheet), std::vector<std::string>{"A1:C1"});
        EXPECT_EQ(dump.cell(sheet, "A4").value, " A0");
        EXPECT_EQ(dump.cell(sheet, "B13").number(), 1243);
        EXPECT_EQ(dump.freezePane(sheet), "A4");
    }
}

TEST_F(WorkbookWriter, OneColumnAndNoRowsStillGiveTheLayout) {
    Table table({{"Artigo", FieldType::Text, 15}});
    const fs::path file = dir / "vazio.xlsx";
    ASSERT_TRUE(write(table, file));
    const XlsxDump dump = dumpWorkbook(file);
    // A single cell cannot be merged; it carries the title format itself.
    EXPECT_TRUE(dump.merges("Folha").empty());
    EXPECT_EQ(dump.cell("Folha", "A1").value, "Título do mapa");
    EXPECT_EQ(dump.cell("Folha", "A1").fill, kRed);
    EXPECT_EQ(dump.cell("Folha", "A3").value, "Artigo");
    EXPECT_EQ(dump.maxRow("Folha"), 3);
    EXPECT_EQ(dump.autoFilter("Folha"), "A3");
}

TEST_F(WorkbookWriter, ReplacesAnExistingTargetAndLeavesNoTemporaryFile) {
    const fs::path file = dir / "mapa.xlsx";
    writeText(file, "old contents");
    ASSERT_TRUE(write(threeByTen(), file));
    EXPECT_TRUE(presenter.texts().empty());
    EXPECT_EQ(dumpWorkbook(file).cell("Folha", "A1").value, "Título do mapa");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"mapa.xlsx"});
}

TEST_F(WorkbookWriter, FolderProblemsFailWithTheSystemErrorNumber) {
    const fs::path missing = dir / "nao_existe" / "mapa.xlsx";
    EXPECT_FALSE(write(threeByTen(), missing));
    expectFailure(
        "Não foi possível gravar o ficheiro '" + missing.string() + "': a pasta não existe",
        ENOENT);
    EXPECT_FALSE(fs::exists(dir / "nao_existe"));

    presenter.shown.clear();
    writeText(dir / "ficheiro", "x");
    const fs::path throughFile = dir / "ficheiro" / "mapa.xlsx";
    EXPECT_FALSE(write(threeByTen(), throughFile));
    expectFailure("Não foi possível gravar o ficheiro '" + throughFile.string() +
                      "': o caminho da pasta passa por um ficheiro",
                  ENOTDIR);

    presenter.shown.clear();
    fs::create_directory(dir / "pasta.xlsx");
    EXPECT_FALSE(write(threeByTen(), dir / "pasta.xlsx"));
    expectFailure("Não foi possível gravar o ficheiro '" + (dir / "pasta.xlsx").string() +
                      "': existe uma pasta com esse nome",
                  EISDIR);
    EXPECT_TRUE(fs::is_directory(dir / "pasta.xlsx"));
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"ficheiro", "pasta.xlsx"}));
}

TEST_F(WorkbookWriter, ReadOnlyFolderFailsAndKeepsTheOldFile) {
    const fs::path folder = dir / "so_leitura";
    fs::create_directory(folder);
    writeText(folder / "mapa.xlsx", "old contents");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    if (std::FILE* probe = std::fopen((folder / "probe").c_str(), "wb")) {
        std::fclose(probe);
        fs::remove(folder / "probe");
        GTEST_SKIP() << "this user may write into read-only folders (root); the other "
                        "write failures are covered by the folder and disk-full cases";
    }
    EXPECT_FALSE(write(threeByTen(), folder / "mapa.xlsx"));
    expectFailure("Não foi possível gravar o ficheiro '" + (folder / "mapa.xlsx").string() +
                      "': sem permissão de escrita",
                  EACCES);
    EXPECT_EQ(readFile(folder / "mapa.xlsx"), "old contents");
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"mapa.xlsx"});
}

TEST_F(WorkbookWriter, RefusedSheetNamesFailBeforeAnythingIsWritten) {
    const fs::path file = dir / "mapa.xlsx";
    writeText(file, "old contents");
    const std::string ok31(31, 'c');
    struct Case {
        std::vector<std::string> names;
        std::string description;
        long number;
    };
    const std::vector<Case> cases = {
        {{std::string(32, 'a')},
         "Nome de folha inválido: '" + std::string(32, 'a') + "': tem mais de 31 caracteres",
         LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED},
        {{"Folha", "Enc/Forn"},
         "Nome de folha inválido: 'Enc/Forn': contém um dos caracteres [ ] : * ? / \\",
         LXW_ERROR_INVALID_SHEETNAME_CHARACTER},
        {{"'Folha"},
         "Nome de folha inválido: ''Folha': começa ou acaba com um apóstrofo",
         LXW_ERROR_SHEETNAME_START_END_APOSTROPHE},
        {{"Folha", "FOLHA"},
         "Nome de folha inválido: 'FOLHA': repete o nome de outra folha",
         LXW_ERROR_SHEETNAME_ALREADY_USED},
        {{""}, "Nome de folha inválido: o nome está vazio", LXW_ERROR_PARAMETER_VALIDATION},
        {{}, "Não foi indicada nenhuma folha para o ficheiro", LXW_ERROR_PARAMETER_VALIDATION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        presenter.shown.clear();
        EXPECT_FALSE(write(threeByTen(), file, c.names, {"T1", "T2"}));
        expectFailure(c.description, c.number);
        EXPECT_EQ(readFile(file), "old contents");
        EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"mapa.xlsx"});
    }
    // 31 characters are allowed, counted as characters (62 bytes here).
    std::string accented;
    for (int i = 0; i < 31; ++i) accented += "ç";
    presenter.shown.clear();
    ASSERT_TRUE(write(threeByTen(), file, {accented}, {"T"}));
    EXPECT_EQ(dumpWorkbook(file).sheetNames(), std::vector<std::string>{accented});
}

TEST_F(WorkbookWriter, TooFewTitlesFail) {
    const fs::path file = dir / "mapa.xlsx";
    EXPECT_FALSE(write(threeByTen(), file, {"A", "B"}, {"Só um"}));
    expectFailure("Falta o título da folha 'B'", LXW_ERROR_PARAMETER_VALIDATION);
    EXPECT_TRUE(folderEntries(dir.path()).empty());
}

// A full disk is simulated with a file-size limit in a child process: the write of the
// workbook (or of the rows before it) fails, and the writer must say so.
void writeUnderSizeLimit(const fs::path& file, const Table& rows, rlim_t limit) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{limit, limit};
    setrlimit(RLIMIT_FSIZE, &small);
    RecordingPresenter presenter;
    const bool written = writeWorkbook({"Folha"}, {"T"}, file.string(), rows, presenter);
    for (const auto& text : presenter.texts()) std::cerr << text << "\n";
    std::exit(written || presenter.texts().size() != 1 ? 1 : 0);
}

Table manyRows(int count) {
    Table table({{"Texto", FieldType::Text, 20}, {"Valor", FieldType::Money, 8}});
    for (int i = 0; i < count; ++i) {
        table.addRow({"linha " + std::to_string(i), Money::fromTicks(i * 12345)});
    }
    return table;
}

TEST_F(WorkbookWriter, DiskFullAtCloseKeepsTheOldFile) {
    const fs::path file = dir / "mapa.xlsx";
    writeText(file, "old contents");
    // The zip writer says only that it failed: the size reached tells why.
    EXPECT_EXIT(writeUnderSizeLimit(file, manyRows(1), 3000), ::testing::ExitedWithCode(0),
                "Erro: Não foi possível gravar o ficheiro '.*': o ficheiro excede o tamanho "
                "permitido  5");
    EXPECT_EQ(readFile(file), "old contents");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"mapa.xlsx"});
}

TEST_F(WorkbookWriter, DiskFullWhileStreamingRowsIsNotReportedAsWritten) {
    const fs::path file = dir / "mapa.xlsx";
    writeText(file, "old contents");
    EXPECT_EXIT(writeUnderSizeLimit(file, manyRows(5000), 20000), ::testing::ExitedWithCode(0),
                "Erro: Não foi possível escrever a folha 'Folha': o ficheiro excede o tamanho "
                "permitido  27");
    EXPECT_EQ(readFile(file), "old contents");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"mapa.xlsx"});
}

}  // namespace
}  // namespace talvers
