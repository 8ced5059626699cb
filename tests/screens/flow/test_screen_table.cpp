// The interview's screen table: every number once and in the interview's sections, every class
// built (or on the list of screens still to come), the engine's view of it, and the routes of
// the event screens.

#include <gtest/gtest.h>

#include <set>
#include <string_view>

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
    EXPECT_EQ(classes.size(), 52u);
    EXPECT_EQ(seen.size(), 78u);
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

} // namespace
} // namespace cgt::test
