#pragma once
// DoubleCatalogs: the databases tds-double serves and what connections change in them, shared
// by every connection's thread. A database is a SQLite file; the functions a client creates
// with CREATE FUNCTION are kept here per database (SQLite's side has them built in), so a
// second CREATE of the same name fails with error 2714 as on SQL Server, across connections.
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sample/sql_server_type.h"

namespace talvers {

class DoubleCatalogs {
  public:
    explicit DoubleCatalogs(std::vector<std::pair<std::string, std::filesystem::path>> catalogs)
        : catalogs_(std::move(catalogs)) {}

    // The name as the server spells it and its file, for a name in any letter case;
    // nullopt for a database it does not have.
    std::optional<std::pair<std::string, std::filesystem::path>> find(
        const std::string& name) const;
    const std::string& defaultName() const { return catalogs_.front().first; }

    // Records a function; false when the database has one by that name already.
    bool createFunction(const std::string& catalog, const std::string& function,
                        const SqlServerType& returns);
    std::optional<SqlServerType> function(const std::string& catalog,
                                          const std::string& function) const;

  private:
    static std::string key(const std::string& catalog, const std::string& function);

    const std::vector<std::pair<std::string, std::filesystem::path>> catalogs_;
    mutable std::mutex mutex_;
    std::map<std::string, SqlServerType> functions_;
};

}  // namespace talvers
