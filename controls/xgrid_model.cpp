#include "controls/xgrid_model.h"

#include "controls/xgrid_text.h"

using cgt::grid::Latin1;
using cgt::grid::TitleText;

TXGridModel::TXGridModel(cgt::CellTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

int TXGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TXGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cols_;
}

QVariant TXGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int col = index.column();
    const int row = index.row() + 1;
    if (role == Qt::AccessibleTextRole) return CellName(col, row);
    if (role == Qt::AccessibleDescriptionRole) role = Qt::DisplayRole;
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const QString cell = Latin1(table_.Cell(col, row));
    return role == Qt::DisplayRole && shown ? shown(col, cell) : cell;
}

QString TXGridModel::CellName(int col, int row) const {
    QString title = TitleText(table_.Cell(col, 0)).simplified();
    if (title.isEmpty()) title = QStringLiteral("Column %1").arg(col + 1);
    return title + QStringLiteral(", ") + rowDescription(col, row);
}

QString TXGridModel::rowDescription(int col, int row) const {
    for (int c = 0; c < table_.ColCount(); ++c) {
        if (c == col || table_.Column(c).type != cgt::ctText || (hidden && hidden(c))) continue;
        const QString text = Latin1(table_.Cell(c, row)).simplified();
        if (!text.isEmpty()) return text;
    }
    return QStringLiteral("row %1").arg(row);
}

QVariant TXGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return TitleText(table_.Cell(section, 0));
}

void TXGridModel::sync() {
    const int cols = table_.ColCount();
    const int rows = table_.RowCount() - 1;
    if (cols > cols_) {
        beginInsertColumns({}, cols_, cols - 1);
        cols_ = cols;
        endInsertColumns();
    } else if (cols < cols_) {
        beginRemoveColumns({}, cols, cols_ - 1);
        cols_ = cols;
        endRemoveColumns();
    }
    if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows({}, rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
    if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
    if (cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
}

void TXGridModel::cellChanged(int col, int row) {
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else if (row - 1 < rows_ && col < cols_) {
        const QModelIndex i = index(row - 1, col);
        emit dataChanged(i, i);
    }
}
