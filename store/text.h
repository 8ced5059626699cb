#pragma once
// The one trimming rule of the module: blanks and control characters (every byte up to the
// space) are dropped at both ends of a text.

#include <string>
#include <string_view>

namespace cgt {

std::string_view TrimBlanks(std::string_view text);
std::string TrimText(std::string_view text);

} // namespace cgt
