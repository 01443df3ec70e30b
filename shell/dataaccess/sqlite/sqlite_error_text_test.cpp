#include "shell/dataaccess/sqlite/sqlite_error_text.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <functional>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

TEST(EngineErrorText, DescribesSqliteFailuresInPortugueseKeepingTheEngineText) {
    struct Case {
        int code;
        const char* engine;
        const char* expected;
    };
    const Case cases[] = {
        {SQLITE_ERROR, "no such table: AJUDACMP",
         "A base de dados não tem a tabela AJUDACMP (no such table: AJUDACMP)"},
        {SQLITE_ERROR, "no such column: Quant",
         "A base de dados não tem a coluna Quant (no such column: Quant)"},
        {SQLITE_CANTOPEN, "unable to open database file",
         "O ficheiro não existe ou não pode ser aberto (unable to open database file)"},
        {SQLITE_NOTADB, "file is not a database",
         "O ficheiro não é uma base de dados SQLite (file is not a database)"},
        {SQLITE_BUSY_SNAPSHOT, "database is locked",
         "A base de dados está bloqueada por outro programa (database is locked)"},
        {SQLITE_LOCKED, "database table is locked",
         "A base de dados está bloqueada por outro programa (database table is locked)"},
        {SQLITE_READONLY_DBMOVED, "attempt to write a readonly database",
         "A base de dados só pode ser lida (attempt to write a readonly database)"},
        {SQLITE_IOERR_READ, "disk I/O error",
         "Erro de leitura ou escrita no disco (disk I/O error)"},
        {SQLITE_CORRUPT, "database disk image is malformed",
         "A base de dados está danificada (database disk image is malformed)"},
        {SQLITE_ERROR, "near \"SELEC\": syntax error",
         "A instrução SQL tem um erro de sintaxe (near \"SELEC\": syntax error)"},
        {SQLITE_SCHEMA, "database schema has changed",
         "A base de dados SQLite comunicou um erro (database schema has changed)"},
    };
    for (const Case& c : cases) EXPECT_EQ(sqliteErrorText(c.code, c.engine), c.expected);
}

// The backend's own failures carry the Portuguese text and keep the engine's number.
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
    EXPECT_NE(error.description().find("O ficheiro não é uma base de dados SQLite (file is not a "
                                       "database)"),
              std::string::npos)
        << error.description();

    sqlite3* created = nullptr;
    sqlite3_open((dir / "vazia.db").c_str(), &created);
    sqlite3_exec(created, "CREATE TABLE Outra (x INTEGER)", nullptr, nullptr, nullptr);
    sqlite3_close(created);
    const auto db = SqliteConnection::open(dir / "vazia.db");
    error = errorOf([&] { db->query("SELECT Codigo FROM AJUDACMP"); });
    EXPECT_EQ(error.number(), SQLITE_ERROR);
    EXPECT_EQ(error.description(),
              "A base de dados não tem a tabela AJUDACMP (no such table: AJUDACMP)");
}

}  // namespace
}  // namespace talvers
