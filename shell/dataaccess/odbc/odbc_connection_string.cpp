#include "shell/dataaccess/odbc/odbc_connection_string.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/odbc/odbc_default_driver.h"

namespace talvers {

namespace {

enum class DriverKind { SqlServer, FreeTds, Sqlite };

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

std::string driverOf(const ConnectionSettings& settings) {
    return settings.driver.empty() ? defaultOdbcDriver() : settings.driver;
}

void appendAttribute(std::string& out, const ConnectionSettings& settings, std::string_view key,
                     std::string_view value) {
    if (!out.empty()) out += ';';
    out += key;
    out += '=';
    out += odbcAttributeValue(settings, value);
}

// Whether the extra options set `key` themselves (the driver would otherwise get it twice, and
// drivers differ on which one counts).
bool optionsSet(std::string_view options, std::string_view key) {
    for (size_t start = 0; start < options.size();) {
        size_t end = options.find(';', start);
        if (end == std::string_view::npos) end = options.size();
        std::string_view entry = options.substr(start, end - start);
        entry = entry.substr(0, entry.find('='));
        while (!entry.empty() && entry.front() == ' ') entry.remove_prefix(1);
        while (!entry.empty() && entry.back() == ' ') entry.remove_suffix(1);
        if (entry.size() == key.size() && containsIgnoringCase(entry, key)) return true;
        start = end + 1;
    }
    return false;
}

// The encryption setting in the driver's own keys: FreeTDS's Encryption (request, require,
// off; it validates a certificate only when its configuration names the authorities' file),
// Microsoft's Encrypt and TrustServerCertificate.
void appendEncryption(std::string& out, const ConnectionSettings& settings, DriverKind kind) {
    const bool freeTds = kind == DriverKind::FreeTds;
    for (const char* key : {"Encryption", "Encrypt", "TrustServerCertificate"}) {
        if (optionsSet(settings.odbcOptions, key)) return;
    }
    switch (settings.encryption) {
        case Encryption::Default:
            if (freeTds) {
                appendAttribute(out, settings, "Encryption", "request");
            } else {
                // Every SQL Server can encrypt (it makes itself a certificate when it has none).
                appendAttribute(out, settings, "Encrypt", "yes");
                appendAttribute(out, settings, "TrustServerCertificate", "yes");
            }
            return;
        case Encryption::Required:
            if (freeTds) {
                appendAttribute(out, settings, "Encryption", "require");
            } else {
                appendAttribute(out, settings, "Encrypt", "yes");
                appendAttribute(out, settings, "TrustServerCertificate", "no");
            }
            return;
        case Encryption::Off:
            appendAttribute(out, settings, freeTds ? "Encryption" : "Encrypt",
                            freeTds ? "off" : "no");
            return;
    }
}

}  // namespace

std::string odbcAttributeValue(const ConnectionSettings& settings, std::string_view value) {
    const bool needsBraces =
        value.find_first_of(";}") != std::string_view::npos ||
        (!value.empty() && (value.front() == '{' || value.front() == ' ' || value.back() == ' '));
    if (!needsBraces) return std::string(value);
    const bool doubled = driverKind(driverOf(settings)) != DriverKind::FreeTds;
    std::string out = "{";
    for (char c : value) {
        out += c;
        if (c == '}' && doubled) out += '}';
    }
    out += '}';
    return out;
}

std::string unsendableValue(const ConnectionSettings& settings, std::string_view section) {
    if (driverKind(driverOf(settings)) != DriverKind::FreeTds) return {};
    const std::pair<const char*, const std::string*> values[] = {{"Servidor", &settings.server},
                                                                 {"Empresa", &settings.database},
                                                                 {"Username", &settings.userName},
                                                                 {"Password", &settings.password}};
    for (const auto& [key, value] : values) {
        if (value->find("};") != std::string::npos) {
            const std::string where =
                section.empty() ? std::string(key) : "[" + std::string(section) + "] " + key;
            return where +
                   ": o controlador FreeTDS não consegue transmitir o carácter ';' logo a seguir "
                   "a '}'; escolha um valor sem \"};\".";
        }
    }
    return {};
}

std::string buildOdbcConnectionString(const ConnectionSettings& settings) {
    if (const std::string why = unsendableValue(settings, ""); !why.empty()) {
        throw DatabaseError(0, why);
    }
    const std::string driver = driverOf(settings);
    const DriverKind kind = driverKind(driver);
    std::string out;
    appendAttribute(out, settings, "DRIVER", driver);
    if (kind == DriverKind::Sqlite) {
        appendAttribute(out, settings, "Database", settings.database);
    } else {
        appendAttribute(out, settings, "SERVER", settings.server);
        appendAttribute(out, settings, "DATABASE", settings.database);
        if (!settings.userName.empty()) {
            appendAttribute(out, settings, "UID", settings.userName);
            appendAttribute(out, settings, "PWD", settings.password);
        }
        // Last, and never braced: FreeTDS keeps the closing brace of a braced value that ends
        // the string.
        if (kind == DriverKind::FreeTds) {
            appendAttribute(out, settings, "TDS_Version", "7.4");
            appendAttribute(out, settings, "ClientCharset", "UTF-8");
        }
        appendEncryption(out, settings, kind);
    }
    if (!settings.odbcOptions.empty()) {
        if (settings.odbcOptions.front() != ';') out += ';';
        out += settings.odbcOptions;
    }
    return out;
}

}  // namespace talvers
