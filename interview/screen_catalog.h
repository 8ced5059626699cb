#pragma once
// What the interview engine knows of the screens it shows: for every screen number the class
// that makes the screen, its caption, help topic and buttons, the navigator topic that starts
// there, the screen Next leads to and the screen's named routes. The interview installs its own
// table here; the engine itself holds no screen.

#include <span>
#include <string_view>

namespace cgt {

// A named way out of a screen, for example to the another-event question of its section. A
// screen's own rules choose the route (interview/screen_protocol.h); the table says where it
// leads.
struct ScreenRoute {
    std::string_view name;
    int screen = 0;
};

struct ScreenSpec {
    int number = 0; // section * 100 + index
    std::string_view className;
    std::string_view caption;
    int helpContext = 0;
    bool showNext = true;
    bool showPrev = true;
    std::string_view topic; // the navigator topic that starts here; empty: none
    std::span<const ScreenRoute> routes;
    int worksheet = 0; // the worksheet whose rows the screen edits when no question chose one
    // Where Next leads: a screen of the table, or a number without a screen, where the interview
    // leaves the module.
    int next = 0;
};

// The table, in interview order. It must outlive its use; an empty span uninstalls it.
void InstallScreenTable(std::span<const ScreenSpec> table);
std::span<const ScreenSpec> InstalledScreenTable();

// The screen of a number, or nullptr.
const ScreenSpec* FindScreenSpec(int number);
// The target of a named route of a screen; 0 when the screen has no such route.
int RouteTarget(int number, std::string_view route);
// The screen Next leads to from a screen; 0 for a number outside the table.
int NextScreen(int number);
// The screen after a screen in the table's order; after the last one, where its Next leads; 0
// for a number outside the table.
int ScreenAfter(int number);
// Where an interview left on a screen resumes: the screen itself, or for a screen that edits a
// worksheet's row the first screen of its run, where the row is chosen; 0 for a number outside
// the table.
int ResumeScreen(int number);

} // namespace cgt
