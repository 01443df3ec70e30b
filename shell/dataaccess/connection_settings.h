#pragma once
// What it takes to open one connection, as read from the settings file.
#include <string>

namespace talvers {

enum class Engine { SqlServer, Sqlite };

struct ConnectionSettings {
    Engine engine = Engine::SqlServer;
    std::string server;    // SQL Server host[\instance][,port]
    std::string database;  // SQL Server database; for SQLite, the database file's path
    std::string userName;
    std::string password;     // already decoded
    std::string driver;       // ODBC driver name; empty: the platform default
    std::string odbcOptions;  // extra ODBC attributes appended as they are
};

}  // namespace talvers
