#pragma once
// A refusal of the entries of a screen: its message and where the cursor goes, a field of an
// event or a cell of the screen's grid.

#include <string>

#include "cgt/rules/event.h"

namespace cgt {

struct Refusal {
    std::string message;
    EventField field = EventField::None; // the field to focus; a grid's own field for its cells
    // A refusal of a grid's row: the cell to focus (rows from 1); 0 for other fields.
    int row = 0;
    int col = 0;
};

} // namespace cgt
