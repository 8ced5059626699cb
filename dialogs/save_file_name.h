#pragma once
// The file-name rules of the save box, without widgets: a typed name becomes the full path of a
// ".TAX" data file in a directory, or is refused as a bad name or a bad extension.

#include <string>
#include <string_view>
#include <vector>

namespace cgt {

struct ParsedFileName {
    std::string fullPath;      // directory + "/" + the name in capitals
    bool badName = false;      // the name cannot be used
    bool badExtension = false; // ... because its extension is not ".tax"
};

// The name is trimmed; a name without "." gets ".tax", a name ending in its first "." gets
// "tax"; any other name must end in its first ".tax" (any case) and be longer than ".tax".
// A name starting with "." is bad, and so is one with a character other than a blank, "-",
// ".", a digit, a letter or "~". The full path is the name in capitals in `directory`.
ParsedFileName ParseFileName(std::string_view text, std::string_view directory);

// True when the typed name (blanks trimmed) is the file name of the return being saved, in any
// case: the box accepts it whatever its extension.
bool NamesCurrentFile(std::string_view typed, std::string_view currentName);

// The entry of a folder that a file name means: the name itself when it is there, otherwise
// the first entry that differs from it only in case; empty when there is none.
std::string EntryForName(std::string_view name, const std::vector<std::string>& entries);

// The characters typed into the file-name box: "-", ".", digits and letters, and Backspace;
// a second "." is refused. `current` is the box's text before the key.
bool FileNameKeyAccepted(char key, std::string_view current);

} // namespace cgt
