#pragma once
// The two hooks a shown screen installs in the interview frame: the validate hook, which may
// keep the user on the screen by clearing ScreenValid, and the next hook, which sets the
// following screen number. One set per module run; a new frame starts with none.

#include <functional>

namespace cgt {

struct ScreenHooks {
    std::function<void()> ValidateHook; // clears ScreenValid to keep the user on the screen
    std::function<void()> NextHook;     // sets the following screen number
    bool ScreenValid = true;
};

ScreenHooks& Hooks();

} // namespace cgt
