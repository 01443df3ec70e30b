#pragma once
// ODBC connection strings built from a connection's settings. The keys follow the driver:
// - SQL Server drivers: DRIVER, SERVER (host[\instance][,port] as the settings write it; both
//   FreeTDS and Microsoft's driver read the ",port" form), DATABASE, and UID/PWD when a user
//   name is given (without one, integrated login can be asked for through the extra options).
//   FreeTDS also gets ClientCharset=UTF-8 (its default, ISO-8859-1, turns what does not fit
//   into '?') and TDS_Version=7.4, the protocol SQL Server 2012 and later speak (older servers
//   answer with their own). Not "auto": FreeTDS 1.3 then falls back to the Sybase protocol
//   after a login timeout and, against a server that accepts the connection but never
//   answers, never returns.
//   Then the encryption setting, in FreeTDS's key (Encryption=request, require or off) or in
//   Microsoft's (Encrypt and TrustServerCertificate), unless the extra options set one of
//   those keys themselves.
// - The SQLite ODBC driver (a driver name or library path containing "sqlite"), used to run
//   the ODBC path without a server: DRIVER and Database=<settings.database, the file's path>.
// The settings' extra ODBC options come last, as written, so that they override the above.
// An empty driver means the platform's default: FreeTDS, or Microsoft's driver on Windows.
#include <string>
#include <string_view>

#include "shell/dataaccess/connection_settings.h"

namespace talvers {

// Throws DatabaseError with unsendableValue()'s text when a value cannot reach the driver.
std::string buildOdbcConnectionString(const ConnectionSettings& settings);

// An attribute value as written into a connection string for the driver the settings name.
// Plain when it holds no ';' or '}' and neither begins with '{' nor begins or ends with a
// blank (which drivers would otherwise cut or trim); otherwise in braces, where the ODBC rule
// doubles each '}' — but FreeTDS ends a braced value at the first "};" and reads "}}" as
// two braces, so for FreeTDS the value goes in braces as it is.
std::string odbcAttributeValue(const ConnectionSettings& settings, std::string_view value);

// Why a server, database, user name or password cannot reach the driver the settings name
// intact, or "" when they all can: FreeTDS cannot carry a '}' followed by ';', which would
// end the value early. `section` names the settings section in the text ("": none).
std::string unsendableValue(const ConnectionSettings& settings, std::string_view section);

}  // namespace talvers
