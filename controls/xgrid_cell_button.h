#pragma once
// The button of a picklist or ellipsis column: its width, and its image in a cell that is not
// being edited.

class QPainter;
class QRect;
class QWidget;

namespace cgt::grid {

// The width of a cell button in the widget's style.
int ButtonWidth(const QWidget* widget);
// A raised bevel with a down arrow.
void DrawCellButton(QPainter* painter, const QWidget* widget, const QRect& rect);

} // namespace cgt::grid
