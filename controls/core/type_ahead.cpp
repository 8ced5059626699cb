#include "controls/core/type_ahead.h"

#include <cctype>

namespace cgt {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

} // namespace

int FindItemStartingWith(const std::vector<std::string>& items, const std::string& prefix) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (StartsWithNoCase(items[i], prefix)) return static_cast<int>(i);
    return -1;
}

int TypeAheadSearch::Key(char key, const std::vector<std::string>& items) {
    search_ += key;
    int found = FindItemStartingWith(items, search_);
    if (found < 0 && search_.size() > 1) {
        search_.assign(1, key);
        found = FindItemStartingWith(items, search_);
    }
    return found;
}

} // namespace cgt
