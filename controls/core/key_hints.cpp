#include "controls/core/key_hints.h"

namespace cgt {

namespace {

constexpr const char* kDash = " \u2014 ";

// "digits only", "digits and a minus sign only", ... for the signs a number takes.
std::string NumberCharsText(const CharSet& chars) {
    const bool minus = InSet(chars, '-');
    const bool point = InSet(chars, '.');
    if (minus && point) return "digits, a minus sign and a decimal point only";
    if (minus) return "digits and a minus sign only";
    if (point) return "digits and a decimal point only";
    return "digits only";
}

// What a field of the kind takes, for a key it does not.
std::string NotAllowedText(const EntryShape& shape, char c) {
    switch (shape.kind) {
    case EntryKind::WholeDollars:
        return std::string("whole dollars") + kDash + NumberCharsText(shape.chars);
    case EntryKind::DollarsAndCents:
        return std::string("dollars and cents") + kDash + NumberCharsText(shape.chars);
    case EntryKind::Percentage:
        return std::string("a percentage") + kDash + NumberCharsText(shape.chars);
    case EntryKind::Date:
        return std::string("a date as dd/mm/yyyy") + kDash + "digits and / only";
    case EntryKind::Digits:
        return NumberCharsText(shape.chars);
    case EntryKind::Text:
        break;
    }
    if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126)
        return "this character cannot be typed here";
    return std::string("'") + c + "' cannot be typed here";
}

} // namespace

std::string RefusedKeyHint(const EntryShape& shape, KeyRefusal reason, char c) {
    switch (reason) {
    case KeyRefusal::None:
        return {};
    case KeyRefusal::ReadOnly:
        return std::string("worked out for you") + kDash + "cannot be typed in";
    case KeyRefusal::Cents:
        return shape.kind == EntryKind::WholeDollars
                   ? std::string("whole dollars") + kDash + "no cents"
                   : std::string("whole numbers") + kDash + "no decimals";
    case KeyRefusal::Repeated:
        return c == '-' ? "one minus sign only" : "one decimal point only";
    case KeyRefusal::Full:
        return "at most " + std::to_string(shape.maxLength) +
               (shape.kind == EntryKind::Text || shape.kind == EntryKind::Date ? " characters"
                                                                               : " digits");
    case KeyRefusal::WholePartFull:
        return "at most " + std::to_string(shape.maxLength - shape.decimals - 1) +
               " digits before the point" + kDash + "type . for the cents";
    case KeyRefusal::NotAllowed:
        break;
    }
    return NotAllowedText(shape, c);
}

} // namespace cgt
