#include "interview/screen_hooks.h"

namespace cgt {

ScreenHooks& Hooks() {
    static ScreenHooks hooks;
    return hooks;
}

} // namespace cgt
