#pragma once
// Keyboard focus inside the interview frame: the first control after a screen, the tab order
// of a screen by position for keyboard users, and leaving a grid with F6.

#include <initializer_list>

class QWidget;

namespace cgt {

// The first control after `start` in the tab order that `within` holds and that can take the
// focus by Tab (enabled, shown); nullptr when there is none.
QWidget* NextTabStop(const QWidget* within, QWidget* start, bool forward = true);

// The last widget of the tab order that `container` holds and that can take the focus;
// nullptr when it holds none.
QWidget* LastTabStopOf(QWidget* container);

// Orders the tab stops that sit directly on the screen by rows (tops within 12 pixels count as
// one row), then left to right; the screen's mark-up labels become tab stops.
void SortTabOrderByPosition(QWidget* screen);

// A pane of a window for F6: the part that holds it and the control it gives the focus to.
struct FocusPane {
    QWidget* holder;
    QWidget* first;
};
// Moves the focus to the first control of the next (or previous) pane after the one holding
// the focus; panes without a shown, enabled control are passed over.
void MoveFocusToNextPane(const QWidget* within, std::initializer_list<FocusPane> panes,
                         bool forward);

// Moves the focus from a control with inner widgets (a grid) to the next or previous tab stop
// of `within` outside it.
void MoveFocusPast(const QWidget* within, QWidget* control, bool forward);

} // namespace cgt
