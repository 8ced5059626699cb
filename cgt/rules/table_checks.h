#pragma once
// A refusal of a table screen's entries: its message and the cell the cursor goes to.

#include <string>

namespace cgt {

struct TableRefusal {
    std::string message;
    int row = 0; // data rows count from 1
    int col = 0;
};

} // namespace cgt
