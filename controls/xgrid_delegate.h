#pragma once
// How the worksheet grid draws its data cells.

#include <QStyledItemDelegate>

class TXGridHost;

// Data cells: text 3 pixels in (numbers right-aligned), centred vertically, word-wrapped in rows
// of two lines or more; fixed columns in the fixed colour with black text; a button image in
// button columns.
class TXGridDelegate : public QStyledItemDelegate {
public:
    explicit TXGridDelegate(TXGridHost* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    TXGridHost* grid_;
};
