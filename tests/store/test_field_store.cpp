#include "support/store_fixture.h"

#include <limits>
#include <map>
#include <utility>
#include <vector>

#include "store/dialogs.h"

namespace cgt {
namespace {

using test::StoreTest;

class FieldStoreTest : public StoreTest {};

TEST_F(FieldStoreTest, TagsOutsideTheStoreAreIgnored) {
    for (int tag : {0, -1, 2313}) {
        SetFieldVal(tag, 5);
        SetFieldStr(tag, "x");
        SetFieldChecked(tag);
        EXPECT_EQ(GetFieldVal(tag), 0);
        EXPECT_EQ(GetFieldStr(tag), "");
        EXPECT_FALSE(FieldChecked(tag));
        EXPECT_TRUE(FieldIsEmpty(tag));
        EXPECT_EQ(GetFieldType(tag), dtNone);
    }
    EXPECT_FALSE(cgt::Run().DataChanged);
    EXPECT_TRUE(FieldIsEmpty(2312));
}

TEST_F(FieldStoreTest, FirstNumberMakesCurrencyAndDisplays) {
    SetFieldVal(100, 1234.56L);
    EXPECT_EQ(GetFieldType(100), dtCurrency);
    EXPECT_EQ(GetFieldText(100), "1235");
    EXPECT_TRUE(cgt::Run().DataChanged);
    SetFieldVal(101, 0.0004L);
    EXPECT_EQ(GetFieldText(101), "");
}

struct DisplayCase {
    TFieldDataType type;
    long double value;
    const char* text;
};

TEST_F(FieldStoreTest, NumberDisplayForms) {
    const DisplayCase cases[] = {
        {dtCurrencyCnt, 1234.5L, "1234.50"},
        {dtCurrencyCnt, 0.005L, "0.01"},
        {dtCurrency, ExplicitZero, "0"},
        {dtCurrency, -1234.4L, "-1234"},
        {dtCurrency, 12345678, "12345678"},
        {dtCurrency, 123456789, "1.2345679E8"},
        {dtNumeric, 2.5L, "2"},
        {dtNumeric, 3.5L, "4"},
        {dtNumeric, 60012, "60012"},
        {dtCurrencyCnt, -0.0009L, ""},
        // At most 12 significant digits: the cents never add a thirteenth.
        {dtCurrencyCnt, 12345678901.55L, "12345678901.60"},
        {dtCurrencyCnt, 1234567890.12L, "1234567890.12"},
    };
    int tag = 200;
    for (const auto& c : cases) {
        SetFieldType(tag, c.type);
        SetFieldVal(tag, c.value);
        EXPECT_EQ(GetFieldText(tag), c.text)
            << "type " << int(c.type) << " value " << double(c.value);
        ++tag;
    }
}

TEST_F(FieldStoreTest, TextStorageFollowsLength) {
    SetFieldStr(300, "123456789");
    EXPECT_EQ(GetFieldType(300), dtSmallStr);
    SetFieldStr(300, "1234567890");
    EXPECT_EQ(GetFieldType(300), dtString);
    EXPECT_NE(Store().entry(300).text, nullptr);
    SetFieldStr(300, "ab");
    EXPECT_EQ(GetFieldType(300), dtSmallStr);
    EXPECT_EQ(Store().entry(300).text, nullptr);
    EXPECT_EQ(GetFieldStr(300), "ab");

    SetFieldStr(301, std::string(300, 'z'));
    EXPECT_EQ(GetFieldStr(301), std::string(255, 'z'));
}

TEST_F(FieldStoreTest, SameTextTwiceMarksChangeOnce) {
    SetFieldStr(302, "Smith");
    EXPECT_TRUE(cgt::Run().DataChanged);
    cgt::Run().DataChanged = false;
    SetFieldStr(302, "Smith");
    EXPECT_FALSE(cgt::Run().DataChanged);
    SetFieldStr(303, std::string(300, 'q'));
    cgt::Run().DataChanged = false;
    SetFieldStr(303, std::string(300, 'q'));
    EXPECT_FALSE(cgt::Run().DataChanged);
}

TEST_F(FieldStoreTest, RadioPairs) {
    SetFieldChecked(9);
    SetFieldChecked(10);
    EXPECT_FALSE(FieldChecked(9));
    EXPECT_TRUE(FieldChecked(10));

    SetFieldChecked(132);
    SetFieldChecked(133);
    EXPECT_FALSE(FieldChecked(132));
    EXPECT_TRUE(FieldChecked(133));

    SetFieldChecked(10);
    SetFieldUnchecked(9);
    EXPECT_TRUE(FieldChecked(10));

    // A partner of another kind keeps its value.
    SetFieldVal(18, 77);
    SetFieldChecked(17);
    EXPECT_EQ(GetFieldVal(18), 77);
}

TEST_F(FieldStoreTest, CheckboxChangeFlag) {
    SetFieldUnchecked(50);
    EXPECT_FALSE(cgt::Run().DataChanged);
    SetFieldChecked(50);
    EXPECT_TRUE(cgt::Run().DataChanged);
    cgt::Run().DataChanged = false;
    SetFieldChecked(50);
    EXPECT_FALSE(cgt::Run().DataChanged);
}

TEST_F(FieldStoreTest, WrongTypeIsRefusedWithDiagnosticsOnlyInDebugMode) {
    SetFieldVal(400, 10);
    SetFieldStr(400, "text");
    EXPECT_EQ(GetFieldVal(400), 10);
    EXPECT_TRUE(dialogs.messages.empty());

    cgt::Run().DebugMode = true;
    cgt::Run().CurrentWorksheet = 451;
    SetFieldStr(400, "text");
    EXPECT_EQ(GetFieldVal(400), 10);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text,
              "DEBUG: bad field tag 400  DataType = dtCurrency  Contents = 10  "
              "Worksheet = 451 - not defined  GetFieldStr");
    EXPECT_EQ(dialogs.messages[0].kind, mkError);
    EXPECT_TRUE(dialogs.messages[1].text.ends_with("  SetFieldStr"));

    SetFieldStr(401, "abc");
    SetFieldVal(401, 3);
    SetFieldChecked(401);
    EXPECT_EQ(GetFieldStr(401), "abc");
    EXPECT_TRUE(dialogs.messages.back().text.ends_with("SetFieldChecked"));
}

TEST_F(FieldStoreTest, ExplicitZeroIsStrippedOnlyOnRequest) {
    SetFieldVal(500, ExplicitZero);
    EXPECT_EQ(GetFieldVal(500, true), 0);
    EXPECT_EQ(GetFieldVal(500, false), ExplicitZero);
    EXPECT_FALSE(FieldIsEmpty(500));
    SetFieldVal(501, 0.006L);
    EXPECT_EQ(GetFieldVal(501, true), 0.006L);
    SetFieldVal(502, 2.5L);
    EXPECT_EQ(GetFieldInt(502), 2);
    SetFieldVal(502, 3.5L);
    EXPECT_EQ(GetFieldInt(502), 4);
}

TEST_F(FieldStoreTest, EmptinessByType) {
    SetFieldStr(600, "   ");
    EXPECT_TRUE(FieldIsEmpty(600));
    SetFieldUnchecked(601);
    EXPECT_TRUE(FieldIsEmpty(601));
    SetFieldLst(602, std::make_shared<StringList>());
    EXPECT_TRUE(FieldIsEmpty(602));
    SetFieldLst(603, std::make_shared<StringList>(StringList{"first", "second"}));
    EXPECT_FALSE(FieldIsEmpty(603));
    EXPECT_EQ(GetFieldText(603), "first");
    SetFieldType(604, dtWorksheet);
    EXPECT_TRUE(FieldIsEmpty(604));
}

TEST_F(FieldStoreTest, ClearFieldByType) {
    SetFieldStr(700, "short");
    SetFieldStr(701, "a longer text");
    SetFieldChecked(702);
    SetFieldVal(703, 5);
    SetFieldLst(704, std::make_shared<StringList>(StringList{"x"}));
    auto sheet = std::make_shared<Worksheet>();
    sheet->append({1, 710, {}});
    Store().entry(1202).type = dtWorksheet;
    Store().entry(1202).sheet = sheet;

    for (int tag : {700, 701, 702, 703, 704, 1202})
        ClearField(tag);
    EXPECT_EQ(GetFieldType(700), dtSmallStr);
    EXPECT_EQ(GetFieldStr(700), "");
    EXPECT_EQ(GetFieldType(701), dtNone);
    EXPECT_EQ(GetFieldType(702), dtCheckbox);
    EXPECT_FALSE(FieldChecked(702));
    EXPECT_EQ(GetFieldType(703), dtCurrency);
    EXPECT_EQ(GetFieldVal(703), 0);
    EXPECT_EQ(GetFieldType(704), dtNone);
    EXPECT_EQ(GetFieldType(1202), dtNone);
    EXPECT_FALSE(WorksheetHasRows(451));
}

TEST_F(FieldStoreTest, DeleteFieldsConfirmed) {
    const int tags[] = {800, 801};
    EXPECT_TRUE(DeleteFieldsConfirmed(tags, 2, true));
    EXPECT_TRUE(dialogs.messages.empty());

    SetFieldVal(801, 9);
    dialogs.queueAnswer(mrNo);
    EXPECT_FALSE(DeleteFieldsConfirmed(tags, 2, true));
    EXPECT_EQ(GetFieldVal(801), 9);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const MessageRequest& q = dialogs.messages[0];
    EXPECT_EQ(q.caption, "Warning");
    EXPECT_EQ(q.text, "Data exists for this item\n\nAre you sure you want to delete it?\n\n"
                      "If you select 'Yes' all data for this item will be lost");
    EXPECT_EQ(q.kind, mkWarning);
    EXPECT_EQ(q.buttons, mbYes | mbNo);
    EXPECT_EQ(q.defaultResult, mrNo);

    dialogs.queueAnswer(mrYes);
    EXPECT_TRUE(DeleteFieldsConfirmed(tags, 2, true));
    EXPECT_TRUE(FieldIsEmpty(801));

    SetFieldVal(800, 1);
    EXPECT_TRUE(DeleteFieldsConfirmed(tags, 2, false));
    EXPECT_TRUE(FieldIsEmpty(800));
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

WorksheetItem Item(std::uint16_t row, int tag, TFieldDataType type) {
    WorksheetItem item;
    item.row = row;
    item.tag = tag;
    item.entry.type = type;
    return item;
}

TEST_F(FieldStoreTest, LoadWorksheetRowFillsScratchFromOneRow) {
    Worksheet sheet;
    auto name1 = Item(1, 710, dtSmallStr);
    name1.entry.setSmallText("BHP");
    auto cost1 = Item(1, 720, dtCurrencyCnt);
    cost1.entry.setNumber(100.25L);
    auto name2 = Item(2, 710, dtString);
    name2.entry.text = std::make_shared<const std::string>("Telstra shares");
    auto count2 = Item(2, 1100, dtNumeric);
    count2.entry.setNumber(40);
    auto box2 = Item(2, 1101, dtCheckbox);
    box2.entry.value[0] = 1;
    auto list2 = Item(2, 1102, dtList);
    list2.entry.list = std::make_shared<StringList>(StringList{"a", "b"});
    for (auto* item : {&name1, &cost1, &name2, &count2, &box2, &list2})
        sheet.append(*item);

    SetFieldVal(720, 55); // left over from another row
    SetFieldStr(1150, "old");
    LoadWorksheetRow(&sheet, 2);
    EXPECT_EQ(GetFieldStr(710), "Telstra shares");
    EXPECT_EQ(GetFieldType(720), dtNone);
    EXPECT_EQ(GetFieldType(1150), dtNone);
    EXPECT_EQ(GetFieldType(1100), dtCurrency);
    EXPECT_EQ(GetFieldVal(1100), 40);
    EXPECT_TRUE(FieldChecked(1101));
    EXPECT_EQ(GetFieldLst(1102), list2.entry.list);

    LoadWorksheetRow(&sheet, 1);
    EXPECT_EQ(GetFieldStr(710), "BHP");
    EXPECT_EQ(GetFieldVal(720), 100.25L);
    EXPECT_EQ(GetFieldType(1102), dtNone);

    SetFieldVal(1100, 3);
    LoadWorksheetRow(nullptr, 1);
    EXPECT_EQ(GetFieldVal(1100), 3);
}

TEST_F(FieldStoreTest, WorksheetRowIndexFollowsChanges) {
    Worksheet sheet;
    for (std::uint16_t row : {1, 2, 1, 3, 2})
        sheet.append(Item(row, 710, dtNone));
    EXPECT_EQ(
        std::vector<std::uint32_t>(sheet.rowPositions(1).begin(), sheet.rowPositions(1).end()),
        (std::vector<std::uint32_t>{0, 2}));
    EXPECT_EQ(sheet.rowKeys(), (std::vector<std::uint16_t>{1, 2, 3}));
    sheet.removeRow(1);
    EXPECT_FALSE(sheet.hasRow(1));
    EXPECT_EQ(
        std::vector<std::uint32_t>(sheet.rowPositions(2).begin(), sheet.rowPositions(2).end()),
        (std::vector<std::uint32_t>{0, 2}));
    sheet.append(Item(2, 711, dtNone));
    EXPECT_EQ(sheet.rowPositions(2).size(), 3u);
    EXPECT_TRUE(sheet.rowPositions(9).empty());

    Store().entry(1213).type = dtWorksheet;
    Store().entry(1213).sheet = std::make_shared<Worksheet>(sheet);
    EXPECT_TRUE(WorksheetHasRows(462));
    EXPECT_FALSE(WorksheetHasRows(451));
}

// A row's positions as a vector, for comparing.
std::vector<std::uint32_t> PositionsOf(const Worksheet& sheet, std::uint16_t row) {
    const auto positions = sheet.rowPositions(row);
    return {positions.begin(), positions.end()};
}

TEST_F(FieldStoreTest, WorksheetMadeFromItemsIndexesEveryRow) {
    // Runs of one row, a row coming back after others, a row of one item.
    const std::uint16_t rows[] = {1, 1, 2, 1, 1, 3, 2, 2, 4, 1};
    std::vector<WorksheetItem> items;
    Worksheet appended;
    for (std::uint16_t row : rows) {
        items.push_back(Item(row, 710 + static_cast<int>(items.size()), dtNone));
        appended.append(items.back());
    }
    Worksheet made(std::move(items));
    EXPECT_EQ(PositionsOf(made, 1), (std::vector<std::uint32_t>{0, 1, 3, 4, 9}));
    EXPECT_EQ(PositionsOf(made, 2), (std::vector<std::uint32_t>{2, 6, 7}));
    for (std::uint16_t row : {1, 2, 3, 4, 5})
        EXPECT_EQ(PositionsOf(made, row), PositionsOf(appended, row)) << row;
    made.append(Item(3, 750, dtNone));
    EXPECT_EQ(PositionsOf(made, 3), (std::vector<std::uint32_t>{5, 10}));
}

// A row's items as (row, tag) pairs in list order.
std::vector<std::pair<int, int>> RowsAndTags(const Worksheet& sheet) {
    std::vector<std::pair<int, int>> out;
    for (const auto& item : sheet.items())
        out.emplace_back(item.row, item.tag);
    return out;
}

TEST_F(FieldStoreTest, ReplacedRowsTakeThePlaceOfTheirFirstItem) {
    Worksheet sheet;
    for (std::uint16_t row : {1, 2, 1, 3, 2, 4})
        sheet.append(Item(row, 700 + row, dtNone));
    std::map<std::uint16_t, std::vector<WorksheetItem>> rows;
    rows[2] = {Item(2, 720, dtNone), Item(2, 721, dtNone), Item(2, 722, dtNone)};
    rows[3] = {};                     // removed
    rows[9] = {Item(9, 790, dtNone)}; // a new row goes last
    rows[7] = {Item(7, 770, dtNone)}; // before the higher key
    sheet.replaceRows(std::move(rows));
    EXPECT_EQ(RowsAndTags(sheet),
              (std::vector<std::pair<int, int>>{
                  {1, 701}, {1, 701}, {2, 720}, {2, 721}, {2, 722}, {4, 704}, {7, 770}, {9, 790}}));
    EXPECT_EQ(sheet.rowKeys(), (std::vector<std::uint16_t>{1, 2, 4, 7, 9}));
    EXPECT_EQ(sheet.rowPositions(2).size(), 3u) << "the index follows the new list";
    EXPECT_FALSE(sheet.hasRow(3));

    FieldEntry amount;
    amount.type = dtCurrency;
    amount.setNumber(42);
    sheet.setEntry(5, amount);
    EXPECT_EQ(sheet.items()[5].row, 4);
    EXPECT_EQ(sheet.items()[5].tag, 704);
    EXPECT_EQ(sheet.items()[5].entry.number(), 42);
    EXPECT_EQ(sheet.rowPositions(4).front(), 5u);
}

// Whether an entry has a display text is told without formatting, and agrees with the text.
TEST_F(FieldStoreTest, HasDisplayTextAgreesWithTheText) {
    auto typed = [](TFieldDataType type) {
        FieldEntry e;
        e.type = type;
        return e;
    };
    auto number = [&](TFieldDataType type, Extended v) {
        FieldEntry e = typed(type);
        e.setNumber(v);
        return e;
    };
    std::vector<FieldEntry> entries;
    for (TFieldDataType type : {dtNumeric, dtCurrency, dtCurrencyCnt})
        for (Extended v : {0.0L, 0.0009L, 0.001L, -0.001L, ExplicitZero, 0.4L, 0.5L, -0.6L, 12.345L,
                           1e15L, -1e20L, std::numeric_limits<Extended>::infinity(),
                           std::numeric_limits<Extended>::quiet_NaN()})
            entries.push_back(number(type, v));
    for (const char* text : {"", " ", "x", "a text longer than nine"}) {
        FieldEntry e;
        e.type = dtString;
        e.text = std::make_shared<const std::string>(text);
        entries.push_back(e);
        FieldEntry small;
        small.type = dtSmallStr;
        small.setSmallText(text);
        entries.push_back(small);
    }
    entries.push_back(typed(dtString)); // no text at all
    for (bool on : {false, true}) {
        FieldEntry e;
        e.type = dtCheckbox;
        e.value[0] = on ? 1 : 0;
        entries.push_back(e);
    }
    for (const StringList& list :
         {StringList{}, StringList{""}, StringList{"", "b"}, StringList{"a", ""}}) {
        FieldEntry e;
        e.type = dtList;
        e.list = std::make_shared<StringList>(list);
        entries.push_back(e);
    }
    entries.push_back(typed(dtList));
    entries.push_back(typed(dtWorksheet));
    entries.push_back(FieldEntry{});
    for (const FieldEntry& e : entries)
        EXPECT_EQ(EntryHasDisplayText(e), !EntryDisplayText(e).empty())
            << FieldTypeName(e.type) << " \"" << EntryDisplayText(e) << "\"";
}

TEST_F(FieldStoreTest, LodgedAndItsMessage) {
    EXPECT_FALSE(IsLodged());
    SetFieldStr(1478, "01/11/2004");
    SetFieldStr(1479, "ABC123");
    SetFieldStr(1490, "10:15");
    EXPECT_FALSE(IsLodged());
    SetFieldStr(1491, "999999999");
    EXPECT_TRUE(IsLodged());
    ShowLodgedMessage();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, mkInformation);
    EXPECT_EQ(dialogs.messages[0].text,
              "This data file has been lodged and is locked to preserve your lodgment details."
              "\n\nYou will not be able to change the information contained in this file.\n\n"
              "However, you can continue to view the details of this file.");
}

TEST_F(FieldStoreTest, ClearStoreEmptiesEverything) {
    SetFieldStr(1, "123 456 782");
    SetFieldVal(720, 5);
    SetFieldChecked(9);
    ClearStore();
    for (int tag : {1, 720, 9})
        EXPECT_TRUE(FieldIsEmpty(tag)) << tag;
    EXPECT_EQ(GetFieldType(720), dtNone);
}

} // namespace
} // namespace cgt
