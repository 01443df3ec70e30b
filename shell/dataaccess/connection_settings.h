#pragma once
// What it takes to open one connection, as read from the settings file.
#include <string>

namespace talvers {

enum class Engine { SqlServer, Sqlite };

// How long a connection may take, in seconds. The login deadline is the driver's own (it
// restarts whenever the server sends something); the connection deadline bounds the whole
// attempt however the server behaves. The query deadline bounds each statement; 0: none.
// They apply to SQL Server (ODBC); a SQLite file opens and answers locally.
struct ConnectionDeadlines {
    int loginSeconds = 15;
    int connectionSeconds = 30;
    int querySeconds = 0;
    bool operator==(const ConnectionDeadlines&) const = default;
};

// Whether the connection to SQL Server is encrypted (Encriptacao in the settings):
// - Default: encrypted when the server can, its certificate trusted without validation (an
//   on-premises server usually has a self-signed one);
// - Required: encrypted, the server's certificate validated; a server that cannot encrypt
//   is refused;
// - Off: not asked for (a server that demands it still gets it).
enum class Encryption { Default, Required, Off };

struct ConnectionSettings {
    Engine engine = Engine::SqlServer;
    std::string server;    // SQL Server host[\instance][,port]
    std::string database;  // SQL Server database; for SQLite, the database file's path
    std::string userName;
    std::string password;     // already decoded
    std::string driver;       // ODBC driver name; empty: the platform default
    std::string odbcOptions;  // extra ODBC attributes appended as they are
    Encryption encryption = Encryption::Default;
    ConnectionDeadlines deadlines;
};

}  // namespace talvers
