#include "reports/pending/pending_orders.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "reports/lookup/orders/order_lookups_sql.h"
#include "reports/pending/pending_orders_sql.h"
#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/text_utils.h"
#include "tests/support/erp_fixture.h"

namespace talvers {

// Readable failure output for cells.
void PrintTo(const Value& value, std::ostream* os) {
    if (value.isNull()) {
        *os << "<null>";
    } else {
        *os << (value.isMoney() ? "money " : "") << '"' << value.toText() << '"';
    }
}

namespace {

// clang-format off
// The main query's fragments exactly as given, with 2024-05-13 as the start date text.
const std::vector<std::string> kMainQueryFragments = {
    " SELECT c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+CAST(c.NNumDoc as nvarchar(10))+'/'+Cast(l.NUMLINHA as nvarchar(3)) as Doc,",
    " v.Nome,",
    " c.data,",
    " c.Terceiro,",
    " cl.Nome as NomeCli,",
    " l.Artigo,",
    " l.Valor,",
    " '' as NomeForn,",
    " l.Quant,",
    " (coalesce((SELECT ar.EXISTENC FROM  ARTARM as ar WHERE (ar.ARMAZEM = '001') AND (ar.ARTIGO = l.artigo)),0) - coalesce ((select are.armenccl from ArtArm as are where Are.armazem='001' and are.artigo=l.artigo ),0)) as 'StockDisp',",
    " coalesce((SELECT  ar.EXISTENC FROM  ARTARM as ar WHERE (ar.ARMAZEM = '001') AND (ar.ARTIGO = l.artigo)),0) as 'StockReal',",
    " c.Observ as OBS,",
    " coalesce((SELECT    CL05 FROM CLDOCGC as clv where clv.ano=c.ano and clv.NDOC =c.NNumdoc and clv.SERIE =c.serie and clv.TIPODOC =c.TpDoc),'') as Separado,",
    " '' as EncCliLx,",
    " '' as CliLx,",
    " '' as EncForn",
    " FROM    DOCGCCAB as c INNER JOIN  DOCGCLIN as l ON c.NNUMDOC = l.NNUMDOC AND c.TPDOC = l.TPDOCUM AND c.SERIE = l.SERIE AND c.ANO = l.ANO",
    " Inner Join Vendedor as v ON v.Codigo=c.vendedor",
    " Inner Join Clientes as cl ON cl.Codigo=c.Terceiro",
    " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=2 and l.quant>0 and [convert]<>-1 and l.ARTIGO >''",
    " and c.Data >= CONVERT(DATETIME, '",
    "2024-05-13",
    "', 102)",
    " and c.Serie<>'0' ",
    " Order by c.Terceiro,c.Data, c.TpDoc, c.Ano, c.Serie, c.NNumDoc, l.NumLinha",
};
// clang-format on

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts) out += p;
    return out;
}

// A text of n characters, each two bytes in UTF-8, so that a cut by bytes shows.
std::string accented(size_t n) {
    static const std::vector<std::string> letters = {"á", "é", "í", "ó", "ú",
                                                     "ç", "ã", "õ", "â", "ê"};
    std::string out;
    for (size_t i = 0; i < n; ++i) out += letters[i % letters.size()];
    return out;
}

Value money(const char* text) {
    return Money::parse(text).value();
}

const DateTime kStart{2024, 5, 13, 14, 30, 0};

// Texts longer than their fields, with the part that must survive the cut.
const std::string kSalesperson30 = accented(30);
const std::string kCustomer80 = accented(80);
const std::string kObs100 = accented(100);
const std::string kSeparado40 = accented(40);
const std::string kSupplier80 = accented(80);
const std::string kLisbonCustomer80 = accented(80);

// Customer orders (areag 2, third-party type 2) with their lines; one doc per line unless
// stated, so that customer and date fix the order of the report's rows. Rows are inserted out
// of the report's order so that the sort shows.
std::string mainRows() {
    return R"sql(
INSERT INTO Vendedor VALUES (1, 'Ana Silva');
INSERT INTO Vendedor VALUES (2, ')sql" +
           kSalesperson30 + R"sql(ZZZZZ');
INSERT INTO Clientes VALUES (1234, 'Cliente Mil');
INSERT INTO Clientes VALUES (2000, ')sql" +
           kCustomer80 + R"sql(ÇÇÇÇÇÇÇÇÇÇ');
INSERT INTO Clientes VALUES (3000, 'Cliente Três');
INSERT INTO Fornec VALUES ('F1', 'Fornecedor Um');
INSERT INTO Fornec VALUES ('F2', 'Fornecedor' || char(10) || 'Dois');
INSERT INTO Fornec VALUES ('F3', ')sql" +
           kSupplier80 + accented(20) + R"sql(');
INSERT INTO AJUDACMP VALUES ('ART1', 'F1', '2024-01-01 00:00:00');
INSERT INTO AJUDACMP VALUES ('ART1', 'F2', '2024-03-01 00:00:00');
INSERT INTO AJUDACMP VALUES ('AB''12', 'F3', '2024-02-01 00:00:00');
INSERT INTO ArtArm VALUES ('ART1', '001', 10, 4, 0);
INSERT INTO ArtArm VALUES ('ART1', '002', 50, 1, 0);
INSERT INTO ArtArm VALUES ('AB''12', '001', 7, NULL, 0);

INSERT INTO DOCGCCAB (TpDoc, Ano, Serie, NNumDoc, Data, Terceiro, Vendedor, Observ, nvias, AreaG, TpTerc) VALUES
  ('ENCCLI', 2024, 'SERIELONGA', 123456, '2024-07-01 00:00:00', 3000, 1, 'Obs cinco', 0, 2, 2),
  ('ECL', 2024, 'A', 3, '2024-06-20 00:00:00', 1234, 1, '', 0, 2, 2),
  ('ECL', 2024, 'A', 1, '2024-05-13 00:00:00', 1234, 1, NULL, 0, 2, 2),
  ('ECL', 2024, 'A', 2, '2024-06-01 00:00:00', 2000, 2, ')sql" +
           kObs100 + accented(20) + R"sql(', 0, 2, 2),
  ('ECL', 2024, 'A', 4, '2024-06-02 00:00:00', 2000, 2, 'x', 0, 2, 2),
  ('ECL', 2024, 'X''Y', 7, '2024-07-02 00:00:00', 3000, 1, NULL, 0, 2, 2),
  ('ECL', 2024, 'A/B', 5, '2024-07-03 00:00:00', 3000, 1, NULL, 0, 2, 2),
  ('ECL', 2024, 'A', 10, '2024-05-12 23:59:59', 1234, 1, 'day before', 0, 2, 2),
  ('ECL', 2024, '0', 11, '2024-06-01 00:00:00', 1234, 1, 'series 0', 0, 2, 2),
  ('ECL', 2024, 'A', 12, '2024-06-01 00:00:00', 1234, 1, 'nvias -1', -1, 2, 2),
  ('ECL', 2024, 'A', 13, '2024-06-01 00:00:00', 1234, 99, 'no salesperson', 0, 2, 2),
  ('ECL', 2024, 'A', 14, '2024-06-01 00:00:00', 1234, NULL, 'null salesperson', 0, 2, 2),
  ('ECL', 2024, 'A', 15, '2024-06-01 00:00:00', 999, 1, 'no customer', 0, 2, 2);
INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Quant, Valor, [convert]) VALUES
  ('ENCCLI', 2024, 'SERIELONGA', 123456, 12, 'AB''12', 2, 100, 0),
  ('ECL', 2024, 'A', 3, 1, 'ART1', 2, 20, 0),
  ('ECL', 2024, 'A', 1, 1, 'ART1', 3, 30.5, 0),
  ('ECL', 2024, 'A', 1, 2, 'QTY0', 0, 1, 0),
  ('ECL', 2024, 'A', 1, 3, 'QTYNEG', -1, 1, 0),
  ('ECL', 2024, 'A', 1, 4, '', 1, 1, 0),
  ('ECL', 2024, 'A', 1, 5, NULL, 1, 1, 0),
  ('ECL', 2024, 'A', 1, 6, 'CONVERTED', 1, 1, -1),
  ('ECL', 2024, 'A', 2, 1, 'NOSTOCK', 1.5, 12.3456, 0),
  ('ECL', 2024, 'A', 4, 1, 'NOSTOCK', 1, NULL, 0),
  ('ECL', 2024, 'X''Y', 7, 1, 'ART1', 4, 7.25, 0),
  ('ECL', 2024, 'A/B', 5, 1, 'AB''12', 1, 1, 0),
  ('ECL', 2024, 'A', 10, 1, 'EXCLUDED', 1, 1, 0),
  ('ECL', 2024, '0', 11, 1, 'EXCLUDED', 1, 1, 0),
  ('ECL', 2024, 'A', 12, 1, 'EXCLUDED', 1, 1, 0),
  ('ECL', 2024, 'A', 13, 1, 'EXCLUDED', 1, 1, 0),
  ('ECL', 2024, 'A', 14, 1, 'EXCLUDED', 1, 1, 0),
  ('ECL', 2024, 'A', 15, 1, 'EXCLUDED', 1, 1, 0);
INSERT INTO CLDOCGC VALUES ('ECL', 2024, 'A', 1, 'Sim');
INSERT INTO CLDOCGC VALUES ('ECL', 2024, 'A', 2, ')sql" +
           kSeparado40 + R"sql(ABCDEFGHIJ');

-- Open supplier orders (areag 2, third-party type 1) and a supplier delivery note (areag 4).
INSERT INTO DOCGCCAB (TpDoc, Ano, Serie, NNumDoc, Data, nvias, AreaG, TpTerc, TpfStc, NatConta) VALUES
  ('ECF', 2024, 'F', 5, '2024-02-01 00:00:00', 0, 2, 1, 0, 0),
  ('ECF', 2024, 'F', 6, '2024-02-02 00:00:00', 0, 2, 1, 0, 0),
  ('GRF', 2024, 'G', 9, '2024-02-03 00:00:00', 0, 4, 1, 1, 2);
INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Quant, Valor, [convert]) VALUES
  ('ECF', 2024, 'F', 5, 1, 'ART1', 5, 50, 0),
  ('ECF', 2024, 'F', 6, 1, 'AB''12', 2, 20, 0),
  ('GRF', 2024, 'G', 9, 1, 'ART1', 1, 10, 0);
)sql";
}

// The Lisbon company: three of the orders above were exported from its orders.
std::string externalRows() {
    return R"sql(
INSERT INTO qor_documentosexportados VALUES
  ('ECL', 2023, 'L', 77, 'ECL', 2024, 'A', 1),
  ('ENCLX', 2023, 'SERIELISBOA', 88, 'ENCCLI', 2024, 'SERIELONGA', 123456),
  ('ECL', 2023, 'L', 99, 'ECL', 2024, 'X''Y', 7);
INSERT INTO DocGcCab VALUES ('ECL', 2023, 'L', 77, 5), ('ENCLX', 2023, 'SERIELISBOA', 88, 6),
  ('ECL', 2023, 'L', 99, 5);
INSERT INTO Clientes VALUES (5, 'Cliente Lisboa');
INSERT INTO Clientes VALUES (6, ')sql" +
           kLisbonCustomer80 + R"sql(XYZWV');
)sql";
}

class PendingOrdersDb : public ::testing::Test {
  protected:
    void SetUp() override {
        erp_.execMain(mainRows());
        erp_.execExternal(externalRows());
        bd_ = &erp_.bd();
        bdExt_ = &erp_.bdExt();
    }

    // The single text of a lookup's first row.
    static std::string firstText(Connection& connection, const std::string& sql,
                                 const char* column) {
        const Table t = connection.query(sql);
        if (t.rowCount() != 1) throw std::runtime_error("expected one row: " + sql);
        return t.at(0, column).toText();
    }

    testing::ErpFixture erp_;
    Connection* bd_ = nullptr;
    Connection* bdExt_ = nullptr;
};

// Records the connections' query counters after each row.
class CountingProgress : public ReportProgress {
  public:
    CountingProgress(const Connection& bd, const Connection& bdExt) : bd_(bd), bdExt_(bdExt) {}
    void advance(long position, long count) override {
        steps.push_back({position, count, bd_.queriesSent(), bdExt_.queriesSent()});
    }
    struct Step {
        long position, count, bdQueries, extQueries;
        bool operator==(const Step&) const = default;
    };
    std::vector<Step> steps;

  private:
    const Connection& bd_;
    const Connection& bdExt_;
};

// ---- SQL texts ----

TEST(PendingOrdersSql, MainQueryIsTheFragmentsWithTheDatePartOnly) {
    EXPECT_EQ(pendingOrdersSql(kStart), joined(kMainQueryFragments));
}

TEST(PendingOrdersSql, LookupTextsAreTheFragmentsWithValuesSpliced) {
    EXPECT_EQ(lastSupplierSql("ART1"),
              " SELECT TOP (1) f.NOME FROM  AJUDACMP AS aj "
              " INNER JOIN FORNEC AS f ON f.CODIGO = aj.FORNECED "
              " Where (aj.ARTIGO = 'ART1' ) "
              " ORDER BY aj.DATA DESC , f.CODIGO ");
    EXPECT_EQ(lisbonOrderSql("ECL", "A", "2024", "153"),
              " select de.OrigTpDoc+'/'+CAST( de.OrigAno as "
              "nvarchar(4))+'/'+de.OrigSerie+'/'+CAST(de.OrigNumero as nvarchar(10)) as 'EncCliLx'"
              " from qor_documentosexportados as de "
              " where de.EncTpDoc='ECL' and de.EncSerie='A' "
              " and de.EncAno=2024 and de.EncNumero=153 "
              "order by de.OrigTpDoc, de.OrigAno, de.OrigSerie, de.OrigNumero");
    EXPECT_EQ(
        lisbonCustomerSql("ECL", "A", "2024", "153"),
        " select cllx.Nome as 'CliLx' from qor_documentosexportados as delx "
        " Inner Join  DocGcCab as clx "
        " ON delx.origTpDoc=clx.TpDoc and delx.origSerie=clx.Serie and delx.origAno=clx.Ano "
        "and delx.origNumero=clx.NNumdoc"
        " inner Join Clientes as cllx "
        " ON cllx.Codigo=clx.Terceiro "
        " where delx.encTpDoc='ECL' and delx.encSerie='A' and delx.EncAno=2024 and "
        "delx.EncNumero=153 "
        "order by delx.OrigTpDoc, delx.OrigAno, delx.OrigSerie, delx.OrigNumero, cllx.Codigo");
    EXPECT_EQ(supplierOrdersSql("ART1"), " select dbo.qor_LinhaParaString ('ART1' ) as EncForn");
    EXPECT_EQ(deliveryNotesSql("ART1"),
              " select dbo.qor_LinhaParaStringGuia ('ART1' ) as GuiaForn");
}

TEST(PendingOrdersSql, QuotesInCodesAreDoubled) {
    EXPECT_EQ(lastSupplierSql("AB'12"),
              " SELECT TOP (1) f.NOME FROM  AJUDACMP AS aj "
              " INNER JOIN FORNEC AS f ON f.CODIGO = aj.FORNECED "
              " Where (aj.ARTIGO = 'AB''12' ) "
              " ORDER BY aj.DATA DESC , f.CODIGO ");
    EXPECT_EQ(supplierOrdersSql("AB'12"), " select dbo.qor_LinhaParaString ('AB''12' ) as EncForn");
    EXPECT_EQ(deliveryNotesSql("AB'12"),
              " select dbo.qor_LinhaParaStringGuia ('AB''12' ) as GuiaForn");
    const auto order = lisbonOrderSql("E'C", "X'Y", "2024", "7");
    ASSERT_TRUE(order);
    EXPECT_NE(order->find(" where de.EncTpDoc='E''C' and de.EncSerie='X''Y' "), std::string::npos);
    const auto customer = lisbonCustomerSql("E'C", "X'Y", "2024", "7");
    ASSERT_TRUE(customer);
    EXPECT_NE(customer->find(" where delx.encTpDoc='E''C' and delx.encSerie='X''Y' and"),
              std::string::npos);
}

TEST(PendingOrdersSql, YearAndNumberMustBeWholeNumbers) {
    for (const auto& [year, number] :
         std::vector<std::pair<std::string, std::string>>{{"2024", "B"},
                                                          {"X24", "1"},
                                                          {"2024", ""},
                                                          {"", "1"},
                                                          {"2024", "1 or 1=1"},
                                                          {"2024", "1.5"}}) {
        EXPECT_FALSE(lisbonOrderSql("ECL", "A", year, number)) << year << "/" << number;
        EXPECT_FALSE(lisbonCustomerSql("ECL", "A", year, number)) << year << "/" << number;
    }
}

TEST_F(PendingOrdersDb, EachTextRunsOnTheDatabase) {
    const Table orders = bd_->query(pendingOrdersSql(kStart));
    EXPECT_EQ(orders.rowCount(), 7u);

    EXPECT_EQ(firstText(*bd_, lastSupplierSql("ART1"), "NOME"), "Fornecedor\nDois");
    EXPECT_EQ(firstText(*bd_, lastSupplierSql("AB'12"), "NOME"), kSupplier80 + accented(20));
    EXPECT_EQ(bd_->query(lastSupplierSql("NOSTOCK")).rowCount(), 0u);

    EXPECT_EQ(firstText(*bdExt_, *lisbonOrderSql("ECL", "A", "2024", "1"), "EncCliLx"),
              "ECL/2023/L/77");
    EXPECT_EQ(firstText(*bdExt_, *lisbonOrderSql("ECL", "X'Y", "2024", "7"), "EncCliLx"),
              "ECL/2023/L/99");
    EXPECT_EQ(bdExt_->query(*lisbonOrderSql("ECL", "A", "2024", "3")).rowCount(), 0u);
    EXPECT_EQ(firstText(*bdExt_, *lisbonCustomerSql("ECL", "A", "2024", "1"), "CliLx"),
              "Cliente Lisboa");
    EXPECT_EQ(firstText(*bdExt_, *lisbonCustomerSql("ECL", "X'Y", "2024", "7"), "CliLx"),
              "Cliente Lisboa");
    EXPECT_EQ(bdExt_->query(*lisbonCustomerSql("ECL", "A", "2024", "3")).rowCount(), 0u);

    EXPECT_EQ(firstText(*bd_, supplierOrdersSql("ART1"), "EncForn"), "ECF/2024/F/5");
    EXPECT_EQ(firstText(*bd_, supplierOrdersSql("AB'12"), "EncForn"), "ECF/2024/F/6");
    EXPECT_EQ(firstText(*bd_, supplierOrdersSql("NOSTOCK"), "EncForn"), "");
    EXPECT_EQ(firstText(*bd_, deliveryNotesSql("ART1"), "GuiaForn"), "GRF/2024/G/9");
    EXPECT_EQ(firstText(*bd_, deliveryNotesSql("AB'12"), "GuiaForn"), "");
}

// ---- the report on a fixture database ----

TEST_F(PendingOrdersDb, RowsFieldsAndLookups) {
    for (const LookupMode mode : {LookupMode::SetBased, LookupMode::PerRow}) {
        SCOPED_TRACE(mode == LookupMode::SetBased ? "set-based" : "per row");
        const long bdBefore = bd_->queriesSent();
        const long extBefore = bdExt_->queriesSent();
        CountingProgress progress(*bd_, *bdExt_);
        const Table rows = runPendingOrders({*bd_, *bdExt_, false, mode}, {kStart}, progress);

        const std::vector<std::string> names = {
            "Doc.",     "Nome Vendedor",   "Data",   "Cliente",     "Nome Cliente", "Artigo",
            "Valor",    "Nome Fornecedor", "Quant.", "Stock Disp.", "Stock Real",   "OBS",
            "Separado", "Enc Cli Lx",      "Cli Lx", "Enc Forn",    "Guia Forn"};
        const std::vector<int> sizes = {20, 30, 15,  20, 80, 15, 0,   80, 0,
                                        0,  0,  100, 40, 20, 80, 100, 100};
        ASSERT_EQ(rows.fieldCount(), names.size());
        for (size_t c = 0; c < names.size(); ++c) {
            EXPECT_EQ(rows.fields()[c].name, names[c]);
            const bool isMoney = sizes[c] == 0;
            EXPECT_EQ(rows.fields()[c].type, isMoney ? FieldType::Money : FieldType::Text)
                << names[c];
            EXPECT_EQ(rows.fields()[c].size, sizes[c]) << names[c];
        }

        const Value none;  // a null amount
        const std::vector<std::vector<Value>> expected = {
            // Dated on the start date; exported from Lisbon; stock 10 less 4 held.
            {"ECL/2024/A/1/1", "Ana Silva", " 2024-05-13", " 1234", "Cliente Mil", "ART1",
             money("30.5"), "Fornecedor Dois", money("3"), money("6"), money("10"), "", "Sim",
             "ECL/2023/L/77", "Cliente Lisboa", "ECF/2024/F/5", "GRF/2024/G/9"},
            // Same customer, later date, inserted first; not exported.
            {"ECL/2024/A/3/1", "Ana Silva", " 2024-06-20", " 1234", "Cliente Mil", "ART1",
             money("20"), "Fornecedor Dois", money("2"), money("6"), money("10"), "", "", " ", " ",
             "ECF/2024/F/5", "GRF/2024/G/9"},
            // Long accented texts cut by characters; no stock row, no supplier, no open documents.
            {"ECL/2024/A/2/1", kSalesperson30, " 2024-06-01", " 2000", kCustomer80, "NOSTOCK",
             money("12.3456"), " ", money("1.5"), money("0"), money("0"), kObs100, kSeparado40, " ",
             " ", "", ""},
            {"ECL/2024/A/4/1", kSalesperson30, " 2024-06-02", " 2000", kCustomer80, "NOSTOCK", none,
             " ", money("1"), money("0"), money("0"), "x", "", " ", " ", "", ""},
            // A 32-character key: cut in "Doc.", found whole in Lisbon; a quote in the article.
            {"ENCCLI/2024/SERIELON", "Ana Silva", " 2024-07-01", " 3000", "Cliente Três", "AB'12",
             money("100"), kSupplier80, money("2"), money("7"), money("7"), "Obs cinco", "",
             "ENCLX/2023/SERIELISB", kLisbonCustomer80, "ECF/2024/F/6", ""},
            // A quote in the series, found in Lisbon.
            {"ECL/2024/X'Y/7/1", "Ana Silva", " 2024-07-02", " 3000", "Cliente Três", "ART1",
             money("7.25"), "Fornecedor Dois", money("4"), money("6"), money("10"), "", "",
             "ECL/2023/L/99", "Cliente Lisboa", "ECF/2024/F/5", "GRF/2024/G/9"},
            // A "/" in the series leaves no whole number where the number should be.
            {"ECL/2024/A/B/5/1", "Ana Silva", " 2024-07-03", " 3000", "Cliente Três", "AB'12",
             money("1"), kSupplier80, money("1"), money("7"), money("7"), "", "", " ", " ",
             "ECF/2024/F/6", ""},
        };
        ASSERT_EQ(rows.rowCount(), expected.size());
        for (size_t r = 0; r < expected.size(); ++r) {
            for (size_t c = 0; c < names.size(); ++c) {
                EXPECT_EQ(rows.at(r, c), expected[r][c]) << "row " << r + 1 << ", " << names[c];
            }
        }

        // Every lookup is fetched before the first row. Set-based: one statement per lookup kind
        // (three on bd after the main query, two on the external connection). Per row: one per
        // distinct key — three articles; six documents, the seventh key having no whole number.
        const long bdCount = mode == LookupMode::SetBased ? 1 + 3 : 1 + 3 * 3;
        const long extCount = mode == LookupMode::SetBased ? 2 : 2 * 6;
        for (const auto& step : progress.steps) {
            EXPECT_EQ(step.bdQueries - bdBefore, bdCount);
            EXPECT_EQ(step.extQueries - extBefore, extCount);
        }
        EXPECT_EQ(progress.steps.size(), 7u);
    }
}

TEST_F(PendingOrdersDb, NoLineOnOrAfterTheDateGivesNoRows) {
    CountingProgress progress(*bd_, *bdExt_);
    const Table rows = runPendingOrders({*bd_, *bdExt_}, {DateTime{2024, 7, 4}}, progress);
    EXPECT_EQ(rows.rowCount(), 0u);
    EXPECT_EQ(rows.fieldCount(), 17u);
    EXPECT_TRUE(progress.steps.empty());
    EXPECT_EQ(bd_->queriesSent(), 1);
    EXPECT_EQ(bdExt_->queriesSent(), 0);
}

// ---- the report against scripted connections ----

// Answers the main query with `orders` and every lookup with `lookup(sql)`; logs every text.
class ScriptedConnection : public Connection {
  public:
    ScriptedConnection(std::string name, std::vector<std::string>& log,
                       std::function<Table(const std::string&)> answer)
        : name_(std::move(name)), log_(log), answer_(std::move(answer)) {}

  protected:
    Table runQuery(const std::string& sql) override {
        log_.push_back(name_ + ":" + sql);
        return answer_(sql);
    }
    void runExecute(const std::string&) override { throw std::logic_error("not expected"); }

  private:
    std::string name_;
    std::vector<std::string>& log_;
    std::function<Table(const std::string&)> answer_;
};

Table orderRows(std::vector<std::vector<Value>> values) {
    Table t({{"Doc"},
             {"Nome"},
             {"data"},
             {"Terceiro"},
             {"NomeCli"},
             {"Artigo"},
             {"Valor"},
             {"NomeForn"},
             {"Quant"},
             {"StockDisp"},
             {"StockReal"},
             {"OBS"},
             {"Separado"},
             {"EncCliLx"},
             {"CliLx"},
             {"EncForn"}});
    for (auto& v : values) t.addRow(std::move(v));
    return t;
}

bool isMainQuery(const std::string& sql) {
    return sql.find(" Order by c.Terceiro") != sql.npos;
}

TEST(PendingOrdersScripted, LookupsWithoutRowsAndNullFields) {
    std::vector<std::string> log;
    // An ODBC driver gives the date as a date-time; nulls everywhere else a null can be.
    const Table orders =
        orderRows({{"ECL/2024/A/1/1", Value(), DateTime{2024, 5, 13, 9, 15, 0}, Value(), Value(),
                    "ART1", Value(), "", Value(), money("-2"), money("0"), Value(), Value()}});
    ScriptedConnection bd("bd", log, [&](const std::string& sql) {
        return isMainQuery(sql) ? orders : Table({{"x"}});
    });
    ScriptedConnection bdExt("ext", log, [](const std::string&) { return Table({{"x"}}); });
    NullProgress progress;
    const Table rows = runPendingOrders({bd, bdExt, false, LookupMode::PerRow}, {kStart}, progress);

    ASSERT_EQ(rows.rowCount(), 1u);
    const std::vector<Value> expected = {"ECL/2024/A/1/1",
                                         "",
                                         " 2024-05-13",
                                         " ",
                                         "",
                                         "ART1",
                                         Value(),
                                         " ",
                                         Value(),
                                         money("-2"),
                                         money("0"),
                                         "",
                                         "",
                                         " ",
                                         " ",
                                         " ",
                                         ""};
    for (size_t c = 0; c < expected.size(); ++c) {
        EXPECT_EQ(rows.at(0, c), expected[c]) << rows.fields()[c].name;
    }
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[1], "bd:" + lastSupplierSql("ART1"));
    EXPECT_EQ(log[2], "ext:" + *lisbonOrderSql("ECL", "A", "2024", "1"));
    EXPECT_EQ(log[3], "ext:" + *lisbonCustomerSql("ECL", "A", "2024", "1"));
    EXPECT_EQ(log[4], "bd:" + supplierOrdersSql("ART1"));
    EXPECT_EQ(log[5], "bd:" + deliveryNotesSql("ART1"));
}

TEST(PendingOrdersScripted, MemoMatchesArticleCodesExactly) {
    std::vector<std::string> log;
    auto line = [](const char* doc, const char* article) {
        return std::vector<Value>{doc,        "V", "2024-06-01", 1,          "C",        article,
                                  money("1"), "",  money("1"),   money("0"), money("0"), "",
                                  ""};
    };
    const Table orders = orderRows({line("E/2024/A/1/1", "ART1"), line("E/2024/A/2/1", "art1"),
                                    line("E/2024/A/3/1", "ART1"), line("E/2024/A/4/1", "ART1 ")});
    ScriptedConnection bd("bd", log, [&](const std::string& sql) {
        if (isMainQuery(sql)) return orders;
        Table t({{"EncForn"}, {"GuiaForn"}, {"NOME"}});
        t.addRow({"doc of " + sql, "note of " + sql, "supplier"});
        return t;
    });
    ScriptedConnection bdExt("ext", log, [](const std::string&) { return Table({{"x"}}); });
    NullProgress progress;
    const Table rows = runPendingOrders({bd, bdExt, false, LookupMode::PerRow}, {kStart}, progress);

    long functionQueries = 0;
    for (const auto& sql : log) functionQueries += sql.find("qor_LinhaParaString") != sql.npos;
    // ART1, art1 and "ART1 " each once; the third line reuses the first's texts.
    EXPECT_EQ(functionQueries, 6);
    EXPECT_EQ(rows.at(2, "Enc Forn"), rows.at(0, "Enc Forn"));
    EXPECT_EQ(rows.at(2, "Guia Forn"), rows.at(0, "Guia Forn"));
    EXPECT_NE(rows.at(1, "Enc Forn"), rows.at(0, "Enc Forn"));
    // The remembered text is the cut one: the function's text is longer than 100 characters.
    EXPECT_EQ(rows.at(0, "Enc Forn").toText(),
              leftChars("doc of " + supplierOrdersSql("ART1"), 100));
}

TEST(PendingOrdersScripted, CancelStopsAfterTheRowAndAmountsMustBeNumbers) {
    std::vector<std::string> log;
    Table orders = orderRows({{"E/2024/A/1/1", "V", "2024-06-01", 1, "C", "A1", money("1"), "",
                               money("1"), money("0"), money("0"), "", ""},
                              {"E/2024/A/2/1", "V", "2024-06-01", 1, "C", "A2", money("1"), "",
                               money("1"), money("0"), money("0"), "", ""}});
    ScriptedConnection bd("bd", log, [&](const std::string& sql) {
        return isMainQuery(sql) ? orders : Table({{"x"}});
    });
    ScriptedConnection bdExt("ext", log, [](const std::string&) { return Table({{"x"}}); });

    class CancelAtOnce : public ReportProgress {
      public:
        void advance(long, long) override {}
        bool cancelRequested() const override { return true; }
    } cancel;
    EXPECT_THROW(runPendingOrders({bd, bdExt, false, LookupMode::PerRow}, {kStart}, cancel),
                 ReportCancelled);
    EXPECT_EQ(bd.queriesSent(), 1);  // the lookups stop before their first statement

    orders.at(1, "Quant") = Value("muitos");
    NullProgress progress;
    EXPECT_THROW(runPendingOrders({bd, bdExt, false, LookupMode::PerRow}, {kStart}, progress),
                 DatabaseError);
}

TEST(PendingOrdersOutput, SheetAndTitlePrefix) {
    const ReportOutput output = pendingOrdersOutput();
    EXPECT_EQ(output.sheetName, "Enc. Pendentes");
    EXPECT_EQ(output.titlePrefix, "Encomendas Pendentes em ");
}

}  // namespace
}  // namespace talvers
