#pragma once
// SelectTyper: the columns of a SELECT as SQL Server describes them to the client — their
// names, types and nullability — worked out from the statement's text and the ERP's schema,
// as the server's binder does: the FROM clause's tables, derived tables, VALUES tables and
// OPENJSON with their aliases, correlated subqueries seeing the outer query's tables, and each
// select-list expression typed by SQL Server's rules (sql_server_type_rules.h).
//
// A table or column the schema lacks fails as SQL Server answers it (TypingError carries its
// message: 208 invalid object name, 207 invalid column name, 4104 an alias that binds
// nothing, 209 an ambiguous name); a construct it does not know fails with number 50000 and
// says which. It reads only the select list and the FROM clauses; running the statement is
// the SQLite connection's work.
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sample/erp_schema.h"
#include "tests/tds_double/tds_token_writer.h"

namespace talvers {

class TypingError : public std::runtime_error {
  public:
    explicit TypingError(ServerMessage message)
        : std::runtime_error(message.text), message_(std::move(message)) {}
    const ServerMessage& message() const { return message_; }

  private:
    ServerMessage message_;
};

struct SelectTyperContext {
    // The schemas whose tables the statement may name, looked in in order.
    std::vector<const ErpSchema*> schemas;
    // The return type of a user function the database has (its name without "dbo."), or
    // nullopt when it has none by that name.
    std::function<std::optional<SqlServerType>(const std::string&)> functionType;
};

// The result columns of `select` (one SELECT statement, possibly ending in ';'). Throws
// TypingError.
std::vector<TdsColumn> typeSelectColumns(const std::string& select,
                                         const SelectTyperContext& context);

}  // namespace talvers
