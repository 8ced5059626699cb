#pragma once
// Control and 8-bit characters written as \xNN, so that test names and messages stay on one line.

#include <string>

namespace cgt::test {

inline std::string Escaped(const char* text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char* p = text; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 32 || c >= 127) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace cgt::test
