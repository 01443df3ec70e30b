#include "tests/support/desktop/desktop_test_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <sstream>

#include "sample/erp_schema.h"

namespace talvers::testing {

void createErpFile(const std::filesystem::path& file, bool external, const std::string& rowsSql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.string().c_str(), &db), SQLITE_OK);
    const std::string sql =
        std::string(external ? erpExternalSchemaSql() : erpMainSchemaSql()) + rowsSql;
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message;
}

void writeFile(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    ASSERT_TRUE(out.good()) << file;
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string sqliteSettingsText(const std::string& mainFile, const std::string& externalFile,
                               const std::string& extra) {
    return "[Ligação]\nMotor=sqlite\nEmpresa=" + mainFile +
           "\n\n[LigaçãoExterna]\nMotor=sqlite\nEmpresa=" + externalFile + "\n\n" + extra;
}

}  // namespace talvers::testing
