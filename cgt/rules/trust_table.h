#pragma once
// The trust distribution table: per trust its name, the nine components of the
// capital gain it distributed as the trustee reports them, their sum and, hidden, the losses
// the choice table applied to each component. 41 cells per trust.

#include <optional>

#include "cgt/rules/refusal.h"
#include "controls/core/cell_table.h"

namespace cgt {

inline constexpr int kTrustCells = 41;
inline constexpr int kTrustNameCell = 0;
inline constexpr int kTrustFirstComponent = 1; // indexed, discounted, other; of collectables;
inline constexpr int kTrustLastComponent = 9;  // of active assets
inline constexpr int kTrustNetCell = 10;
// The losses the choice table applied to component k stand, hidden, in cells k + 10
// (collectable), k + 19 (other) and k + 28 (transferred in).
inline constexpr int kTrustCollectableApplied = 10;
inline constexpr int kTrustOtherApplied = 19;
inline constexpr int kTrustTransferredApplied = 28;

// The column descriptions of the table's 41 columns.
const StringList& TrustTableDisplay();

// The net cell of every row: the sum of its components when the row has a name or the sum is
// above 0, else empty.
void UpdateTrustNetCells(CellTable& table);

// Leaving the screen: a row without a name that holds anything else is refused.
std::optional<Refusal> CheckTrustTable(const CellTable& table);

} // namespace cgt
