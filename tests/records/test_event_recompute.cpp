// Every event of a return recomputed without a window: the same rows as recomputing and storing
// each row in turn, the events in worksheet and row order, other worksheets untouched.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cgt/records/event_worksheets.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"
#include "support/store_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

void StoreEvent(int worksheet, int row, const char* name, const char* purchase, Extended proceeds) {
    ZeroFillScratchTags();
    SetFieldStr(kName, name);
    SetFieldStr(kAssetType, worksheet == wkDepreciating ? "ON" : "SN");
    SetFieldStr(kAcquisitionDate, "01/03/1995");
    SetFieldStr(kEventDate, "15/02/2004");
    SetFieldVal(kCapitalProceeds, proceeds);
    SetFieldVal(kDepreciatingCost, 4000);
    SetFieldVal(kTaxableUsePercent, 25);
    SetFieldLst(kCostElements,
                std::make_shared<StringList>(StringList{"1 - Purchase", "01/03/1995", "",
                                                        "Purchase", purchase, "", "", ""}));
    PutRow(worksheet, row);
}

struct ItemView {
    int row, tag, type;
    std::string text;
    bool operator==(const ItemView&) const = default;
};
std::vector<ItemView> View(int worksheet) {
    std::vector<ItemView> view;
    for (const WorksheetItem& item : WorksheetOf(worksheet)->items())
        view.push_back({item.row, item.tag, item.entry.type, EntryDisplayText(item.entry)});
    return view;
}

class EventRecomputeTest : public StoreTest {};

TEST_F(EventRecomputeTest, SameRowsAsStoringEachRowInTurn) {
    StoreEvent(wkShares, 2, "Second", "3000", 9000);
    StoreEvent(wkShares, 1, "First", "5000", 10000);
    StoreEvent(wkDepreciating, 1, "Van", "4000", 7000);
    StoreEvent(wkRights, 1, "Right", "100", 200);
    // A row whose items are split: a later item of row 2 after row 1's.
    WorksheetItem late;
    late.row = 2;
    late.tag = kPercentDisposed;
    late.entry.type = dtCurrencyCnt;
    late.entry.setNumber(50);
    WorksheetOf(wkShares)->append(late);

    const auto original = [] {
        std::vector<std::vector<WorksheetItem>> sheets;
        for (int w : {wkShares, wkDepreciating, wkRights})
            sheets.push_back(WorksheetOf(w)->items());
        return sheets;
    }();
    const std::vector<ItemView> rights = View(wkRights);

    const std::vector<RecomputedEvent> events = RecomputeEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].name, "First");
    EXPECT_EQ(events[1].name, "Second");
    EXPECT_EQ(events[1].row, 2);
    EXPECT_EQ(events[2].worksheet, wkDepreciating);
    EXPECT_EQ(events[0].results[gcDiscount].Amount(), 5000);
    EXPECT_EQ(events[1].costBase.nonIndexed, 3000);
    EXPECT_EQ(events[1].results[gcDiscount].Amount(),
              7500); // half of the parcel disposed of: 9000 - 1500
    EXPECT_EQ(events[2].results[gcDiscount].Amount(), 2250); // 75% of 3000
    EXPECT_EQ(View(wkRights), rights);
    const std::vector<ItemView> shares = View(wkShares);
    const std::vector<ItemView> vans = View(wkDepreciating);

    // The same by fetching, computing and putting each row in list order.
    int i = 0;
    for (int w : {wkShares, wkDepreciating, wkRights})
        WorksheetOf(w)->mutableItems() = original[i++];
    for (int w : {wkShares, wkDepreciating})
        for (std::uint16_t key : WorksheetOf(w)->rowKeys()) {
            FetchRow(w, key);
            RunGainWorksheet(GainVariantOf(w));
            PutRow(w, key);
        }
    EXPECT_EQ(View(wkShares), shares);
    EXPECT_EQ(View(wkDepreciating), vans);
    EXPECT_EQ(GetFieldText(kName), ""); // the scratch tags are left empty
}

// A share parcel bought for 1000 on 01/03/1995 received a capital payment of 1200 on 01/08/2003:
// the payment leaves nil adjusted bases and gains of 1200 - 1000 = 200 (discount) and
// 1200 - 1000 x 1.076 = 124 (indexed). The sale for 10000 then starts from the nil base: discount
// gain 10000, where without the payments it would be 9000.
TEST_F(EventRecomputeTest, SharePaymentsAdjustTheCostBaseFirst) {
    ZeroFillScratchTags();
    StoreEvent(wkShares, 1, "Paid", "1000", 10000);
    FetchRow(wkShares, 1);
    SetFieldLst(kPayments, std::make_shared<StringList>(
                               StringList{"01/08/2003", "", "Return of capital", "1200", "", ""}));
    PutRow(wkShares, 1);
    StoreEvent(wkShares, 2, "Unpaid", "1000", 10000);

    const std::vector<RecomputedEvent> events = RecomputeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].results[gcDiscount].Amount(), 10000);
    EXPECT_EQ(events[1].results[gcDiscount].Amount(), 9000);
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldStr(kAdjustedCostBaseDate), "01/08/2003");
    EXPECT_EQ(GetFieldVal(kPaymentDiscountGainThisYear), 200);
    EXPECT_EQ(GetFieldVal(kPaymentIndexedGainThisYear), 124);
    FetchRow(wkShares, 2);
    EXPECT_EQ(GetFieldStr(kAdjustedCostBaseDate), "");
}

// Payments removed after their pass had adjusted the cost base: the gain starts from the cost
// base without them again, and the adjustment is gone from the row.
TEST_F(EventRecomputeTest, ARowWhosePaymentsWereRemovedLosesTheirAdjustment) {
    ZeroFillScratchTags();
    StoreEvent(wkShares, 1, "Paid", "1000", 10000);
    FetchRow(wkShares, 1);
    SetFieldLst(kPayments, std::make_shared<StringList>(
                               StringList{"01/08/2003", "", "Return of capital", "300", "", ""}));
    PutRow(wkShares, 1);
    ASSERT_EQ(RecomputeEvents().front().results[gcDiscount].Amount(), 9300);

    FetchRow(wkShares, 1);
    SetFieldLst(kPayments, std::make_shared<StringList>());
    PutRow(wkShares, 1);
    const std::vector<RecomputedEvent> events = RecomputeEvents();
    EXPECT_EQ(events.front().results[gcDiscount].Amount(), 9000);
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldStr(kAdjustedCostBaseDate), "");
    EXPECT_EQ(GetFieldVal(kAdjustedNonIndexed), 0);
}

} // namespace
} // namespace cgt::test
