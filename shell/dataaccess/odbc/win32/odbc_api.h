#pragma once
// The ODBC API as Windows declares it: its headers use the Windows types without including
// their declarations.
#include <windows.h>

#include <sql.h>
#include <sqlext.h>
