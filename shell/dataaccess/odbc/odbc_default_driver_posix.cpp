#include "shell/dataaccess/odbc/odbc_default_driver.h"

namespace talvers {
const char* defaultOdbcDriver() { return "FreeTDS"; }
}  // namespace talvers
