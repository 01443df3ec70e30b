#pragma once
// AppSettings: what the settings file (Talvers.qor) configures.
//
//   [Ligação]          main connection        [LigaçãoExterna]   external connection
//     Motor       sqlserver (default) or sqlite, letter case ignored
//     Servidor    SQL Server host[\instance][,port]
//     Empresa     database; with Motor=sqlite the database file, a relative path being
//                 relative to the settings file's folder
//     Username, Password (stored encoded, see password_codec.h), Driver, OpcoesODBC
//     Encriptacao  predefinida (default: encrypted when the server can, its certificate
//                  trusted), obrigatoria (encrypted, the certificate validated) or desligada;
//                  letter case and accents ignored
//   [Talvers]
//     ContribuinteVariante   the taxpayer number that selects the company variant
//     Utilitario             1 switches the utility menu item on
//     Consultas              conjunto (default): lookups set-based, a statement per chunk of
//                            keys; linha: one statement per key, for a server that refuses
//                            the set-based statements
//     PrazoLogin             seconds the server has to answer the login (1 to 3600, default
//                            15), PrazoLigacao for the whole connection (1 to 3600, default
//                            30), PrazoConsulta for each statement (0 to 86400, default 0:
//                            none); the same for both connections
//
// Missing sections and keys read as empty; whether that is enough to connect is
// missingKeys()'s question, so the desktop can run its configuration step instead of failing.
#include <filesystem>
#include <string>
#include <vector>

#include "shell/dataaccess/connection_settings.h"
#include "shell/settings/settings_file.h"

namespace talvers {

inline constexpr std::string_view kMainSection = "Ligação";
inline constexpr std::string_view kExternalSection = "LigaçãoExterna";
inline constexpr std::string_view kProgramSection = "Talvers";

struct AppSettings {
    ConnectionSettings main;
    ConnectionSettings external;
    std::string variantTaxpayer;
    bool utilityEnabled = false;
    bool perRowLookups = false;  // Consultas=linha
    std::filesystem::path file;  // absolute path of the file they were read from
};

// The Encriptacao value of a setting as the file writes it: "predefinida", "obrigatoria",
// "desligada".
std::string_view encryptionSettingText(Encryption encryption);

// Reads `file` (relative paths against the working folder). Throws SettingsError when the
// file cannot be read (Unreadable), when a Motor value is neither sqlserver nor sqlite, an
// Encriptacao value is none of its three, a
// Password is malformed or a deadline is no whole number in its range (InvalidValue; the
// message names the section and the value).
AppSettings readAppSettings(const std::filesystem::path& file);

// The same from an already parsed file; `file` anchors relative SQLite paths.
AppSettings appSettingsFrom(const SettingsFile& settings, const std::filesystem::path& file);

// The keys the chosen engines need that are empty, as "[Ligação] Username": Servidor, Empresa
// and Username for SQL Server, Empresa for SQLite; main section first. Empty: complete.
std::vector<std::string> missingKeys(const AppSettings& settings);

// The same rule for one connection: the keys ("Servidor", "Empresa", "Username") its engine
// needs that are empty, in that order.
std::vector<std::string> missingConnectionKeys(const ConnectionSettings& connection);

}  // namespace talvers
