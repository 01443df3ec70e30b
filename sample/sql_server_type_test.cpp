#include "sample/sql_server_type.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

TEST(SqlServerType, ReadsDeclarationsAsSqlServerWritesThem) {
    const struct {
        const char* declaration;
        const char* name;
        const char* sqlite;
    } cases[] = {
        {"int", "int", "INTEGER"},
        {"BIT", "bit", "INTEGER"},
        {"money", "money", "MONEY"},
        {"decimal(19, 4)", "decimal(19,4)", "DECIMAL(19,4)"},
        {"numeric(10)", "decimal(10,0)", "DECIMAL(10,0)"},
        {"decimal", "decimal(18,0)", "DECIMAL(18,0)"},
        {"decimal(38,38)", "decimal(38,38)", "DECIMAL(38,38)"},
        {"float", "float", "FLOAT"},
        {"datetime", "datetime", "DATETIME"},
        {"varchar(20)", "varchar(20)", "VARCHAR(20) COLLATE NOCASE"},
        {"varchar(8000)", "varchar(8000)", "VARCHAR(8000) COLLATE NOCASE"},
        {"nvarchar", "nvarchar(1)", "NVARCHAR(1) COLLATE NOCASE"},
        {"nvarchar(MAX)", "nvarchar(max)", "NVARCHAR COLLATE NOCASE"},
        {"nvarchar(4000)", "nvarchar(4000)", "NVARCHAR(4000) COLLATE NOCASE"},
        {"text", "text", "TEXT COLLATE NOCASE"},
        {"ntext", "ntext", "TEXT COLLATE NOCASE"},
    };
    for (const auto& c : cases) {
        const std::optional<SqlServerType> type = SqlServerType::parse(c.declaration);
        ASSERT_TRUE(type) << c.declaration;
        EXPECT_EQ(type->name(), c.name);
        EXPECT_EQ(type->sqliteDeclaration(), c.sqlite);
        EXPECT_EQ(SqlServerType::parse(type->name()), type) << c.name;
    }
    for (const char* bad : {"varchar(0)", "varchar(8001)", "nvarchar(4001)", "char(max)",
                            "decimal(39,1)", "decimal(5,6)", "decimal(0)", "int(4)", "text(10)",
                            "varchar(", "varchar(x)", "image", ""}) {
        EXPECT_FALSE(SqlServerType::parse(bad)) << bad;
    }
}

TEST(SqlServerType, AValueFitsWhereSqlServerWouldStoreIt) {
    const auto fits = [](const char* type, const Value& value) {
        return whyValueDoesNotFit(*SqlServerType::parse(type), value).empty();
    };
    EXPECT_TRUE(fits("smallint", Value(32767)));
    EXPECT_FALSE(fits("smallint", Value(32768)));
    EXPECT_TRUE(fits("smallint", Value(-32768)));
    EXPECT_FALSE(fits("smallint", Value(-32769)));
    EXPECT_TRUE(fits("bit", Value(1)));
    EXPECT_FALSE(fits("bit", Value(2)));
    EXPECT_FALSE(fits("int", Value(2.5)));
    EXPECT_TRUE(fits("decimal(18,3)", Value(Money::fromTicks(25000))));  // 2.5
    EXPECT_FALSE(fits("decimal(18,3)", Value(Money::fromTicks(25001))));
    EXPECT_TRUE(fits("decimal(5,2)", Value(Money::fromInteger(999))));
    EXPECT_FALSE(fits("decimal(5,2)", Value(Money::fromInteger(1000))));
    EXPECT_FALSE(fits("money", Value("muito")));
    EXPECT_TRUE(fits("varchar(4)", Value("ação")));
    EXPECT_FALSE(fits("varchar(3)", Value("ação")));
    EXPECT_FALSE(fits("varchar(10)", Value("Łódź")));
    EXPECT_TRUE(fits("nvarchar(10)", Value("Łódź")));
    EXPECT_TRUE(fits("text", Value(std::string(100000, 'x'))));
    EXPECT_TRUE(fits("datetime", Value(DateTime{1753, 1, 1})));
    EXPECT_FALSE(fits("datetime", Value(DateTime{1752, 12, 31})));
    EXPECT_FALSE(fits("datetime", Value("amanhã")));
    for (const char* type : {"int", "money", "varchar(1)", "datetime", "ntext"})
        EXPECT_TRUE(fits(type, Value())) << type;
}

}  // namespace
}  // namespace talvers
