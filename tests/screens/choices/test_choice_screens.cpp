// The choice table (2103), the concession screens (2104–2106) and the CGT schedule (2107)
// driven through a real interview frame as a user drives them: by the keyboard through the
// table, the buttons with their confirmations (the lowest net capital gain's with its note), the
// layout at two sizes, the refusals on Next, the schedule's captions, and a whole interview from
// the first screen to the end with the results left for the host.

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cgt/rules/concessions.h"
#include "cgt/rules/lowest_gain.h"
#include "cgt/screens/choices/choice_screens.h"
#include "cgt/screens/choices/schedule_screen.h"
#include "cgt/screens/events/registration_screen.h"
#include "cgt/screens/flow/question_screen.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/type_ahead_combo.h"
#include "controls/xgrid.h"
#include "records/choice_fixture.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "support/screen_fixture.h"

namespace cgt::test {
namespace {

class ChoiceScreenTest : public ScreenTest {
protected:
    TQCGT_62* table() const { return dynamic_cast<TQCGT_62*>(screen()); }
    TXGrid* grid() const { return table()->Grid(); }
    // A key pressed where the focus is.
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, k, modifiers);
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    void enterGrid() {
        grid()->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
        ASSERT_TRUE(grid()->isAncestorOf(QApplication::focusWidget()));
    }
    int rowOf(const char* name) const {
        for (int row = 1; row < grid()->RowCount(); ++row)
            if (grid()->Cells(ccDescription, row).startsWith(QLatin1String(name))) return row;
        return -1;
    }
};

// Two share parcels: one whose gain has both methods (I 100, D 300), one with a discount gain
// only (D 1001).
void TwoParcels() {
    StoreResult({.key = 1, .name = "Alpha", .type = "SN", .indexed = 100, .discount = 300});
    StoreResult({.key = 2, .name = "Beta", .type = "SN", .discount = 1001});
}

TEST_F(ChoiceScreenTest, TheTableIsWorkedByKeyboardAndRefusedUntilAMethodIsChosen) {
    TwoParcels();
    start(2103);
    ASSERT_EQ(shown(), 2103);
    ASSERT_NE(table(), nullptr);
    const int alpha = rowOf("Alpha"), beta = rowOf("Beta");
    ASSERT_EQ(alpha, 1);
    ASSERT_EQ(beta, 2);
    EXPECT_EQ(grid()->Cells(ccChoiceRequired, alpha), "Yes");
    EXPECT_EQ(grid()->Cells(ccNetGain, beta).trimmed(), "500.50");
    // Alpha has no method yet and counts nothing: 1001 / 2 truncated.
    EXPECT_EQ(table()->NetGainLine(), "Your net capital gain is $500");
    EXPECT_EQ(grid()->FixedCols(), 3);
    EXPECT_EQ(grid()->Cells(ccMethod, 0), "Method\rchoice\r(I or D)");
    EXPECT_TRUE(grid()->isColumnHidden(ccSection));
    EXPECT_TRUE(grid()->isColumnHidden(ccPriorCollectableApplied));
    EXPECT_EQ(grid()->columnWidth(ccDescription), 163);

    // Next with Alpha's method open: refused with the check's message, cursor on Alpha.
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2103);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().text, "You must choose the method you wish to use.");
    EXPECT_EQ(dialogs.messages.back().kind, mkInformation);
    QApplication::processEvents();
    EXPECT_EQ(grid()->Col(), ccIndexed);
    EXPECT_EQ(grid()->Row(), alpha);
    EXPECT_TRUE(grid()->isAncestorOf(QApplication::focusWidget()));

    // Tab to the method column (past the read-only "Choice Req'd"), type the pick, Tab on.
    key(Qt::Key_Tab);
    EXPECT_EQ(grid()->Col(), ccDiscount);
    key(Qt::Key_Tab);
    EXPECT_EQ(grid()->Col(), ccMethod);
    QTest::keyClicks(grid()->inplaceEditor(), "Indexed");
    key(Qt::Key_Tab);
    EXPECT_EQ(grid()->Cells(ccMethod, alpha), "Indexed");
    EXPECT_EQ(grid()->Col(), ccOther);
    EXPECT_EQ(grid()->Cells(ccNetGain, alpha).trimmed(), "100.00");
    EXPECT_EQ(table()->NetGainLine(), "Your net capital gain is $600");

    // From the net gain, Enter goes to the indexed gain of the next row; after the last row,
    // back to the first. Shift+Tab from the indexed gain goes to the net gain of the row before.
    ASSERT_TRUE(grid()->MoveTo(ccNetGain, alpha));
    key(Qt::Key_Return);
    EXPECT_EQ(grid()->Col(), ccIndexed);
    EXPECT_EQ(grid()->Row(), beta);
    ASSERT_TRUE(grid()->MoveTo(ccNetGain, beta));
    key(Qt::Key_Tab);
    EXPECT_EQ(grid()->Col(), ccIndexed);
    EXPECT_EQ(grid()->Row(), alpha);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid()->Col(), ccNetGain);
    EXPECT_EQ(grid()->Row(), grid()->RowCount() - 1);
    // Arrow keys move within the row; the table has no rows to add or delete.
    ASSERT_TRUE(grid()->MoveTo(ccIndexed, alpha));
    key(Qt::Key_Down);
    EXPECT_EQ(grid()->Row(), beta);
    const int rows = grid()->RowCount();
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(grid()->RowCount(), rows);
    dialogs.messages.clear();
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid()->RowCount(), rows);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, std::string(kRowDeletionRefused));

    press(frame->NextButton());
    EXPECT_EQ(shown(), 2104);
    // The choice went back to its event, and the schedule holds the net capital gain.
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldStr(tag::event::kMethodChoice), "Indexed");
    ZeroFillScratchTags();
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 600); // 100 + 1001 / 2 = 600.5
}

TEST_F(ChoiceScreenTest, TheButtonsAskFirstAndAreReachedByKeyboard) {
    TwoParcels();
    SetFieldVal(tag::kUnappliedOtherLosses, 50);
    start(2103);
    const int alpha = rowOf("Alpha");
    enterGrid();
    // F6 leaves the table for the first button; Tab goes on through them.
    key(Qt::Key_F6);
    QPushButton* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->objectName(), "ApplyLossBtn");
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "DeferBtn");
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "MethodBtn");

    // Answered No, the method button changes nothing.
    dialogs.queueAnswer(mrNo);
    key(Qt::Key_Space);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, std::string(kMethodChoicesQuestion));
    EXPECT_EQ(dialogs.messages[0].kind, mkQuestion); // a screen's confirmation
    EXPECT_EQ(dialogs.messages[0].buttons, mbYes | mbNo);
    EXPECT_EQ(grid()->Cells(ccMethod, alpha), "");
    // Answered Yes: 300 / 2 = 150 is above 100, so indexation.
    dialogs.queueAnswer(mrYes);
    key(Qt::Key_Space);
    EXPECT_EQ(grid()->Cells(ccMethod, alpha), "Indexed");

    // The apply-all button applies the 50 of earlier losses to Alpha's indexed gain first.
    QTest::mouseClick(child<QPushButton>("ApplyLossBtn"), Qt::LeftButton);
    EXPECT_EQ(dialogs.messages.back().text, std::string(kMakeAllChoicesQuestion));
    EXPECT_EQ(grid()->Cells(ccOtherApplied, alpha).trimmed().toDouble(), 50);
    EXPECT_EQ(grid()->Cells(ccNetGain, alpha).trimmed(), "50.00");
    EXPECT_EQ(table()->LossesGrid()->Cells(2, 1), "0") << "no earlier other losses left";
    EXPECT_EQ(table()->NetGainLine(), "Your net capital gain is $550");

    // Reset: the table is rebuilt from the stored sources, and Yes clears every choice.
    dialogs.queueAnswer(mrYes);
    QTest::mouseClick(child<QPushButton>("RestartBtn"), Qt::LeftButton);
    EXPECT_EQ(dialogs.messages.back().text, std::string(kResetChoicesQuestion));
    EXPECT_EQ(grid()->Cells(ccMethod, alpha), "");
    EXPECT_EQ(grid()->Cells(ccOtherApplied, alpha), "");
    EXPECT_EQ(table()->LossesGrid()->Cells(2, 1), "50");
}

// Leaving a cell writes its amount with cents, as the grid's check does; the table still shows
// every amount in whole dollars, the one just left like the ones not entered.
// A parcel of shares that needs a method (indexed 1,000, discount 1,500) beside an active asset's
// other gain of 1,000, with 1,000 of earlier years' other losses. The apply-all button takes the
// indexed gain for the parcel and spends the losses on it: 0 + 1,000 = 1,000. The lowest takes
// the discount (1,500 / 2 = 750) and puts the losses on the other gain: 750 + 0 = 750.
void ParcelBesideAnActiveGain() {
    StoreResult({.key = 1, .name = "Parcel", .type = "SN", .indexed = 1000, .discount = 1500});
    StoreResult({.key = 2, .name = "Shop", .type = "SA", .other = 1000});
    SetFieldVal(tag::kUnappliedOtherLosses, 1000);
}

// What the lowest gives on that table.
LowestChoices ParcelBesideAnActiveGainLowest() {
    return {.found = true, .netCapitalGain = 750, .applyAllNetCapitalGain = 1000};
}

std::string Line(std::string_view gain, const LowestChoices& lowest) {
    return "Your net capital gain is " + std::string(gain) + " " + LowestChoicesNote(lowest);
}

// Every cell of the grid, the titles included.
std::vector<QString> GridCells(const TXGrid* grid) {
    std::vector<QString> cells;
    for (int row = 0; row < grid->RowCount(); ++row)
        for (int col = 0; col < kChoiceColumns; ++col)
            cells.push_back(grid->Cells(col, row));
    return cells;
}

TEST_F(ChoiceScreenTest, TheLowestButtonComesLastByTabAndAsksFirst) {
    ParcelBesideAnActiveGain();
    start(2103);
    const int parcel = rowOf("Parcel"), shop = rowOf("Shop");
    enterGrid();
    // F6 leaves the table for the first button; Tab goes through the five, the lowest last.
    key(Qt::Key_F6);
    for (const char* name : {"ApplyLossBtn", "DeferBtn", "MethodBtn", "RestartBtn", "LowestBtn"}) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
        if (QLatin1String(name) != QLatin1String("LowestBtn")) key(Qt::Key_Tab);
    }
    auto* lowest = child<QPushButton>("LowestBtn");
    ASSERT_EQ(QApplication::focusWidget(), lowest);
    EXPECT_EQ(lowest->accessibleName().toStdString(), kLowestChoicesCaption);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(lowest)->text(QAccessible::Name),
              lowest->accessibleName());

    // Answered No, nothing changes.
    const std::vector<QString> before = GridCells(grid());
    const QString line = table()->NetGainLine();
    EXPECT_EQ(line, "Your net capital gain is $1,000") << "no method yet: only the other gain";
    dialogs.queueAnswer(mrNo);
    key(Qt::Key_Space);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, std::string(kLowestChoicesQuestion));
    EXPECT_EQ(dialogs.messages[0].kind, mkQuestion); // a screen's confirmation
    EXPECT_EQ(dialogs.messages[0].buttons, mbYes | mbNo);
    EXPECT_EQ(GridCells(grid()), before);
    EXPECT_EQ(table()->NetGainLine(), line);

    // Answered Yes: the discount for the parcel, the losses on the active asset's gain, and the
    // note beside the net capital gain.
    dialogs.queueAnswer(mrYes);
    key(Qt::Key_Space);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, std::string(kLowestChoicesQuestion));
    EXPECT_EQ(grid()->Cells(ccMethod, parcel), "Discount");
    EXPECT_EQ(grid()->ShownCell(ccOtherApplied, parcel), "");
    EXPECT_EQ(grid()->ShownCell(ccOtherApplied, shop), "1000");
    EXPECT_EQ(grid()->Cells(ccNetGain, parcel).trimmed(), "750.00");
    EXPECT_EQ(table()->State().netCapitalGain, 750);
    EXPECT_EQ(table()->LossesGrid()->Cells(2, 1), "0") << "no earlier other losses left";
    EXPECT_EQ(table()->NetGainLine().toStdString(), Line("$750", ParcelBesideAnActiveGainLowest()));
    // A screen reader reads the note with the line.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(child<TTextLbl>("TextLbl2"))
                  ->text(QAccessible::Description)
                  .toStdString(),
              LowestChoicesNote(ParcelBesideAnActiveGainLowest()));
}

// Alt+F presses the lowest button; its letter is no other control's on the screen or the frame.
TEST_F(ChoiceScreenTest, TheLowestButtonsAcceleratorIsItsOwn) {
    ParcelBesideAnActiveGain();
    start(2103);
    auto* lowest = child<QPushButton>("LowestBtn");
    ASSERT_NE(lowest, nullptr);
    EXPECT_EQ(lowest->text().remove(QLatin1Char('&')).toStdString(), kLowestChoicesCaption);
    const QKeySequence mnemonic = QKeySequence::mnemonic(lowest->text());
    EXPECT_EQ(mnemonic, QKeySequence(Qt::ALT | Qt::Key_F));
    for (QAbstractButton* other : frame->findChildren<QAbstractButton*>()) {
        if (other == lowest) continue;
        SCOPED_TRACE(other->objectName().toStdString());
        EXPECT_NE(QKeySequence::mnemonic(other->text()), mnemonic);
    }

    // The button clicks itself a moment after the key, as a click shows.
    enterGrid();
    dialogs.queueAnswer(mrYes);
    key(Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.empty(); }));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, std::string(kLowestChoicesQuestion));
    EXPECT_EQ(table()->NetGainLine().toStdString(), Line("$750", ParcelBesideAnActiveGainLowest()));
}

// The note stands while the table stays as the lowest left it (a cell passed through, a button
// that finds nothing to change) and goes as soon as a typed cell or another button changes it.
TEST_F(ChoiceScreenTest, TheNoteOnTheLowestGoesWhenTheTableChanges) {
    ParcelBesideAnActiveGain();
    const std::string noted = Line("$750", ParcelBesideAnActiveGainLowest());
    struct Case {
        const char* change;
        std::function<void()> make;
        std::string line;
    };
    const Case cases[] = {
        {"the loss applied to the active asset's gain passed through, written again with cents",
         [this] {
             enterGrid();
             ASSERT_TRUE(grid()->MoveTo(ccOtherApplied, rowOf("Shop")));
             key(Qt::Key_Tab);
             EXPECT_EQ(grid()->Cells(ccOtherApplied, rowOf("Shop")), "1000.00");
         },
         noted},
        {"less loss typed on the active asset's gain: 750 + 600",
         [this] {
             enterGrid();
             ASSERT_TRUE(grid()->MoveTo(ccOtherApplied, rowOf("Shop")));
             QTest::keyClicks(QApplication::focusWidget(), "400");
             key(Qt::Key_Tab);
         },
         "Your net capital gain is $1,350"},
        {"the defer button, with nothing to defer",
         [this] {
             dialogs.queueAnswer(mrYes);
             QTest::mouseClick(child<QPushButton>("DeferBtn"), Qt::LeftButton);
         },
         noted},
        {"the apply-all button: the discount kept, the losses moved onto the parcel, "
         "(1,500 - 1,000) / 2 + 1,000",
         [this] {
             dialogs.queueAnswer(mrYes);
             QTest::mouseClick(child<QPushButton>("ApplyLossBtn"), Qt::LeftButton);
         },
         "Your net capital gain is $1,250"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        start(2103);
        dialogs.queueAnswer(mrYes);
        QTest::mouseClick(child<QPushButton>("LowestBtn"), Qt::LeftButton);
        ASSERT_EQ(table()->NetGainLine().toStdString(), noted);
        c.make();
        EXPECT_EQ(table()->NetGainLine().toStdString(), c.line);
    }

    // Found, and the table left forward: the choices reach their events.
    start(2103);
    dialogs.queueAnswer(mrYes);
    QTest::mouseClick(child<QPushButton>("LowestBtn"), Qt::LeftButton);
    press(frame->NextButton());
    ASSERT_EQ(shown(), 2104);
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldStr(tag::event::kMethodChoice), "Discount");
    ZeroFillScratchTags();
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 750);
}

// The five buttons, the net capital gain line and the note on the lowest under it stand apart
// inside the panel the screen is made for, every text within its control, at the frame's size and
// at twice it.
TEST_F(ChoiceScreenTest, TheButtonsAndTheNoteFitAtOnceAndTwiceTheSize) {
    ParcelBesideAnActiveGain();
    const QSize design = frame->ClientSize();
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        frame->Rescale(design.width() * scale, design.height() * scale);
        start(2103);
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
        ASSERT_EQ(frame->ScaleNum(), frame->ScaleDen() * scale);
        dialogs.queueAnswer(mrYes);
        QTest::mouseClick(child<QPushButton>("LowestBtn"), Qt::LeftButton);

        const QRect panel(QPoint(0, 0), design * scale);
        std::vector<QWidget*> parts;
        for (const char* name :
             {"TextLbl1", "XGrid1", "XGrid2", "ApplyLossBtn", "DeferBtn", "MethodBtn", "RestartBtn",
              "LowestBtn", "TextLbl2", "LowestNoteLbl"})
            parts.push_back(child<QWidget>(name));
        for (std::size_t i = 0; i < parts.size(); ++i) {
            ASSERT_NE(parts[i], nullptr);
            SCOPED_TRACE(parts[i]->objectName().toStdString());
            EXPECT_TRUE(parts[i]->isVisible());
            EXPECT_TRUE(panel.contains(parts[i]->geometry()));
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(parts[i]->geometry().intersects(parts[j]->geometry()))
                    << parts[j]->objectName().toStdString();
        }
        for (QPushButton* button : screen()->findChildren<QPushButton*>()) {
            SCOPED_TRACE(button->objectName().toStdString());
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect inside =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const QStringList lines = button->text().remove(QLatin1Char('&')).split('\n');
            for (const QString& line : lines)
                EXPECT_LE(button->fontMetrics().horizontalAdvance(line), inside.width())
                    << line.toStdString();
            EXPECT_LE(button->fontMetrics().height() * lines.size(), inside.height());
        }
        auto* line = child<TTextLbl>("TextLbl2");
        for (const markup::Run& run : line->LastLayout().runs)
            EXPECT_LE(run.x + run.width, line->width()) << run.text;
        EXPECT_LE(line->LastLayout().endY, line->height());
        auto* note = child<QLabel>("LowestNoteLbl");
        EXPECT_FALSE(note->text().isEmpty());
        EXPECT_LE(note->heightForWidth(note->width()), note->height())
            << note->text().toStdString();
    }
}

// The screen before the table warns that the apply-all choices may not give the lowest gain and
// names the button that finds it, by its caption.
TEST_F(ChoiceScreenTest, TheNoteBeforeTheTableNamesTheLowestButton) {
    start(2102);
    auto* question = dynamic_cast<TQuestionScreen*>(screen());
    ASSERT_NE(question, nullptr);
    ASSERT_NE(question->NotesLabel(), nullptr);
    const std::string notes = question->NotesLabel()->plainText().simplified().toStdString();
    EXPECT_NE(notes.find("When Tesmo makes all choices, it may not in all circumstances calculate "
                         "the lowest possible gain"),
              std::string::npos)
        << notes;
    EXPECT_NE(notes.find("with the \"" + std::string(kLowestChoicesCaption) +
                         "\" button on the next screen."),
              std::string::npos)
        << notes;
}

TEST_F(ChoiceScreenTest, TheAmountsAreShownInWholeDollarsAlike) {
    StoreResult({.key = 1, .name = "Alpha", .type = "SN", .indexed = 5012, .discount = 5780});
    StoreResult({.key = 2, .name = "Beta", .type = "SN", .discount = 1001});
    SetFieldVal(tag::kUnappliedOtherLosses, 100);
    start(2103);
    const int alpha = rowOf("Alpha"), beta = rowOf("Beta");
    enterGrid();
    ASSERT_EQ(grid()->Col(), ccIndexed);
    key(Qt::Key_Tab); // the indexed gain is left
    ASSERT_EQ(grid()->Col(), ccDiscount);
    EXPECT_EQ(grid()->Cells(ccIndexed, alpha), "5012.00") << "the cell as the check wrote it";
    EXPECT_EQ(grid()->Cells(ccDiscount, beta).trimmed(), "1001") << "a cell not entered";
    EXPECT_EQ(grid()->ShownCell(ccIndexed, alpha), "5012");
    EXPECT_EQ(grid()->ShownCell(ccDiscount, alpha), "5780");
    EXPECT_EQ(grid()->ShownCell(ccDiscount, beta), "1001");
    // The totals row shows its amounts alike.
    auto* totals = child<TXGridTotals>("XGridTotals1");
    ASSERT_NE(totals, nullptr);
    EXPECT_EQ(totals->displayedText(ccIndexed).trimmed(), "5012");
    EXPECT_EQ(totals->displayedText(ccDiscount).trimmed(), "6781");
    // An applied loss typed with cents is shown as the table counts it.
    while (grid()->Col() != ccOtherApplied)
        key(Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "99.5");
    key(Qt::Key_Tab);
    EXPECT_EQ(grid()->Cells(ccOtherApplied, alpha), "99.50");
    EXPECT_EQ(grid()->ShownCell(ccOtherApplied, alpha), "100");
    EXPECT_EQ(grid()->ShownCell(ccType, alpha), "SN");
}

TEST_F(ChoiceScreenTest, PrevLeavesTheTableUncheckedAndStoresNothing) {
    TwoParcels();
    start(2102);
    press(frame->NextButton());
    ASSERT_EQ(shown(), 2103);
    grid()->setCells(ccMethod, rowOf("Alpha"), QStringLiteral("Discount"));
    dialogs.messages.clear();
    press(frame->PrevButton());
    EXPECT_EQ(shown(), 2102);
    EXPECT_TRUE(dialogs.messages.empty());
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldStr(tag::event::kMethodChoice), "");
    ZeroFillScratchTags();
}

// Elections on an active asset's discount gain: above half the gain is refused on Next with
// the cursor on the election; within it, stored with the event and totalled into the schedule.
TEST_F(ChoiceScreenTest, ConcessionElectionsAreCheckedStoredAndTotalled) {
    StoreResult({.key = 1, .name = "Shop", .type = "SA", .discount = 2000, .method = "Discount"});
    start(2103);
    press(frame->NextButton());
    ASSERT_EQ(shown(), 2104);
    auto* elections = dynamic_cast<TQCGT_64*>(screen());
    ASSERT_NE(elections, nullptr);
    TXGrid* g = elections->Grid();
    EXPECT_EQ(g->Cells(ecDescription, 1).left(4), "Shop");
    EXPECT_EQ(g->Cells(ecDiscount, 1).trimmed(), "1000.00");
    g->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(g->Col(), ecReduction);
    QTest::keyClicks(g->inplaceEditor(), "600");
    key(Qt::Key_Tab);
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2104);
    EXPECT_EQ(dialogs.messages.back().text, std::string(kReductionTooHigh));
    QApplication::processEvents();
    EXPECT_EQ(g->Col(), ecReduction);
    EXPECT_EQ(g->Row(), 1);
    g->setCells(ecReduction, 1, QStringLiteral("500"));
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2105);
    EXPECT_EQ(ScheduleValue(tag::schedule::kActiveAssetReductionDiscount), 500);
    // 1000 after the discount, less the 500 reduction.
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 500);
}

TEST_F(ChoiceScreenTest, TheScheduleNamesEveryFieldAndEndsTheInterview) {
    StoreResult({.key = 1, .name = "Alpha", .type = "SN", .indexed = 1000, .method = "Indexed"});
    start(2103);
    press(frame->NextButton());
    for (int screen : {2104, 2105, 2106}) {
        ASSERT_EQ(shown(), screen);
        press(frame->NextButton());
    }
    ASSERT_EQ(shown(), 2107);
    auto* schedule = dynamic_cast<TQCGT_67*>(screen());
    ASSERT_NE(schedule, nullptr);
    TTaxEdit* shares = schedule->Field(tag::schedule::kNonActiveSharesIndex);
    ASSERT_NE(shares, nullptr);
    EXPECT_EQ(shares->accessibleName(),
              "Capital gains, Index method, shares and units in unit trusts");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(shares)->text(QAccessible::Name),
              shares->accessibleName());
    EXPECT_EQ(shares->NumValue(), 1000);
    EXPECT_TRUE(shares->isReadOnly());
    EXPECT_EQ(schedule->Field(tag::schedule::kNetGainTotal)->NumValue(), 1000);
    EXPECT_EQ(schedule->Field(tag::schedule::kDiscountNonActive)->accessibleName(),
              "CGT discount, Discount method, from non active assets");
    EXPECT_EQ(schedule->Field(tag::schedule::kLossesAppliedTotal)->accessibleName(),
              "Capital losses applied, Total, total capital losses applied");
    EXPECT_EQ(schedule->Field(tag::schedule::kCarriedOtherLosses)->accessibleName(),
              "Unapplied net capital losses carried forward, from all other CGT assets and "
              "other CGT events");
    // Every label of the schedule has one field with a caption of its own.
    std::set<QString> captions;
    int fields = 0;
    for (TTaxEdit* edit : schedule->findChildren<TTaxEdit*>()) {
        if (!edit->isVisibleTo(schedule)) continue;
        ++fields;
        EXPECT_FALSE(edit->accessibleName().isEmpty()) << edit->objectName().toStdString();
        EXPECT_TRUE(captions.insert(edit->accessibleName()).second)
            << edit->accessibleName().toStdString();
    }
    // Parts A (24), B (4), D (16), E (9), F (2), G (9), H (7), I (2), J (2), K (3).
    EXPECT_EQ(fields, 78);
    EXPECT_EQ(schedule->Headings().size(), 10u);
    EXPECT_EQ(schedule->Headings()[0]->plainText().simplified(),
              "Part A Capital gains from CGT assets and CGT events");
    // No scrip-for-scrip roll-over: the box is clear, and the user may tick it.
    QCheckBox* box = schedule->RollOverBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Roll-over chosen?");
    EXPECT_FALSE(box->isChecked());
    box->click();

    press(frame->NextButton());
    EXPECT_EQ(frame->FailedScreen(), 2201);
    EXPECT_FALSE(cgt::Run().InScreen);
    FetchRow(wkSchedule, 1);
    EXPECT_TRUE(FieldChecked(tag::schedule::kScripRollOverChosen));
    EXPECT_EQ(GetFieldVal(tag::schedule::kNetGainTotal), 1000);
    ZeroFillScratchTags();
}

// For keyboard and screen-reader users the schedule's fields take the focus, and leaving the
// last field of a Part brings the next Part into view.
TEST_F(ChoiceScreenTest, LeavingAPartBringsTheNextIntoViewForKeyboardUsers) {
    cgt::Run().AccessibilityMode = true;
    start(2107);
    auto* schedule = dynamic_cast<TQCGT_67*>(screen());
    ASSERT_NE(schedule, nullptr);
    TTaxEdit* last = schedule->Field(tag::schedule::kTotalGainsOther);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->focusPolicy(), Qt::StrongFocus);
    last->setFocus();
    QApplication::processEvents();
    key(Qt::Key_Tab);
    EXPECT_EQ(schedule->ScheduleArea()->verticalScrollBar()->value(), schedule->Headings()[1]->y());
    cgt::Run().AccessibilityMode = false;
}

// A whole interview from the first screen to the end, as a user with this return goes through
// it: unapplied losses of earlier years of $300 from collectables and $1,500 from other assets;
// two collectables, a painting bought on 01/07/2001 for $2,000 and sold on 01/02/2004 for
// $1,500 (a capital loss of $500) and a vase bought on 01/08/2002 for $1,000 and sold on
// 01/02/2004 for $1,600 (owned over a year, so a discount gain of $600, with no indexation after
// September 1999); and a parcel of shares worked out by hand in the manual table, indexed gain
// $5,012 and discount gain $5,780. Every choice is left to the make-all-choices button.
//
// By hand. Collectable losses available: 500 this year + 300 earlier = 800; the vase's 600 takes
// 600 of them (600 / 2 after losses: nil). Other losses: 1,500 earlier; the shares need a
// method: indexation gives 5,012 - 1,500 = 3,512, the discount (5,780 - 1,500) / 2 = 2,140, so
// the discount, with 1,500 applied. Net capital gain 2,140.
// Unapplied collectable losses: 600 applied > 500 of this year, so this year's are used up and
// 300 - 100 = 200 of the earlier ones are left; other losses: none left.
// Schedule: Part A shares discount 5,780, collectables discount 600 - 600 = 0; total discount
// 5,780 + 600 - 600 = 5,780 (tag 169). Part D: other losses applied to discount gains 1,500,
// none of this year: prior year 1,500. Part E: non-active discount 5,780 - 1,500 + 600 - 600 =
// 4,280; Part F: discount 2,140; Part H: net 4,280 - 2,140 = 2,140 (tag 174). Part I: 200 from
// collectables, 0 other (tag 175 = 200). The collectable loss stays out of Part B.
TEST_F(ChoiceScreenTest, AWholeInterviewEndsWithTheResultsWorkedByHand) {
    struct Collectable {
        const char *name, *acquired, *cost, *sold, *proceeds;
    };
    const Collectable collectables[] = {{"Painting", "01/07/2001", "2000", "01/02/2004", "1500"},
                                        {"Vase", "01/08/2002", "1000", "01/02/2004", "1600"}};
    int next = 0;
    start(2004);
    for (int step = 0; step < 80 && cgt::Run().InScreen; ++step) {
        const int now = shown();
        SCOPED_TRACE(now);
        if (now == 2005) {
            auto edits = screen()->findChildren<TTaxEdit*>();
            for (TTaxEdit* edit : edits) {
                const int tag = edit->property("fieldTag").toInt();
                if (tag == tag::kUnappliedCollectableLosses) type(edit, "300");
                if (tag == tag::kUnappliedOtherLosses) type(edit, "1500");
            }
        } else if (now == 2055) {
            auto* r = dynamic_cast<TQCGT_08*>(screen());
            ASSERT_NE(r, nullptr);
            const Collectable& c = collectables[next];
            type(r->DescEdit(), c.name);
            r->TypeTextComboBox()->SelectCode("A");
            type(r->DateofAcqEdit(), c.acquired);
        } else if (now == 2057) {
            const Collectable& c = collectables[next];
            TXGrid* g = child<TXGrid>("XGrid1");
            ASSERT_NE(g, nullptr);
            g->setCells(0, 1, QStringLiteral("1 - Purchase/Acquisition cost"));
            g->setCells(1, 1, QString::fromLatin1(c.acquired));
            g->setCells(3, 1, QStringLiteral("Purchase"));
            g->setCells(4, 1, QString::fromLatin1(c.cost));
        } else if (now == 2058) {
            const Collectable& c = collectables[next];
            type(child<TTaxEdit>("DateofCGTEventEdit"), c.sold);
            type(child<TTaxEdit>("CapitalProceedsEdit"), c.proceeds);
        } else if (now == 2059) {
            child<QCheckBox>("Q2NoCheckBox")->click();
        } else if (now == 2101) {
            TXGrid* g = child<TXGrid>("XGrid1");
            g->setCells(mcDescription, 1, QStringLiteral("BHP shares"));
            g->setCells(mcType, 1, QStringLiteral("SN"));
            g->setCells(mcIndexed, 1, QStringLiteral("5012"));
            g->setCells(mcDiscount, 1, QStringLiteral("5780"));
        } else if (now == 2103) {
            const int rows = grid()->RowCount() - 1;
            EXPECT_EQ(rows, 3);
            dialogs.queueAnswer(mrYes);
            QTest::mouseClick(child<QPushButton>("ApplyLossBtn"), Qt::LeftButton);
            EXPECT_EQ(grid()->Cells(ccMethod, rowOf("BHP")), "Discount");
            EXPECT_EQ(table()->NetGainLine(), "Your net capital gain is $2,140");
            EXPECT_EQ(table()->LossesGrid()->Cells(1, 1), "200");
        } else if (now == 2107) {
            auto* schedule = dynamic_cast<TQCGT_67*>(screen());
            ASSERT_NE(schedule, nullptr);
            namespace s = tag::schedule;
            const std::pair<int, double> labels[] = {
                {s::kNonActiveSharesDiscount, 5780},
                {s::kCollectablesDiscount, 0},
                {s::kTotalGainsDiscount, 5780},
                {s::kLossesOther, 0},
                {s::kLossesTotal, 0},
                {s::kCurrentLossesAppliedDiscount, 0},
                {s::kPriorLossesAppliedDiscount, 1500},
                {s::kLossesAppliedTotal, 1500},
                {s::kNonActiveAfterLossesDiscount, 4280},
                {s::kDiscountNonActive, 2140},
                {s::kNetGainDiscount, 2140},
                {s::kNetGainTotal, 2140},
                {s::kCarriedCollectableLosses, 200},
                {s::kCarriedOtherLosses, 0},
            };
            for (const auto& [label, value] : labels) {
                SCOPED_TRACE(label);
                ASSERT_NE(schedule->Field(label), nullptr);
                EXPECT_EQ(schedule->Field(label)->NumValue(), value);
            }
        }
        if (frame->YesButton()->isVisible()) {
            // Collectables: yes twice; every other class: no.
            const bool yes = (now == 2052 || now == 2053) || (now == 2061 && next < 1);
            if (now == 2061) ++next;
            press(yes ? frame->YesButton() : frame->NoButton());
        } else {
            press(frame->NextButton());
        }
        ASSERT_TRUE(!cgt::Run().InScreen || shown() != now || now == 2061)
            << "stuck: " << (dialogs.messages.empty() ? "" : dialogs.messages.back().text);
    }
    EXPECT_EQ(frame->FailedScreen(), 2201);
    EXPECT_FALSE(cgt::Run().InScreen);
    // The results the host reads.
    EXPECT_EQ(GetFieldVal(tag::kTotalCurrentYearGains), 5780);
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 2140);
    EXPECT_EQ(GetFieldVal(tag::kLossesCarriedForward), 200);
    EXPECT_EQ(GetFieldVal(tag::kTotalCurrentYearLosses), 500);
    // The screens the user saw after the collectables.
    const std::vector<std::int32_t>& history = cgt::Run().ScreenHistory;
    const std::vector<std::int32_t> tail(history.end() - 7, history.end());
    EXPECT_EQ(tail, (std::vector<std::int32_t>{2101, 2102, 2103, 2104, 2105, 2106, 2107}));
}

} // namespace
} // namespace cgt::test
