#include "shell/dataaccess/sqlite/sqlite_view_keys.h"

#include <sqlite3.h>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_error_text.h"

namespace talvers {
namespace {

std::string textOf(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<size_t>(sqlite3_column_bytes(statement, column)));
}

struct FinalizeOnExit {
    sqlite3_stmt* statement;
    ~FinalizeOnExit() { sqlite3_finalize(statement); }
};

}  // namespace

std::string SqliteViewKeys::folded(const std::string& text) {
    std::string out = text;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::unique_ptr<SqliteViewKeys> SqliteViewKeys::read(sqlite3* db, const std::string& view) {
    const std::string sql = "SELECT Artigo, Chave FROM " + view;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        throw sqliteFailure(db);
    }
    FinalizeOnExit finalize{statement};
    std::unique_ptr<SqliteViewKeys> keys(new SqliteViewKeys);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const int type = sqlite3_column_type(statement, 0);
        if (type == SQLITE_NULL) continue;  // equal to no argument
        if (type != SQLITE_TEXT) return nullptr;
        if (sqlite3_column_type(statement, 1) == SQLITE_NULL) continue;  // lists nothing
        const std::string article = textOf(statement, 0);
        std::string& joined = keys->keysOf_[article];
        if (!joined.empty()) joined += ", ";
        joined += textOf(statement, 1);
        const auto [group, fresh] = keys->byFolded_.try_emplace(folded(article), Group{article});
        if (!fresh && group->second.text != article) group->second.several = true;
    }
    if (rc != SQLITE_DONE) throw sqliteFailure(db);
    return keys;
}

std::optional<std::string> SqliteViewKeys::keysFor(sqlite3_value* article) const {
    const int type = sqlite3_value_type(article);
    if (type == SQLITE_NULL) return std::string();
    if (type != SQLITE_TEXT) return std::nullopt;
    const std::string text(reinterpret_cast<const char*>(sqlite3_value_text(article)),
                           static_cast<size_t>(sqlite3_value_bytes(article)));
    const auto group = byFolded_.find(folded(text));
    if (group == byFolded_.end()) return std::string();
    if (group->second.several || group->second.text != text) return std::nullopt;
    return keysOf_.at(text);
}

}  // namespace talvers
