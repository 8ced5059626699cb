// Values between the store and the controls by class, grid keys, keyboard aids and scaling.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

#include "frame_fixture.h"
#include "ui_frame.h"

namespace cgt::test {
namespace {

TEST_F(FrameTest, ComboBoxStoresItsFirstMaxLengthCharactersAndReselectsByThem) {
    start(2004);
    QComboBox* combo = screen<ValuesScreen>()->combo;
    EXPECT_EQ(combo->currentIndex(), -1); // nothing stored: no selection
    combo->setCurrentIndex(1);
    click(frame->NextButton());
    EXPECT_EQ(GetFieldStr(400), "SA");
    click(frame->PrevButton());
    EXPECT_EQ(screen<ValuesScreen>()->combo->currentIndex(), 1);
    EXPECT_EQ(screen<ValuesScreen>()->combo->currentText(), "SA - Active asset - Shares");
}

TEST_F(FrameTest, CheckBoxFollowsItsField) {
    SetFieldChecked(402);
    start(2004);
    EXPECT_TRUE(screen<ValuesScreen>()->check->isChecked());
    QTest::mouseClick(screen<ValuesScreen>()->check, Qt::LeftButton);
    click(frame->NextButton());
    EXPECT_FALSE(FieldChecked(402));
}

TEST_F(FrameTest, PlainLabelShowsAmountsAboveACentOnly) {
    struct Case {
        TFieldDataType type;
        Extended value;
        const char* text;
    };
    const Case cases[] = {
        {dtCurrency, 0.005L, ""},     {dtCurrency, 1234, "1234"},      {dtCurrency, -0.01L, ""},
        {dtCurrency, -1234, "-1234"}, {dtCurrencyCnt, 12.5L, "12.50"}, {dtNumeric, 7, "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.type) << " " << double(c.value));
        Store().entry(401).zeroFill();
        SetFieldType(401, c.type);
        SetFieldVal(401, c.value);
        start(2004);
        EXPECT_EQ(screen<ValuesScreen>()->label->text(), QString::fromLatin1(c.text));
    }
    Store().entry(401).zeroFill();
    SetFieldStr(401, "Shares in X");
    start(2004);
    EXPECT_EQ(screen<ValuesScreen>()->label->text(), "Shares in X");
}

TEST_F(FrameTest, TaxEditLoadsByFieldTypeOrByItsKind) {
    SetFieldStr(302, "Land at Bega"); // text field
    start(2007);
    EXPECT_EQ(frame->CurrentScreenWidget()->findChild<TTaxEdit*>("text")->text(), "Land at Bega");

    SetFieldStr(300, "15"); // a stored text in an amount field is read as its number
    start(2004);
    EXPECT_EQ(screen<ValuesScreen>()->amount->text(), "15");
    EXPECT_EQ(screen<ValuesScreen>()->amount->NumValue(), 15);
}

// A screen with a grid between two edits, for the grid keys.
class GridScreen : public TChildForm {
public:
    GridScreen() {
        before = AddEdit(this, "before", 0, TCustomNumEdit::ntNone, 10, 10);
        grid = new TXGrid(this);
        grid->setColCount(2);
        grid->setRowCount(3);
        grid->setCells(0, 0, "  Description  ");
        grid->setGeometry(10, 40, 300, 100);
        after = AddEdit(this, "after", 0, TCustomNumEdit::ntNone, 10, 150);
    }
    TTaxEdit* before;
    TXGrid* grid;
    TTaxEdit* after;
};

TEST_F(FrameTest, F6AndShiftF6LeaveAGridForTheNextAndPreviousControl) {
    RegisterScreenClass("TQCGT_43", Make<GridScreen>);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    start(2033);
    auto* s = screen<GridScreen>();
    ASSERT_NE(s, nullptr);
    s->grid->setFocus();
    QWidget* inGrid = QApplication::focusWidget();
    ASSERT_TRUE(inGrid == s->grid || s->grid->isAncestorOf(inGrid));
    QTest::keyClick(inGrid, Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), s->after);

    s->grid->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), s->before);
    UnregisterScreenClass("TQCGT_43");
}

TEST_F(FrameTest, FocusGoesToTheFirstControlOrToYesOrNext) {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    start(2004);
    EXPECT_EQ(QApplication::focusWidget(), screen<ValuesScreen>()->amount);
    start(2006); // no controls: Yes
    EXPECT_EQ(QApplication::focusWidget(), frame->YesButton());
}

// Controls created in an order unlike their places on the screen.
class ScrambledScreen : public TChildForm {
public:
    ScrambledScreen() {
        lower = AddEdit(this, "lower", 0, TCustomNumEdit::ntNone, 10, 100);
        right = AddEdit(this, "right", 0, TCustomNumEdit::ntNone, 200, 14); // same row as left
        left = AddEdit(this, "left", 0, TCustomNumEdit::ntNone, 10, 10);
        label = new TTextLbl(this);
        label->setText({"Question"});
        label->setGeometry(10, 60, 200, 20);
    }
    TTaxEdit* lower;
    TTaxEdit* right;
    TTaxEdit* left;
    TTextLbl* label;
};

TEST_F(FrameTest, AccessibilityModeOrdersTabStopsByPosition) {
    RegisterScreenClass("TQCGT_43", Make<ScrambledScreen>);
    cgt::Run().AccessibilityMode = true;
    start(2033);
    auto* s = screen<ScrambledScreen>();
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->label->TabStop());
    EXPECT_EQ(s->label->mode(), TTextLbl::tlmVisionImpaired);
    std::vector<QWidget*> order;
    for (QWidget* w = s->nextInFocusChain(); w != s && order.size() < 4; w = w->nextInFocusChain())
        if (w->parentWidget() == s && (w->focusPolicy() & Qt::TabFocus)) order.push_back(w);
    EXPECT_EQ(order, (std::vector<QWidget*>{s->left, s->right, s->label, s->lower}));

    // Without the mode the screen keeps its own order and its labels.
    cgt::Run().AccessibilityMode = false;
    start(2033);
    s = screen<ScrambledScreen>();
    EXPECT_FALSE(s->label->TabStop());
    EXPECT_EQ(s->label->mode(), TTextLbl::tlmStandard);
    UnregisterScreenClass("TQCGT_43");
}

TEST_F(FrameTest, ScreensScaleWithTheClientPanel) {
    start(2004);
    const QSize design = frame->ClientSize();
    ASSERT_GT(design.width(), 0);
    const int baseWidth = screen<ValuesScreen>()->amount->width();
    const int buttonFont = frame->NextButton()->font().pointSize();

    frame->Rescale(design.width() * 2, design.height() * 3); // width is the smaller ratio
    settle();
    EXPECT_EQ(frame->ScaleNum(), design.width() * 2);
    EXPECT_EQ(frame->ScaleDen(), design.width());
    EXPECT_TRUE(frame->Scaled());
    EXPECT_EQ(shown(), 2004);
    EXPECT_EQ(cgt::Run().ScreenHistory, std::vector<std::int32_t>{2004}); // a re-show only
    EXPECT_EQ(screen<ValuesScreen>()->amount->width(), baseWidth * 2);
    EXPECT_EQ(frame->NextButton()->font().pointSize(), buttonFont * 2);
    EXPECT_EQ(frame->CloseButton()->font().pointSize(), buttonFont * 2);

    frame->Rescale(design.width(), design.height()); // smaller again: base fonts
    settle();
    EXPECT_EQ(frame->NextButton()->font().pointSize(), buttonFont);
    EXPECT_EQ(screen<ValuesScreen>()->amount->width(), baseWidth);
    EXPECT_FALSE(frame->Scaled());
}

TEST_F(FrameTest, LinksOpenTheirTargetOrTheirHelpTopic) {
    RecordingHelp help;
    start(2004);
    auto* label = new TTextLbl(frame->CurrentScreenWidget());
    frame->LoadScreenFromStore(); // binds the labels to the link handler
    emit label->OnJumpClick(label, 196, QString());
    EXPECT_EQ(help.contexts, std::vector<int>{196});
}

} // namespace
} // namespace cgt::test
