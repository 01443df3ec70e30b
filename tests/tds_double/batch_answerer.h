#pragma once
// BatchAnswerer: what SQL Server would answer one SQL batch, decided on one connection's
// behalf before anything is sent:
// - SET statements are taken (SET TEXTSIZE changes how much of a long text is sent);
// - USE switches the database;
// - CREATE FUNCTION records the function in the database (error 2714 when it has one by
//   that name), since the SQLite backend provides the program's two functions itself;
// - a SELECT is refused as the server's version and compatibility level would refuse it
//   (OPENJSON below level 130: 208; the JSON functions before SQL Server 2016: 195), typed
//   from the ERP's schema (select_typer.h) and run on the database's SQLite file through the
//   program's own SQLite connection (the T-SQL rewrite);
// - other statements run there without a result.
// Failures come back as SQL Server's messages (number, state, class), never as exceptions.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "shell/dataaccess/table.h"
#include "tests/tds_double/double_catalogs.h"
#include "tests/tds_double/double_options.h"
#include "tests/tds_double/tds_token_writer.h"

namespace talvers {

struct BatchAnswer {
    std::optional<ServerMessage> error;
    std::vector<TdsColumn> columns;  // empty: no result set
    Table rows;
    std::optional<std::string> newDatabase;  // after USE
};

class BatchAnswerer {
  public:
    BatchAnswerer(DoubleCatalogs& catalogs, const DoubleOptions& options, std::string database)
        : catalogs_(catalogs), options_(options), database_(std::move(database)) {}

    BatchAnswer answer(const std::string& batch);
    const std::string& database() const { return database_; }
    std::uint32_t textSize() const { return textSize_; }

  private:
    BatchAnswer set(const std::vector<std::string>& words);
    BatchAnswer use(const std::string& name);
    BatchAnswer createFunction(const std::string& batch);
    BatchAnswer select(const std::string& batch);
    BatchAnswer other(const std::string& batch);
    SqliteConnection& connection();

    DoubleCatalogs& catalogs_;
    const DoubleOptions& options_;
    std::string database_;
    // The default a server uses when the client sets none: 4 KB.
    std::uint32_t textSize_ = 4096;
    std::string openDatabase_;
    std::unique_ptr<SqliteConnection> connection_;
};

}  // namespace talvers
