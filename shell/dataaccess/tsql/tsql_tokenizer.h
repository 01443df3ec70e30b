#pragma once
// Splits a T-SQL text into tokens for the SQLite rewrite. Every byte of the input lands in
// exactly one token, so joining the texts gives the input back (except N'...' literals, which
// lose their N: SQLite texts are Unicode already). Throws DatabaseError (kTsqlRewriteError)
// for what T-SQL has and SQLite must not receive: @variables, unknown symbols, an
// unterminated literal, name or comment.
#include <string>
#include <vector>

namespace talvers {

// The error number of every text the SQLite rewrite refuses.
inline constexpr long kTsqlRewriteError = 50001;

enum class TsqlTokenKind {
    Space,   // blanks, line ends and comments
    String,  // '...' with '' inside
    Name,    // [bracketed] or "double-quoted" name
    Word,    // identifier or keyword
    Number,  // 12, 1.5, 1E+2
    Symbol,  // ( ) , . ; + - * / % = < > <> <= >= != ||
};

struct TsqlToken {
    TsqlTokenKind kind;
    std::string text;
};

std::vector<TsqlToken> tokenizeTsql(const std::string& sql);

// Throws the rewrite's DatabaseError, its description naming the construct refused.
[[noreturn]] void throwUnsupportedTsql(const std::string& construct);

}  // namespace talvers
