// The fill step: field records become texts from the store, by display type, in loops and
// footers, page by page.

#include <gtest/gtest.h>

#include "known_return.h"
#include "report/core/fill.h"
#include "tools/script_asm.h"

namespace cgt::test {
namespace {

using namespace report;

Record Field(int tag, int type, int column = 0, int size = 0) {
    Record r = MakeRecord(rkField);
    r.setI16(fld::kTag, tag);
    r.setU8(fld::kType, type);
    r.setI16(fld::kColumn, column);
    r.setU8(fld::kSize, size);
    return r;
}

class FillTest : public ::testing::Test {
protected:
    void SetUp() override { FillKnownReturn(); }
    void TearDown() override { ResetModuleRun(); }
};

TEST_F(FillTest, TextsByDisplayType) {
    using namespace tag::event;
    struct Case {
        const char* name;
        Record field;
        std::string text;
    };
    SetFieldVal(kOtherGain, 150);
    const Case cases[] = {
        {"an amount without its minus", Field(kCapitalLoss, 2), "150"},
        {"the loss marker of a negative amount", Field(kCapitalLoss, dispSign), "L"},
        {"the loss marker of a positive amount", Field(kOtherGain, dispSign), " "},
        {"the loss marker of a text", Field(kName, dispSign), " "},
        {"cents", Field(kEventIndexNumber, 1), "141.30"},
        {"a text", Field(kName, 0), kKnownAsset},
        {"a list's first line as display text", Field(kWorksheetGrid, 0), "15/03/1998"},
        {"a list column", Field(kAssetRegisterGrid, dispListColumn, 3, 11),
         "Cost base - indexed\r\nCost base - discount/non-indexed\r\nReduced cost "
         "base\r\nBrokerage 1\r\nCapital proceeds"},
        {"a list column cut short by the list's end",
         Field(kAdjustmentGrid, dispListColumn, 22, 23), "*\r\n*"},
        {"a whole list", Field(kAdjustedCostBaseDate, dispList), ""},
        {"a list column of a tag without a list", Field(kName, dispListColumn, 0, 11), ""},
        {"a display type of its own outside a loop", Field(kDiscountGain, dispRowAmount), "6950"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FieldText(c.field), c.text);
    }
    SetFieldLst(tag::kNotes, MakeList({"first", "", "third"}));
    EXPECT_EQ(FieldText(Field(tag::kNotes, dispList)), "first\r\n\r\nthird");
}

TEST_F(FillTest, RowFieldsInLoopsAndTotalsInFooters) {
    SetFieldLst(tag::kChoiceTable,
                MakeList({"a", " 10.5 ", "x", "b", "2.25", "y", "c", "not a number", "z"}));
    auto inRow = [](Record r, int row) {
        r.loopRow = row;
        r.loopTag = tag::kChoiceTable;
        return r;
    };
    const int t = tag::kChoiceTable;
    EXPECT_EQ(FieldText(inRow(Field(t, dispListColumn, 0, 3), 1)), "b");
    EXPECT_EQ(FieldText(inRow(Field(t, dispRowText, 1, 3), 0)), "10.5") << "cells are trimmed";
    EXPECT_EQ(FieldText(inRow(Field(t, dispRowAmount, 1, 3), 0)), "10") << "halves to even";
    EXPECT_EQ(FieldText(inRow(Field(t, dispRowCents, 1, 3), 1)), "2.25");
    EXPECT_EQ(FieldText(inRow(Field(t, dispRowAmount, 1, 3), 2)), "not a number");
    EXPECT_EQ(FieldText(inRow(Field(t, dispRowAmount, 1, 3), 7)), "") << "past the list";
    EXPECT_EQ(FieldText(inRow(Field(t, dispRowAmount, 1, 3), Record::kFooterRow)), "12")
        << "the total is truncated";
    EXPECT_EQ(FieldText(inRow(Field(t, dispRowCents, 1, 3), Record::kFooterRow)), "12.75");
    EXPECT_EQ(FieldText(inRow(Field(t, dispListColumn, 1, 3), Record::kFooterRow)), "");

    // A loop over worksheet rows reads each row's value of the field's tag.
    Record name = Field(tag::event::kName, dispRowText);
    name.loopTag = WorksheetTag(wkShares);
    name.loopRow = 0;
    EXPECT_EQ(FieldText(name), kKnownAsset);
    Record proceeds = Field(tag::event::kCapitalProceeds, dispRowAmount);
    proceeds.loopTag = WorksheetTag(wkRealEstate);
    proceeds.loopRow = 0;
    EXPECT_EQ(FieldText(proceeds), "250000");
    proceeds.loopRow = Record::kFooterRow;
    EXPECT_EQ(FieldText(proceeds), "250000");
    proceeds.loopRow = 3;
    EXPECT_EQ(FieldText(proceeds), "");
}

// Filling turns the page's fields into texts in place and stops at the page's end.
TEST_F(FillTest, FillPageStopsAtThePageEnd) {
    PageList pages;
    pages.Load(AssembleScript(R"(
section condition=0 placement=absolute height=2750
    frame 365 120 1000 170
    field tag=event.Name size=40 box=1 slot=8
    edit tag=event.AssetType size=2
section condition=0 placement=absolute height=2750
    field tag=event.AssetType size=2
)"),
               1, 2);
    ASSERT_EQ(pages.PageCount(), 2);
    FillPage(pages.pages()[0]);
    const Record& filled = pages.pages()[0].records[1];
    EXPECT_EQ(filled.kind(), rkText);
    EXPECT_EQ(filled.text, kKnownAsset);
    EXPECT_EQ(filled.i16(txt::kJump), 0) << "no field bytes are left to read as a jump";
    EXPECT_EQ(pages.pages()[0].records[2].kind(), rkEditField) << "editable fields stay";
    EXPECT_EQ(pages.pages()[1].records[0].kind(), rkField);
    FillForm(pages);
    EXPECT_EQ(pages.pages()[1].records[0].text, "SN");
}

} // namespace
} // namespace cgt::test
