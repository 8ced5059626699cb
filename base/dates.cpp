#include "base/dates.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#include "base/text.h"

namespace cgt {

namespace {

// Day number of 30/12/1899 counted from 01/03/0000 of the proleptic Gregorian calendar.
constexpr long kDayZero = 693899;
// 01/01/0001 and 31/12/9999 as day counts.
constexpr long kFirstDay = -693593;
constexpr long kLastDay = 2958465;

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 01/03/0000; the year is taken to begin in March so that the leap day ends it.
long DaysFromCivil(int year, int month, int day) {
    const long y = month <= 2 ? year - 1 : year;
    const long era = y / 400; // y >= 0 for years 1..9999
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

void CivilFromDays(long days, int& year, int& month, int& day) {
    const long era = days / 146097; // days >= 0 in the supported range
    const long dayOfEra = days - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

bool IsBlank(char c) {
    return c == ' ';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Blanks, then 1..maxDigits digits; advances pos past them.
bool ScanNumber(std::string_view text, std::size_t& pos, int maxDigits, int& value, int& digits) {
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    value = 0;
    digits = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        if (++digits > maxDigits) return false;
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return digits > 0;
}

bool ScanSeparator(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != '/') return false;
    ++pos;
    return true;
}

} // namespace

int CurrentYear() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

int ExpandYear(int year, int currentYear) {
    if (year < 0 || year > 99) return year;
    const int base = currentYear - kCenturyWindow;
    year += base / 100 * 100;
    if (year < base) year += 100;
    return year;
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

std::optional<DateTime> EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) return std::nullopt;
    return static_cast<DateTime>(DaysFromCivil(year, month, day) - kDayZero);
}

// The whole part is the day (a negative date keeps its day before the fraction, as the time
// of day counts away from day zero). A value outside 01/01/0001..31/12/9999 decodes as 0/0/0.
void DecodeDate(DateTime date, int& year, int& month, int& day) {
    year = month = day = 0;
    if (!std::isfinite(date)) return;
    const double whole = std::trunc(date);
    if (whole < kFirstDay || whole > kLastDay) return;
    CivilFromDays(static_cast<long>(whole) + kDayZero, year, month, day);
}

std::optional<DateTime> ParseDate(std::string_view text, int currentYear) {
    std::size_t pos = 0;
    int day = 0, month = 0, year = 0, digits = 0;
    if (!ScanNumber(text, pos, 2, day, digits) || !ScanSeparator(text, pos) ||
        !ScanNumber(text, pos, 2, month, digits) || !ScanSeparator(text, pos) ||
        !ScanNumber(text, pos, 4, year, digits))
        return std::nullopt;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    if (pos != text.size()) return std::nullopt;
    if (digits <= 2) year = ExpandYear(year, currentYear);
    return EncodeDate(year, month, day);
}

std::optional<DateTime> ParseDate(std::string_view text) {
    return ParseDate(text, CurrentYear());
}

std::string FormatDate(DateTime date) {
    int year = 0, month = 0, day = 0;
    DecodeDate(date, year, month, day);
    if (year == 0) return {};
    std::string text = "00/00/0000";
    text[0] = static_cast<char>('0' + day / 10);
    text[1] = static_cast<char>('0' + day % 10);
    text[3] = static_cast<char>('0' + month / 10);
    text[4] = static_cast<char>('0' + month % 10);
    for (int i = 9, y = year; i >= 6; --i, y /= 10)
        text[i] = static_cast<char>('0' + y % 10);
    return text;
}

bool DateTextIsBlank(std::string_view text) {
    text = text.substr(0, std::min<std::size_t>(text.size(), 10));
    if (TrimBlanks(text).empty() || text == kEmptyDateMask) return true;
    return !ParseDate(text).has_value();
}

} // namespace cgt
