#pragma once
// The worksheet grid's cells as a Qt item model over a cgt::CellTable, without a widget.

#include <QAbstractTableModel>
#include <QString>

#include <functional>

#include "controls/core/cell_table.h"

// Model row r is data row r + 1 of the table; the titles (row 0) are the horizontal header.
// A screen reader names a cell by its column's title and its row's description and reads its
// shown text as the cell's description.
class TXGridModel : public QAbstractTableModel {
public:
    // How a data cell's text is shown (the edit role keeps it as it is).
    using ShownText = std::function<QString(int col, const QString& cell)>;

    TXGridModel(cgt::CellTable& table, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The shown-text rule; empty: as the cell stands.
    ShownText shown;
    // Whether a column is hidden from the user; empty: none is.
    std::function<bool(int col)> hidden;

    // What a screen reader calls cell (col, row) of the table: "column title, row description".
    // The row's description is its first text cell with a text, other than the cell itself;
    // a row without one is "row N".
    QString CellName(int col, int row) const;

    // Brings the row and column counts in line with the table and repaints every cell.
    void sync();
    // Repaints cell (col, row) of the table, a title when row is 0.
    void cellChanged(int col, int row);

private:
    QString rowDescription(int col, int row) const;

    cgt::CellTable& table_;
    int rows_ = 0;
    int cols_ = 0;
};
