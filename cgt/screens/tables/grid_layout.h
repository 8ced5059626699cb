#pragma once
// Lays a worksheet grid out from the column descriptions its rules give: the columns, their
// titles and kinds, and the widths of the columns shown; every other column is hidden.

#include <span>

#include "cgt/rules/manual_table.h"

class TXGrid;

void LayOutGrid(TXGrid* grid, const cgt::StringList& display,
                std::span<const cgt::ShownColumn> shown);
