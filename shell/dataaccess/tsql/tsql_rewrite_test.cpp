#include "shell/dataaccess/tsql/tsql_rewrite.h"

#include <gtest/gtest.h>

#include "shell/dataaccess/database_error.h"

namespace talvers {
namespace {

// The description of the DatabaseError the rewrite throws, after checking its number.
std::string refusal(const std::string& tsql) {
    try {
        const std::string sqlite = rewriteTsqlForSqlite(tsql);
        ADD_FAILURE() << "accepted: " << tsql << " -> " << sqlite;
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.number(), kTsqlRewriteError);
        return error.description();
    }
    return {};
}

TEST(TsqlRewrite, ValuesTablesGetTheirColumnNamesAndWindowFunctionsPass) {
    EXPECT_EQ(rewriteTsqlForSqlite("select k.n from (values (1, N'A'), (2, 'B')) as k(n, Artigo)"),
              "select k.n from (SELECT column1 AS n , column2 AS Artigo FROM (values (1, 'A'), "
              "(2, 'B'))) as k");
    refusal("select * from (values (1, 'A')) as k");
    refusal("select * from (values (1, 'A'))");
    refusal("select * from (values (1)) as k(n, )");
    refusal("select * from (values (1)) as k(select)");
}

// A JSON key table: OPENJSON and JSON_VALUE become json_each and json_extract, the literal
// and the bracketed [key] column stay as they are, and the parts come out as sent.
TEST(TsqlRewrite, JsonKeyTablesUseSqlitesJsonFunctions) {
    const std::string keys =
        "(select CAST(j.[key] AS int) as n, CAST(JSON_VALUE(j.value, '$[0]') AS varchar(8000)) "
        "as Artigo, CAST(JSON_VALUE(j.value, '$[1]') AS bigint) as Ano from "
        "OPENJSON('[[\"O''Neil\",\"007\"],[\"x\\\"y\",\"-3\"]]') as j) as k";
    EXPECT_EQ(rewriteTsqlForSqlite("select k.n from " + keys),
              "select k.n from (select CAST(j.[key] AS int) as n, CAST(json_extract(j.value, "
              "'$[0]') AS varchar(8000)) as Artigo, CAST(json_extract(j.value, '$[1]') AS bigint) "
              "as Ano from json_each('[[\"O''Neil\",\"007\"],[\"x\\\"y\",\"-3\"]]') as j) "
              "as k");
    refusal("select x from OPENJSON('[]') with (x int) as j");
}

TEST(TsqlRewrite, TopBecomesLimitAtTheEndOfItsSelect) {
    EXPECT_EQ(rewriteTsqlForSqlite(" SELECT TOP (1) f.NOME FROM  AJUDACMP AS aj "
                                   " ORDER BY aj.DATA DESC "),
              " SELECT f.NOME FROM  AJUDACMP AS aj  ORDER BY aj.DATA DESC  LIMIT 1");
    EXPECT_EQ(rewriteTsqlForSqlite("select top 25 a from t order by a;"),
              "select a from t order by a LIMIT 25;");
    EXPECT_EQ(rewriteTsqlForSqlite("SELECT x, (SELECT TOP (1) y FROM u ORDER BY y) FROM t"),
              "SELECT x, (SELECT y FROM u ORDER BY y LIMIT 1) FROM t");
    EXPECT_NE(refusal("SELECT a FROM t WHERE b IN (SELECT x FROM u) TOP 1").find("TOP"),
              std::string::npos);
    refusal("SELECT TOP (1) PERCENT a FROM t ORDER BY a");
    refusal("SELECT TOP (x) a FROM t ORDER BY a");
    refusal("SELECT TOP (1) a FROM t UNION SELECT b FROM u");
}

TEST(TsqlRewrite, ConvertStyle102BecomesAnIsoDateText) {
    EXPECT_EQ(rewriteTsqlForSqlite(" and c.Data >= CONVERT(DATETIME, '2024-05-13', 102)"),
              " and c.Data >= '2024-05-13'");
    EXPECT_EQ(rewriteTsqlForSqlite("c.Data>=CONVERT(DATETIME, '2026-01-01 00:00', 102) and "
                                   "c.Data<=convert(datetime,'2026-12-07 23:59',102)"),
              "c.Data>='2026-01-01' and c.Data<='2026-12-07 23:59:00'");
    EXPECT_EQ(rewriteTsqlForSqlite("CONVERT(DATETIME, '2024.02.29 08:05:09', 102)"),
              "'2024-02-29 08:05:09'");
    for (const char* bad :
         {"CONVERT(DATETIME, '2023-02-29', 102)", "CONVERT(DATETIME, '2024-05-13 24:00', 102)",
          "CONVERT(DATETIME, '13-05-2024', 102)", "CONVERT(DATETIME, '2024-05-13', 103)",
          "CONVERT(varchar(10), x, 102)", "CONVERT(DATETIME, x, 102)",
          "CONVERT(DATETIME, '2024-05-13')", "CONVERT(DATETIME, '2024-05-13', 102) + 1"}) {
        refusal(bad);
    }
}

TEST(TsqlRewrite, EveryPlusOfATextChainBecomesConcatenation) {
    EXPECT_EQ(rewriteTsqlForSqlite(
                  " SELECT c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+CAST(c.NNumDoc "
                  "as nvarchar(10))+'/'+Cast(l.NUMLINHA as nvarchar(3)) as Doc,"),
              " SELECT c.TpDoc||'/'||CAST( c.Ano as nvarchar(4))||'/'||c.Serie||'/'||CAST(c."
              "NNumDoc as nvarchar(10))||'/'||Cast(l.NUMLINHA as nvarchar(3)) as Doc,");
    // The text operand may be anywhere in the chain, or inside a parenthesised text chain.
    EXPECT_EQ(rewriteTsqlForSqlite("a + b + CAST(x AS varchar(5))"),
              "a || b || CAST(x AS varchar(5))");
    EXPECT_EQ(rewriteTsqlForSqlite("x + (y + 'z'), u + v"), "x || (y || 'z'), u + v");
    EXPECT_EQ(rewriteTsqlForSqlite("coalesce(a,'') + b"), "coalesce(a,'') || b");
    EXPECT_EQ(rewriteTsqlForSqlite("dbo.qor_LinhaParaString(a) + b"),
              "qor_LinhaParaString(a) || b");
}

TEST(TsqlRewrite, NumericPlusStaysNumeric) {
    const std::string provisioning =
        " (select coalesce(sum(existenc),0) from ArtArm as aa where aa.Artigo=ar.Codigo) -"
        " (select coalesce(sum(ArmEncCl),0) from ArtArm as aa where aa.Artigo=ar.Codigo) +"
        " (select coalesce(sum(ArmEncFo),0) from ArtArm as aa where aa.Artigo=ar.Codigo) as "
        "Prazo,";
    EXPECT_EQ(rewriteTsqlForSqlite(provisioning), provisioning);
    const std::string alternate = "(Select sum(Existenc) from ArtArm)-ar.TotEncCl+ar.TotEncFo";
    EXPECT_EQ(rewriteTsqlForSqlite(alternate), alternate);
    EXPECT_EQ(rewriteTsqlForSqlite("-ar.TotEncCl+ar.TotEncFo"), "-ar.TotEncCl+ar.TotEncFo");
    // A text operand beside a comparison or a comma is another expression.
    EXPECT_EQ(rewriteTsqlForSqlite("a+1='x', b+2"), "a+1='x', b+2");
}

TEST(TsqlRewrite, TextMixedWithArithmeticIsRefused) {
    refusal("a - 'x' + b");
    refusal("'x' + 1");
    refusal("+'x' + b");
    refusal("'x' + count(a)");
}

TEST(TsqlRewrite, DboPrefixesAndNationalLiteralsAreDropped) {
    EXPECT_EQ(rewriteTsqlForSqlite(" select dbo.qor_LinhaParaString ('A1' ) as EncForn"),
              " select qor_LinhaParaString ('A1' ) as EncForn");
    EXPECT_EQ(rewriteTsqlForSqlite("SELECT x FROM [dbo].[Artigos], DBO.Fornec"),
              "SELECT x FROM [Artigos], Fornec");
    EXPECT_EQ(rewriteTsqlForSqlite("WHERE Nome = N'Ação'"), "WHERE Nome = 'Ação'");
}

TEST(TsqlRewrite, UnknownFunctionsAndStatementsAreRefused) {
    EXPECT_NE(refusal("SELECT GETDATE()").find("GETDATE"), std::string::npos);
    EXPECT_NE(refusal("SELECT ISNULL(a, 0) FROM t").find("ISNULL"), std::string::npos);
    EXPECT_NE(refusal("SELECT a FROM t WHERE b = @Artigo").find("@Artigo"), std::string::npos);
    refusal("SELECT a FROM t WITH (NOLOCK)");
    refusal("DECLARE x int");
    refusal("DROP TABLE t");
    refusal("SELECT CAST(a AS datetime) FROM t");
    refusal("SELECT a FROM t; SELECT b FROM u");
    refusal("SELECT (a FROM t");
    refusal("SELECT a) FROM t");
    refusal("SELECT 'open FROM t");
    refusal("SELECT a FROM t WHERE b = ?");
}

TEST(TsqlRewrite, TheFunctionCreateTextIsRefused) {
    const std::string create =
        std::string(" Create FUNCTION [dbo].[qor_LinhaParaString]") + " ( @Artigo nvarchar (15)" +
        " )" + " RETURNS NVARCHAR(4000)" + " AS" + " BEGIN" +
        " DECLARE @SubFamilias VARCHAR(4000)" +
        " SELECT @SubFamilias = COALESCE(@SubFamilias + ', ', '') + "
        "c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+CAST(c.NNumDoc as nvarchar(10))" +
        " FROM    DOCGCCAB as c" + " RETURN @SubFamilias" + " End ";
    refusal(create);
    refusal("CREATE TABLE t (a int)");
}

TEST(TsqlRewrite, LiteralsNamesAndUntouchedSyntaxStayByteIdentical) {
    for (const char* same :
         {"SELECT 'a+b TOP (1) dbo.x CONVERT(DATETIME, ''y'', 102) GETDATE()' AS [x+y] FROM t",
          "SELECT \"TOP\", [dbo x].y FROM t WHERE a = 'it''s'",
          " where   c.nvias<>-1 and c.areag=2 and l.quant>0 and [convert]<>-1 and l.ARTIGO >''",
          " (select coalesce(sum((ABS(c .TPTERC - c.SINALCT) * 2 - 1)*(l.QtdOrig)),0) from t)",
          " select cllx.Nome as 'CliLx' from qor_documentosexportados as delx ",
          "SELECT a -- a comment + 'x'\n FROM t /* TOP 1 */",
          "INSERT INTO t (a, b) VALUES (1, 'x')", "SELECT COD as 'Código',  Descr as Nome"}) {
        EXPECT_EQ(rewriteTsqlForSqlite(same), same);
    }
    EXPECT_EQ(rewriteTsqlForSqlite("SELECT 'a''+''b' + x"), "SELECT 'a''+''b' || x");
}

}  // namespace
}  // namespace talvers
