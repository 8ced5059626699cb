#pragma once
// An import of share trades worked out before anything is recorded: every file read, the sales
// matched to parcels, the events the matches make with their sources. Refused as a whole when
// any file or line is refused.

#include <optional>
#include <string>
#include <vector>

#include "cgt/rules/choice_table.h"
#include "cgt/rules/event.h"
#include "cgt/rules/trade_matching.h"
#include "cgt/rules/trades.h"

namespace cgt {

struct TradeSource {
    std::string name; // as given; events keep it without its folders
    std::string bytes;
};

struct TradePlan {
    std::vector<TradeMatch> matches;
    std::vector<Event> events;         // of the matches that make one, with their sources
    std::vector<TradeRefusal> refused; // each refused file's refusal, or the matching's
    // With `Lowest`: the net capital gains it weighed and whether its answer is proven.
    struct Lowest {
        long long netCapitalGain = 0;
        long long firstInNetCapitalGain = 0;
        bool proven = false;
    };
    std::optional<Lowest> lowest;
};

// The line `cgt import` prints after the matches of a `Lowest` plan, and the preview shows.
std::string LowestMatchingNote(const TradePlan::Lowest& lowest);

// With `Lowest`, the income year's sales take the parcels that give the lowest net capital gain
// of the imported events together with `others`, the choice table of the rest of the return.
TradePlan PlanTradeImport(const std::vector<TradeSource>& files, MatchMethod method,
                          const std::vector<NamedParcel>& named = {},
                          const ChoiceTable& others = {});

// An imported event's source as the event keeps it: "FILE|SALE LINE|PARCEL FILE:LINE", the file
// names without their folders.
std::string ImportSourceText(const Trade& sale, const Trade& parcel);
// The file of the sale of an import source; empty for an event typed by hand.
std::string ImportSourceFile(const std::string& source);
// A file name without its folders, as sources name it.
std::string SourceFileName(const std::string& file);

} // namespace cgt
