// The screen registry over the installed screen table: numbers, classes, captions, help
// contexts and hidden buttons, fresh instances from registered classes only, and named routes.

#include <gtest/gtest.h>

#include <memory>

#include "interview/child_form.h"
#include "interview/screen_registry.h"

namespace cgt::test {
namespace {

class RegisteredScreen : public TChildForm {};

class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const char* name :
             {"TQCGT_08", "TQCGT_39a", "TQCGT_82", "TQCGT_08g", "TQCGT_62", "TQCGT_83"})
            UnregisterScreenClass(name);
    }
    static void Register(const char* name) {
        RegisterScreenClass(name, [] { return new RegisteredScreen; });
    }
};

TEST_F(RegistryTest, NumbersOutsideTheTableGiveNoScreen) {
    for (const ScreenSpec& spec : InstalledScreenTable())
        Register(std::string(spec.className).c_str());
    for (int number : {2008, 2021, 2034, 2044, 2054, 2064, 2076, 2080, 2082, 2087, 2089, 2095, 2099,
                       2100, 2108, 2201, 0, -1}) {
        SCOPED_TRACE(number);
        std::unique_ptr<TChildForm> form(CreateScreen(number));
        EXPECT_EQ(form, nullptr);
    }
    for (const ScreenSpec& spec : InstalledScreenTable())
        UnregisterScreenClass(spec.className);
}

TEST_F(RegistryTest, OneClassServesSeveralNumbersWithAFreshInstanceEachTime) {
    EXPECT_EQ(CreateScreen(2022), nullptr); // class not built yet
    Register("TQCGT_08");
    std::unique_ptr<TChildForm> a(CreateScreen(2022));
    std::unique_ptr<TChildForm> b(CreateScreen(2065));
    std::unique_ptr<TChildForm> c(CreateScreen(2065));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a.get(), b.get());
    EXPECT_NE(b.get(), c.get());
    EXPECT_EQ(a->HelpContext(), 16);
    EXPECT_EQ(b->Caption(), "17 - Income - Capital gains and capital losses");
}

TEST_F(RegistryTest, TheTableSetsCaptionHelpContextAndButtons) {
    struct Case {
        int number;
        const char* className;
        const char* caption;
        int help;
        bool next;
        bool prev;
    };
    const Case cases[] = {
        {2006, "TQCGT_39a", "17 - Income - Capital gains or capital losses", 3, true, true},
        {2051, "TQCGT_82", "17 - Income - Capital gains", 345, true, true},
        {2074, "TQCGT_08g", "17 - Income - Capital gains and capital losses", 15, true, false},
        {2103, "TQCGT_62", "17 - Income - Capital gains and capital losses", 33, false, true},
        {2004, "TQCGT_83", "17 - Income - Capital gains and capital losses", 347, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        RegisterScreenClass(c.className, [] {
            auto* form = new RegisteredScreen;
            form->setCaption("set by the form");
            form->setHelpContext(1);
            return form;
        });
        std::unique_ptr<TChildForm> form(CreateScreen(c.number));
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->Caption(), c.caption);
        EXPECT_EQ(form->HelpContext(), c.help);
        EXPECT_EQ(form->ShowNextButton(), c.next);
        EXPECT_EQ(form->ShowPrevButton(), c.prev);
        EXPECT_FALSE(form->ShowYesButton());
        EXPECT_FALSE(form->ShowNoButton());
    }
}

// The engine holds no screen of its own: it serves what is installed, routes included.
TEST_F(RegistryTest, OnlyTheInstalledTableIsServed) {
    static const ScreenRoute routes[] = {{"onwards", 3002}};
    static const ScreenSpec table[] = {
        {.number = 3001,
         .className = "TQCGT_83",
         .caption = "Own caption",
         .helpContext = 7,
         .showPrev = false,
         .topic = {},
         .routes = routes,
         .worksheet = 0},
    };
    const auto saved = InstalledScreenTable();
    InstallScreenTable(table);
    Register("TQCGT_83");
    std::unique_ptr<TChildForm> own(CreateScreen(3001));
    std::unique_ptr<TChildForm> theirs(CreateScreen(2004));
    const int route = RouteTarget(3001, "onwards");
    const int missing = RouteTarget(3001, "elsewhere");
    InstallScreenTable(saved);

    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->Caption(), "Own caption");
    EXPECT_EQ(own->HelpContext(), 7);
    EXPECT_FALSE(own->ShowPrevButton());
    EXPECT_EQ(theirs, nullptr);
    EXPECT_EQ(route, 3002);
    EXPECT_EQ(missing, 0);
}

} // namespace
} // namespace cgt::test
