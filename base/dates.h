#pragma once
// Dates as the interview keeps them: texts "dd/mm/yyyy" and day counts from 30/12/1899.

#include <optional>
#include <string>
#include <string_view>

namespace cgt {

// Day count of 30/12/1899 is 0; a time of day is the fraction.
using DateTime = double;

inline constexpr std::string_view kEmptyDateMask = "  /  /    ";
inline constexpr int kCenturyWindow = 89;

// The current calendar year, read from the system clock.
int CurrentYear();

// Two-digit years fall in the hundred years that begin kCenturyWindow years before
// currentYear; years of three or four digits stand as they are.
int ExpandYear(int year, int currentYear);

bool IsValidDate(int year, int month, int day);
std::optional<DateTime> EncodeDate(int year, int month, int day);
void DecodeDate(DateTime date, int& year, int& month, int& day);

// Reads "d/m/y" with one or two digit day and month and a year of one to four digits, blanks
// allowed before each number and after the year. nullopt when it is no valid date.
std::optional<DateTime> ParseDate(std::string_view text, int currentYear);
std::optional<DateTime> ParseDate(std::string_view text);

// "dd/mm/yyyy"
std::string FormatDate(DateTime date);

// The first ten characters of a date entry are blank, the empty mask or no valid date.
bool DateTextIsBlank(std::string_view text);

} // namespace cgt
