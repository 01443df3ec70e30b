#include "sample/sample_generator.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <set>
#include <sstream>

#include "sample/erp_schema.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

using testing::TempDir;

const DateTime kToday{2026, 3, 15};

// Reads a generated database; the external one is attached as "ext" when given.
class Reader {
  public:
    explicit Reader(const std::filesystem::path& file, const std::filesystem::path& external = {}) {
        if (sqlite3_open_v2(file.string().c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK) {
            ADD_FAILURE() << "cannot open " << file;
        }
        if (!external.empty()) rows("ATTACH DATABASE '" + external.string() + "' AS ext");
    }
    ~Reader() { sqlite3_close(db_); }

    // Every row, each value as its type letter and text, fields separated by '|'.
    std::vector<std::string> rows(const std::string& sql) {
        std::vector<std::string> result;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sqlite3_errmsg(db_) << " in " << sql;
            return result;
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::string row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                row += std::to_string(sqlite3_column_type(statement, i)) + (text ? text : "") + "|";
            }
            result.push_back(row);
        }
        sqlite3_finalize(statement);
        return result;
    }

    long long number(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        long long value = -1;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW) {
            value = sqlite3_column_int64(statement, 0);
        } else {
            ADD_FAILURE() << sqlite3_errmsg(db_) << " in " << sql;
        }
        sqlite3_finalize(statement);
        return value;
    }

    std::string text(const std::string& sql) {
        const auto all = rows(sql);
        if (all.empty()) return "<no row>";
        return all.front().substr(1, all.front().size() - 2);  // drop type letter and '|'
    }

    // All tables, all rows, in insertion order.
    std::string dump() {
        std::string result;
        for (const std::string& table :
             rows("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name")) {
            const std::string name = table.substr(1, table.size() - 2);
            result += "## " + name + "\n";
            for (const auto& row : rows("SELECT * FROM \"" + name + "\" ORDER BY rowid")) {
                result += row + "\n";
            }
        }
        return result;
    }

  private:
    sqlite3* db_ = nullptr;
};

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

SampleOptions smallOptions(const std::filesystem::path& dir) {
    SampleOptions options;
    options.outDir = dir;
    options.seed = 7;
    options.lines = 300;
    options.today = kToday;
    return options;
}

TEST(SampleGeneratorTest, SameOptionsGiveTheSameDataAndAnotherSeedOtherData) {
    TempDir dir;
    const SampleResult first = generateSample(smallOptions(dir / "a"));
    generateSample(smallOptions(dir / "b"));
    SampleOptions other = smallOptions(dir / "c");
    other.seed = 8;
    generateSample(other);

    const std::string mainA = Reader(dir / "a" / "erp.db").dump();
    EXPECT_GT(mainA.size(), 10000u);
    EXPECT_EQ(mainA, Reader(dir / "b" / "erp.db").dump());
    EXPECT_EQ(Reader(dir / "a" / "externa.db").dump(), Reader(dir / "b" / "externa.db").dump());
    EXPECT_NE(mainA, Reader(dir / "c" / "erp.db").dump());
    EXPECT_NE(Reader(dir / "a" / "externa.db").dump(), Reader(dir / "c" / "externa.db").dump());
    EXPECT_EQ(first.mainDatabase, dir / "a" / "erp.db");
}

TEST(SampleGeneratorTest, SettingsFileNamesBothDatabasesAndTheVariantTaxpayer) {
    TempDir dir;
    const SampleResult result = generateSample(smallOptions(dir.path()));
    EXPECT_EQ(result.settingsFile, dir / "Talvers.qor");
    EXPECT_EQ(readFile(result.settingsFile),
              "[Ligação]\nMotor=sqlite\nEmpresa=erp.db\n"
              "[LigaçãoExterna]\nMotor=sqlite\nEmpresa=externa.db\n"
              "[Talvers]\nContribuinteVariante=500000000\n");
}

TEST(SampleGeneratorTest, VariantFlagChoosesTheCompanyTaxpayer) {
    TempDir dir;
    SampleOptions options = smallOptions(dir / "default");
    generateSample(options);
    Reader normal(dir / "default" / "erp.db");
    EXPECT_EQ(normal.number("SELECT count(*) FROM EMPRESA"), 1);
    EXPECT_EQ(normal.text("SELECT NOME FROM EMPRESA"), "Distribuidora Exemplo, Lda.");
    const std::string taxpayer = normal.text("SELECT NumContr FROM EMPRESA");
    EXPECT_EQ(taxpayer.size(), 9u);
    EXPECT_NE(taxpayer, "500000000");

    options.outDir = dir / "alternate";
    options.alternateVariant = true;
    generateSample(options);
    EXPECT_EQ(Reader(dir / "alternate" / "erp.db").text("SELECT NumContr FROM EMPRESA"),
              "500000000");

    // Another configured number reaches both the company and the settings file, and the
    // default company never takes it by chance.
    options.outDir = dir / "other";
    options.variantTaxpayer = taxpayer;
    generateSample(options);
    EXPECT_EQ(Reader(dir / "other" / "erp.db").text("SELECT NumContr FROM EMPRESA"), taxpayer);
    EXPECT_NE(readFile(dir / "other" / "Talvers.qor").find("ContribuinteVariante=" + taxpayer),
              std::string::npos);
    options.outDir = dir / "other-default";
    options.alternateVariant = false;
    generateSample(options);
    EXPECT_NE(Reader(dir / "other-default" / "erp.db").text("SELECT NumContr FROM EMPRESA"),
              taxpayer);
}

TEST(SampleGeneratorTest, RejectsOptionsItCannotHonour) {
    TempDir dir;
    SampleOptions options = smallOptions(dir.path());
    options.lines = 99;
    EXPECT_THROW(generateSample(options), std::invalid_argument);
    options = smallOptions(dir.path());
    options.variantTaxpayer = "50000000\n";
    EXPECT_THROW(generateSample(options), std::invalid_argument);
    options = smallOptions(dir.path());
    options.today = DateTime{2026, 2, 30};
    EXPECT_THROW(generateSample(options), std::invalid_argument);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(SampleGeneratorTest, RerunReplacesTheFilesAndLeavesNothingElse) {
    TempDir dir;
    {
        std::ofstream(dir / "erp.db") << "not a database";
        std::ofstream(dir / "Talvers.qor") << "[Ligação]\nMotor=sqlserver\n";
        std::ofstream(dir / "erp.db-wal") << "stale journal";
    }
    generateSample(smallOptions(dir.path()));
    const std::string firstDump = Reader(dir / "erp.db").dump();
    EXPECT_NE(readFile(dir / "Talvers.qor").find("Motor=sqlite"), std::string::npos);

    SampleOptions other = smallOptions(dir.path());
    other.seed = 99;
    other.lines = 400;
    const SampleResult result = generateSample(other);
    Reader reader(dir / "erp.db");
    EXPECT_NE(reader.dump(), firstDump);
    EXPECT_EQ(reader.number("SELECT count(*) FROM DOCGCLIN WHERE TpDocum='ECL'"), 400);

    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"Talvers.qor", "erp.db", "externa.db"}));
    long reported = 0;
    for (const auto& count : result.mainCounts) {
        if (count.table == "DOCGCLIN") reported = count.rows;
    }
    EXPECT_EQ(reported, reader.number("SELECT count(*) FROM DOCGCLIN"));
}

// One small sample, read by every edge-case test below.
class SampleContentTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        generateSample(smallOptions(dir_->path()));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    SampleContentTest() : db_(*dir_ / "erp.db", *dir_ / "externa.db") {}

    long long count(const std::string& sql) { return db_.number("SELECT count(*) " + sql); }

    static TempDir* dir_;
    Reader db_;
};

TempDir* SampleContentTest::dir_ = nullptr;

const char* const kOrderLines =
    " FROM DOCGCCAB c JOIN DOCGCLIN l ON l.TpDocum=c.TpDoc AND l.Ano=c.Ano AND l.Serie=c.Serie"
    " AND l.NNumDoc=c.NNumDoc WHERE c.TpDoc='ECL' ";

// The sample holds only what the ERP's SQL Server columns could hold: every text fits its
// column's length and code page, every number its type's range and scale, every date 1753 on.
TEST(SampleGeneratorTest, EveryValueFitsItsColumnOnSqlServer) {
    for (const bool alternate : {false, true}) {
        TempDir dir;
        SampleOptions options = smallOptions(dir.path());
        options.alternateVariant = alternate;
        generateSample(options);
        for (const auto& [file, schema] : {std::pair{dir / "erp.db", &erpMainSchema()},
                                           {dir / "externa.db", &erpExternalSchema()}}) {
            const auto connection = SqliteConnection::open(file);
            for (const ErpTable& table : schema->tables) {
                for (const ErpColumn& column : table.columns) {
                    const Table values = connection->query("SELECT DISTINCT [" + column.name +
                                                           "] FROM " + table.name);
                    for (size_t r = 0; r < values.rowCount(); ++r) {
                        EXPECT_EQ(whyValueDoesNotFit(column.type, values.at(r, 0)), "")
                            << table.name << "." << column.name << " = "
                            << values.at(r, 0).toText();
                    }
                }
            }
        }
    }
}

TEST_F(SampleContentTest, SizesFollowTheLineCount) {
    EXPECT_EQ(count("FROM DOCGCLIN WHERE TpDocum='ECL'"), 300);
    EXPECT_EQ(count("FROM Artigos"), 50);
    EXPECT_EQ(count("FROM Clientes"), 20);
    EXPECT_EQ(count("FROM Fornec"), 30);
    EXPECT_EQ(count("FROM Vendedor"), 8);
    EXPECT_EQ(db_.text("SELECT group_concat(Codigo) FROM (SELECT Codigo FROM Armazens ORDER BY 1)"),
              "001,002,003,004");
    EXPECT_GT(count("FROM DOCGCCAB WHERE AreaG=2 AND TpTerc=1"), 10);
    EXPECT_GT(count("FROM DOCGCCAB WHERE AreaG=4 AND TpTerc=1 AND TpfStc=1 AND NatConta=2"), 5);
    EXPECT_GT(count("FROM DOCGCCAB WHERE AreaG=4 AND TpTerc=2 AND NatConta=1"), 50);
    EXPECT_GT(count("FROM ext.Clientes"), 0);
}

TEST_F(SampleContentTest, TheReportsFindRows) {
    // Pending customer orders from one year ago, with their Lisbon order and customer.
    const std::string pending = std::string(kOrderLines) +
                                "AND c.nvias<>-1 AND c.AreaG=2 AND c.TpTerc=2 AND l.Quant>0"
                                " AND l.[convert]<>-1 AND l.Artigo>'' AND c.Serie<>'0'"
                                " AND c.Data>='2025-03-15'";
    const long long listed = count(pending);
    EXPECT_GT(listed, 100);
    EXPECT_GT(count(pending + " AND EXISTS (SELECT 1 FROM ext.qor_documentosexportados d"
                              " JOIN ext.DocGcCab x ON x.TpDoc=d.OrigTpDoc AND x.Ano=d.OrigAno"
                              " AND x.Serie=d.OrigSerie AND x.NNumDoc=d.OrigNumero"
                              " JOIN ext.Clientes k ON k.Codigo=x.Terceiro"
                              " WHERE d.EncTpDoc=c.TpDoc AND d.EncAno=c.Ano AND d.EncSerie=c.Serie"
                              " AND d.EncNumero=c.NNumDoc)"),
              listed / 2);
    EXPECT_GT(
        count(pending + " AND EXISTS (SELECT 1 FROM CLDOCGC s WHERE s.TIPODOC=c.TpDoc AND"
                        " s.Ano=c.Ano AND s.SERIE=c.Serie AND s.NDOC=c.NNumDoc AND s.CL05>'')"),
        0);
    // Most orders lie within the last year; some before it.
    EXPECT_GT(count("FROM DOCGCCAB WHERE TpDoc='ECL' AND Data<'2025-03-15'"), 0);
    // Open supplier orders and delivery notes exist for articles on customer orders.
    EXPECT_GT(count("FROM DOCGCLIN l JOIN DOCGCCAB c ON l.TpDocum=c.TpDoc AND l.Ano=c.Ano AND"
                    " l.Serie=c.Serie AND l.NNumDoc=c.NNumDoc WHERE c.TpDoc='EFO' AND"
                    " c.Data>='2025-03-15' AND l.Artigo IN (SELECT Artigo FROM DOCGCLIN"
                    " WHERE TpDocum='ECL')"),
              20);
    EXPECT_GT(count("FROM DOCGCLIN WHERE TpDocum='GRF' AND Quant>0"), 5);
    // Sales on this year and the previous one; supplier orders over about a year.
    EXPECT_GT(count("FROM DOCGCCAB WHERE AreaG=4 AND TpTerc=2 AND Data>='2026-01-01'"), 5);
    EXPECT_GT(count("FROM DOCGCCAB WHERE AreaG=4 AND TpTerc=2 AND Data<'2026-01-01'"), 20);
    EXPECT_EQ(count("FROM DOCGCCAB WHERE Data<'2025-01-01' AND TpDoc<>'ECL'"), 0);
    EXPECT_GT(count("FROM ArtArm WHERE Armazem IN ('002','004') AND Existenc>0"), 10);
    EXPECT_GT(count("FROM qor_ARM_picking_Movimentos WHERE TipoMov='T' AND NumeroSerie>''"), 0);
}

TEST_F(SampleContentTest, SupplierNamesHoldLineFeedsAndOverlongText) {
    EXPECT_GE(count("FROM Fornec WHERE instr(Nome, char(10))>0"), 1);
    EXPECT_GE(count("FROM Fornec WHERE length(Nome)>80"), 1);
    // Both are the most recent supplier of some article.
    for (const char* which : {"instr(f.Nome, char(10))>0", "length(f.Nome)>80"}) {
        EXPECT_GT(count(std::string("FROM AJUDACMP a JOIN Fornec f ON f.Codigo=a.Forneced WHERE ") +
                        which +
                        " AND a.Data=(SELECT max(Data) FROM AJUDACMP b"
                        " WHERE b.Artigo=a.Artigo)"),
                  0)
            << which;
    }
}

TEST_F(SampleContentTest, OrderLinesCoverEveryExcludedKind) {
    EXPECT_GT(count(std::string(kOrderLines) + "AND l.Artigo='AB''12' AND l.Quant>0 AND"
                                               " c.nvias<>-1 AND c.Serie<>'0'"),
              0);
    EXPECT_GT(count(std::string(kOrderLines) + "AND c.Serie='0'"), 0);
    EXPECT_GT(count(std::string(kOrderLines) + "AND c.nvias=-1"), 0);
    EXPECT_GT(count(std::string(kOrderLines) + "AND l.[convert]=-1"), 0);
    EXPECT_GT(count(std::string(kOrderLines) + "AND l.Quant=0"), 0);
    EXPECT_GT(count(std::string(kOrderLines) + "AND l.Quant<0"), 0);
    EXPECT_GT(count(std::string(kOrderLines) + "AND l.Artigo=''"), 0);
    EXPECT_GT(count(std::string(kOrderLines) + "AND l.Quant<>CAST(l.Quant AS INTEGER)"), 0);
    EXPECT_GT(count(std::string(kOrderLines) +
                    "AND l.Artigo IN (SELECT Codigo FROM Artigos WHERE ArtouDes=1)"),
              0);
    EXPECT_GT(count(std::string(kOrderLines) +
                    "AND l.Artigo IN (SELECT Codigo FROM Artigos WHERE Codigo NOT IN"
                    " (SELECT Artigo FROM AJUDACMP))"),
              0);
}

TEST_F(SampleContentTest, OrderHeadersCoverMissingPartiesLongKeysAndBoundaries) {
    EXPECT_GT(count("FROM DOCGCCAB WHERE TpDoc='ECL' AND Terceiro NOT IN"
                    " (SELECT Codigo FROM Clientes)"),
              0);
    EXPECT_GT(count("FROM DOCGCCAB WHERE TpDoc='ECL' AND Vendedor NOT IN"
                    " (SELECT Codigo FROM Vendedor)"),
              0);
    EXPECT_GT(count("FROM DOCGCCAB WHERE TpDoc='ECL' AND Vendedor IS NULL"), 0);
    EXPECT_GT(db_.number("SELECT max(length(TpDocum||'/'||Ano||'/'||Serie||'/'||NNumDoc||'/'||"
                         "NumLinha)) FROM DOCGCLIN WHERE TpDocum='ECL'"),
              20);
    EXPECT_EQ(count("FROM DOCGCCAB WHERE TpDoc='ECL' AND Data='2025-03-15 00:00:00'"), 1);
    EXPECT_EQ(count("FROM DOCGCCAB WHERE TpDoc='ECL' AND Data='2025-03-14 16:20:00'"), 1);
    EXPECT_GT(count("FROM DOCGCCAB WHERE length(Observ)>100"), 0);
    // Not exported; exported from a Lisbon order that the external database lacks.
    EXPECT_GT(count("FROM DOCGCCAB c WHERE TpDoc='ECL' AND NOT EXISTS (SELECT 1 FROM"
                    " ext.qor_documentosexportados d WHERE d.EncTpDoc=c.TpDoc AND d.EncAno=c.Ano"
                    " AND d.EncSerie=c.Serie AND d.EncNumero=c.NNumDoc)"),
              0);
    EXPECT_GT(count("FROM ext.qor_documentosexportados d WHERE NOT EXISTS (SELECT 1 FROM"
                    " ext.DocGcCab x WHERE x.TpDoc=d.OrigTpDoc AND x.Ano=d.OrigAno AND"
                    " x.Serie=d.OrigSerie AND x.NNumDoc=d.OrigNumero)"),
              0);
    // Every document date is "yyyy-mm-dd hh:mm:ss" text, some at a time other than midnight.
    EXPECT_EQ(
        count("FROM DOCGCCAB WHERE typeof(Data)<>'text' OR Data NOT GLOB"
              " '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]'"),
        0);
    EXPECT_GT(count("FROM DOCGCCAB WHERE substr(Data, 12)<>'00:00:00'"), 10);
}

TEST_F(SampleContentTest, SupplierOrderLinesMostlyCarryNotes) {
    const long long lines = count("FROM DOCGCLIN WHERE TpDocum='EFO'");
    const std::string withoutNote =
        "FROM DOCGCLIN l WHERE l.TpDocum='EFO' AND NOT EXISTS (SELECT 1 FROM U_DOCGCLIN u"
        " WHERE u.Tpdocum=l.TpDocum AND u.Ano=l.Ano AND u.Serie=l.Serie AND"
        " u.NNumDoc=l.NNumDoc AND u.NumLinha=l.NumLinha)";
    EXPECT_GT(count(withoutNote), 0);
    EXPECT_LT(count(withoutNote) * 3, lines);
    EXPECT_GT(count("FROM U_DocGCLin0 WHERE OBS LIKE '  %  '"), 0);
}

TEST_F(SampleContentTest, ArticlesCoverStockAndProvisioningEdges) {
    EXPECT_GT(count("FROM Artigos WHERE Codigo NOT IN (SELECT Artigo FROM ArtArm)"), 0);
    EXPECT_GT(count("FROM Artigos WHERE Codigo NOT IN (SELECT Artigo FROM AJUDACMP)"), 0);
    EXPECT_GT(count("FROM Artigos WHERE DiasSkRs IS NULL"), 0);
    EXPECT_GT(count("FROM Artigos WHERE Fornec IS NULL"), 0);
    // Alternate variant: stock rows in 002/004 whose quantities are all NULL.
    EXPECT_GT(
        count("FROM Artigos a WHERE ArtouDes=0 AND EXISTS (SELECT 1 FROM ArtArm s WHERE"
              " s.Artigo=a.Codigo AND s.Armazem IN ('002','004')) AND (SELECT sum(Existenc)"
              " FROM ArtArm s WHERE s.Artigo=a.Codigo AND s.Armazem IN ('002','004')) IS NULL"),
        0);
    // The article totals agree with the warehouse rows and the available stock.
    EXPECT_EQ(count("FROM Artigos a WHERE a.Codigo IN (SELECT Artigo FROM ArtArm) AND"
                    " a.TotEncCl < (SELECT sum(ArmEncCl) FROM ArtArm s WHERE s.Artigo=a.Codigo)"),
              0);

    // The default provisioning sums for this year: some articles add up to 0, one of them
    // without all four values being 0, and some sell less than is returned.
    const auto sums = db_.rows(
        "SELECT ar.Codigo,"
        " (SELECT coalesce(sum((abs(c.TpTerc-c.SinalCt)*2-1)*l.QtdOrig),0) FROM DOCGCCAB c"
        "  JOIN DOCGCLIN l ON l.TpDocum=c.TpDoc AND l.NNumDoc=c.NNumDoc AND l.Serie=c.Serie"
        "  AND l.Ano=c.Ano WHERE c.Data>='2026-01-01 00:00' AND c.Data<='2026-03-15 23:59'"
        "  AND c.nvias<>-1 AND c.AreaG=4 AND c.TpTerc=2 AND c.NatConta=1"
        "  AND l.Artigo=ar.Codigo) AS v,"
        " (SELECT coalesce(sum(Existenc),0) FROM ArtArm s WHERE s.Artigo=ar.Codigo AND"
        "  s.Armazem IN ('001','002')) AS e,"
        " (SELECT coalesce(sum(ArmEncCl),0) FROM ArtArm s WHERE s.Artigo=ar.Codigo AND"
        "  s.Armazem IN ('001','002')) AS cl,"
        " (SELECT coalesce(sum(ArmEncFo),0) FROM ArtArm s WHERE s.Artigo=ar.Codigo AND"
        "  s.Armazem IN ('001','002')) AS fo,"
        " CASE WHEN (SELECT coalesce(sum((abs(c.TpTerc-c.SinalCt)*2-1)*l.QtdOrig),0)"
        "  FROM DOCGCCAB c JOIN DOCGCLIN l ON l.TpDocum=c.TpDoc AND l.NNumDoc=c.NNumDoc"
        "  AND l.Serie=c.Serie AND l.Ano=c.Ano WHERE c.Data>='2026-01-01 00:00'"
        "  AND c.Data<='2026-03-15 23:59' AND c.nvias<>-1 AND c.AreaG=4 AND c.TpTerc=2"
        "  AND c.NatConta=1 AND l.Artigo=ar.Codigo) < 0 THEN 'neg' ELSE 'pos' END"
        " FROM Artigos ar WHERE ar.ArtouDes=0");
    int kept = 0, allZero = 0, zeroSum = 0, negative = 0;
    for (const std::string& row : sums) {
        std::vector<double> values;
        std::stringstream fields(row);
        std::string field;
        std::getline(fields, field, '|');
        for (int i = 0; i < 4 && std::getline(fields, field, '|'); ++i) {
            values.push_back(std::stod(field.substr(1)));
        }
        ASSERT_EQ(values.size(), 4u) << row;
        const double sum = values[0] + values[1] + values[2] + values[3];
        const bool zeros = values[0] == 0 && values[1] == 0 && values[2] == 0 && values[3] == 0;
        if (sum != 0) ++kept;
        if (zeros) ++allZero;
        if (sum == 0 && !zeros) ++zeroSum;
        if (row.find("neg|") != std::string::npos) ++negative;
    }
    EXPECT_GT(kept, 20);
    EXPECT_GT(allZero, 0);
    EXPECT_GT(zeroSum, 0);
    EXPECT_GT(negative, 0);
}

TEST_F(SampleContentTest, SerialNumbersMoveOnValidAndInvalidLines) {
    const std::string movementLine =
        "FROM NSerMovs m JOIN DOCGCLIN l ON l.TpDocum=m.TipDoc AND l.Serie=m.Serie AND"
        " l.NNumDoc=m.NumDoc AND l.Ano=m.Ano AND l.NumLinha=m.Linha JOIN DOCGCCAB c ON"
        " c.TpDoc=l.TpDocum AND c.Ano=l.Ano AND c.Serie=l.Serie AND c.NNumDoc=l.NNumDoc ";
    for (int stock : {1, 2}) {
        const std::string type = "WHERE m.TpfStck=" + std::to_string(stock);
        EXPECT_GT(count(movementLine + type + " AND c.nvias<>-1 AND l.Quant>0"), 0) << stock;
        EXPECT_GT(count(movementLine + type + " AND l.Quant=0"), 0) << stock;
    }
    EXPECT_GT(count(movementLine + "WHERE c.nvias=-1"), 0);
    EXPECT_GT(count("FROM NSerMovs m WHERE NOT EXISTS (SELECT 1 FROM DOCGCLIN l WHERE"
                    " l.TpDocum=m.TipDoc AND l.Serie=m.Serie AND l.NNumDoc=m.NumDoc AND"
                    " l.Ano=m.Ano AND l.NumLinha=m.Linha)"),
              0);

    // The replay of the first battery's valid movements, against its serials on record.
    const std::string valid = movementLine +
                              "WHERE m.Artigo='BAT90001' AND c.nvias<>-1 AND"
                              " l.Quant>0 AND m.TpfStck=";
    const auto replayed = db_.rows("SELECT m.Armazem, m.NumSer " + valid +
                                   "1 EXCEPT SELECT"
                                   " m.Armazem, m.NumSer " +
                                   valid + "2 ORDER BY 2");
    EXPECT_EQ(replayed.size(), 4u);
    EXPECT_EQ(count("FROM NserExis WHERE Artigo='BAT90001' AND NumSer IN (SELECT m.NumSer " +
                    valid + "1)"),
              4);
    EXPECT_EQ(count("FROM NserExis WHERE Artigo='BAT90001'"), 5);
    EXPECT_GT(count("FROM qor_ARM_picking_Movimentos WHERE TipoMov='T' AND"
                    " coalesce(NumeroSerie,'')=''"),
              0);
    EXPECT_GT(count("FROM qor_ARM_picking_Movimentos WHERE TipoMov<>'T'"), 0);
    EXPECT_GT(count("FROM qor_ARM_picking_Movimentos WHERE TipoMov='T' AND NumeroSerie>'' AND"
                    " Artigo NOT IN (SELECT Codigo FROM Artigos)"),
              0);
}

}  // namespace
}  // namespace talvers
