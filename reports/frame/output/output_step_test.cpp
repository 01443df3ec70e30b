#include "reports/frame/output/output_step.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "tests/support/recording_presenter.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_dump.h"

namespace talvers {
namespace {

using testing::RecordingPresenter;

class ScriptedFiles : public FileNameProvider {
  public:
    explicit ScriptedFiles(std::string answer) : answer_(std::move(answer)) {}
    std::string chooseFileName(std::string_view filter) override {
        filters.emplace_back(filter);
        return answer_;
    }
    std::vector<std::string> filters;

  private:
    std::string answer_;
};

class RecordingOpener : public FileOpener {
  public:
    std::vector<std::string> opened;
    bool succeeds = true;
    bool open(const std::string& path) override {
        opened.push_back(path);
        return succeeds;
    }
};

Table oneRow() {
    Table rows({{"Artigo", FieldType::Text, 15}, {"Quant.", FieldType::Money, 0}});
    rows.addRow({" A1", *Money::parse("2.5")});
    return rows;
}

const DateTime kToday{2026, 12, 7, 15, 30, 0};
const ReportOutput kOutput{"Enc. Pendentes", "Encomendas Pendentes em "};

TEST(OutputStep, WritesWithTitleOfTodayAndOpens) {
    testing::TempDir dir;
    const std::string path = (dir / "saida.xlsx").string();
    ScriptedFiles files(path);
    RecordingPresenter messages;
    RecordingOpener opener;
    EXPECT_EQ(deliverReport(oneRow(), kOutput, kToday, files, messages, opener, {}),
              OutputOutcome::Written);
    EXPECT_EQ(files.filters, (std::vector<std::string>{"Ficheiros de excel (*.xlsx)|*.xlsx"}));
    EXPECT_EQ(opener.opened, (std::vector<std::string>{path}));
    EXPECT_TRUE(messages.texts().empty());
    const auto dump = testing::dumpWorkbook(path);
    EXPECT_EQ(dump.sheetNames(), (std::vector<std::string>{"Enc. Pendentes"}));
    EXPECT_EQ(dump.cell("Enc. Pendentes", "A1").value, "Encomendas Pendentes em 07-12-2026");
    EXPECT_EQ(dump.cell("Enc. Pendentes", "B4").value, "2.5");
}

TEST(OutputStep, NoRowsShowsTheNoDataMessageAndAsksNothing) {
    ScriptedFiles files("never.xlsx");
    RecordingPresenter messages;
    RecordingOpener opener;
    const Table empty({{"Artigo", FieldType::Text, 15}});
    EXPECT_EQ(deliverReport(empty, kOutput, kToday, files, messages, opener, {}),
              OutputOutcome::NoData);
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"Não existe informação para as condições solicitadas!"}));
    EXPECT_TRUE(files.filters.empty());
    EXPECT_TRUE(opener.opened.empty());
}

TEST(OutputStep, CancelWritesNothingOpensNothingAndSaysNothing) {
    ScriptedFiles files("");
    RecordingPresenter messages;
    RecordingOpener opener;
    EXPECT_EQ(deliverReport(oneRow(), kOutput, kToday, files, messages, opener, {}),
              OutputOutcome::Cancelled);
    EXPECT_TRUE(messages.texts().empty());
    EXPECT_TRUE(opener.opened.empty());
}

TEST(OutputStep, AFailedWriteIsReportedAndTheOldFileIsNeverOpened) {
    testing::TempDir dir;
    // The target is an existing folder: the workbook cannot be moved over it.
    std::filesystem::create_directory(dir / "pasta.xlsx");
    ScriptedFiles files((dir / "pasta.xlsx").string());
    RecordingPresenter messages;
    RecordingOpener opener;
    EXPECT_EQ(deliverReport(oneRow(), kOutput, kToday, files, messages, opener, {}),
              OutputOutcome::Failed);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0].rfind("Situação Anómala\n\rErro: ", 0), 0u);
    EXPECT_TRUE(opener.opened.empty());
}

// The workbook stays written whatever the desktop does with it; when it cannot open it, the
// message names the file, and a name without .xlsx (any letter case counts) gets the note.
TEST(OutputStep, AWorkbookTheDesktopCannotOpenIsNamedInAMessage) {
    testing::TempDir dir;
    for (const std::string name : {"mapa.XLSX", "mapa"}) {
        const std::string path = (dir / name).string();
        ScriptedFiles files(path);
        RecordingPresenter messages;
        RecordingOpener opener;
        opener.succeeds = false;
        EXPECT_EQ(deliverReport(oneRow(), kOutput, kToday, files, messages, opener, {}),
                  OutputOutcome::Written);
        EXPECT_EQ(messages.texts(),
                  std::vector<std::string>{
                      "O ficheiro \"" + path +
                      "\" foi gravado, mas o ambiente de trabalho não o conseguiu abrir: não há "
                      "nenhum programa associado a este tipo de ficheiro." +
                      (name == "mapa" ? "\nSem a extensão .xlsx, o ficheiro pode não abrir com "
                                        "duplo clique."
                                      : "")});
    }
}

}  // namespace
}  // namespace talvers
