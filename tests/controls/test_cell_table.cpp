// The worksheet table without a widget: column descriptions, typing rules, cell checks and
// formats with their messages, totals, rows and the field store's lists, sorting.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/dates.h"
#include "base/number_format.h"
#include "controls/core/cell_table.h"
#include "support/store_fixture.h"

namespace cgt {
namespace {

using test::ScriptedDialogs;

CharSet SetOf(std::string_view chars) {
    CharSet set;
    for (char c : chars)
        set.set(static_cast<unsigned char>(c));
    return set;
}

const std::string kDigits = "0123456789";

// ---------------------------------------------------------------------------------------
// Column descriptions

TEST(ColumnDescription, FieldsAndTypeRules) {
    struct Case {
        std::string line;
        int type, width, decimals;
        std::string chars; // allowed characters; "*" for an empty set
        bool allowMinus;
    };
    const std::vector<Case> cases = {
        {"Amount|1|1|10|0|F|F|2|T|0|0", ctNumber, 10, 2, kDigits + "-.", true},
        {"Amount|1|1|8|0|F|F|0|F", ctNumber, 8, 0, kDigits, false},
        {"Amount|1|1|8|0|F|F|0|t", ctNumber, 8, 0, kDigits, false},
        {"Date|0|2|8", ctDate, 10, 0, kDigits + "/", false},
        {"Date|0|2|12", ctDate, 12, 0, kDigits + "/", false},
        {"ABN|0|3|20|0|F|F|2|A..Z", ctBusinessNumber, 11, 0, kDigits, false},
        {"TFN|0|4|3|0|F|F|1", ctTaxFileNumber, 9, 0, kDigits, false},
        {"Name|0|0|12|0|F|F|1|A..C,x", ctText, 12, 1, "ABCx", false},
        {"Any|0|0|12", ctText, 12, 0, "*", false},
        {"Odd|0|7|5|0|F|F|0|a", 7, 5, 0, "a", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ColumnParse p = ParseColumnDescription(c.line);
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.column.type, c.type);
        EXPECT_EQ(p.column.width, c.width);
        EXPECT_EQ(p.column.decimals, c.decimals);
        EXPECT_EQ(p.column.allowMinus, c.allowMinus);
        EXPECT_EQ(p.column.chars, c.chars == "*" ? CharSet() : SetOf(c.chars));
    }
}

TEST(ColumnDescription, FlagsRangePicklistAndTrailingFlags) {
    const ColumnParse p = ParseColumnDescription(
        "Cost\rElement|2|0|25|7|T|T|0||-5|100.5|6|1|2|1 - Purchase|2A - Incidentals|T|T");
    ASSERT_TRUE(p.ok);
    const ColumnRecord& c = p.column;
    EXPECT_EQ(c.title, "Cost\rElement");
    EXPECT_EQ(c.titleAlignment, taCentre);
    EXPECT_EQ(c.hint, 7);
    EXPECT_TRUE(c.skipped);
    EXPECT_FALSE(c.tabStop);
    EXPECT_TRUE(c.button);
    EXPECT_EQ(c.minimum, -5);
    EXPECT_EQ(c.maximum, 100.5L);
    EXPECT_EQ(c.picklistRows, 6);
    EXPECT_EQ(c.buttonKind, bkPicklist);
    EXPECT_EQ(c.picklist, (StringList{"1 - Purchase", "2A - Incidentals"}));
    EXPECT_TRUE(c.noTotal);
    EXPECT_TRUE(c.readOnly);

    // Six items announced, eight listed: the seventh and eighth are read as the flags.
    const ColumnParse eight = ParseColumnDescription("P|0|0|10|0|F|T|0||0|0|8|1|6|a|b|c|d|e|f|g|h");
    EXPECT_EQ(eight.column.picklist, (StringList{"a", "b", "c", "d", "e", "f"}));
    EXPECT_FALSE(eight.column.noTotal);
    EXPECT_FALSE(eight.column.readOnly);

    // Numbers that do not read are 0; flags hold only for "T".
    const ColumnParse junk = ParseColumnDescription("J|x|1y|abc|0|t|TRUE|2.5||n|m");
    EXPECT_EQ(junk.column.titleAlignment, 0);
    EXPECT_EQ(junk.column.type, ctText);
    EXPECT_EQ(junk.column.width, 0);
    EXPECT_FALSE(junk.column.skipped);
    EXPECT_FALSE(junk.column.button);
    EXPECT_EQ(junk.column.decimals, 0);
    EXPECT_EQ(junk.column.minimum, 0);
}

TEST(ColumnDescription, MalformedCharacterListKeepsFieldsReadSoFar) {
    const ColumnParse p = ParseColumnDescription("Code|1|0|20|3|T|T|1|0..9,abc|5|9|4|1|1|x|T|T");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.column.title, "Code");
    EXPECT_EQ(p.column.width, 20);
    EXPECT_EQ(p.column.hint, 3);
    EXPECT_TRUE(p.column.skipped);
    EXPECT_EQ(p.column.decimals, 1);
    EXPECT_TRUE(p.column.chars.none());
    // Nothing after the character list is read.
    EXPECT_EQ(p.column.maximum, 0);
    EXPECT_EQ(p.column.buttonKind, 0);
    EXPECT_TRUE(p.column.picklist.empty());
    EXPECT_FALSE(p.column.readOnly);
}

TEST(ColumnDescription, DisplayReturnsTheErrorAndFillsMissingLines) {
    ScriptedDialogs dialogs;
    CellTable table;
    table.SetColCount(3);
    table.SetDisplay({"Good|0|0|5", "Bad|0|0|5|0|F|F|0|ab"});
    ASSERT_EQ(table.TakeMessages(), (std::vector<std::string>{"Bad character set !"}));
    EXPECT_TRUE(table.TakeMessages().empty()) << "taken once";
    EXPECT_TRUE(dialogs.messages.empty()) << "the table shows nothing itself";
    // The third column has no line: the default description.
    EXPECT_EQ(table.Column(2).title, "Title");
    EXPECT_EQ(table.Column(2).width, 30);
    EXPECT_EQ(table.Cell(2, 0), "Title");
    EXPECT_EQ(table.Cell(0, 0), "Good");
    // More columns later take their lines too.
    table.SetColCount(4);
    EXPECT_EQ(table.Column(3).title, "Title");
}

// ---------------------------------------------------------------------------------------
// Typing

TEST(CellTyping, Rules) {
    CellTable table;
    table.SetColCount(8);
    table.SetDisplay({
        "Cents|1|1|6|0|F|F|2|T",           // 0
        "Dollars|1|1|4|0|F|F|0|F",         // 1
        "Date|0|2|10",                     // 2
        "Upper|0|0|5|0|F|F|1|A..Z",        // 3
        "Lower|0|0|5|0|F|F|2",             // 4
        "ABN|0|3|11",                      // 5
        "Skipped|0|0|5|0|T",               // 6
        "RO|0|0|5|0|F|F|0||0|0|0|0|0|F|T", // 7
    });
    struct Case {
        int col;
        std::string text;
        bool selection;
        char ch;
        KeyVerdict verdict;
        char result;
    };
    const std::vector<Case> cases = {
        {6, "", false, 'a', KeyVerdict::Discard, 'a'},
        {7, "", false, 'a', KeyVerdict::Discard, 'a'},
        {1, "12", false, ' ', KeyVerdict::Accept, ' '},
        {1, "1234", false, '\b', KeyVerdict::Accept, '\b'},
        // One short of width - decimals without a separator: only the separator.
        {0, "123", false, '4', KeyVerdict::Beep, '4'},
        {0, "123", false, '.', KeyVerdict::Accept, '.'},
        {0, "12", false, '3', KeyVerdict::Accept, '3'},
        // Full width beeps unless something is selected; a minus does not count.
        {1, "1234", false, '5', KeyVerdict::Beep, '5'},
        {1, "1234", true, '5', KeyVerdict::Accept, '5'},
        {0, "-123.45", false, '5', KeyVerdict::Beep, '5'},
        {0, "-12.34", false, '5', KeyVerdict::Accept, '5'},
        {1, "-123", false, '4', KeyVerdict::Accept, '4'},
        {1, "12", false, '-', KeyVerdict::Beep, '-'}, // minus not allowed
        {0, "-1", false, '-', KeyVerdict::Beep, '-'}, // second minus
        {0, "1", false, '-', KeyVerdict::Accept, '-'},
        {0, "1.2", false, '.', KeyVerdict::Beep, '.'}, // second separator
        {1, "1", false, '.', KeyVerdict::Beep, '.'},   // no decimals, no separator
        {1, "1", false, 'a', KeyVerdict::Beep, 'a'},
        {2, "01", false, '/', KeyVerdict::Accept, '/'},
        {2, "01", false, '-', KeyVerdict::Beep, '-'},
        {3, "", false, 'q', KeyVerdict::Accept, 'Q'},
        {3, "", false, '1', KeyVerdict::Beep, '1'},
        {4, "", false, 'Q', KeyVerdict::Accept, 'q'},
        {5, "", false, 'x', KeyVerdict::Beep, 'x'},
        {5, "", false, '7', KeyVerdict::Accept, '7'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.col) + " '" + c.text + "' + '" + c.ch + "'");
        const KeyFilterResult r = table.FilterKey(c.col, c.text, c.selection, c.ch);
        EXPECT_EQ(r.verdict, c.verdict);
        if (r.verdict == KeyVerdict::Accept) {
            EXPECT_EQ(r.ch, c.result);
        }
    }
}

TEST(CellTyping, EnteringStripsByTheCharacterSet) {
    CellTable table;
    table.SetColCount(2);
    table.SetDisplay({"ABN|0|3|11", "Text|0|0|20"});
    table.SetCell(0, 1, "53 004 085 616");
    table.SetCell(1, 1, "a b");
    table.StripCell(0, 1);
    table.StripCell(1, 1);
    EXPECT_EQ(table.Cell(0, 1), "53004085616");
    EXPECT_EQ(table.Cell(1, 1), "a b"); // no set: unchanged
}

// ---------------------------------------------------------------------------------------
// Checks and formats

struct CheckCase {
    std::string description;
    std::string cell;
    CellCheck result;
    std::string after;
    std::vector<std::string> messages;
};

class CellCheckTest : public test::StoreTest {};

TEST_F(CellCheckTest, ChecksFormatsAndMessages) {
    const std::string digits6 = "Value of \"12345.5\" with two decimal places\rexceeds allowed "
                                "number of digits (6)";
    const std::vector<CheckCase> cases = {
        {"Pick|0|0|3|0|F|T|0||0|0|4|1|2|onerous|two", "one", CellCheck::Passed, "one", {}},
        {"Pick|0|0|3|0|F|T|0||0|0|4|1|2|onerous|two",
         "zzz",
         CellCheck::Failed,
         "zzz",
         {"Entry must match one of the picklist entries"}},
        {"Pick|0|0|3|0|F|T|0||0|0|4|1|2|onerous|two", "", CellCheck::Passed, "", {}},
        // A code typed without its padding blank matches and is stored as the list gives it.
        {"Pick|0|0|2|0|F|T|0||0|0|4|1|2|A  - Collectables|SN - Shares",
         "A",
         CellCheck::Passed,
         "A ",
         {}},
        {"Pick|0|0|2|0|F|T|0||0|0|4|1|2|A  - Collectables|SN - Shares",
         "S",
         CellCheck::Failed,
         "S",
         {"Entry must match one of the picklist entries"}},
        {"Pick|0|0|9|0|F|T|0||0|0|4|2|2|onerous|two", "zzz", CellCheck::Passed, "zzz", {}},
        {"Text|0|0|9", "anything", CellCheck::Passed, "anything", {}},
        {"ABN|0|3|11", "53004085616", CellCheck::Passed, "53 004 085 616", {}},
        {"ABN|0|3|11",
         "53004085617",
         CellCheck::Failed,
         "53004085617",
         {"Invalid Australian Business Number (ABN)"}},
        {"TFN|0|4|9", "123456782", CellCheck::Passed, "123 456 782", {}},
        {"TFN|0|4|9",
         "123456789",
         CellCheck::Failed,
         "123456789",
         {"Invalid Tax File Number (TFN)"}},
        {"Amt|1|1|8|0|F|F|0|F|0|100",
         "150",
         CellCheck::Failed,
         "150",
         {"Value must be between 0 and 100"}},
        {"Amt|1|1|8|0|F|F|0|T|-2.5|1e+06",
         "-3",
         CellCheck::Failed,
         "-3",
         {"Value must be between -2.5 and 1e+06"}},
        {"Amt|1|1|8|0|F|F|0|F|0|100", "100", CellCheck::Passed, "100", {}},
        {"Amt|1|1|8|0|F|F|0|F|0|0", "150000", CellCheck::Passed, "150000", {}},
        {"Amt|1|1|8|0|F|F|0|F|0|0", "", CellCheck::Passed, "", {}},
        {"Amt|1|1|8|0|F|F|0|F|0|0", "  ", CellCheck::Passed, "", {}},
        {"Date|0|2|10", " ", CellCheck::Passed, "", {}},
        {"Cents|1|1|8|0|F|F|2|F", "0", CellCheck::Passed, "0.00", {}},
        {"Cents|1|1|8|0|F|F|2|T", "-0.0005", CellCheck::Passed, "0.00", {}},
        {"Amt|1|1|8|0|F|F|0|F", "0", CellCheck::Passed, "0", {}},
        {"Cents|1|1|8|0|F|F|2|T", "12.125", CellCheck::Passed, "12.12", {}},
        {"Cents|1|1|8|0|F|F|2|T", "12.375", CellCheck::Passed, "12.38", {}},
        {"Cents|1|1|8|0|F|F|2|T", "-12.125", CellCheck::Passed, "-12.12", {}},
        {"Cents|1|1|8|0|F|F|2|T", "7", CellCheck::Passed, "7.00", {}},
        {"Cents|1|1|6|0|F|F|2|F", "12345.5", CellCheck::Passed, "12345.50", {digits6}},
        {"Amt|1|1|8|0|F|F|0|T",
         "-",
         CellCheck::Failed,
         "",
         {"- is an invalid numeric entry. Please re-enter amount before continuing."}},
        {"Amt|1|1|8|0|F|F|0|T",
         "1-2",
         CellCheck::Failed,
         "",
         {"1-2 is an invalid numeric entry. Please re-enter amount before continuing."}},
        {"Amt|1|1|8|0|F|F|0|F", "$1,500", CellCheck::Passed, "1500", {}},
        {"Amt|1|1|8|0|F|F|0|F|0|100",
         "1,000",
         CellCheck::Failed,
         "1,000",
         {"Invalid numeric entry"}},
        {"Date|0|2|10", "010203", CellCheck::Passed, "01/02/2003", {}},
        {"Date|0|2|10", "01022003", CellCheck::Passed, "01/02/2003", {}},
        {"Date|0|2|10", "1/2/2003", CellCheck::Passed, "01/02/2003", {}},
        {"Date|0|2|10",
         "310204",
         CellCheck::Failed,
         "31/02/04",
         {"The date 31/02/2004 does not exist."}},
        {"Date|0|2|10", "1/2", CellCheck::Failed, "1/2", {"Enter date in dd/mm/yyyy format"}},
        {"Odd|0|9|5", "@@@", CellCheck::Passed, "@@@", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description + " <- '" + c.cell + "'");
        ScriptedDialogs local;
        CellTable table;
        table.SetColCount(1);
        table.SetDisplay({c.description});
        table.SetCell(0, 1, c.cell);
        EXPECT_EQ(table.CheckCell(0, 1), c.result);
        EXPECT_EQ(table.Cell(0, 1), c.after);
        EXPECT_EQ(table.TakeMessages(), c.messages);
        EXPECT_TRUE(local.messages.empty());
        EXPECT_EQ(local.beeps, 0);
    }
}

TEST_F(CellCheckTest, KeepsTheLastValueAndDate) {
    CellTable table;
    table.SetColCount(2);
    table.SetDisplay({"Cents|1|1|8|0|F|F|2|F", "Date|0|2|10"});
    table.SetCell(0, 1, "0");
    ASSERT_EQ(table.CheckCell(0, 1), CellCheck::Passed);
    EXPECT_EQ(table.LastValue(), ExplicitZero);
    table.SetCell(1, 1, "15/08/2003");
    ASSERT_EQ(table.CheckCell(1, 1), CellCheck::Passed);
    EXPECT_EQ(FormatDate(table.LastDate()), "15/08/2003");
}

TEST_F(CellCheckTest, PicklistHookReplacesTheListBeforeTheCheck) {
    CellTable table;
    table.SetColCount(1);
    table.SetDisplay({"Pick|0|0|20|0|F|T|0||0|0|4|1|1|old"});
    int calls = 0;
    table.onPicklistDropdown = [&](int col, int row, StringList& list) {
        ++calls;
        EXPECT_EQ(col, 0);
        EXPECT_EQ(row, 2);
        EXPECT_EQ(list, StringList{"old"});
        list = {"new"};
    };
    table.SetCell(0, 2, "old");
    EXPECT_EQ(table.CheckCell(0, 2), CellCheck::Failed);
    EXPECT_EQ(table.TakeMessages(), (std::vector<std::string>{"Entry must match one of the "
                                                              "picklist entries"}));
    EXPECT_EQ(table.Column(0).picklist, StringList{"new"});
    table.onPicklistDropdown = nullptr;
    table.SetCell(0, 2, "new");
    EXPECT_EQ(table.CheckCell(0, 2), CellCheck::Passed);
    EXPECT_EQ(calls, 1);
}

TEST_F(CellCheckTest, TotalWarningOnlyWithATotalsRow) {
    CellTable table;
    table.SetColCount(2);
    table.SetDisplay({"Amount|1|1|3|0|F|F|0|F", "Kept out|1|1|3|0|F|F|0|F|0|0|0|0|0|T"});
    for (int col : {0, 1}) {
        table.SetCell(col, 1, "600");
        table.SetCell(col, 2, "500");
    }
    EXPECT_EQ(table.CheckCell(0, 2), CellCheck::Passed);
    EXPECT_TRUE(table.TakeMessages().empty());

    table.SetHasTotalsRow(true);
    EXPECT_EQ(table.CheckCell(0, 2), CellCheck::Passed);
    EXPECT_EQ(table.CheckCell(1, 2), CellCheck::Passed);
    EXPECT_EQ(table.TakeMessages(),
              (std::vector<std::string>{
                  "Column Total of \"Amount\" \rexceeds allowed number of digits (3)"}));

    // With decimals: the total's separator after position width - decimals.
    CellTable money;
    money.SetColCount(1);
    money.SetDisplay({"Cents|1|1|6|0|F|F|2|F"});
    money.SetHasTotalsRow(true);
    money.SetCell(0, 1, "600.5");
    money.SetCell(0, 2, "500");
    EXPECT_EQ(money.CheckCell(0, 2), CellCheck::Passed);
    EXPECT_EQ(money.TakeMessages(),
              (std::vector<std::string>{"Column Total of \"Cents\" \rexceeds allowed "
                                        "number of digits (6)"}));
    money.SetCell(0, 1, "60.5");
    EXPECT_EQ(money.CheckCell(0, 2), CellCheck::Passed); // 560.5: fits
    EXPECT_TRUE(money.TakeMessages().empty());
}

// ---------------------------------------------------------------------------------------
// Totals

TEST(CellTotals, SumsWithTheExplicitZeroConvention) {
    CellTable table;
    table.SetColCount(3);
    table.SetRowCount(6);
    table.SetDisplay({"Amt|1|1|8|0|F|F|0|T", "Cents|1|1|10|0|F|F|2|T", "Text|0|0|8"});
    EXPECT_EQ(table.ColumnTotal(0), 0);
    EXPECT_EQ(table.ColumnTotalText(0), "0");

    table.SetCell(0, 1, "0");
    EXPECT_EQ(table.ColumnTotal(0), ExplicitZero);
    EXPECT_EQ(table.ColumnTotalText(0), "0");
    table.SetCell(1, 2, "0.00");
    EXPECT_EQ(table.ColumnTotal(1), ExplicitZero);
    EXPECT_EQ(table.ColumnTotalText(1), "0.00");

    table.SetCell(0, 2, "12");
    table.SetCell(0, 3, "-2");
    table.SetCell(0, 4, "abc");
    table.SetCell(0, 5, "$1,000");
    EXPECT_EQ(table.ColumnTotal(0), 1010);
    table.SetCell(0, 2, "-12");
    table.SetCell(0, 5, "14");
    EXPECT_EQ(table.ColumnTotal(0), ExplicitZero); // sums to 0 with a zero entered
    table.SetCell(0, 1, "");
    EXPECT_EQ(table.ColumnTotal(0), 0); // a zero sum alone is not a zero entered

    table.SetCell(1, 1, "1234.5");
    table.SetCell(1, 3, "0.25");
    EXPECT_EQ(table.ColumnTotalText(1), "1234.75");
    table.SetCell(2, 1, "5");
    EXPECT_EQ(table.ColumnTotal(2), 0);
    EXPECT_EQ(table.ColumnType(2), ctText);
    EXPECT_EQ(table.ColumnType(3), -1);
    EXPECT_EQ(table.ColumnTotal(3), 0);
}

// ---------------------------------------------------------------------------------------
// Rows

TEST(CellRows, SaveSkipsEmptyRowsAndLoadFillsFromTheTop) {
    CellTable table;
    table.SetColCount(8);
    table.SetRowCount(5);
    for (int c = 0; c < 8; ++c) {
        table.SetCell(c, 1, "a" + std::to_string(c));
        table.SetCell(c, 3, c == 4 ? "5" : "");
    }
    table.SetCell(2, 2, "  "); // blank after trimming
    StringList list;
    table.SaveRows(list);
    ASSERT_EQ(list.size(), 16u);
    EXPECT_EQ(list[0], "a0");
    EXPECT_EQ(list[12], "5");

    table.SetCell(5, 4, "stale");
    table.LoadRows(list);
    EXPECT_EQ(table.Cell(7, 1), "a7");
    EXPECT_EQ(table.Cell(4, 2), "5");
    EXPECT_EQ(table.Cell(2, 2), "");
    EXPECT_TRUE(table.IsRowEmpty(3));
    EXPECT_TRUE(table.IsRowEmpty(4));
    EXPECT_EQ(table.RowCount(), 5);

    // Rows are added while the list holds cells; a short last row is filled with empties.
    StringList longer(8 * 6 + 3, "x");
    table.LoadRows(longer);
    EXPECT_EQ(table.RowCount(), 8);
    EXPECT_EQ(table.Cell(2, 7), "x");
    EXPECT_EQ(table.Cell(3, 7), "");

    table.ClearRows();
    EXPECT_EQ(table.RowCount(), 8);
    for (int r = 1; r < 8; ++r)
        EXPECT_TRUE(table.IsRowEmpty(r));
    EXPECT_EQ(table.Cell(0, 0), "Title"); // titles stay
}

TEST_F(CellCheckTest, RoundTripThroughTheFieldStore) {
    constexpr int kCostElements = 737;
    CellTable table;
    table.SetColCount(3);
    table.SetCell(0, 1, "1 - Purchase/Acquisition cost");
    table.SetCell(2, 1, "1000");
    table.SetCell(1, 3, "01/07/2003");
    StringListRef list = GetFieldLst(kCostElements);
    table.SaveRows(list);
    SetFieldLst(kCostElements, list);

    CellTable other;
    other.SetColCount(3);
    other.SetCell(1, 4, "old");
    other.LoadRows(GetFieldLst(kCostElements).get());
    EXPECT_EQ(other.Cell(0, 1), "1 - Purchase/Acquisition cost");
    EXPECT_EQ(other.Cell(2, 1), "1000");
    EXPECT_EQ(other.Cell(1, 2), "01/07/2003");
    EXPECT_TRUE(other.IsRowEmpty(3));
    EXPECT_TRUE(other.IsRowEmpty(4));
    EXPECT_EQ(GetFieldLst(kCostElements)->size(), 6u);
}

TEST(CellRows, InsertDeleteAndColumnFlags) {
    CellTable table;
    table.SetColCount(2);
    table.SetRowCount(4);
    for (int r = 1; r < 4; ++r)
        table.SetCell(0, r, std::to_string(r));
    table.InsertRowAt(2);
    ASSERT_EQ(table.RowCount(), 5);
    EXPECT_EQ(table.Cell(0, 1), "1");
    EXPECT_EQ(table.Cell(0, 2), "");
    EXPECT_EQ(table.Cell(0, 3), "2");
    EXPECT_EQ(table.Cell(0, 4), "3");
    table.DeleteRow(3);
    EXPECT_EQ(table.RowCount(), 4);
    EXPECT_EQ(table.Cell(0, 3), "3");

    // The only data row is emptied rather than removed.
    CellTable one;
    one.SetRowCount(2);
    one.SetCell(0, 1, "x");
    one.DeleteRow(1);
    EXPECT_EQ(one.RowCount(), 2);
    EXPECT_EQ(one.Cell(0, 1), "");

    table.LockColumn(0);
    EXPECT_TRUE(table.Column(0).skipped);
    EXPECT_FALSE(table.IsTabStop(0));
    EXPECT_EQ(table.FirstTabStop(0), 1);
    EXPECT_EQ(table.FilterKey(0, "", false, 'a').verdict, KeyVerdict::Discard);
    table.UnlockColumn(0);
    EXPECT_TRUE(table.IsTabStop(0));
    table.SetColumnReadOnly(1, true);
    EXPECT_TRUE(table.Column(1).readOnly);
    EXPECT_TRUE(table.IsTabStop(1)); // still reached by Tab
    EXPECT_EQ(table.FilterKey(1, "", false, 'a').verdict, KeyVerdict::Discard);
    EXPECT_EQ(table.LastTabStop(), 1);
}

// ---------------------------------------------------------------------------------------
// Sorting

std::vector<std::vector<std::string>> DataRows(const CellTable& table) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r < table.RowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < table.ColCount(); ++c)
            row.push_back(table.Cell(c, r));
        rows.push_back(row);
    }
    return rows;
}

TEST(CellSort, CostElementsByDatesThenElementEmptyLast) {
    CellTable table;
    table.SetColCount(3);
    table.SetRowCount(7);
    table.SetDisplay({"Cost element|0|0|40", "Date incurred|0|2|10", "Date paid|0|2|10"});
    const std::vector<std::vector<std::string>> rows = {
        {"2A - Incidentals", "01/07/2003", ""},
        {"1 - Purchase", "", "05/05/2001"},
        {"5 - Capital", "15/08/1999", "20/08/1999"},
        {"1 - Purchase", "01/07/2003", ""},
        {"", "", ""},
        {"1 - Purchase", "15/08/1999", "01/09/1999"},
    };
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 3; ++c)
            table.SetCell(c, r + 1, rows[r][c]);
    table.SortRows("1,2,0");
    const std::vector<std::vector<std::string>> expected = {
        {"5 - Capital", "15/08/1999", "20/08/1999"}, {"1 - Purchase", "15/08/1999", "01/09/1999"},
        {"1 - Purchase", "01/07/2003", ""},          {"2A - Incidentals", "01/07/2003", ""},
        {"1 - Purchase", "", "05/05/2001"},          {"", "", ""},
    };
    EXPECT_EQ(DataRows(table), expected);
}

// Reference order: the repeated bubble passes, exchange by exchange.
bool LiteralExchange(const CellTable& t, const std::vector<int>& keys, int a, int b) {
    for (int k : keys) {
        const std::string& s1 = t.Cell(k, a);
        const std::string& s2 = t.Cell(k, b);
        if (s1 == s2) continue;
        if (s1.empty()) return true;
        if (s2.empty()) return false;
        switch (t.ColumnType(k)) {
        case ctNumber: {
            auto v1 = ParseNumber(s1), v2 = ParseNumber(s2);
            return (v1 ? *v1 : 0) > (v2 ? *v2 : 0);
        }
        case ctDate: {
            auto d1 = ParseDate(s1), d2 = ParseDate(s2);
            return (d1 ? *d1 : 0) > (d2 ? *d2 : 0);
        }
        case ctBusinessNumber:
        case ctTaxFileNumber:
            return false;
        default: {
            std::string u1 = s1, u2 = s2;
            for (auto* u : {&u1, &u2})
                for (char& ch : *u)
                    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
            return u1 > u2;
        }
        }
    }
    return false;
}

void LiteralBubbleSort(CellTable& t, const std::vector<int>& keys) {
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (int r = 1; r + 1 < t.RowCount(); ++r)
            if (LiteralExchange(t, keys, r, r + 1)) {
                for (int c = 0; c < t.ColCount(); ++c) {
                    std::string above = t.Cell(c, r);
                    t.SetCell(c, r, t.Cell(c, r + 1));
                    t.SetCell(c, r + 1, above);
                }
                exchanged = true;
            }
    }
    StringList list;
    t.SaveRows(list);
    t.LoadRows(list);
}

TEST(CellSort, SameOrderAsTheBubblePassesOnRandomTables) {
    const std::vector<std::vector<std::string>> values = {
        {"", "a", "A", "b", "B", "ab", " "},                          // text
        {"", "1", "1.00", "2", "-1", "x", "01", "1e1"},               // number
        {"", "01/02/2003", "1/2/2003", "02/01/2003", "bad", "1/2/3"}, // date
        {"", "1", "2", "10"},                                         // business number
        {"", "p", "q"},                                               // text, few values
    };
    std::mt19937 rng(20040630);
    int reordered = 0;
    for (int round = 0; round < 3000; ++round) {
        CellTable table;
        table.SetColCount(5);
        table.SetDisplay({"T|0|0|5", "N|1|1|8|0|F|F|2|T", "D|0|2|10", "B|0|3|11", "P|0|0|5"});
        table.SetRowCount(2 + static_cast<int>(rng() % 9));
        for (int r = 1; r < table.RowCount(); ++r)
            for (int c = 0; c < 5; ++c)
                table.SetCell(c, r, values[c][rng() % values[c].size()]);
        std::vector<int> keys;
        std::string keyText;
        const int count = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < count; ++i) {
            keys.push_back(static_cast<int>(rng() % 5));
            keyText += (i ? "," : "") + std::to_string(keys.back());
        }
        CellTable literal = table;
        LiteralBubbleSort(literal, keys);
        const auto before = DataRows(table);
        table.SortRows(keyText);
        ASSERT_EQ(DataRows(table), DataRows(literal)) << "round " << round << " keys " << keyText;
        if (DataRows(table) != before) ++reordered;
    }
    EXPECT_GT(reordered, 1000); // the tables really were reordered
}

TEST(CellSort, RowsEqualInClassButNotInTextBlockEachOther) {
    // "a" and "A" are equal upper-cased but differ as texts: the passes never exchange them
    // and never look at the next key, so the 3 stays above the 1 behind the "A".
    CellTable table;
    table.SetColCount(2);
    table.SetRowCount(4);
    table.SetDisplay({"T|0|0|5", "N|1|1|5"});
    const std::vector<std::vector<std::string>> rows = {{"a", "3"}, {"A", "2"}, {"a", "1"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c)
            table.SetCell(c, r + 1, rows[r][c]);
    table.SortRows("0,1");
    EXPECT_EQ(DataRows(table), rows);
    // Keys that are no column are ignored.
    table.SortRows("x, 9,1");
    EXPECT_EQ(DataRows(table),
              (std::vector<std::vector<std::string>>{{"a", "1"}, {"A", "2"}, {"a", "3"}}));
}

} // namespace
} // namespace cgt
