#pragma once
// How SQL Server types an expression from the types of its parts: data type precedence, the
// result of arithmetic and of string concatenation, the common type of COALESCE and CASE, and
// the aggregates. Enough for the expressions the program's statements use; what is not known
// here throws std::invalid_argument rather than guess.
#include <string_view>

#include "sample/sql_server_type.h"

namespace talvers {

// SQL Server's data type precedence: the higher wins an implicit conversion.
int typePrecedence(SqlServerKind kind);

// The result of `left op right` for op one of + - * / %.
SqlServerType arithmeticType(const SqlServerType& left, char op, const SqlServerType& right);

// The type COALESCE, CASE and VALUES give a set of alternatives: the highest precedence,
// decimals widened to hold both, character types long enough for both.
SqlServerType commonType(const SqlServerType& a, const SqlServerType& b);

// SUM, AVG, MIN, MAX of a column of `argument`.
SqlServerType aggregateType(std::string_view function, const SqlServerType& argument);

// The type of a number literal as written ("0", "2.5", "12345678901").
SqlServerType numberLiteralType(std::string_view literal);

// A decimal able to hold every value of a whole-number or money type: int -> decimal(10,0).
SqlServerType asDecimal(const SqlServerType& type);

}  // namespace talvers
