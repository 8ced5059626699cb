// The CGT event and its proceeds without a window: the type and event lists by worksheet, the
// note beside the proceeds, the time question of 21/09/1999, and the checks of the event screen
// and of its depreciating asset variant.

#include <gtest/gtest.h>

#include "cgt/records/event_records.h"

#include <optional>
#include <string>
#include <vector>

#include "cgt/rules/event_disposal.h"
#include "cgt/rules/event_messages.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "support/store_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

std::vector<std::string> Codes(const std::vector<const char*>& items) {
    std::vector<std::string> codes;
    for (const char* item : items)
        codes.push_back(std::string(item).substr(0, 2));
    return codes;
}

TEST(EventLists, EachWorksheetListsItsTypesAndEvents) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Codes(EventAssetTypes(wkShares)), (V{"SA", "SN"}));
    EXPECT_EQ(Codes(EventAssetTypes(wkTrustInterests)), (V{"UA", "UN", "OA", "ON"}));
    EXPECT_EQ(Codes(EventAssetTypes(wkRealEstate)), (V{"RA", "RN"}));
    EXPECT_EQ(Codes(EventAssetTypes(wkPersonalUse)), (V{"A ", "P "}));
    EXPECT_EQ(Codes(EventAssetTypes(wkOtherAssets)), (V{"G ", "OA", "ON"}));
    EXPECT_EQ(Codes(EventAssetTypes(wkDepreciating)), (V{"P ", "ON"}));
    const V eleven = {"UA", "UN", "SA", "SN", "RA", "RN", "G ", "A ", "P ", "OA", "ON"};
    EXPECT_EQ(Codes(EventAssetTypes(wkCeasingResidency)), eleven);
    EXPECT_EQ(Codes(EventAssetTypes(wkBankruptcy)), eleven);

    EXPECT_EQ(Codes(EventCodes(wkShares)), (V{"A1", "C2", "E1", "E2", "G2", "G3", "K4", "K6"}));
    EXPECT_EQ(Codes(EventCodes(wkTrustInterests)), (V{"A1", "C2", "E1", "E2", "K3", "K4", "K6"}));
    EXPECT_EQ(Codes(EventCodes(wkRealEstate)), (V{"A1", "B1", "C1", "E1", "E2", "K3", "K4"}));
    EXPECT_EQ(Codes(EventCodes(wkPersonalUse)), (V{"A1", "B1", "C1", "K3", "K4", "K5"}));
    EXPECT_EQ(Codes(EventCodes(wkOtherAssets)),
              (V{"A1", "B1", "C1", "C2", "C3", "D1", "D2", "D3", "E1", "E2", "F1", "F2", "F3", "F5",
                 "K3", "K4"}));
    EXPECT_EQ(Codes(EventCodes(wkRights)),
              (V{"A1", "B1", "C1", "C2", "C3", "D1", "D2", "D3", "K3", "K4"}));
    EXPECT_EQ(Codes(EventCodes(wkCeasingResidency)), (V{"I1"}));
    ASSERT_EQ(EventCodes(wkBankruptcy).size(), 38u);
    EXPECT_STREQ(EventCodes(wkBankruptcy).front(), "A1 - Disposal of a CGT asset");
    EXPECT_STREQ(EventCodes(wkBankruptcy).back(), "K6 - Pre-CGT shares or trust interest ");

    // Some worksheets word their events in their own way.
    EXPECT_STREQ(EventCodes(wkOtherAssets)[1],
                 "B1 - use and enjoyment before title passes - hire purchase");
    EXPECT_STREQ(EventCodes(wkRights)[0], "A1 - disposal or assignment");
    EXPECT_STREQ(EventCodes(wkRights)[3], "C2 - cancellation, surrender or a similar ending");
    EXPECT_STREQ(EventCodes(wkCeasingResidency)[0],
                 "I1 - individual or company stops being a resident");
    EXPECT_STREQ(EventCodes(wkRealEstate)[1], "B1 - Use and enjoyment before title passes ");

    EXPECT_EQ(ProceedsNoteSection(wkShares), 1);
    EXPECT_EQ(ProceedsNoteSection(wkCeasingResidency), 2);
}

// Amounts: "" nothing entered, "0" entered as nil, else dollars.
Extended Amount(const char* text) {
    if (!*text) return 0;
    const Extended value = std::stold(text);
    return value == 0 ? ExplicitZero : value;
}

class EventDisposalTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        SetFieldStr(kName, "BHP shares");
    }
    // One cost element incurred on `date`.
    static void Element(const char* date) {
        auto list = std::make_shared<StringList>(
            StringList{"1 - Purchase/Acquisition cost", date, "", "", "100.00", "", "", ""});
        SetFieldLst(kCostElements, list);
    }
};

TEST_F(EventDisposalTest, EventAndProceedsRefuseInOrder) {
    const struct Case {
        const char* note;
        const char* date;
        const char* proceeds;
        const char* element; // date incurred of a cost element
        const char* acquired;
        const char* costBaseDate;
        bool timeAnswered;
        const char* message;
        int tag;
    } cases[] = {
        {"neither date nor proceeds", "", "", "", "", "", false, nullptr, 0},
        {"before CGT", "19/09/1985", "100", "", "", "", false, msg::kAcquiredBeforeCgt, kEventDate},
        {"on the first day of CGT", "20/09/1985", "100", "", "", "", false, nullptr, 0},
        {"before an expense", "28/02/2004", "100", "01/03/2004", "", "", false,
         msg::kEventBeforeExpense, kEventDate},
        {"on the day of an expense", "01/03/2004", "100", "01/03/2004", "", "", false, nullptr, 0},
        {"proceeds without a date", "", "5000", "", "", "", false, msg::kNoEventDate, kEventDate},
        {"proceeds of 0 without a date", "", "0", "", "", "", false, msg::kNoEventDate, kEventDate},
        {"before acquisition", "01/07/2003", "100", "", "02/07/2003", "", false,
         msg::kEventBeforeAcquisition, kEventDate},
        {"before the cost base date", "01/07/2003", "100", "", "", "02/07/2003", false,
         msg::kEventBeforeCostBaseDate, kEventDate},
        {"a date without proceeds", "01/07/2003", "", "", "", "", false, msg::kNoProceeds,
         kCapitalProceeds},
        {"proceeds entered as 0", "01/07/2003", "0", "", "", "", false, nullptr, 0},
        {"21/09/1999 without its time", "21/09/1999", "100", "", "", "", false,
         msg::kNoEventTimeAnswer, kEventAfterCutOff},
        {"21/09/1999 with its time", "21/09/1999", "100", "", "", "", true, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        ZeroFillScratchTags();
        SetFieldStr(kName, "BHP shares");
        SetFieldStr(kEventDate, c.date);
        SetFieldVal(kCapitalProceeds, Amount(c.proceeds));
        if (*c.element) Element(c.element);
        SetFieldStr(kAcquisitionDate, c.acquired);
        SetFieldStr(kCostBaseDate, c.costBaseDate);
        if (c.timeAnswered) SetFieldChecked(kEventBeforeCutOff);
        EXPECT_EQ(EventTimeAsked(ReadOpenEvent()), std::string(c.date) == "21/09/1999");
        const std::optional<Refusal> refusal = CheckEventAndProceeds(ReadOpenEvent());
        if (!c.message) {
            EXPECT_FALSE(refusal) << refusal->message;
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(TagOf(refusal->field), c.tag);
    }
}

TEST_F(EventDisposalTest, ElementsWithoutAnElementTextAreNotDatedAgainstTheEvent) {
    SetFieldStr(kEventDate, "28/02/2004");
    auto list = std::make_shared<StringList>(
        StringList{"2A - Incidentals re holding & acquisition", "01/01/2004", "", "", "10.00", "",
                   "", "", "", "01/03/2004", "", "Note", "", "", "", ""});
    SetFieldLst(kCostElements, list);
    EXPECT_FALSE(EventBeforeAnExpense(ReadOpenEvent()));
    (*list)[8] = "5 - Capital expenditure - maintain ownership";
    EXPECT_TRUE(EventBeforeAnExpense(ReadOpenEvent()));
}

TEST_F(EventDisposalTest, TheTimeAnswerIsClearedWhenTheDateMoves) {
    SetFieldChecked(kEventAfterCutOff);
    SetFieldChecked(kEventBeforeCutOff);
    ClearEventTime();
    EXPECT_FALSE(FieldChecked(kEventAfterCutOff));
    EXPECT_FALSE(FieldChecked(kEventBeforeCutOff));
}

TEST_F(EventDisposalTest, DepreciatingEventRefusesInOrder) {
    const struct Case {
        const char* note;
        const char* cost;
        const char* termination;
        const char* date;
        const char* use; // taxable use percentage, a text
        const char* reductions;
        const char* decline;
        const char* element;
        const char* message;
        int tag;
    } cases[] = {
        {"an empty screen", "", "", "", "", "", "", "", nullptr, 0},
        {"complete with a taxable use", "1000", "400", "01/07/2003", "40.00", "", "", "", nullptr,
         0},
        {"complete with reductions and decline", "1000", "400", "01/07/2003", "", "300", "300", "",
         nullptr, 0},
        {"no termination value", "1000", "", "01/07/2003", "40.00", "", "", "",
         msg::kDepreciatingEntriesMissing, kCapitalProceeds},
        {"no cost", "", "400", "01/07/2003", "40.00", "", "", "", msg::kDepreciatingEntriesMissing,
         kDepreciatingCost},
        {"no date", "1000", "400", "", "40.00", "", "", "", msg::kDepreciatingEntriesMissing,
         kEventDate},
        {"no use", "1000", "400", "01/07/2003", "", "", "", "", msg::kDepreciatingUseMissing,
         kTaxableUsePercent},
        {"a date that does not exist", "1000", "400", "31/02/2004", "40.00", "", "", "",
         msg::kDepreciatingIncomplete, kDepreciatingCost},
        {"a use figure alone", "", "", "", "", "300", "", "", msg::kDepreciatingEntriesMissing,
         kCapitalProceeds},
        {"before an expense", "1000", "400", "28/02/2004", "40.00", "", "", "01/03/2004",
         msg::kEventBeforeExpense, kEventDate},
        {"taxable use and reductions", "1000", "400", "01/07/2003", "40", "100", "", "",
         msg::kTaxableUseAndDecline, kTaxableUsePercent},
        {"reductions without decline", "1000", "400", "01/07/2003", "", "100", "", "",
         msg::kDeclinePairIncomplete, kSumOfReductions},
        {"decline below reductions", "1000", "400", "01/07/2003", "", "300", "200", "",
         msg::kDeclineBelowReductions, kTotalDecline},
        {"termination value entered as 0", "1000", "0", "01/07/2003", "", "300", "300", "", nullptr,
         0},
        {"before acquisition", "1000", "400", "01/07/2003", "40.00", "", "", "",
         msg::kEventBeforeAcquisition, kEventDate},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        ZeroFillScratchTags();
        SetFieldStr(kName, "Laptop");
        SetFieldVal(kDepreciatingCost, Amount(c.cost));
        SetFieldVal(kCapitalProceeds, Amount(c.termination));
        SetFieldStr(kEventDate, c.date);
        SetFieldStr(kTaxableUsePercent, c.use);
        SetFieldVal(kSumOfReductions, Amount(c.reductions));
        SetFieldVal(kTotalDecline, Amount(c.decline));
        if (*c.element) Element(c.element);
        if (std::string(c.note) == "before acquisition")
            SetFieldStr(kAcquisitionDate, "02/07/2003");
        const std::optional<Refusal> refusal = CheckDepreciatingEvent(ReadOpenEvent());
        if (!c.message) {
            EXPECT_FALSE(refusal) << refusal->message;
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(TagOf(refusal->field), c.tag);
    }
}

} // namespace
} // namespace cgt::test
