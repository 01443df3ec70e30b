#include "shell/dataaccess/tracing_connection.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sample/erp_schema.h"
#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "tests/support/erp_fixture.h"

namespace talvers {
namespace {

// Each statement is one line: time, connection, rows or "erro N", milliseconds, text on one
// line; a failing statement is traced and its error still reaches the caller.
TEST(TracingConnection, WritesOneLinePerStatementAndPassesFailuresOn) {
    testing::TempDir dir;
    testing::ErpFixture erp;
    const auto file = dir / "trace.tsv";
    auto trace = std::make_shared<SqlTrace>(file.string());
    struct Borrowed : Connection {
        explicit Borrowed(Connection& c) : inner(c) {}
        Table runQuery(const std::string& sql) override { return inner.query(sql); }
        void runExecute(const std::string& sql) override { inner.execute(sql); }
        Connection& inner;
    };
    auto traced = withTrace(std::make_unique<Borrowed>(erp.bd()), "main", trace);
    EXPECT_EQ(traced->query("select 1 as a\nunion all select 2").rowCount(), 2u);
    EXPECT_THROW(traced->query("select * from NaoExiste"), DatabaseError);

    std::vector<std::vector<std::string>> lines;
    std::string line;
    std::istringstream text(testing::fileBytes(file));
    while (std::getline(text, line)) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        lines.push_back(fields);
    }
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][1], "main");
    EXPECT_EQ(lines[0][2], "2 linhas");
    EXPECT_EQ(lines[0][4], "select 1 as a\\nunion all select 2");
    EXPECT_EQ(lines[1][2].rfind("erro ", 0), 0u);
    EXPECT_EQ(withTrace(std::make_unique<Borrowed>(erp.bd()), "main", nullptr)->queriesSent(), 0);
    EXPECT_THROW(SqlTrace((dir / "sem" / "pasta.tsv").string()), DatabaseError);
}

}  // namespace
}  // namespace talvers
