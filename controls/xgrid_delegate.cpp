#include "controls/xgrid_delegate.h"

#include <QPainter>

#include "controls/xgrid_cell_button.h"
#include "controls/xgrid_host.h"

TXGridDelegate::TXGridDelegate(TXGridHost* grid) : QStyledItemDelegate(grid->view()), grid_(grid) {}

void TXGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    const int col = index.column();
    const cgt::ColumnRecord& column = grid_->table().Column(col);
    const bool fixed = col < grid_->FixedCols();
    painter->save();
    painter->fillRect(option.rect,
                      fixed ? grid_->FixedColor() : option.palette.color(QPalette::Base));
    int buttonWidth = 0;
    if (column.button) {
        buttonWidth = cgt::grid::ButtonWidth(grid_->view());
        QRect button(option.rect.right() - buttonWidth + 1, option.rect.top(), buttonWidth,
                     option.rect.height());
        cgt::grid::DrawCellButton(painter, grid_->view(), button);
    }
    const QRect text = option.rect.adjusted(3, 0, -3 - buttonWidth, 0);
    const int align = (column.IsNumber() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    painter->setPen(fixed ? QColor(Qt::black) : option.palette.color(QPalette::Text));
    // A row with room for two lines wraps a long text; a row of one line shows it cut
    // with an ellipsis rather than half of a second line.
    const QFontMetrics metrics(painter->font());
    QString shown = index.data().toString();
    if (text.height() >= 2 * metrics.lineSpacing())
        painter->drawText(text, align | Qt::TextWordWrap, shown);
    else
        painter->drawText(text, align, metrics.elidedText(shown, Qt::ElideRight, text.width()));
    painter->restore();
}
