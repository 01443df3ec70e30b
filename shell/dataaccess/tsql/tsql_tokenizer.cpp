#include "shell/dataaccess/tsql/tsql_tokenizer.h"

#include "shell/dataaccess/database_error.h"

namespace talvers {
namespace {

bool isWordStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool isWordPart(unsigned char c) {
    return isWordStart(c) || (c >= '0' && c <= '9') || c == '$';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

class Tokenizer {
  public:
    explicit Tokenizer(const std::string& sql) : sql_(sql) {}

    std::vector<TsqlToken> run() {
        while (pos_ < sql_.size()) tokens_.push_back(next());
        return std::move(tokens_);
    }

  private:
    TsqlToken next() {
        const size_t start = pos_;
        const char c = sql_[pos_];
        if (isBlank(c)) {
            while (pos_ < sql_.size() && isBlank(sql_[pos_])) ++pos_;
            return take(TsqlTokenKind::Space, start);
        }
        if (startsWith("--")) {
            while (pos_ < sql_.size() && sql_[pos_] != '\n') ++pos_;
            return take(TsqlTokenKind::Space, start);
        }
        if (startsWith("/*")) {
            const size_t end = sql_.find("*/", pos_ + 2);
            if (end == std::string::npos) throwUnsupportedTsql("comentário sem fim");
            pos_ = end + 2;
            return take(TsqlTokenKind::Space, start);
        }
        if (c == '\'') return quoted(TsqlTokenKind::String, '\'', "texto sem aspa final");
        if (c == '"') return quoted(TsqlTokenKind::Name, '"', "nome sem aspa final");
        if (c == '[') return quoted(TsqlTokenKind::Name, ']', "nome sem ] final");
        if ((c == 'N' || c == 'n') && pos_ + 1 < sql_.size() && sql_[pos_ + 1] == '\'') {
            ++pos_;  // SQLite texts are Unicode: the N prefix has nothing to say there
            return quoted(TsqlTokenKind::String, '\'', "texto sem aspa final");
        }
        if (isWordStart(static_cast<unsigned char>(c))) {
            while (pos_ < sql_.size() && isWordPart(static_cast<unsigned char>(sql_[pos_]))) ++pos_;
            return take(TsqlTokenKind::Word, start);
        }
        if (isDigit(c)) return number();
        if (c == '@') {
            size_t end = pos_ + 1;
            while (end < sql_.size() && isWordPart(static_cast<unsigned char>(sql_[end]))) ++end;
            throwUnsupportedTsql("variável " + sql_.substr(pos_, end - pos_));
        }
        for (const char* pair : {"<>", "<=", ">=", "!=", "||"}) {
            if (startsWith(pair)) {
                pos_ += 2;
                return take(TsqlTokenKind::Symbol, start);
            }
        }
        if (std::string_view("(),.;+-*/%=<>").find(c) != std::string_view::npos) {
            ++pos_;
            return take(TsqlTokenKind::Symbol, start);
        }
        throwUnsupportedTsql("símbolo " + sql_.substr(pos_, 1));
    }

    // A literal or name up to its closing character; a doubled closing character is part of it.
    TsqlToken quoted(TsqlTokenKind kind, char close, const char* unterminated) {
        const size_t start = pos_;
        for (++pos_;; ++pos_) {
            if (pos_ >= sql_.size()) throwUnsupportedTsql(unterminated);
            if (sql_[pos_] != close) continue;
            if (pos_ + 1 < sql_.size() && sql_[pos_ + 1] == close) {
                ++pos_;
                continue;
            }
            ++pos_;
            return take(kind, start);
        }
    }

    TsqlToken number() {
        const size_t start = pos_;
        while (pos_ < sql_.size() && isDigit(sql_[pos_])) ++pos_;
        if (pos_ + 1 < sql_.size() && sql_[pos_] == '.' && isDigit(sql_[pos_ + 1])) {
            ++pos_;
            while (pos_ < sql_.size() && isDigit(sql_[pos_])) ++pos_;
        }
        if (pos_ < sql_.size() && (sql_[pos_] == 'e' || sql_[pos_] == 'E')) {
            size_t exp = pos_ + 1;
            if (exp < sql_.size() && (sql_[exp] == '+' || sql_[exp] == '-')) ++exp;
            if (exp < sql_.size() && isDigit(sql_[exp])) {
                pos_ = exp;
                while (pos_ < sql_.size() && isDigit(sql_[pos_])) ++pos_;
            }
        }
        if (pos_ < sql_.size() && isWordPart(static_cast<unsigned char>(sql_[pos_]))) {
            throwUnsupportedTsql("número mal formado junto de " + sql_.substr(start, pos_ - start));
        }
        return take(TsqlTokenKind::Number, start);
    }

    bool startsWith(std::string_view text) const {
        return sql_.compare(pos_, text.size(), text) == 0;
    }

    TsqlToken take(TsqlTokenKind kind, size_t start) const {
        return {kind, sql_.substr(start, pos_ - start)};
    }

    const std::string& sql_;
    size_t pos_ = 0;
    std::vector<TsqlToken> tokens_;
};

}  // namespace

std::vector<TsqlToken> tokenizeTsql(const std::string& sql) {
    return Tokenizer(sql).run();
}

void throwUnsupportedTsql(const std::string& construct) {
    throw DatabaseError(
        kTsqlRewriteError,
        "Construção T-SQL não suportada na base de dados SQLite: " + construct + ".");
}

}  // namespace talvers
