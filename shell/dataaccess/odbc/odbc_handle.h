#pragma once
// OdbcHandle: owns one ODBC handle (environment, connection or statement) and frees it when it
// goes out of scope; a connection handle is disconnected first. check() and error() turn the
// handle's diagnostic records into a DatabaseError: the native error number of the first
// record, and the message texts of all records joined by line feeds (a message the driver
// repeats is kept once). Text crosses the ODBC boundary as UTF-16 (SQLWCHAR, two bytes under
// unixODBC and on Windows), converted here and not through the C locale.
#include "odbc_api.h"  // the system's, chosen by the build

#include <string>
#include <string_view>

#include "shell/dataaccess/database_error.h"

namespace talvers {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the ODBC wide calls must use UTF-16");

class OdbcHandle {
  public:
    // Allocates a handle of `type` (SQL_HANDLE_ENV, _DBC or _STMT) under `parent`, which is
    // SQL_NULL_HANDLE for an environment. Throws DatabaseError when that fails.
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
    ~OdbcHandle();
    OdbcHandle(OdbcHandle&& other) noexcept;
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;
    OdbcHandle& operator=(OdbcHandle&&) = delete;

    SQLHANDLE get() const { return handle_; }

    // Throws error(operation) unless `rc` is SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
    void check(SQLRETURN rc, std::string_view operation) const;
    // The handle's diagnostics as a DatabaseError; when the driver left none, the description
    // names the failed `operation`.
    DatabaseError error(std::string_view operation) const;
    // Whether one of the handle's diagnostic records has SQLSTATE `state` ("HYT00").
    bool hasState(std::string_view state) const;

  private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

// Views a UTF-16 text as the wide-character buffers the ODBC calls take.
inline SQLWCHAR* sqlWide(std::u16string& text) {
    return reinterpret_cast<SQLWCHAR*>(text.data());
}

}  // namespace talvers
