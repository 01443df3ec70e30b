#include "shell/dataaccess/date_time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

namespace talvers {
namespace {

TEST(DateTime, ParsesTheFormsDatabasesWrite) {
    EXPECT_EQ(DateTime::parse("2024-05-13")->isoDate(), "2024-05-13");
    EXPECT_EQ(DateTime::parse("2024-05-13 10:20:30")->isoDateTime(), "2024-05-13 10:20:30");
    EXPECT_EQ(DateTime::parse("2024-05-13 23:59")->minute, 59);
    EXPECT_EQ(DateTime::parse("2024-05-13T08:00:00.000")->hour, 8);
    for (const char* bad : {"", "2024-02-30", "2024-13-01", "13-05-2024", "2024-05-13 24:00",
                            "2024-05-13x", "2024-05-13 10:20:30.x"}) {
        EXPECT_FALSE(DateTime::parse(bad).has_value()) << bad;
    }
}

// SQL Server's datetime keeps milliseconds; the last ones of a day stay in that day.
TEST(DateTime, KeepsMillisecondsWithoutRoundingIntoTheNextSecond) {
    const DateTime last = *DateTime::parse("2024-12-31 23:59:59.997");
    EXPECT_EQ(last.millisecond, 997);
    EXPECT_EQ(last.isoDate(), "2024-12-31");
    EXPECT_EQ(DateTime::parse("2024-12-31 23:59:59.9999")->millisecond, 999);
    EXPECT_EQ(DateTime::parse("2024-12-31 23:59:59.5")->millisecond, 500);
    EXPECT_EQ(DateTime::parse("2024-12-31 23:59:59.")->millisecond, 0);
    EXPECT_LT(*DateTime::parse("2024-12-31 23:59:59.003"), last);
    EXPECT_EQ(last.dateOnly(), (DateTime{2024, 12, 31}));
}

TEST(DateTime, NowIsTheLocalTimeWithinADayOfUtc) {
    const DateTime local = DateTime::now();
    // Read back from its own text: every field in range (localtime_s on Windows fills the same
    // fields as localtime_r).
    ASSERT_TRUE(DateTime::parse(local.isoDateTime()).has_value()) << local.isoDateTime();
    const auto utcDay = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    const std::chrono::year_month_day ymd(utcDay);
    const DateTime utc{static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
                       static_cast<int>(unsigned(ymd.day()))};
    // Time zones are at most 14 hours from UTC.
    EXPECT_GE(local.isoDate(), utc.plusDays(-1).isoDate());
    EXPECT_LE(local.isoDate(), utc.plusDays(1).isoDate());
}

TEST(DateTime, CalendarArithmetic) {
    EXPECT_EQ(DateTime::parse("2024-02-29")->oneYearEarlier().isoDate(), "2023-02-28");
    EXPECT_EQ(DateTime::parse("2026-12-07")->oneYearEarlier().isoDate(), "2025-12-07");
    EXPECT_EQ(DateTime::parse("2024-01-30")->plusDays(5).isoDate(), "2024-02-04");
    EXPECT_EQ(DateTime::parse("2023-12-31")->plusDays(1).isoDate(), "2024-01-01");
    EXPECT_EQ(DateTime::parse("2024-03-01")->plusDays(-1).isoDate(), "2024-02-29");
    const DateTime day{2024, 1, 5, 10, 30, 0};
    EXPECT_EQ(day.plusDays(2900000), (DateTime{9963, 12, 11, 10, 30, 0}));  // time of day kept
    EXPECT_EQ(DateTime::parse("9999-12-30")->plusDays(1).isoDate(), "9999-12-31");
    EXPECT_EQ(DateTime::parse("0001-01-02")->plusDays(-1).isoDate(), "0001-01-01");
    for (const long days :
         {std::numeric_limits<long>::max(), std::numeric_limits<long>::min(), 2913170L, -738890L}) {
        EXPECT_THROW(day.plusDays(days), DateOutOfRange) << days;
    }
    EXPECT_THROW(DateTime::parse("9999-12-31")->plusDays(1), DateOutOfRange);
    EXPECT_EQ(DateTime::parse("2026-12-07 15:00")->dmyDate(), "07-12-2026");
}

}  // namespace
}  // namespace talvers
