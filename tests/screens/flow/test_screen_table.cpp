// The interview's screen table: every number once and in the interview's sections, every class
// built (or on the list of screens still to come), the engine's view of it, where its ways out
// lead, and the event sections against their kinds of event.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>
#include <string_view>
#include <vector>

#include "cgt/rules/event_kinds.h"
#include "cgt/rules/routes.h"
#include "cgt/screens/flow/screen_flow.h"
#include "interview/screen_registry.h"

namespace cgt::test {
namespace {

TEST(ScreenTable, EveryNumberBelongsToOneRowOfTheInterviewSections) {
    InstallInterviewScreens();
    std::set<int> seen;
    std::set<std::string_view> classes;
    for (const ScreenRow& row : ScreenTable()) {
        const int number = row.screen;
        classes.insert(row.className);
        EXPECT_TRUE(seen.insert(number).second) << number;
        EXPECT_TRUE((number >= 2004 && number <= 2098) || (number >= 2101 && number <= 2107))
            << number;
        const ScreenSpec* spec = FindScreenSpec(number);
        ASSERT_NE(spec, nullptr) << number;
        EXPECT_EQ(spec->className, row.className);
    }
    EXPECT_FALSE(classes.empty());
}

TEST(ScreenTable, EveryClassIsRegistered) {
    for (const ScreenRow& row : ScreenTable()) {
        SCOPED_TRACE(row.screen);
        EXPECT_TRUE(ScreenClassRegistered(row.className)) << row.className;
    }
}

// An event screen's another-event route leads to the question of its section whose Yes comes
// back to the event's first screen; and every screen that such a question leads to has one.
TEST(ScreenTable, EventScreensRouteToTheirAnotherEventQuestion) {
    InstallInterviewScreens();
    std::set<int> eventStarts;
    for (const ScreenRow& q : QuestionTable())
        if (q.clearReopenRow) eventStarts.insert(q.yes);
    ASSERT_FALSE(eventStarts.empty());
    for (int start : eventStarts) {
        SCOPED_TRACE(start);
        const int another = RouteTarget(start, kRouteAnotherEvent);
        const QuestionRow* question = FindQuestionRowByScreen(another);
        ASSERT_NE(question, nullptr);
        EXPECT_TRUE(question->clearReopenRow);
        EXPECT_EQ(question->yes, start);
        // The worksheet of the section's events question comes with the screen.
        EXPECT_NE(FindScreenSpec(start)->worksheet, 0);
    }
}

const ScreenRow* RowOf(int screen) {
    const auto table = ScreenTable();
    const auto it = std::find_if(table.begin(), table.end(),
                                 [screen](const ScreenRow& row) { return row.screen == screen; });
    return it == table.end() ? nullptr : &*it;
}

// Where a screen's ways out lead: Next, a question's answers and its named routes.
std::vector<int> WaysOut(const ScreenRow& row) {
    std::vector<int> targets{NextScreen(row.screen)};
    for (int answer : {row.yes, row.no})
        if (answer != 0) targets.push_back(answer);
    for (const ScreenRoute& route : FindScreenSpec(row.screen)->routes)
        targets.push_back(route.screen);
    return targets;
}

std::vector<int> TableOrder() {
    std::vector<int> numbers;
    for (const ScreenRow& row : ScreenTable())
        numbers.push_back(row.screen);
    return numbers;
}

TEST(ScreenTable, EveryWayOutLeadsToAScreenOfTheTableButTheLastNext) {
    InstallInterviewScreens();
    const ScreenRow& last = ScreenTable().back();
    for (const ScreenRow& row : ScreenTable()) {
        SCOPED_TRACE(row.screen);
        std::vector<int> targets = WaysOut(row);
        if (&row == &last) targets.erase(targets.begin());
        for (int target : targets)
            EXPECT_NE(FindScreenSpec(target), nullptr) << target;
    }
    // The last screen's Next leaves the interview: a number the table does not hold.
    EXPECT_NE(NextScreen(last.screen), 0);
    EXPECT_EQ(FindScreenSpec(NextScreen(last.screen)), nullptr);
}

TEST(ScreenTable, EveryScreenIsReachedFromTheFirst) {
    InstallInterviewScreens();
    std::set<int> reached{ScreenTable().front().screen};
    std::deque<int> todo{ScreenTable().front().screen};
    while (!todo.empty()) {
        const ScreenRow* row = RowOf(todo.front());
        todo.pop_front();
        if (!row) continue; // out of the interview
        for (int target : WaysOut(*row))
            if (reached.insert(target).second) todo.push_back(target);
    }
    for (int screen : TableOrder())
        EXPECT_TRUE(reached.count(screen)) << screen;
}

TEST(ScreenTable, NextWalksThePathInTheTablesOrder) {
    InstallInterviewScreens();
    std::vector<int> walked;
    for (int screen = ScreenTable().front().screen;
         FindScreenSpec(screen) && walked.size() <= ScreenTable().size();
         screen = NextScreen(screen))
        walked.push_back(screen);
    EXPECT_EQ(walked, TableOrder());
}

// The section's screen of a step; 0 when it has none.
int ScreenOfStep(const EventSection& section, EventStep step) {
    for (const EventScreen& screen : section.screens)
        if (screen.step == step) return screen.screen;
    return 0;
}

// An event section holds the steps of its kind, starts with the registration, and its screens
// edit the rows of its kind; its another-event question returns to the registration.
TEST(ScreenTable, EventSectionsHaveTheStepsOfTheirKind) {
    InstallInterviewScreens();
    ASSERT_FALSE(EventSections().empty());
    for (const EventSection& section : EventSections()) {
        SCOPED_TRACE(section.worksheet);
        const EventKind* kind = FindEventKind(section.worksheet);
        ASSERT_NE(kind, nullptr);
        ASSERT_FALSE(section.screens.empty());
        EXPECT_EQ(section.screens.front().step, EventStep::Registration);
        const bool payments = kind->payments.has_value();
        EXPECT_EQ(ScreenOfStep(section, EventStep::Payments) != 0, payments);
        EXPECT_EQ(ScreenOfStep(section, EventStep::PaymentSummary) != 0, payments);
        EXPECT_EQ(ScreenOfStep(section, EventStep::Gain) != 0, kind->gain.has_value());
        for (const EventScreen& screen : section.screens)
            EXPECT_EQ(FindScreenSpec(screen.screen)->worksheet, section.worksheet) << screen.screen;
        const QuestionRow* question = FindQuestionRowByScreen(section.anotherEvent.screen);
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->yes, section.screens.front().screen);
    }
}

// The routes the event screens' rules choose exist on their rows and stay in the section: an
// empty registration of any kind, and the roll-over's way to the payments summary (a kind with
// payments) or the gain calculation.
TEST(ScreenTable, TheRulesRoutesLeadWithinTheSection) {
    InstallInterviewScreens();
    for (const EventSection& section : EventSections()) {
        SCOPED_TRACE(section.worksheet);
        const int registration = ScreenOfStep(section, EventStep::Registration);
        for (const EventKind& kind : EventKinds()) {
            if (!kind.registration) continue;
            const int target = RouteTarget(registration, kind.nothingRegistered);
            const bool inSection =
                target == section.anotherEvent.screen ||
                std::any_of(section.screens.begin(), section.screens.end(),
                            [&](const EventScreen& s) { return s.screen == target; });
            EXPECT_TRUE(inSection) << kind.worksheet << " " << target;
        }
        const EventKind* kind = FindEventKind(section.worksheet);
        const int rollOver = ScreenOfStep(section, EventStep::RollOver);
        EXPECT_EQ(RouteTarget(rollOver, kRouteGainCalculation),
                  ScreenOfStep(section, EventStep::Gain));
        EXPECT_EQ(RouteTarget(rollOver, kRouteNonAssessablePayments),
                  kind->payments ? ScreenOfStep(section, EventStep::PaymentSummary) : 0);
    }
}

// A section that lists a step its kind lacks shows no class there (the table's class test names
// it); a screen of its own class keeps its class; routes to steps the section lacks are left out.
TEST(ScreenTable, ASectionsRowsFollowItsSteps) {
    ScreenRow question{.screen = 3009, .className = "AnotherQuestion", .no = 3010};
    const EventSection section{
        .worksheet = wkRealEstate,
        .screens = {{3001, EventStep::Registration},
                    {3002, EventStep::Payments},
                    {.screen = 3003, .className = "OwnScreen", .helpContext = 7},
                    {3004, EventStep::Gain}},
        .anotherEvent = question};
    const std::vector<ScreenRow> rows = EventSectionRows(section);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_TRUE(ScreenClassRegistered(rows[0].className));
    EXPECT_TRUE(rows[1].className.empty()) << "real estate has no payments";
    EXPECT_EQ(rows[2].className, "OwnScreen");
    EXPECT_EQ(rows[2].helpContext, 7);
    EXPECT_TRUE(ScreenClassRegistered(rows[3].className));
    ASSERT_EQ(rows[0].routes.size(), 1u) << "no roll-over screen to route to";
    EXPECT_EQ(rows[0].routes[0].name, kRouteAnotherEvent);
    EXPECT_EQ(rows[0].routes[0].screen, 3009);
    const ScreenRow& asked = rows[4];
    EXPECT_EQ(asked.screen, 3009);
    EXPECT_EQ(asked.yes, 3001);
    EXPECT_EQ(asked.no, 3010);
    EXPECT_TRUE(asked.clearReopenRow);
    EXPECT_TRUE(asked.hidePrev);
}

} // namespace
} // namespace cgt::test
