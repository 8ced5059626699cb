// The rights event (2075) and receipt (2097) screens driven through a real interview frame: the
// gain or loss on every change, the entry checks with their messages and focus, the roll-over
// questions, what Next stores and where it leads, and the worksheet rows of the events.

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

#include <string>

#include "cgt/screens/events/receipt_screens.h"
#include "controls/tax_edit.h"
#include "controls/type_ahead_combo.h"
#include "interview/child_form.h"
#include "interview/frame.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "support/screen_fixture.h"

namespace cgt::test {
namespace {

constexpr const char* kNoDescription = "Please enter a description for this receipt.";
constexpr const char* kNoAmount = "Please enter amount.";
constexpr const char* kNoRollOver =
    "You must advise if the gain or loss for this event can be deferred";
constexpr const char* kNoMarriage = "You must select either 'Yes' or 'No'.";
constexpr const char* kEarlyDate =
    "Check your date. You cannot enter a date earlier than 20/09/1985. \r\nAssets acquired "
    "before 20 September 1985 are generally not subject to CGT although there\r\nis an exception "
    "for some shares and trust interests.  If your asset falls within this exception,\r\nyou "
    "should manually calculate your capital gain or capital loss";

// The two screens: where each comes from, where Next leads and the worksheet of its rows.
struct Kind {
    int question; // the events question whose Yes leads to the screen
    int screen;
    int another; // the another-event question that Next leads to
    int worksheet;
};
constexpr Kind kRights{2073, 2075, 2081, 457};
constexpr Kind kReceipt{2096, 2097, 2098, 462};

// The value of `tag` in row `row` of a worksheet, or nullptr when the row has none.
const FieldEntry* RowItem(int worksheet, int row, int tag) {
    const Worksheet* sheet = WorksheetOf(worksheet);
    if (!sheet) return nullptr;
    for (std::uint32_t pos : sheet->rowPositions(static_cast<std::uint16_t>(row)))
        if (sheet->items()[pos].tag == tag) return &sheet->items()[pos].entry;
    return nullptr;
}
std::string RowText(int worksheet, int row, int tag) {
    const FieldEntry* e = RowItem(worksheet, row, tag);
    return e ? EntryDisplayText(*e) : std::string();
}
double RowNumber(int worksheet, int row, int tag) {
    const FieldEntry* e = RowItem(worksheet, row, tag);
    return e ? static_cast<double>(e->number()) : 0.0;
}

class ReceiptScreenTest : public ScreenTest {
protected:
    // A new module run in a new frame, for the next case of a table.
    void freshRun() {
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ResetModuleRun();
        dialogs.messages.clear();
        frame = std::make_unique<TFrameWnd>();
        frame->resize(900, 600);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    TTaxEdit* edit(const char* name) const { return child<TTaxEdit>(name); }
    QCheckBox* box(const char* name) const { return child<QCheckBox>(name); }
    void enter(const char* name, const char* text) {
        TTaxEdit* field = edit(name);
        ASSERT_NE(field, nullptr) << name;
        type(field, QString::fromLatin1(text));
    }
    void click(const char* name) {
        QCheckBox* b = box(name);
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
        QCoreApplication::processEvents();
    }
    double value(const char* name) const { return static_cast<double>(edit(name)->NumValue()); }
    // The description, the amounts and, on the rights screen, No to the roll-over question.
    void fillEvent(const Kind& kind, const char* desc, const char* proceeds, const char* costs) {
        enter("DescEdit", desc);
        enter("ProceedsEdit", proceeds);
        enter("CostsEdit", costs);
        if (kind.screen == kRights.screen) click("Q2NoCheckBox");
    }
    QString focused() const {
        QWidget* w = frame->focusWidget();
        return w ? w->objectName() : QString();
    }
};

class RightsEventTest : public ReceiptScreenTest {
protected:
    TQCGT_36a* rights() const { return dynamic_cast<TQCGT_36a*>(screen()); }
};

TEST_F(ReceiptScreenTest, GainOrLossAndDisposalResultAreStoredInTheEventsRow) {
    struct Case {
        const char* proceeds;
        const char* costs;
        double gain, loss;
        bool disposal; // proceeds above 0
    };
    const Case cases[] = {
        {"100", "150", 0, 50, true}, {"500", "120", 380, 0, true}, {"", "80", 0, 80, false},
        {"0", "40", 0, 40, false},   {"1000", "", 1000, 0, true},  {"75", "74", 1, 0, true},
    };
    for (const Kind& kind : {kRights, kReceipt}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << kind.screen << " " << c.proceeds << "/" << c.costs);
            freshRun();
            start(kind.screen);
            ASSERT_EQ(shown(), kind.screen);
            fillEvent(kind, "Lease surrender", c.proceeds, c.costs);
            EXPECT_DOUBLE_EQ(value("GainEdit"), c.gain);
            EXPECT_DOUBLE_EQ(value("LossEdit"), c.loss);

            press(frame->NextButton());
            EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
            EXPECT_EQ(shown(), kind.another);
            EXPECT_EQ(RowText(kind.worksheet, 1, 710), "Lease Surrender"); // words capitalised
            EXPECT_DOUBLE_EQ(RowNumber(kind.worksheet, 1, 1138), c.gain);
            EXPECT_DOUBLE_EQ(RowNumber(kind.worksheet, 1, 1141), c.loss);
            EXPECT_EQ(RowText(kind.worksheet, 1, 1196), c.disposal ? "X" : "");
            // The rights screen has its own type, which defaults to ON; a receipt is of
            // type ON only when it has proceeds.
            const bool typed = kind.screen == kRights.screen || c.disposal;
            EXPECT_EQ(RowText(kind.worksheet, 1, 714), typed ? "ON" : "");
            EXPECT_EQ(WorksheetOf(kind.worksheet)->rowKeys().size(), 1u);
        }
    }
}

TEST_F(ReceiptScreenTest, EveryChangeOfTheWatchedFieldsRecomputes) {
    for (const Kind& kind : {kRights, kReceipt}) {
        SCOPED_TRACE(kind.screen);
        start(kind.screen);
        enter("ProceedsEdit", "100");
        enter("CostsEdit", "30");
        ASSERT_DOUBLE_EQ(value("GainEdit"), 70);
        for (const char* name : {"DescEdit", "DateofEventEdit", "ProceedsEdit", "CostsEdit"}) {
            SCOPED_TRACE(name);
            edit("GainEdit")->setNumValue(1); // out of date
            edit("LossEdit")->setNumValue(1);
            TTaxEdit* field = edit(name);
            const QString before = field->text();
            field->setText(QStringLiteral("01/07/2003"));
            field->setText(before);
            EXPECT_DOUBLE_EQ(value("GainEdit"), 70);
            EXPECT_DOUBLE_EQ(value("LossEdit"), 0);
        }
        EXPECT_FALSE(edit("DateofEventEdit")->isVisible());
        EXPECT_TRUE(edit("GainEdit")->isReadOnly());
        EXPECT_TRUE(edit("LossEdit")->isReadOnly());
    }
}

TEST_F(RightsEventTest, EntryChecksShowTheirMessageAndFocusTheirField) {
    enum Answer { none, yes, no };
    struct Case {
        const char* desc;
        const char* proceeds;
        const char* costs;
        Answer rollOver;
        const char* message; // nullptr: the screen is left for 2081
        const char* focus;
    };
    const Case cases[] = {
        {"", "100", "", none, kNoDescription, "DescEdit"},
        {"Option", "", "", none, kNoAmount, "ProceedsEdit"},
        {"Option", "120", "120", none, kNoAmount, "ProceedsEdit"},
        {"Option", "100", "", none, kNoRollOver, "Q2YesCheckBox"},
        {"Option", "", "60", none, kNoRollOver, "Q2YesCheckBox"},
        {"Option", "100", "", yes, kNoMarriage, "Q3YesCheckBox"},
        {"Option", "100", "", no, nullptr, nullptr},
        // Without a description only a gain is checked.
        {"", "", "60", none, nullptr, nullptr},
        {"", "", "", none, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "'" << c.desc << "' " << c.proceeds << "/" << c.costs << " " << c.rollOver);
        freshRun();
        start(2075);
        enter("DescEdit", c.desc);
        enter("ProceedsEdit", c.proceeds);
        enter("CostsEdit", c.costs);
        if (c.rollOver == yes) click("Q2YesCheckBox");
        if (c.rollOver == no) click("Q2NoCheckBox");
        press(frame->NextButton());
        if (!c.message) {
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_EQ(shown(), 2081);
            continue;
        }
        ASSERT_EQ(dialogs.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(dialogs.messages[0].kind, mkInformation);
        EXPECT_EQ(shown(), 2075);
        EXPECT_EQ(cgt::Run().CurrentIndex, 75);
        EXPECT_EQ(focused(), QString::fromLatin1(c.focus));
    }
}

TEST_F(ReceiptScreenTest, EntryChecksOfTheReceiptShowTheirMessageAndFocusTheirField) {
    struct Case {
        const char* desc;
        const char* proceeds;
        const char* costs;
        const char* date; // the hidden event date
        const char* message;
        const char* focus;
    };
    const Case cases[] = {
        {"", "100", "", "", kNoDescription, "DescEdit"},
        {"Forfeited deposit", "", "", "", kNoAmount, "ProceedsEdit"},
        {"Forfeited deposit", "", "", "01/01/1980", kNoAmount, "ProceedsEdit"},
        {"Forfeited deposit", "100", "", "19/09/1985", kEarlyDate, "ProceedsEdit"},
        {"Forfeited deposit", "", "50", "01/01/1980", kEarlyDate, "ProceedsEdit"},
        {"Forfeited deposit", "100", "", "20/09/1985", nullptr, nullptr},
        {"Forfeited deposit", "100", "", "", nullptr, nullptr},
        {"", "", "", "", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "'" << c.desc << "' " << c.proceeds << "/" << c.costs << " " << c.date);
        freshRun();
        start(2097);
        enter("DescEdit", c.desc);
        enter("ProceedsEdit", c.proceeds);
        enter("CostsEdit", c.costs);
        edit("DateofEventEdit")->SetTextValue(QString::fromLatin1(c.date));
        press(frame->NextButton());
        if (!c.message) {
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_EQ(shown(), 2098);
            continue;
        }
        ASSERT_EQ(dialogs.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(shown(), 2097);
        EXPECT_EQ(focused(), QString::fromLatin1(c.focus));
    }
}

TEST_F(ReceiptScreenTest, AReopenedReceiptWithAnEarlyEventDateIsChecked) {
    SetFieldStr(710, "Forfeited deposit");
    SetFieldVal(1136, 900);
    SetFieldStr(739, "01/01/1980");
    frame->PutWorksheetRow(462, 1);
    frame->ReopenRow = true;
    frame->ReopenRowKey = 1;

    start(2097);
    EXPECT_EQ(frame->CurrentRow(), 1);
    EXPECT_FALSE(frame->ReopenRow) << "cleared when shown";
    EXPECT_EQ(edit("DescEdit")->text(), "Forfeited deposit");
    EXPECT_DOUBLE_EQ(value("GainEdit"), 900);
    press(frame->NextButton());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{kEarlyDate});
    EXPECT_EQ(shown(), 2097);
}

TEST_F(RightsEventTest, RollOverQuestionsAreExclusivePairsAndTheSecondFollowsTheFirst) {
    start(2075);
    auto state = [this] {
        std::string s;
        for (const char* name : {"Q2YesCheckBox", "Q2NoCheckBox", "Q3YesCheckBox", "Q3NoCheckBox"})
            s += box(name)->isChecked() ? 'X' : '-';
        s += box("Q3YesCheckBox")->isEnabled() ? " on" : " off";
        EXPECT_EQ(box("Q3YesCheckBox")->isEnabled(), box("Q3NoCheckBox")->isEnabled());
        return s;
    };
    EXPECT_EQ(state(), "---- off");
    const std::pair<const char*, const char*> steps[] = {
        {"Q2YesCheckBox", "X--- on"},  {"Q3YesCheckBox", "X-X- on"}, {"Q3NoCheckBox", "X--X on"},
        {"Q2NoCheckBox", "-X-- off"},  {"Q2YesCheckBox", "X--- on"}, {"Q3YesCheckBox", "X-X- on"},
        {"Q2YesCheckBox", "--X- off"}, // unanswered: disabled, the answer kept
        {"Q2YesCheckBox", "X-X- on"},
    };
    for (const auto& [name, expected] : steps) {
        click(name);
        EXPECT_EQ(state(), expected) << "after " << name;
    }

    enter("DescEdit", "Option");
    enter("ProceedsEdit", "100");
    press(frame->NextButton());
    ASSERT_EQ(shown(), 2081);
    EXPECT_EQ(RowText(457, 1, 720), "X");
    EXPECT_EQ(RowText(457, 1, 721), "");
    EXPECT_EQ(RowText(457, 1, 722), "X");
    EXPECT_EQ(RowText(457, 1, 723), "");

    // Shown again, the answers and the enabled second question come back.
    frame->ReopenRow = true;
    frame->ReopenRowKey = 1;
    start(2075);
    EXPECT_EQ(edit("DescEdit")->text(), "Option");
    EXPECT_EQ(state(), "X-X- on");
}

TEST_F(RightsEventTest, LeavingTheDescriptionWithoutATypeChoosesTheNonActiveType) {
    struct Case {
        const char* typed; // keys typed in the type list first
        const char* desc;
        const char* code;
    };
    const Case cases[] = {{"", "Option", "ON"}, {"oa", "Option", "OA"}, {"", "", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        freshRun();
        start(2075);
        TTypeAheadComboBox* type = rights()->TypeCombo();
        ASSERT_EQ(type->count(), 2);
        EXPECT_EQ(type->itemText(0), "OA - Active asset - Other asset or CGT event");
        EXPECT_EQ(type->itemText(1), "ON - Non-active asset - Other asset or CGT event");
        type->setFocus();
        QTest::keyClicks(type, QString::fromLatin1(c.typed));
        enter("DescEdit", c.desc);
        EXPECT_EQ(type->Code(), QString::fromLatin1(c.code));
    }
}

TEST_F(ReceiptScreenTest, NextGoesOnlyFromTheNextButton) {
    for (const Kind& kind : {kRights, kReceipt}) {
        SCOPED_TRACE(kind.screen);
        freshRun();
        start(kind.screen);
        fillEvent(kind, "Lease surrender", "100", "");
        // A navigator selection tells the screen of the topic: nothing moves or is set.
        frame->CurrentChildForm()->Next(Answer::Topic);
        EXPECT_EQ(cgt::Run().CurrentIndex, kind.screen % 100);
        EXPECT_FALSE(FieldChecked(1196));
        EXPECT_EQ(GetFieldStr(714), "");
    }
}

TEST_F(ReceiptScreenTest, AnotherEventOpensTheNextRow) {
    for (const Kind& kind : {kRights, kReceipt}) {
        SCOPED_TRACE(kind.screen);
        freshRun();
        start(kind.question);
        press(frame->YesButton());
        ASSERT_EQ(shown(), kind.screen);
        EXPECT_EQ(frame->CurrentRow(), 1);
        fillEvent(kind, "First", "300", "100");
        press(frame->NextButton());
        ASSERT_EQ(shown(), kind.another);

        press(frame->YesButton());
        ASSERT_EQ(shown(), kind.screen);
        EXPECT_EQ(frame->CurrentRow(), 2);
        EXPECT_TRUE(edit("DescEdit")->text().isEmpty());
        EXPECT_DOUBLE_EQ(value("GainEdit"), 0);
        fillEvent(kind, "Second", "40", "90");
        press(frame->NextButton());
        ASSERT_EQ(shown(), kind.another);
        EXPECT_TRUE(dialogs.messages.empty());

        EXPECT_EQ(RowText(kind.worksheet, 1, 710), "First");
        EXPECT_DOUBLE_EQ(RowNumber(kind.worksheet, 1, 1138), 200);
        EXPECT_EQ(RowText(kind.worksheet, 2, 710), "Second");
        EXPECT_DOUBLE_EQ(RowNumber(kind.worksheet, 2, 1141), 50);
        EXPECT_EQ(GetFieldType(751 + kind.worksheet), dtWorksheet);
    }
}

TEST_F(ReceiptScreenTest, PrevLeavesWithoutTheEntryChecks) {
    for (const Kind& kind : {kRights, kReceipt}) {
        SCOPED_TRACE(kind.screen);
        freshRun();
        start(kind.question);
        press(frame->YesButton());
        ASSERT_EQ(shown(), kind.screen);
        enter("ProceedsEdit", "100"); // no description: refused by Next
        press(frame->NextButton());
        ASSERT_EQ(dialogs.texts(), std::vector<std::string>{kNoDescription});
        dialogs.messages.clear();

        press(frame->PrevButton());
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(shown(), kind.question);
    }
}

} // namespace
} // namespace cgt::test
