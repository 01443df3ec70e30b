#pragma once
// SampleInsert: one prepared INSERT statement of a sample database, run once per row. The
// statement is finalized when the object goes; it must go before its database is closed.
// A failed step throws std::runtime_error with SQLite's message.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "shell/dataaccess/date_time.h"
#include "shell/dataaccess/money.h"

struct sqlite3;
struct sqlite3_stmt;

namespace talvers {

// A column value: NULL, a whole number, a text, a quantity or amount (stored as an SQLite
// number, never through double) or a date (stored as "yyyy-mm-dd hh:mm:ss" text).
using SampleValue = std::variant<std::monostate, std::int64_t, std::string_view, Money, DateTime>;

inline SampleValue nullable(const std::optional<std::string>& text) {
    return text ? SampleValue(std::string_view(*text)) : SampleValue();
}
inline SampleValue nullable(const std::optional<std::int64_t>& number) {
    return number ? SampleValue(*number) : SampleValue();
}
inline SampleValue nullable(const std::optional<Money>& amount) {
    return amount ? SampleValue(*amount) : SampleValue();
}

class SampleInsert {
  public:
    SampleInsert(sqlite3* db, const std::string& sql);
    ~SampleInsert();
    SampleInsert(const SampleInsert&) = delete;
    SampleInsert& operator=(const SampleInsert&) = delete;

    // Binds the values to the statement's parameters in order and runs it.
    void row(std::initializer_list<SampleValue> values);

  private:
    void bind(int index, const SampleValue& value);
    [[noreturn]] void fail() const;

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace talvers
