#include "interview/focus_order.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "controls/text_label.h"

namespace cgt {

namespace {

bool IsTabStop(const QWidget* within, const QWidget* w) {
    return within->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(within) &&
           (w->focusPolicy() & Qt::TabFocus);
}

} // namespace

QWidget* NextTabStop(const QWidget* within, QWidget* start, bool forward) {
    for (QWidget* w = forward ? start->nextInFocusChain() : start->previousInFocusChain();
         w && w != start; w = forward ? w->nextInFocusChain() : w->previousInFocusChain())
        if (IsTabStop(within, w)) return w;
    return nullptr;
}

QWidget* LastTabStopOf(QWidget* container) {
    QWidget* last = nullptr;
    for (QWidget* w = container->nextInFocusChain();
         w && w != container && container->isAncestorOf(w); w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus) last = w;
    return last;
}

void SortTabOrderByPosition(QWidget* screen) {
    for (TTextLbl* label : screen->findChildren<TTextLbl*>())
        label->setTabStop(true);
    // The controls that sit directly on the screen, in tab order.
    std::vector<QWidget*> controls;
    for (QWidget* w = screen->nextInFocusChain(); w && w != screen; w = w->nextInFocusChain()) {
        if (w->parentWidget() != screen) continue;
        if (!(w->focusPolicy() & Qt::TabFocus)) continue;
        if (std::find(controls.begin(), controls.end(), w) != controls.end()) break;
        controls.push_back(w);
    }
    // An insertion sort: the order is not transitive across rows.
    auto before = [](const QWidget* a, const QWidget* b) {
        if (std::abs(a->y() - b->y()) < 12) return a->x() < b->x();
        return a->y() < b->y();
    };
    for (std::size_t i = 1; i < controls.size(); ++i)
        for (std::size_t j = i; j > 0 && before(controls[j], controls[j - 1]); --j)
            std::swap(controls[j], controls[j - 1]);
    QWidget* previous = screen;
    for (QWidget* w : controls) {
        QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void MoveFocusToNextPane(const QWidget* within, std::initializer_list<FocusPane> panes,
                         bool forward) {
    std::vector<FocusPane> shown;
    for (const FocusPane& pane : panes)
        if (pane.holder && pane.first && pane.first->isVisibleTo(within) && pane.first->isEnabled())
            shown.push_back(pane);
    if (shown.empty()) return;
    const QWidget* focus = QApplication::focusWidget();
    int at = -1;
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (focus && (focus == shown[i].holder || shown[i].holder->isAncestorOf(focus)))
            at = static_cast<int>(i);
    const int count = static_cast<int>(shown.size());
    const int next = at < 0 ? 0 : (at + (forward ? 1 : count - 1)) % count;
    shown[static_cast<std::size_t>(next)].first->setFocus(forward ? Qt::TabFocusReason
                                                                  : Qt::BacktabFocusReason);
}

void MoveFocusPast(const QWidget* within, QWidget* control, bool forward) {
    QWidget* w = control;
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == control) return;
        if (control->isAncestorOf(w)) continue;
        if (!IsTabStop(within, w)) continue;
        w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return;
    }
}

} // namespace cgt
