#include "dialogs/save_file_name.h"

#include <algorithm>

namespace cgt {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiUpper(x) == AsciiUpper(y);
           });
}

std::string_view TrimBlanks(std::string_view s) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

} // namespace

ParsedFileName ParseFileName(std::string_view text, std::string_view directory) {
    ParsedFileName result;
    std::string name(TrimBlanks(text));

    const std::size_t dot = name.find('.');
    if (dot == std::string::npos) {
        name += ".tax";
    } else if (dot + 1 == name.size()) {
        name += "tax";
    } else {
        std::string upper;
        upper.reserve(name.size());
        for (char c : name)
            upper += AsciiUpper(c);
        // 1-based position of the first ".TAX"; it must be the last four characters.
        const std::size_t found = upper.find(".TAX");
        const std::size_t p = found == std::string::npos ? 0 : found + 1;
        const std::size_t length = name.size();
        if (!(p + 3 == length && length > 4)) {
            result.badName = true;
            result.badExtension = true;
        }
    }

    if (!name.empty() && name.front() == '.') result.badName = true;
    for (char c : name) {
        if (!(c == ' ' || c == '-' || c == '.' || c == '~' || IsAsciiDigit(c) || IsAsciiLetter(c)))
            result.badName = true;
    }

    std::string path(directory);
    if (path.empty() || path.back() != '/') path += '/';
    for (char c : name)
        path += AsciiUpper(c);
    result.fullPath = std::move(path);
    return result;
}

bool NamesCurrentFile(std::string_view typed, std::string_view currentName) {
    return !currentName.empty() && SameIgnoringCase(TrimBlanks(typed), currentName);
}

std::string EntryForName(std::string_view name, const std::vector<std::string>& entries) {
    for (const auto& entry : entries)
        if (entry == name) return entry;
    for (const auto& entry : entries)
        if (SameIgnoringCase(entry, name)) return entry;
    return {};
}

bool FileNameKeyAccepted(char key, std::string_view current) {
    if (key == '\b') return true;
    if (key == '.') return current.find('.') == std::string_view::npos;
    return key == '-' || IsAsciiDigit(key) || IsAsciiLetter(key);
}

} // namespace cgt
