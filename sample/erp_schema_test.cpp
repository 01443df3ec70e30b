#include "sample/erp_schema.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace talvers {
namespace {

TEST(ErpSchema, ReadsTheTsqlAndWritesTheSqliteThatKeepsItsValues) {
    const ErpSchema schema = parseErpSchema(
        "CREATE TABLE dbo.[Linhas] (Doc varchar(5) NOT NULL, [convert] smallint NULL,\n"
        "  Quant decimal(18,3), Ativo bit NOT NULL DEFAULT 0, Obs ntext,"
        "  PRIMARY KEY (Doc, [convert]));\n"
        "CREATE INDEX Linhas_Quant ON dbo.Linhas (Quant);");
    ASSERT_EQ(schema.tables.size(), 1u);
    const ErpTable& t = schema.tables[0];
    EXPECT_EQ(t.name, "Linhas");
    EXPECT_EQ(t.primaryKey, (std::vector<std::string>{"Doc", "convert"}));
    ASSERT_NE(schema.table("[DBO].LINHAS"), nullptr);
    EXPECT_EQ(schema.table("Outra"), nullptr);
    ASSERT_NE(t.column("QUANT"), nullptr);
    EXPECT_EQ(t.column("Quant")->type, SqlServerType::decimal(18, 3));
    EXPECT_TRUE(t.column("Doc")->notNull);
    EXPECT_FALSE(t.column("convert")->notNull);
    EXPECT_EQ(sqliteSchemaSql(schema),
              "CREATE TABLE Linhas (Doc VARCHAR(5) COLLATE NOCASE, [convert] INTEGER, "
              "Quant DECIMAL(18,3), Ativo INTEGER NOT NULL DEFAULT 0, Obs TEXT COLLATE NOCASE, "
              "PRIMARY KEY (Doc, convert));\n"
              "CREATE INDEX Linhas_Quant ON Linhas (Quant);\n");
}

TEST(ErpSchema, RefusesWhatItDoesNotKnow) {
    for (const char* bad :
         {"CREATE TABLE t (a geography);", "CREATE TABLE t (a int)", "CREATE VIEW v AS SELECT 1;",
          "CREATE TABLE t (a int NOT);", "CREATE INDEX i ON t a;"}) {
        EXPECT_THROW(parseErpSchema(bad), std::invalid_argument) << bad;
    }
}

// Every column of the program's statements reads as a type the double can send.
TEST(ErpSchema, TheErpsOwnSchemasAreRead) {
    EXPECT_NE(erpMainSchema().table("DOCGCLIN"), nullptr);
    EXPECT_EQ(erpMainSchema().table("Artigos")->column("TotEncCl")->type.kind,
              SqlServerKind::Money);
    EXPECT_EQ(erpMainSchema().table("U_DocGCLin0")->column("OBS")->type.length,
              SqlServerType::kMax);
    EXPECT_NE(erpExternalSchema().table("qor_documentosexportados"), nullptr);
    EXPECT_NE(std::string(erpMainSchemaSql()).find("CREATE TABLE DOCGCLIN ("), std::string::npos);
}

}  // namespace
}  // namespace talvers
