#include "shell/dataaccess/odbc/odbc_default_driver.h"

namespace talvers {
const char* defaultOdbcDriver() { return "ODBC Driver 18 for SQL Server"; }
}  // namespace talvers
