#pragma once
// A refusal of the entries of a screen: its message and where the cursor goes, a field by its
// tag or a cell of the screen's grid.

#include <string>

namespace cgt {

struct Refusal {
    std::string message;
    int tag = 0; // the field to focus; a grid's own tag for a cell of it
    // A refusal of a grid's row: the cell to focus (rows from 1); 0 for other fields.
    int row = 0;
    int col = 0;
};

} // namespace cgt
