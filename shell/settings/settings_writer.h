#pragma once
// Writes the settings file (Talvers.qor) from the configuration step: [Ligação] and
// [LigaçãoExterna] with Motor, Servidor, Empresa, Username, Password (stored encoded, see
// password_codec.h), Driver and OpcoesODBC, then [Talvers] with the values of
// ProgramSettingsValues the file held before, if any. The file is written as UTF-8 without a
// byte-order mark and replaces the previous one; other sections, keys and comments of the
// previous file are not kept.
#include <filesystem>
#include <optional>
#include <string>

#include "shell/dataaccess/connection_settings.h"

namespace talvers {

struct ProgramSettingsValues {
    std::optional<std::string> variantTaxpayer{};     // ContribuinteVariante
    std::optional<std::string> utility{};             // Utilitario
    std::optional<std::string> lookups{};             // Consultas
    std::optional<std::string> loginDeadline{};       // PrazoLogin
    std::optional<std::string> connectionDeadline{};  // PrazoLigacao
    std::optional<std::string> queryDeadline{};       // PrazoConsulta
};

// The file's text. Throws SettingsError (InvalidValue, naming section and key) for a value
// that would not read back as written: a line break, a blank before ';' (the rest would be
// a comment) or blanks at either end (they are dropped on reading).
std::string settingsFileText(const ConnectionSettings& main, const ConnectionSettings& external,
                             const ProgramSettingsValues& program);

// The [Talvers] values of `file`; none when it does not exist or cannot be read.
ProgramSettingsValues programSettingsValues(const std::filesystem::path& file);

// Writes settingsFileText(main, external, the previous file's [Talvers] values) to `file`.
// Throws SettingsError (InvalidValue as above; Unreadable when the file cannot be written).
void writeSettingsFile(const std::filesystem::path& file, const ConnectionSettings& main,
                       const ConnectionSettings& external);

}  // namespace talvers
