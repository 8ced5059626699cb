#include "summary/grid_layout.h"

#include <QStringList>

#include "controls/xgrid.h"

void LayOutGrid(TXGrid* grid, const cgt::StringList& display,
                std::span<const cgt::ShownColumn> shown) {
    QStringList lines;
    for (const std::string& line : display)
        lines << QString::fromLatin1(line.data(), qsizetype(line.size()));
    grid->setColCount(int(display.size()));
    grid->setDisplay(lines);
    for (int col = 0; col < grid->ColCount(); ++col)
        grid->setColWidths(col, -1);
    for (const cgt::ShownColumn& column : shown)
        grid->setColWidths(column.col, column.width);
}
