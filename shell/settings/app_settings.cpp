#include "shell/settings/app_settings.h"

#include "shell/platform/utf8_path.h"
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

Encryption encryptionFrom(const SettingsFile& settings, std::string_view section) {
    const std::string value = settings.text(section, "Encriptacao");
    std::string name = lowerAscii(value);
    for (const auto& [accented, plain] : {std::pair{"ó", "o"}, std::pair{"Ó", "o"}}) {
        for (size_t at; (at = name.find(accented)) != std::string::npos;)
            name.replace(at, std::string_view(accented).size(), plain);
    }
    if (name.empty()) return Encryption::Default;
    for (const Encryption e : {Encryption::Default, Encryption::Required, Encryption::Off}) {
        if (name == encryptionSettingText(e)) return e;
    }
    throw SettingsError(SettingsErrorNumber::InvalidValue,
                        "Valor desconhecido de Encriptacao em [" + std::string(section) + "]: \"" +
                            value + "\" (valores possíveis: predefinida, obrigatoria, desligada).");
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

// A deadline key of [Talvers]: `fallback` when empty, else a whole number of seconds within
// [least, most].
int secondsFrom(const SettingsFile& settings, std::string_view key, int fallback, int least,
                int most) {
    const std::string value = settings.text(kProgramSection, key);
    if (value.empty()) return fallback;
    long long seconds = 0;
    bool digits = value.size() <= 6;
    for (char c : value) {
        digits = digits && c >= '0' && c <= '9';
        if (digits) seconds = seconds * 10 + (c - '0');
    }
    if (!digits || seconds < least || seconds > most) {
        throw SettingsError(SettingsErrorNumber::InvalidValue,
                            "Valor inválido de " + std::string(key) + " em [" +
                                std::string(kProgramSection) + "]: \"" + value +
                                "\" (segundos, de " + std::to_string(least) + " a " +
                                std::to_string(most) + ").");
    }
    return static_cast<int>(seconds);
}

ConnectionDeadlines deadlinesFrom(const SettingsFile& settings) {
    ConnectionDeadlines d;
    d.loginSeconds = secondsFrom(settings, "PrazoLogin", d.loginSeconds, 1, 3600);
    d.connectionSeconds = secondsFrom(settings, "PrazoLigacao", d.connectionSeconds, 1, 3600);
    d.querySeconds = secondsFrom(settings, "PrazoConsulta", d.querySeconds, 0, 86400);
    return d;
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
    c.encryption = encryptionFrom(settings, section);
    if (c.engine == Engine::Sqlite && !c.database.empty()) {
        c.database = pathText((folder / pathFromUtf8(c.database)).lexically_normal());
    }
    return c;
}

void addMissing(std::vector<std::string>& missing, std::string_view section,
                const ConnectionSettings& c) {
    for (const std::string& key : missingConnectionKeys(c))
        missing.push_back("[" + std::string(section) + "] " + key);
}

}  // namespace

std::string_view encryptionSettingText(Encryption encryption) {
    switch (encryption) {
        case Encryption::Required:
            return "obrigatoria";
        case Encryption::Off:
            return "desligada";
        case Encryption::Default:
            break;
    }
    return "predefinida";
}

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
    result.main.deadlines = result.external.deadlines = deadlinesFrom(settings);
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
