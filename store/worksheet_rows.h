#pragma once
// Worksheet rows and the scratch tags of the row being edited, without a window: opening a row
// into the scratch tags, storing the scratch tags back as the row's items in their place,
// deleting a row and renumbering the later ones, and the rows' names for the pick list. The
// interview frame, the choice table, the command-line tool and the reports all work through
// these.

#include <cstdint>
#include <string>
#include <vector>

#include "store/field_store.h"

namespace cgt {

// The list of worksheet w, created empty when its field holds none; nullptr for a worksheet
// number whose tag is not a field.
Worksheet* EnsureWorksheet(int worksheet);

// Zero-fills the scratch tags and copies the row's items into them unchanged.
void CopyRowToScratch(const Worksheet* sheet, int row);

// One item of row `row` for every scratch tag with a display text, in tag order.
std::vector<WorksheetItem> ScratchRowItems(int row);

// Replaces the row's items by ScratchRowItems(row), at the place of the row's first item (after
// the last row when it had none).
void StoreScratchAsRow(Worksheet& sheet, int row);

// Removes the row's items and numbers the later rows one lower.
void DeleteRow(Worksheet& sheet, int row);

// "Worksheet No." + row: the name of a row stored without one.
std::string DefaultRowName(int row);

// The name (tag 710) of every row in list order; a name that is no text counts as empty.
std::vector<std::string> RowNames(const Worksheet* sheet);

// A row read and written by a calculation: the row's items copied into the scratch tags, and
// the scratch tags stored back as the row (zero-filled afterwards).
void FetchRow(int worksheet, int row);
void PutRow(int worksheet, int row);

} // namespace cgt
