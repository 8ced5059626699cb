// The event screens' rules without a window: the registration's checks and default type, the
// checks of rights and receipts, and their stored gain, loss, disposal flag and type.

#include <gtest/gtest.h>

#include "cgt/records/event_records.h"

#include <optional>

#include "cgt/rules/event_checks.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/event_messages.h"
#include "cgt/rules/receipts.h"
#include "store/tags.h"
#include "support/store_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

struct Expect {
    const char* message; // nullptr: no refusal
    int tag;
};

void ExpectRefusal(const std::optional<Refusal>& got, const Expect& want) {
    if (!want.message) {
        EXPECT_FALSE(got.has_value()) << got->message;
        return;
    }
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->message, want.message);
    EXPECT_EQ(TagOf(got->field), want.tag);
}

class EventChecksTest : public StoreTest {};

TEST_F(EventChecksTest, RegistrationRefusesInOrderAndPassesAWholeOne) {
    const RegistrationKind* shares = FindRegistrationKind(wkShares);
    const RegistrationKind* otherTrusts = FindRegistrationKind(wkOtherTrusts); // no date asked
    const struct Case {
        const char* name;
        const char* type;
        const char* date;
        const RegistrationKind* kind;
        Expect refusal;
    } cases[] = {
        {"", "", "", shares, {nullptr, 0}},                   // nothing entered
        {"  ", "", "  /  /    ", shares, {nullptr, 0}},       // blanks and the date mask
        {"", "SN", "", shares, {msg::kNoDescription, kName}}, // a type alone
        {"", "", "01/01/1990", shares, {msg::kNoDescription, kName}},
        {"", "", "01/01/1990", otherTrusts, {nullptr, 0}}, // its date is not asked
        {"BHP", "SN", "19/09/1985", shares, {msg::kAcquiredBeforeCgt, kAcquisitionDate}},
        {"BHP", "", "01/01/1990", shares, {msg::kNoType, kAssetType}},
        {"BHP", "SN", "", shares, {msg::kNoAcquisitionDate, kAcquisitionDate}},
        {"BHP", "SN", "20/09/1985", shares, {nullptr, 0}},
        {"BHP", "SN", "31/02/1990", shares, {nullptr, 0}}, // the field checks the date itself
        {"Units", "ON", "", otherTrusts, {nullptr, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "|" + c.type + "|" + c.date);
        ZeroFillScratchTags();
        SetFieldStr(kName, c.name);
        SetFieldStr(kAssetType, c.type);
        SetFieldStr(kAcquisitionDate, c.date);
        ExpectRefusal(CheckRegistration(ReadOpenEvent(), c.kind), c.refusal);
    }
}

TEST_F(EventChecksTest, NextWithoutADescriptionRefusesOnlyWhenSomethingElseIsEntered) {
    const RegistrationKind* realEstate = FindRegistrationKind(wkRealEstate);
    EXPECT_EQ(RegistrationStateOf(ReadOpenEvent(), realEstate), RegistrationState::Empty);
    EXPECT_FALSE(CheckRegistrationNext(ReadOpenEvent(), realEstate));
    SetFieldStr(kAcquisitionDate, "15/03/1995");
    EXPECT_EQ(RegistrationStateOf(ReadOpenEvent(), realEstate), RegistrationState::Undescribed);
    ExpectRefusal(CheckRegistrationNext(ReadOpenEvent(), realEstate),
                  {msg::kNothingToRegister, kName});
    SetFieldStr(kName, "Beach house");
    EXPECT_EQ(RegistrationStateOf(ReadOpenEvent(), realEstate), RegistrationState::Described);
    EXPECT_FALSE(CheckRegistrationNext(ReadOpenEvent(), realEstate));
}

TEST_F(EventChecksTest, ADescribedEventWithoutATypeTakesItsWorksheetsDefault) {
    const struct {
        int worksheet;
        const char* code; // "" for none
    } cases[] = {{wkShares, "SN"},      {wkTrustInterests, "UN"}, {wkPersonalUse, ""},
                 {wkOtherAssets, "ON"}, {wkDepreciating, "ON"},   {wkCeasingResidency, "ON"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.worksheet);
        const RegistrationKind* kind = FindRegistrationKind(c.worksheet);
        EXPECT_EQ(DefaultTypeFor(kind, true, false), c.code);
        EXPECT_EQ(DefaultTypeFor(kind, false, false), "");
        EXPECT_EQ(DefaultTypeFor(kind, true, true), "");
        ZeroFillScratchTags();
        SetFieldStr(kName, "Asset");
        ApplyDefaultType(kind);
        EXPECT_EQ(GetFieldStr(kAssetType), c.code);
    }
    EXPECT_EQ(DefaultTypeFor(nullptr, true, false), "");
}

TEST_F(EventChecksTest, RightsAndReceiptsNeedADescriptionAnAmountAndTheirAnswers) {
    struct Case {
        const char* name;
        Extended proceeds, costs;
        int checked[2]; // boxes checked (0: none)
        const char* date;
        Expect rights;
        Expect receipt;
    };
    const Case cases[] = {
        {"", 0, 0, {0, 0}, "", {nullptr, 0}, {nullptr, 0}},
        {"", 0, 80, {0, 0}, "", {nullptr, 0}, {nullptr, 0}}, // a loss alone: nothing entered
        {"",
         100,
         0,
         {0, 0},
         "",
         {msg::kNoReceiptDescription, kName},
         {msg::kNoReceiptDescription, kName}},
        {"Lease",
         0,
         0,
         {0, 0},
         "",
         {msg::kNoAmount, kOtherProceeds},
         {msg::kNoAmount, kOtherProceeds}},
        {"Lease",
         ExplicitZero,
         ExplicitZero,
         {0, 0},
         "",
         {msg::kNoAmount, kOtherProceeds},
         {msg::kNoAmount, kOtherProceeds}},
        {"Lease", 100, 40, {0, 0}, "", {msg::kNoRollOverAnswer, kRollOverYes}, {nullptr, 0}},
        {"Lease",
         100,
         40,
         {kRollOverYes, 0},
         "",
         {msg::kNoYesNoAnswer, kMarriageBreakdownYes},
         {nullptr, 0}},
        {"Lease", 100, 40, {kRollOverYes, kMarriageBreakdownNo}, "", {nullptr, 0}, {nullptr, 0}},
        {"Lease", 40, 100, {kRollOverNo, 0}, "", {nullptr, 0}, {nullptr, 0}},
        {"Lease",
         100,
         0,
         {kRollOverNo, 0},
         "01/01/1980",
         {nullptr, 0},
         {msg::kEventBeforeCgt, kEventDate}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << " " << double(c.proceeds) << "/"
                                          << double(c.costs) << " " << c.date);
        ZeroFillScratchTags();
        SetFieldStr(kName, c.name);
        SetFieldVal(kOtherProceeds, c.proceeds);
        SetFieldVal(kOtherCostBase, c.costs);
        for (int box : c.checked)
            if (box) SetFieldChecked(box);
        SetFieldStr(kEventDate, c.date);
        ExpectRefusal(CheckRightsEvent(ReadOpenEvent()), c.rights);
        ExpectRefusal(CheckReceiptEvent(ReadOpenEvent()), c.receipt);
    }
}

TEST_F(EventChecksTest, ReceiptResultsAreStoredInTheRow) {
    SetFieldVal(kOtherProceeds, 500);
    SetFieldVal(kOtherCostBase, 120);
    StoreReceiptGainOrLoss();
    EXPECT_EQ(GetFieldVal(kOtherGain), 380);
    EXPECT_EQ(GetFieldVal(kCapitalLoss), 0);
    EXPECT_TRUE(StoreDisposalResult(ReceiptKind::Receipt));
    EXPECT_TRUE(FieldChecked(kDisposalResult));
    EXPECT_EQ(GetFieldStr(kAssetType), "ON");

    SetFieldVal(kOtherProceeds, ExplicitZero); // an entered 0 is no disposal
    SetFieldVal(kOtherCostBase, 40);
    StoreReceiptGainOrLoss();
    EXPECT_EQ(GetFieldVal(kOtherGain), 0);
    EXPECT_EQ(GetFieldVal(kCapitalLoss), 40);
    EXPECT_FALSE(StoreDisposalResult(ReceiptKind::Receipt));
    EXPECT_FALSE(FieldChecked(kDisposalResult));
    EXPECT_TRUE(FieldIsEmpty(kAssetType));

    // A right keeps the type its user chose.
    SetFieldStr(kAssetType, "OA");
    SetFieldVal(kOtherProceeds, 10);
    EXPECT_TRUE(StoreDisposalResult(ReceiptKind::Rights));
    EXPECT_EQ(GetFieldStr(kAssetType), "OA");
}

} // namespace
} // namespace cgt::test
