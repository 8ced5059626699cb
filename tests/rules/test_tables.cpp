// The trust distribution table and the manual calculation table without a window: the net
// cell, the section and deferral cells, the cell-leaving rules and the checks on leaving.

#include <gtest/gtest.h>

#include "cgt/rules/manual_table.h"
#include "cgt/rules/trust_table.h"

namespace cgt::test {
namespace {

CellTable Trusts() {
    CellTable t;
    t.SetColCount(kTrustCells);
    t.SetDisplay(TrustTableDisplay());
    t.SetRowCount(4);
    return t;
}

CellTable Manual() {
    CellTable t;
    t.SetColCount(kManualCells);
    t.SetDisplay(ManualTableDisplay());
    t.SetRowCount(4);
    return t;
}

TEST(TrustTable, TheNetCellSumsTheComponentsOfANamedRow) {
    CellTable t = Trusts();
    t.SetCell(kTrustNameCell, 1, "Alpha Fund"); // a name alone: 0
    t.SetCell(kTrustNameCell, 2, "Beta Trust");
    t.SetCell(1, 2, "100");
    t.SetCell(5, 2, "250");
    t.SetCell(9, 2, "x");  // not a number: counts nothing
    t.SetCell(3, 3, "40"); // no name, a sum above 0
    UpdateTrustNetCells(t);
    EXPECT_EQ(t.Cell(kTrustNetCell, 1), "0");
    EXPECT_EQ(t.Cell(kTrustNetCell, 2), "350");
    EXPECT_EQ(t.Cell(kTrustNetCell, 3), "40");
    EXPECT_EQ(t.Cell(kTrustNetCell, 4), ""); // an empty row shows nothing
    EXPECT_EQ(t.Column(kTrustNetCell).skipped, true) << "worked out, never typed";
}

TEST(TrustTable, ARowWithoutANameIsRefusedOnlyWhenItHoldsSomething) {
    CellTable t = Trusts();
    t.SetCell(kTrustNameCell, 1, "Alpha Fund");
    t.SetCell(1, 1, "100");
    EXPECT_FALSE(CheckTrustTable(t));
    t.SetCell(20, 3, "5"); // a loss the choice table applied, on a row whose name was removed
    const auto refusal = CheckTrustTable(t);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, "Each row of data must have an asset description present.");
    EXPECT_EQ(refusal->row, 3);
    EXPECT_EQ(refusal->col, kTrustNameCell);
}

TEST(ManualTable, TheSectionFollowsTheTypeAndDeferAutoTheDeferral) {
    const struct {
        const char* type;
        const char* section;
    } sections[] = {{"UA", "Fixed trust"},   {"SN", "Shares"},
                    {"RA", "Real estate"},   {"G ", "Intellectual"},
                    {"P ", "Personal use"},  {"ON", "Other assets"},
                    {"ZZ", "Not Allocated"}, {"", ""}};
    for (const auto& c : sections)
        EXPECT_EQ(SectionOfType(c.type), c.section) << c.type;

    CellTable t = Manual();
    t.SetCell(mcType, 1, "SA");
    UpdateManualRow(t, 1);
    EXPECT_EQ(t.Cell(mcSection, 1), "") << "no description: no section";
    t.SetCell(mcDescription, 1, "BHP");
    t.SetCell(mcCanDefer, 1, "Yes");
    UpdateManualRow(t, 1);
    EXPECT_EQ(t.Cell(mcSection, 1), "Shares");
    EXPECT_EQ(t.Cell(mcDeferAuto, 1), "No");
    t.SetCell(mcCanDefer, 1, "No");
    UpdateManualRow(t, 1);
    EXPECT_EQ(t.Cell(mcDeferAuto, 1), "");
}

TEST(ManualTable, LeavingACellAppliesItsRules) {
    struct Case {
        int col;
        const char *type, *indexed, *discount, *loss, *canDefer, *deferAuto;
        const char* message; // nullptr: no message
        int target;          // the cursor's column
        const char *indexedAfter, *lossAfter, *deferAutoAfter;
    };
    const Case cases[] = {
        {4, "SN", "500", "400", "", "", "",
         "Discount Amount must be greater than or equal to Indexed Amount.", mcIndexed, "", "", ""},
        {3, "SN", "500", "400", "", "", "", nullptr, 0, "500", "", ""}, // not after column 3
        {4, "SN", "400", "500", "", "", "", nullptr, 0, "400", "", ""},
        {8, "P ", "", "", "30", "", "", "You cannot have a loss if asset type is \"P\".", 8, "", "",
         ""},
        {6, "P ", "", "", "30", "", "", nullptr, 0, "", "30", ""},
        {10, "SN", "", "", "", "No", "Yes",
         "\"Defer auto?\" must be blank unless \"Can gain be defered\" is \"Yes\"", 10, "", "", ""},
        {10, "SN", "", "", "", "Yes", "Yes", nullptr, 0, "", "", "Yes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.col << " " << c.type << " " << c.indexed << "/"
                                          << c.discount << " " << c.loss);
        CellTable t = Manual();
        t.SetCell(mcDescription, 1, "Event");
        t.SetCell(mcType, 1, c.type);
        t.SetCell(mcIndexed, 1, c.indexed);
        t.SetCell(mcDiscount, 1, c.discount);
        t.SetCell(mcLoss, 1, c.loss);
        t.SetCell(mcCanDefer, 1, c.canDefer);
        t.SetCell(mcDeferAuto, 1, c.deferAuto);
        const auto refusal = LeaveManualCell(t, c.col, 1);
        if (!c.message) {
            EXPECT_FALSE(refusal);
        } else {
            ASSERT_TRUE(refusal);
            EXPECT_EQ(refusal->message, c.message);
            EXPECT_EQ(refusal->col, c.target);
        }
        EXPECT_EQ(t.Cell(mcIndexed, 1), c.indexedAfter);
        EXPECT_EQ(t.Cell(mcLoss, 1), c.lossAfter);
        EXPECT_EQ(t.Cell(mcDeferAuto, 1), c.deferAutoAfter);
    }
}

TEST(ManualTable, LeavingTheScreenChecksEveryRowInOrder) {
    struct Case {
        const char *desc, *type, *indexed, *discount, *other, *loss;
        const char* message;
        int col;
    };
    const Case cases[] = {
        {"", "SN", "", "", "", "", "Each row of data must have an asset description present.",
         mcDescription},
        {"BHP", "", "", "", "100", "", "You must select the asset type for each CGT Asset/Event.",
         mcType},
        {"BHP", "SN", "500", "400", "", "",
         "Discount amount must be greater than or equal to indexed amount. Please correct.",
         mcDescription},
        // An entered 0 counts as present.
        {"BHP", "SN", "0", "", "100", "",
         "Check gains entered. Other gain cannot be present if a Discount or Indexed gain has "
         "been entered.",
         mcOther},
        {"BHP", "SN", "", "", "100", "20",
         "Check loss entered. Loss cannot be present if a Discount, Indexed or Other gain has "
         "been entered.",
         mcLoss},
        {"Boat", "P ", "", "", "", "20",
         "A loss cannot be recorded against an asset of type \"P\". Please correct.",
         mcDescription},
        {"BHP", "SN", "400", "500", "", "", nullptr, 0},
        {"BHP", "SN", "", "", "", "20", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.desc << "|" << c.type << "|" << c.indexed << "|"
                                          << c.discount << "|" << c.other << "|" << c.loss);
        CellTable t = Manual();
        t.SetCell(mcSection, 1, "Shares"); // nothing but a section: emptied silently
        t.SetCell(mcDescription, 2, c.desc);
        t.SetCell(mcType, 2, c.type);
        t.SetCell(mcIndexed, 2, c.indexed);
        t.SetCell(mcDiscount, 2, c.discount);
        t.SetCell(mcOther, 2, c.other);
        t.SetCell(mcLoss, 2, c.loss);
        const auto refusal = CheckManualTable(t);
        EXPECT_EQ(t.Cell(mcSection, 1), "");
        if (!c.message) {
            EXPECT_FALSE(refusal) << refusal->message;
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(refusal->row, 2);
        EXPECT_EQ(refusal->col, c.col);
    }
}

} // namespace
} // namespace cgt::test
