#pragma once
// The fill step: each field record of a loaded page becomes a text record carrying the field's
// text from the store, so that the page prints with the script's fonts and alignments. The
// field drawer reads the same texts for fields drawn unfilled.

#include <string>
#include <vector>

#include "report/core/pages.h"

namespace cgt::report {

// The text of a field record, by its display type:
//   sign (7): "L" for a negative amount, a blank otherwise;
//   list (8): every line of the tag's list, one per line;
//   column (9): outside a loop, the column's cell of every row of the tag's list (cells
//     column, column + size, ...), one per line; in a loop, the cell of the loop's row;
//   row types (32 to 34) in a loop: the row's cell of the tag's list (or, in a loop over a
//     worksheet, the row's value of the tag) as text, whole dollars or dollars and cents; in
//     the footer block the amounts' total;
//   any other type: the tag's display text.
// Amounts and display texts print without a leading minus sign; list cells trimmed.
std::string FieldText(const Record& field);

// The cells of one column of a list of `columns` cells per row, one per row (a missing cell is
// empty), trimmed.
std::vector<std::string> ListColumn(int tag, int column, int columns);

// Turns every field record ("S") of the page into a text record with its text, in place.
void FillPage(Page& page);
// Fills every loaded page.
void FillForm(PageList& pages);

} // namespace cgt::report
