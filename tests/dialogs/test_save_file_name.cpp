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

namespace {

// The return being saved keeps its own name, in any case and whatever its extension.
TEST(SaveFileNameCurrentFile, TheReturnsOwnNameIsAcceptedInAnyCase) {
    const struct {
        const char* typed;
        const char* current;
        bool names;
    } cases[] = {
        {"sample2004.t04", "sample2004.t04", true},  {" SAMPLE2004.T04 ", "sample2004.t04", true},
        {"sample2004.TAX", "sample2004.TAX", true},  {"sample2004", "sample2004.t04", false},
        {"sample2005.t04", "sample2004.t04", false}, {"", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cgt::NamesCurrentFile(c.typed, c.current), c.names)
            << c.typed << " / " << c.current;
}

// On a file system that tells case apart, the name means the folder's file that differs from
// it only in case.
TEST(SaveFileNameCurrentFile, ANameMeansTheEntryThatDiffersOnlyInCase) {
    const std::vector<std::string> entries{"old.tax", "OTHER.TAX", "Mixed.Tax", "mixed.TAX"};
    EXPECT_EQ(cgt::EntryForName("OLD.TAX", entries), "old.tax");
    EXPECT_EQ(cgt::EntryForName("OTHER.TAX", entries), "OTHER.TAX");
    EXPECT_EQ(cgt::EntryForName("mixed.TAX", entries), "mixed.TAX");
    EXPECT_EQ(cgt::EntryForName("MIXED.TAX", entries), "Mixed.Tax");
    EXPECT_EQ(cgt::EntryForName("NEW.TAX", entries), "");
}

} // namespace
