#include "cgt/screens/tables/grid_layout.h"

#include "controls/xgrid.h"

void LayOutGrid(TXGrid* grid, const cgt::StringList& display,
                std::span<const cgt::ShownColumn> shown) {
    grid->SetColumns(display);
    for (int col = 0; col < grid->ColCount(); ++col)
        grid->setColWidths(col, -1);
    for (const cgt::ShownColumn& column : shown)
        grid->setColWidths(column.col, column.width);
}
