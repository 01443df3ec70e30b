#pragma once
// The words every program uses to refuse a date it was given, the command line's options and
// the windows' date fields alike: a text that is no date of the form, or a day a SQL Server
// DATETIME cannot hold (kFirstServerDate..kLastServerDate). The command line writes dates year
// first ("2024-05-13"), the windows day first ("13-05-2024"), as each shows them.
#include <optional>
#include <string>
#include <string_view>

#include "shell/dataaccess/date_time.h"

namespace talvers {

enum class DateOrder { YearFirst, DayFirst };

// The date written as exactly "yyyy-mm-dd" or "dd-mm-yyyy" (by `order`), nullopt for any
// other text or a day that does not exist.
std::optional<DateTime> parseDate(std::string_view text, DateOrder order);

// `date` as the order writes it.
std::string dateText(const DateTime& date, DateOrder order);

// Why `text`, given for `where` (an option, a field's caption), cannot be used; "" when it can.
//   "Data inválida em <where>: '<text>' (formato AAAA-MM-DD)."  (DD-MM-AAAA day first)
//   "Data fora do intervalo em <where>: '<text>' (de 1753-01-01 a 9999-12-31)."
std::string dateRefusal(std::string_view where, std::string_view text, DateOrder order);

}  // namespace talvers
