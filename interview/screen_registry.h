#pragma once
// The screen registry: screen number → a new question screen. The installed screen table
// (interview/screen_catalog.h) names the class of every number; each screen class joins the
// registry by registering a factory under its class name (CGT_REGISTER_SCREEN in the class's
// .cpp). A number whose class is not registered gives no screen, which ends the interview there.

#include <functional>
#include <string_view>

#include "interview/screen_catalog.h"

class TChildForm;

namespace cgt {

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
