// The cost element screen (TQCGT_12) driven through a real interview frame: the picklist of the
// worksheet, the help below the grid following the column, F1 on a row's element, the
// adjustments that exclude nothing, the order Next keeps the rows in, and every check with its
// message and the cell it focuses.

#include <QApplication>

#include "cgt/rules/cost_elements.h"
#include "cgt/screens/events/cost_elements_screen.h"
#include "controls/help_service.h"
#include "controls/text_label.h"
#include "controls/xgrid.h"
#include "event_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

class RecordingHelp : public HelpService {
public:
    RecordingHelp() { SetHelpService(this); }
    ~RecordingHelp() override { SetHelpService(nullptr); }
    void ShowContext(int context) override { contexts.push_back(context); }
    void ShowContents() override {}
    void SetHelpFile(const std::string&) override {}
    std::string HelpFile() const override { return {}; }
    std::vector<int> contexts;
};

class CostElementsScreenTest : public EventScreenTest {
protected:
    TQCGT_12* show(
        int screenNumber, int worksheet, const Registered& event = {}, void (*more)() = [] {}) {
        registered(worksheet, event, 1, more);
        start(screenNumber);
        EXPECT_EQ(shown(), screenNumber);
        settle();
        auto* s = dynamic_cast<TQCGT_12*>(screen());
        grid = s ? s->XGrid1() : nullptr;
        return s;
    }
    // Chooses the element that begins with `code` from the drop-down list of row `row`.
    void chooseElement(int row, const char* code) {
        ASSERT_TRUE(grid->MoveTo(ceElement, row));
        key(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(grid->picklist()->isVisible());
        QTest::keyClicks(grid->picklist(), QString::fromLatin1(code));
        key(Qt::Key_Return);
    }
    // Types into a cell and leaves it to the right.
    void typeCell(int col, int row, const char* text) {
        ASSERT_TRUE(grid->MoveTo(col, row));
        QTest::keyClicks(editor(), QString::fromLatin1(text));
        key(Qt::Key_Tab);
    }
    // One row: the element by its code, the date incurred, the amount and the excluded amount.
    void fillRow(int row, const char* code, const char* date, const char* amount,
                 const char* excluded = "") {
        if (*code) chooseElement(row, code);
        if (*date) typeCell(ceDateIncurred, row, date);
        if (*amount) typeCell(ceAmount, row, amount);
        if (*excluded) typeCell(ceExcluded, row, excluded);
    }
    int section() const { return dynamic_cast<TQCGT_12*>(screen())->YBLbl()->CurrentSection(); }
};

TEST_F(CostElementsScreenTest, EachWorksheetOffersItsElements) {
    const struct Case {
        int screen;
        int worksheet;
    } cases[] = {{2011, wkShares},       {2024, wkTrustInterests}, {2037, wkRealEstate},
                 {2048, wkDepreciating}, {2057, wkPersonalUse},    {2067, wkOtherAssets}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen);
        freshRun();
        ASSERT_NE(show(c.screen, c.worksheet), nullptr);
        ASSERT_TRUE(grid->MoveTo(ceElement, 1));
        key(Qt::Key_Down, Qt::AltModifier);
        TPopupListbox* list = grid->picklist();
        ASSERT_TRUE(list->isVisible());
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        QStringList expected;
        for (const char* item : CostElementPicklist(c.worksheet))
            expected << QString::fromLatin1(item);
        EXPECT_EQ(items, expected);
        key(Qt::Key_Escape);
        // Neither hidden column is reached.
        EXPECT_EQ(grid->colWidths(ceDatePaid), -1);
        EXPECT_EQ(grid->colWidths(ceExcludedReduced), -1);
    }
}

TEST_F(CostElementsScreenTest, TheHelpFollowsTheColumn) {
    for (const auto& [screenNumber, worksheet, dateSection] :
         {std::tuple{2011, wkShares, 2}, std::tuple{2037, wkRealEstate, 9}}) {
        SCOPED_TRACE(screenNumber);
        freshRun();
        show(screenNumber, worksheet);
        EXPECT_EQ(section(), 1);
        const std::pair<int, int> columns[] = {{ceDateIncurred, dateSection},
                                               {ceDescription, 4},
                                               {ceAmount, 5},
                                               {ceExcluded, 6},
                                               {ceComments, 8},
                                               {ceElement, 1}};
        for (const auto& [col, expected] : columns) {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(0, col)).center());
            settle();
            EXPECT_EQ(grid->Col(), col);
            EXPECT_EQ(section(), expected) << "column " << col;
        }
    }
}

TEST_F(CostElementsScreenTest, F1OpensTheHelpOfTheRowsElement) {
    RecordingHelp help;
    show(2037, wkRealEstate);
    chooseElement(1, "2b");
    ASSERT_EQ(ElementCode(grid->Cells(ceElement, 1).toStdString()), "2B");
    ASSERT_TRUE(grid->MoveTo(ceDescription, 1));
    EXPECT_EQ(grid->property("HelpContext").toInt(), 379) << "what the main window's F1 reads";
    key(Qt::Key_F1);
    EXPECT_EQ(help.contexts, std::vector<int>{379});

    chooseElement(2, "6c");
    key(Qt::Key_F1);
    EXPECT_EQ(help.contexts.back(), 380);

    // A row without an element leaves F1 to the screen's own topic.
    help.contexts.clear();
    ASSERT_TRUE(grid->MoveTo(ceDescription, 3));
    EXPECT_EQ(grid->property("HelpContext").toInt(), 0);
    key(Qt::Key_F1);
    EXPECT_TRUE(help.contexts.empty());
}

TEST_F(CostElementsScreenTest, AnAdjustmentRowExcludesNothing) {
    show(2037, wkRealEstate);
    fillRow(1, "1", "01/07/1995", "1000", "100");
    fillRow(2, "2a", "01/07/1996", "50", "20");
    ASSERT_EQ(grid->Cells(ceExcluded, 2), "20.00");
    grid->setCells(ceExcludedReduced, 2, "5.00"); // as from a stored row
    // The element becomes an adjustment; the next column entered empties both exclusions.
    chooseElement(2, "6c");
    ASSERT_EQ(grid->Col(), ceElement);
    key(Qt::Key_Tab);
    ASSERT_EQ(grid->Col(), ceDateIncurred);
    EXPECT_EQ(grid->Cells(ceExcluded, 2), "");
    EXPECT_EQ(grid->Cells(ceExcludedReduced, 2), "");
    typeCell(ceExcluded, 2, "30");
    EXPECT_EQ(grid->Cells(ceExcluded, 2), "");
    EXPECT_EQ(grid->Cells(ceExcluded, 1), "100.00") << "other rows keep theirs";
}

TEST_F(CostElementsScreenTest, NextKeepsTheRowsInDateOrder) {
    show(2037, wkRealEstate, {"Beach house", "RN", "01/01/1990"});
    fillRow(1, "4", "05/05/2001", "300");
    fillRow(2, "1", "01/01/1990", "100000");
    typeCell(ceDescription, 3, "Receipts kept in the file");
    press(frame->NextButton());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
    ASSERT_EQ(shown(), 2038);

    FetchRow(wkRealEstate, 1);
    const StringListRef elements = GetFieldLst(kCostElements);
    ASSERT_TRUE(elements);
    ASSERT_EQ(elements->size(), 24u);
    EXPECT_EQ((*elements)[ceDateIncurred], "01/01/1990");
    EXPECT_EQ((*elements)[8 + ceDateIncurred], "05/05/2001");
    EXPECT_EQ((*elements)[16 + ceDescription], "Receipts kept in the file");
    EXPECT_EQ((*elements)[ceAmount], "100000.00");
}

TEST_F(CostElementsScreenTest, ChecksShowTheirMessageAndFocusTheirCell) {
    constexpr const char* kElementOne = "If you completed Section 2, Cost element 1 can only be "
                                        "entered if purchased by instalments.";
    constexpr const char* kBeforeAcquisition =
        "Check dates. An expense must be incurred no earlier than the acquisition date.";
    constexpr const char* kBeforeCostBaseDate =
        "Check dates. An expense must be incurred no earlier than the effective date entered "
        "previously..";
    constexpr const char* kBeforeCgt =
        "Check your date. You cannot enter a date earlier than 20/09/1985. \r\n"
        "Assets acquired before 20 September 1985 are generally not subject to CGT although\r\n"
        "there is an exception for some shares and trust interests. If your asset falls within\r\n"
        "this exception, you should manually calculate your capital gain or capital loss";
    constexpr const char* kExcluded = "Check Cost Base adjustment amount entered.  Amount entered "
                                      "must not exceed original amount already entered.";
    constexpr const char* kIncomplete =
        "If either dates and amount are present then all must be completed.";
    constexpr const char* kNegative =
        "If cost element 6C or 6R is present, amount must be entered as a negative.";
    constexpr const char* kNegativeCost =
        "Check the amount entered. Only cost elements 6C and 6R are entered as a negative amount.";

    const struct Case {
        const char* note;
        const char* acquired;
        const char* costBaseDate; // section 2
        const char* code;
        const char* date;
        const char* amount;
        const char* excluded;
        const char* message; // nullptr: the screen is left
        int col;
        bool shares = false; // the shares screen, whose elements include instalments
    } cases[] = {
        {"a complete row", "01/01/1995", "", "1", "01/01/1995", "1000", "", nullptr, 0},
        {"element 1 after a known cost base", "01/01/1995", "01/07/2000", "1", "01/07/2000", "1000",
         "", kElementOne, ceElement},
        {"an instalment after a known cost base", "01/01/1995", "01/07/2000", "1d", "01/07/2000",
         "1000", "", nullptr, 0, true},
        {"incurred before acquisition", "01/01/1995", "", "2a", "31/12/1994", "100", "",
         kBeforeAcquisition, ceElement},
        {"incurred before the cost base date", "01/01/1995", "01/07/2000", "2a", "30/06/2000",
         "100", "", kBeforeCostBaseDate, ceElement},
        {"incurred before CGT", "", "", "2a", "19/09/1985", "100", "", kBeforeCgt, ceElement},
        {"excluded more than the amount", "", "", "2a", "01/07/2000", "100", "150", kExcluded,
         ceAmount},
        {"no amount", "", "", "2a", "01/07/2000", "", "", kIncomplete, ceElement},
        {"no element", "", "", "", "01/07/2000", "100", "", kIncomplete, ceElement},
        {"an adjustment above zero", "", "", "6r", "01/07/2000", "250", "", kNegative, ceElement},
        {"an adjustment below zero", "", "", "6r", "01/07/2000", "-250", "", nullptr, 0},
        {"a purchase below zero", "01/01/1995", "", "1", "01/01/1995", "-100", "", kNegativeCost,
         ceAmount},
        {"an incidental below zero with an exclusion", "", "", "2a", "01/07/2000", "-100", "50",
         kNegativeCost, ceAmount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        freshRun();
        static const Case* current;
        current = &c;
        const int screenNumber = c.shares ? 2011 : 2037;
        show(screenNumber, c.shares ? wkShares : wkRealEstate, {"Beach house", "RN", c.acquired},
             [] { SetFieldStr(kCostBaseDate, current->costBaseDate); });
        // A valid row first, dated so that the refused row is sorted before or after it.
        const char* validDate = *c.costBaseDate ? "01/07/2001" : "01/01/1996";
        fillRow(1, "5", validDate, "10");
        fillRow(2, c.code, c.date, c.amount, c.excluded);
        press(frame->NextButton());
        settle();
        if (!c.message) {
            EXPECT_EQ(takeMessage(), "");
            EXPECT_EQ(shown(), screenNumber + 1);
            continue;
        }
        EXPECT_EQ(takeMessage(), c.message);
        ASSERT_EQ(shown(), screenNumber);
        // Sorted by date, the refused row is the second when it is dated after the valid one.
        const int refusedRow = grid->Cells(ceDateIncurred, 1) == QLatin1String(validDate) ? 2 : 1;
        EXPECT_EQ(grid->Row(), refusedRow);
        EXPECT_EQ(grid->Col(), c.col);
        EXPECT_EQ(QApplication::focusWidget(), editor());
    }
}

TEST_F(CostElementsScreenTest, TheNameLineAsksTheScreenForTheName) {
    auto* s = show(2011, wkShares, {"BHP shares", "SN", "01/07/1995"});
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->findChild<TTextLbl*>("TextLbl1")->plainText().contains("BHP shares"));
    freshRun();
    s = show(2011, wkShares, {"", "", ""});
    EXPECT_TRUE(s->findChild<TTextLbl*>("TextLbl1")->plainText().contains("No Asset Selected"));
}

} // namespace
} // namespace cgt::test
