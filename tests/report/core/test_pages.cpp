// Loading scripts into pages: which sections print, page breaks, the furniture of table pages,
// header and page blocks, loops over list and worksheet rows, footers and the page limit.

#include <gtest/gtest.h>

#include <string>

#include "known_return.h"
#include "report/core/pages.h"
#include "tools/script_asm.h"

namespace cgt::test {
namespace {

using namespace report;

std::vector<std::string> Texts(const Page& page) {
    std::vector<std::string> texts;
    for (const Record& r : page.records)
        if (r.hasText) texts.push_back(r.text);
    return texts;
}

int Count(const Page& page, const std::string& text) {
    int n = 0;
    for (const std::string& t : Texts(page))
        n += t == text;
    return n;
}

PageList Load(const std::string& source, int first = 1, int last = 99) {
    PageList pages;
    pages.Load(AssembleScript(source), first, last);
    return pages;
}

class PagesTest : public ::testing::Test {
protected:
    void SetUp() override { ResetModuleRun(); }
    void TearDown() override { ResetModuleRun(); }
};

TEST_F(PagesTest, SectionsPrintByTheirCondition) {
    SetFieldStr(tag::event::kName, "An asset");
    SetFieldStr(tag::event::kFirstMessage, "");
    const std::string source = R"(
section condition=0 placement=relative height=100
    text "always"
section condition=1 placement=relative height=100
    text "field with data"
    field tag=event.AssetType
    field tag=event.Name
section condition=1 placement=relative height=100
    text "fields without data"
    field tag=event.FirstMessage
section condition=1 placement=relative height=100
    text "no field"
section condition=event.Name placement=relative height=100
    text "outside the blocks"
    header height=40
        text "tag with data"
    endheader
section condition=event.FirstMessage placement=relative height=100
    header height=40
        text "tag without data"
    endheader
section condition=9999 placement=relative height=100
    text "never"
section condition=0 placement=relative height=100
    text "a new page"
)";
    const PageList pages = Load(source);
    ASSERT_EQ(pages.PageCount(), 2);
    EXPECT_EQ(Texts(pages.pages()[0]),
              (std::vector<std::string>{"always", "field with data", "no field", "tag with data"}))
        << "a table section on the page only copies its blocks";
    EXPECT_EQ(Texts(pages.pages()[1]), std::vector<std::string>{"a new page"});
    EXPECT_EQ(pages.pages()[1].condition, 0);
    EXPECT_EQ(pages.pages()[0].placement, 'R');

    const PageList middle = Load(source, 2, 4);
    ASSERT_EQ(middle.PageCount(), 1) << "the first section loaded opens a page";
    const std::vector<std::string> texts = Texts(middle.pages()[0]);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], "Taxpayer Name") << "a page opened by a section of a condition";
    EXPECT_EQ(texts[1], "Tax File Number");
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 3, texts.end()),
              (std::vector<std::string>{"field with data", "no field"}));
}

TEST_F(PagesTest, ConditionOneSectionBreaksBySecondHeight) {
    for (int second : {500, 300}) {
        SCOPED_TRACE(second);
        const PageList pages = Load(R"(
section condition=0 placement=relative height=2300
    text "first"
section condition=1 placement=relative height=500 second=)" +
                                    std::to_string(second) + R"(
    text "second"
)");
        EXPECT_EQ(pages.PageCount(), second == 500 ? 2 : 1);
    }
}

// Whatever heights a script gives, the first section printed opens a page.
TEST_F(PagesTest, FirstSectionOpensAPageWhateverItsHeights) {
    const PageList pages = Load(R"(
section condition=1 placement=relative height=-3000 second=-3000
    text "negative heights"
)");
    ASSERT_EQ(pages.PageCount(), 1);
    EXPECT_EQ(Count(pages.pages()[0], "negative heights"), 1);
}

const char* kTable = R"(
section condition=9999 placement=relative height=0
    pageblock
        text "page block"
    endpageblock
section condition=return.ChoiceTable placement=relative height=40
    text "outside the blocks"
    header height=60
        text "header"
    endheader
    loop rowheight=40 tag=return.ChoiceTable columns=3 min=0 condition=0
        field tag=return.ChoiceTable size=3 column=1 type=column box=0 slot=8
        field tag=return.ChoiceTable size=3 column=2 type=rowamount slot=8
        field tag=return.ChoiceTable size=3 column=9999 type=column
    endloop
    footer height=50
        field tag=return.ChoiceTable size=3 column=2 type=rowamount slot=8
    endfooter
)";

TEST_F(PagesTest, TableRowsUnderHeaderAndFurniture) {
    SetFieldLst(tag::kChoiceTable, RepeatedRows({"a#", "row #", "10.5"}, 3));
    const PageList pages = Load(kTable);
    ASSERT_EQ(pages.PageCount(), 1);
    const Page& page = pages.pages()[0];
    EXPECT_EQ(page.condition, tag::kChoiceTable);
    EXPECT_EQ(Count(page, "page block"), 1);
    EXPECT_EQ(Count(page, "header"), 1);
    EXPECT_EQ(Count(page, "Taxpayer Name"), 1);
    EXPECT_EQ(Count(page, "outside the blocks"), 0) << "records outside the blocks are left out";
    std::vector<std::pair<int, int>> rows; // loop row, row slot
    for (const Record& r : page.records)
        if (r.kind() == rkField && r.i16(fld::kTag) == tag::kChoiceTable) {
            rows.push_back({r.loopRow, r.u8(fld::kRowSlot)});
            EXPECT_EQ(r.u8(fld::kBoxFlags), 1);
            EXPECT_NE(r.i16(fld::kColumn), 9999);
        }
    EXPECT_EQ(rows,
              (std::vector<std::pair<int, int>>{
                  {0, 0}, {0, 0}, {1, 1}, {1, 1}, {2, 2}, {2, 2}, {Record::kFooterRow, 255}}));
}

// Each page holds the rows that fit below the furniture (90) and the header (60) within 2680;
// every page repeats the furniture, the page block and the header.
TEST_F(PagesTest, ManyRowsBreakOntoFurtherPages) {
    const int perPage = (kPageLimit - kFurnitureHeight - 60) / 40;
    for (int rows : {perPage, perPage + 1, 3 * perPage + 5}) {
        SCOPED_TRACE(rows);
        SetFieldLst(tag::kChoiceTable, RepeatedRows({"a#", "row #", "10.5"}, rows));
        const PageList pages = Load(kTable);
        const int lastRows = rows % perPage;
        // The footer (50) goes to a new page when the last page has no room for it.
        const bool footerAlone = lastRows == 0 ? true : 90 + 60 + lastRows * 40 + 50 > kPageLimit;
        const int expected =
            (rows + perPage - 1) / perPage + (footerAlone && lastRows == 0 ? 1 : 0);
        ASSERT_EQ(pages.PageCount(), expected);
        int seen = 0;
        for (const Page& page : pages.pages()) {
            EXPECT_EQ(Count(page, "Taxpayer Name"), 1);
            EXPECT_EQ(Count(page, "page block"), 1);
            EXPECT_EQ(Count(page, "header"), 1);
            for (const Record& r : page.records)
                if (r.kind() == rkField && r.u8(fld::kType) == dispListColumn) {
                    EXPECT_EQ(r.loopRow, seen);
                    ++seen;
                }
        }
        EXPECT_EQ(seen, rows) << "every row on some page, in order";
    }
}

TEST_F(PagesTest, TableWithoutRowsOrWithTooFewPrintsNothing) {
    const std::string minRows = R"(
section condition=return.ChoiceTable placement=relative height=40
    header height=60
        text "header"
    endheader
    loop rowheight=40 tag=return.ChoiceTable columns=3 min=3 condition=0
        text "row"
    endloop
section condition=return.ChoiceTable placement=relative height=40
    header height=60
        text "header"
    endheader
    loop rowheight=40 tag=return.ChoiceTable columns=3 min=0 condition=event.Name
        text "row"
    endloop
)";
    EXPECT_EQ(Load(kTable).PageCount(), 0) << "no list";
    SetFieldLst(tag::kChoiceTable, RepeatedRows({"a", "b", "c"}, 2));
    EXPECT_EQ(Load(minRows, 1, 1).PageCount(), 0) << "fewer rows than the minimum";
    EXPECT_EQ(Load(minRows, 2, 2).PageCount(), 1);
    SetFieldStr(tag::event::kName, "condition tag with data");
    EXPECT_EQ(Load(minRows, 2, 2).PageCount(), 0) << "the loop's condition tag has data";
}

// A loop over a worksheet has a row per worksheet row; its fields know the row.
TEST_F(PagesTest, LoopOverWorksheetRows) {
    FillKnownReturn();
    SetFieldStr(tag::event::kName, "second share");
    PutRow(wkShares, 2);
    const PageList pages = Load(R"(
section condition=worksheet.Shares placement=relative height=40
    header height=40
    endheader
    loop rowheight=40 tag=worksheet.Shares columns=1
        field tag=event.Name type=rowtext
    endloop
)");
    ASSERT_EQ(pages.PageCount(), 1);
    std::vector<int> rows;
    for (const Record& r : pages.pages()[0].records)
        if (r.kind() == rkField && r.i16(fld::kTag) == tag::event::kName && r.loopRow >= 0) {
            rows.push_back(r.loopRow);
            EXPECT_EQ(r.loopTag, WorksheetTag(wkShares));
        }
    EXPECT_EQ(rows, (std::vector<int>{0, 1}));
    EXPECT_EQ(LoopRows(WorksheetTag(wkShares), 1), 2);
    EXPECT_EQ(LoopRows(WorksheetTag(wkDepreciating), 1), 0);
}

TEST_F(PagesTest, FieldTypesAreToldOncePerRunOfOneTag) {
    std::vector<std::pair<int, int>> told;
    LoadHooks hooks;
    hooks.setFieldType = [&](int tag, int type) { told.push_back({tag, type}); };
    PageList pages;
    pages.Load(AssembleScript(R"(
section condition=0 placement=absolute height=2750
    field tag=event.Name type=0
    field tag=event.Name type=1
    field tag=event.AssetType type=2
    field tag=event.Name type=9
    field tag=event.Name type=14
    field tag=event.AssetType type=3 column=9999
)"),
               1, 1, hooks);
    // The list column comes between the two Name fields of types 0..6 and 11..15.
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{tag::event::kName, 0},
                                                      {tag::event::kAssetType, 2}}));
    EXPECT_EQ(pages.pages()[0].records.size(), 5u) << "a field of column 9999 is left out";
}

TEST_F(PagesTest, LoadingAppendsAndPagesAreNumbered) {
    PageList pages;
    EXPECT_EQ(pages.GotoPage(1), nullptr) << "nothing loaded";
    const Script script = AssembleScript("section condition=0 placement=absolute height=10\n"
                                         "    text \"page\"\n");
    pages.Load(script, 1, 1);
    pages.Load(script, 1, 1);
    ASSERT_EQ(pages.PageCount(), 2);
    EXPECT_EQ(pages.GotoPage(7)->number, 2);
    EXPECT_EQ(pages.CurrentPage(), 2);
    EXPECT_EQ(pages.GotoPage(-3)->number, 1);
    pages.Clear();
    EXPECT_EQ(pages.PageCount(), 0);
    EXPECT_EQ(pages.CurrentPage(), 0);
}

TEST_F(PagesTest, AReportStopsAtItsLastPossiblePage) {
    SetFieldLst(tag::kChoiceTable, RepeatedRows({"a", "b", "c"}, 300));
    PageList pages;
    const Script script = AssembleScript(R"(
section condition=return.ChoiceTable placement=relative height=0
    header height=1000
        text "header"
    endheader
    loop rowheight=1000 tag=return.ChoiceTable columns=3
        text "row"
    endloop
)");
    EXPECT_THROW(pages.Load(script, 1, 1), ReportError);
    EXPECT_EQ(pages.PageCount(), kMaxPages) << "the pages built so far stay";
}

} // namespace
} // namespace cgt::test
