#include "base/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace cgt {

namespace {

constexpr int kMaxDigits = 18;
// General notation stays fixed down to this decimal exponent.
constexpr int kLowestFixedExponent = -5;

// A finite value as sign, significant digits d0 d1 d2 ... and the exponent of d0:
// value = d0.d1d2... * 10^exponent. No digits (or only zeros) is zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool IsZero() const { return digits.find_first_not_of('0') == std::string::npos; }
};

enum class Kind { Finite, NotANumber, Infinite };

// Values that the x87 refuses as operands (unnormals, pseudo-infinities, pseudo-NaNs) can come
// from the data file; they count as NaN. A pseudo-denormal reads as the same significand at
// the smallest normal exponent, which is the value the x87 gives it.
Kind Classify(Extended& value) {
    ExtendedBytes bytes = EncodeExtended(value);
    const int exponent = (bytes[9] & 0x7F) << 8 | bytes[8];
    const bool integerBit = (bytes[7] & 0x80) != 0;
    if (exponent == 0x7FFF) {
        if (!integerBit) return Kind::NotANumber;
        for (int i = 0; i < 7; ++i)
            if (bytes[i] != 0) return Kind::NotANumber;
        if (bytes[7] != 0x80) return Kind::NotANumber;
        return Kind::Infinite;
    }
    if (exponent != 0 && !integerBit) return Kind::NotANumber;
    if (exponent == 0 && integerBit) {
        // Pseudo-denormal: same value as the smallest exponent with the integer bit set.
        bytes[8] = static_cast<std::uint8_t>(bytes[8] | 1);
        value = DecodeExtended(bytes);
    }
    return Kind::Finite;
}

// The 18-significant-digit expansion. printf rounds the binary value correctly; only its
// digits, sign and exponent are read, so the locale's decimal point does not matter.
Decimal Expand(Extended value) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*Le", kMaxDigits - 1, value);
    Decimal d;
    int i = 0;
    const int end = length > 0 && length < static_cast<int>(sizeof buffer) ? length : 0;
    if (i < end && buffer[i] == '-') {
        d.negative = true;
        ++i;
    }
    for (; i < end && buffer[i] != 'e'; ++i)
        if (buffer[i] >= '0' && buffer[i] <= '9') d.digits += buffer[i];
    if (i < end) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (buffer[i] == '-' || buffer[i] == '+'))
            negativeExponent = buffer[i++] == '-';
        int exponent = 0;
        for (; i < end && buffer[i] >= '0' && buffer[i] <= '9'; ++i)
            exponent = exponent * 10 + (buffer[i] - '0');
        d.exponent = negativeExponent ? -exponent : exponent;
    }
    return d;
}

// Keeps `keep` significant digits, rounding half away from zero on the digits dropped.
void RoundDigits(Decimal& d, int keep) {
    if (keep >= static_cast<int>(d.digits.size())) return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (!up) return;
    int i = keep - 1;
    while (i >= 0 && d.digits[i] == '9')
        d.digits[i--] = '0';
    if (i >= 0) {
        ++d.digits[i];
    } else {
        d.digits.insert(d.digits.begin(), '1');
        ++d.exponent;
    }
}

char DigitAt(const Decimal& d, int index) {
    return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[index] : '0';
}

std::string SpecialText(Kind kind, bool negative) {
    if (kind == Kind::NotANumber) return "NAN";
    return negative ? "-INF" : "INF";
}

} // namespace

std::string FormatGeneral(Extended value, int precision) {
    const Kind kind = Classify(value);
    if (kind != Kind::Finite) return SpecialText(kind, std::signbit(value));
    precision = std::clamp(precision, 1, kMaxDigits);
    Decimal d = Expand(value);
    RoundDigits(d, precision);
    if (d.IsZero()) return "0";
    d.digits.erase(d.digits.find_last_not_of('0') + 1);

    std::string text = d.negative ? "-" : "";
    const int count = static_cast<int>(d.digits.size());
    if (d.exponent >= kLowestFixedExponent && d.exponent < precision) {
        if (d.exponent >= 0) {
            for (int i = 0; i <= d.exponent; ++i)
                text += DigitAt(d, i);
            if (count > d.exponent + 1) text += '.' + d.digits.substr(d.exponent + 1);
        } else {
            text += "0.";
            text.append(-d.exponent - 1, '0');
            text += d.digits;
        }
        return text;
    }
    text += d.digits[0];
    if (count > 1) text += '.' + d.digits.substr(1);
    text += 'E';
    text += std::to_string(d.exponent);
    return text;
}

std::string FormatSignificant(Extended value, int significant, int decimals) {
    const auto rounded = ParseNumber(FormatGeneral(value, significant));
    return FormatFixed(rounded ? *rounded : value, significant, decimals);
}

std::string FormatFixed(Extended value, int precision, int decimals) {
    const Kind kind = Classify(value);
    if (kind != Kind::Finite) return SpecialText(kind, std::signbit(value));
    precision = std::clamp(precision, 1, kMaxDigits);
    decimals = std::clamp(decimals, 0, kMaxDigits);
    Decimal d = Expand(value);
    if (d.IsZero()) {
        d.digits.clear();
        d.exponent = 0;
    } else {
        RoundDigits(d, d.exponent + 1 + decimals);
    }
    const bool zero = d.IsZero();
    if (!zero && d.exponent + 1 > precision) return FormatGeneral(value, precision);

    std::string text = d.negative && !zero ? "-" : "";
    if (zero || d.exponent < 0) {
        text += '0';
    } else {
        for (int i = 0; i <= d.exponent; ++i)
            text += DigitAt(d, i);
    }
    if (decimals > 0) {
        text += '.';
        const int first = zero ? 0 : d.exponent + 1;
        for (int k = 0; k < decimals; ++k)
            text += zero ? '0' : DigitAt(d, first + k);
    }
    return text;
}

Extended RoundHalfEven(Extended value) {
    if (!std::isfinite(value)) return value;
    const Extended floor = std::floor(value);
    const Extended fraction = value - floor; // exact for binary floating point
    if (fraction < 0.5L) return floor;
    if (fraction > 0.5L) return floor + 1;
    return std::fmod(floor, 2.0L) == 0 ? floor : floor + 1;
}

std::optional<Extended> ParseNumber(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;

    auto digit = [&](std::size_t i) { return i < end && text[i] >= '0' && text[i] <= '9'; };
    std::size_t pos = begin;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) ++pos;
    std::size_t mantissaDigits = 0;
    while (digit(pos)) {
        ++pos;
        ++mantissaDigits;
    }
    if (pos < end && text[pos] == '.') {
        ++pos;
        while (digit(pos)) {
            ++pos;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < end && (text[pos] == '+' || text[pos] == '-')) ++pos;
        if (!digit(pos)) return std::nullopt;
        while (digit(pos))
            ++pos;
    }
    if (pos != end) return std::nullopt;

    // The validated text in the C locale, so the decimal point is '.' whatever the process
    // locale says.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string number(text.substr(begin, end - begin));
    const Extended value = strtold_l(number.c_str(), nullptr, cLocale);
    if (std::isinf(value)) return std::nullopt; // overflow
    return value;
}

Extended TextToFloat(std::string_view text, Extended defaultValue) {
    return ParseNumber(text).value_or(defaultValue);
}

} // namespace cgt
