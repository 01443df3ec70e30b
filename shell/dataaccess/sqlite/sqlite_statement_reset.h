#pragma once
// A kept statement is reset however its use ends (a row read, a failure, an exception), so the
// next use starts clean with no bindings left over.
#include <sqlite3.h>

namespace talvers {

struct StatementResetOnExit {
    sqlite3_stmt* statement;
    ~StatementResetOnExit() {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

}  // namespace talvers
