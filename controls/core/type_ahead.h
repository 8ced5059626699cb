#pragma once
// Type-ahead selection in a fixed list: each key typed is added to a search text and the first
// item that begins with it, ignoring case, is chosen. When nothing matches a search of more
// than one character, the search starts again with the last key alone.

#include <string>
#include <vector>

namespace cgt {

class TypeAheadSearch {
public:
    // Adds `key` to the search; the index of the chosen item, or -1 when none matches (the
    // choice is then empty).
    int Key(char key, const std::vector<std::string>& items);
    // Backspace and entering the list start a new search.
    void Reset() { search_.clear(); }
    const std::string& Search() const { return search_; }

private:
    std::string search_;
};

// The first item that begins with `prefix`, ignoring case; -1 when none does.
int FindItemStartingWith(const std::vector<std::string>& items, const std::string& prefix);

} // namespace cgt
