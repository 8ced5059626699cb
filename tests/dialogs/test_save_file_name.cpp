// The save box's file-name rules, without the box.

#include <gtest/gtest.h>

#include "support/escaped_text.h"

#include <ostream>

#include <string>

#include "dialogs/save_file_name.h"

namespace {

using cgt::ParseFileName;

struct NameCase {
    const char* typed;
    bool badName;
    bool badExtension;
    const char* path; // checked for good names
};

using cgt::test::Escaped;

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << '"' << Escaped(c.typed) << '"';
}

class SaveFileName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SaveFileName, ParsesTheTypedName) {
    const NameCase c = GetParam();
    const cgt::ParsedFileName parsed = ParseFileName(c.typed, "/data/returns");
    EXPECT_EQ(parsed.badName, c.badName);
    EXPECT_EQ(parsed.badExtension, c.badExtension);
    if (!c.badName) {
        EXPECT_EQ(parsed.fullPath, c.path);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, SaveFileName,
    ::testing::Values(NameCase{"myreturn", false, false, "/data/returns/MYRETURN.TAX"},
                      NameCase{"  myreturn \t", false, false, "/data/returns/MYRETURN.TAX"},
                      NameCase{"myreturn.", false, false, "/data/returns/MYRETURN.TAX"},
                      NameCase{"MyReturn.Tax", false, false, "/data/returns/MYRETURN.TAX"},
                      NameCase{"x.tax", false, false, "/data/returns/X.TAX"},
                      NameCase{"my return~2-b.tax", false, false,
                               "/data/returns/MY RETURN~2-B.TAX"},
                      NameCase{"a.b.tax", false, false, "/data/returns/A.B.TAX"},
                      NameCase{"a.txt", true, true, ""}, NameCase{".tax", true, true, ""},
                      NameCase{"a.tax.tax", true, true, ""}, NameCase{"a.taxes", true, true, ""},
                      NameCase{".", true, false, ""}, NameCase{"", true, false, ""},
                      NameCase{".x.tax", true, false, ""}, NameCase{"my_return", true, false, ""},
                      NameCase{"a/b", true, false, ""}, NameCase{"a*b.tax", true, false, ""},
                      NameCase{"caf\xe9", true, false, ""}));

TEST(SaveFileNameDirectory, TheRootTakesNoSecondSeparator) {
    EXPECT_EQ(ParseFileName("r", "/").fullPath, "/R.TAX");
    EXPECT_EQ(ParseFileName("r", "/data/").fullPath, "/data/R.TAX");
}

} // namespace
