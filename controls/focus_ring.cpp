#include "controls/focus_ring.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QTimer>

namespace {

// The frame drawn around a focused control: dark blue on light, easy to tell from the
// controls' own borders.
const QColor kRingColor(0, 84, 166);

} // namespace

TFocusRing* TFocusRing::Attach(QWidget* window) {
    return new TFocusRing(window);
}

TFocusRing::TFocusRing(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    window->installEventFilter(this); // a resized window moves the controls in it
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusMoved(now); });
}

void TFocusRing::focusMoved(QWidget* now) {
    if (target_) target_->removeEventFilter(this);
    QWidget* window = parentWidget();
    target_ = now && now != window && window->isAncestorOf(now) ? now : nullptr;
    if (target_) target_->installEventFilter(this);
    follow();
}

void TFocusRing::follow() {
    if (!target_ || !target_->isVisible()) {
        hide();
        return;
    }
    // Only the part of the control that its parents show: a cell editor scrolled out of its
    // grid gets no ring beside the grid.
    QRect shown = target_->rect();
    for (QWidget* w = target_; w != parentWidget(); w = w->parentWidget()) {
        shown.translate(w->pos());
        shown &= w->parentWidget()->rect();
    }
    if (shown.isEmpty()) {
        hide();
        return;
    }
    setGeometry(shown.adjusted(-kWidth - 1, -kWidth - 1, kWidth + 1, kWidth + 1));
    raise();
    show();
    update();
}

bool TFocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        // The layouts place the controls after the window's resize.
        QTimer::singleShot(0, this, &TFocusRing::follow);
    } else if (watched == target_) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            follow();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(kRingColor, kWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal half = kWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}
