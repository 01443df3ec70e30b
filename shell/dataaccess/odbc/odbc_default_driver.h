#pragma once
// The driver a connection uses when the settings name none: the one every desktop of the
// system has for SQL Server (FreeTDS on Linux, Microsoft's own on Windows).
namespace talvers {
const char* defaultOdbcDriver();
}  // namespace talvers
