// The page range typed in the preview, and its message when it is not one.

#include <gtest/gtest.h>

#include "report/core/page_range.h"

namespace cgt::test {
namespace {

using namespace report;

std::vector<int> Pages(int from, int to) {
    std::vector<int> pages;
    for (int page = from; page <= to; ++page)
        pages.push_back(page);
    return pages;
}

TEST(PageRange, ReadsNumbersAndRanges) {
    struct Case {
        const char* text;
        bool valid;
        std::vector<int> pages;
    };
    const Case cases[] = {
        {"1,2,4,7", true, {1, 2, 4, 7}},
        {"7-1", true, Pages(1, 7)},
        {"1-4,7-9", true, {1, 2, 3, 4, 7, 8, 9}},
        {"1 - 3", true, {1, 3}}, // the "-" must follow the number
        {"2,2,1", true, {1, 2}},
        {"+3 4", true, {3, 4}},
        {"300", true, {}},
        {"250-300", true, Pages(250, 255)},
        {"99999999999999999999", true, {}},
        {"", true, {}},
        {"1,2,", false, {}},
        {"3-", false, {}},
        {"   ", false, {}},
        {"-", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const PageRange range = ParsePageRange(c.text);
        EXPECT_EQ(range.valid, c.valid);
        EXPECT_EQ(range.pages, c.pages);
    }
    // Only the first 100 characters are read.
    EXPECT_EQ(ParsePageRange(std::string(99, ' ') + "5").pages, std::vector<int>{5});
    const PageRange cut = ParsePageRange(std::string(97, ' ') + "5,6,");
    EXPECT_TRUE(cut.valid) << "the separator after the 100th character is not read";
    EXPECT_EQ(cut.pages, (std::vector<int>{5, 6}));
}

TEST(PageRange, MessageGivesAnExampleFromThePagePosition) {
    EXPECT_EQ(PageRangeMessage("1,2,", "1 of 3"),
              "\"1,2,\" is not a valid page range. You must specify a valid range of pages "
              "before printing.\n\rAn example of a correct page range is \"1 - 3\".");
    EXPECT_EQ(PageRangeMessage(std::string(120, '-'), "2 of 10"),
              "\"" + std::string(100, '-') +
                  "\" is not a valid page range. You must specify a valid range of pages "
                  "before printing.\n\rAn example of a correct page range is \"2 - 10\".");
}

} // namespace
} // namespace cgt::test
