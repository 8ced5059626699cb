// The table of event kinds: one row per asset worksheet, and the facts that must agree within a
// row.

#include "cgt/rules/event_kinds.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace cgt {
namespace {

TEST(EventKinds, EveryAssetWorksheetHasOneRowInNumberOrder) {
    const auto kinds = EventKinds();
    ASSERT_EQ(kinds.size(), static_cast<std::size_t>(wkReceipts - wkShares + 1));
    int expected = wkShares;
    for (const EventKind& kind : kinds) {
        EXPECT_EQ(kind.worksheet, expected);
        EXPECT_EQ(FindEventKind(expected), &kind);
        ++expected;
    }
    EXPECT_EQ(FindEventKind(wkSchedule), nullptr);
    EXPECT_EQ(FindEventKind(0), nullptr);
}

TEST(EventKinds, RowsAgreeWithThemselves) {
    for (const EventKind& kind : EventKinds()) {
        SCOPED_TRACE(kind.worksheet);
        EXPECT_FALSE(kind.section.empty());
        ASSERT_NE(kind.costElements, nullptr);
        EXPECT_FALSE(kind.costElements->empty());
        // Payments adjust the cost base that the gain worksheet starts from.
        if (kind.payments) EXPECT_TRUE(kind.gain);
        // A scrip for scrip roll-over exchanges shares or trust interests.
        if (kind.scripForScrip) EXPECT_TRUE(kind.payments);
        for (const EventWording& wording : kind.wordings)
            EXPECT_NE(std::find(kind.eventCodes.begin(), kind.eventCodes.end(), wording.code),
                      kind.eventCodes.end())
                << wording.code;
        if (kind.registration) {
            const RegistrationKind& r = *kind.registration;
            EXPECT_LT(r.defaultType, static_cast<int>(r.types.size()));
            EXPECT_EQ(FindRegistrationKind(kind.worksheet), &r);
        }
    }
}

TEST(EventKinds, DerivedListsFollowTheTable) {
    for (int worksheet : GainWorksheetKinds()) {
        const EventKind* kind = FindEventKind(worksheet);
        ASSERT_NE(kind, nullptr);
        EXPECT_EQ(GainVariantOf(worksheet), *kind->gain);
    }
    EXPECT_EQ(GainVariantOf(wkDepreciating), GainVariant::Depreciating);
    EXPECT_EQ(PaymentKindOf(wkTrustInterests), PaymentKind::TrustInterests);
    EXPECT_EQ(PaymentKindOf(wkShares), PaymentKind::Shares);
    EXPECT_EQ(&CostElementPicklist(wkRealEstate), FindEventKind(wkRealEstate)->costElements);
    EXPECT_FALSE(CostElementPicklist(0).empty());
}

} // namespace
} // namespace cgt
