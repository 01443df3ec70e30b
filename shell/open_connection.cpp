#include "shell/open_connection.h"

#include "shell/dataaccess/odbc/odbc_connection.h"
#include "shell/dataaccess/odbc/odbc_connection_string.h"
#include "shell/dataaccess/odbc/odbc_encryption_failure.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"

namespace talvers {

std::unique_ptr<Connection> openConnection(const ConnectionSettings& settings) {
    if (settings.engine == Engine::Sqlite) return SqliteConnection::open(settings.database);
    try {
        return OdbcConnection::open(buildOdbcConnectionString(settings), settings.deadlines);
    } catch (const DatabaseError& e) {
        throw explainedEncryptionFailure(e, settings.encryption);
    }
}

}  // namespace talvers
