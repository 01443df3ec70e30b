#pragma once
// Reads every row of a prepared SQLite statement into a Table.
// Field names are the column names; field types come from the declared column type
// (DECIMAL/NUMERIC/MONEY -> Money, DATE/TIME -> DateTime, INT -> Integer, REAL/FLOAT/DOUBLE ->
// Double, other declared types -> Text with the declared size). An expression column has no
// declared type: its field type follows its first non-null value.
// Values: integers are Money in decimal columns, otherwise integers; floats are Money in
// decimal and undeclared columns (sums of quantities), otherwise doubles; texts of date
// columns that parse become DateTime. A blob, or a step failure, throws DatabaseError.
#include "shell/dataaccess/table.h"

struct sqlite3;
struct sqlite3_stmt;

namespace talvers {

Table readSqliteRows(sqlite3* db, sqlite3_stmt* statement);

}  // namespace talvers
