#include "shell/dataaccess/tsql/tsql_rewrite.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "shell/dataaccess/tsql/tsql_date_literal.h"

namespace talvers {
namespace {

// What an operand of a + chain evidently is, as far as the text shows.
enum class Operand { Unknown, Text, Number, Date };

// A token, a parenthesised group, or a function call (name, spacing, argument group).
struct Item {
    enum class Shape { Token, Group, Call } shape = Shape::Token;
    TsqlToken token{TsqlTokenKind::Space, {}};
    std::vector<Item> inner;
    Operand operand = Operand::Unknown;
    bool namedValues = false;  // the rows of a VALUES table whose columns have been named
};

// What the + chain pass found in one sequence of items.
struct SequenceInfo {
    bool plain = true;     // no clause word, comma or comparison: one expression
    bool anyText = false;  // some expression in it is evidently text
    bool anyNumber = false;
};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Words that are never function names: they end an expression and may stand before "(".
const std::set<std::string> kClauseWords = {
    "all",    "and",      "as",    "asc",    "between", "by",     "case", "cross",     "delete",
    "desc",   "distinct", "else",  "end",    "escape",  "exists", "from", "full",      "group",
    "having", "in",       "inner", "insert", "into",    "is",     "join", "left",      "like",
    "limit",  "not",      "on",    "or",     "order",   "outer",  "over", "partition", "right",
    "select", "set",      "then",  "union",  "update",  "values", "when", "where"};

// T-SQL statements and clauses the program never sends through SQLite.
const std::set<std::string> kRefusedWords = {"alter",   "begin",    "create", "declare", "drop",
                                             "exec",    "execute",  "go",     "percent", "return",
                                             "returns", "truncate", "merge",  "with"};

const std::set<std::string> kFunctions = {"abs",
                                          "coalesce",
                                          "count",
                                          "max",
                                          "min",
                                          "row_number",
                                          "sum",
                                          "qor_linhaparastring",
                                          "qor_linhaparastringguia"};
// The JSON functions of a key table and their SQLite names: json_each yields the same key
// (the array index) and value columns as OPENJSON without a WITH clause, and json_extract
// takes the same '$[i]' paths as JSON_VALUE.
const std::map<std::string, std::string> kRenamedFunctions = {{"openjson", "json_each"},
                                                              {"json_value", "json_extract"}};
const std::set<std::string> kTextTypes = {"char", "nchar", "nvarchar", "varchar"};
const std::set<std::string> kNumberTypes = {"bigint",  "decimal", "int",
                                            "integer", "numeric", "smallint"};
const std::set<std::string> kBoundarySymbols = {",",  ";",  "=",  "<",  ">",
                                                "<>", "<=", ">=", "!=", "||"};

bool isSpace(const Item& item) {
    return item.shape == Item::Shape::Token && item.token.kind == TsqlTokenKind::Space;
}
bool isKind(const Item& item, TsqlTokenKind kind) {
    return item.shape == Item::Shape::Token && item.token.kind == kind;
}
bool isWord(const Item& item, const char* word) {
    return isKind(item, TsqlTokenKind::Word) && lower(item.token.text) == word;
}
bool isSymbol(const Item& item, const char* symbol) {
    return isKind(item, TsqlTokenKind::Symbol) && item.token.text == symbol;
}
bool isClauseWord(const Item& item) {
    return isKind(item, TsqlTokenKind::Word) && kClauseWords.count(lower(item.token.text)) > 0;
}
bool isBoundary(const Item& item) {
    return isClauseWord(item) ||
           (isKind(item, TsqlTokenKind::Symbol) && kBoundarySymbols.count(item.token.text) > 0);
}

Item tokenItem(TsqlTokenKind kind, std::string text, Operand operand = Operand::Unknown) {
    Item item;
    item.token = {kind, std::move(text)};
    item.operand = operand;
    return item;
}

// Positions of the items that are not blanks or comments.
std::vector<size_t> significant(const std::vector<Item>& items) {
    std::vector<size_t> result;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!isSpace(items[i])) result.push_back(i);
    }
    return result;
}

std::vector<Item> parseItems(const std::vector<TsqlToken>& tokens, size_t& pos, bool nested) {
    std::vector<Item> items;
    while (pos < tokens.size()) {
        const TsqlToken& token = tokens[pos++];
        if (token.kind == TsqlTokenKind::Symbol && token.text == ")") {
            if (!nested) throwUnsupportedTsql("parêntesis ) sem (");
            return items;
        }
        if (token.kind == TsqlTokenKind::Symbol && token.text == "(") {
            Item group;
            group.shape = Item::Shape::Group;
            group.inner = parseItems(tokens, pos, true);
            items.push_back(std::move(group));
            continue;
        }
        Operand operand = Operand::Unknown;
        if (token.kind == TsqlTokenKind::String) operand = Operand::Text;
        if (token.kind == TsqlTokenKind::Number) operand = Operand::Number;
        items.push_back(tokenItem(token.kind, token.text, operand));
    }
    if (nested) throwUnsupportedTsql("parêntesis ( sem )");
    return items;
}

void render(const std::vector<Item>& items, std::string& out) {
    for (const Item& item : items) {
        if (item.shape == Item::Shape::Token) {
            out += item.token.text;
        } else if (item.shape == Item::Shape::Group) {
            out += '(';
            render(item.inner, out);
            out += ')';
        } else {
            out += item.token.text;
            render(item.inner, out);
        }
    }
}

std::string renderText(const std::vector<Item>& items) {
    std::string out;
    render(items, out);
    return out;
}

// "dbo." and "[dbo]." name the default schema, which SQLite does not have.
std::vector<TsqlToken> withoutDboPrefixes(const std::vector<TsqlToken>& tokens) {
    std::vector<TsqlToken> result;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const std::string name = lower(tokens[i].text);
        const bool dbo = (tokens[i].kind == TsqlTokenKind::Word && name == "dbo") ||
                         (tokens[i].kind == TsqlTokenKind::Name && name == "[dbo]");
        if (dbo && i + 1 < tokens.size() && tokens[i + 1].text == ".") {
            ++i;
            continue;
        }
        result.push_back(tokens[i]);
    }
    return result;
}

class Rewriter {
  public:
    SequenceInfo rewriteSequence(std::vector<Item>& items, bool topLevel) {
        nameValuesColumns(items);
        moveTopToLimit(items);
        checkWordsAndSymbols(items, topLevel);
        rewriteCalls(items);
        return rewriteChains(items);
    }

  private:
    // (VALUES (1, 'A'), ...) AS k(n, Artigo) becomes
    // (SELECT column1 AS n, column2 AS Artigo FROM (VALUES (1, 'A'), ...)) AS k: SQLite names
    // the columns of a VALUES table column1, column2, ... and takes no column list after the
    // alias.
    void nameValuesColumns(std::vector<Item>& items) {
        const std::vector<size_t> sig = significant(items);
        for (size_t n = 0; n + 3 < sig.size(); ++n) {
            Item& table = items[sig[n]];
            if (table.shape != Item::Shape::Group || !startsWithValues(table)) continue;
            if (!isWord(items[sig[n + 1]], "as") ||
                !isKind(items[sig[n + 2]], TsqlTokenKind::Word) ||
                items[sig[n + 3]].shape != Item::Shape::Group) {
                throwUnsupportedTsql("VALUES sem nome e colunas");
            }
            const std::vector<std::string> columns = columnNames(items[sig[n + 3]]);
            const Item blank = tokenItem(TsqlTokenKind::Space, " ");
            std::vector<Item> select = {tokenItem(TsqlTokenKind::Word, "SELECT"), blank};
            for (size_t c = 0; c < columns.size(); ++c) {
                if (c > 0)
                    select.insert(select.end(), {tokenItem(TsqlTokenKind::Symbol, ","), blank});
                select.insert(select.end(),
                              {tokenItem(TsqlTokenKind::Word, "column" + std::to_string(c + 1)),
                               blank, tokenItem(TsqlTokenKind::Word, "AS"), blank,
                               tokenItem(TsqlTokenKind::Word, columns[c]), blank});
            }
            select.insert(select.end(), {tokenItem(TsqlTokenKind::Word, "FROM"), blank});
            Item values;
            values.shape = Item::Shape::Group;
            values.namedValues = true;
            values.inner = std::move(table.inner);
            select.push_back(std::move(values));
            table.inner = std::move(select);
            // The column list goes, with the blanks before it.
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(sig[n + 2] + 1),
                        items.begin() + static_cast<std::ptrdiff_t>(sig[n + 3] + 1));
            return nameValuesColumns(items);
        }
        for (size_t i : sig) {
            if (items[i].shape == Item::Shape::Group && startsWithValues(items[i]) &&
                !items[i].namedValues) {
                throwUnsupportedTsql("VALUES sem nome e colunas");
            }
        }
    }

    static bool startsWithValues(const Item& group) {
        const std::vector<size_t> inner = significant(group.inner);
        return !inner.empty() && isWord(group.inner[inner[0]], "values");
    }

    static std::vector<std::string> columnNames(const Item& list) {
        std::vector<std::string> names;
        bool expectName = true;
        for (size_t i : significant(list.inner)) {
            const Item& item = list.inner[i];
            if (expectName && isKind(item, TsqlTokenKind::Word) && !isClauseWord(item)) {
                names.push_back(item.token.text);
            } else if (expectName || !isSymbol(item, ",")) {
                throwUnsupportedTsql("lista de colunas de VALUES");
            }
            expectName = !expectName;
        }
        if (names.empty() || expectName) throwUnsupportedTsql("lista de colunas de VALUES");
        return names;
    }

    // SELECT TOP (n) ... becomes SELECT ... LIMIT n, the LIMIT closing the same SELECT (the
    // whole statement, or the subquery in parentheses).
    void moveTopToLimit(std::vector<Item>& items) {
        const std::vector<size_t> sig = significant(items);
        if (sig.size() < 3 || !isWord(items[sig[0]], "select") || !isWord(items[sig[1]], "top")) {
            return;
        }
        const size_t top = sig[1];
        const size_t count = sig[2];
        std::string limit;
        if (isKind(items[count], TsqlTokenKind::Number)) {
            limit = items[count].token.text;
        } else if (items[count].shape == Item::Shape::Group) {
            const std::vector<size_t> inner = significant(items[count].inner);
            if (inner.size() == 1 && isKind(items[count].inner[inner[0]], TsqlTokenKind::Number)) {
                limit = items[count].inner[inner[0]].token.text;
            }
        }
        if (limit.empty() || limit.find_first_not_of("0123456789") != std::string::npos) {
            throwUnsupportedTsql("TOP sem um número inteiro");
        }
        for (size_t i : sig) {
            if (isWord(items[i], "union")) throwUnsupportedTsql("TOP com UNION");
        }
        size_t end = count + 1;
        if (top > 0 && isSpace(items[top - 1]) && end < items.size() && isSpace(items[end])) ++end;
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(top),
                    items.begin() + static_cast<std::ptrdiff_t>(end));
        const std::vector<size_t> rest = significant(items);
        auto at = items.end();
        if (isSymbol(items[rest.back()], ";")) {
            at = items.begin() + static_cast<std::ptrdiff_t>(rest.back());
        }
        items.insert(at,
                     {tokenItem(TsqlTokenKind::Space, " "), tokenItem(TsqlTokenKind::Word, "LIMIT"),
                      tokenItem(TsqlTokenKind::Space, " "),
                      tokenItem(TsqlTokenKind::Number, limit, Operand::Number)});
    }

    void checkWordsAndSymbols(const std::vector<Item>& items, bool topLevel) {
        const std::vector<size_t> sig = significant(items);
        for (size_t n = 0; n < sig.size(); ++n) {
            const Item& item = items[sig[n]];
            if (isKind(item, TsqlTokenKind::Word)) {
                const std::string word = lower(item.token.text);
                if (kRefusedWords.count(word) > 0) throwUnsupportedTsql(item.token.text);
                if (word == "top") throwUnsupportedTsql("TOP fora do início de um SELECT");
            }
            if (isSymbol(item, ";") && (!topLevel || n + 1 != sig.size())) {
                throwUnsupportedTsql("mais de uma instrução");
            }
        }
    }

    // Collapses each "name (args)" into a call, checks the name and rewrites the arguments;
    // other groups are rewritten as expressions of their own.
    void rewriteCalls(std::vector<Item>& items) {
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].shape == Item::Shape::Group) {
                const SequenceInfo info = rewriteSequence(items[i].inner, false);
                if (info.plain && info.anyText) items[i].operand = Operand::Text;
                continue;
            }
            if (!isKind(items[i], TsqlTokenKind::Word) || isClauseWord(items[i])) continue;
            size_t open = i + 1;
            while (open < items.size() && isSpace(items[open])) ++open;
            if (open >= items.size() || items[open].shape != Item::Shape::Group) continue;
            if (followsInto(items, i)) continue;  // INSERT INTO t (columns)
            Item call = makeCall(items, i, open);
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(i),
                        items.begin() + static_cast<std::ptrdiff_t>(open + 1));
            items.insert(items.begin() + static_cast<std::ptrdiff_t>(i), std::move(call));
        }
    }

    static bool followsInto(const std::vector<Item>& items, size_t i) {
        while (i > 0) {
            --i;
            if (!isSpace(items[i])) return isWord(items[i], "into");
        }
        return false;
    }

    Item makeCall(std::vector<Item>& items, size_t nameAt, size_t groupAt) {
        const std::string name = lower(items[nameAt].token.text);
        Item& group = items[groupAt];
        if (name == "convert") return convertToDate(group);
        Item call;
        call.shape = Item::Shape::Call;
        call.token = items[nameAt].token;
        if (name == "cast") {
            call.operand = rewriteCast(group.inner);
        } else if (const auto renamed = kRenamedFunctions.find(name);
                   renamed != kRenamedFunctions.end()) {
            rewriteSequence(group.inner, false);
            call.token.text = renamed->second;
        } else if (kFunctions.count(name) > 0) {
            const SequenceInfo args = rewriteSequence(group.inner, false);
            call.operand = callResult(name, args);
        } else {
            throwUnsupportedTsql("função " + items[nameAt].token.text);
        }
        call.inner.assign(std::make_move_iterator(items.begin() + nameAt + 1),
                          std::make_move_iterator(items.begin() + groupAt + 1));
        return call;
    }

    // COALESCE, MIN and MAX take the type of their arguments; the others have a fixed one.
    static Operand callResult(const std::string& name, const SequenceInfo& args) {
        if (name.rfind("qor_", 0) == 0) return Operand::Text;
        if (name == "sum" || name == "count" || name == "abs") return Operand::Number;
        if (args.anyText && !args.anyNumber) return Operand::Text;
        if (args.anyNumber && !args.anyText) return Operand::Number;
        return Operand::Unknown;
    }

    Item convertToDate(const Item& group) {
        const std::vector<size_t> sig = significant(group.inner);
        const auto at = [&](size_t n) -> const Item& { return group.inner[sig[n]]; };
        if (sig.size() != 5 || !isWord(at(0), "datetime") || !isSymbol(at(1), ",") ||
            !isKind(at(2), TsqlTokenKind::String) || !isSymbol(at(3), ",") ||
            !isKind(at(4), TsqlTokenKind::Number) || at(4).token.text != "102") {
            throwUnsupportedTsql("CONVERT(" + renderText(group.inner) + ")");
        }
        const std::string& quoted = at(2).token.text;
        const std::string date = sqliteDateFromStyle102(quoted.substr(1, quoted.size() - 2));
        return tokenItem(TsqlTokenKind::String, "'" + date + "'", Operand::Date);
    }

    // CAST(expression AS type[(n)]): the type is kept as written (SQLite reads nvarchar(4) as
    // text); the result is evidently text when the type is a character type.
    Operand rewriteCast(std::vector<Item>& inner) {
        const std::vector<size_t> sig = significant(inner);
        size_t as = sig.size();
        for (size_t n = 0; n < sig.size(); ++n) {
            if (isWord(inner[sig[n]], "as")) as = n;
        }
        const bool sized = as + 3 == sig.size() && inner[sig.back()].shape == Item::Shape::Group;
        if (as == 0 || as == sig.size() || !(as + 2 == sig.size() || sized) ||
            !isKind(inner[sig[as + 1]], TsqlTokenKind::Word)) {
            throwUnsupportedTsql("CAST(" + renderText(inner) + ")");
        }
        const std::string type = lower(inner[sig[as + 1]].token.text);
        if (sized) {
            for (const Item& part : inner[sig.back()].inner) {
                if (!isSpace(part) && !isKind(part, TsqlTokenKind::Number) &&
                    !isSymbol(part, ",")) {
                    throwUnsupportedTsql("CAST(" + renderText(inner) + ")");
                }
            }
        }
        const bool text = kTextTypes.count(type) > 0;
        if (!text && kNumberTypes.count(type) == 0) throwUnsupportedTsql("CAST para " + type);
        const auto asAt = inner.begin() + static_cast<std::ptrdiff_t>(sig[as]);
        std::vector<Item> expression(std::make_move_iterator(inner.begin()),
                                     std::make_move_iterator(asAt));
        rewriteSequence(expression, false);
        inner.erase(inner.begin(), asAt);
        inner.insert(inner.begin(), std::make_move_iterator(expression.begin()),
                     std::make_move_iterator(expression.end()));
        return text ? Operand::Text : Operand::Number;
    }

    // Splits the items into expressions (between clause words, commas and comparisons) and
    // turns every + of an expression with an evidently text operand into ||: SQLite's +
    // would turn the texts into 0.
    SequenceInfo rewriteChains(std::vector<Item>& items) {
        SequenceInfo info;
        std::vector<size_t> expression;
        for (size_t i : significant(items)) {
            if (isBoundary(items[i])) {
                info.plain = false;
                rewriteChain(items, expression, info);
                expression.clear();
            } else {
                expression.push_back(i);
            }
        }
        rewriteChain(items, expression, info);
        return info;
    }

    void rewriteChain(std::vector<Item>& items, const std::vector<size_t>& expression,
                      SequenceInfo& info) {
        std::vector<size_t> plus;
        bool minus = false;
        bool emptyOperand = false;
        bool operandStart = true;
        std::vector<Operand> operands;
        for (size_t i : expression) {
            if (isSymbol(items[i], "+") || isSymbol(items[i], "-")) {
                if (operandStart) emptyOperand = true;
                if (items[i].token.text == "+") {
                    plus.push_back(i);
                } else {
                    minus = true;
                }
                operandStart = true;
            } else if (operandStart) {
                operands.push_back(items[i].operand);
                operandStart = false;
            }
        }
        if (expression.empty()) return;
        if (operandStart) emptyOperand = true;
        const auto has = [&](Operand o) {
            return std::find(operands.begin(), operands.end(), o) != operands.end();
        };
        const bool arithmetic = !plus.empty() || minus;
        if (has(Operand::Date) && arithmetic) throwUnsupportedTsql("aritmética com datas");
        info.anyNumber = info.anyNumber || has(Operand::Number);
        if (!has(Operand::Text)) return;
        info.anyText = true;
        if (!arithmetic) return;
        if (minus || emptyOperand || has(Operand::Number)) {
            throwUnsupportedTsql("texto misturado com números em " + renderText(items));
        }
        for (size_t i : plus) items[i].token.text = "||";
    }
};

}  // namespace

std::string rewriteTsqlForSqlite(const std::string& tsql) {
    const std::vector<TsqlToken> tokens = withoutDboPrefixes(tokenizeTsql(tsql));
    size_t pos = 0;
    std::vector<Item> items = parseItems(tokens, pos, false);
    Rewriter().rewriteSequence(items, true);
    return renderText(items);
}

}  // namespace talvers
