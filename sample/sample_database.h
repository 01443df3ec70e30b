#pragma once
// SampleDatabase: a new SQLite database file that the sample generator fills in one
// transaction. The constructor replaces whatever file has that name, runs the schema and
// opens the transaction; finish() commits, counts the rows of every table and closes the
// file. Dropping the object before finish() rolls back and closes. Failures throw
// std::runtime_error with a message for the user.
#include <filesystem>
#include <string>
#include <vector>

#include "sample/sample_insert.h"

struct sqlite3;

namespace talvers {

struct SampleTableCount {
    std::string table;
    long rows = 0;
};

class SampleDatabase {
  public:
    SampleDatabase(const std::filesystem::path& file, const char* schemaSql);
    ~SampleDatabase();
    SampleDatabase(const SampleDatabase&) = delete;
    SampleDatabase& operator=(const SampleDatabase&) = delete;

    // A prepared insert into this database; it must be dropped before finish().
    SampleInsert insert(const std::string& sql) { return SampleInsert(db_, sql); }
    // Commits, counts, gathers the planner's statistics (ANALYZE) and closes; returns the row
    // count of each table, in the schema's order.
    std::vector<SampleTableCount> finish();
    // Runs one statement (a view, an index); throws std::runtime_error on failure.
    void execute(const std::string& sql);

  private:
    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
};

}  // namespace talvers
