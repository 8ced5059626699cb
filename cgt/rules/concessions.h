#pragma once
// The small business concessions and the scrip-for-scrip roll-over after the choice table,
// without widgets: the elections of the active asset reduction, retirement exemption and
// roll-over per active-asset gain, the gains disregarded by the 15-year exemption, and the
// deferred share and trust-interest exchanges. Each grid is a cell table; its rows are loaded
// from the sources, checked with a message and the cell to focus, given back for their sources
// (cgt/records stores them) and totalled into the schedule.

#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "cgt/rules/event.h"
#include "cgt/rules/manual_table.h"
#include "cgt/rules/refusal.h"
#include "cgt/rules/schedule.h"
#include "controls/core/cell_table.h"

namespace cgt {

// ---- Concession elections -------------------------------------------------------------------

inline constexpr int kElectionColumns = 9;
enum ElectionColumn : int {
    ecDescription = 0,
    ecIndexed = 1, // net gain of the row in the column of its method
    ecDiscount = 2,
    ecOther = 3,
    ecReduction = 4,  // small business 50% active asset reduction
    ecRetirement = 5, // retirement exemption
    ecRollOver = 6,   // small business roll-over
    ecSourceKind = 7,
    ecSourceIndex = 8,
};
const StringList& ElectionsDisplay();
std::span<const ShownColumn> ElectionsShownColumns();
void SetupElectionsTable(CellTable& table);

// The row a gain's elections are kept in: an event's row of its worksheet, or the row of a manual
// or trust table record (from 1) in that table's elections worksheet.
struct ElectionSource {
    int worksheet = 0;
    int row = 0;
};
using ElectionsOf = std::function<StringList(ElectionSource)>;

// The choice table's concession sources (none: the table is left empty) into the table, each
// row's elections (a title and the three amounts) from its source.
void LoadElectionRows(CellTable& table, const StringList* sources, const ElectionsOf& electionsOf);
// The first row whose elections break a bound: each above half the gain, or the three together
// above the gain; the cursor goes to the election's column.
std::optional<Refusal> ValidateElections(const CellTable& table);
// Each row's elections for its source.
struct ElectionUpdate {
    ElectionSource source;
    StringList elections; // the title and the three amounts, " " for none
};
std::vector<ElectionUpdate> ElectionsToStore(const CellTable& table);
// The nine sums into the schedule's Part G, then the net capital gain again.
void ElectionsToSchedule(const CellTable& table, Schedule& schedule, ReturnResults& results);

inline constexpr std::string_view kReductionTooHigh =
    "Check amount. SBAA concession cannot be greater than 50% of net capital gain.";
inline constexpr std::string_view kRetirementTooHigh =
    "Check amount. SBRE concession cannot be greater than 50% of net capital gain.";
inline constexpr std::string_view kRollOverTooHigh =
    "Check amount. SBRO concession cannot be greater than 50% of net capital gain.";
inline constexpr std::string_view kConcessionsAboveGain =
    "Check amounts. Total concessions cannot be greater than the net capital gain.";

// ---- The 15-year exemption ------------------------------------------------------------------

inline constexpr int kExemptColumns = 3;
enum ExemptColumn : int { xcDescription = 0, xcTypeLetter = 1, xcGain = 2 };
const StringList& ExemptListDisplay();
void SetupExemptList(CellTable& table);
// Active-asset events with the exemption and no capital loss, by gain ascending.
void FillExemptList(CellTable& table, const std::vector<Event>& events);
// The exempt total and the first row's type letter into the schedule's Part J.
void ExemptionToSchedule(const CellTable& table, Schedule& schedule);

// ---- Scrip for scrip -----------------------------------------------------------------------

inline constexpr int kScripColumns = 7;
enum ScripColumn : int {
    scDescription = 0,
    scCostBase = 1,
    scMarketValue = 2, // typed
    scCash = 3,        // typed
    scProceeds = 4,
    scWorksheet = 5,
    scRowKey = 6,
};
const StringList& ScripListDisplay();
std::span<const ShownColumn> ScripListShownColumns();
void SetupScripList(CellTable& table);
// Share and trust-interest events deferred by a scrip-for-scrip roll-over.
void FillScripList(CellTable& table, const std::vector<Event>& events);
// The first row whose proceeds differ from market value plus cash (whole dollars); cursor to
// the market value.
std::optional<Refusal> ValidateScrip(const CellTable& table);
// Each row's market value and cash for its event.
struct ScripUpdate {
    ElectionSource event;
    Extended marketValue = 0;
    Extended cash = 0;
};
std::vector<ScripUpdate> ScripToStore(const CellTable& table);
// The roll-over answer and the three column totals into the schedule's Part K.
void ScripToSchedule(const CellTable& table, Schedule& schedule);

inline constexpr std::string_view kScripMismatch =
    "Market value of replacement plus other consideration must equal total capital proceeds.";

} // namespace cgt
