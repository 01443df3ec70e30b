#include "shell/dataaccess/sqlite/sqlite_connection.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <functional>

#include "sample/erp_schema.h"
#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/tsql/tsql_tokenizer.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

// An ERP database file in a temporary folder, filled through SQLite directly.
class ErpFile {
  public:
    explicit ErpFile(const char* schema) : file_(dir_ / "erp.db") {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(file_.string().c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, schema, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    void fill(const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file_.string().c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db);
        sqlite3_close(db);
    }
    std::unique_ptr<SqliteConnection> open() const { return SqliteConnection::open(file_); }
    const testing::TempDir& dir() const { return dir_; }

  private:
    testing::TempDir dir_;
    std::filesystem::path file_;
};

DatabaseError errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const DatabaseError& error) {
        return error;
    }
    ADD_FAILURE() << "no DatabaseError";
    return DatabaseError(0, "");
}

TEST(SqliteConnection, AMissingFileIsAnErrorAndNoFileIsCreated) {
    const testing::TempDir dir;
    const std::filesystem::path missing = dir / "não_existe.db";
    const DatabaseError error = errorOf([&] { SqliteConnection::open(missing); });
    EXPECT_EQ(error.number(), SQLITE_CANTOPEN);
    EXPECT_NE(error.description().find("não_existe.db"), std::string::npos);
    EXPECT_NE(error.description().find("Não foi possível abrir"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(errorOf([] { SqliteConnection::open(""); }).number(), SQLITE_CANTOPEN);
}

TEST(SqliteConnection, AFileThatIsNotADatabaseIsAnError) {
    const testing::TempDir dir;
    std::ofstream(dir / "texto.db") << "isto não é uma base de dados, mas um texto bem comprido"
                                       " que ocupa mais do que o cabeçalho de cem bytes ...";
    const DatabaseError error = errorOf([&] { SqliteConnection::open(dir / "texto.db"); });
    EXPECT_EQ(error.number(), SQLITE_NOTADB);
    EXPECT_NE(error.description().find("texto.db"), std::string::npos);
}

TEST(SqliteConnection, FailuresCarryTheirNumberAndText) {
    ErpFile erp(erpMainSchemaSql());
    auto db = erp.open();
    DatabaseError error = errorOf([&] { db->query("SELECT x FROM Nada"); });
    EXPECT_EQ(error.number(), SQLITE_ERROR);
    EXPECT_EQ(error.description(), "A base de dados não tem a tabela Nada.");
    EXPECT_EQ(error.details(), "no such table: Nada");
    error = errorOf([&] {
        db->execute(
            "INSERT INTO Clientes (Codigo, Nome) VALUES (1, 'x')"
            " ; INSERT INTO Clientes (Codigo) VALUES (1)");
    });
    EXPECT_EQ(error.number(), kTsqlRewriteError);
    db->execute("INSERT INTO Clientes (Codigo, Nome) VALUES (1, 'x')");
    error = errorOf([&] { db->execute("INSERT INTO Clientes (Codigo, Nome) VALUES (1, 'y')"); });
    EXPECT_EQ(error.number(), SQLITE_CONSTRAINT_PRIMARYKEY);
    error = errorOf([&] { db->query("SELECT GETDATE()"); });
    EXPECT_EQ(error.number(), kTsqlRewriteError);
    EXPECT_NE(error.description().find("GETDATE"), std::string::npos);
    EXPECT_EQ(db->queriesSent(), 2);
    EXPECT_EQ(db->statementsExecuted(), 3);
}

TEST(SqliteConnection, TheFunctionCreateTextFailsAndTheNativeFunctionStays) {
    ErpFile erp(erpMainSchemaSql());
    auto db = erp.open();
    const std::string create =
        " Create FUNCTION [dbo].[qor_LinhaParaString] ( @Artigo nvarchar (15) )"
        " RETURNS NVARCHAR(4000) AS BEGIN DECLARE @SubFamilias VARCHAR(4000)"
        " SELECT @SubFamilias = COALESCE(@SubFamilias , '') RETURN @SubFamilias"
        " End ";
    EXPECT_THROW(db->execute(create), DatabaseError);
    const Table table = db->query(" select dbo.qor_LinhaParaString ('A1' ) as EncForn");
    ASSERT_EQ(table.rowCount(), 1u);
    EXPECT_EQ(table.at(0, "EncForn"), Value(""));
}

TEST(SqliteConnection, ColumnsComeBackWithTheirTypes) {
    ErpFile erp(erpMainSchemaSql());
    erp.fill(
        "INSERT INTO DOCGCCAB (TpDoc, Ano, Serie, NNumDoc, Data, Observ) VALUES "
        " ('ECL', 2024, 'A', 1, '2024-05-13 10:20:30', 'Ação: «entrega» €'),"
        " ('ECL', 2024, 'A', 2, '2024-05-14', NULL);"
        "INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Quant, Valor) VALUES"
        " ('ECL', 2024, 'A', 1, 1, 'A1', 1234.5678, 3),"
        " ('ECL', 2024, 'A', 1, 2, 'A1', 0.1, 0.2),"
        " ('ECL', 2024, 'A', 1, 3, 'A1', 0.2, -12.3456);");
    auto db = erp.open();
    Table t = db->query(
        "SELECT c.Data, c.Observ, c.Ano, l.Quant, l.Valor FROM DOCGCCAB as c"
        " INNER JOIN DOCGCLIN as l ON l.NNumDoc = c.NNumDoc"
        " ORDER BY l.NumLinha");
    ASSERT_EQ(t.rowCount(), 3u);
    EXPECT_EQ(t.fields()[0].name, "Data");
    EXPECT_EQ(t.fields()[0].type, FieldType::DateTime);
    EXPECT_EQ(t.fields()[1].type, FieldType::Text);
    EXPECT_EQ(t.fields()[2].type, FieldType::Integer);
    EXPECT_EQ(t.fields()[3].type, FieldType::Money);
    EXPECT_EQ(t.at(0, "data"), Value(DateTime{2024, 5, 13, 10, 20, 30}));
    EXPECT_EQ(t.at(0, "Observ"), Value("Ação: «entrega» €"));
    EXPECT_EQ(t.at(0, "Ano"), Value(std::int64_t{2024}));
    EXPECT_EQ(t.at(0, "Quant"), Value(Money::fromTicks(12345678)));
    EXPECT_EQ(t.at(0, "Valor"), Value(Money::fromInteger(3)));  // stored as an integer
    EXPECT_EQ(t.at(1, "Quant"), Value(Money::fromTicks(1000)));
    EXPECT_EQ(t.at(2, "Valor"), Value(Money::fromTicks(-123456)));

    t = db->query("SELECT Data, Observ FROM DOCGCCAB WHERE NNumDoc = 2");
    EXPECT_EQ(t.at(0, "Data"), Value(DateTime{2024, 5, 14}));
    EXPECT_TRUE(t.at(0, "Observ").isNull());

    // Sums of quantities are floats without a declared type: exact Money, not 0.30000000000000004.
    t = db->query(
        "SELECT sum(Quant) as Total, count(*) as N, 'Ção' as Texto FROM DOCGCLIN"
        " WHERE NumLinha > 1");
    EXPECT_EQ(t.fields()[0].type, FieldType::Money);
    EXPECT_EQ(t.at(0, "Total"), Value(Money::fromTicks(3000)));
    EXPECT_EQ(t.fields()[1].type, FieldType::Integer);
    EXPECT_EQ(t.at(0, "N"), Value(std::int64_t{2}));
    EXPECT_EQ(t.at(0, "Texto"), Value("Ção"));
}

TEST(SqliteConnection, BlobsAreRefused) {
    ErpFile erp("CREATE TABLE Anexos (Dados BLOB); INSERT INTO Anexos VALUES (x'0102');");
    auto db = erp.open();
    EXPECT_EQ(errorOf([&] { db->query("SELECT Dados FROM Anexos"); }).number(), SQLITE_MISMATCH);
}

// Document lines for the two native functions: each line but the kept ones fails exactly
// one condition of its function's filter.
constexpr const char* kDocumentLines = R"sql(
INSERT INTO DOCGCCAB (TpDoc, Ano, Serie, NNumDoc, nvias, AreaG, TpTerc, TpfStc, NatConta) VALUES
 ('ENF', 2024, 'A', 1, 0, 2, 1, 0, 0),
 ('ENF', 2024, 'A', 2, -1, 2, 1, 0, 0),
 ('ENF', 2024, 'A', 3, 0, 2, 2, 0, 0),
 ('ENF', 2025, 'B', 4, 0, 2, 1, 0, 0),
 ('GRF', 2024, 'G', 10, 0, 4, 1, 1, 2),
 ('GRF', 2024, 'G', 11, 0, 4, 1, 2, 2),
 ('GRF', 2024, 'G', 12, 0, 4, 1, 1, 1),
 ('GRF', 2024, 'G', 13, -1, 4, 1, 1, 2);
INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Quant, [convert]) VALUES
 ('ENF', 2025, 'B', 4, 1, 'A1', 2, 0),
 ('ENF', 2024, 'A', 1, 1, 'A1', 5, 0),
 ('ENF', 2024, 'A', 1, 2, 'A1', 0, 0),
 ('ENF', 2024, 'A', 1, 3, 'A1', 1, -1),
 ('ENF', 2024, 'A', 1, 4, 'A2', 1, 0),
 ('ENF', 2024, 'A', 1, 5, '', 1, 0),
 ('ENF', 2024, 'A', 2, 1, 'A1', 1, 0),
 ('ENF', 2024, 'A', 3, 1, 'A1', 1, 0),
 ('GRF', 2024, 'G', 10, 1, 'A1', 3, 0),
 ('GRF', 2024, 'G', 10, 2, 'A1', -3, 0),
 ('GRF', 2024, 'G', 11, 1, 'A1', 3, 0),
 ('GRF', 2024, 'G', 12, 1, 'A1', 3, 0),
 ('GRF', 2024, 'G', 13, 1, 'A1', 3, 0);
)sql";

TEST(SqliteConnection, NativeFunctionsListTheKeysTheirFilterSelects) {
    ErpFile erp(erpMainSchemaSql());
    erp.fill(kDocumentLines);
    auto db = erp.open();
    const auto keys = [&](const std::string& function, const std::string& article) {
        const Table t = db->query(" select dbo." + function + " ('" + article + "' ) as K");
        EXPECT_EQ(t.rowCount(), 1u);
        EXPECT_TRUE(t.at(0, 0).isText()) << "NULL for " << article;
        return t.at(0, 0).toText();
    };
    // Stored order of the article's lines, one key per line, without the line number.
    EXPECT_EQ(keys("qor_LinhaParaString", "A1"), "ENF/2025/B/4, ENF/2024/A/1");
    EXPECT_EQ(keys("qor_LinhaParaString", "a1"), "ENF/2025/B/4, ENF/2024/A/1");
    EXPECT_EQ(keys("qor_LinhaParaString", "A2"), "ENF/2024/A/1");
    EXPECT_EQ(keys("qor_LinhaParaString", ""), "");
    EXPECT_EQ(keys("qor_LinhaParaString", "ZZ"), "");
    EXPECT_EQ(keys("qor_LinhaParaStringGuia", "A1"), "GRF/2024/G/10");
    EXPECT_EQ(keys("qor_LinhaParaStringGuia", "A2"), "");
    // Called once per row of a query, both functions on the same row.
    const Table both = db->query(
        "SELECT Codigo, dbo.qor_LinhaParaString(Codigo) as EncForn,"
        " dbo.qor_LinhaParaStringGuia(Codigo) as GuiaForn FROM "
        "(SELECT 'A1' as Codigo UNION ALL SELECT 'A2') as a");
    ASSERT_EQ(both.rowCount(), 2u);
    EXPECT_EQ(both.at(0, "GuiaForn"), Value("GRF/2024/G/10"));
    EXPECT_EQ(both.at(1, "EncForn"), Value("ENF/2024/A/1"));
}

TEST(SqliteConnection, NativeFunctionsReportAMissingTableAsAnError) {
    ErpFile erp("CREATE TABLE Outra (x INTEGER);");
    auto db = erp.open();
    const DatabaseError error = errorOf([&] { db->query("select dbo.qor_LinhaParaString('A')"); });
    EXPECT_NE(error.description().find("DOCGCCAB"), std::string::npos);
}

// The program's statements, joined from their fragments as the reports join them.
std::string pendingOrdersQuery(const std::string& startDate) {
    return std::string(
               " SELECT c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+CAST(c.NNumDoc as "
               "nvarchar(10))+'/'+Cast(l.NUMLINHA as nvarchar(3)) as Doc,") +
           " v.Nome," + " c.data," + " c.Terceiro," + " cl.Nome as NomeCli," + " l.Artigo," +
           " l.Valor," + " '' as NomeForn," + " l.Quant," +
           " (coalesce((SELECT ar.EXISTENC FROM  ARTARM as ar WHERE (ar.ARMAZEM = '001') AND "
           "(ar.ARTIGO = l.artigo)),0) - coalesce ((select are.armenccl from ArtArm as are where "
           "Are.armazem='001' and are.artigo=l.artigo ),0)) as 'StockDisp'," +
           " coalesce((SELECT  ar.EXISTENC FROM  ARTARM as ar WHERE (ar.ARMAZEM = '001') AND "
           "(ar.ARTIGO = l.artigo)),0) as 'StockReal'," +
           " c.Observ as OBS," +
           " coalesce((SELECT    CL05 FROM CLDOCGC as clv where clv.ano=c.ano and clv.NDOC "
           "=c.NNumdoc and clv.SERIE =c.serie and clv.TIPODOC =c.TpDoc),'') as Separado," +
           " '' as EncCliLx," + " '' as CliLx," + " '' as EncForn" +
           " FROM    DOCGCCAB as c INNER JOIN  DOCGCLIN as l ON c.NNUMDOC = l.NNUMDOC AND "
           "c.TPDOC = l.TPDOCUM AND c.SERIE = l.SERIE AND c.ANO = l.ANO" +
           " Inner Join Vendedor as v ON v.Codigo=c.vendedor" +
           " Inner Join Clientes as cl ON cl.Codigo=c.Terceiro" +
           " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=2 and l.quant>0 and [convert]<>-1 "
           "and l.ARTIGO >''" +
           " and c.Data >= CONVERT(DATETIME, '" + startDate + "', 102)" + " and c.Serie<>'0' " +
           " Order by c.Terceiro,c.Data";
}

const std::string kCustomerLinesFrom =
    " FROM    DOCGCCAB as c INNER JOIN  DOCGCLIN as l ON c.NNUMDOC = l.NNUMDOC AND c.TPDOC = "
    "l.TPDOCUM AND c.SERIE = l.SERIE AND c.ANO = l.ANO";
const std::string kCustomerLinesTail =
    kCustomerLinesFrom + " Inner Join Clientes as cl ON cl.Codigo=c.Terceiro" +
    " Inner Join Artigos as ar ON ar.Codigo=l.Artigo" +
    " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=2 and l.quant>0 and [convert]<>-1 and "
    "l.ARTIGO >'' and ar.ArtouDes=0" +
    " and c.Data >= CONVERT(DATETIME, '" + "2024-05-13" + "', 102)" + " and c.Serie<>'0' " +
    " Order by c.Data";
const std::string kSupplierWhere =
    " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=1 and l.quant>0 and [convert]<>-1 and "
    "l.ARTIGO >'' and Artigo='";

std::string warehouseBlock(const std::string& head, const std::string& tail) {
    return head + " where aa.Artigo=ar.Codigo and (aa.Armazem='" + "001" + "' or aa.Armazem='" +
           "002" + tail;
}

std::string provisioningDefault(const std::string& from, const std::string& to) {
    const std::string stock = " (select coalesce(sum(existenc),0) from ArtArm as aa";
    const std::string customer = " (select coalesce(sum(ArmEncCl),0) from ArtArm as aa";
    const std::string supplier = " (select coalesce(sum(ArmEncFo),0) from ArtArm as aa";
    return std::string(" select ar.Codigo, ar.Abrev,ar.Nome,") +
           " (select coalesce(sum((ABS(c .TPTERC - c.SINALCT) * 2 - 1)*(l.QtdOrig)),0) from "
           "Docgccab as c" +
           " inner join DOCGCLIN as l ON l.tpdocum=c.Tpdoc and l.Nnumdoc=c.NNumdoc and "
           "l.serie=c.serie and l.ano=c.ano" +
           " where c.Data>=CONVERT(DATETIME, '" + from + "', 102) and c.Data<=CONVERT(DATETIME, '" +
           to + "', 102) " +
           " And c.nvias <> -1 And c.AREAG = 4 And c.tpterc = 2 And c.natconta = 1 and "
           "l.artigo=ar.Codigo" +
           " ) as Vendas," + warehouseBlock(stock, "' )) as Existenc,") +
           warehouseBlock(customer, "' )) as TotEncCl,") +
           warehouseBlock(supplier, "' )) as TotEncFo,") + warehouseBlock(stock, "' )) -") +
           warehouseBlock(customer, "' )) +") + warehouseBlock(supplier, "' )) as Prazo,") +
           " coalesce(ar.Fornec,' ') as Fornec, coalesce(f.Nome,' ') as 'Nome Fornecedor'" +
           " from Artigos as ar" + " left outer Join Fornec as f ON f.Codigo=ar.Fornec" +
           " Where ar.ArtouDes = 0" + " Order By" + warehouseBlock(stock, "' )) -") +
           warehouseBlock(customer, "' )) +") + warehouseBlock(supplier, "' ))");
}

std::string provisioningAlternate(const std::string& from, const std::string& to) {
    return std::string(" select ar.Codigo, ar.Abrev,ar.Nome, ") +
           " (select coalesce(sum((ABS(c .TPTERC - c.SINALCT) * 2 - 1)*(l.QtdOrig)),0) from "
           "Docgccab as c" +
           " inner join DOCGCLIN as l ON l.tpdocum=c.Tpdoc and l.Nnumdoc=c.NNumdoc and "
           "l.serie=c.serie and l.ano=c.ano" +
           " where c.Data>=CONVERT(DATETIME, '" + from + "', 102) and c.Data<=CONVERT(DATETIME, '" +
           to + "', 102) " +
           "   And c.nvias <> -1 And c.AREAG = 4 And c.tpterc = 2 And c.natconta = 1" +
           " and l.artigo=ar.Codigo and (l.armazem='002' or l.armazem='004') " + " ) as Vendas," +
           " (Select sum(Existenc) from ArtArm where (ArtArm.Armazem='002' OR "
           "ArtArm.Armazem='004') and ArtArm.Artigo=ar.Codigo) as Existenc," +
           " ar.TotEncCl,ar.TotEncFo , " +
           " (Select sum(Existenc) from ArtArm where (ArtArm.Armazem='002' OR "
           "ArtArm.Armazem='004') and ArtArm.Artigo=ar.Codigo)-ar.TotEncCl+ar.TotEncFo as Prazo" +
           " ,coalesce(ar.Fornec,' ') as Fornec, coalesce(f.Nome,' ') as 'Nome Fornecedor'" +
           " from Artigos as ar left outer join ArtArm as aa ON aa.artigo=ar.Codigo" +
           " left outer Join Fornec as f ON f.Codigo=ar.Fornec" +
           " Where ar.ArtouDes = 0 and (aa.Armazem='002' or aa.Armazem='004')" + " and ar.Grupo='" +
           "G1" + "' " + " and ar.familia='" + "F1" + "' " +
           " group by ar.Codigo, ar.Abrev,ar.Nome,ar.TotEncCl,ar.TotEncFo,coalesce(ar.Fornec,' "
           "'), coalesce(f.Nome,' ')" +
           " order by (Select sum(Existenc) from ArtArm where (ArtArm.Armazem='002' OR "
           "ArtArm.Armazem='004') " +
           " and ArtArm.Artigo=ar.Codigo)-ar.TotEncCl+ar.TotEncFo";
}

std::vector<std::string> mainDatabaseStatements() {
    const std::string lastSupplier = std::string(" SELECT TOP (1) f.NOME FROM  AJUDACMP AS aj ") +
                                     " INNER JOIN FORNEC AS f ON f.CODIGO = aj.FORNECED " +
                                     " Where (aj.ARTIGO = '" + "A1" + "' ) " +
                                     " ORDER BY aj.DATA DESC ";
    return {
        pendingOrdersQuery("2024-05-13"),
        lastSupplier,
        std::string(" select dbo.qor_LinhaParaString ('") + "A1" + "' ) as EncForn",
        std::string(" select dbo.qor_LinhaParaStringGuia ('") + "A1" + "' ) as GuiaForn",
        std::string(" SELECT c.data,c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+"
                    "CAST(c.NNumDoc as nvarchar(10))+'/'+Cast(l.NUMLINHA as nvarchar(4)) as Doc,") +
            " cl.Nome as NomeCli," + " l.Artigo," + " l.Quant," + " ar.Nome as 'NomeArtigo'," +
            " '' as Notas" + kCustomerLinesTail,
        std::string("Select coalesce(sum(Existenc),0) as Existencia from ArtArm where "
                    "(Armazem='001' or Armazem='002') and Artigo='") +
            "A1" + "' ",
        "Select coalesce(sum(l.Quant),0) as Qtd " + kCustomerLinesFrom + kSupplierWhere + "A1" +
            "' " + " and c.Data >= CONVERT(DATETIME, '" + "2024-05-13" + "', 102)",
        "Select coalesce((l.Quant),0) as Qtd,u.Obs " + kCustomerLinesFrom +
            " INNER JOIN  U_DOCGCLIN as u ON u.NNUMDOC = l.NNUMDOC AND u.Tpdocum = l.TPDOCUM AND "
            "u.SERIE = l.SERIE AND u.ANO = l.ANO and u.Numlinha=l.NumLinha" +
            kSupplierWhere + "A1" + "' " + " and c.Data >= CONVERT(DATETIME, '" + "2024-05-13" +
            "', 102)",
        std::string(" SELECT c.data,c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+"
                    "CAST(c.NNumDoc as nvarchar(10))+'/'+Cast(l.NUMLINHA as nvarchar(4)) as Doc,") +
            " cl.Nome as NomeCli," + " '' as NomeForn," + " '' as EncForn," + " l.Artigo," +
            " l.Quant," + " ar.Nome as 'NomeArtigo'," + " ar.DiasSkRs as Dias" + kCustomerLinesTail,
        std::string("Select OBS from U_DocGCLin0 where Ano=") + "2024" + " and TpDocum='" + "ENF" +
            "' and Serie='" + "A" + "' and NNumdoc=" + "1" + " and NumLinha=" + "1",
        provisioningDefault("2026-01-01 00:00", "2026-12-07 23:59"),
        provisioningAlternate("2026-01-01 00:00", "2026-12-07 23:59"),
        "SELECT Codigo as 'Código', Nome as 'Descrição' FROM Armazens order by Codigo",
        std::string("SELECT COD as 'Código', ") + " Descr as Nome From Grupos " +
            " order by Descr ",
        std::string("SELECT Cod as 'Código', Descr as 'Descrição' FROM Familia ") +
            "where Grupo='" + "G1" + "' " + " group by cod,Descr order by Cod",
        std::string(" select Artigo,armazem,count(artigo)as Qtd from qor_ARM_picking_Movimentos "
                    "as p") +
            " where p.tipomov='T'" + " and numeroserie>''" +
            " group by artigo,armazem order by Artigo",
        std::string("Select Stdisp from Artigos where Codigo='") + "A1" + "'",
        std::string("Select Armazem,Existenc from ArtArm where Artigo='") + "A1" +
            "' and Existenc>0",
        std::string("select  count(NumSer) as TotNSer  from NserExis where  Artigo='") + "A1" +
            "' ",
        std::string("Select * from NSerMovs where artigo='") + "A1" + "' and TPFSTCK=" + "1" + " ",
        std::string("Select Quant from DocGcLin as l") +
            " inner join DocGcCab as c ON c.Ano=l.Ano and c.Serie=l.serie and "
            "c.NNumdoc=l.NNumdoc and c.TpDoc=l.TpDocum" +
            " where l.TpDocum='" + "ECL" + "' and l.Serie='" + "A" + "' and l.NNumdoc=" + "1" +
            " and l.Ano= " + "2024" + " and l.NumLinha=" + "1" + " and c.nvias<>-1  ",
    };
}

std::vector<std::string> externalDatabaseStatements() {
    return {
        std::string(" select de.OrigTpDoc+'/'+CAST( de.OrigAno as nvarchar(4))+'/'+"
                    "de.OrigSerie+'/'+CAST(de.OrigNumero as nvarchar(10)) as 'EncCliLx'") +
            " from qor_documentosexportados as de " + " where de.EncTpDoc='" + "ECL" +
            "' and de.EncSerie='" + "A" + "' " + " and de.EncAno=" + "2024" +
            " and de.EncNumero=" + "153" + " ",
        std::string(" select cllx.Nome as 'CliLx' from qor_documentosexportados as delx ") +
            " Inner Join  DocGcCab as clx " +
            " ON delx.origTpDoc=clx.TpDoc and delx.origSerie=clx.Serie and "
            "delx.origAno=clx.Ano and delx.origNumero=clx.NNumdoc" +
            " inner Join Clientes as cllx " + " ON cllx.Codigo=clx.Terceiro " +
            " where delx.encTpDoc='" + "ECL" + "' and delx.encSerie='" + "A" +
            "' and delx.EncAno=" + "2024" + " and delx.EncNumero=" + "153" + " ",
    };
}

TEST(SqliteConnection, EveryStatementOfTheProgramRunsOnTheErpSchema) {
    ErpFile main(erpMainSchemaSql());
    auto db = main.open();
    for (const std::string& sql : mainDatabaseStatements()) {
        SCOPED_TRACE(sql);
        EXPECT_NO_THROW(db->query(sql));
    }
    ErpFile external(erpExternalSchemaSql());
    auto externalDb = external.open();
    for (const std::string& sql : externalDatabaseStatements()) {
        SCOPED_TRACE(sql);
        EXPECT_NO_THROW(externalDb->query(sql));
    }
}

TEST(SqliteConnection, PendingOrdersQueryBuildsKeysAndComparesDates) {
    ErpFile erp(erpMainSchemaSql());
    erp.fill(R"sql(
INSERT INTO Vendedor VALUES (7, 'Vendedor');
INSERT INTO Clientes VALUES (1234, 'Cliente');
INSERT INTO DOCGCCAB (TpDoc, Ano, Serie, NNumDoc, Data, Terceiro, Vendedor, nvias, AreaG, TpTerc)
VALUES ('ECL', 2024, 'A', 153, '2024-05-13', 1234, 7, 0, 2, 2),
       ('ECL', 2024, 'A', 152, '2024-05-12 23:59:59', 1234, 7, 0, 2, 2);
INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Quant, Valor, [convert])
VALUES ('ECL', 2024, 'A', 153, 2, 'A1', 5, 12.5, 0), ('ECL', 2024, 'A', 152, 1, 'A1', 5, 1, 0);
INSERT INTO ArtArm (Artigo, Armazem, Existenc, ArmEncCl) VALUES ('A1', '001', 10, 4);
INSERT INTO CLDOCGC VALUES ('ECL', 2024, 'A', 153, 'Sim');
)sql");
    auto db = erp.open();
    const Table t = db->query(pendingOrdersQuery("2024-05-13"));
    ASSERT_EQ(t.rowCount(), 1u);
    EXPECT_EQ(t.at(0, "Doc"), Value("ECL/2024/A/153/2"));
    EXPECT_EQ(t.at(0, "data"), Value(DateTime{2024, 5, 13}));
    EXPECT_EQ(t.at(0, "Valor"), Value(Money::fromTicks(125000)));
    EXPECT_EQ(t.at(0, "StockDisp").toMoney(), Money::fromInteger(6));
    EXPECT_EQ(t.at(0, "StockReal").toMoney(), Money::fromInteger(10));
    EXPECT_EQ(t.at(0, "Separado"), Value("Sim"));
    EXPECT_EQ(t.at(0, "NomeForn"), Value(""));
}

}  // namespace
}  // namespace talvers
