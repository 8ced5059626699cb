#include "controls/xgrid_cell_button.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

namespace cgt::grid {

int ButtonWidth(const QWidget* widget) {
    return widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget);
}

void DrawCellButton(QPainter* painter, const QWidget* widget, const QRect& rect) {
    QStyleOptionButton button;
    button.initFrom(widget);
    button.rect = rect;
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    widget->style()->drawControl(QStyle::CE_PushButtonBevel, &button, painter, widget);
    QStyleOption arrow;
    arrow.initFrom(widget);
    arrow.rect = rect.adjusted(3, 3, -3, -3);
    widget->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter, widget);
}

} // namespace cgt::grid
