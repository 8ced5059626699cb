// Character sets, text functions and the identifier checks and formats.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/core/tax_text.h"

namespace cgt {
namespace {

// The characters of a set, in code order.
std::string Members(const CharSet& set) {
    std::string out;
    for (int c = 0; c < 256; ++c)
        if (set.test(static_cast<std::size_t>(c))) out += static_cast<char>(c);
    return out;
}

struct ValidCharsCase {
    const char* list;
    bool ok;
    const char* members;
};

class ValidCharsTest : public testing::TestWithParam<ValidCharsCase> {};

TEST_P(ValidCharsTest, ParsesItemsAndRanges) {
    const auto& c = GetParam();
    const ValidCharsParse parse = ParseValidChars(c.list);
    EXPECT_EQ(parse.ok, c.ok);
    EXPECT_EQ(Members(parse.set), c.members);
    EXPECT_EQ(parse.text, c.list);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ValidCharsTest,
    testing::Values(ValidCharsCase{"Y, ,N", true, " NY"},
                    // ",," inside the list is the comma itself.
                    ValidCharsCase{" ,,,0..9,-,+", true, " +,-0123456789"},
                    ValidCharsCase{"-,0..9,.", true, "-.0123456789"},
                    ValidCharsCase{"0..9,abc", false, ""}, ValidCharsCase{"", true, ""},
                    // The middle of a range is not examined; a reversed range adds nothing.
                    ValidCharsCase{"aXYc", true, "abc"}, ValidCharsCase{"9..0", true, ""},
                    // A leading comma range, and a comma last in the list.
                    ValidCharsCase{",..0", true, ",-./0"}, ValidCharsCase{"/,,", true, ",/"},
                    ValidCharsCase{"a,", true, "a"}, ValidCharsCase{"a,,b", false, ""},
                    ValidCharsCase{",..", false, ""}, ValidCharsCase{"ab", false, ""}));

TEST(ValidCharsTest, KeepsAtMostOneHundredCharacters) {
    std::string list;
    for (int i = 0; i < 60; ++i)
        list += "a,";
    list += "Z";
    const ValidCharsParse parse = ParseValidChars(list);
    EXPECT_EQ(parse.text.size(), kMaxValidCharsLength);
    EXPECT_TRUE(parse.ok);
    // The Z lies beyond the hundredth character.
    EXPECT_EQ(Members(parse.set), "a");
}

TEST(ValidCharsTest, BadListMessage) {
    EXPECT_EQ(BadValidCharsMessage("0..9,abc"), "Bad ValidChars property 0..9,abc !");
}

TEST(TextFunctionsTest, FilterRemoveAndSplit) {
    const CharSet digits = ParseValidChars("0..9").set;
    EXPECT_EQ(FilterChars("12 345-67x8", digits), "12345678");
    EXPECT_EQ(FilterChars("abc", digits), "");
    EXPECT_EQ(RemoveSpaces(" 12 345 678 "), "12345678");
    EXPECT_EQ(TrimText("  /  /    "), "/  /");

    const std::vector<std::pair<std::string, StringList>> splits = {
        {"", {""}},        {"a", {"a"}},         {"a;b;c", {"a", "b", "c"}},
        {"a;", {"a", ""}}, {";;", {"", "", ""}},
    };
    StringList list = {"left over"};
    for (const auto& [text, pieces] : splits) {
        SplitText(text, ';', list);
        EXPECT_EQ(list, pieces) << text;
    }
}

TEST(TextFunctionsTest, FixedNotationAndGeneralNumbers) {
    EXPECT_EQ(FixedToText(12.5L, 8, 2), "   12.50");
    EXPECT_EQ(FixedToText(-3, 1, 0), "-3");
    EXPECT_EQ(FixedToText(1234.5678L, 2, 3), "1234.568");
    EXPECT_EQ(RangeMessage(0, 100), "Value must be between 0 and 100");
    EXPECT_EQ(RangeMessage(-1.5L, 1e7L), "Value must be between -1.5 and 1e+07");
}

TEST(TextFunctionsTest, DateDigitsNormalised) {
    EXPECT_EQ(NormaliseDateDigits("010203"), "01/02/03");
    EXPECT_EQ(NormaliseDateDigits("31022004"), "31/02/2004");
    EXPECT_EQ(NormaliseDateDigits("1/2/03"), "1/2/03");
    EXPECT_EQ(NormaliseDateDigits("0102034"), "0102034");
    EXPECT_EQ(NormaliseDateDigits(""), "");
}

TEST(TextFunctionsTest, DateMessageTellsAMissingDayFromABadForm) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"31/02/2004", "The date 31/02/2004 does not exist."},
        {" 31022004 ", "The date 31/02/2004 does not exist."},
        {"310299", "The date 31/02/1999 does not exist."}, // the century window of 2004
        {"1/13/03", "The date 01/13/2003 does not exist."},
        {"0/1/2004", "The date 00/01/2004 does not exist."},
        {"29/2/1900", "The date 29/02/1900 does not exist."},
        {"1/1/0000", "The date 01/01/0000 does not exist."},
        {"31/02/2004x", "Enter date in dd/mm/yyyy format"},
        {"31.02.2004", "Enter date in dd/mm/yyyy format"},
        {"1/2", "Enter date in dd/mm/yyyy format"},
        {"123/1/2004", "Enter date in dd/mm/yyyy format"},
        {"1/1/20045", "Enter date in dd/mm/yyyy format"},
        {"", "Enter date in dd/mm/yyyy format"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateEntryMessage(c.text, 2004), c.message) << c.text;
}

TEST(TextFunctionsTest, CentsShowAtMostTwelveSignificantDigits) {
    EXPECT_EQ(FormatCents(1234.5L), "1234.50");
    EXPECT_EQ(FormatCents(1234567890.12L), "1234567890.12");
    EXPECT_EQ(FormatCents(12345678901.55L), "12345678901.60");
    EXPECT_EQ(FormatCents(123456789012.49L), "123456789012.00");
    EXPECT_EQ(FormatCents(-0.5L), "-0.50");
    EXPECT_EQ(FormatCents(1234567890123.0L), "1.23456789012E12");
}

struct IdCase {
    bool (*check)(std::string_view);
    const char* name;
    const char* text;
    bool valid;
};

class IdentifierCheckTest : public testing::TestWithParam<IdCase> {};

TEST_P(IdentifierCheckTest, WeightedSums) {
    const auto& c = GetParam();
    EXPECT_EQ(c.check(c.text), c.valid) << c.name << " " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, IdentifierCheckTest,
    testing::Values(
        // Tax file numbers of nine, eight and seven digits.
        IdCase{IsValidTFN, "TFN", "123 456 782", true},
        IdCase{IsValidTFN, "TFN", "123456789", false}, IdCase{IsValidTFN, "TFN", "12345677", true},
        IdCase{IsValidTFN, "TFN", "12345678", false}, IdCase{IsValidTFN, "TFN", "1234569", true},
        IdCase{IsValidTFN, "TFN", "123456", false}, IdCase{IsValidTFN, "TFN", "0", false},
        IdCase{IsValidTFN, "TFN", "   ", true}, IdCase{IsValidTFN, "TFN", "", true},
        // Business numbers: short or leading zero pass unchecked.
        IdCase{IsValidABN, "ABN", "51 824 753 556", true},
        IdCase{IsValidABN, "ABN", "53004085616", true},
        IdCase{IsValidABN, "ABN", "51824753557", false}, IdCase{IsValidABN, "ABN", "1234", true},
        IdCase{IsValidABN, "ABN", "01824753557", true},
        IdCase{IsValidABN, "ABN", "51824753556999", true},
        // Company numbers, with S <= 10 and S > 10.
        IdCase{IsValidACN, "ACN", "000 000 019", true},
        IdCase{IsValidACN, "ACN", "000250000", true}, IdCase{IsValidACN, "ACN", "010499966", true},
        IdCase{IsValidACN, "ACN", "004085616", true}, IdCase{IsValidACN, "ACN", "010499967", false},
        IdCase{IsValidACN, "ACN", "000000000", false}, IdCase{IsValidACN, "ACN", "0", false},
        IdCase{IsValidACN, "ACN", "00000019", false},
        // Fund numbers, remainder 10 (check 0) and below 10.
        IdCase{IsValidSFN, "SFN", "123456780", true}, IdCase{IsValidSFN, "SFN", "876543218", true},
        IdCase{IsValidSFN, "SFN", "876543217", false}, IdCase{IsValidSFN, "SFN", "12345678", false},
        IdCase{IsValidSFN, "SFN", "0", false},
        // Document numbers: the last two digits lead.
        IdCase{IsValidDIN, "DIN", "12345678918", true},
        IdCase{IsValidDIN, "DIN", "123456735", true},
        IdCase{IsValidDIN, "DIN", "12345678919", false},
        IdCase{IsValidDIN, "DIN", "12345678", false},
        IdCase{IsValidDIN, "DIN", "123456789012", false},
        IdCase{IsValidDIN, "DIN", "12345678901", false},
        // Employer group numbers.
        IdCase{IsValidEGN, "EGN", "12345677", true}, IdCase{IsValidEGN, "EGN", "123 456 77", true},
        IdCase{IsValidEGN, "EGN", "12345678", false}, IdCase{IsValidEGN, "EGN", "00000000", false},
        IdCase{IsValidEGN, "EGN", "0", false}, IdCase{IsValidEGN, "EGN", "1234567", false}));

struct FormatCase {
    std::string (*format)(std::string_view);
    const char* text;
    const char* formatted;
};

class IdentifierFormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(IdentifierFormatTest, Groups) {
    const auto& c = GetParam();
    EXPECT_EQ(c.format(c.text), c.formatted) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Formats, IdentifierFormatTest,
                         testing::Values(FormatCase{FormatTFN, "12345678", "12 345 678"},
                                         FormatCase{FormatTFN, "123456782", "123 456 782"},
                                         FormatCase{FormatTFN, "1234569", "1 234 569"},
                                         FormatCase{FormatTFN, "12 34", "12 34"},
                                         FormatCase{FormatTFN, "  ", ""},
                                         FormatCase{FormatACN, "1234567", "001 234 567"},
                                         FormatCase{FormatABN, "51824753556", "51 824 753 556"},
                                         FormatCase{FormatABN, "4085616", "00 004 085 616"},
                                         FormatCase{FormatABN, "518247535561234", "51 824 753 556"},
                                         FormatCase{FormatDIN, "123456735", "00 123 456 735"},
                                         FormatCase{FormatSFN, "12345678", "0123 456 78"},
                                         FormatCase{FormatEGN, "1234567", "012 345 67"},
                                         FormatCase{FormatEGN, "", ""}));

} // namespace
} // namespace cgt
