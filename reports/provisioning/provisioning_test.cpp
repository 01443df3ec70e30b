#include "reports/provisioning/provisioning.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/money_field.h"
#include "tests/support/erp_fixture.h"

namespace talvers {
namespace {

using testing::ErpFixture;
using testing::RecordingProgress;

Value money(const char* text) {
    return Value(*Money::parse(text));
}

// A sales document header (AREAG 4, tpterc 2, natconta 1, nvias 1 unless overridden) with one
// line per (article, warehouse, quantity).
struct SaleLine {
    const char* article;
    const char* warehouse;
    const char* quantity;
};

void addDocument(ErpFixture& db, int number, const char* date, int sign,
                 std::vector<SaleLine> lines, int areag = 4, int tpterc = 2, int natconta = 1,
                 int nvias = 1) {
    db.execMain(
        "INSERT INTO DOCGCCAB (TpDoc, Ano, Serie, NNumDoc, Data, nvias, AreaG, TpTerc, "
        "NatConta, SinalCt) VALUES ('FT', 2024, 'A', " +
        std::to_string(number) + ", '" + date + "', " + std::to_string(nvias) + ", " +
        std::to_string(areag) + ", " + std::to_string(tpterc) + ", " + std::to_string(natconta) +
        ", " + std::to_string(sign) + ");");
    int lineNumber = 0;
    for (const SaleLine& line : lines) {
        db.execMain(
            "INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Armazem, "
            "QtdOrig) VALUES ('FT', 2024, 'A', " +
            std::to_string(number) + ", " + std::to_string(++lineNumber) + ", '" + line.article +
            "', '" + line.warehouse + "', " + line.quantity + ");");
    }
}

void addStock(ErpFixture& db, const char* article, const char* warehouse, const char* stock,
              const char* customerOrders = "0", const char* supplierOrders = "0") {
    db.execMain(std::string("INSERT INTO ArtArm VALUES ('") + article + "', '" + warehouse + "', " +
                stock + ", " + customerOrders + ", " + supplierOrders + ");");
}

const ProvisioningRequest kJanuary{{2024, 1, 1}, {2024, 1, 31}, "", "", ""};

std::vector<std::string> column(const Table& rows, const char* name) {
    std::vector<std::string> texts;
    for (size_t i = 0; i < rows.rowCount(); ++i) texts.push_back(rows.at(i, name).toText());
    return texts;
}

TEST(Provisioning, OutputNames) {
    EXPECT_EQ(provisioningOutput().sheetName, "Mapa Parovisionamento");
    EXPECT_EQ(provisioningOutput().titlePrefix, "Mapa Aprovisionamento em ");
}

class ProvisioningDefault : public ::testing::Test {
  protected:
    void SetUp() override {
        db.execMain(
            "INSERT INTO Fornec VALUES ('F1', 'Forn' || char(10) || 'Um' || char(10) || 'Lda');"
            "INSERT INTO Artigos (Codigo, Abrev, Nome, ArtouDes, Fornec) VALUES"
            " ('A1', 'a1', 'Artigo 1', 0, 'F1'),"  // sales of every kind, stock in three warehouses
            " ('A2', 'a2', 'Artigo 2', 0, NULL),"  // -3 sold + 3 in stock: adds up to 0
            " ('A3', 'a3', 'Artigo 3', 0, NULL),"  // nothing at all
            " ('A4', 'a4', 'Inactivo', 1, NULL),"  // inactive, with stock and sales
            " ('A5', 'a5', 'Artigo 5', 0, NULL),"  // only warehouse 003
            " ('A6', NULL, NULL, 0, NULL),"        // projected stock below zero
            " ('A7', 'a7', 'Artigo 7', 0, 'F9');");  // supplier code without a supplier row
        addStock(db, "A1", "001", "10", "2", "3");
        addStock(db, "A1", "002", "5", "1", "0");
        addStock(db, "A1", "003", "100", "50", "50");
        addStock(db, "A2", "001", "3");
        addStock(db, "A4", "001", "50");
        addStock(db, "A5", "003", "100", "7", "7");
        addStock(db, "A6", "002", "1", "10", "0");
        addStock(db, "A7", "001", "2");
        addDocument(db, 1, "2024-01-01 00:00:00", 1, {{"A1", "001", "4"}, {"A4", "001", "9"}});
        addDocument(db, 2, "2024-01-15 10:00:00", 2, {{"A1", "003", "1.25"}, {"A2", "001", "3"}});
        addDocument(db, 3, "2024-01-31 23:59:00", 3, {{"A1", "009", "2"}});
        addDocument(db, 4, "2024-02-01 00:00:00", 1, {{"A1", "001", "100"}});
        addDocument(db, 5, "2023-12-31 23:59:00", 1, {{"A1", "001", "100"}});
        addDocument(db, 6, "2024-01-10", 1, {{"A1", "001", "100"}}, 3);
        addDocument(db, 7, "2024-01-10", 1, {{"A1", "001", "100"}}, 4, 1);
        addDocument(db, 8, "2024-01-10", 1, {{"A1", "001", "100"}}, 4, 2, 2);
        addDocument(db, 9, "2024-01-10", 1, {{"A1", "001", "100"}}, 4, 2, 1, -1);
        // A date without a time on the first day counts too.
        addDocument(db, 10, "2024-01-01", 1, {{"A7", "001", "1"}});
    }
    Table run(const ProvisioningRequest& filter = kJanuary) {
        return runProvisioning(db.session(LookupMode::SetBased), filter, progress);
    }
    ErpFixture db;
    RecordingProgress progress;
};

TEST_F(ProvisioningDefault, SumsSignedSalesInTheRangeAndStockOverItsWarehouses) {
    const Table rows = run();
    ASSERT_EQ(column(rows, "Artigo"), (std::vector<std::string>{" A6", " A7", " A1"}));
    // +4 (SINALCT 1, first day at 00:00) -1.25 (SINALCT 2) +2 (SINALCT 3, last day at 23:59);
    // the next day, the day before, other areas, types, natconta and nvias -1 do not count.
    EXPECT_EQ(rows.at(2, "Vendas"), money("4.75"));
    EXPECT_EQ(rows.at(2, "Existência"), money("15"));
    EXPECT_EQ(rows.at(2, "Enc.Cli."), money("3"));
    EXPECT_EQ(rows.at(2, "Enc.Forn."), money("3"));
    EXPECT_EQ(rows.at(2, "Prazo"), money("15"));
    EXPECT_EQ(rows.at(0, "Prazo"), money("-9"));
    EXPECT_EQ(rows.at(1, "Prazo"), money("2"));
    EXPECT_EQ(rows.at(1, "Vendas"), money("1"));
}

TEST_F(ProvisioningDefault, TextsGetALeadingBlankAndSupplierNamesOneLine) {
    const Table rows = run();
    ASSERT_EQ(rows.rowCount(), 3u);
    EXPECT_EQ(rows.at(2, "Abreviatura"), Value(" a1"));
    EXPECT_EQ(rows.at(2, "Nome Artigo"), Value(" Artigo 1"));
    EXPECT_EQ(rows.at(2, "Fornecedor"), Value(" F1"));
    EXPECT_EQ(rows.at(2, "Nome Fornecedor"), Value("Forn Um Lda"));
    // Null names become a lone blank; a missing supplier comes back from the query as ' '.
    EXPECT_EQ(rows.at(0, "Abreviatura"), Value(" "));
    EXPECT_EQ(rows.at(0, "Nome Artigo"), Value(" "));
    EXPECT_EQ(rows.at(0, "Fornecedor"), Value("  "));
    EXPECT_EQ(rows.at(0, "Nome Fornecedor"), Value(" "));
    EXPECT_EQ(rows.at(1, "Fornecedor"), Value(" F9"));
}

TEST_F(ProvisioningDefault, AQuantityThatIsNoNumberIsReportedNotCountedAsZero) {
    // SQLite's sum() would take each of these as 0; the report names field, article and value.
    const std::pair<std::string, std::string> cases[] = {
        {"UPDATE ArtArm SET Existenc='muito' WHERE Artigo='A1' AND Armazem='001'",
         "O campo 'Existenc' do artigo 'A1' não tem um valor numérico: 'muito'."},
        {"UPDATE ArtArm SET ArmEncCl='x' WHERE Artigo='A1' AND Armazem='002'",
         "O campo 'ArmEncCl' do artigo 'A1' não tem um valor numérico: 'x'."},
        {"UPDATE DOCGCLIN SET QtdOrig='muitos' WHERE Artigo='A7'",
         "O campo 'QtdOrig' do artigo 'A7' não tem um valor numérico: 'muitos'."},
    };
    for (const auto& [update, message] : cases) {
        ErpFixture fresh;
        fresh.execMain(
            "INSERT INTO Artigos (Codigo, Abrev, Nome, ArtouDes) VALUES ('A1', 'a', 'n', 0),"
            " ('A7', 'a', 'n', 0);");
        addStock(fresh, "A1", "001", "10");
        addStock(fresh, "A1", "002", "5");
        addDocument(fresh, 1, "2024-01-02", 1, {{"A7", "001", "1"}});
        fresh.execMain(update + ";");
        try {
            runProvisioning(fresh.session(LookupMode::SetBased), kJanuary, progress);
            ADD_FAILURE() << update;
        } catch (const DatabaseError& error) {
            EXPECT_EQ(error.description(), message);
        }
    }
}

TEST_F(ProvisioningDefault, ASumBeyondTheMoneyRangeIsReported) {
    addStock(db, "A3", "001", "900000000000000");
    addStock(db, "A3", "002", "0", "0", "900000000000000");
    try {
        run();
        ADD_FAILURE() << "the sum was made";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.number(), kMoneyOutOfRangeError);
        EXPECT_EQ(error.description(),
                  "A soma dos campos 'Vendas', 'Existenc', 'TotEncCl', 'TotEncFo' do artigo 'A3' "
                  "fica fora do intervalo dos montantes: '0', '900000000000000', '0', "
                  "'900000000000000'.");
    }
}

TEST_F(ProvisioningDefault, ProgressCountsEveryQueryRowKeptOrNot) {
    run();
    // Six active articles come back from the query; three are kept.
    EXPECT_EQ(progress.steps, (std::vector<std::string>{"1/6", "2/6", "3/6", "4/6", "5/6", "6/6"}));
}

TEST_F(ProvisioningDefault, GroupFamilyAndWarehouseDoNotFilter) {
    EXPECT_EQ(run({{2024, 1, 1}, {2024, 1, 31}, "003", "G'X", "F'X"}).rowCount(), 3u);
}

// A name is cut to its field of 90 characters, blank included; codes and short names of the
// ERP's full 20 characters, and longer ones, keep their last letter behind the blank.
TEST_F(ProvisioningDefault, NamesAreCutByCharactersCodesAndShortNamesKeptWhole) {
    std::string name;
    for (int i = 0; i < 95; ++i) name += "é";
    const std::string code20 = "ÁRTIGO-COM-20-LETRAS";
    db.execMain("UPDATE Artigos SET Nome = '" + name +
                "', Abrev = 'Abraçadeira Inox 12m', Fornec = 'FORNECEDOR-COM-21-LT'"
                " WHERE Codigo = 'A1';"
                "INSERT INTO Artigos (Codigo, Abrev, Nome, ArtouDes) VALUES ('" +
                code20 + "', 'Abrev de vinte e uma', 'n', 0);");
    addStock(db, code20.c_str(), "001", "1");
    const Table rows = run();
    ASSERT_EQ(rows.rowCount(), 4u);
    EXPECT_EQ(rows.at(3, "Nome Artigo").text(), " " + name.substr(0, 89 * 2));
    EXPECT_EQ(rows.at(3, "Abreviatura"), Value(" Abraçadeira Inox 12m"));
    EXPECT_EQ(rows.at(3, "Fornecedor"), Value(" FORNECEDOR-COM-21-LT"));
    EXPECT_EQ(column(rows, "Artigo")[1], " " + code20);
    EXPECT_EQ(rows.at(1, "Abreviatura"), Value(" Abrev de vinte e uma"));
}

TEST_F(ProvisioningDefault, WithoutSalesStockOrOrdersKeepARowAndNothingLeftIsEmpty) {
    const Table rows = run({{2030, 1, 1}, {2030, 1, 31}, "", "", ""});
    // Without sales A1, A6 and A7 still have stock or orders; A2 now adds up to 3.
    EXPECT_EQ(rows.rowCount(), 4u);
    db.execMain("DELETE FROM ArtArm;");
    EXPECT_TRUE(run({{2030, 1, 1}, {2030, 1, 31}, "", "", ""}).empty());
}

class ProvisioningAlternate : public ::testing::Test {
  protected:
    void SetUp() override {
        db.execMain(
            "INSERT INTO Fornec VALUES ('F1', 'Fornecedor Um');"
            "INSERT INTO Artigos (Codigo, Abrev, Nome, ArtouDes, Grupo, familia, Fornec, "
            "TotEncCl, TotEncFo) VALUES"
            " ('B1', 'b1', 'Artigo B1', 0, 'G''1', 'F''1', 'F1', 2, 1),"
            " ('B2', 'b2', 'Artigo B2', 0, 'G''1', 'F''1', NULL, 0, 5),"  // only in 001
            " ('B3', 'b3', 'Artigo B3', 0, 'G''1', 'F''1', NULL, 1, 0),"  // null stock
            " ('B4', 'b4', 'Artigo B4', 0, 'G2', 'F2', NULL, 5, 0),"
            " ('B5', 'b5', 'Inactivo', 1, 'G''1', 'F''1', NULL, 5, 0);");
        addStock(db, "B1", "002", "4", "50", "50");
        addStock(db, "B1", "004", "6");
        addStock(db, "B1", "001", "100");
        addStock(db, "B2", "001", "5");
        addStock(db, "B3", "002", "NULL");
        addStock(db, "B4", "004", "1");
        addStock(db, "B5", "002", "9");
        addDocument(db, 1, "2024-01-05", 1,
                    {{"B1", "002", "3"}, {"B1", "001", "100"}, {"B1", "003", "100"}});
        addDocument(db, 2, "2024-01-06", 2, {{"B1", "004", "1"}});
    }
    Table run(std::string group, std::string family) {
        return runProvisioning(db.session(LookupMode::SetBased, true),
                               {{2024, 1, 1}, {2024, 1, 31}, "", group, family}, progress);
    }
    ErpFixture db;
    RecordingProgress progress;
};

TEST_F(ProvisioningAlternate, UsesWarehouses002And004AndTheArticleOrderTotals) {
    const Table rows = run("", "");
    // B2 has no 002/004 stock row, B3's stock there is null, B5 is inactive.
    ASSERT_EQ(column(rows, "Artigo"), (std::vector<std::string>{" B4", " B1"}));
    EXPECT_EQ(rows.at(1, "Vendas"), money("2"));
    EXPECT_EQ(rows.at(1, "Existência"), money("10"));
    EXPECT_EQ(rows.at(1, "Enc.Cli."), money("2"));
    EXPECT_EQ(rows.at(1, "Enc.Forn."), money("1"));
    EXPECT_EQ(rows.at(1, "Prazo"), money("9"));
    EXPECT_EQ(rows.at(1, "Nome Fornecedor"), Value("Fornecedor Um"));
    EXPECT_EQ(rows.at(0, "Prazo"), money("-4"));
    // B1 (once, although it has two stock rows), B3 and B4 come back from the query.
    EXPECT_EQ(progress.steps, (std::vector<std::string>{"1/3", "2/3", "3/3"}));
}

TEST_F(ProvisioningAlternate, GroupAndFamilyWithQuotesFilter) {
    EXPECT_EQ(column(run("G'1", ""), "Artigo"), (std::vector<std::string>{" B1"}));
    EXPECT_EQ(column(run("", "F2"), "Artigo"), (std::vector<std::string>{" B4"}));
    EXPECT_EQ(column(run("G'1", "F'1"), "Artigo"), (std::vector<std::string>{" B1"}));
    EXPECT_TRUE(run("G2", "F'1").empty());
    // Spliced as typed: a blank around the code is part of it.
    EXPECT_TRUE(run("G2 ", "").empty());
}

}  // namespace
}  // namespace talvers
