#include "controls/xgrid_header.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/xgrid_host.h"
#include "controls/xgrid_text.h"

TXGridHeader::TXGridHeader(TXGridHost* grid)
    : QHeaderView(Qt::Horizontal, grid->view()), grid_(grid) {
    setMouseTracking(true);
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setMinimumSectionSize(0);
}

QSize TXGridHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.setHeight(height_);
    return size;
}

void TXGridHeader::paintSection(QPainter* painter, const QRect& rect, int logical) const {
    painter->save();
    painter->fillRect(rect, grid_->FixedColor());
    painter->setPen(palette().color(QPalette::Dark));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    const cgt::ColumnRecord& column = grid_->table().Column(logical);
    int align = Qt::AlignLeft;
    if (column.titleAlignment == cgt::taRight) align = Qt::AlignRight;
    if (column.titleAlignment == cgt::taCentre) align = Qt::AlignHCenter;
    painter->setPen(Qt::black);
    painter->drawText(rect.adjusted(4, 2, -4, -2), align | Qt::AlignTop | Qt::TextWordWrap,
                      cgt::grid::TitleText(grid_->table().Cell(logical, 0)));
    painter->restore();
}

void TXGridHeader::mouseMoveEvent(QMouseEvent* event) {
    grid_->columnHintAt(this, event->position().toPoint().x());
    QHeaderView::mouseMoveEvent(event);
}
