#include "shell/dataaccess/tracing_connection.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
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
}

void traceBeyondTheLimit(const std::string& file) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &small);
    struct Answering : Connection {
        Table runQuery(const std::string&) override { return Table(); }
        void runExecute(const std::string&) override {}
    };
    auto traced =
        withTrace(std::make_unique<Answering>(), "main", std::make_shared<SqlTrace>(file));
    try {
        traced->query("select '" + std::string(5000, 'x') + "'");
    } catch (const DatabaseError& e) {
        std::fprintf(stderr, "%s  %ld\n", e.description().c_str(), e.number());
        std::exit(0);
    }
    std::exit(1);
}

TEST(TracingConnection, AStatementThatRanButCouldNotBeTracedFails) {
    testing::TempDir dir;
    EXPECT_EXIT(traceBeyondTheLimit((dir / "registo.tsv").string()), ::testing::ExitedWithCode(0),
                "Não foi possível escrever o ficheiro de registo das instruções SQL "
                "\\(TALVERS_SQL_TRACE\\) \".*registo.tsv\": o ficheiro excede o tamanho "
                "permitido.  50011");
}

}  // namespace
}  // namespace talvers
