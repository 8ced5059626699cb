// Worksheet rows without a window: a row stored from the scratch tags keeps its place and holds
// only tags with a display text, deleting renumbers the later rows, names for the pick list,
// and the fetch and put of a calculation.

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "store/tags.h"
#include "store/worksheet_rows.h"
#include "support/store_fixture.h"

namespace cgt::test {
namespace {

using Items = std::vector<std::tuple<int, int, std::string>>;
using namespace tag::event;

class WorksheetRowsTest : public StoreTest {
protected:
    Items items(int worksheet) const {
        Items out;
        if (const Worksheet* sheet = WorksheetOf(worksheet))
            for (const auto& item : sheet->items())
                out.emplace_back(item.row, item.tag, EntryDisplayText(item.entry));
        return out;
    }
    // A row holding a name and an amount, put through the scratch tags.
    void put(int row, const char* name, Extended amount) {
        ZeroFillScratchTags();
        if (*name) SetFieldStr(kName, name);
        SetFieldVal(kCapitalProceeds, amount);
        PutRow(wkShares, row);
    }
};

TEST_F(WorksheetRowsTest, AStoredRowKeepsItsPlaceAndOnlyTagsWithAText) {
    put(1, "Alpha", 100);
    put(2, "Beta", 200);
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldStr(kName), "Alpha");
    SetFieldVal(kCapitalProceeds, 150);
    SetFieldUnchecked(kRollOverYes); // no display text: no item
    StoreScratchAsRow(*WorksheetOf(wkShares), 1);
    EXPECT_EQ(items(wkShares), (Items{{1, kName, "Alpha"},
                                      {1, kCapitalProceeds, "150"},
                                      {2, kName, "Beta"},
                                      {2, kCapitalProceeds, "200"}}));
}

TEST_F(WorksheetRowsTest, DeletingARowRenumbersTheLaterOnes) {
    put(1, "Alpha", 100);
    put(2, "Beta", 200);
    put(3, "Gamma", 300);
    DeleteRow(*WorksheetOf(wkShares), 2);
    EXPECT_EQ(items(wkShares), (Items{{1, kName, "Alpha"},
                                      {1, kCapitalProceeds, "100"},
                                      {2, kName, "Gamma"},
                                      {2, kCapitalProceeds, "300"}}));
    EXPECT_EQ(RowNames(WorksheetOf(wkShares)), (std::vector<std::string>{"Alpha", "Gamma"}));
}

TEST_F(WorksheetRowsTest, FetchingARowClearsWhatTheLastOneLeftInTheScratchTags) {
    put(1, "Alpha", 100);
    put(2, "", 200); // a row without a name
    FetchRow(wkShares, 1);
    SetFieldChecked(kRollOverYes);
    FetchRow(wkShares, 2);
    EXPECT_TRUE(FieldIsEmpty(kName));
    EXPECT_FALSE(FieldChecked(kRollOverYes));
    EXPECT_EQ(GetFieldVal(kCapitalProceeds), 200);
    EXPECT_TRUE(RowNames(WorksheetOf(wkShares)).size() == 1) << "only named rows have a name";
    EXPECT_EQ(DefaultRowName(2), "Worksheet No.2");
}

TEST_F(WorksheetRowsTest, PutLeavesTheScratchTagsEmptyAndOtherWorksheetsAlone) {
    put(1, "Alpha", 100);
    EXPECT_TRUE(FieldIsEmpty(kName));
    EXPECT_TRUE(FieldIsEmpty(kCapitalProceeds));
    EXPECT_EQ(WorksheetOf(wkTrustInterests), nullptr);
    EXPECT_EQ(EnsureWorksheet(0x7fff), nullptr) << "no field for that worksheet";
    ASSERT_NE(EnsureWorksheet(wkTrustInterests), nullptr);
    EXPECT_TRUE(WorksheetOf(wkTrustInterests)->empty());
}

} // namespace
} // namespace cgt::test
