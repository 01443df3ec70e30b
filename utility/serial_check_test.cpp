#include "utility/serial_check.h"

#include <gtest/gtest.h>

#include "tests/support/erp_fixture.h"
#include "utility/serial_check_sql.h"

namespace talvers {
namespace {

// The ERP fixture with helpers for the check's document lines and serial movements.
class SerialFixture : public ::testing::Test {
  protected:
    void exec(const std::string& sql) { erp_.execMain(sql); }
    // One document line of the given quantity under a header with the given nvias.
    void documentLine(const std::string& type, int number, int nvias, const std::string& quantity) {
        exec("INSERT INTO DOCGCCAB (TpDoc, Ano, Serie, NNumDoc, Data, nvias) VALUES ('" + type +
             "', 2026, 'A', " + std::to_string(number) + ", '2026-03-01 00:00:00', " +
             std::to_string(nvias) + ")");
        exec(
            "INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Quant) VALUES "
            "('" +
            type + "', 2026, 'A', " + std::to_string(number) + ", 1, 'X', " + quantity + ")");
    }
    void move(const std::string& article, int stockType, const std::string& warehouse,
              const std::string& serial, const std::string& type, int number) {
        exec("INSERT INTO NSerMovs VALUES ('" + article + "', " + std::to_string(stockType) +
             ", '" + warehouse + "', '" + serial + "', '" + type + "', 'A', " +
             std::to_string(number) + ", 2026, 1)");
    }

    struct Run {
        std::vector<std::string> messages;
        Table findings;
    };
    Run run(LookupMode mode = LookupMode::SetBased) {
        Run r;
        NullProgress progress;
        r.findings = runSerialCheck(
            erp_.session(mode), [&](const std::string& m) { r.messages.push_back(m); }, ',',
            progress);
        return r;
    }
    // "serial:situation" for each finding, in order.
    static std::vector<std::string> situations(const Table& t) {
        std::vector<std::string> out;
        for (size_t r = 0; r < t.rowCount(); ++r) {
            out.push_back(t.at(r, "Número de Série").toText() + ":" + t.at(r, "Situação").toText());
        }
        return out;
    }

    testing::ErpFixture erp_;
};

TEST_F(SerialFixture, NoTypeTMovementShowsNothing) {
    exec("INSERT INTO qor_ARM_picking_Movimentos VALUES ('A1', '001', 'S', 'SN1')");
    exec("INSERT INTO qor_ARM_picking_Movimentos VALUES ('A1', '001', 'T', '')");
    const Run r = run();
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.findings.rowCount(), 0u);
}

TEST_F(SerialFixture, MessageLinesAndStockFigures) {
    exec("INSERT INTO qor_ARM_picking_Movimentos VALUES ('A1', '001', 'T', 'SN1')");
    exec("INSERT INTO qor_ARM_picking_Movimentos VALUES ('A1', '001', 'T', 'SN2')");
    exec("INSERT INTO qor_ARM_picking_Movimentos VALUES ('ZZ', '002', 'T', 'SN9')");
    exec("INSERT INTO Artigos (Codigo, Stdisp) VALUES ('A1', 7.5)");
    exec(
        "INSERT INTO ArtArm (Artigo, Armazem, Existenc) VALUES ('A1', '001', 5), ('A1', '002', 0),"
        " ('A1', '004', 2.5)");
    exec("INSERT INTO NserExis VALUES ('A1', 'SN1'), ('A1', 'SN2'), ('A1', 'SN3')");
    const Run r = run();
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0],
              "Artigo  A1  para Armazém 001 Com Quant 2\r\n"
              "Stock Artigo  7,5\r\n"
              "Total NSer  3\r\n"
              " Armazém 001  Stock 5\r\n"
              " Armazém 004  Stock 2,5\r\n");
    // An unknown article without warehouse stock: stock 0 and only the first three lines.
    EXPECT_EQ(r.messages[1],
              "Artigo  ZZ  para Armazém 002 Com Quant 1\r\n"
              "Stock Artigo  0\r\n"
              "Total NSer  0\r\n");
}

TEST_F(SerialFixture, ReplayKeepsOnlySerialsInStockOnValidLines) {
    exec("INSERT INTO qor_ARM_picking_Movimentos VALUES ('X', '001', 'T', 'S1')");
    documentLine("GRF", 1, 0, "1");   // valid entry
    documentLine("GRF", 2, -1, "1");  // cancelled header
    documentLine("GRF", 3, 0, "0");   // quantity 0
    documentLine("FAC", 4, 0, "1");   // valid exit
    documentLine("FAC", 5, 0, "1");   // valid exit of a serial never entered
    move("X", 1, "001", "S1", "GRF", 1);
    move("X", 1, "001", "S2", "GRF", 1);
    move("X", 1, "001", "S3", "GRF", 2);  // ignored: nvias -1
    move("X", 1, "001", "S4", "GRF", 3);  // ignored: quantity 0
    move("X", 1, "001", "S5", "GRF", 9);  // ignored: no such line
    move("X", 2, "001", "S1", "FAC", 4);  // S1 entered and left
    move("X", 2, "001", "S7", "FAC", 5);  // left without entering
    move("X", 2, "002", "S2", "FAC", 4);  // S2 left another warehouse: no match
    exec("INSERT INTO NserExis VALUES ('X', 'S2'), ('X', 'S8')");
    // Exits are replayed in document order, whatever order they were recorded in.
    for (const LookupMode mode : {LookupMode::SetBased, LookupMode::PerRow}) {
        const Run r = run(mode);
        EXPECT_EQ(situations(r.findings),
                  (std::vector<std::string>{"S2:Saída sem entrada", "S7:Saída sem entrada",
                                            "S2:Em stock", "S8:Não encontrado"}));
        EXPECT_EQ(r.findings.at(1, "Documento").toText(), "FAC/2026/A/5/1");
        EXPECT_EQ(r.findings.at(2, "Armazém").toText(), "001");
    }
}

TEST_F(SerialFixture, ArticleInSeveralWarehousesIsShownPerWarehouseButReplayedOnce) {
    exec(
        "INSERT INTO qor_ARM_picking_Movimentos VALUES ('X', '001', 'T', 'S1'),"
        " ('X', '002', 'T', 'S2')");
    documentLine("GRF", 1, 0, "1");
    move("X", 1, "001", "S1", "GRF", 1);
    const Run r = run();
    EXPECT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(situations(r.findings), (std::vector<std::string>{"S1:Sem registo"}));
}

TEST_F(SerialFixture, QuotesAndBadNumbersAreSplicedSafely) {
    exec("INSERT INTO qor_ARM_picking_Movimentos VALUES ('AB''12', '001', 'T', 'S1')");
    exec("INSERT INTO Artigos (Codigo, Stdisp) VALUES ('AB''12', 1)");
    documentLine("GRF", 1, 0, "1");
    move("AB''12", 1, "001", "S1", "GRF", 1);
    const Run r = run();
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_NE(r.messages[0].find("Stock Artigo  1\r\n"), std::string::npos);
    EXPECT_EQ(situations(r.findings), (std::vector<std::string>{"S1:Sem registo"}));
    // A document number that is not a number cannot be checked: no statement is built.
    EXPECT_FALSE(serialLineCheckSql({"GRF", "A", "1 or 1=1", "2026", "1"}).has_value());
}

TEST(SerialCheckSql, TextsAreTheGivenOnes) {
    EXPECT_EQ(
        serialMovementsSql(),
        " select Artigo,armazem,count(artigo)as Qtd from qor_ARM_picking_Movimentos as p"
        " where p.tipomov='T' and numeroserie>'' group by artigo,armazem order by Artigo, armazem");
    EXPECT_EQ(serialMovesSql("A1", 2), "Select * from NSerMovs where artigo='A1' and TPFSTCK=2 ");
    EXPECT_EQ(serialLineCheckSql({"GRF", "A", "12", "2026", "3"}).value(),
              "Select Quant from DocGcLin as l inner join DocGcCab as c ON c.Ano=l.Ano and "
              "c.Serie=l.serie and c.NNumdoc=l.NNumdoc and c.TpDoc=l.TpDocum where "
              "l.TpDocum='GRF' and l.Serie='A' and l.NNumdoc=12 and l.Ano= 2026 and "
              "l.NumLinha=3 and c.nvias<>-1  ");
}

}  // namespace
}  // namespace talvers
