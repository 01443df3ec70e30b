#include "tests/tds_double/select_typer.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <span>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/text_utils.h"
#include "shell/dataaccess/tsql/tsql_tokenizer.h"
#include "shell/dataaccess/windows_1252.h"
#include "tests/tds_double/sql_server_type_rules.h"

namespace talvers {
namespace {

using K = SqlServerKind;

// A token, or a parenthesised group of nodes.
struct Node {
    TsqlToken token{TsqlTokenKind::Space, {}};
    bool group = false;
    std::vector<Node> inner;
};
using Nodes = std::span<const Node>;

struct Typed {
    SqlServerType type;
    bool nullable = true;
    bool nullLiteral = false;
    std::string name;   // the column's own name, for a plain column reference
    std::string table;  // the table it comes from, for a plain column reference
};

struct Source {
    std::string alias;
    std::vector<TdsColumn> columns;
};

struct Scope {
    std::vector<Source> sources;
    const Scope* outer = nullptr;
};

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A name without its brackets or quotes: [convert], "x", 'Nome Fornecedor'.
std::string bare(const std::string& text) {
    if (text.size() >= 2 && (text.front() == '[' || text.front() == '"' || text.front() == '\''))
        return text.substr(1, text.size() - 2);
    return text;
}

bool isWord(const Node& node, const char* word) {
    return !node.group && node.token.kind == TsqlTokenKind::Word && lower(node.token.text) == word;
}
bool isSymbol(const Node& node, const char* symbol) {
    return !node.group && node.token.kind == TsqlTokenKind::Symbol && node.token.text == symbol;
}
bool isName(const Node& node) {
    return !node.group &&
           (node.token.kind == TsqlTokenKind::Word || node.token.kind == TsqlTokenKind::Name);
}

const std::set<std::string> kKeywords = {
    "all",   "and",    "as",     "asc",  "between", "by",    "case",   "cross", "desc",  "distinct",
    "else",  "end",    "exists", "from", "full",    "group", "having", "in",    "inner", "is",
    "join",  "left",   "like",   "not",  "null",    "on",    "or",     "order", "outer", "over",
    "right", "select", "then",   "top",  "union",   "when",  "where",  "with"};

bool isKeyword(const Node& node) {
    return !node.group && node.token.kind == TsqlTokenKind::Word &&
           kKeywords.count(lower(node.token.text)) > 0;
}

[[noreturn]] void fail(long number, int severity, int state, std::string text) {
    throw TypingError(ServerMessage{number, state, severity, std::move(text)});
}

[[noreturn]] void unknownConstruct(const std::string& what) {
    fail(50000, 16, 1, "tds-double: não sei dar tipo a " + what);
}

std::string render(Nodes nodes) {
    std::string out;
    for (const Node& node : nodes) {
        if (!out.empty()) out += ' ';
        out += node.group ? "(" + render(node.inner) + ")" : node.token.text;
    }
    return out;
}

std::vector<Node> parseNodes(const std::vector<TsqlToken>& tokens, size_t& pos, bool nested) {
    std::vector<Node> nodes;
    while (pos < tokens.size()) {
        const TsqlToken& token = tokens[pos++];
        if (token.kind == TsqlTokenKind::Space) continue;
        if (token.kind == TsqlTokenKind::Symbol && token.text == ")") {
            if (!nested) fail(102, 15, 1, "Incorrect syntax near ')'.");
            return nodes;
        }
        Node node;
        if (token.kind == TsqlTokenKind::Symbol && token.text == "(") {
            node.group = true;
            node.inner = parseNodes(tokens, pos, true);
        } else {
            node.token = token;
        }
        nodes.push_back(std::move(node));
    }
    if (nested) fail(102, 15, 1, "Incorrect syntax near '('.");
    return nodes;
}

// The parts of `nodes` between top-level commas.
std::vector<Nodes> splitCommas(Nodes nodes) {
    std::vector<Nodes> parts;
    size_t start = 0;
    for (size_t i = 0; i <= nodes.size(); ++i) {
        if (i == nodes.size() || isSymbol(nodes[i], ",")) {
            parts.push_back(nodes.subspan(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

SqlServerType parseType(Nodes nodes, bool castDefaults) {
    if (nodes.empty() || !isName(nodes[0])) unknownConstruct("o tipo " + render(nodes));
    std::string text = lower(bare(nodes[0].token.text));
    if (nodes.size() == 2 && nodes[1].group) {
        text += "(" + render(nodes[1].inner) + ")";
    } else if (nodes.size() != 1) {
        unknownConstruct("o tipo " + render(nodes));
    } else if (castDefaults &&
               (text == "varchar" || text == "nvarchar" || text == "char" || text == "nchar")) {
        text += "(30)";  // CAST and CONVERT's default length
    }
    std::optional<SqlServerType> type = SqlServerType::parse(text);
    if (!type) fail(243, 16, 2, "Type " + text + " is not a defined system type.");
    return *type;
}

class Typer {
  public:
    explicit Typer(const SelectTyperContext& context) : context_(context) {}

    std::vector<TdsColumn> select(Nodes nodes, const Scope* outer) {
        size_t pos = 0;
        if (nodes.empty() || !isWord(nodes[0], "select")) unknownConstruct(render(nodes));
        ++pos;
        if (pos < nodes.size() && isWord(nodes[pos], "top")) pos += 2;
        if (pos < nodes.size() && (isWord(nodes[pos], "distinct") || isWord(nodes[pos], "all")))
            ++pos;
        size_t from = pos;
        while (from < nodes.size() && !isWord(nodes[from], "from") && !endsSelect(nodes[from]))
            ++from;
        for (const Node& node : nodes) {
            if (isWord(node, "union")) unknownConstruct("UNION");
        }
        Scope scope;
        scope.outer = outer;
        if (from < nodes.size() && isWord(nodes[from], "from")) {
            size_t end = from + 1;
            while (end < nodes.size() && !endsSelect(nodes[end])) ++end;
            readSources(nodes.subspan(from + 1, end - from - 1), scope);
        }
        std::vector<TdsColumn> columns;
        for (Nodes item : splitCommas(nodes.subspan(pos, from - pos)))
            selectItem(item, scope, columns);
        return columns;
    }

  private:
    static bool endsSelect(const Node& node) {
        return isWord(node, "where") || isWord(node, "group") || isWord(node, "order") ||
               isWord(node, "having") || isWord(node, "option") || isSymbol(node, ";");
    }

    static bool isJoinWord(const Node& node) {
        return isWord(node, "join") || isWord(node, "inner") || isWord(node, "left") ||
               isWord(node, "right") || isWord(node, "full") || isWord(node, "cross") ||
               isWord(node, "outer");
    }

    // table [as] alias, (select ...) [as] alias, (values ...) as alias(columns),
    // OPENJSON(...) [as] alias; joined by commas or JOINs with their ON conditions.
    void readSources(Nodes nodes, Scope& scope) {
        size_t pos = 0;
        std::string join;
        while (pos < nodes.size()) {
            const size_t first = scope.sources.size();
            Source source = readSource(nodes, pos, scope.outer);
            if (join == "left" || join == "full") {
                for (TdsColumn& c : source.columns) c.nullable = true;
            }
            if (join == "right" || join == "full") {
                for (size_t s = 0; s < first; ++s)
                    for (TdsColumn& c : scope.sources[s].columns) c.nullable = true;
            }
            scope.sources.push_back(std::move(source));
            if (pos < nodes.size() && isWord(nodes[pos], "on")) {
                while (pos < nodes.size() && !isJoinWord(nodes[pos]) && !isSymbol(nodes[pos], ","))
                    ++pos;
            }
            if (pos >= nodes.size()) break;
            join.clear();
            if (isSymbol(nodes[pos], ",")) {
                ++pos;
                continue;
            }
            while (pos < nodes.size() && isJoinWord(nodes[pos]) && !isWord(nodes[pos], "join")) {
                if (join.empty()) join = lower(nodes[pos].token.text);
                ++pos;
            }
            if (pos >= nodes.size() || !isWord(nodes[pos], "join"))
                fail(102, 15, 1, "Incorrect syntax near '" + render(nodes.subspan(pos, 1)) + "'.");
            ++pos;
        }
    }

    Source readSource(Nodes nodes, size_t& pos, const Scope* outer) {
        Source source;
        const Node& first = nodes[pos];
        if (first.group && !first.inner.empty() && isWord(first.inner[0], "select")) {
            source.columns = select(first.inner, outer);
            ++pos;
        } else if (first.group && !first.inner.empty() && isWord(first.inner[0], "values")) {
            ++pos;
            readAlias(nodes, pos, source);
            source.columns = valuesColumns(Nodes(first.inner).subspan(1), source.alias, nodes, pos);
            return source;
        } else if (isWord(first, "openjson") && pos + 1 < nodes.size() && nodes[pos + 1].group) {
            source.columns = {
                {"key", SqlServerType::text(K::NVarChar, 4000), false, ""},
                {"value", SqlServerType::text(K::NVarChar, SqlServerType::kMax), true, ""},
                {"type", SqlServerType{K::Int}, false, ""}};
            pos += 2;
        } else if (isName(first)) {
            std::string written = first.token.text;
            ++pos;
            while (pos + 1 < nodes.size() && isSymbol(nodes[pos], ".") && isName(nodes[pos + 1])) {
                written += "." + nodes[pos + 1].token.text;
                pos += 2;
            }
            const std::string name = bare(written.substr(written.rfind('.') + 1));
            const ErpTable* table = findTable(written);
            if (!table) fail(208, 16, 1, "Invalid object name '" + bare(written) + "'.");
            for (const ErpColumn& c : table->columns)
                source.columns.push_back({c.name, c.type, !c.notNull, table->name});
            source.alias = name;
        } else {
            unknownConstruct("a origem " + render(nodes.subspan(pos)));
        }
        readAlias(nodes, pos, source);
        return source;
    }

    const ErpTable* findTable(const std::string& written) const {
        for (const ErpSchema* schema : context_.schemas) {
            if (const ErpTable* table = schema->table(written)) return table;
        }
        return nullptr;
    }

    static void readAlias(Nodes nodes, size_t& pos, Source& source) {
        if (pos < nodes.size() && isWord(nodes[pos], "as")) ++pos;
        if (pos < nodes.size() && isName(nodes[pos]) && !isKeyword(nodes[pos]) &&
            !isJoinWord(nodes[pos])) {
            source.alias = bare(nodes[pos].token.text);
            ++pos;
        }
    }

    // VALUES (a, b), (c, d) AS k(x, y): each column the common type of its rows.
    std::vector<TdsColumn> valuesColumns(Nodes rows, const std::string& alias, Nodes nodes,
                                         size_t& pos) {
        if (pos >= nodes.size() || !nodes[pos].group) unknownConstruct("VALUES sem colunas");
        std::vector<TdsColumn> columns;
        for (Nodes name : splitCommas(nodes[pos].inner))
            columns.push_back({bare(render(name)), SqlServerType{K::Int}, false, ""});
        ++pos;
        bool firstRow = true;
        const Scope none;
        for (Nodes row : splitCommas(rows)) {
            if (row.size() != 1 || !row[0].group)
                unknownConstruct("a linha de VALUES " + render(row));
            const std::vector<Nodes> values = splitCommas(row[0].inner);
            if (values.size() != columns.size())
                fail(8158, 16, 1,
                     "'" + alias + "' has more columns than were specified in the column list.");
            for (size_t i = 0; i < values.size(); ++i) {
                const Typed typed = expression(values[i], none);
                TdsColumn& column = columns[i];
                column.type = firstRow ? typed.type : commonType(column.type, typed.type);
                column.nullable = column.nullable || typed.nullable;
            }
            firstRow = false;
        }
        return columns;
    }

    void selectItem(Nodes item, const Scope& scope, std::vector<TdsColumn>& columns) {
        if (item.empty()) fail(102, 15, 1, "Incorrect syntax near ','.");
        // * and alias.*
        if (item.size() == 1 && isSymbol(item[0], "*")) {
            for (const Source& s : scope.sources)
                columns.insert(columns.end(), s.columns.begin(), s.columns.end());
            return;
        }
        if (item.size() == 3 && isSymbol(item[1], ".") && isSymbol(item[2], "*")) {
            const Source* source = findSource(scope, bare(item[0].token.text));
            if (!source)
                fail(4104, 16, 1,
                     "The multi-part identifier \"" + bare(item[0].token.text) +
                         "\" could not be bound.");
            columns.insert(columns.end(), source->columns.begin(), source->columns.end());
            return;
        }
        std::string alias;
        Nodes body = item;
        const size_t n = item.size();
        const auto aliasToken = [](const Node& node) {
            return !node.group && (node.token.kind == TsqlTokenKind::Word ||
                                   node.token.kind == TsqlTokenKind::Name ||
                                   node.token.kind == TsqlTokenKind::String);
        };
        if (n >= 3 && isWord(item[n - 2], "as") && aliasToken(item[n - 1])) {
            alias = bare(item[n - 1].token.text);
            body = item.first(n - 2);
        } else if (n >= 2 && aliasToken(item[n - 1]) && !isKeyword(item[n - 1]) &&
                   item[n - 1].token.kind != TsqlTokenKind::String && !isSymbol(item[n - 2], ".") &&
                   !isWord(item[n - 2], "end") &&
                   !(item[n - 2].token.kind == TsqlTokenKind::Symbol)) {
            alias = bare(item[n - 1].token.text);
            body = item.first(n - 1);
        }
        const Typed typed = expression(body, scope);
        TdsColumn column{alias.empty() ? typed.name : alias, typed.type, typed.nullable,
                         typed.table};
        columns.push_back(std::move(column));
    }

    static const Source* findSource(const Scope& scope, const std::string& alias) {
        for (const Scope* s = &scope; s; s = s->outer) {
            for (const Source& source : s->sources) {
                if (equalsIgnoringAsciiCase(source.alias, alias)) return &source;
            }
        }
        return nullptr;
    }

    Typed column(const Scope& scope, const std::string& qualifier, const std::string& name) {
        if (!qualifier.empty()) {
            const Source* source = findSource(scope, qualifier);
            if (!source)
                fail(4104, 16, 1,
                     "The multi-part identifier \"" + qualifier + "." + name +
                         "\" could not be bound.");
            for (const TdsColumn& c : source->columns) {
                if (equalsIgnoringAsciiCase(c.name, name))
                    return {c.type, c.nullable, false, c.name, c.table};
            }
            fail(207, 16, 1, "Invalid column name '" + name + "'.");
        }
        for (const Scope* s = &scope; s; s = s->outer) {
            const TdsColumn* found = nullptr;
            for (const Source& source : s->sources) {
                for (const TdsColumn& c : source.columns) {
                    if (!equalsIgnoringAsciiCase(c.name, name)) continue;
                    if (found) fail(209, 16, 1, "Ambiguous column name '" + name + "'.");
                    found = &c;
                }
            }
            if (found) return {found->type, found->nullable, false, found->name, found->table};
        }
        fail(207, 16, 1, "Invalid column name '" + name + "'.");
    }

    // expression := term (('+' | '-') term)*; term := unary (('*' | '/' | '%') unary)*
    Typed expression(Nodes nodes, const Scope& scope) {
        size_t pos = 0;
        Typed typed = additive(nodes, pos, scope);
        if (pos != nodes.size()) unknownConstruct("a expressão " + render(nodes));
        return typed;
    }

    Typed additive(Nodes nodes, size_t& pos, const Scope& scope) {
        Typed left = multiplicative(nodes, pos, scope);
        while (pos < nodes.size() && (isSymbol(nodes[pos], "+") || isSymbol(nodes[pos], "-"))) {
            const char op = nodes[pos++].token.text[0];
            left = combine(left, op, multiplicative(nodes, pos, scope));
        }
        return left;
    }

    Typed multiplicative(Nodes nodes, size_t& pos, const Scope& scope) {
        Typed left = unary(nodes, pos, scope);
        while (pos < nodes.size() && (isSymbol(nodes[pos], "*") || isSymbol(nodes[pos], "/") ||
                                      isSymbol(nodes[pos], "%"))) {
            const char op = nodes[pos++].token.text[0];
            left = combine(left, op, unary(nodes, pos, scope));
        }
        return left;
    }

    static Typed combine(const Typed& left, char op, const Typed& right) {
        try {
            Typed result;
            result.type = arithmeticType(left.type, op, right.type);
            result.nullable = left.nullable || right.nullable;
            return result;
        } catch (const std::invalid_argument& e) {
            unknownConstruct(e.what());
        }
    }

    Typed unary(Nodes nodes, size_t& pos, const Scope& scope) {
        if (pos < nodes.size() && (isSymbol(nodes[pos], "-") || isSymbol(nodes[pos], "+"))) {
            ++pos;
            Typed operand = unary(nodes, pos, scope);
            operand.name.clear();
            operand.table.clear();
            return operand;
        }
        return primary(nodes, pos, scope);
    }

    Typed primary(Nodes nodes, size_t& pos, const Scope& scope) {
        if (pos >= nodes.size())
            fail(102, 15, 1, "Incorrect syntax near the end of the expression.");
        const Node& node = nodes[pos];
        if (node.group) {
            ++pos;
            if (!node.inner.empty() && isWord(node.inner[0], "select")) {
                const std::vector<TdsColumn> columns = select(node.inner, &scope);
                if (columns.size() != 1)
                    fail(116, 16, 1,
                         "Only one expression can be specified in the select list when the "
                         "subquery is not introduced with EXISTS.");
                return {columns[0].type, true, false, "", ""};
            }
            Typed inner = expression(node.inner, scope);
            inner.name.clear();
            return inner;
        }
        if (node.token.kind == TsqlTokenKind::Number) {
            ++pos;
            return {numberLiteralType(node.token.text), false, false, "", ""};
        }
        if (node.token.kind == TsqlTokenKind::String) {
            ++pos;
            const std::string text = bare(node.token.text);
            const int length =
                static_cast<int>(std::max<size_t>(1, utf8ToWindows1252(text).size()));
            return {SqlServerType::text(K::VarChar, std::min(length, 8000)), false, false, "", ""};
        }
        if (isWord(node, "null")) {
            ++pos;
            return {SqlServerType{K::Int}, true, true, "", ""};
        }
        if (isWord(node, "case")) return caseExpression(nodes, pos, scope);
        if (!isName(node)) unknownConstruct("a expressão " + render(nodes.subspan(pos)));
        // name, qualifier.name, dbo.function(...), function(...)
        std::vector<std::string> parts{bare(node.token.text)};
        ++pos;
        while (pos + 1 < nodes.size() && isSymbol(nodes[pos], ".") && isName(nodes[pos + 1])) {
            parts.push_back(bare(nodes[pos + 1].token.text));
            pos += 2;
        }
        if (pos < nodes.size() && nodes[pos].group) {
            const Nodes arguments = nodes[pos].inner;
            ++pos;
            Typed result = call(parts, arguments, scope);
            if (pos + 1 < nodes.size() && isWord(nodes[pos], "over") && nodes[pos + 1].group)
                pos += 2;
            return result;
        }
        if (parts.size() == 1) return column(scope, "", parts[0]);
        if (parts.size() == 2) return column(scope, parts[0], parts[1]);
        unknownConstruct("o nome " + render(nodes));
    }

    // CASE [input] WHEN ... THEN x ... [ELSE y] END: the common type of the branches.
    Typed caseExpression(Nodes nodes, size_t& pos, const Scope& scope) {
        ++pos;
        // The input of a simple CASE, or a condition: skipped up to the next `word` of this
        // CASE, nested ones passed over.
        const auto skipTo = [&](const char* word) {
            for (int depth = 0; pos < nodes.size(); ++pos) {
                if (depth == 0 && isWord(nodes[pos], word)) return;
                if (isWord(nodes[pos], "case")) ++depth;
                if (isWord(nodes[pos], "end")) --depth;
            }
            fail(156, 15, 1, "Incorrect syntax near the keyword 'CASE'.");
        };
        skipTo("when");
        std::optional<Typed> result;
        bool hasElse = false;
        for (;;) {
            if (pos >= nodes.size()) fail(156, 15, 1, "Incorrect syntax near the keyword 'CASE'.");
            if (isWord(nodes[pos], "end")) {
                ++pos;
                break;
            }
            if (isWord(nodes[pos], "else")) {
                hasElse = true;
            } else if (isWord(nodes[pos], "when")) {
                skipTo("then");
            } else {
                unknownConstruct("o CASE em " + render(nodes));
            }
            ++pos;
            const Typed branch = additive(nodes, pos, scope);
            if (!result || result->nullLiteral) {
                result = branch;
            } else if (!branch.nullLiteral) {
                result->type = commonType(result->type, branch.type);
            }
            result->nullable = result->nullable || branch.nullable;
        }
        if (!result) fail(156, 15, 1, "Incorrect syntax near the keyword 'END'.");
        result->nullable = result->nullable || !hasElse;
        result->name.clear();
        return *result;
    }

    Typed call(const std::vector<std::string>& parts, Nodes arguments, const Scope& scope) {
        const std::string name = lower(parts.back());
        const bool qualified = parts.size() > 1;
        if (!qualified) {
            if (name == "cast") return cast(arguments, scope);
            if (name == "convert") return convert(arguments, scope);
            if (name == "count") return {SqlServerType{K::Int}, false, false, "", ""};
            if (name == "count_big" || name == "row_number")
                return {SqlServerType{K::BigInt}, false, false, "", ""};
            const std::vector<Nodes> args = splitCommas(arguments);
            if (name == "sum" || name == "avg" || name == "min" || name == "max") {
                Nodes argument = args.at(0);
                if (!argument.empty() &&
                    (isWord(argument[0], "distinct") || isWord(argument[0], "all")))
                    argument = argument.subspan(1);
                const Typed typed = expression(argument, scope);
                try {
                    return {aggregateType(name, typed.type), true, false, "", ""};
                } catch (const std::invalid_argument& e) {
                    fail(8117, 16, 1,
                         std::string("Operand data type is invalid for ") + name + " operator (" +
                             e.what() + ").");
                }
            }
            if (name == "coalesce" || name == "isnull") return coalesce(name, args, scope);
            if (name == "abs" || name == "ltrim" || name == "rtrim" || name == "upper" ||
                name == "lower") {
                Typed typed = expression(args.at(0), scope);
                typed.name.clear();
                return typed;
            }
            if (name == "len") return {SqlServerType{K::Int}, true, false, "", ""};
            if (name == "json_value")
                return {SqlServerType::text(K::NVarChar, 4000), true, false, "", ""};
        }
        if (const std::optional<SqlServerType> type = context_.functionType(parts.back())) {
            return {*type, true, false, "", ""};
        }
        if (qualified) {
            fail(4121, 16, 1,
                 "Cannot find either column \"" + parts.front() +
                     "\" or the user-defined function or aggregate \"" + parts.front() + "." +
                     parts.back() + "\", or the name is ambiguous.");
        }
        fail(195, 15, 10, "'" + parts.back() + "' is not a recognized built-in function name.");
    }

    Typed coalesce(const std::string& name, const std::vector<Nodes>& args, const Scope& scope) {
        std::optional<Typed> result;
        bool nullable = true;
        for (size_t i = 0; i < args.size(); ++i) {
            const Typed typed = expression(args[i], scope);
            nullable = nullable && typed.nullable;
            if (name == "isnull" && i > 0) continue;  // ISNULL takes the first one's type
            if (!result || result->nullLiteral) {
                result = typed;
            } else if (!typed.nullLiteral) {
                result->type = commonType(result->type, typed.type);
            }
        }
        if (!result) fail(174, 15, 1, "The coalesce function requires 2 argument(s).");
        result->nullable = nullable;
        result->name.clear();
        return *result;
    }

    Typed cast(Nodes arguments, const Scope& scope) {
        size_t as = arguments.size();
        for (size_t i = 0; i < arguments.size(); ++i) {
            if (isWord(arguments[i], "as")) as = i;
        }
        if (as == arguments.size()) fail(102, 15, 1, "Incorrect syntax near 'CAST'.");
        const Typed typed = expression(arguments.first(as), scope);
        return {parseType(arguments.subspan(as + 1), true), typed.nullable, false, "", ""};
    }

    Typed convert(Nodes arguments, const Scope& scope) {
        const std::vector<Nodes> args = splitCommas(arguments);
        if (args.size() < 2) fail(102, 15, 1, "Incorrect syntax near 'CONVERT'.");
        const Typed typed = expression(args[1], scope);
        return {parseType(args[0], true), typed.nullable, false, "", ""};
    }

    const SelectTyperContext& context_;
};

}  // namespace

std::vector<TdsColumn> typeSelectColumns(const std::string& select,
                                         const SelectTyperContext& context) {
    std::vector<TsqlToken> tokens;
    try {
        tokens = tokenizeTsql(select);
    } catch (const DatabaseError& e) {
        fail(102, 15, 1, "Incorrect syntax: " + e.description());
    }
    size_t pos = 0;
    std::vector<Node> nodes = parseNodes(tokens, pos, false);
    if (!nodes.empty() && isSymbol(nodes.back(), ";")) nodes.pop_back();
    return Typer(context).select(nodes, nullptr);
}

}  // namespace talvers
