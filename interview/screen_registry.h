#pragma once
// The screen registry: screen number → a new question screen. The table of numbers, classes,
// captions, help contexts and button flags is held once, below; each screen class joins it by
// registering a factory under its class name (CGT_REGISTER_SCREEN in the class's .cpp). A
// number whose class is not registered gives no screen, which ends the interview there.

#include <array>
#include <functional>
#include <span>
#include <string_view>

class TChildForm;

namespace cgt {

// Title bar captions of the screens.
inline constexpr const char* kCaptionA = "17 - Income - Capital gains and capital losses";
inline constexpr const char* kCaptionB = "17 - Income - Capital gains or capital losses";
inline constexpr const char* kCaptionC = "17 - Income - Capital gains";

// One row of the screen table: the numbers one class serves (0 ends the list), the class,
// the caption (A, B or C), the help context and whether Next and Prev are shown.
struct ScreenTableRow {
    std::array<int, 6> numbers;
    std::string_view className;
    char caption;
    int helpContext;
    bool showNext;
    bool showPrev;
};

// The whole table.
std::span<const ScreenTableRow> ScreenTable();
// The row that serves `screen`, or nullptr.
const ScreenTableRow* FindScreenRow(int screen);
// The caption text of a row.
const char* CaptionText(char caption);

using ScreenFactory = std::function<TChildForm*()>;

// Registers (or replaces) the factory of a class. Returns true so that it can initialise a
// static.
bool RegisterScreenClass(std::string_view className, ScreenFactory factory);
void UnregisterScreenClass(std::string_view className);
bool ScreenClassRegistered(std::string_view className);

// A new screen for the number, owned by the caller, with the table's caption, help context and
// button flags applied; nullptr when the number is not in the table or its class is not
// registered. Every call creates a fresh instance.
TChildForm* CreateScreen(int screen);

} // namespace cgt

// Registers a TChildForm subclass under its own class name when its object file is linked.
// Libraries of screens must be linked whole (WHOLE_ARCHIVE) so that the linker keeps them.
#define CGT_REGISTER_SCREEN(ClassName)                                                             \
    [[maybe_unused]] static const bool cgtScreenRegistered_##ClassName =                           \
        ::cgt::RegisterScreenClass(#ClassName, []() -> TChildForm* { return new ClassName; })
