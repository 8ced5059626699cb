// The cost base already known, without a window: when the indexed cost base opens, the
// deceased-estate answer's type and default, and the entry checks in their order.

#include <gtest/gtest.h>

#include "cgt/records/event_records.h"

#include <optional>
#include <string>

#include "cgt/rules/cost_base.h"
#include "cgt/rules/event_messages.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "support/store_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

class CostBaseTest : public StoreTest {};

TEST_F(CostBaseTest, IndexedCostBaseOpensForAssetsAcquiredBeforeIndexationEnded) {
    const struct Case {
        const char* acquired;
        bool allowed; // tag 728
        const char* rolledOver;
        bool beforeCutOff; // tag 733
        bool open;
    } cases[] = {
        {"20/09/1999", false, "", false, true},
        {"22/09/1999", false, "", false, false},
        {"21/09/1999", false, "", false, false},
        {"22/09/1999", true, "", false, true},
        {"", true, "", false, false},
        {"01/07/2003", false, "20/09/1999", false, true},
        {"01/07/2003", false, "21/09/1999", false, false},
        {"01/07/2003", false, "21/09/1999", true, true},
        {"01/07/2003", false, "22/09/1999", true, false}, // the answer belongs to 21/09/1999
        {"31/02/1990", false, "", false, false},          // not a date
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.acquired) + " " + c.rolledOver);
        ZeroFillScratchTags();
        SetFieldStr(kAcquisitionDate, c.acquired);
        if (c.allowed) SetFieldChecked(kIndexedCostBaseAllowed);
        SetFieldStr(kRolledOverAcquisitionDate, c.rolledOver);
        if (c.beforeCutOff) SetFieldChecked(kAcquiredBeforeCutOff);
        EXPECT_EQ(IndexedCostBaseOpenOnShow(ReadOpenEvent()), c.open);
    }
    SetFieldStr(kRolledOverAcquisitionDate, "20/09/1999");
    EXPECT_TRUE(IndexedCostBaseOpenAfterRollOverDate(ReadOpenEvent()));
    SetFieldStr(kRolledOverAcquisitionDate, "21/09/1999");
    EXPECT_FALSE(IndexedCostBaseOpenAfterRollOverDate(ReadOpenEvent()));
    EXPECT_EQ(RollOverDateKind(ReadOpenEvent()), RollOverDate::IndexationEnd);
    SetFieldStr(kRolledOverAcquisitionDate, "01/01/1990");
    EXPECT_EQ(RollOverDateKind(ReadOpenEvent()), RollOverDate::Other);
    SetFieldStr(kRolledOverAcquisitionDate, "  /  /    ");
    EXPECT_EQ(RollOverDateKind(ReadOpenEvent()), RollOverDate::None);
}

TEST_F(CostBaseTest, DeceasedEstateAnswerIsANumberAndDefaultsToNo) {
    NormaliseDeceasedEstate();
    EXPECT_EQ(GetFieldType(kDeceasedEstate), dtNumeric);
    EXPECT_EQ(ReadOpenEvent().deceasedEstate, kDeceasedEstateNo);

    // A text is cleared and the answer defaults again.
    ClearField(kDeceasedEstate);
    SetFieldType(kDeceasedEstate, dtNone);
    SetFieldStr(kDeceasedEstate, "1");
    NormaliseDeceasedEstate();
    EXPECT_EQ(GetFieldType(kDeceasedEstate), dtNumeric);
    EXPECT_EQ(ReadOpenEvent().deceasedEstate, kDeceasedEstateNo);

    // A number of another subtype keeps its answer.
    ClearField(kDeceasedEstate);
    SetFieldType(kDeceasedEstate, dtNone);
    SetFieldVal(kDeceasedEstate, 1);
    ASSERT_EQ(GetFieldType(kDeceasedEstate), dtCurrency);
    NormaliseDeceasedEstate();
    EXPECT_EQ(GetFieldType(kDeceasedEstate), dtNumeric);
    EXPECT_EQ(ReadOpenEvent().deceasedEstate, kDeceasedEstateYes);

    StoreDeceasedEstateAnswer(false);
    EXPECT_EQ(ReadOpenEvent().deceasedEstate, kDeceasedEstateNo);
    EXPECT_EQ(GetFieldType(kDeceasedEstate), dtNumeric);
}

// Amounts: "" nothing entered, "0" entered as nil, else dollars.
Extended Amount(const char* text) {
    if (!*text) return 0;
    const Extended value = std::stold(text);
    return value == 0 ? ExplicitZero : value;
}

TEST_F(CostBaseTest, ChecksRefuseInOrderWithTheFieldToFocus) {
    const struct Case {
        const char* note;
        const char* rolledOver;
        const char* indexed;
        const char* nonIndexed;
        const char* reduced;
        const char* costBaseDate;
        const char* acquired;
        const char* type;
        bool after, before; // the 11.45am answer (732, 733)
        bool deceased;      // a deceased-estate box is checked
        const char* message;
        int tag;
    } cases[] = {
        {"nothing entered", "", "", "", "", "", "", "SN", false, false, false, nullptr, 0},
        {"roll-over without cost base", "01/01/1990", "", "", "", "", "", "SN", false, false, true,
         msg::kNoRollOverCostBase, kSectionTwoIndexed},
        {"discount cost base entered as 0", "", "5000", "0", "", "01/07/2000", "", "SN", false,
         false, false, msg::kZeroNonIndexedCostBase, kSectionTwoNonIndexed},
        {"indexed cost base entered as 0", "", "0", "5000", "", "01/07/2000", "", "SN", false,
         false, false, msg::kZeroIndexedCostBase, kSectionTwoIndexed},
        {"both entered as 0", "", "0", "0", "", "01/07/2000", "", "SN", false, false, false,
         nullptr, 0},
        {"21/09/1999 without the time", "21/09/1999", "", "5000", "4000", "01/07/2000", "", "SN",
         false, false, true, msg::kNoAcquisitionTimeAnswer, kAcquiredAfterCutOff},
        {"21/09/1999 after 11.45am with an indexed cost base", "21/09/1999", "5000", "5000", "4000",
         "01/07/2000", "", "SN", true, false, true, msg::kIndexedCostBaseAfterCutOff,
         kSectionTwoIndexed},
        {"21/09/1999 before 11.45am", "21/09/1999", "5000", "5000", "4000", "01/07/2000", "", "SN",
         false, true, true, nullptr, 0},
        {"no deceased-estate answer", "01/01/1990", "", "5000", "4000", "01/07/2000", "", "SN",
         false, false, false, msg::kNoDeceasedEstateAnswer, kDeceasedEstate},
        {"rolled over before CGT", "19/09/1985", "", "5000", "4000", "01/07/2000", "", "SN", false,
         false, true, msg::kEventBeforeCgt, kRolledOverAcquisitionDate},
        {"rolled over on the first day of CGT", "20/09/1985", "", "5000", "4000", "01/07/2000", "",
         "SN", false, false, true, nullptr, 0},
        {"no reduced cost base", "01/01/1990", "", "5000", "", "01/07/2000", "", "SN", false, false,
         true, msg::kNoRollOverReducedCostBase, kSectionTwoReduced},
        {"a personal use asset needs none", "01/01/1990", "", "5000", "", "01/07/2000", "", "P",
         false, false, true, nullptr, 0},
        {"reduced cost base entered as 0", "01/01/1990", "", "5000", "0", "01/07/2000", "", "SN",
         false, false, true, nullptr, 0},
        {"rolled over after this asset was acquired", "01/01/1995", "", "5000", "4000",
         "01/07/2000", "01/01/1990", "SN", false, false, true, msg::kRolledOverAfterAcquisition,
         kRolledOverAcquisitionDate},
        {"indexed after indexation ended", "22/09/1999", "5000", "5000", "4000", "01/07/2000", "",
         "SN", false, false, true, msg::kIndexedCostBaseAfterCutOff, kSectionTwoIndexed},
        {"amount without its date", "", "", "5000", "", "", "", "SN", false, false, false,
         msg::kNoCostBaseDate, kCostBaseDate},
        {"cost base dated before acquisition", "", "", "5000", "", "01/07/2000", "02/07/2000", "SN",
         false, false, false, msg::kCostBaseBeforeAcquisition, kCostBaseDate},
        {"cost base dated on acquisition", "", "", "5000", "", "02/07/2000", "02/07/2000", "SN",
         false, false, false, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        ZeroFillScratchTags();
        SetFieldStr(kName, "BHP shares");
        SetFieldStr(kAssetType, c.type);
        SetFieldStr(kRolledOverAcquisitionDate, c.rolledOver);
        SetFieldVal(kSectionTwoIndexed, Amount(c.indexed));
        SetFieldVal(kSectionTwoNonIndexed, Amount(c.nonIndexed));
        SetFieldVal(kSectionTwoReduced, Amount(c.reduced));
        SetFieldStr(kCostBaseDate, c.costBaseDate);
        SetFieldStr(kAcquisitionDate, c.acquired);
        if (c.after) SetFieldChecked(kAcquiredAfterCutOff);
        if (c.before) SetFieldChecked(kAcquiredBeforeCutOff);
        const std::optional<Refusal> refusal = CheckCostBase(ReadOpenEvent(), c.deceased);
        if (!c.message) {
            EXPECT_FALSE(refusal) << refusal->message;
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(TagOf(refusal->field), c.tag);
    }
}

TEST_F(CostBaseTest, NothingIsCheckedWithoutARegisteredAsset) {
    SetFieldStr(kRolledOverAcquisitionDate, "01/01/1990");
    EXPECT_FALSE(CheckCostBase(ReadOpenEvent(), false));
    SetFieldStr(kName, "  ");
    EXPECT_FALSE(CheckCostBase(ReadOpenEvent(), false));
    SetFieldStr(kName, "Units");
    EXPECT_TRUE(CheckCostBase(ReadOpenEvent(), false));
}

} // namespace
} // namespace cgt::test
