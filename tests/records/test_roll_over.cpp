// Roll-over, exemption and deferral without a window: active asset types, which worksheets ask
// for the exemption, the checks, and the route Next takes.

#include <gtest/gtest.h>

#include "cgt/records/event_records.h"

#include <optional>
#include <string>

#include "cgt/rules/event_messages.h"
#include "cgt/rules/roll_over.h"
#include "cgt/rules/routes.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "support/store_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

class RollOverTest : public StoreTest {};

TEST_F(RollOverTest, ActiveTypesAndTheExemptionQuestion) {
    for (const char* code : {"UA", "SA", "RA", "OA", "G"})
        EXPECT_TRUE(IsActiveAssetType(code)) << code;
    for (const char* code : {"UN", "SN", "RN", "ON", "A", "P", "", "S"})
        EXPECT_FALSE(IsActiveAssetType(code)) << code;
    SetFieldStr(kAssetType, "G ");
    EXPECT_TRUE(ActiveAssetRegistered(ReadOpenEvent()));
    for (int worksheet : {wkShares, wkTrustInterests, wkRealEstate, wkOtherAssets})
        EXPECT_TRUE(AsksExemption(worksheet)) << worksheet;
    for (int worksheet : {wkPersonalUse, wkDepreciating})
        EXPECT_FALSE(AsksExemption(worksheet)) << worksheet;
}

TEST_F(RollOverTest, ChecksRefuseInOrder) {
    const struct Case {
        const char* note;
        const char* date;
        int checked[4]; // checked boxes, 0 ends
        const char* type;
        bool scrip; // the screen asks the scrip for scrip question
        const char* message;
        int tag;
    } cases[] = {
        {"no event date, no answer", "", {}, "SN", true, nullptr, 0},
        {"an event date, no answer",
         "01/07/2003",
         {},
         "SN",
         true,
         msg::kNoRollOverAnswer,
         kRollOverYes},
        {"not eligible", "01/07/2003", {kRollOverNo}, "SN", true, nullptr, 0},
        {"eligible, no marriage answer",
         "01/07/2003",
         {kRollOverYes},
         "SN",
         true,
         msg::kNoYesNoAnswer,
         kMarriageBreakdownYes},
        {"eligible, no scrip answer",
         "01/07/2003",
         {kRollOverYes, kMarriageBreakdownNo},
         "SN",
         true,
         msg::kNoYesNoAnswer,
         kScripForScripYes},
        {"eligible, without the scrip question",
         "01/07/2003",
         {kRollOverYes, kMarriageBreakdownNo},
         "RN",
         false,
         nullptr,
         0},
        {"eligible and answered",
         "01/07/2003",
         {kRollOverYes, kMarriageBreakdownNo, kScripForScripYes},
         "SN",
         true,
         nullptr,
         0},
        {"exemption of a non-active asset",
         "01/07/2003",
         {kRollOverNo, kFifteenYearExemption},
         "SN",
         true,
         msg::kExemptionNotActive,
         kFifteenYearExemption},
        {"exemption of an active asset",
         "01/07/2003",
         {kRollOverNo, kFifteenYearExemption},
         "SA",
         true,
         nullptr,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        ZeroFillScratchTags();
        SetFieldStr(kName, "BHP shares");
        SetFieldStr(kEventDate, c.date);
        SetFieldStr(kAssetType, c.type);
        for (int tag : c.checked)
            if (tag) SetFieldChecked(tag);
        const std::optional<Refusal> refusal = CheckRollOver(ReadOpenEvent(), c.scrip);
        if (!c.message) {
            EXPECT_FALSE(refusal) << refusal->message;
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(TagOf(refusal->field), c.tag);
    }
    ZeroFillScratchTags();
    SetFieldStr(kEventDate, "01/07/2003");
    EXPECT_FALSE(CheckRollOver(ReadOpenEvent(), true)) << "no registered asset";
}

TEST_F(RollOverTest, NextGoesToThePaymentsOnlyForShareAndTrustEventsWithPayments) {
    for (int worksheet : {wkShares, wkTrustInterests, wkRealEstate, wkPersonalUse, wkOtherAssets,
                          wkDepreciating, wkCeasingResidency})
        EXPECT_EQ(RollOverNextRoute(ReadOpenEvent(worksheet)), kRouteGainCalculation) << worksheet;
    SetFieldLst(kPayments, std::make_shared<StringList>());
    EXPECT_EQ(RollOverNextRoute(ReadOpenEvent(wkShares)), kRouteGainCalculation) << "an empty list";
    SetFieldLst(kPayments, std::make_shared<StringList>(StringList{"Return of capital"}));
    EXPECT_EQ(RollOverNextRoute(ReadOpenEvent(wkShares)), kRouteNonAssessablePayments);
    EXPECT_EQ(RollOverNextRoute(ReadOpenEvent(wkTrustInterests)), kRouteNonAssessablePayments);
    EXPECT_EQ(RollOverNextRoute(ReadOpenEvent(wkRealEstate)), kRouteGainCalculation);
}

} // namespace
} // namespace cgt::test
