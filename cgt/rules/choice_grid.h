#pragma once
// The choice table as a grid: the 21 columns' descriptions and the columns the screen shows,
// each row's cells and a row read back from its cells, the rows shown in a grid and read back
// when the user has typed, and what a cell shows. The rules work on the rows
// (cgt/rules/choice_table.h); the grid is their projection.

#include <array>
#include <span>
#include <string>

#include "cgt/rules/choice_table.h"
#include "cgt/rules/manual_table.h"
#include "controls/core/cell_table.h"

namespace cgt {

using ChoiceCells = std::array<std::string, kChoiceColumns>;

// The column descriptions of the table's 21 columns and the columns the screen shows.
const StringList& ChoiceTableDisplay();
std::span<const ShownColumn> ChoiceTableShownColumns();
// A cell table laid out for the choice table (columns and descriptions, no rows).
void SetupChoiceTable(CellTable& grid);

// A row's cells, and the row of cells (a line of the grid, of the stored table or of the manual
// table).
ChoiceCells ChoiceRowCells(const ChoiceRow& row);
ChoiceRow ChoiceRowFromCells(std::span<const std::string> cells);

// The rows into the grid, one grid row each (at least one, empty when there are none).
void ShowChoiceRows(const std::vector<ChoiceRow>& rows, CellTable& grid);
// The grid's rows, as the user left them, into the table's rows (empty rows kept).
void ReadChoiceGrid(const CellTable& grid, std::vector<ChoiceRow>& rows);
// The rows that hold something, as the return keeps the table: 21 strings a row.
StringList ChoiceTableList(const std::vector<ChoiceRow>& rows);

// The unapplied-losses grid in whole dollars: titles, "Prior Years" and "Current Year".
void SetupUnappliedGrid(CellTable& grid);
void FillUnappliedGrid(CellTable& grid, const UnappliedLosses& losses);

// What a cell shows: an amount of the gain, loss and applied-loss columns in whole dollars, as
// the table counts it (halves to even), whether it was written with cents or without; other
// cells, and cells that hold no number, as they stand.
std::string ShownChoiceCell(int col, const std::string& cell);

} // namespace cgt
