#pragma once
// The choice table: every capital gain and loss of the year in one cell table, one row per
// result (an event's disposal and its non-assessable receipts, each component of a trust
// distribution, each line of the manual calculation table). The user, or the automatic
// choices, picks the method of each gain that has two, defers what can be deferred and applies
// current-year and earlier-year losses; the table works out each row's net gain and the net
// capital gain. Leaving it forward stores the choices with their sources and computes the CGT
// schedule. Widget-free: the screen shows the CellTable and the unapplied-losses grid and
// shows the messages these functions return.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cgt/rules/manual_table.h"
#include "cgt/rules/refusal.h"
#include "controls/core/cell_table.h"

namespace cgt {

inline constexpr int kChoiceColumns = 21;
enum ChoiceColumn : int {
    ccSection = 0,
    ccDescription = 1,
    ccType = 2,
    ccIndexed = 3,        // I
    ccDiscount = 4,       // D, before the discount
    ccChoiceRequired = 5, // "Yes" when the row has both an indexed and a discount gain
    ccMethod = 6,         // "Indexed", "Discount" or empty
    ccOther = 7,          // O
    ccLoss = 8,           // L
    ccCanDefer = 9,
    ccDeferAuto = 10, // "Yes": deferred by a marriage-breakdown roll-over
    ccDefer = 11,     // the user's answer
    ccCollectableApplied = 12,
    ccPriorCollectableApplied = 13, // never filled
    ccOtherApplied = 14,
    ccTransferredApplied = 15,
    ccNetGain = 16,
    ccSourceKind = 17,  // worksheet number, or the manual or trust table
    ccSourceIndex = 18, // row key, or 0-based record of the table
    ccRowCode = 19,     // "A1" … "A9", "B" or "C"
    ccIndexFactor = 20, // I ÷ D × 100
};

// Source kinds of rows that do not come from an event worksheet.
inline constexpr int kManualSource = 1201;
inline constexpr int kTrustSource = 1215;

// The column descriptions of the table's 21 columns and the columns the screen shows.
const StringList& ChoiceTableDisplay();
std::span<const ShownColumn> ChoiceTableShownColumns();
// A cell table laid out for the choice table (columns and descriptions, no rows).
void SetupChoiceTable(CellTable& table);

// The unapplied-losses grid in whole dollars.
struct UnappliedLosses {
    long long priorCollectable = 0;
    long long priorOther = 0;
    long long currentCollectable = 0;
    long long currentOther = 0;
};
// The 3-column grid under the table: titles, "Prior Years" and "Current Year".
void SetupUnappliedGrid(CellTable& grid);
void FillUnappliedGrid(CellTable& grid, const UnappliedLosses& losses);

// The working values of the table, whole dollars. CYC and CYO count only rows that are not
// deferred: a deferred loss is not a loss of this year.
struct ChoiceState {
    long long cyc = 0, cyo = 0;          // current-year collectable and other losses
    Extended currentYearLosses = 0;      // the loss column total over rows not deferred (983)
    long long pyc = 0, pyo = 0;          // unapplied losses of earlier years (920, 921)
    long long ti = 0;                    // capital losses transferred in (1065)
    long long t12 = 0, t14 = 0, t15 = 0; // applied-loss column totals, truncated
    long long rc() const { return cyc + pyc - t12; } // remaining collectable losses
    long long ro() const { return cyo + pyo - t14; } // remaining other losses
    long long rt() const { return ti - t15; }        // remaining transferred-in losses
    // Split of the applied losses by the last recalculation: current year first.
    long long currentCollectableApplied = 0, priorCollectableApplied = 0;
    long long currentOtherApplied = 0, priorOtherApplied = 0;
    UnappliedLosses unapplied;
    long long netCapitalGain = 0; // the net gain column's total, truncated (tag 174)
    bool hasSources = false;      // tags 170/171
};

// One row's working values: amounts rounded to whole dollars (halves to even, empty 0), the
// net gain unrounded, and texts with their defaults for an empty cell.
struct ChoiceRow {
    long long i = 0, d = 0, o = 0, l = 0;
    long long c12 = 0, c14 = 0, c15 = 0;
    Extended netGain = 0;
    std::string section, type, choiceRequired, method, canDefer, deferAuto, defer;
    bool Deferred() const { return deferAuto == "Yes" || defer == "Yes"; }
    bool NeedsChoice() const { return choiceRequired == "Yes"; }
};

// Asset type groups.
bool IsCollectableType(std::string_view type);
bool IsActiveType(std::string_view type);
bool IsNonActiveType(std::string_view type);

// Clears and fills the table from the trust table, the manual table and the event worksheets
// 451–462 (gains exempt under the 15-year exemption left out), sorts it by source; reads the
// earlier-year and transferred-in losses; sets tags 170/171 and 983 and the current-year losses.
void BuildChoiceRows(CellTable& table, ChoiceState& state);

// The working values of one row, with the applied-loss totals and remaining losses of the whole
// table updated in `state`.
ChoiceRow LoadChoiceRow(const CellTable& table, ChoiceState& state, int row);
// A row's working values alone.
ChoiceRow ReadChoiceRow(const CellTable& table, int row);
// The applied-loss totals, current-year losses, their split and the unapplied losses of the
// table as it stands.
void UpdateChoiceTotals(const CellTable& table, ChoiceState& state);

// Every row's net gain, the concession source list (801), the split of applied losses, the
// unapplied losses, tag 983 and tag 174.
void RecalculateChoices(CellTable& table, ChoiceState& state);

// The automatic choices.
void AutoDefer(CellTable& table, ChoiceState& state); // then recalculates
void AutoMethod(CellTable& table);                    // no recalculation
void ApplyCollectableLosses(CellTable& table, ChoiceState& state);
void ApplyOtherLosses(CellTable& table, ChoiceState& state);

// The buttons, answered Yes. Each ends recalculated.
void MakeAllChoices(CellTable& table, ChoiceState& state);    // losses, deferment, methods
void MakeDeferChoices(CellTable& table, ChoiceState& state);  // deferment only
void MakeMethodChoices(CellTable& table, ChoiceState& state); // methods only
// Rebuilds the table from the sources as when it is shown, and recalculates; with `clear` (the
// question answered Yes) every choice and applied loss is emptied first.
void ResetAllChoices(CellTable& table, ChoiceState& state, bool clear);

inline constexpr std::string_view kMakeAllChoicesQuestion =
    "This step will now allow Tesmo to make all of the method and deferment choices and to "
    "apply any qualifying losses against gains present.\r\n\r\nDo you wish to continue?";
inline constexpr std::string_view kDeferChoicesQuestion =
    "This step will now allow Tesmo to make all of the deferment choices.\r\n\r\nDo you wish "
    "to continue?";
inline constexpr std::string_view kMethodChoicesQuestion =
    "This step will now allow Tesmo to make all of the method choices. This will effect any "
    "losses already applied.\r\n\r\nDo you wish to continue?";
inline constexpr std::string_view kResetChoicesQuestion =
    "This option you have chosen will clear all of your method choices, deferment choices and "
    "applied losses and allow you to start again.\r\n\r\nDo you wish to continue?";

// The checks of leaving forward: the first failing row's message with column 3 of that row, or
// a totals message with row 1. Uses the totals of the last recalculation.
std::optional<Refusal> ValidateChoiceTable(const CellTable& table, const ChoiceState& state);

// Writes the choices and applied losses back to the sources (event rows, the manual and the
// trust table).
void StoreChoices(const CellTable& table);

// StoreChoices, then the CGT schedule.
void LeaveChoiceTable(const CellTable& table, const ChoiceState& state);

// What a cell shows: an amount of the gain, loss and applied-loss columns in whole dollars, as
// the table works with it (halves to even), whether it was written with cents or without; other
// cells, and cells that hold no number, as they stand.
std::string ShownChoiceCell(int col, const std::string& cell);

// "$1,234": the net capital gain as the line under the table shows it (screen tag 123).
std::string NetCapitalGainText(const ChoiceState& state);
inline constexpr int kNetCapitalGainScreenTag = 123;

// The table worked as `cgt compute` works it: built from the sources, with `makeAllChoices` the
// make-all-choices button answered Yes, recalculated and left forward: refused, or its rows kept
// in tag 803 as the screen's grid keeps them, the choices stored and the schedule computed.
struct ChoiceRun {
    CellTable table;
    ChoiceState state;
    std::optional<Refusal> refused;
};
ChoiceRun RunChoiceTable(bool makeAllChoices);

} // namespace cgt
