#pragma once
// Start-up: the steps every run takes before its first window or command.
//
// startUp() opens the main connection, then the external one (always: a wrong external
// setting shows at start, not in the middle of a report), installs qor_LinhaParaString and
// then qor_LinhaParaStringGuia on the main connection ignoring any DatabaseError (a function
// that exists already makes its CREATE fail, and on SQLite both are built in), builds the
// version text and reads the company's caption and variant flag. A connection that cannot be
// opened, and a failing company query, throw DatabaseError to the caller, which reports it
// with startupFailureText().
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/dataaccess/connection.h"
#include "shell/open_connection.h"
#include "shell/settings/app_settings.h"

namespace talvers {

using ConnectionOpener = std::function<std::unique_ptr<Connection>(const ConnectionSettings&)>;

struct Session {
    std::unique_ptr<Connection> bd;     // main connection
    std::unique_ptr<Connection> bdExt;  // external connection
    AppSettings settings;
    std::string caption;          // "[" + company name + "]", or "" without a company row
    bool companyVariant = false;  // the company's taxpayer number is the configured one
    std::string versionText;
    // The files the session works on, which no output may replace: the settings file, the
    // SQLite databases and their journals (files_in_use.h), and the statement trace.
    std::vector<std::filesystem::path> filesInUse;
};

// `outputs` are the files the run will write (a command's --output), which the statement
// trace may not be either.
Session startUp(const AppSettings& settings, const ConnectionOpener& opener = openConnection,
                const std::vector<std::filesystem::path>& outputs = {});

// "major.minor.revision" in plain decimals: 22, 2, 1 gives "22.2.1".
std::string versionText(int major, int minor, int revision);

// The program's own version text.
std::string programVersionText();

struct CompanyInfo {
    std::string caption;
    bool variant = false;
};

// Runs "SELECT NOME, NumContr FROM dbo.EMPRESA" on `bd`. The caption is "[" + NOME + "]" from
// the first row, or "" when there is none. The flag is true when that row's NumContr (as text,
// blanks trimmed) equals `variantTaxpayer` (trimmed); it is false without a row and when no
// taxpayer number is configured, so an empty NumContr never selects the variant.
CompanyInfo readCompany(Connection& bd, std::string_view variantTaxpayer);

// The company's name as the caption shows it between brackets ("[ACME LDA]" -> "ACME LDA").
std::string companyName(std::string_view caption);

// "Não foi possível iniciar o Talvers.", line feed, "Erro: ", description, two blanks, number.
std::string startupFailureText(std::string_view description, long number);

}  // namespace talvers
