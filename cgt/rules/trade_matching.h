#pragma once
// The parcels that buys make and the matching of sales to them, and the share event of a match.
//
// Trades of any years and files are taken in date order (a buy before a sell of the same date,
// otherwise in the order given: file by file, line by line). Each buy is a parcel; each sale up
// to 30 June 2004 takes units from the parcels of its code then held: the parcels named for it
// first, the rest by the method. Units of one sale taken from one parcel make one match. A
// trade's value and brokerage are split over its matches by units, in cents, the last part of
// the trade taking what is left, so the parts of every trade add up to it exactly.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/dates.h"
#include "cgt/rules/event.h"
#include "cgt/rules/trades.h"

namespace cgt {

// The order in which a sale takes the parcels it does not name.
enum class MatchMethod {
    Fifo,    // the earliest bought first
    Lifo,    // the latest bought first
    Highest, // the highest trade value per unit first (the earliest of equal ones first)
    Lowest,  // the income year's sales matched for the lowest net capital gain of the return
};

// A method's name on the command line and its label in the interview.
struct MatchMethodText {
    MatchMethod method;
    std::string_view name;  // "fifo", "lifo", "highest", "lowest"
    std::string_view label; // "First in, first out", ...
};
std::span<const MatchMethodText> MatchMethodTexts();
std::optional<MatchMethod> MatchMethodOfName(std::string_view name);
std::string_view MatchMethodName(MatchMethod method);

// Units of a parcel named for a sale (specific identification). The sales of the code on that
// date draw on the units in order until they are used up.
struct NamedParcel {
    DateTime saleDate = 0;
    std::string code; // upper case, trimmed
    long long units = 0;
    DateTime parcelDate = 0;
    // Where the naming was read, for a refusal; empty and 0 when it was not read from a file.
    std::string file;
    int line = 0;
    // The parcel's own buy, when the naming picks one of the parcels of its date; 0: any of them.
    std::string parcelFile;
    int parcelLine = 0;
    // Chosen by the lowest-gain matching rather than named by the user: its matches are the
    // method's, not named ones.
    bool chosen = false;
};

// Units of one sale taken from one parcel, with their parts of both trades' amounts in cents.
struct TradeMatch {
    Trade sale;
    Trade parcel;
    long long units = 0;
    long long proceedsCents = 0;      // the part of the sale's trade value
    long long costCents = 0;          // the part of the parcel's trade value
    long long buyBrokerageCents = 0;  // the part of the parcel's brokerage
    long long saleBrokerageCents = 0; // the part of the sale's brokerage
    bool incomeYear = false; // the sale is in the income year; an earlier one only used units
    bool before1985 = false; // the parcel was bought before 20 September 1985: its gain or loss
                             // is disregarded
    MatchMethod method = MatchMethod::Fifo; // the method of the matching
    bool named = false;                     // the parcel was named for the sale
};

struct TradeMatching {
    // Every match of every sale up to the end of the income year, in the order of the sales,
    // the earlier years' sales included with incomeYear false. Empty on a refusal.
    std::vector<TradeMatch> matches;
    std::optional<TradeRefusal> refused;
};

// Matches the sales up to 30 June 2004 to the parcels of the buys; later trades are ignored.
// `Lowest` takes what is not named first in, first out (PlanTradeImport names the parcels of
// the income year's sales for it). A
// sale that needs more units than are held, a named parcel that does not hold the units named,
// or named units that no sale used, refuse the whole matching.
TradeMatching MatchTrades(std::vector<Trade> trades, MatchMethod method,
                          const std::vector<NamedParcel>& named = {});

// The share of `cents` that `part` of a trade's `units` units carry, to the nearest cent (a half
// cent up). Split as whole and rest so that no product leaves 64 bits below two thousand million
// units.
long long ShareOfCents(long long cents, long long units, long long part);

// A match of the income year whose parcel was bought from 20 September 1985: it makes an event.
bool MakesEvent(const TradeMatch& match);

// The CGT event of a sale, disposal (A1). The event of a match takes it in its event code field,
// which the typed event does not hold: the adapter that records the event writes it.
inline constexpr std::string_view kSaleEventCode = "A1";

// The shares worksheet's event of a match, as a plain sale entered on the share screens: the
// description "CODE units shares bought dd/mm/yyyy", the non-active shares type, the buy's and
// the sale's dates, the proceeds in whole dollars (the cents of the part dropped), the cost
// elements of the purchase and of both brokerages in dollars and cents (an element of no amount
// left out), no roll-over and no deceased estate.
Event EventOfMatch(const TradeMatch& match);

} // namespace cgt
