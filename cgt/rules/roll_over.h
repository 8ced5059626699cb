#pragma once
// Roll-over, exemption and deferral (section 6 of an event): whether the gain or loss can be
// rolled over, whether that results from a marriage breakdown or a scrip for scrip roll-over,
// and the small business 15-year active asset exemption. Which questions a worksheet asks, the
// entry checks, and where Next leads.

#include <optional>
#include <string_view>

#include "cgt/rules/asset_types.h"
#include "cgt/rules/event.h"
#include "cgt/rules/refusal.h"

namespace cgt {

// The event's asset type is active.
bool ActiveAssetRegistered(const Event& event);

// Personal use assets, collectables and depreciating assets are asked the short roll-over
// question and cannot claim the 15-year exemption.
bool AsksExemption(int worksheet);

// Leaving the roll-over screen other than by Prev (nothing is checked without a registered
// asset). `scripForScrip`: the screen asks whether the roll-over is a scrip for scrip one.
std::optional<Refusal> CheckRollOver(const Event& event, bool scripForScrip);

// The route Next takes from the roll-over screen (cgt/rules/routes.h): an event of a kind with
// payments that holds non-assessable payments goes on to their worksheet, every other event to
// its gain calculation.
std::string_view RollOverNextRoute(const Event& event);

} // namespace cgt
