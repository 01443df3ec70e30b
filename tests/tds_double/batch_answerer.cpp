#include "tests/tds_double/batch_answerer.h"

#include <cctype>

#include "sample/erp_schema.h"
#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/text_utils.h"
#include "shell/dataaccess/tsql/tsql_tokenizer.h"
#include "tests/tds_double/select_typer.h"

namespace talvers {
namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The batch's words and symbols, lower case, without brackets; blanks, line ends and
// comments dropped. Enough to tell the statement's kind and read SET, USE and CREATE
// FUNCTION, whose bodies the tokenizer of the SQLite rewrite refuses (@variables).
std::vector<std::string> words(const std::string& batch) {
    std::vector<std::string> out;
    std::string word;
    const auto flush = [&] {
        if (!word.empty()) out.push_back(lower(word));
        word.clear();
    };
    for (std::size_t i = 0; i < batch.size(); ++i) {
        const char c = batch[i];
        if (c == '-' && i + 1 < batch.size() && batch[i + 1] == '-') {
            flush();
            while (i < batch.size() && batch[i] != '\n') ++i;
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '@' ||
                   (c & 0x80)) {
            word += c;
        } else if (c == '[' || c == ']') {
            continue;
        } else {
            flush();
            if (!std::isspace(static_cast<unsigned char>(c))) out.emplace_back(1, c);
        }
    }
    flush();
    return out;
}

ServerMessage syntaxError(const std::string& near) {
    return {102, 1, 15, "Incorrect syntax near '" + near + "'."};
}

BatchAnswer failure(ServerMessage message) {
    BatchAnswer answer;
    answer.error = std::move(message);
    return answer;
}

// SQLite's and the rewrite's failures in SQL Server's words.
ServerMessage serverMessage(const DatabaseError& e) {
    const std::string& engine = e.details();
    const auto nameAfter = [&](const std::string& prefix) {
        std::string name = engine.substr(engine.find(prefix) + prefix.size());
        return name.substr(0, name.find_first_of(" \n"));
    };
    if (engine.find("no such table: ") != std::string::npos)
        return {208, 1, 16, "Invalid object name '" + nameAfter("no such table: ") + "'."};
    if (engine.find("no such column: ") != std::string::npos)
        return {207, 1, 16, "Invalid column name '" + nameAfter("no such column: ") + "'."};
    if (engine.find("syntax error") != std::string::npos) {
        const std::size_t quote = engine.find('"');
        const std::string near =
            quote == std::string::npos
                ? ""
                : engine.substr(quote + 1, engine.find('"', quote + 1) - quote - 1);
        return syntaxError(near);
    }
    if (e.number() == kTsqlRewriteError)
        return {102, 1, 15, "Incorrect syntax: " + e.description()};
    return {50000, 1, 16, "tds-double: " + e.description() + (engine.empty() ? "" : " " + engine)};
}

}  // namespace

BatchAnswer BatchAnswerer::answer(const std::string& batch) {
    const std::vector<std::string> w = words(batch);
    if (w.empty()) return {};
    if (w[0] == "set") return set(w);
    if (w[0] == "use" && w.size() >= 2) return use(w[1]);
    if (w.size() >= 2 && (w[0] == "create" || w[0] == "alter") && w[1] == "function")
        return createFunction(batch);
    if (w[0] == "select") return select(batch);
    if (w[0] == "insert" || w[0] == "update" || w[0] == "delete" || w[0] == "create" ||
        w[0] == "drop") {
        return other(batch);
    }
    return failure(syntaxError(w[0]));
}

BatchAnswer BatchAnswerer::set(const std::vector<std::string>& w) {
    // One or more SET statements; only TEXTSIZE changes what the double does.
    for (std::size_t i = 0; i + 2 < w.size(); ++i) {
        if (w[i] != "set" || w[i + 1] != "textsize") continue;
        const std::string& value = w[i + 2];
        long long size = 0;
        for (const char c : value) {
            if (c < '0' || c > '9' || size > 2147483647) return failure(syntaxError(value));
            size = size * 10 + (c - '0');
        }
        if (size > 2147483647) return failure(syntaxError(value));
        // 0 brings the default back.
        textSize_ = size == 0 ? 4096u : static_cast<std::uint32_t>(size);
    }
    return {};
}

BatchAnswer BatchAnswerer::use(const std::string& name) {
    const auto catalog = catalogs_.find(name);
    if (!catalog) {
        return failure({911, 1, 16,
                        "Database '" + name +
                            "' does not exist. Make sure that the name is entered "
                            "correctly."});
    }
    BatchAnswer answer;
    answer.newDatabase = catalog->first;
    database_ = catalog->first;
    return answer;
}

BatchAnswer BatchAnswerer::createFunction(const std::string& batch) {
    const std::vector<std::string> w = words(batch);
    // CREATE FUNCTION [dbo].[name] ( params ) RETURNS type AS BEGIN ... END
    std::size_t at = 2;
    if (at + 1 < w.size() && w[at] == "dbo" && w[at + 1] == ".") at += 2;
    if (at >= w.size()) return failure(syntaxError("FUNCTION"));
    const std::string name = w[at];
    std::size_t returns = at;
    while (returns < w.size() && w[returns] != "returns") ++returns;
    std::string typeText;
    for (std::size_t i = returns + 1; i < w.size() && w[i] != "as"; ++i) typeText += w[i];
    const std::optional<SqlServerType> type = SqlServerType::parse(typeText);
    if (returns >= w.size() || !type) return failure(syntaxError(typeText));
    const bool hasBody = std::find(w.begin(), w.end(), "begin") != w.end() &&
                         std::find(w.begin(), w.end(), "return") != w.end();
    if (!hasBody) return failure(syntaxError("AS"));
    if (w[0] == "alter") {
        if (!catalogs_.function(database_, name))
            return failure({208, 1, 16, "Invalid object name '" + name + "'."});
        return {};
    }
    if (!catalogs_.createFunction(database_, name, *type)) {
        return failure(
            {2714, 3, 16, "There is already an object named '" + name + "' in the database."});
    }
    return {};
}

BatchAnswer BatchAnswerer::select(const std::string& batch) {
    std::vector<TsqlToken> tokens;
    try {
        tokens = tokenizeTsql(batch);
    } catch (const DatabaseError& e) {
        return failure(serverMessage(e));
    }
    // A function call is a word followed by "(" (blanks between allowed).
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != TsqlTokenKind::Word) continue;
        std::size_t next = i + 1;
        while (next < tokens.size() && tokens[next].kind == TsqlTokenKind::Space) ++next;
        if (next >= tokens.size() || tokens[next].text != "(") continue;
        const std::string name = lower(tokens[i].text);
        if ((name == "openjson" || name == "json_value") && options_.serverVersion < 13) {
            return failure(
                {195, 10, 15,
                 "'" + tokens[i].text + "' is not a recognized built-in function name."});
        }
        if (name == "openjson" && options_.level < 130)
            return failure({208, 1, 16, "Invalid object name '" + tokens[i].text + "'."});
    }
    BatchAnswer answer;
    try {
        SelectTyperContext context;
        context.schemas = {&erpMainSchema(), &erpExternalSchema()};
        context.functionType = [this](const std::string& name) {
            return catalogs_.function(database_, name);
        };
        answer.columns = typeSelectColumns(batch, context);
        answer.rows = connection().query(batch);
    } catch (const TypingError& e) {
        return failure(e.message());
    } catch (const DatabaseError& e) {
        return failure(serverMessage(e));
    }
    if (answer.rows.fieldCount() != answer.columns.size()) {
        return failure({50000, 1, 16,
                        "tds-double: the schema gives " + std::to_string(answer.columns.size()) +
                            " columns, SQLite " + std::to_string(answer.rows.fieldCount())});
    }
    return answer;
}

BatchAnswer BatchAnswerer::other(const std::string& batch) {
    try {
        connection().execute(batch);
    } catch (const DatabaseError& e) {
        return failure(serverMessage(e));
    }
    return {};
}

SqliteConnection& BatchAnswerer::connection() {
    if (!connection_ || openDatabase_ != database_) {
        connection_.reset();
        connection_ = SqliteConnection::open(catalogs_.find(database_)->second);
        openDatabase_ = database_;
    }
    return *connection_;
}

}  // namespace talvers
