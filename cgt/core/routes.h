#pragma once
// Names of the routes that the event screens take out of a screen of the interview table.

#include <string_view>

namespace cgt {

// The section's another-event question: where an event screen goes when its event is done
// (the rights and receipt screens) or when nothing was registered.
inline constexpr std::string_view kRouteAnotherEvent = "another event";

} // namespace cgt
