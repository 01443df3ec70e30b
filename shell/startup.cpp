#include "shell/startup.h"

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/text_utils.h"
#include "shell/dataaccess/tracing_connection.h"
#include "shell/settings/files_in_use.h"
#include "shell/sql_functions.h"
#include "version.h"

namespace talvers {
namespace {

void installIgnoringErrors(Connection& bd, const std::string& createSql) {
    try {
        bd.execute(createSql);
    } catch (const DatabaseError&) {
        // Already there (or built into the backend): the existing definition stays.
    }
}

}  // namespace

Session startUp(const AppSettings& settings, const ConnectionOpener& opener,
                const std::vector<std::filesystem::path>& outputs) {
    Session session;
    session.settings = settings;
    session.filesInUse = filesInUse(settings);
    // TALVERS_SQL_TRACE=FILE logs every statement of both connections for the administrator;
    // without it the connections are used as they are. It may not be a file the session reads
    // or writes, and no output may then replace it.
    std::vector<std::filesystem::path> notForTrace = session.filesInUse;
    notForTrace.insert(notForTrace.end(), outputs.begin(), outputs.end());
    const std::shared_ptr<SqlTrace> trace = sqlTraceFromEnvironment(notForTrace);
    if (trace) session.filesInUse.push_back(trace->path());
    session.bd = withTrace(opener(settings.main), "main", trace);
    session.bdExt = withTrace(opener(settings.external), "external", trace);
    installIgnoringErrors(*session.bd, createLinhaParaStringSql());
    installIgnoringErrors(*session.bd, createLinhaParaStringGuiaSql());
    session.versionText = programVersionText();
    const CompanyInfo company = readCompany(*session.bd, settings.variantTaxpayer);
    session.caption = company.caption;
    session.companyVariant = company.variant;
    return session;
}

std::string versionText(int major, int minor, int revision) {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

std::string programVersionText() {
    return versionText(TALVERS_VERSION_MAJOR, TALVERS_VERSION_MINOR, TALVERS_VERSION_PATCH);
}

CompanyInfo readCompany(Connection& bd, std::string_view variantTaxpayer) {
    const Table company = bd.query("SELECT NOME, NumContr FROM dbo.EMPRESA");
    CompanyInfo info;
    if (company.empty()) return info;
    info.caption = "[" + company.at(0, "NOME").toText() + "]";
    const std::string configured = trimBlanks(variantTaxpayer);
    info.variant =
        !configured.empty() && trimBlanks(company.at(0, "NumContr").toText()) == configured;
    return info;
}

std::string companyName(std::string_view caption) {
    if (caption.size() >= 2 && caption.front() == '[' && caption.back() == ']') {
        return std::string(caption.substr(1, caption.size() - 2));
    }
    return std::string(caption);
}

std::string startupFailureText(std::string_view description, long number) {
    return "Não foi possível iniciar o Talvers.\nErro: " + std::string(description) + "  " +
           std::to_string(number);
}

}  // namespace talvers
