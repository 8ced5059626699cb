// The interview worked from the keyboard alone, on the module's own screens: a visible focus
// that starts on the screen, Enter for the default button, the navigator, the tab order, F1,
// Prev, the pick list's Delete and notes broken by the label's width.

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "cgt/screens/flow/question_screen.h"
#include "cgt/screens/flow/screen_flow.h"
#include "controls/focus_ring.h"
#include "controls/help_service.h"
#include "controls/text_label.h"
#include "controls/xgrid.h"
#include "interview/frame.h"
#include "interview/navigator_frame.h"
#include "module/main_form.h"
#include "module/module_run.h"
#include "module_test_support.h"
#include "records/choice_fixture.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"
#include "support/scripted_dialogs.h"
#include "ui_frame.h"

namespace cgt::test {
namespace {

constexpr const char* kIdentifier = "123 456 782";

class RecordingHelp : public HelpService {
public:
    RecordingHelp() { SetHelpService(this); }
    ~RecordingHelp() override { SetHelpService(nullptr); }
    void ShowContext(int context) override { contexts.push_back(context); }
    void ShowContents() override {}
    void SetHelpFile(const std::string& name) override { file = name; }
    std::string HelpFile() const override { return file; }
    std::vector<int> contexts;
    std::string file;
};

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("return.TAX")).toStdString();
    }
    void TearDown() override { UnloadModule(); }

    // The module run on `screen`, its window active.
    void start(int screen, const std::function<void()>& fill = {}) {
        WriteReturn(path_, kIdentifier, fill);
        ModuleArguments args;
        args.appHandle = reinterpret_cast<std::uintptr_t>(QCoreApplication::instance());
        args.hostWindow = reinterpret_cast<std::uintptr_t>(&host_);
        args.dataPath = path_;
        args.identifier = kIdentifier;
        args.startScreen = screen;
        args.width = 800;
        args.height = 600;
        RunModule(args);
        settle();
        form()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form()));
        settle();
    }
    TMainForm* form() const { return Module().MainForm.data(); }
    TFrameWnd* frame() const { return form()->Frame(); }
    static QWidget* focus() { return QApplication::focusWidget(); }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focus() ? focus() : form(), Qt::Key(k), modifiers);
        settle();
    }
    static void settle() {
        for (int i = 0; i < 4; ++i)
            QCoreApplication::processEvents();
    }
    static int shown() { return cgt::Run().CurrentScreen; }
    template <class T> T* child(const char* name) const {
        return frame()->CurrentScreenWidget()->findChild<T*>(QString::fromLatin1(name));
    }

    ScriptedDialogs dialogs_;
    HostObject host_;
    QTemporaryDir dir_;
    std::string path_;
};

TEST_F(KeyboardTest, TheFocusStartsOnTheScreenAndAlwaysShows) {
    start(2009); // the registration: its description field first
    auto* ring = form()->findChild<TFocusRing*>();
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(focus(), child<QLineEdit>("DescEdit"));
    for (int i = 0; i < 6; ++i) {
        QWidget* now = focus();
        ASSERT_NE(now, nullptr);
        SCOPED_TRACE(now->objectName().toStdString());
        EXPECT_EQ(ring->Target(), now);
        const QRect around(ring->mapTo(form(), QPoint(0, 0)), ring->size());
        const QRect control(now->mapTo(form(), QPoint(0, 0)), now->size());
        EXPECT_TRUE(around.contains(control));
        EXPECT_FALSE(control.contains(around));
        key(Qt::Key_Tab);
    }
}

TEST_F(KeyboardTest, EnterPressesNextOrYesAndSpaceThePushButton) {
    start(2004);
    EXPECT_EQ(focus(), frame()->NextButton());
    key(Qt::Key_Return);
    EXPECT_EQ(shown(), 2005);
    key(Qt::Key_Enter, Qt::KeypadModifier); // from the amount field the screen shows first
    EXPECT_EQ(shown(), 2088);
    key(Qt::Key_Return);
    ASSERT_EQ(shown(), 2006);
    EXPECT_EQ(focus(), frame()->YesButton());
    key(Qt::Key_Return); // a question: Yes
    EXPECT_EQ(shown(), 2007);
    key(Qt::Key_Tab); // to No
    ASSERT_EQ(focus(), frame()->NoButton());
    key(Qt::Key_Space);
    EXPECT_EQ(shown(), 2018);
}

TEST_F(KeyboardTest, EnterLeavesAFieldThatRefusesItsValueAsItIs) {
    start(2009);
    auto* date = child<QLineEdit>("DateofAcqEdit");
    date->setFocus();
    QTest::keyClicks(date, "310204"); // a date that does not exist
    key(Qt::Key_Return);
    EXPECT_EQ(shown(), 2009);
    ASSERT_FALSE(dialogs_.messages.empty());
    EXPECT_EQ(dialogs_.messages.back().text, "The date 31/02/2004 does not exist.");
}

TEST_F(KeyboardTest, TheNavigatorIsReachedWithF6AndWorkedWithTheArrowsAndEnter) {
    start(2004);
    QTreeWidget* tree = frame()->Navigator()->navigatorTreeView();
    for (int i = 0; i < 4 && focus() != tree; ++i)
        key(Qt::Key_F6);
    ASSERT_EQ(focus(), tree);
    key(Qt::Key_Down); // moving only highlights
    key(Qt::Key_Down);
    EXPECT_EQ(shown(), 2004);
    key(Qt::Key_Return);
    EXPECT_EQ(shown(), 2088) << "the third topic: ceasing to be a resident";
    // Shift+F6 goes back the other way round.
    ASSERT_TRUE(focus());
    key(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_NE(focus(), nullptr);
}

TEST_F(KeyboardTest, TabFromTheLastFieldReachesTheFramesButtonsBeforeTheToolBar) {
    start(2009);
    auto* date = child<QLineEdit>("DateofAcqEdit");
    date->setFocus();
    settle();
    key(Qt::Key_Tab);
    ASSERT_NE(focus(), nullptr);
    EXPECT_TRUE(frame()->ui().BtnPanel->isAncestorOf(focus()))
        << focus()->objectName().toStdString();
}

TEST_F(KeyboardTest, F1OpensTheScreensTopicOnAScreenWithoutFields) {
    RecordingHelp help;
    start(2017);
    key(Qt::Key_F1);
    EXPECT_EQ(help.contexts, std::vector<int>{3});
}

TEST_F(KeyboardTest, PrevIsOfferedOnlyWithSomewhereToGoBack) {
    start(2004);
    EXPECT_FALSE(frame()->PrevButton()->isEnabled());
    key(Qt::Key_Return);
    ASSERT_EQ(shown(), 2005);
    EXPECT_TRUE(frame()->PrevButton()->isEnabled());
    frame()->PrevButton()->click();
    settle();
    EXPECT_EQ(shown(), 2004);
    EXPECT_FALSE(frame()->PrevButton()->isEnabled());
}

TEST_F(KeyboardTest, DeleteIsOfferedForRowsOnlyNotForTheLineThatCreatesOne) {
    start(2009, [] {
        SetFieldStr(tag::event::kName, "Alpha");
        SetFieldStr(tag::event::kAssetType, "SN");
        PutRow(wkShares, 1);
    });
    QListWidget* list = frame()->PickListBox();
    QPushButton* remove = frame()->ui().btnRemove;
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 1) << "a new row after Alpha";
    EXPECT_FALSE(remove->isEnabled());
    list->setFocus();
    key(Qt::Key_Up);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(remove->isEnabled());
}

TEST_F(KeyboardTest, NotesAreBrokenByTheWidthOfTheirLabel) {
    start(2004);
    auto* screen = dynamic_cast<TQuestionScreen*>(frame()->CurrentScreenWidget());
    ASSERT_NE(screen, nullptr);
    TTextLbl* notes = screen->NotesLabel();
    ASSERT_NE(notes, nullptr);
    // Inside the screen, and the longest plain line fills most of the label.
    EXPECT_LE(notes->x() + notes->width(), frame()->CurrentScreenWidget()->width());
    const QFontMetrics metrics(notes->font());
    int widest = 0;
    for (const QString& line : notes->Text()) {
        if (line.contains(QLatin1Char('<'))) continue;
        widest = std::max(widest, metrics.horizontalAdvance(line));
        EXPECT_LE(metrics.horizontalAdvance(line), notes->width()) << line.toStdString();
    }
    EXPECT_GT(widest, notes->width() * 4 / 5);
}

// At the host's 800 x 600 every question and note of the path fits the width of its label.
TEST_F(KeyboardTest, EveryQuestionFitsItsLabelAtTheHostsSize) {
    start(2004);
    for (const ScreenRow& row : QuestionTable()) {
        SCOPED_TRACE(row.screen);
        frame()->JumpTo(row.screen);
        settle();
        auto* screen = dynamic_cast<TQuestionScreen*>(frame()->CurrentScreenWidget());
        ASSERT_NE(screen, nullptr);
        for (TTextLbl* label : {screen->QuestionLabel(), screen->NotesLabel()}) {
            if (!label) continue;
            EXPECT_LE(label->x() + label->width(), screen->width());
            QFont font = label->font(); // questions are bold, notes are not
            font.setBold(label == screen->QuestionLabel());
            const QFontMetrics metrics(font);
            // The label draws its text at the screen's scale; the metrics are those of its font.
            const int unscaled = (label->width() * frame()->ScaleDen() + frame()->ScaleNum() - 1) /
                                 frame()->ScaleNum();
            for (const QString& line : label->plainTextLines())
                EXPECT_LE(metrics.horizontalAdvance(line.trimmed()), unscaled)
                    << line.toStdString();
        }
    }
}

// On the choice table, F6 leaves the table for its five buttons, and Shift+F6 on any of them
// comes back to the table; F6 on a button goes on to the frame's next pane.
TEST_F(KeyboardTest, ShiftF6OnAButtonOfTheChoiceTableGoesBackToTheTable) {
    start(2103, [] {
        EventResult alpha;
        alpha.name = "Alpha";
        alpha.indexed = 100;
        alpha.discount = 300;
        StoreResult(alpha);
    });
    ASSERT_EQ(shown(), 2103);
    QWidget* screen = frame()->CurrentScreenWidget();
    auto* grid = screen->findChild<TXGrid*>(QStringLiteral("XGrid1"));
    ASSERT_NE(grid, nullptr);
    auto inGrid = [&] { return focus() && grid->isAncestorOf(focus()); };
    for (const char* name : {"ApplyLossBtn", "DeferBtn", "MethodBtn", "RestartBtn", "LowestBtn"}) {
        grid->setFocus(Qt::TabFocusReason);
        settle();
        ASSERT_TRUE(inGrid());
        key(Qt::Key_F6);
        ASSERT_EQ(focus(), screen->findChild<QPushButton*>(QStringLiteral("ApplyLossBtn")));
        while (focus()->objectName() != QLatin1String(name))
            key(Qt::Key_Tab);
        key(Qt::Key_F6, Qt::ShiftModifier);
        EXPECT_TRUE(inGrid()) << name;
        EXPECT_EQ(grid->Row(), 1);
    }
    screen->findChild<QPushButton*>(QStringLiteral("MethodBtn"))->setFocus(Qt::TabFocusReason);
    settle();
    key(Qt::Key_F6);
    ASSERT_NE(focus(), nullptr);
    EXPECT_FALSE(screen->isAncestorOf(focus())) << focus()->objectName().toStdString();
}

// At the host's 800 x 600 the choice table shows every control whole, the lowest net capital
// gain's button and its note under the table included.
TEST_F(KeyboardTest, TheChoiceTableFitsTheHostsSize) {
    start(2103, [] {
        StoreResult({.key = 1, .name = "Parcel", .indexed = 1000, .discount = 1500});
        StoreResult({.key = 2, .name = "Shop", .type = "SA", .other = 1000});
        SetFieldVal(tag::kUnappliedOtherLosses, 1000);
    });
    ASSERT_EQ(shown(), 2103);
    QWidget* screen = frame()->CurrentScreenWidget();
    auto* lowest = child<QPushButton>("LowestBtn");
    ASSERT_NE(lowest, nullptr);
    dialogs_.queueAnswer(mrYes);
    lowest->click();
    settle();
    EXPECT_TRUE(child<QWidget>("LowestNoteLbl")->isVisible());
    for (QWidget* control : screen->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!control->isVisible()) continue;
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_TRUE(screen->rect().contains(control->geometry()));
    }
}

} // namespace
} // namespace cgt::test
