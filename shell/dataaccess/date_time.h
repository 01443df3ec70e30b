#pragma once
// A calendar date with a time of day, as the ERP stores order dates. No time zone: the ERP's
// dates are local wall-clock values and are never converted.
#include <compare>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace talvers {

// A date computed beyond the years 1 to 9999, which no database date can hold.
class DateOutOfRange : public std::out_of_range {
  public:
    DateOutOfRange() : std::out_of_range("date outside the years 1 to 9999") {}
};
// The error number a report gives such a date with (after the T-SQL rewrite's 50001 and the
// money range's 50002).
inline constexpr long kDateOutOfRangeError = 50003;

struct DateTime {
    int year = 1900;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;  // SQL Server's datetime keeps them (in steps of 1/300 s)

    // Accepts "YYYY-MM-DD", "YYYY-MM-DD HH:MM", "YYYY-MM-DD HH:MM:SS" with optional
    // fractional seconds (".123" from SQL Server drivers; digits past the third are dropped,
    // never rounded up into the next second or day) and 'T' as separator.
    // Returns nullopt for anything else, including impossible dates.
    static std::optional<DateTime> parse(std::string_view text);
    static bool isValidDate(int year, int month, int day);
    // The local date and time now, to the second.
    static DateTime now();
    // The local calendar date now, at midnight.
    static DateTime today() { return now().dateOnly(); }
    static int daysInMonth(int year, int month);

    DateTime dateOnly() const { return {year, month, day, 0, 0, 0}; }
    // Keeps the time of day. Throws DateOutOfRange when the result leaves the years 1 to 9999.
    DateTime plusDays(long days) const;
    // The same day one calendar year earlier; 29 February becomes 28 February.
    DateTime oneYearEarlier() const;

    std::string isoDate() const;      // "yyyy-mm-dd"
    std::string dmyDate() const;      // "dd-mm-yyyy"
    std::string isoDateTime() const;  // "yyyy-mm-dd hh:mm:ss"

    constexpr auto operator<=>(const DateTime&) const = default;
};

// The days SQL Server's DATETIME holds: a date outside them is refused where it is entered,
// before a statement could send it.
inline constexpr DateTime kFirstServerDate{1753, 1, 1};
inline constexpr DateTime kLastServerDate{9999, 12, 31};

}  // namespace talvers
