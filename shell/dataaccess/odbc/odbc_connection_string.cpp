#include "shell/dataaccess/odbc/odbc_connection_string.h"

#include <algorithm>
#include <cctype>

namespace talvers {

namespace {

enum class DriverKind { SqlServer, FreeTds, Sqlite };

constexpr const char* kDefaultDriver =
#ifdef _WIN32
    "ODBC Driver 18 for SQL Server";
#else
    "FreeTDS";
#endif

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           }) != text.end();
}

// The driver is named either by its registered name or by its library's path
// (libtdsodbc.so, libsqlite3odbc.so), so both forms are recognised.
DriverKind driverKind(std::string_view driver) {
    if (containsIgnoringCase(driver, "sqlite")) return DriverKind::Sqlite;
    if (containsIgnoringCase(driver, "freetds") || containsIgnoringCase(driver, "tdsodbc")) {
        return DriverKind::FreeTds;
    }
    return DriverKind::SqlServer;
}

void appendAttribute(std::string& out, std::string_view key, std::string_view value) {
    if (!out.empty()) out += ';';
    out += key;
    out += '=';
    out += odbcAttributeValue(value);
}

}  // namespace

std::string odbcAttributeValue(std::string_view value) {
    const bool needsBraces = value.find_first_of(";{}") != std::string_view::npos ||
                             (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!needsBraces) return std::string(value);
    std::string out = "{";
    for (char c : value) {
        out += c;
        if (c == '}') out += '}';
    }
    out += '}';
    return out;
}

std::string buildOdbcConnectionString(const ConnectionSettings& settings) {
    const std::string driver = settings.driver.empty() ? kDefaultDriver : settings.driver;
    const DriverKind kind = driverKind(driver);
    std::string out;
    appendAttribute(out, "DRIVER", driver);
    if (kind == DriverKind::Sqlite) {
        appendAttribute(out, "Database", settings.database);
    } else {
        appendAttribute(out, "SERVER", settings.server);
        appendAttribute(out, "DATABASE", settings.database);
        if (!settings.userName.empty()) {
            appendAttribute(out, "UID", settings.userName);
            appendAttribute(out, "PWD", settings.password);
        }
        if (kind == DriverKind::FreeTds) {
            appendAttribute(out, "TDS_Version", "7.4");
            appendAttribute(out, "ClientCharset", "UTF-8");
        }
    }
    if (!settings.odbcOptions.empty()) {
        if (settings.odbcOptions.front() != ';') out += ';';
        out += settings.odbcOptions;
    }
    return out;
}

}  // namespace talvers
