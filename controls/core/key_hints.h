#pragma once
// The hint shown at an entry field or a grid cell after a refused key: why the key was refused
// and what the field or column accepts ("whole dollars — digits only", "at most 8 digits").
// One set of texts for the fields and the grid; no Qt.

#include <string>

#include "controls/core/tax_text.h"

namespace cgt {

// Why a typed key was refused.
enum class KeyRefusal {
    None,          // the key was taken
    NotAllowed,    // not a character of the field
    Repeated,      // a second minus sign or decimal point
    Full,          // no room for another character
    WholePartFull, // no room for another digit before the decimal point
    Cents,         // a decimal point (or the digits after it) in a whole-number field
    ReadOnly,      // the field shows a result
};

// What a field or column holds, as far as its hint tells.
enum class EntryKind {
    WholeDollars,
    DollarsAndCents,
    Percentage,
    Date,
    Digits, // other numbers and the identifiers: the characters they take
    Text,
};

struct EntryShape {
    EntryKind kind = EntryKind::Text;
    CharSet chars;     // the characters the field takes
    int maxLength = 0; // the most characters (digits, for numbers)
    int decimals = 0;  // digits after the point
};

// The hint for key `c` refused for `reason` in a field of `shape` (UTF-8).
std::string RefusedKeyHint(const EntryShape& shape, KeyRefusal reason, char c);

} // namespace cgt
