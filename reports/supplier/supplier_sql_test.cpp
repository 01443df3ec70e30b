#include "reports/supplier/supplier_sql.h"

#include <gtest/gtest.h>

#include "tests/support/erp_fixture.h"

namespace talvers {
namespace {

using testing::ErpFixture;
using testing::kCustomerOrder;
using testing::kSupplierOrder;

const DateTime kStart{2024, 3, 1};

// The statements as the ERP receives them, fragment by fragment.
TEST(SupplierSql, CustomerLinesOfBothVariantsAreTheGivenTexts) {
    const std::string tail =
        " FROM    DOCGCCAB as c INNER JOIN  DOCGCLIN as l ON c.NNUMDOC = l.NNUMDOC AND c.TPDOC = "
        "l.TPDOCUM AND c.SERIE = l.SERIE AND c.ANO = l.ANO"
        " Inner Join Clientes as cl ON cl.Codigo=c.Terceiro"
        " Inner Join Artigos as ar ON ar.Codigo=l.Artigo"
        " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=2 and l.quant>0 and [convert]<>-1 and "
        "l.ARTIGO >'' and ar.ArtouDes=0"
        " and c.Data >= CONVERT(DATETIME, '2024-03-01', 102)"
        " and c.Serie<>'0' "
        " Order by c.Data, c.TpDoc, c.Ano, c.Serie, c.NNumDoc, l.NumLinha";
    const std::string doc =
        " SELECT c.data,c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+CAST(c.NNumDoc "
        "as nvarchar(10))+'/'+Cast(l.NUMLINHA as nvarchar(4)) as Doc,";
    EXPECT_EQ(bdcCustomerLinesSql(kStart), doc +
                                               " cl.Nome as NomeCli,"
                                               " l.Artigo,"
                                               " l.Quant,"
                                               " ar.Nome as 'NomeArtigo',"
                                               " '' as Notas" +
                                               tail);
    EXPECT_EQ(diidCustomerLinesSql(kStart), doc +
                                                " cl.Nome as NomeCli,"
                                                " '' as NomeForn,"
                                                " '' as EncForn,"
                                                " l.Artigo,"
                                                " l.Quant,"
                                                " ar.Nome as 'NomeArtigo',"
                                                " ar.DiasSkRs as Dias" +
                                                tail);
}

TEST(SupplierSql, AllocationLookupsAreTheGivenTexts) {
    EXPECT_EQ(articleStockSql("AR1"),
              "Select coalesce(sum(Existenc),0) as Existencia from ArtArm where (Armazem='001' or "
              "Armazem='002') and Artigo='AR1' ");
    const std::string from =
        " FROM    DOCGCCAB as c INNER JOIN  DOCGCLIN as l ON c.NNUMDOC = l.NNUMDOC AND c.TPDOC = "
        "l.TPDOCUM AND c.SERIE = l.SERIE AND c.ANO = l.ANO";
    const std::string where =
        " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=1 and l.quant>0 and [convert]<>-1 and "
        "l.ARTIGO >'' and Artigo='AR1' "
        " and c.Data >= CONVERT(DATETIME, '2024-03-01', 102)";
    EXPECT_EQ(supplierTotalSql("AR1", kStart),
              "Select coalesce(sum(l.Quant),0) as Qtd " + from + where);
    EXPECT_EQ(supplierLinesSql("AR1", kStart),
              "Select coalesce((l.Quant),0) as Qtd,u.Obs " + from +
                  " INNER JOIN  U_DOCGCLIN as u ON u.NNUMDOC = l.NNUMDOC AND u.Tpdocum = l.TPDOCUM "
                  "AND u.SERIE = l.SERIE AND u.ANO = l.ANO and u.Numlinha=l.NumLinha" +
                  where + " order by c.Data, l.TpDocum, l.Ano, l.Serie, l.NNumDoc, l.NumLinha");
}

TEST(SupplierSql, NoteLookupIsTheGivenText) {
    EXPECT_EQ(supplierOrderNoteSql(" ECF ", "2024", "B", "7", "2"),
              "Select OBS from U_DocGCLin0 where Ano=2024 and TpDocum='ECF' and Serie='B' and "
              "NNumdoc=7 and NumLinha=2");
}

TEST(SupplierSql, QuotesAreDoubledAndOnlyWholeNumbersSplicedBare) {
    EXPECT_EQ(articleStockSql("O'NEIL"),
              "Select coalesce(sum(Existenc),0) as Existencia from ArtArm where (Armazem='001' or "
              "Armazem='002') and Artigo='O''NEIL' ");
    EXPECT_NE(supplierTotalSql("a'b", kStart).find("Artigo='a''b' "), std::string::npos);
    EXPECT_NE(supplierLinesSql("a'b", kStart).find("Artigo='a''b' "), std::string::npos);
    EXPECT_EQ(supplierOrderNoteSql("ECF", "2024", "B", "7", "2.5"), std::nullopt);
    EXPECT_EQ(supplierOrderNoteSql("ECF", "2024", "B", "", "2"), std::nullopt);
    EXPECT_EQ(supplierOrderNoteSql("ECF", "y", "B", "7", "2"), std::nullopt);
}

class SupplierSqlOnSqlite : public ::testing::Test {
  protected:
    ErpFixture db;
};

TEST_F(SupplierSqlOnSqlite, CustomerLinesKeepOnlyOpenCustomerLinesFromTheStartDate) {
    db.customer(7, "Cliente Sete");
    db.article("AR1", "Artigo Um");
    db.article("OLD", "Descontinuado");
    db.execMain("UPDATE Artigos SET ArtouDes=1 WHERE Codigo='OLD';");
    db.orderLine("ECL/2024/A/153/2", "2024-03-01", kCustomerOrder, 7, "AR1", "10");
    db.orderLine("ECL/2024/A/150/1", "2024-02-29", kCustomerOrder, 7, "AR1", "1");  // too early
    db.orderLine("ECL/2024/0/151/1", "2024-03-02", kCustomerOrder, 7, "AR1", "1");  // series 0
    db.orderLine("ECF/2024/A/152/1", "2024-03-02", kSupplierOrder, 7, "AR1", "1");
    db.orderLine("ECL/2024/A/154/1", "2024-03-03", kCustomerOrder, 7, "OLD", "1");
    db.orderLine("ECL/2024/A/155/1", "2024-03-04", kCustomerOrder, 7, "AR1", "0");
    db.orderLine("ECL/2024/A/156/1", "2024-03-05", kCustomerOrder, 7, "AR1", "2.5");

    for (const std::string& sql : {bdcCustomerLinesSql(kStart), diidCustomerLinesSql(kStart)}) {
        const Table t = db.bd().query(sql);
        ASSERT_EQ(t.rowCount(), 2u) << sql;
        EXPECT_EQ(t.at(0, "Doc").toText(), "ECL/2024/A/153/2");
        EXPECT_EQ(t.at(0, "data").toDateTime()->isoDate(), "2024-03-01");
        EXPECT_EQ(t.at(0, "NomeCli").toText(), "Cliente Sete");
        EXPECT_EQ(t.at(0, "Artigo").toText(), "AR1");
        EXPECT_EQ(t.at(0, "NomeArtigo").toText(), "Artigo Um");
        EXPECT_EQ(t.at(0, "Quant").toMoney(), Money::fromInteger(10));
        EXPECT_EQ(t.at(1, "Doc").toText(), "ECL/2024/A/156/1");
        EXPECT_EQ(t.at(1, "Quant").toMoney(), Money::fromTicks(25000));
    }
}

TEST_F(SupplierSqlOnSqlite, StockCountsWarehouses001And002Only) {
    db.stock("AR1", "001", "3");
    db.stock("AR1", "002", "4.5");
    db.stock("AR1", "003", "100");
    db.stock("O'NEIL", "001", "2");
    EXPECT_EQ(db.bd().query(articleStockSql("AR1")).at(0, "Existencia").toMoney(),
              Money::fromTicks(75000));
    EXPECT_EQ(db.bd().query(articleStockSql("O'NEIL")).at(0, "Existencia").toMoney(),
              Money::fromInteger(2));
    EXPECT_EQ(db.bd().query(articleStockSql("NONE")).at(0, "Existencia").toMoney(), Money());
}

TEST_F(SupplierSqlOnSqlite, SupplierTotalAndLinesCountOpenSupplierOrdersFromTheStartDate) {
    db.orderLine("ECF/2024/B/7/1", "2024-03-05", kSupplierOrder, 1, "AR1", "4");
    db.orderLine("ECF/2024/B/7/2", "2024-03-05", kSupplierOrder, 1, "AR1", "20");
    db.orderLine("ECF/2024/B/8/1", "2024-03-06", kSupplierOrder, 1, "AR1", "3");   // no note row
    db.orderLine("ECF/2024/B/6/1", "2024-02-20", kSupplierOrder, 1, "AR1", "50");  // too early
    db.orderLine("ECL/2024/A/9/1", "2024-03-05", kCustomerOrder, 1, "AR1", "9");   // a customer's
    db.orderLine("ECF/2024/B/9/1", "2024-03-05", kSupplierOrder, 1, "AR2", "9");   // other article
    db.supplierLineNote("ECF/2024/B/7/1", "A");
    db.supplierLineNote("ECF/2024/B/7/2", "B");
    db.supplierLineNote("ECF/2024/B/6/1", "old");

    EXPECT_EQ(db.bd().query(supplierTotalSql("AR1", kStart)).at(0, "Qtd").toMoney(),
              Money::fromInteger(27));
    EXPECT_EQ(db.bd().query(supplierTotalSql("AR3", kStart)).at(0, "Qtd").toMoney(), Money());
    const Table lines = db.bd().query(supplierLinesSql("AR1", kStart));
    ASSERT_EQ(lines.rowCount(), 2u);
    EXPECT_EQ(lines.at(0, "Qtd").toMoney(), Money::fromInteger(4));
    EXPECT_EQ(lines.at(0, "Obs").toText(), "A");
    EXPECT_EQ(lines.at(1, "Qtd").toMoney(), Money::fromInteger(20));
    EXPECT_EQ(lines.at(1, "Obs").toText(), "B");
}

TEST_F(SupplierSqlOnSqlite, ListingLookupsFindTheirRows) {
    db.purchase("AR1", "F1", "Antigo", "2023-01-10");
    db.purchase("AR1", "F2", "Recente", "2024-02-01");
    db.purchase("AR1", "F3", "Meio", "2023-06-01");
    db.orderLine("ECF/2024/B/7/2", "2024-03-05", kSupplierOrder, 1, "AR1", "4");
    db.execMain(
        "INSERT INTO U_DocGCLin0 (TpDocum, Ano, Serie, NNumDoc, NumLinha, OBS) VALUES "
        "('ECF', 2024, 'B', 7, 2, 'chega em abril');");
    db.exported("ECL/2024/A/153", "ECL/2024/L/9", 55, "Cliente Lisboa");

    const Table supplier = db.bd().query(lastSupplierSql("AR1"));
    ASSERT_EQ(supplier.rowCount(), 1u);
    EXPECT_EQ(supplier.at(0, "NOME").toText(), "Recente");
    EXPECT_TRUE(db.bd().query(lastSupplierSql("AR9")).empty());

    const Table lx = db.bdExt().query(*lisbonCustomerSql("ECL", "A", "2024", "153"));
    ASSERT_EQ(lx.rowCount(), 1u);
    EXPECT_EQ(lx.at(0, "CliLx").toText(), "Cliente Lisboa");
    EXPECT_TRUE(db.bdExt().query(*lisbonCustomerSql("ECL", "A", "2024", "154")).empty());

    EXPECT_EQ(db.bd().query(supplierOrdersSql("AR1")).at(0, "EncForn").toText(), "ECF/2024/B/7");
    EXPECT_EQ(db.bd().query(supplierOrdersSql("AR9")).at(0, "EncForn").toText(), "");

    const Table note = db.bd().query(*supplierOrderNoteSql("ECF", "2024", "B", "7", "2"));
    ASSERT_EQ(note.rowCount(), 1u);
    EXPECT_EQ(note.at(0, "OBS").toText(), "chega em abril");
}

}  // namespace
}  // namespace talvers
