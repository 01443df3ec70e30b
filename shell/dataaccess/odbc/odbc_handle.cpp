#include "shell/dataaccess/odbc/odbc_handle.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "shell/dataaccess/odbc/odbc_error_text.h"
#include "shell/dataaccess/odbc/utf16_text.h"

namespace talvers {

namespace {

// Diagnostics of a failed allocation sit on the parent handle.
SQLSMALLINT parentType(SQLSMALLINT type) {
    return type == SQL_HANDLE_STMT ? SQL_HANDLE_DBC : SQL_HANDLE_ENV;
}

DatabaseError diagnostics(SQLSMALLINT type, SQLHANDLE handle, std::string_view operation) {
    long number = 0;
    std::vector<std::string> messages;
    std::vector<std::string> states;
    for (SQLSMALLINT record = 1; handle != SQL_NULL_HANDLE; ++record) {
        SQLWCHAR state[6];
        SQLINTEGER native = 0;
        std::u16string message(512, u'\0');
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(type, handle, record, state, &native, sqlWide(message),
                                      static_cast<SQLSMALLINT>(message.size()), &length);
        // A longer message gets the most room the call allows, and a message longer than
        // SQLSMALLINT can count (a server's may be) is cut there; such a length overflowed and
        // reads as negative.
        if (rc == SQL_SUCCESS_WITH_INFO &&
            (length < 0 || length >= static_cast<SQLSMALLINT>(message.size()))) {
            message.assign(SHRT_MAX, u'\0');
            rc = SQLGetDiagRecW(type, handle, record, state, &native, sqlWide(message),
                                static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc)) break;
        message.resize(length < 0 ? message.size() - 1
                                  : std::min(static_cast<size_t>(length), message.size() - 1));
        if (record == 1) number = native;
        states.push_back(utf16ToUtf8(std::u16string(state, state + 5)));
        std::string text = utf16ToUtf8(message);
        bool repeated = false;
        for (const std::string& seen : messages) repeated = repeated || seen == text;
        if (!repeated) messages.push_back(std::move(text));
    }
    if (messages.empty()) {
        return DatabaseError(
            number, "A operação ODBC " + std::string(operation) + " falhou sem dizer porquê.");
    }
    std::string description = messages.front();
    for (size_t i = 1; i < messages.size(); ++i) description += "\n" + messages[i];
    return DatabaseError(number, odbcErrorText(states, description, number), description);
}

}  // namespace

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
    const SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
    if (!SQL_SUCCEEDED(rc)) {
        handle_ = SQL_NULL_HANDLE;
        throw diagnostics(parentType(type), parent, "SQLAllocHandle");
    }
}

OdbcHandle::~OdbcHandle() {
    if (handle_ == SQL_NULL_HANDLE) return;
    if (type_ == SQL_HANDLE_DBC) SQLDisconnect(handle_);  // fails harmlessly when not connected
    SQLFreeHandle(type_, handle_);
}

OdbcHandle::OdbcHandle(OdbcHandle&& other) noexcept : type_(other.type_), handle_(other.handle_) {
    other.handle_ = SQL_NULL_HANDLE;
}

void OdbcHandle::check(SQLRETURN rc, std::string_view operation) const {
    if (!SQL_SUCCEEDED(rc)) throw error(operation);
}

DatabaseError OdbcHandle::error(std::string_view operation) const {
    return diagnostics(type_, handle_, operation);
}

bool OdbcHandle::hasState(std::string_view state) const {
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR found[6];
        SQLINTEGER native = 0;
        SQLWCHAR message[1];
        SQLSMALLINT length = 0;
        const SQLRETURN rc =
            SQLGetDiagRecW(type_, handle_, record, found, &native, message, 1, &length);
        if (!SQL_SUCCEEDED(rc)) return false;
        if (utf16ToUtf8(std::u16string(found, found + 5)) == state) return true;
    }
}

}  // namespace talvers
