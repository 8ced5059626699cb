// Worksheet rows edited through the pick list: storing, naming, dropping empty rows, deleting,
// and the rows the calculation screens read and write without a screen.

#include <gtest/gtest.h>

#include <QWidget>

#include "frame_fixture.h"
#include "ui_frame.h"

namespace cgt::test {
namespace {

using Items = std::vector<std::tuple<int, int, std::string>>;
const QString kCreate = "** Create new worksheet **";

class WorksheetTest : public FrameTest {
protected:
    WorksheetScreen* sheet() const { return screen<WorksheetScreen>(); }
    // Types a row on the worksheet screen and starts a new one with the last pick-list line.
    // On a new row that line is the row itself: the click stores it, and a second click on the
    // new last line starts the next row.
    void addRow(const char* name, const char* amount) {
        if (*name) QTest::keyClicks(sheet()->name, name);
        QTest::keyClicks(sheet()->amount, amount);
        clickPickLine(pickLines().size());
        if (frame->CurrentRow() != pickLines().size()) clickPickLine(pickLines().size());
    }
    void clearEdits() {
        sheet()->name->clear();
        sheet()->amount->clear();
    }
};

TEST_F(WorksheetTest, RowsAreStoredAndNamedFromThePickList) {
    frame->WorksheetKind = 451;
    start(2009);
    EXPECT_EQ(cgt::Run().CurrentWorksheet, 451);
    EXPECT_EQ(pickLines(), QStringList{kCreate});
    EXPECT_EQ(frame->CurrentRow(), 1);
    EXPECT_FALSE(frame->ui().ActionPanel->isHidden());
    EXPECT_TRUE(frame->EditsWorksheetRow());

    addRow("Alpha", "100");
    EXPECT_EQ(pickLines(), (QStringList{"Alpha", kCreate}));
    EXPECT_EQ(frame->CurrentRow(), 2);
    EXPECT_EQ(frame->PickListBox()->currentRow(), 1);
    EXPECT_EQ(sheet()->name->text(), "");

    addRow("", "200"); // no name: named after its row key
    EXPECT_EQ(pickLines(), (QStringList{"Alpha", "Worksheet No.2", kCreate}));
    EXPECT_EQ(
        items(451),
        (Items{{1, 710, "Alpha"}, {1, 711, "100"}, {2, 710, "Worksheet No.2"}, {2, 711, "200"}}));

    // Switching rows loads the row into the screen and runs its show handler again.
    const int shows = Script().showCalls;
    clickPickLine(1);
    EXPECT_EQ(frame->CurrentRow(), 1);
    EXPECT_EQ(sheet()->name->text(), "Alpha");
    EXPECT_EQ(sheet()->amount->text(), "100");
    EXPECT_GT(Script().showCalls, shows);
    EXPECT_EQ(pickLines(), (QStringList{"Alpha", "Worksheet No.2", kCreate}));

    // Changing it stores the change in its place.
    QTest::keyClicks(sheet()->amount, "5");
    clickPickLine(3);
    EXPECT_EQ(
        items(451),
        (Items{{1, 710, "Alpha"}, {1, 711, "1005"}, {2, 710, "Worksheet No.2"}, {2, 711, "200"}}));
}

TEST_F(WorksheetTest, ARowWithEmptyEditsIsDroppedAndLaterRowsMoveUp) {
    frame->WorksheetKind = 451;
    start(2009);
    addRow("Alpha", "100");
    addRow("Beta", "200");
    clickPickLine(1);
    ASSERT_EQ(sheet()->name->text(), "Alpha");
    clearEdits();

    click(frame->NextButton()); // leaving finishes the worksheet
    EXPECT_EQ(shown(), 2010);
    EXPECT_EQ(cgt::Run().CurrentWorksheet, 0);
    EXPECT_FALSE(frame->PickListOpen());
    EXPECT_EQ(items(451), (Items{{1, 710, "Beta"}, {1, 711, "200"}}));
    EXPECT_TRUE(FieldIsEmpty(710)); // the scratch tags are cleared
    EXPECT_FALSE(frame->EditsWorksheetRow());

    click(frame->PrevButton()); // a new row after the one left
    EXPECT_EQ(pickLines(), (QStringList{"Beta", kCreate}));
    EXPECT_EQ(frame->CurrentRow(), 2);
}

TEST_F(WorksheetTest, AReopenedRowIsShownForEditing) {
    frame->WorksheetKind = 452;
    start(2009);
    addRow("Alpha", "100");
    addRow("Beta", "200");
    click(frame->NextButton());

    frame->ReopenRow = true;
    frame->ReopenRowKey = 2;
    click(frame->PrevButton());
    EXPECT_EQ(frame->CurrentRow(), 2);
    EXPECT_EQ(sheet()->name->text(), "Beta");
    EXPECT_EQ(frame->PickListBox()->currentRow(), 1);
}

TEST_F(WorksheetTest, DeleteAsksAndRemovesTheSelectedRow) {
    frame->WorksheetKind = 451;
    start(2009);
    addRow("Alpha", "100");
    addRow("Beta", "200");
    clickPickLine(1);

    dialogs.queueAnswer(mrNo);
    click(frame->ui().btnRemove);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Are you sure you want to delete the selected worksheet?");
    EXPECT_EQ(dialogs.messages[0].kind, 3);
    EXPECT_EQ(dialogs.messages[0].buttons, mbYes | mbNo);
    EXPECT_EQ(pickLines(), (QStringList{"Alpha", "Beta", kCreate}));
    EXPECT_EQ(items(451).size(), 4u);

    dialogs.queueAnswer(mrYes);
    click(frame->ui().btnRemove);
    EXPECT_EQ(pickLines(), (QStringList{"Beta", kCreate}));
    EXPECT_EQ(items(451), (Items{{1, 710, "Beta"}, {1, 711, "200"}}));
    EXPECT_EQ(frame->PickListBox()->currentRow(), 0);
    EXPECT_EQ(sheet()->name->text(), "Beta");

    // Deleting the last row selects the line that starts a new one.
    dialogs.queueAnswer(mrYes);
    click(frame->ui().btnRemove);
    EXPECT_EQ(pickLines(), QStringList{kCreate});
    EXPECT_EQ(frame->PickListBox()->currentRow(), 0);
    EXPECT_EQ(frame->SelectedRow(), 1);
    EXPECT_EQ(sheet()->name->text(), "");
    EXPECT_TRUE(items(451).empty());
}

TEST_F(WorksheetTest, PickListClickStaysWhenTheCheckRefuses) {
    frame->WorksheetKind = 451;
    start(2009);
    addRow("Alpha", "100");
    int calls = 0;
    sheet()->check = [&] {
        ++calls;
        return std::optional<ScreenRefusal>(ScreenRefusal{});
    };
    QTest::keyClicks(sheet()->amount, "7");
    clickPickLine(1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(frame->CurrentRow(), 2);
    EXPECT_EQ(frame->PickListBox()->currentRow(), 1);
    EXPECT_EQ(sheet()->amount->text(), "7");
}

// TQCGT_11: continues row 1 of worksheet WorksheetKind showing only its amount (711).
class ContinuingScreen : public TChildForm {
public:
    ContinuingScreen() {
        amount = AddEdit(this, "amount", 711, TCustomNumEdit::ntCurrency, 10, 10);
        TFrameWnd* frame = TFrameWnd::Instance();
        frame->OpenWorksheetRow(frame->WorksheetKind, 1);
    }
    TTaxEdit* amount;
};

// Whether a row is kept is read from what the row holds, not from the fields the screen shows.
TEST_F(WorksheetTest, ARowIsKeptWhileItHoldsAnything) {
    RegisterScreenClass("TQCGT_11", Make<ContinuingScreen>);
    frame->WorksheetKind = 451;
    start(2009);
    addRow("Alpha", "100");
    start(2010);
    ASSERT_EQ(screen<ContinuingScreen>()->amount->text(), "100");
    EXPECT_TRUE(frame->EditsWorksheetRow());
    screen<ContinuingScreen>()->amount->clear();
    start(2009); // the screen's only field is empty; the row still holds its name
    EXPECT_EQ(items(451), (Items{{1, 710, "Alpha"}}));

    // A row that holds nothing is dropped.
    frame->WorksheetKind = 452;
    start(2010);
    start(2009);
    EXPECT_TRUE(items(452).empty());
}

TEST_F(WorksheetTest, CalculationsFetchAndPutRowsWithoutAScreen) {
    SetFieldStr(710, "Shares in X");
    SetFieldVal(712, 50);
    frame->PutWorksheetRow(453, 1);
    EXPECT_EQ(cgt::Run().CurrentWorksheet, 0);
    EXPECT_TRUE(FieldIsEmpty(710));
    SetFieldVal(712, 70); // a row without a name keeps none
    frame->PutWorksheetRow(453, 2);
    EXPECT_EQ(items(453), (Items{{1, 710, "Shares in X"}, {1, 712, "50"}, {2, 712, "70"}}));

    frame->FetchWorksheetRow(453, 1);
    EXPECT_EQ(cgt::Run().CurrentWorksheet, 453);
    EXPECT_EQ(GetFieldStr(710), "Shares in X");
    EXPECT_EQ(GetFieldVal(712), 50);
    SetFieldVal(712, 60);
    frame->PutWorksheetRow(453, 1);
    EXPECT_EQ(items(453), (Items{{1, 710, "Shares in X"}, {1, 712, "60"}, {2, 712, "70"}}));
}

} // namespace
} // namespace cgt::test
