#include "controls/xgrid_totals.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

#include "controls/xgrid_widget.h"

TXGridTotals::TXGridTotals(QWidget* parent) : QWidget(parent) {}

void TXGridTotals::setXGrid(const QString& gridName) {
    gridName_ = gridName;
    resolveGrid();
}

void TXGridTotals::resolveGrid() {
    if (gridName_.isEmpty() || (grid_ && grid_->objectName() == gridName_)) return;
    if (auto* grid = window()->findChild<TXGrid*>(gridName_)) setGrid(grid);
}

void TXGridTotals::setGrid(TXGrid* grid) {
    if (grid_) {
        grid_->removeEventFilter(this);
        disconnect(grid_, nullptr, this, nullptr);
        grid_->table().SetHasTotalsRow(false);
    }
    grid_ = grid;
    if (!grid) return;
    gridName_ = grid->objectName();
    grid->installEventFilter(this);
    connect(grid, &TXGrid::totalsChanged, this, [this] {
        place();
        update();
    });
    grid->table().SetHasTotalsRow(true);
    setFont(grid->font());
    place();
    update();
}

TXGrid* TXGridTotals::grid() const {
    return grid_;
}

void TXGridTotals::place() {
    if (!grid_) return;
    QWidget* parent = parentWidget();
    QPoint topLeft = grid_->pos();
    if (parent && grid_->parentWidget() != parent)
        topLeft = parent->mapFromGlobal(grid_->mapToGlobal(QPoint(0, 0)));
    setGeometry(topLeft.x(), topLeft.y() + grid_->height() - 1, grid_->width() - 2,
                grid_->DefaultRowHeight() + 2);
    setHidden(grid_->isHidden());
    raise();
}

QString TXGridTotals::displayedText(int col) const {
    if (!grid_ || grid_->ColumnType(col) != cgt::ctNumber || grid_->ColumnNoTotal(col)) return {};
    return grid_->ShownColumnTotal(col);
}

int TXGridTotals::columnX(int col) const {
    return grid_->viewport()->geometry().x() + grid_->columnLeft(col);
}

QRect TXGridTotals::visibleArea(int col) const {
    const QRect viewport = grid_->viewport()->geometry();
    const int left = viewport.x() + (col < grid_->FixedCols() ? 0 : grid_->fixedWidth());
    const int right = viewport.x() + std::min(viewport.width(), width() - viewport.x());
    return QRect(left, 0, std::max(right - left, 0), height());
}

QRect TXGridTotals::textRect(int col) const {
    if (!grid_ || col < 0 || col >= grid_->ColCount() || grid_->isColumnHidden(col)) return {};
    const QRect cell(columnX(col), 0, grid_->columnWidth(col), height());
    if (!cell.intersects(visibleArea(col))) return {};
    return cell.adjusted(0, 0, -3, 0);
}

void TXGridTotals::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (grid_) {
        painter.setPen(palette().color(QPalette::Mid));
        for (int c = 0; c < grid_->ColCount(); ++c) {
            if (grid_->isColumnHidden(c)) continue;
            const int x = columnX(c) + grid_->columnWidth(c) - 1;
            const QRect visible = visibleArea(c);
            if (x >= visible.left() && x <= visible.right()) painter.drawLine(x, 0, x, height());
        }
        painter.setPen(palette().color(QPalette::Text));
        for (int c = 0; c < grid_->ColCount(); ++c) {
            const QString text = displayedText(c);
            const QRect r = textRect(c);
            if (text.isEmpty() || r.width() <= 0) continue;
            // A column partly out of view shows the part of its total that is in view, as its
            // cells do, never the whole total squeezed into the part.
            painter.save();
            painter.setClipRect(visibleArea(c));
            painter.drawText(r, Qt::AlignRight | Qt::AlignVCenter, text);
            painter.restore();
        }
    }
    QPen frame(QColor(128, 128, 128));
    frame.setWidth(3);
    frame.setJoinStyle(Qt::MiterJoin);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void TXGridTotals::showEvent(QShowEvent* event) {
    resolveGrid();
    place();
    QWidget::showEvent(event);
}

bool TXGridTotals::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
            place();
            update();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
