#include "tests/tds_double/batch_answerer.h"

#include <gtest/gtest.h>

#include "tests/support/erp_fixture.h"

namespace talvers {
namespace {

class BatchAnswererTest : public ::testing::Test {
  protected:
    BatchAnswerer answerer(const DoubleOptions& options) {
        return BatchAnswerer(catalogs_, options, "ERP");
    }
    static long errorOf(const BatchAnswer& answer) {
        return answer.error ? answer.error->number : 0;
    }
    testing::ErpFixture erp_;
    DoubleOptions options_;
    DoubleCatalogs catalogs_{{{"ERP", erp_.mainFile()}, {"EXT", erp_.externalFile()}}};
};

TEST_F(BatchAnswererTest, SetTextSizeChangesWhatLongTextsKeep) {
    BatchAnswerer a = answerer(options_);
    EXPECT_EQ(a.textSize(), 4096u);
    const struct {
        const char* batch;
        std::uint32_t size;
        long error;
    } cases[] = {{"SET TEXTSIZE 2147483647", 2147483647u, 0},
                 {"set textsize 10", 10u, 0},
                 {"SET ANSI_NULLS ON\nSET TEXTSIZE 0", 4096u, 0},  // 0: the default again
                 {"SET TEXTSIZE 2147483648", 4096u, 102},
                 {"SET TEXTSIZE -1", 4096u, 102},
                 {"SET NOCOUNT ON", 4096u, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(errorOf(a.answer(c.batch)), c.error) << c.batch;
        EXPECT_EQ(a.textSize(), c.size) << c.batch;
    }
}

TEST_F(BatchAnswererTest, FunctionsAreCreatedOncePerDatabaseAndKnownByTheirReturnType) {
    BatchAnswerer a = answerer(options_);
    const std::string create =
        " Create FUNCTION [dbo].[qor_LinhaParaString] ( @Artigo nvarchar (15) ) RETURNS "
        "NVARCHAR(4000) AS BEGIN RETURN @Artigo End ";
    EXPECT_EQ(errorOf(a.answer("select dbo.qor_LinhaParaString('A')")), 4121);
    EXPECT_EQ(errorOf(a.answer(create)), 0);
    EXPECT_EQ(errorOf(a.answer(create)), 2714);
    EXPECT_EQ(catalogs_.function("erp", "QOR_LINHAPARASTRING"),
              SqlServerType::parse("nvarchar(4000)"));
    const BatchAnswer called = a.answer("select dbo.qor_LinhaParaString('A') as k");
    ASSERT_EQ(errorOf(called), 0);
    EXPECT_EQ(called.columns.at(0).type, SqlServerType::parse("nvarchar(4000)"));
    // Another database has none; a connection there may create its own.
    BatchAnswerer other(catalogs_, options_, "EXT");
    EXPECT_EQ(errorOf(other.answer(create)), 0);
    for (const char* bad : {"CREATE FUNCTION f () RETURNS sometype AS BEGIN RETURN 1 END",
                            "CREATE FUNCTION g () RETURNS int"}) {
        EXPECT_EQ(errorOf(a.answer(bad)), 102) << bad;
    }
    EXPECT_EQ(errorOf(a.answer("ALTER FUNCTION h () RETURNS int AS BEGIN RETURN 1 END")), 208);
}

TEST_F(BatchAnswererTest, OlderServersRefuseTheJsonKeyTable) {
    const std::string json =
        "select k.n from (select CAST(j.[key] AS int) as n from OPENJSON('[[\"A\"]]') as j) as k";
    const std::string jsonValue = "select JSON_VALUE('[1]', '$[0]') as v";
    const struct {
        int level;
        int version;
        long openJson;
        long value;
    } cases[] = {{130, 13, 0, 0}, {129, 15, 208, 0}, {110, 12, 195, 195}, {150, 12, 195, 195}};
    for (const auto& c : cases) {
        DoubleOptions options;
        options.level = c.level;
        options.serverVersion = c.version;
        BatchAnswerer a = answerer(options);
        EXPECT_EQ(errorOf(a.answer(json)), c.openJson) << c.level << " " << c.version;
        EXPECT_EQ(errorOf(a.answer(jsonValue)), c.value) << c.level << " " << c.version;
    }
}

TEST_F(BatchAnswererTest, UseSwitchesToADatabaseTheServerHas) {
    BatchAnswerer a = answerer(options_);
    EXPECT_EQ(errorOf(a.answer("USE [NAOHA]")), 911);
    EXPECT_EQ(a.database(), "ERP");
    EXPECT_EQ(a.answer("use ext").newDatabase, "EXT");
    EXPECT_EQ(errorOf(a.answer("select Nome from Clientes")), 0);
    // The schemas know the main database's table; the external file has none.
    EXPECT_EQ(errorOf(a.answer("select Nome from Vendedor")), 208);
}

}  // namespace
}  // namespace talvers
