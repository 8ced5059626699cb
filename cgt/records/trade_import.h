#pragma once
// Imported share trades recorded as events of the shares worksheet (451): each event as the
// share screens would leave it, computed, and marked with its source so that importing the same
// file again replaces its events instead of doubling them.

#include <string>
#include <vector>

#include "cgt/rules/event.h"
#include "cgt/rules/trade_plan.h"

namespace cgt {

struct RecordedImport {
    int added = 0;
    int replaced = 0; // rows of an earlier import of the same files, removed
};

// The import of `files` worked out against the return in the store, nothing recorded: for the
// lowest net capital gain the income year's sales are matched with the return's other gains and
// losses (those of an earlier import of the same files left out, as recording replaces them).
TradePlan PlanImportForReturn(const std::vector<TradeSource>& files, MatchMethod method,
                              const std::vector<NamedParcel>& named = {});

// How many rows of the shares worksheet an earlier import of any of `files` made: the rows that
// recording them replaces.
int EventsImportedFrom(const std::vector<std::string>& files);

// Removes the rows that an earlier import of any of `files` made (matched by file name without
// its folder), then adds each event as a new row after the others, its worksheets computed as
// leaving its screens computes them. The scratch tags are left zero-filled.
RecordedImport RecordImportedEvents(const std::vector<Event>& events,
                                    const std::vector<std::string>& files);

} // namespace cgt
