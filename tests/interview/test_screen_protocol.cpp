// The screen protocol: a screen answers Next, Yes, No or a topic with where to go or a refusal,
// and its check answers whether it may be left; the frame alone moves on, or keeps the screen,
// shows the refusal's message and puts the cursor in the refused field or cell. Driven on a small
// table of the tests' own.

#include <gtest/gtest.h>

#include <QApplication>

#include <functional>
#include <span>

#include "frame_fixture.h"
#include "interview/navigator_data.h"

namespace cgt::test {
namespace {

// What the protocol screen answers, and what it was asked.
struct ProtocolScript {
    std::function<NextStep(Answer)> next = [](Answer) { return ScreenTarget::RowNext(); };
    std::function<std::optional<ScreenRefusal>(Direction)> check = [](Direction) {
        return std::nullopt;
    };
    std::vector<Answer> answers;
    std::vector<Direction> checks;
};
ProtocolScript& Protocol() {
    static ProtocolScript script;
    return script;
}

// Two fields and a grid; Next and the check answer as Protocol() says.
class ProtocolScreen : public TChildForm, public CheckedScreen {
public:
    ProtocolScreen() {
        first = AddEdit(this, "first", 300, TCustomNumEdit::ntCurrency, 10, 10);
        second = AddEdit(this, "second", 301, TCustomNumEdit::ntCurrency, 10, 40);
        grid = new TXGrid(this);
        grid->setObjectName("grid");
        grid->setColCount(4);
        grid->setRowCount(5);
        grid->setGeometry(10, 70, 400, 150);
    }
    NextStep Next(Answer answer) override {
        Protocol().answers.push_back(answer);
        return Protocol().next(answer);
    }
    std::optional<ScreenRefusal> CheckLeave(Direction direction) override {
        Protocol().checks.push_back(direction);
        return Protocol().check(direction);
    }
    TTaxEdit* first;
    TTaxEdit* second;
    TXGrid* grid;
};

constexpr ScreenRoute kRoutes[] = {{"onwards", 3003}};
constexpr ScreenSpec kTable[] = {
    {.number = 3001,
     .className = "ProtocolScreen",
     .caption = {},
     .topic = {},
     .routes = kRoutes,
     .next = 3002},
    {.number = 3002,
     .className = "ProtocolScreen",
     .caption = {},
     .topic = {},
     .routes = {},
     .next = 3003},
    {.number = 3003,
     .className = "ProtocolScreen",
     .caption = {},
     .topic = {},
     .routes = {},
     .next = 3004},
};

class ProtocolTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        Protocol() = ProtocolScript{};
        interview_ = InstalledScreenTable();
        InstallScreenTable(kTable);
        RegisterScreenClass("ProtocolScreen", Make<ProtocolScreen>);
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    void TearDown() override {
        FrameTest::TearDown();
        UnregisterScreenClass("ProtocolScreen");
        InstallScreenTable(interview_);
    }
    ProtocolScreen* shownScreen() const { return screen<ProtocolScreen>(); }

    std::span<const ScreenSpec> interview_;
};

ScreenRefusal RefusalAt(QWidget* field, const char* message, std::optional<GridCell> cell = {}) {
    ScreenRefusal refusal;
    refusal.message = message;
    refusal.field = field;
    refusal.cell = cell;
    return refusal;
}

TEST_F(ProtocolTest, NextGoesWhereTheScreenNamesThroughItsRow) {
    const struct {
        const char* name;
        ScreenTarget target;
        int shown;
    } cases[] = {
        {"the row's next", ScreenTarget::RowNext(), 3002},
        {"a route of the row", ScreenTarget::Route("onwards"), 3003},
        {"a route the row does not name: its next", ScreenTarget::Route("elsewhere"), 3002},
        {"a screen by number", ScreenTarget::Screen(3003), 3003},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Protocol().next = [&](Answer) { return c.target; };
        start(3001);
        click(frame->NextButton());
        EXPECT_EQ(shown(), c.shown);
        EXPECT_EQ(Protocol().answers.back(), Answer::Next);
        EXPECT_EQ(Protocol().checks.back(), Direction::Onward) << "the screen left was checked";
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// A refused Next keeps the very screen: no check runs, nothing is stored or shown again.
TEST_F(ProtocolTest, ARefusedNextKeepsTheScreenWithItsMessageAndFocusesTheNamedField) {
    start(3001);
    ProtocolScreen* kept = shownScreen();
    Protocol().next = [kept](Answer) { return RefusalAt(kept->second, "Enter the amount."); };
    kept->first->setFocus();
    click(frame->NextButton());

    EXPECT_EQ(shownScreen(), kept);
    EXPECT_EQ(shown(), 3001);
    EXPECT_EQ(cgt::Run().CurrentSection * 100 + cgt::Run().CurrentIndex, 3001);
    EXPECT_EQ(cgt::Run().ScreenHistory, std::vector<std::int32_t>{3001});
    EXPECT_TRUE(Protocol().checks.empty());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Enter the amount."});
    EXPECT_EQ(QApplication::focusWidget(), kept->second);
}

TEST_F(ProtocolTest, ARefusedCheckPutsTheCursorInTheRefusedCell) {
    start(3001);
    ProtocolScreen* kept = shownScreen();
    Protocol().check = [kept](Direction) {
        return std::optional<ScreenRefusal>(
            RefusalAt(kept->grid, "Enter a date.", GridCell{.col = 2, .row = 3}));
    };
    click(frame->NextButton());
    settle();

    EXPECT_EQ(shownScreen(), kept);
    EXPECT_EQ(shown(), 3001) << "the position returns to the shown screen";
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Enter a date."});
    EXPECT_TRUE(kept->grid->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == kept->grid);
    EXPECT_EQ(kept->grid->Col(), 2);
    EXPECT_EQ(kept->grid->Row(), 3);
}

TEST_F(ProtocolTest, ARefusalWithoutAMessageKeepsTheScreenSilently) {
    start(3001);
    ProtocolScreen* kept = shownScreen();
    Protocol().check = [](Direction) { return std::optional<ScreenRefusal>(ScreenRefusal{}); };
    click(frame->NextButton());
    EXPECT_EQ(shownScreen(), kept);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(frame->CheckShownScreen());
}

TEST_F(ProtocolTest, PrevChecksTheScreenGoingBack) {
    start(3001);
    click(frame->NextButton());
    ASSERT_EQ(shown(), 3002);
    Protocol().checks.clear();
    click(frame->PrevButton());
    EXPECT_EQ(shown(), 3001);
    EXPECT_EQ(Protocol().checks, std::vector<Direction>{Direction::Back});
}

// Yes and No are answers like Next; the screen they lead to is shown once the click returned.
TEST_F(ProtocolTest, YesAndNoAreAnswersShownAfterTheClick) {
    Protocol().next = [](Answer answer) {
        return answer == Answer::Yes ? ScreenTarget::Route("onwards") : ScreenTarget::RowNext();
    };
    const struct {
        QPushButton* button;
        int shown;
    } cases[] = {{frame->YesButton(), 3003}, {frame->NoButton(), 3002}};
    for (const auto& c : cases) {
        start(3001);
        c.button->show(); // as a question screen shows them
        click(c.button);
        EXPECT_EQ(shown(), 3001);
        settle();
        EXPECT_EQ(shown(), c.shown);
    }
    EXPECT_EQ(Protocol().answers, (std::vector<Answer>{Answer::Yes, Answer::No}));
}

// A navigator topic tells the screen first (it may keep its entries, or refuse), then checks it;
// the topic names the screen shown.
TEST_F(ProtocolTest, ATopicIsToldToTheScreenBeforeItsCheck) {
    TNavigatorItem topic(QString(), 3003, QStringLiteral("Elsewhere"));
    Protocol().next = [](Answer) { return ScreenTarget::Screen(3002); };
    start(3001);
    frame->NavigatorSelectItem(frame->Navigator(), &topic);
    EXPECT_EQ(shown(), 3003);
    EXPECT_EQ(Protocol().answers, std::vector<Answer>{Answer::Topic});
    EXPECT_EQ(Protocol().checks, std::vector<Direction>{Direction::Onward}) << "checked once";

    // Refused when told of the topic: the screen stays and its check does not run.
    start(3001);
    ProtocolScreen* kept = shownScreen();
    Protocol().checks.clear();
    Protocol().next = [kept](Answer) { return RefusalAt(kept->first, "Finish the table."); };
    frame->NavigatorSelectItem(frame->Navigator(), &topic);
    EXPECT_EQ(shownScreen(), kept);
    EXPECT_EQ(shown(), 3001);
    EXPECT_TRUE(Protocol().checks.empty());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Finish the table."});
    EXPECT_EQ(QApplication::focusWidget(), kept->first);
}

TEST_F(ProtocolTest, OnlyAScreenWithACheckHoldsItsEntries) {
    start(3001);
    EXPECT_TRUE(frame->ScreenChecksEntries());
    RegisterScreenClass("ProtocolScreen", Make<PlainScreen>);
    start(3002);
    EXPECT_FALSE(frame->ScreenChecksEntries());
}

} // namespace
} // namespace cgt::test
