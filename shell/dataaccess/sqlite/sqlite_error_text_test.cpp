#include "shell/dataaccess/sqlite/sqlite_error_text.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <functional>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "shell/platform/utf8_path.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

TEST(EngineErrorText, DescribesSqliteFailuresInOnePortugueseSentence) {
    struct Case {
        int code;
        const char* engine;
        const char* expected;
    };
    const Case cases[] = {
        {SQLITE_ERROR, "no such table: AJUDACMP", "A base de dados não tem a tabela AJUDACMP."},
        {SQLITE_ERROR, "no such column: Quant", "A base de dados não tem a coluna Quant."},
        {SQLITE_CANTOPEN, "unable to open database file",
         "O ficheiro não existe ou não pode ser aberto."},
        {SQLITE_NOTADB, "file is not a database", "O ficheiro não é uma base de dados SQLite."},
        {SQLITE_BUSY_SNAPSHOT, "database is locked",
         "A base de dados está bloqueada por outro programa."},
        {SQLITE_LOCKED, "database table is locked",
         "A base de dados está bloqueada por outro programa."},
        {SQLITE_READONLY_DBMOVED, "attempt to write a readonly database",
         "A base de dados só pode ser lida."},
        {SQLITE_IOERR_READ, "disk I/O error", "Erro de leitura ou escrita no disco."},
        {SQLITE_CORRUPT, "database disk image is malformed", "A base de dados está danificada."},
        {SQLITE_ERROR, "near \"SELEC\": syntax error", "A instrução SQL tem um erro de sintaxe."},
        {SQLITE_SCHEMA, "database schema has changed", "A base de dados SQLite comunicou um erro."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sqliteErrorText(c.code, c.engine), c.expected);
        // The engine's words go apart, to the details.
        const DatabaseError error = sqliteFailure(c.code, c.engine);
        EXPECT_EQ(error.description(), c.expected);
        EXPECT_EQ(error.details(), c.engine);
        EXPECT_EQ(error.number(), c.code);
    }
}

// The backend's own failures carry the Portuguese sentence, the engine's text apart and the
// engine's number.
TEST(EngineErrorText, SqliteBackendFailuresArriveInPortuguese) {
    const talvers::testing::TempDir dir;
    std::ofstream(dir / "texto.db") << "isto não é uma base de dados, mas um texto bem comprido"
                                       " que ocupa mais do que o cabeçalho de cem bytes ...";
    const auto errorOf = [](const std::function<void()>& action) {
        try {
            action();
        } catch (const DatabaseError& e) {
            return e;
        }
        ADD_FAILURE() << "no DatabaseError";
        return DatabaseError(0, "");
    };
    DatabaseError error = errorOf([&] { SqliteConnection::open(dir / "texto.db"); });
    EXPECT_EQ(error.number(), SQLITE_NOTADB);
    EXPECT_EQ(error.description(), "Não foi possível abrir a base de dados SQLite \"" +
                                       utf8FromPath(dir / "texto.db") +
                                       "\": o ficheiro não é uma base de dados SQLite.");
    EXPECT_EQ(error.details(), "file is not a database");

    sqlite3* created = nullptr;
    sqlite3_open(utf8FromPath(dir / "vazia.db").c_str(), &created);
    sqlite3_exec(created, "CREATE TABLE Outra (x INTEGER)", nullptr, nullptr, nullptr);
    sqlite3_close(created);
    const auto db = SqliteConnection::open(dir / "vazia.db");
    error = errorOf([&] { db->query("SELECT Codigo FROM AJUDACMP"); });
    EXPECT_EQ(error.number(), SQLITE_ERROR);
    EXPECT_EQ(error.description(), "A base de dados não tem a tabela AJUDACMP.");
    EXPECT_EQ(error.details(), "no such table: AJUDACMP");

    // A database whose pages are damaged after it opened: the message names its file; a
    // statement's own fault names none.
    sqlite3* big = nullptr;
    sqlite3_open(utf8FromPath(dir / "danificada.db").c_str(), &big);
    sqlite3_exec(big,
                 "CREATE TABLE T (x TEXT); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 "
                 "FROM n WHERE i < 2000) INSERT INTO T SELECT printf('%0100d', i) FROM n;",
                 nullptr, nullptr, nullptr);
    sqlite3_close(big);
    const auto damaged = SqliteConnection::open(dir / "danificada.db");
    {
        std::fstream file(dir / "danificada.db", std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4096 * 3);
        file << std::string(8192, '\xff');
    }
    error = errorOf([&] { damaged->query("SELECT count(*) FROM T WHERE x LIKE '%7%'"); });
    EXPECT_EQ(error.number() & 0xff, SQLITE_CORRUPT);
    EXPECT_EQ(error.description(), "A base de dados está danificada. Ficheiro: \"" +
                                       (dir / "danificada.db").string() + "\".");
    EXPECT_TRUE(isFileFailure(SQLITE_IOERR_READ));
    EXPECT_FALSE(isFileFailure(SQLITE_ERROR));
}

}  // namespace
}  // namespace talvers
