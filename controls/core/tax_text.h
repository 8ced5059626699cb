#pragma once
// Text and identifier functions of the entry fields and the worksheet grid: character sets in
// the ValidChars syntax, filtering, splitting, fixed notation, and the checks and formats of
// the official identifiers (TFN, ABN, ACN/ARBN, SFN, DIN, EGN).

#include <bitset>
#include <string>
#include <string_view>

#include "base/extended.h"
#include "base/text.h"

namespace cgt {

// One bit per 8-bit character code.
using CharSet = std::bitset<256>;

inline constexpr std::size_t kMaxValidCharsLength = 100;

struct ValidCharsParse {
    std::string text; // the ValidChars text kept: at most 100 characters
    CharSet set;      // empty when the list is malformed
    bool ok = true;   // false: "Bad ValidChars property " + text + " !"
};

// Parses a comma-separated list of one-character items and four-character ranges "x..y".
ValidCharsParse ParseValidChars(std::string_view text);
// "Bad ValidChars property " + text + " !"
std::string BadValidCharsMessage(std::string_view text);

bool InSet(const CharSet& set, char c);
std::string FilterChars(std::string_view text, const CharSet& set);
std::string RemoveSpaces(std::string_view text);
// Clears the list and adds the pieces between delimiters; an empty text gives one empty piece.
void SplitText(std::string_view text, char delimiter, StringList& list);
// Fixed notation with `decimals` decimals, right-aligned in at least `width` characters.
std::string FixedToText(Extended value, int width, int decimals);
// "%g" of C: the value in general notation with six significant digits.
std::string FormatPercentG(Extended value);
// "Value must be between %g and %g"
std::string RangeMessage(Extended minimum, Extended maximum);

// A text of exactly 6 digits becomes dd/mm/yy and of exactly 8 digits dd/mm/yyyy; any other text
// is returned as it is.
std::string NormaliseDateDigits(std::string_view text, char separator = '/');

// What a date entry that does not convert is told, by the entry field and the worksheet grid
// alike: a text in the day/month/year form whose date does not exist (31/02/2004) says so;
// anything else asks for the form.
inline constexpr std::string_view kDateFormatMessage = "Enter date in dd/mm/yyyy format";
std::string DateEntryMessage(std::string_view text, int currentYear);
std::string DateEntryMessage(std::string_view text);

// An amount with cents as shown: two decimals and at most 12 significant digits; a whole part
// of more than 12 digits is shown in general notation.
std::string FormatCents(Extended value);

bool IsValidTFN(std::string_view text);
bool IsValidABN(std::string_view text);
bool IsValidACN(std::string_view text);
bool IsValidSFN(std::string_view text);
bool IsValidDIN(std::string_view text);
bool IsValidEGN(std::string_view text);

std::string FormatTFN(std::string_view text);
std::string FormatABN(std::string_view text);
std::string FormatACN(std::string_view text);
std::string FormatSFN(std::string_view text);
std::string FormatDIN(std::string_view text);
std::string FormatEGN(std::string_view text);

} // namespace cgt
