#include "shell/open_connection.h"

#include "shell/dataaccess/odbc/odbc_connection.h"
#include "shell/dataaccess/odbc/odbc_connection_string.h"
#include "shell/dataaccess/odbc/odbc_encryption_failure.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "shell/platform/utf8_path.h"

namespace talvers {

std::unique_ptr<Connection> openConnection(const ConnectionSettings& settings) {
    // The settings' texts are UTF-8: a path made from one straight would read it in the Windows
    // ANSI code page.
    if (settings.engine == Engine::Sqlite) {
        return SqliteConnection::open(pathFromUtf8(settings.database));
    }
    try {
        return OdbcConnection::open(buildOdbcConnectionString(settings), settings.deadlines);
    } catch (const DatabaseError& e) {
        throw explainedEncryptionFailure(e, settings.encryption);
    }
}

}  // namespace talvers
