#pragma once
// Names of the routes that the event screens take out of a screen of the interview table. A
// screen's rule chooses the name; the screen's row in the table says where it leads.

#include <string_view>

namespace cgt {

// The section's another-event question: where an event screen goes when its event is done
// (the rights and receipt screens) or when nothing was registered.
inline constexpr std::string_view kRouteAnotherEvent = "another event";
// The section's roll-over questions, where a registration of a kind that says so goes when
// nothing was registered (EventKind::nothingRegistered).
inline constexpr std::string_view kRouteRollOver = "roll-over";
// The roll-over screen of a share or trust event: on to the non-assessable payments worksheet
// when the event has payments, else to the gain calculation, which every other event's roll-over
// screen goes on to.
inline constexpr std::string_view kRouteNonAssessablePayments = "non-assessable payments";
inline constexpr std::string_view kRouteGainCalculation = "gain calculation";

} // namespace cgt
