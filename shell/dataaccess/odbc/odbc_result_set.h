#pragma once
// Reads the current result set of an executed ODBC statement into a Table, every row.
// Each value is read with SQLGetData in the form its column's reported SQL type calls for:
// - DECIMAL and NUMERIC (SQL Server's money and decimal alike) as text, converted with
//   Money::parse, so that they are exact; a number Money cannot hold stays text;
// - whole-number types as int64, floating types as double;
// - date and time-stamp types as text, converted with DateTime::parse (text when it fails);
// - everything else as UTF-16 text, read piece by piece until its end, so long texts are
//   never cut. A column the driver reports as text is returned as text even when declared
//   otherwise (the SQLite ODBC driver reports DECIMAL as VARCHAR); Value::toMoney() reads it.
// A NULL is a null Value. Failures throw DatabaseError with the driver's diagnostics.
#include "shell/dataaccess/odbc/odbc_handle.h"
#include "shell/dataaccess/table.h"

namespace talvers {

Table fetchResultSet(const OdbcHandle& statement, SQLSMALLINT columnCount);

}  // namespace talvers
