#pragma once
// The CGT event of an asset and what was received for it (section 5): the asset type and event
// code lists of each worksheet, which note the proceeds field carries, when the time of the
// event on 21/09/1999 is asked, and the entry checks of the event screen and of its depreciating
// asset variant (cost, termination value and the figures of the asset's taxable use).

#include <optional>
#include <vector>

#include "cgt/rules/event.h"
#include "cgt/rules/refusal.h"

namespace cgt {

// The asset types listed for a worksheet: those of its registration, or all eleven types when
// it has none. The stored code is the first two characters of an item.
const std::vector<const char*>& EventAssetTypes(int worksheet);
// The CGT events that can happen to an asset of the worksheet; every event for a worksheet
// without a list of its own. The stored code is the first two characters of an item.
const std::vector<const char*>& EventCodes(int worksheet);

// The section of the note beside the proceeds: 1 (market value substitution, automatic
// roll-over), or 2 on ceasing to be a resident, where no proceeds are received.
int ProceedsNoteSection(int worksheet);

// The event happened on 21/09/1999, so its time against 11.45am is asked.
bool EventTimeAsked(const Event& event);

// A cost element of the event was incurred after the event date.
bool EventBeforeAnExpense(const Event& event);

// Leaving the event and proceeds screen other than by Prev (nothing is checked without a
// registered asset); a screen with neither date nor proceeds passes.
std::optional<Refusal> CheckEventAndProceeds(const Event& event);
// Leaving the depreciating asset's event screen other than by Prev; an empty screen passes.
std::optional<Refusal> CheckDepreciatingEvent(const Event& event);

} // namespace cgt
