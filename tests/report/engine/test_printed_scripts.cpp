// The module's scripts filled from a known return and laid out with the real fonts at ten
// pixels a millimetre, so that a script unit is a pixel: where the texts and amounts land, the
// page counts, and grids long enough to break onto further pages.

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <string>
#include <vector>

#include "known_return.h"
#include "report/core/fill.h"
#include "report/engine/pdf_output.h"
#include "report/engine/xreport.h"

namespace cgt::test {
namespace {

using namespace report;

using Pages = std::vector<std::vector<DrawOp>>;

Pages LayOut(std::string_view script) {
    TXReport report;
    PrepareForPrinting(report);
    report.LoadScript(script, 1, kAllSections);
    FillForm(report.Pages());
    QImage device(10, 10, QImage::Format_RGB32);
    device.setDotsPerMeterX(10000);
    device.setDotsPerMeterY(10000);
    Pages pages;
    for (int n = 1; n <= report.PageCount(); ++n)
        pages.push_back(report.LayOutPage(n, device, 1.0, true));
    return pages;
}

std::vector<const DrawOp*> TextsOf(const std::vector<DrawOp>& page) {
    std::vector<const DrawOp*> texts;
    for (const DrawOp& op : page)
        if (op.kind == DrawOp::Kind::Text) texts.push_back(&op);
    return texts;
}

// The first text op of the page equal to `text`, or nullptr.
const DrawOp* Find(const std::vector<DrawOp>& page, const std::string& text, int nth = 0) {
    for (const DrawOp* op : TextsOf(page))
        if (op->text == text && nth-- == 0) return op;
    return nullptr;
}

int Centre(const Rect& b) {
    return (b.top + b.bottom) / 2;
}

// The texts come in this order on the page (others may stand between them).
void ExpectInOrder(const std::vector<DrawOp>& page, const std::vector<std::string>& texts) {
    std::size_t next = 0;
    for (const DrawOp* op : TextsOf(page))
        if (next < texts.size() && op->text == texts[next]) ++next;
    EXPECT_EQ(next, texts.size()) << "missing or out of order: "
                                  << (next < texts.size() ? texts[next] : "");
}

class PrintedScripts : public ::testing::Test {
protected:
    void SetUp() override { FillKnownReturn(); }
    void TearDown() override { ResetModuleRun(); }
};

// Every text of every script stands on the 1850 x 2750 page, and no two texts overlap.
TEST_F(PrintedScripts, TextsStayOnThePageAndApart) {
    for (const char* name :
         {"CGTWSHT", "CGTASSET", "CGTNASS", "CGTCHOICE", "CGTCHOICEOLD", "CGTDISEV", "SCHEDCGT"}) {
        SCOPED_TRACE(name);
        if (std::string(name) == "SCHEDCGT") FetchRow(wkSchedule, 1);
        const Pages pages = LayOut(name);
        ASSERT_FALSE(pages.empty());
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const auto texts = TextsOf(pages[p]);
            for (const DrawOp* a : texts) {
                EXPECT_GE(a->box.left, 0) << a->text;
                EXPECT_LE(a->box.right, 1850) << a->text;
                EXPECT_GE(a->box.top, 0) << a->text;
                EXPECT_LE(a->box.bottom, 2750) << a->text;
                for (const DrawOp* b : texts) {
                    if (a >= b) continue;
                    const bool apart = a->box.right <= b->box.left || b->box.right <= a->box.left ||
                                       a->box.bottom <= b->box.top || b->box.bottom <= a->box.top;
                    EXPECT_TRUE(apart)
                        << "page " << p + 1 << ": \"" << a->text << "\" and \"" << b->text << "\"";
                }
            }
        }
        FillKnownReturn();
    }
}

TEST_F(PrintedScripts, WorksheetShowsItsTextsAndAmountsInPlace) {
    const Pages pages = LayOut("CGTWSHT");
    ASSERT_EQ(pages.size(), 1u);
    const auto& page = pages[0];
    ExpectInOrder(page, {"Capital gains tax worksheet",
                         "Name:",
                         kKnownTaxpayer,
                         "Mary",
                         "Date:",
                         "Description of asset:",
                         kKnownAsset,
                         "Type of asset:",
                         "SN",
                         "Date",
                         "incurred",
                         "Description of expenditure",
                         "Amount",
                         "Exclude",
                         "Net",
                         "Net Amount",
                         "CPI",
                         "Index",
                         "Cost",
                         "Exclude",
                         "Reduce Cost",
                         "Cost base - indexed",
                         "Brokerage 1",
                         "Sub-total",
                         "Cost base",
                         "Indexed",
                         "Reduce",
                         "Balancing adjustment",
                         "Cost base",
                         "Non-assessable distribution adjustment",
                         "Adjusted cost base/reduced cost base",
                         "Date of CGT Event",
                         "CPI for quarter",
                         "Capital proceeds",
                         "If you only disposed of part of the asset the % disposed of",
                         "If this is a principal residence, days not exempt/ total days",
                         "Indexed gain",
                         "Discount gain",
                         "Other gain",
                         "Loss",
                         "Capital gains transferred from non-assessable payments worksheet",
                         "Gain for this year",
                         "Gain for prior years"});

    const DrawOp* label = Find(page, "Description of asset:");
    const DrawOp* asset = Find(page, kKnownAsset);
    ASSERT_TRUE(label && asset);
    EXPECT_GT(asset->box.left, label->box.right);
    EXPECT_NEAR(Centre(asset->box), Centre(label->box), 6) << "on the label's line";

    // The gains stand right-aligned under their method's heading, on the "Capital gain" row.
    const DrawOp* gainRow = Find(page, "Capital gain");
    ASSERT_TRUE(gainRow);
    for (const auto& [heading, amount] :
         {std::pair{"Indexed gain", "1415"}, std::pair{"Discount gain", "6950"}}) {
        SCOPED_TRACE(heading);
        const DrawOp* h = Find(page, heading);
        const DrawOp* a = Find(page, amount);
        ASSERT_TRUE(h && a);
        EXPECT_NEAR(a->box.right, h->box.right, 2);
        EXPECT_GT(a->box.top, h->box.bottom);
        EXPECT_NEAR(Centre(a->box), Centre(gainRow->box), 6);
    }
    const DrawOp* loss = Find(page, "150");
    const DrawOp* lossRow = Find(page, "Capital loss");
    ASSERT_TRUE(loss && lossRow);
    EXPECT_NEAR(Centre(loss->box), Centre(lossRow->box), 6) << "the loss prints without its sign";

    // A grid cell right-aligned in its column: the cost base amounts under "Amount".
    const DrawOp* amountTitle = Find(page, "$");
    const DrawOp* cell = Find(page, "5000.00");
    ASSERT_TRUE(amountTitle && cell);
    EXPECT_EQ(cell->box.right, amountTitle->box.right);
    EXPECT_EQ(Find(page, "Later in the interview you will be required to choose between the "
                         "indexed and discount gain.")
                  ->font.style,
              fsItalic);
}

// A long grid continues on further pages under its column titles and the table furniture;
// the cost bases and gains follow the last row.
TEST_F(PrintedScripts, LongWorksheetGridBreaksOntoFurtherPages) {
    FillKnownReturn(120);
    const Pages pages = LayOut("CGTWSHT");
    ASSERT_GE(pages.size(), 3u);
    int next = 1;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p + 1);
        const bool lastGridPage = Find(pages[p], "Sub-total") != nullptr;
        EXPECT_NE(Find(pages[p], "Description of expenditure"), nullptr);
        if (p > 0) {
            EXPECT_NE(Find(pages[p], "Taxpayer Name"), nullptr);
        }
        int previousTop = 0;
        for (const DrawOp* op : TextsOf(pages[p]))
            if (op->text == "Brokerage " + std::to_string(next)) {
                EXPECT_GT(op->box.top, previousTop) << op->text;
                previousTop = op->box.top;
                ++next;
            }
        EXPECT_EQ(Find(pages[p], "Capital gain") != nullptr, p + 1 == pages.size());
        if (lastGridPage) {
            EXPECT_GE(p + 2, pages.size());
        }
    }
    EXPECT_EQ(next, 121) << "every cost element once, in order";
}

TEST_F(PrintedScripts, AssetRegisterWithCertification) {
    const Pages pages = LayOut("CGTASSET");
    ASSERT_EQ(pages.size(), 1u);
    const auto& page = pages[0];
    ExpectInOrder(page, {"CGT Asset Register",
                         "Asset:",
                         kKnownAsset,
                         "Name of taxpayer:",
                         kKnownTaxpayer,
                         "Base date:",
                         "15/03/1998",
                         "Relevant",
                         "Date",
                         "Description",
                         "Cost",
                         "Amount",
                         "Cost base",
                         "Reduced cost base",
                         "Gain",
                         "Cost base - indexed",
                         "Capital proceeds",
                         "Certification",
                         "Name:",
                         "Signature:",
                         "Date:",
                         "Do NOT lodge this print out with your tax return"});
    EXPECT_EQ(Find(page, "Certification")->font.style, fsBold);
    EXPECT_EQ(Find(page, "Income Tax Assessment Act 1997")->font.style, fsItalic);
    const DrawOp* amount = Find(page, "12000.00");
    const DrawOp* title = Find(page, "Amount");
    ASSERT_TRUE(amount && title);
    EXPECT_EQ(amount->box.right, title->box.right);
}

TEST_F(PrintedScripts, NonAssessablePaymentsWorksheet) {
    const Pages pages = LayOut("CGTNASS");
    ASSERT_EQ(pages.size(), 1u);
    ExpectInOrder(pages[0], {"Capital gains tax worksheet",
                             "Name:",
                             kKnownTaxpayer,
                             "Date:",
                             "Description of asset:",
                             kKnownAsset,
                             "Type of asset:",
                             "Date",
                             "Description of",
                             "Amount",
                             "Excl",
                             "Cost",
                             "Cost",
                             "Event",
                             "Index",
                             "Cost",
                             "Excl",
                             "Reduce",
                             "Cap.",
                             "Cost",
                             "Red Cost",
                             "Event",
                             "Event Ind",
                             "Event Red",
                             "Capital receipt",
                             "Cost base effective date",
                             "01/07/2001",
                             "Non-indexed cost base",
                             "4200",
                             "Indexed cost base",
                             "9680",
                             "Reduced cost base",
                             "Capital gains transferred from non-assessable payments worksheet",
                             "Gain for this year",
                             "Gain for prior years"});
}

TEST_F(PrintedScripts, ScheduleOnFourPages) {
    FetchRow(wkSchedule, 1);
    const Pages pages = LayOut("SCHEDCGT");
    ASSERT_EQ(pages.size(), 4u);
    const std::vector<std::vector<std::string>> parts = {
        {"A", "B"}, {"D", "E", "F"}, {"G", "H"}, {"I", "J", "K"}};
    for (std::size_t p = 0; p < 4; ++p) {
        SCOPED_TRACE(p + 1);
        std::vector<std::string> found;
        for (const DrawOp* op : TextsOf(pages[p]))
            if (op->text.rfind("Part ", 0) == 0) found.push_back(op->text.substr(5));
        EXPECT_EQ(found, parts[p]);
        EXPECT_NE(Find(pages[p], kKnownTaxpayer), nullptr);
        EXPECT_NE(Find(pages[p], "Page " + std::to_string(p + 1) + " of 4"), nullptr);
    }
    const DrawOp* net = Find(pages[2], "Net capital gains");
    const DrawOp* total = Find(pages[2], "21415");
    const DrawOp* heading = Find(pages[2], "Total");
    ASSERT_TRUE(net && total && heading);
    EXPECT_NEAR(Centre(total->box), Centre(net->box), 6);
    EXPECT_NEAR(total->box.right, heading->box.right, 4);
    EXPECT_NE(Find(pages[0], "40000"), nullptr);
    EXPECT_NE(Find(pages[3], "K"), nullptr) << "the asset code of Part J";
}

TEST_F(PrintedScripts, ChoiceTableAndEventLists) {
    SetFieldLst(
        tag::kChoiceTable,
        RepeatedRows({"Shares", "Parcel #", "SN", "100", "", "No",     "",    "",  "",  "No", "",
                      "",       "",         "",   "",    "", "100.50", "451", "#", "C", ""},
                     90));
    const Pages choice = LayOut("CGTCHOICE");
    ASSERT_GE(choice.size(), 2u);
    for (const auto& page : choice) {
        EXPECT_NE(Find(page, "Do NOT lodge this print out with your tax return"), nullptr)
            << "the page block on every page";
        EXPECT_NE(Find(page, "Asset Description"), nullptr);
    }
    const auto& last = choice.back();
    EXPECT_NE(Find(last, "Parcel 90"), nullptr);
    const DrawOp* totals = Find(last, "Totals");
    const DrawOp* sum = Find(last, "9000");
    const DrawOp* cents = Find(last, "9045.00");
    ASSERT_TRUE(totals && sum && cents);
    EXPECT_NEAR(Centre(sum->box), Centre(totals->box), 6);

    const Pages events = LayOut("CGTDISEV");
    ASSERT_EQ(events.size(), 1u);
    ExpectInOrder(events[0],
                  {"CGT events", "Shares", kKnownAsset, "20/08/2003", "12000", "1415", "6950",
                   "Total", "Real estate", "Seaside cottage", "250000", "40000", "Total"});
}

} // namespace
} // namespace cgt::test
