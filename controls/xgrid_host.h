#pragma once
// The worksheet grid as its parts (the title row, the delegate, the fixed columns and the cell
// editor) see it. The grid implements it; the parts know nothing more of the grid.

#include <QColor>
#include <QTableView>

#include "controls/core/cell_table.h"

class QHeaderView;
class QKeyEvent;
class TPopupListbox;

class TXGridHost {
public:
    // The grid's view: its style draws the cell buttons, its viewport holds the editor, and the
    // fixed columns follow its headers, widths and scroll position.
    virtual QTableView* view() = 0;
    virtual cgt::CellTable& table() = 0;
    virtual int FixedCols() const = 0;
    virtual QColor FixedColor() const = 0;
    virtual int DefaultRowHeight() const = 0;
    // The total width of the fixed columns.
    virtual int fixedWidth() const = 0;
    // The current cell.
    virtual int Col() const = 0;
    virtual int Row() const = 0;
    virtual int ColumnType(int col) const = 0;
    virtual TPopupListbox* picklist() const = 0;
    // Opens the drop-down list of the current cell.
    virtual void DropDown() = 0;
    // Keys the editor passes on; true when used.
    virtual bool handleGridKey(QKeyEvent* event) = 0;
    // The mouse is at x over a title row: the hint of the column there is shown.
    virtual void columnHintAt(QHeaderView* header, int x) = 0;

protected:
    ~TXGridHost() = default;
};
