#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

class TXGrid;

// The totals row: placed directly under its grid, one total per number column.
class TXGridTotals : public QWidget {
    Q_OBJECT
    // The object name of the grid in the same window.
    Q_PROPERTY(QString XGrid READ XGrid WRITE setXGrid)

public:
    explicit TXGridTotals(QWidget* parent = nullptr);

    QString XGrid() const { return gridName_; }
    void setXGrid(const QString& gridName);
    void setGrid(TXGrid* grid);
    TXGrid* grid() const;

    // What the row shows for a column: the total of a number column not kept out of totals,
    // else nothing; and where it is drawn (right-aligned in the column, empty when no part of
    // the column is in view; only the part in view is painted).
    QString displayedText(int col) const;
    QRect textRect(int col) const;

    void place();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void resolveGrid();
    // The x of a column of the grid, and the part of the row where it can be seen: right of
    // the fixed columns for a scrolling one.
    int columnX(int col) const;
    QRect visibleArea(int col) const;

    QString gridName_;
    QPointer<TXGrid> grid_;
};
