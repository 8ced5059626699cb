// The cost elements without a window: the picklists by worksheet, element codes and their help
// topics, the help section of each column, and the row checks with the cell they focus.

#include <gtest/gtest.h>

#include "cgt/records/event_records.h"

#include <optional>
#include <string>
#include <vector>

#include "cgt/rules/cost_elements.h"
#include "cgt/rules/event.h"
#include "cgt/rules/event_messages.h"
#include "controls/core/cell_table.h"
#include "controls/core/tax_text.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "support/store_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

TEST(CostElementLists, EachWorksheetOffersItsElements) {
    const struct Case {
        int worksheet;
        std::vector<std::string> codes;
        const char* secondItem;
    } cases[] = {
        {wkShares, {"1", "1D", "2A", "2B", "3A", "5"}, "1D - Instalment payment"},
        {wkTrustInterests, {"1", "1D", "2A", "2B", "3A", "5"}, "1D - Purchase by instalments"},
        {wkRealEstate,
         {"1", "2A", "2B", "3A", "3B", "4", "5", "6C", "6R"},
         "2A - Incidentals re holding and acquisition"},
        {wkOtherAssets,
         {"1", "2A", "2B", "3A", "3B", "4", "5", "6C", "6R"},
         "2A - Incidentals re holding and acquisition"},
        {wkDepreciating,
         {"1", "2A", "2B", "3A", "3B", "4", "5", "6C", "6R"},
         "2A - Incidentals re holding and acquisition"},
        {wkPersonalUse, {"1", "2A", "2B", "4", "5"}, "2A - Incidentals re holding and acquisition"},
        {wkRights,
         {"1", "2A", "2B", "3A", "3B", "4", "5", "6C", "6R"},
         "2A - Incidentals re holding & acquisition"},
        {wkCeasingResidency,
         {"1", "1D", "2A", "2B", "3A", "3B", "4", "5", "6C", "6R"},
         "1D - Purchase by instalments"},
        {wkOtherTrusts, {"1", "1D", "2A", "2B", "3A", "3B", "4", "5"}, "1D - Instalments payment"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.worksheet);
        const std::vector<const char*>& items = CostElementPicklist(c.worksheet);
        std::vector<std::string> codes;
        for (const char* item : items)
            codes.push_back(ElementCode(item));
        EXPECT_EQ(codes, c.codes);
        EXPECT_STREQ(items.at(1), c.secondItem);
    }
    EXPECT_STREQ(CostElementPicklist(wkRights).back(),
                 "6R -  Adjustments to the reduced cost base");
}

TEST(CostElementLists, CodesHelpTopicsAndColumnSections) {
    EXPECT_EQ(ElementCode("1 - Purchase/Acquisition cost"), "1");
    EXPECT_EQ(ElementCode("6R -  Adjustments"), "6R");
    EXPECT_EQ(ElementCode(""), "");
    const struct {
        const char* code;
        int topic;
    } topics[] = {{"1", 21}, {"1D", 378}, {"2A", 22},  {"2B", 379}, {"3A", 23}, {"3B", 24},
                  {"4", 25}, {"5", 26},   {"6C", 380}, {"6R", 381}, {"", 0},    {"9", 0}};
    for (const auto& t : topics)
        EXPECT_EQ(CostElementHelpTopic(t.code), t.topic) << t.code;

    const int sections[] = {1, 9, 3, 4, 5, 6, 7, 8};
    for (int col = 0; col < kCostElementColumns; ++col)
        EXPECT_EQ(CostElementHelpSection(col, wkRealEstate), sections[col]) << col;
    for (int worksheet : {wkShares, wkTrustInterests, wkCeasingResidency})
        EXPECT_EQ(CostElementHelpSection(ceDateIncurred, worksheet), 2) << worksheet;
}

class CostElementChecksTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        table.SetColCount(kCostElementColumns);
        SetFieldStr(kName, "BHP shares");
    }
    // Rows separated by ";", each "element|incurred|paid|amount|excluded|description".
    void rows(const std::string& text) {
        std::vector<std::string> lines;
        SplitText(text, ';', lines);
        table.ClearRows();
        table.SetRowCount(static_cast<int>(lines.size()) + 1);
        const int cols[] = {ceElement, ceDateIncurred, ceDatePaid,
                            ceAmount,  ceExcluded,     ceDescription};
        for (int row = 1; row <= static_cast<int>(lines.size()); ++row) {
            std::vector<std::string> cells;
            SplitText(lines[static_cast<std::size_t>(row - 1)], '|', cells);
            for (std::size_t i = 0; i < cells.size() && i < std::size(cols); ++i)
                table.SetCell(cols[i], row, cells[i]);
        }
    }
    CellTable table;
};

TEST_F(CostElementChecksTest, RowsRefuseInOrderWithTheCellToFocus) {
    const struct Case {
        const char* note;
        const char* acquired;
        const char* costBaseDate;
        const char* rows;
        const char* message; // nullptr: no refusal
        int row = 0;
        int col = 0;
    } cases[] = {
        {"a complete row", "01/07/2000", "", "1 - Purchase|01/07/2000||5000.00", nullptr},
        {"element 1 beside a known cost base", "01/07/2000", "01/07/2000",
         "1 - Purchase|01/07/2000||5000.00", msg::kElementOneAfterCostBase, 1},
        {"instalment beside a known cost base", "01/07/2000", "01/07/2000",
         "1D - Instalment payment|01/07/2000||5000.00", nullptr},
        {"incurred before acquisition", "01/07/2000", "",
         "1 - Purchase|01/07/2000||10.00;1D - Instalment|30/06/2000||10.00",
         msg::kExpenseBeforeAcquisition, 2},
        {"incurred before the cost base date", "", "01/07/2000",
         "1D - Instalment|30/06/2000||10.00", msg::kExpenseBeforeCostBaseDate, 1},
        {"incurred before CGT", "", "", "1 - Purchase|19/09/1985||10.00", msg::kAcquiredBeforeCgt,
         1},
        {"paid before CGT", "", "", "1 - Purchase|20/09/1985|19/09/1985|10.00",
         msg::kAcquiredBeforeCgt, 1},
        {"excluded more than the amount", "", "", "1 - Purchase|01/07/2000||10.00|11.00",
         msg::kExclusionExceedsAmount, 1, ceAmount},
        {"excluded all of it", "", "", "1 - Purchase|01/07/2000||10.00|10.00", nullptr},
        // A row without date, element and amount is no element: the calculation skips it.
        {"a description alone", "", "", "|||||Brokerage", nullptr},
        {"a date paid alone", "", "", "||01/07/2000", nullptr},
        {"no amount", "", "", "1 - Purchase|01/07/2000", msg::kIncompleteElement, 1},
        {"no date", "", "", "1 - Purchase|||10.00", msg::kIncompleteElement, 1},
        {"no element", "", "", "|01/07/2000||10.00", msg::kIncompleteElement, 1},
        {"an empty row passes", "", "", ";1 - Purchase|01/07/2000||10.00", nullptr},
        {"adjustment above zero", "", "", "6R - Adjustments|01/07/2000||250.00",
         msg::kAdjustmentNotNegative, 1},
        {"adjustment below zero", "", "", "6R - Adjustments|01/07/2000||-250.00", nullptr},
        {"an amount that does not read counts as 0", "", "", "6C - Adjustments|01/07/2000||abc",
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        SetFieldStr(kAcquisitionDate, c.acquired);
        SetFieldStr(kCostBaseDate, c.costBaseDate);
        rows(c.rows);
        const std::optional<Refusal> refusal = CheckCostElements(table, ReadOpenEvent());
        if (!c.message) {
            EXPECT_FALSE(refusal) << refusal->message;
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(TagOf(refusal->field), kCostElements);
        EXPECT_EQ(refusal->row, c.row);
        EXPECT_EQ(refusal->col, c.col);
    }
}

TEST_F(CostElementChecksTest, OnlyARegisteredAssetIsChecked) {
    rows("1 - Purchase");
    EXPECT_TRUE(CheckCostElements(table, ReadOpenEvent()));
    SetFieldStr(kName, "");
    EXPECT_FALSE(CheckCostElements(table, ReadOpenEvent()));
}

TEST_F(CostElementChecksTest, TheAssetNameOfALabel) {
    EXPECT_EQ(AssetNameText(GetFieldStr(kName)), "BHP shares");
    SetFieldStr(kName, " ");
    EXPECT_EQ(AssetNameText(GetFieldStr(kName)), "No Asset Selected");
}

} // namespace
} // namespace cgt::test
