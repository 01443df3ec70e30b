#include "shell/settings/app_settings.h"

#include "shell/settings/password_codec.h"
#include "shell/settings/settings_error.h"
#include "shell/settings/settings_folder.h"

namespace talvers {
namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

Engine engineFrom(const SettingsFile& settings, std::string_view section) {
    const std::string motor = settings.text(section, "Motor");
    const std::string name = lowerAscii(motor);
    if (name.empty() || name == "sqlserver") return Engine::SqlServer;
    if (name == "sqlite") return Engine::Sqlite;
    throw SettingsError(SettingsErrorNumber::InvalidValue,
                        "Motor desconhecido em [" + std::string(section) + "]: \"" + motor +
                            "\" (valores possíveis: sqlserver, sqlite).");
}

// "Consultas": whether the reports send their lookups one key at a time.
bool perRowLookupsFrom(const SettingsFile& settings) {
    const std::string value = settings.text(kProgramSection, "Consultas");
    const std::string name = lowerAscii(value);
    if (name.empty() || name == "conjunto") return false;
    if (name == "linha") return true;
    throw SettingsError(SettingsErrorNumber::InvalidValue,
                        "Valor desconhecido de Consultas em [" + std::string(kProgramSection) +
                            "]: \"" + value + "\" (valores possíveis: conjunto, linha).");
}

ConnectionSettings connectionFrom(const SettingsFile& settings, std::string_view section,
                                  const std::filesystem::path& folder) {
    ConnectionSettings c;
    c.engine = engineFrom(settings, section);
    c.server = settings.text(section, "Servidor");
    c.database = settings.text(section, "Empresa");
    c.userName = settings.text(section, "Username");
    try {
        c.password = decodePassword(settings.text(section, "Password"));
    } catch (const SettingsError& e) {
        throw SettingsError(SettingsErrorNumber::InvalidValue,
                            "[" + std::string(section) + "] " + e.description());
    }
    c.driver = settings.text(section, "Driver");
    c.odbcOptions = settings.text(section, "OpcoesODBC");
    if (c.engine == Engine::Sqlite && !c.database.empty()) {
        const std::filesystem::path database(std::u8string(c.database.begin(), c.database.end()));
        c.database = pathText((folder / database).lexically_normal());
    }
    return c;
}

void addMissing(std::vector<std::string>& missing, std::string_view section,
                const ConnectionSettings& c) {
    for (const std::string& key : missingConnectionKeys(c))
        missing.push_back("[" + std::string(section) + "] " + key);
}

}  // namespace

AppSettings readAppSettings(const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(file, ec);
    if (ec) absolute = file;
    return appSettingsFrom(SettingsFile::load(absolute), absolute);
}

AppSettings appSettingsFrom(const SettingsFile& settings, const std::filesystem::path& file) {
    AppSettings result;
    result.file = file;
    result.main = connectionFrom(settings, kMainSection, file.parent_path());
    result.external = connectionFrom(settings, kExternalSection, file.parent_path());
    result.variantTaxpayer = settings.text(kProgramSection, "ContribuinteVariante");
    result.utilityEnabled = settings.text(kProgramSection, "Utilitario") == "1";
    result.perRowLookups = perRowLookupsFrom(settings);
    return result;
}

std::vector<std::string> missingConnectionKeys(const ConnectionSettings& c) {
    std::vector<std::string> missing;
    if (c.engine == Engine::SqlServer && c.server.empty()) missing.emplace_back("Servidor");
    if (c.database.empty()) missing.emplace_back("Empresa");
    if (c.engine == Engine::SqlServer && c.userName.empty()) missing.emplace_back("Username");
    return missing;
}

std::vector<std::string> missingKeys(const AppSettings& settings) {
    std::vector<std::string> missing;
    addMissing(missing, kMainSection, settings.main);
    addMissing(missing, kExternalSection, settings.external);
    return missing;
}

}  // namespace talvers
