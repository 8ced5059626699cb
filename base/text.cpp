#include "base/text.h"

namespace cgt {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string TrimText(std::string_view text) {
    return std::string(TrimBlanks(text));
}

char ToUpper(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
        return static_cast<char>(u - 0x20);
    return c;
}

char ToLower(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<char>(u + 0x20);
    return c;
}

std::string UpperText(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = ToUpper(c);
    return out;
}

} // namespace cgt
