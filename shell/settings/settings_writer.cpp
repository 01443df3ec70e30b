#include "shell/settings/settings_writer.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "shell/files/safe_replace.h"
#include "shell/files/stop_request.h"
#include "shell/settings/app_settings.h"
#include "shell/settings/password_codec.h"
#include "shell/settings/settings_error.h"
#include "shell/settings/settings_file.h"
#include "shell/settings/settings_folder.h"

namespace talvers {
namespace {

bool readsBackAsWritten(std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos) return false;
    if (value.find(" ;") != std::string_view::npos) return false;
    if (value.find("\t;") != std::string_view::npos) return false;
    if (value.empty()) return true;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !blank(value.front()) && !blank(value.back());
}

void addEntry(std::string& text, std::string_view section, std::string_view key,
              std::string_view value) {
    if (!readsBackAsWritten(value)) {
        throw SettingsError(SettingsErrorNumber::InvalidValue,
                            "[" + std::string(section) + "] " + std::string(key) +
                                ": o valor não pode ter quebras de linha, espaços nas pontas "
                                "nem espaço antes de ';'.");
    }
    text += key;
    text += '=';
    text += value;
    text += '\n';
}

void addConnection(std::string& text, std::string_view section, const ConnectionSettings& c) {
    text += "[" + std::string(section) + "]\n";
    addEntry(text, section, "Motor", c.engine == Engine::Sqlite ? "sqlite" : "sqlserver");
    addEntry(text, section, "Servidor", c.server);
    addEntry(text, section, "Empresa", c.database);
    addEntry(text, section, "Username", c.userName);
    addEntry(text, section, "Password", c.password.empty() ? "" : encodePassword(c.password));
    addEntry(text, section, "Driver", c.driver);
    addEntry(text, section, "OpcoesODBC", c.odbcOptions);
    if (c.encryption != Encryption::Default)
        addEntry(text, section, "Encriptacao", std::string(encryptionSettingText(c.encryption)));
}

}  // namespace

std::string settingsFileText(const ConnectionSettings& main, const ConnectionSettings& external,
                             const ProgramSettingsValues& program) {
    std::string text;
    addConnection(text, kMainSection, main);
    text += '\n';
    addConnection(text, kExternalSection, external);
    if (program.variantTaxpayer || program.utility || program.lookups || program.loginDeadline ||
        program.connectionDeadline || program.queryDeadline) {
        text += "\n[" + std::string(kProgramSection) + "]\n";
        if (program.variantTaxpayer) {
            addEntry(text, kProgramSection, "ContribuinteVariante", *program.variantTaxpayer);
        }
        if (program.utility) addEntry(text, kProgramSection, "Utilitario", *program.utility);
        if (program.lookups) addEntry(text, kProgramSection, "Consultas", *program.lookups);
        for (const auto& [key, value] : {std::pair{"PrazoLogin", &program.loginDeadline},
                                         std::pair{"PrazoLigacao", &program.connectionDeadline},
                                         std::pair{"PrazoConsulta", &program.queryDeadline}}) {
            if (*value) addEntry(text, kProgramSection, key, **value);
        }
    }
    return text;
}

ProgramSettingsValues programSettingsValues(const std::filesystem::path& file) {
    try {
        const SettingsFile previous = SettingsFile::load(file);
        return {previous.value(kProgramSection, "ContribuinteVariante"),
                previous.value(kProgramSection, "Utilitario"),
                previous.value(kProgramSection, "Consultas"),
                previous.value(kProgramSection, "PrazoLogin"),
                previous.value(kProgramSection, "PrazoLigacao"),
                previous.value(kProgramSection, "PrazoConsulta")};
    } catch (const SettingsError&) {
        return {};
    }
}

void writeSettingsFile(const std::filesystem::path& file, const ConnectionSettings& main,
                       const ConnectionSettings& external) {
    const std::string text = settingsFileText(main, external, programSettingsValues(file));
    const std::string name = pathText(file);
    try {
        // It holds the connections' passwords: readable by its owner alone, new or rewritten.
        SafeReplace replace(name, {}, ReplaceAccess::OwnerOnly);
        replace.write(text);
        std::vector<unsigned char> back(text.size());
        ByteSource& written = replace.contents();
        written.readAt(0, back.data(), back.size());
        if (written.size() != text.size() ||
            !std::equal(back.begin(), back.end(), text.begin(), [](unsigned char a, char b) {
                return a == static_cast<unsigned char>(b);
            })) {
            throw FileError(EIO, "Não foi possível gravar o ficheiro '" + name +
                                     "': o ficheiro gravado não ficou igual ao que foi escrito");
        }
        replace.commit();
    } catch (const StopRequested& stop) {
        throw SettingsError(SettingsErrorNumber::Unreadable,
                            "Não foi possível gravar o ficheiro de configuração " + name + ": " +
                                stop.description() + ".");
    } catch (const FileError& failure) {
        throw SettingsError(SettingsErrorNumber::Unreadable, failure.description() + ".");
    }
}

}  // namespace talvers
