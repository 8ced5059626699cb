#include "controls/core/tax_text.h"

#include <algorithm>
#include <cstdio>

#include "base/dates.h"
#include "base/number_format.h"

namespace cgt {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A non-digit counts as 0.
int DigitValue(char c) {
    return IsDigit(c) ? c - '0' : 0;
}

const CharSet& Digits() {
    static const CharSet set = [] {
        CharSet s;
        for (int c = '0'; c <= '9'; ++c)
            s.set(static_cast<std::size_t>(c));
        return s;
    }();
    return set;
}

std::string PadLeft(std::string text, std::size_t width, char fill) {
    if (text.size() < width) text.insert(0, width - text.size(), fill);
    return text;
}

// The first characters of `text` in groups of the given sizes, separated by single spaces.
std::string Group(std::string_view text, std::initializer_list<std::size_t> sizes) {
    std::string out;
    std::size_t pos = 0;
    for (std::size_t size : sizes) {
        if (pos >= text.size()) break;
        if (!out.empty()) out += ' ';
        out += text.substr(pos, size);
        pos += size;
    }
    return out;
}

// d1..dn weighted by `weights`, d1 first.
int WeightedSum(std::string_view digits, std::initializer_list<int> weights) {
    int sum = 0;
    std::size_t i = 0;
    for (int w : weights) {
        if (i >= digits.size()) break;
        sum += DigitValue(digits[i++]) * w;
    }
    return sum;
}

// The business number sum: (d1 - 1) x 10 + d2 x 1 + d3 x 3 + ... + d11 x 19.
int BusinessNumberSum(std::string_view digits) {
    return (DigitValue(digits[0]) - 1) * 10 +
           WeightedSum(digits.substr(1), {1, 3, 5, 7, 9, 11, 13, 15, 17, 19});
}

bool Blank(std::string_view text) {
    return TrimText(text).empty();
}

} // namespace

ValidCharsParse ParseValidChars(std::string_view text) {
    ValidCharsParse result;
    std::string_view rest = text.substr(0, std::min(text.size(), kMaxValidCharsLength));
    result.text = std::string(rest);
    while (!rest.empty()) {
        // A list that starts with a comma has the comma as its item: a range ",..y" or the comma
        // alone. Its separator is the next comma after the item.
        std::size_t searchFrom = 0;
        if (rest[0] == ',') searchFrom = rest.size() >= 3 && rest.substr(1, 2) == ".." ? 4 : 1;
        const std::size_t comma =
            searchFrom < rest.size() ? rest.find(',', searchFrom) : std::string_view::npos;
        std::string_view item;
        if (comma == std::string_view::npos) {
            item = rest;
            rest = {};
        } else {
            item = rest.substr(0, comma);
            rest = rest.substr(comma + 1);
        }
        if (item.size() == 1) {
            result.set.set(static_cast<unsigned char>(item[0]));
        } else if (item.size() == 4) {
            for (int c = static_cast<unsigned char>(item[0]);
                 c <= static_cast<unsigned char>(item[3]); ++c)
                result.set.set(static_cast<std::size_t>(c));
        } else {
            result.set.reset();
            result.ok = false;
            break;
        }
    }
    return result;
}

std::string BadValidCharsMessage(std::string_view text) {
    return "Bad ValidChars property " + std::string(text) + " !";
}

bool InSet(const CharSet& set, char c) {
    return set.test(static_cast<unsigned char>(c));
}

std::string FilterChars(std::string_view text, const CharSet& set) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (InSet(set, c)) out += c;
    return out;
}

std::string RemoveSpaces(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ' ') out += c;
    return out;
}

void SplitText(std::string_view text, char delimiter, StringList& list) {
    list.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t pos = text.find(delimiter, start);
        if (pos == std::string_view::npos) {
            list.emplace_back(text.substr(start));
            return;
        }
        list.emplace_back(text.substr(start, pos - start));
        start = pos + 1;
    }
}

std::string FixedToText(Extended value, int width, int decimals) {
    std::string text = FormatFixed(value, 18, std::max(decimals, 0));
    return PadLeft(std::move(text), static_cast<std::size_t>(std::max(width, 0)), ' ');
}

std::string FormatPercentG(Extended value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%Lg", value);
    return buffer;
}

std::string RangeMessage(Extended minimum, Extended maximum) {
    return "Value must be between " + FormatPercentG(minimum) + " and " + FormatPercentG(maximum);
}

std::string NormaliseDateDigits(std::string_view text, char separator) {
    const bool allDigits = !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
    if (!allDigits || (text.size() != 6 && text.size() != 8)) return std::string(text);
    std::string out;
    out += text.substr(0, 2);
    out += separator;
    out += text.substr(2, 2);
    out += separator;
    out += text.substr(4);
    return out;
}

namespace {

// Blanks, then 1..maxDigits digits, as a date is read; advances pos past them.
bool ScanDatePart(std::string_view text, std::size_t& pos, std::size_t maxDigits, int& value,
                  std::size_t& digits) {
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    value = 0;
    digits = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        if (++digits > maxDigits) return false;
        value = value * 10 + (text[pos++] - '0');
    }
    return digits > 0;
}

bool ScanDateSeparator(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != '/') return false;
    ++pos;
    return true;
}

std::string TwoDigits(int value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

} // namespace

std::string DateEntryMessage(std::string_view text, int currentYear) {
    const std::string trimmed = TrimText(NormaliseDateDigits(TrimText(text)));
    std::size_t pos = 0, digits = 0;
    int day = 0, month = 0, year = 0;
    const bool shaped =
        ScanDatePart(trimmed, pos, 2, day, digits) && ScanDateSeparator(trimmed, pos) &&
        ScanDatePart(trimmed, pos, 2, month, digits) && ScanDateSeparator(trimmed, pos) &&
        ScanDatePart(trimmed, pos, 4, year, digits) && pos == trimmed.size();
    if (!shaped || ParseDate(trimmed, currentYear)) return std::string(kDateFormatMessage);
    if (digits <= 2) year = ExpandYear(year, currentYear);
    char yearText[8];
    std::snprintf(yearText, sizeof yearText, "%04d", year);
    return "The date " + TwoDigits(day) + "/" + TwoDigits(month) + "/" + yearText +
           " does not exist.";
}

std::string DateEntryMessage(std::string_view text) {
    return DateEntryMessage(text, CurrentYear());
}

std::string FormatCents(Extended value) {
    return FormatSignificant(value, 12, 2);
}

bool IsValidTFN(std::string_view text) {
    if (Blank(text)) return true;
    if (TrimText(text) == "0") return false;
    const std::string s = RemoveSpaces(text);
    int sum = 0;
    switch (s.size()) {
    case 7:
        sum = WeightedSum(s, {10, 7, 8, 4, 6, 3});
        break;
    case 8:
        sum = WeightedSum(s, {10, 7, 8, 4, 6, 3, 5});
        break;
    case 9:
        sum = WeightedSum(s, {10, 7, 8, 4, 6, 3, 5, 2});
        break;
    default:
        return false;
    }
    return (sum + DigitValue(s.back())) % 11 == 0;
}

bool IsValidABN(std::string_view text) {
    if (Blank(text)) return true;
    const std::string s = FilterChars(text, Digits());
    if (s.size() < 11 || s[0] == '0') return true;
    return BusinessNumberSum(s) % 89 == 0;
}

bool IsValidACN(std::string_view text) {
    if (Blank(text)) return true;
    if (TrimText(text) == "0") return false;
    const std::string s = RemoveSpaces(text);
    if (s.size() != 9) return false;
    const int sum = WeightedSum(s, {8, 7, 6, 5, 4, 3, 2, 1});
    const int check = DigitValue(s[8]);
    if (sum <= 10) return sum + check == 10;
    const int r = sum % 10;
    return (r == 0 && check == 0) || r + check == 10;
}

bool IsValidSFN(std::string_view text) {
    if (Blank(text)) return true;
    if (TrimText(text) == "0") return false;
    const std::string s = RemoveSpaces(text);
    if (s.size() != 9) return false;
    const int r = WeightedSum(s, {32, 16, 8, 4, 2, 1, 128, 64}) % 11;
    const int check = DigitValue(s[8]);
    return (r == 10 && check == 0) || (r < 10 && r == check);
}

bool IsValidDIN(std::string_view text) {
    if (Blank(text)) return true;
    std::string s = FilterChars(text, Digits());
    if (s.size() < 9) return false;
    s = PadLeft(std::move(s), 11, '0');
    if (s.size() != 11) return false;
    // The last two digits lead.
    s = s.substr(9, 2) + s.substr(0, 9);
    if (s[0] == '0') return false;
    return BusinessNumberSum(s) % 89 == 0;
}

bool IsValidEGN(std::string_view text) {
    if (Blank(text)) return true;
    const std::string trimmed = TrimText(text);
    if (trimmed == "0" || trimmed == "00000000") return false;
    const std::string s = RemoveSpaces(text);
    if (s.size() != 8) return false;
    return (WeightedSum(s, {10, 7, 8, 4, 6, 3, 5}) + DigitValue(s[7])) % 11 == 0;
}

std::string FormatTFN(std::string_view text) {
    const std::string s = RemoveSpaces(text);
    if (s.empty()) return {};
    switch (s.size()) {
    case 7:
        return Group(s, {1, 3, 3});
    case 8:
        return Group(s, {2, 3, 3});
    case 9:
        return Group(s, {3, 3, 3});
    default:
        return std::string(text);
    }
}

std::string FormatABN(std::string_view text) {
    const std::string s = RemoveSpaces(text);
    if (s.empty()) return {};
    return Group(PadLeft(s, 11, '0'), {2, 3, 3, 3});
}

std::string FormatDIN(std::string_view text) {
    return FormatABN(text);
}

std::string FormatACN(std::string_view text) {
    const std::string s = RemoveSpaces(text);
    if (s.empty()) return {};
    return Group(PadLeft(s, 9, '0'), {3, 3, 3});
}

std::string FormatSFN(std::string_view text) {
    const std::string s = RemoveSpaces(text);
    if (s.empty()) return {};
    return Group(PadLeft(s, 9, '0'), {4, 3, 2});
}

std::string FormatEGN(std::string_view text) {
    const std::string s = RemoveSpaces(text);
    if (s.empty()) return {};
    return Group(PadLeft(s, 8, '0'), {3, 3, 2});
}

} // namespace cgt
