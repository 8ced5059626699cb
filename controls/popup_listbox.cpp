#include "controls/popup_listbox.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

TPopupListbox::TPopupListbox(QWidget* parent) : QListWidget(parent) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    clock_ = [] { return QDateTime::currentMSecsSinceEpoch(); };
}

void TPopupListbox::setClock(Clock clock) {
    clock_ = clock ? std::move(clock) : Clock([] { return QDateTime::currentMSecsSinceEpoch(); });
}

bool TPopupListbox::handleKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (QListWidgetItem* item = currentItem())
            emit itemAccepted(item->text());
        else
            closeUp();
        return true;
    case Qt::Key_Escape:
        search_.clear();
        closeUp();
        return true;
    case Qt::Key_Backspace:
        search_.clear();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        QListWidget::keyPressEvent(event);
        return true;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() != 1 || text.at(0).unicode() < 32 || text.at(0).unicode() == 127) return false;
    const qint64 now = clock_();
    if (now - lastKey_ > kSearchWindowMs) search_.clear();
    lastKey_ = now;
    if (search_.size() < kMaxSearchLength) search_ += text;
    for (int i = 0; i < count(); ++i)
        if (item(i)->text().startsWith(search_, Qt::CaseInsensitive)) {
            setCurrentRow(i);
            break;
        }
    return true;
}

void TPopupListbox::closeUp() {
    search_.clear();
    hide();
}

void TPopupListbox::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event)) QListWidget::keyPressEvent(event);
}

void TPopupListbox::mouseReleaseEvent(QMouseEvent* event) {
    if (QListWidgetItem* item = itemAt(event->position().toPoint())) {
        setCurrentItem(item);
        emit itemAccepted(item->text());
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void TPopupListbox::showEvent(QShowEvent* event) {
    qApp->installEventFilter(this);
    QListWidget::showEvent(event);
}

void TPopupListbox::hideEvent(QHideEvent* event) {
    qApp->removeEventFilter(this);
    search_.clear();
    QListWidget::hideEvent(event);
    emit closed();
}

bool TPopupListbox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress || !isVisible()) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget == this || isAncestorOf(widget)) return false;
    closeUp(); // a click outside closes without change
    return widget == dropButton_;
}
