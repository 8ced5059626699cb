#pragma once
// Texts: the one trimming rule of the module (blanks and control characters, every byte up to the
// space, are dropped at both ends of a text) and the letter case of 8-bit texts.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cgt {

// A list of texts, as a list field and a grid's rows keep them.
using StringList = std::vector<std::string>;
// A list shared between holders, as list fields and the items of an open row share it.
using StringListRef = std::shared_ptr<StringList>;

std::string_view TrimBlanks(std::string_view text);
std::string TrimText(std::string_view text);

// Letter case of the 8-bit (Latin-1) texts.
char ToUpper(char c);
char ToLower(char c);
std::string UpperText(std::string_view text);

} // namespace cgt
