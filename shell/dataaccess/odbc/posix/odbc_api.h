#pragma once
// The ODBC API as unixODBC declares it.
#include <sql.h>
#include <sqlext.h>
