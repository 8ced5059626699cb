// Moving through the interview: history and Prev, the screen's check, Yes/No through message
// 1027, the end of the interview, the close query and the debug commands.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>

#include <functional>

#include "cgt/screens/flow/screen_flow.h"
#include "dialogs/get_tag_form.h"
#include "frame_fixture.h"
#include "interview/navigator_data.h"
#include "interview/navigator_frame.h"
#include "ui_frame.h"

namespace cgt::test {
namespace {

using History = std::vector<std::int32_t>;

TEST_F(FrameTest, NextAndPrevWalkTheHistoryWithoutAddingToIt) {
    start(2004);
    EXPECT_EQ(shown(), 2004);
    EXPECT_TRUE(cgt::Run().InScreen);
    EXPECT_EQ(frame->ui().Label1->text(), "2004");

    click(frame->PrevButton()); // one entry: nothing happens
    EXPECT_EQ(shown(), 2004);
    EXPECT_EQ(cgt::Run().ScreenHistory, History{2004});

    click(frame->NextButton()); // the row's next screen
    click(frame->NextButton()); // the one the screen names
    EXPECT_EQ(shown(), 2006);
    EXPECT_EQ(cgt::Run().ScreenHistory, (History{2004, 2005, 2006}));

    click(frame->PrevButton());
    EXPECT_EQ(shown(), 2005);
    EXPECT_NE(screen<ValidatingScreen>(), nullptr);
    EXPECT_EQ(cgt::Run().ScreenHistory, (History{2004, 2005}));
    click(frame->PrevButton());
    EXPECT_EQ(shown(), 2004);
    EXPECT_EQ(cgt::Run().ScreenHistory, History{2004});
    EXPECT_EQ(frame->ui().Label1->text(), "2004");

    // Forward again: the history grows again.
    click(frame->NextButton());
    EXPECT_EQ(cgt::Run().ScreenHistory, (History{2004, 2005}));
}

TEST_F(FrameTest, ValuesTravelThroughTheStoreBetweenShows) {
    start(2004);
    QTest::keyClicks(screen<ValuesScreen>()->amount, "1234");
    click(frame->NextButton());
    EXPECT_EQ(GetFieldVal(300), 1234);
    EXPECT_EQ(frame->CurrentScreenWidget()->findChild<TTaxEdit*>("losses")->text(), "");
    click(frame->PrevButton());
    EXPECT_EQ(screen<ValuesScreen>()->amount->text(), "1234");
}

TEST_F(FrameTest, AFreshScreenIsCreatedForEveryShowAndTheTitleTakesItsCaption) {
    start(2004);
    QPointer<QWidget> first = frame->CurrentScreenWidget();
    click(frame->NextButton());
    click(frame->PrevButton());
    EXPECT_NE(frame->CurrentScreenWidget(), first.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(frame->ui().TitleLabel->text(), kCaptionA);
}

// The screen's check keeps the user on the screen whatever asks to leave it.
TEST_F(FrameTest, TheChecksRefusalKeepsTheScreenOnEveryWayOut) {
    struct Way {
        const char* name;
        std::function<void()> leave;
        int target;
    };
    const Way ways[] = {
        {"Next", [this] { click(frame->NextButton()); }, 2006},
        {"Prev", [this] { click(frame->PrevButton()); }, 2004},
        {"Jump",
         [this] {
             dialogs.queueInput("2020");
             click(frame->ui().JumpBtn);
         },
         2020},
        {"Navigator",
         [this] {
             TNavigatorFrame* navigator = frame->Navigator();
             navigator->setActive(true);
             TNavigatorItem* item = navigator->Data()->FindItemByScreenID(2020);
             ASSERT_NE(item, nullptr);
             ASSERT_EQ(item->fScreenId, 2020);
             navigator->DoSelectItem(item);
         },
         2020},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        TearDown();
        SetUp();
        dialogs.messages.clear();
        cgt::Run().DebugMode = true;
        start(2004);
        click(frame->NextButton());
        ASSERT_EQ(shown(), 2005);
        QWidget* kept = frame->CurrentScreenWidget();

        Script().refuse = true;
        way.leave();
        EXPECT_EQ(shown(), 2005);
        EXPECT_EQ(cgt::Run().CurrentSection * 100 + cgt::Run().CurrentIndex, 2005);
        EXPECT_EQ(frame->CurrentScreenWidget(), kept);
        EXPECT_EQ(Script().validateCalls, 1);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, "Enter the unapplied losses.");
        EXPECT_EQ(cgt::Run().ScreenHistory, (History{2004, 2005}));

        Script().refuse = false;
        way.leave();
        EXPECT_EQ(Script().validateCalls, 2);
        EXPECT_EQ(shown(), way.target);
        EXPECT_NE(frame->CurrentScreenWidget(), kept);
    }
}

TEST_F(FrameTest, ShowingTheSameScreenAgainRunsNoCheck) {
    start(2005);
    Script().refuse = true;
    QCoreApplication::postEvent(frame.get(), new ModuleMessageEvent(kMsgShowScreen));
    settle();
    EXPECT_EQ(Script().validateCalls, 0);
    EXPECT_EQ(shown(), 2005);
    EXPECT_EQ(cgt::Run().ScreenHistory, History{2005});
}

TEST_F(FrameTest, YesAndNoLetTheScreenDecideThroughMessage1027) {
    start(2006);
    EXPECT_FALSE(frame->YesButton()->isHidden());
    EXPECT_FALSE(frame->NoButton()->isHidden());
    EXPECT_TRUE(frame->NextButton()->isHidden()); // never beside No

    click(frame->YesButton());
    EXPECT_EQ(Script().lastAnswer, Answer::Yes);
    EXPECT_EQ(shown(), 2006); // deferred until the message runs
    settle();
    EXPECT_EQ(shown(), 2007);
    EXPECT_TRUE(frame->YesButton()->isHidden());
    EXPECT_FALSE(frame->NextButton()->isHidden());

    click(frame->PrevButton());
    click(frame->NoButton());
    settle();
    EXPECT_EQ(Script().lastAnswer, Answer::No);
    EXPECT_EQ(shown(), 2020);
    EXPECT_EQ(cgt::Run().ScreenHistory, (History{2006, 2020}));
}

TEST_F(FrameTest, Index99OfSection20ShowsTheManualCalculationTable) {
    start(2098);
    EXPECT_TRUE(frame->PrevButton()->isHidden()); // 2098 has no Prev
    click(frame->NextButton());
    EXPECT_EQ(shown(), 2101);
    EXPECT_EQ(cgt::Run().CurrentSection, 21);
    EXPECT_EQ(cgt::Run().CurrentIndex, 1);
    EXPECT_EQ(cgt::Run().ScreenHistory, (History{2098, 2101}));
}

// A screen whose Next names a number without a screen.
class DeadEndScreen : public PlainScreen {
public:
    NextStep Next(Answer) override { return ScreenTarget::Screen(2021); }
};

TEST_F(FrameTest, ANumberWithoutAScreenEndsTheInterview) {
    RegisterScreenClass("TQCGT_41", Make<DeadEndScreen>);
    start(2020);
    EXPECT_EQ(frame->FailedScreen(), 0);
    click(frame->NextButton());
    EXPECT_EQ(frame->FailedScreen(), 2021);
    EXPECT_FALSE(cgt::Run().InScreen);
    EXPECT_EQ(frame->CurrentScreenWidget(), nullptr);
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_EQ(queries[0], frame.get());
    ASSERT_EQ(closedBy.size(), 1u);
    EXPECT_EQ(closedBy[0], frame->YesButton()); // the main window posts 1131 for it
    EXPECT_EQ(cgt::Run().ScreenHistory, History{2020});
}

TEST_F(FrameTest, CloseAsksTheCloseQueryWithTheFrameAndClosesWithTheCloseButton) {
    start(2004);
    click(frame->CloseButton());
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_EQ(queries[0], frame.get());
    EXPECT_TRUE(closedBy.empty()); // refused while a screen is shown
    EXPECT_TRUE(cgt::Run().InScreen);

    agreeToClose = true;
    click(frame->CloseButton());
    ASSERT_EQ(closedBy.size(), 1u);
    EXPECT_EQ(closedBy[0], frame->CloseButton()); // the main window posts 1132 for it
}

TEST_F(FrameTest, JumpReadsAScreenNumberAndRefusesOtherText) {
    cgt::Run().DebugMode = true;
    int hostButtons = 0;
    frame->ShowHostButtons = [&] { ++hostButtons; };
    start(2004);
    ASSERT_FALSE(frame->ui().JumpBtn->isHidden());

    dialogs.queueInput("20x6");
    click(frame->ui().JumpBtn);
    ASSERT_EQ(dialogs.inputPrompts.size(), 1u);
    EXPECT_EQ(dialogs.inputPrompts[0], "Jump|Enter screen number to jump to: |");
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Not a screen number"});
    EXPECT_EQ(shown(), 2004);
    EXPECT_EQ(hostButtons, 0);

    dialogs.queueInput(std::nullopt); // cancelled
    click(frame->ui().JumpBtn);
    EXPECT_EQ(shown(), 2004);

    dialogs.queueInput("2006");
    click(frame->ui().JumpBtn);
    EXPECT_EQ(shown(), 2006);
    EXPECT_EQ(hostButtons, 1);
}

TEST_F(FrameTest, DebugButtonsExistOnlyInDebugMode) {
    start(2004);
    EXPECT_TRUE(frame->ui().JumpBtn->isHidden());
    EXPECT_TRUE(frame->ui().btnScan->isHidden());
    EXPECT_TRUE(frame->ui().btnTags->isHidden());
}

// Records the module messages posted to it.
class MessageSink : public QObject {
public:
    std::vector<int> numbers;
    bool event(QEvent* e) override {
        if (int n = ModuleMessageEvent::numberOf(e)) {
            numbers.push_back(n);
            return true;
        }
        return QObject::event(e);
    }
};

TEST_F(FrameTest, AltF4PostsTheExitCommandInDebugModeOnly) {
    MessageSink mainWindow;
    frame->MainWindow = &mainWindow;
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    start(2004);
    QTest::keyClick(screen<ValuesScreen>()->amount, Qt::Key_F4, Qt::AltModifier);
    settle();
    EXPECT_TRUE(mainWindow.numbers.empty());

    cgt::Run().DebugMode = true;
    QTest::keyClick(screen<ValuesScreen>()->amount, Qt::Key_F4, Qt::AltModifier);
    settle();
    EXPECT_EQ(mainWindow.numbers, std::vector<int>{kMsgExitCommand});
}

TEST_F(FrameTest, TagsOpensOneTagInspector) {
    cgt::Run().DebugMode = true;
    start(2004);
    click(frame->ui().btnTags);
    click(frame->ui().btnTags);
    const auto inspectors = frame->findChildren<cgt::TfrmGetTag*>();
    ASSERT_EQ(inspectors.size(), 1);
    EXPECT_TRUE(inspectors[0]->isVisible());
    EXPECT_TRUE(inspectors[0]->isWindow());
}

TEST_F(FrameTest, ScanStepsToTheNextIndexAndWrapsIntoTheNextSection) {
    cgt::Run().DebugMode = true;
    start(2004);
    click(frame->ui().btnScan);
    EXPECT_EQ(shown(), 2005);

    start(2098);
    click(frame->ui().btnScan); // 99 wraps to 2101
    EXPECT_EQ(shown(), 2101);
}

TEST_F(FrameTest, MoreShowsTheScreensHelpContext) {
    RecordingHelp help;
    start(2004);
    click(frame->ui().BtnIntHelp);
    click(frame->NextButton());
    click(frame->ui().BtnIntHelp);
    EXPECT_EQ(help.contexts, (std::vector<int>{347, 32}));
}

TEST_F(FrameTest, LeavingASectionMarksTheDataChanged) {
    start(2006); // no tagged controls: leaving it changes no value
    cgt::Run().DataChanged = false;
    start(2007);
    EXPECT_FALSE(cgt::Run().DataChanged);
    start(2101);
    EXPECT_TRUE(cgt::Run().DataChanged);
}

} // namespace
} // namespace cgt::test
