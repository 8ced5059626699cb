#pragma once

#include <QTableView>

class TXGridHost;
class TXGridHeader;

// The fixed columns of a grid: a second view of the same cells over the grid's left edge,
// showing only those columns, with the same widths, row heights, title row and vertical scroll
// position. It takes neither focus nor clicks; the grid's own columns scroll under it.
class TXGridFixedView : public QTableView {
public:
    explicit TXGridFixedView(TXGridHost* grid);

    TXGridHeader* titleRow() const { return titleRow_; }
    // Shows the grid's fixed columns at the grid's widths and scroll position, and places itself.
    void syncColumns();
    // Stands over the fixed columns of the grid's viewport and title row; hidden while the grid
    // has none.
    void place();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TXGridHost* grid_;
    TXGridHeader* titleRow_;
};
