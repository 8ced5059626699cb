#pragma once
// The page range typed in the preview: numbers and ranges such as "1,2,4,7" or "1-4,7-9".

#include <string>
#include <string_view>
#include <vector>

namespace cgt::report {

// The highest page a range may name.
inline constexpr int kHighestRangePage = 255;

struct PageRange {
    std::vector<int> pages; // ascending, each once
    bool valid = true;      // false: the text is not a page range and nothing prints
};

// Reads the first 100 characters: each number is the run of digits after any other
// characters; a "-" right after a number makes a range with the next number, in either order.
// Pages above kHighestRangePage are left out. A separator with no number after it is an error.
PageRange ParsePageRange(std::string_view text);

// The message for a range that is not valid; `position` is the preview's page position
// ("1 of 3"), whose first "of" becomes "-" in the example.
std::string PageRangeMessage(std::string_view typed, std::string_view position);

} // namespace cgt::report
