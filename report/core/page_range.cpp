#include "report/core/page_range.h"

#include <algorithm>
#include <optional>
#include <set>

namespace cgt::report {

namespace {

constexpr std::size_t kReadLength = 100;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Drops characters up to the first digit and reads the run of digits; nullopt without one.
// A number too long to hold counts as above every page.
std::optional<long> ReadNumber(std::string_view& text) {
    const auto first = std::find_if(text.begin(), text.end(), IsDigit);
    if (first == text.end()) {
        text = {};
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(first - text.begin()));
    long value = 0;
    while (!text.empty() && IsDigit(text.front())) {
        value = std::min<long>(value * 10 + (text.front() - '0'), 1'000'000);
        text.remove_prefix(1);
    }
    return value;
}

} // namespace

PageRange ParsePageRange(std::string_view text) {
    text = text.substr(0, std::min(text.size(), kReadLength));
    std::set<int> pages;
    while (!text.empty()) {
        const auto from = ReadNumber(text);
        if (!from) return {{}, false};
        if (!text.empty() && text.front() == '-') {
            const auto to = ReadNumber(text);
            if (!to) return {{}, false};
            const long low = std::min(*from, *to);
            const long high = std::min<long>(std::max(*from, *to), kHighestRangePage);
            for (long page = low; page <= high; ++page)
                pages.insert(static_cast<int>(page));
        } else if (*from <= kHighestRangePage) {
            pages.insert(static_cast<int>(*from));
        }
    }
    pages.erase(0);
    return {std::vector<int>(pages.begin(), pages.end()), true};
}

std::string PageRangeMessage(std::string_view typed, std::string_view position) {
    std::string example(position);
    if (const auto of = example.find("of"); of != std::string::npos) example.replace(of, 2, "-");
    return "\"" + std::string(typed.substr(0, std::min(typed.size(), kReadLength))) + "\"" +
           " is not a valid page range. You must specify a valid range of pages before "
           "printing.\n\rAn example of a correct page range is \"" +
           example + "\".";
}

} // namespace cgt::report
