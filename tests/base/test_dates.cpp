#include "base/dates.h"

#include <chrono>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace cgt {
namespace {

struct DayCase {
    int year, month, day;
    long count;
};

// Day counts from 30/12/1899, including the dates the CGT rules turn on.
const DayCase kDays[] = {
    {1899, 12, 30, 0},    {1899, 12, 31, 1},    {1900, 1, 1, 2},         {1900, 3, 1, 61},
    {1985, 9, 20, 31310}, {1999, 9, 21, 36424}, {2000, 2, 29, 36585},    {2003, 7, 1, 37803},
    {2004, 6, 30, 38168}, {1, 1, 1, -693593},   {9999, 12, 31, 2958465},
};

TEST(Dates, DayCountsFromDayZero) {
    for (const DayCase& c : kDays) {
        SCOPED_TRACE(testing::Message() << c.day << '/' << c.month << '/' << c.year);
        EXPECT_EQ(EncodeDate(c.year, c.month, c.day), static_cast<DateTime>(c.count));
        int y = 0, m = 0, d = 0;
        DecodeDate(static_cast<DateTime>(c.count), y, m, d);
        EXPECT_EQ(y, c.year);
        EXPECT_EQ(m, c.month);
        EXPECT_EQ(d, c.day);
    }
}

TEST(Dates, ValidityFollowsTheGregorianCalendar) {
    struct Case {
        int year, month, day;
        bool valid;
    };
    const Case cases[] = {
        {2004, 2, 29, true},  {2003, 2, 29, false}, {1900, 2, 29, false}, {2000, 2, 29, true},
        {2100, 2, 29, false}, {2004, 2, 30, false}, {2004, 4, 30, true},  {2004, 4, 31, false},
        {2004, 12, 31, true}, {2004, 1, 0, false},  {2004, 0, 1, false},  {2004, 13, 1, false},
        {0, 1, 1, false},     {1, 1, 1, true},      {9999, 12, 31, true}, {10000, 1, 1, false},
        {-1, 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.day << '/' << c.month << '/' << c.year);
        EXPECT_EQ(IsValidDate(c.year, c.month, c.day), c.valid);
        EXPECT_EQ(EncodeDate(c.year, c.month, c.day).has_value(), c.valid);
    }
}

TEST(Dates, EveryDayOfTheRangeFollowsTheDayBefore) {
    int year = 1, month = 1, day = 1;
    for (long n = -693593; n <= 2958465; ++n) {
        int y = 0, m = 0, d = 0;
        DecodeDate(static_cast<DateTime>(n), y, m, d);
        ASSERT_TRUE(y == year && m == month && d == day)
            << n << " decodes as " << d << '/' << m << '/' << y;
        ASSERT_EQ(EncodeDate(y, m, d), static_cast<DateTime>(n));
        if (IsValidDate(year, month, day + 1)) {
            ++day;
        } else if (month < 12) {
            ++month;
            day = 1;
        } else {
            ++year;
            month = day = 1;
        }
    }
}

TEST(Dates, TimeOfDayAndOutOfRangeValues) {
    int y = 0, m = 0, d = 0;
    DecodeDate(38168.75, y, m, d);
    EXPECT_EQ(d * 10000 + m * 100 + y, 30 * 10000 + 6 * 100 + 2004);
    // The whole part is the day also before day zero: -1.25 is 29/12/1899 at 6am.
    EXPECT_EQ(FormatDate(-1.25), "29/12/1899");

    const DateTime outside[] = {-693594.0, 2958466.0, std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity(), 1e300};
    for (DateTime v : outside) {
        y = m = d = 7;
        DecodeDate(v, y, m, d);
        EXPECT_EQ(y + m + d, 0) << v;
        EXPECT_EQ(FormatDate(v), "") << v;
    }
}

TEST(Dates, FormatWritesDayMonthAndFourDigitYear) {
    const std::pair<DateTime, const char*> cases[] = {
        {38168, "30/06/2004"},   {38168.999, "30/06/2004"}, {2, "01/01/1900"},
        {36585, "29/02/2000"},   {-693593, "01/01/0001"},   {2958465, "31/12/9999"},
        {-657069, "01/01/0101"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatDate(value), text) << value;
}

TEST(Dates, TwoDigitYearsFallInTheWindow) {
    struct Case {
        int year, currentYear, expanded;
    };
    const Case cases[] = {
        {0, 2026, 2000},  {36, 2026, 2036}, {37, 2026, 1937},   {99, 2026, 1999},   {3, 2026, 2003},
        {14, 2004, 2014}, {15, 2004, 1915}, {0, 2089, 2000},    {99, 2089, 2099},   {0, 2090, 2100},
        {1, 2090, 2001},  {100, 2026, 100}, {2003, 2026, 2003}, {1937, 2200, 1937}, {-1, 2026, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandYear(c.year, c.currentYear), c.expanded)
            << c.year << " in " << c.currentYear;
}

TEST(Dates, ParseReadsDayMonthYear) {
    struct Case {
        const char* text;
        int year, month, day;
    };
    const Case cases[] = {
        {"30/06/2004", 2004, 6, 30}, {"29/02/2004", 2004, 2, 29},  {"1/7/03", 2003, 7, 1},
        {" 1/ 7/2003", 2003, 7, 1},  {"01/07/2003  ", 2003, 7, 1}, {" 1/ 1/ 1", 2001, 1, 1},
        {"1/7/36", 2036, 7, 1},      {"1/7/37", 1937, 7, 1},       {"1/1/0", 2000, 1, 1},
        {"1/1/00", 2000, 1, 1},      {"1/1/100", 100, 1, 1},       {"1/1/003", 3, 1, 1},
        {"1/1/0001", 1, 1, 1},       {"31/12/9999", 9999, 12, 31}, {"20/9/1985", 1985, 9, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = ParseDate(c.text, 2026);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed, EncodeDate(c.year, c.month, c.day));
    }
}

TEST(Dates, ParseRejectsAnythingElse) {
    const std::string_view texts[] = {
        "31/02/2004", "29/02/2003", "  /  /    ", "",
        "   ",        "1/2",        "1/2/",       "1/2/3/4",
        "aa/bb/cccc", "1/1/0000",   "1/1/00000",  "001/1/2000",
        "1/001/2000", "1-1-2000",   "1 /1/2000",  "1/1 /2000",
        "1/1/2000x",  "1/1/2000 x", "/1/2000",    "1//2000",
        "+1/1/2000",  "\t1/1/2000", "1/1/2000\t", "32/1/2000",
        "0/1/2000",   "1/0/2000",   "1/13/2000",  std::string_view("1/1/2000\0", 9),
    };
    for (std::string_view text : texts)
        EXPECT_EQ(ParseDate(text, 2026), std::nullopt) << '"' << text << '"';
}

TEST(Dates, ParseWithoutYearUsesTheClock) {
    const auto today = std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
    const int utcYear = static_cast<int>(today.year());
    // Local time may be a year apart from UTC around New Year.
    EXPECT_LE(std::abs(CurrentYear() - utcYear), 1);
    EXPECT_EQ(ParseDate("15/08/50"), ParseDate("15/08/50", CurrentYear()));
    EXPECT_EQ(ParseDate("15/08/2050"), EncodeDate(2050, 8, 15));
}

TEST(Dates, DateTextIsBlank) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},
        {"  /  /    ", true},
        {"31/02/2004", true},
        {"29/02/2004", false},
        {"01/07/2003xyz", false},
        {"garbage", true},
        {"   ", true},
    };
    for (auto [text, blank] : cases)
        EXPECT_EQ(DateTextIsBlank(text), blank) << text;
}

} // namespace
} // namespace cgt
