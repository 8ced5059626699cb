#pragma once
// The choice table, the concession screens and the schedule between the store and the rules:
// the table's sources read (the events, the manual and trust tables, the earlier and
// transferred-in losses), what the table gives the return published, the choices stored with
// their sources, the schedule row read and written, and the concession grids loaded from and
// stored into their sources.

#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "cgt/rules/choice_table.h"
#include "cgt/rules/lowest_gain.h"
#include "cgt/rules/refusal.h"
#include "cgt/rules/schedule.h"

namespace cgt {

class CellTable;

// ---- The choice table ----------------------------------------------------------------------

// The table built from its sources in the store: the events of the asset worksheets, the manual
// and trust tables, the earlier-year and transferred-in losses; the events `skip` names left out.
ChoiceTable BuildStoredChoiceTable(const std::function<bool(const Event&)>& skip = {});
// Whether the table has sources (tags 170/171), the current-year losses, the concession
// sources and the net capital gain, as the table stands.
void PublishChoiceTable(const ChoiceTable& table);
// The choices and applied losses into their sources: the event rows, the manual and the trust
// table.
void StoreChoices(const ChoiceTable& table);
// The table's rows as tag 803 keeps them.
void StoreChoiceRows(const ChoiceTable& table);
// StoreChoices, then the CGT schedule.
void LeaveChoiceTable(const ChoiceTable& table);

// How `cgt compute` makes the choices: those stored, the make-all-choices button answered Yes,
// or the lowest net capital gain found.
enum class ChoiceMode { Stored, MakeAll, Lowest };

// The table worked as `cgt compute` works it: built from the sources, its choices made as
// `mode` says, recalculated and left forward: refused, or its rows kept in tag 803 as the
// screen's grid keeps them, the choices stored and the schedule computed.
struct ChoiceRun {
    ChoiceTable table;
    std::optional<Refusal> refused;
    std::optional<LowestChoices> lowest; // ChoiceMode::Lowest
};
ChoiceRun RunChoiceTable(ChoiceMode mode);

// ---- The results handed to the host ---------------------------------------------------------

// Whether the results the return holds (the total gains and losses, the net capital gain, the
// losses carried forward and the schedule) were worked out from the choice table's sources as
// they now stand: the digest of the sources is kept each time the table is left, and emptied
// when the results are cleared.
enum class ResultsState {
    NotWorkedOut, // the table was never left: there are no results
    Current,
    Stale, // events, tables or losses changed since the table was last left
};
ResultsState StoredResultsState();

// Stale results worked out again, as `cgt compute` does: every event recomputed and the table
// left with its stored choices. When the table's checks refuse them, the results are cleared
// and the refusal returned: the choice table must be visited again.
std::optional<Refusal> RefreshStaleResults();

inline constexpr std::string_view kChoiceTableRevisitMessage =
    "The return has changed since the choice table was last completed, and its choices no longer "
    "pass its checks. The capital gains results have been cleared: please visit the choice table "
    "(\"Application of choices\") again before the return is lodged.";

// ---- The schedule --------------------------------------------------------------------------

// The schedule row (row 1 of worksheet 469) and the return's results.
Schedule ReadSchedule();
ReturnResults ReadReturnResults();
// The schedule labels in the order `cgt compute` prints them: the amounts of Parts A to J, the
// letter of Part J, the check boxes and the amounts of Part K.
std::span<const int> ScheduleLabels();

// ---- The concession screens ----------------------------------------------------------------

// The elections grid from the concession sources and each source's stored elections.
void FillElections(CellTable& table);
// Each row's elections into its source's row.
void StoreElections(const CellTable& table);
// Part G from the elections, and the net capital gain again.
void TotalElections(const CellTable& table);
// The gains disregarded by the 15-year exemption, and Part J from them.
void BuildExemptList(CellTable& table);
void StoreExemption(const CellTable& table);
// The scrip-for-scrip roll-overs, each row's market value and cash into its event, and Part K.
void BuildScripList(CellTable& table);
void StoreScrip(const CellTable& table);
void TotalScrip(const CellTable& table);

} // namespace cgt
