#include "controls/entry_hint.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>

TEntryHint::TEntryHint(QWidget* field) : QObject(field), field_(field) {
    timer_.setSingleShot(true);
    timer_.setInterval(kMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &TEntryHint::Hide);
}

TEntryHint::~TEntryHint() {
    delete label_.data();
}

void TEntryHint::Show(const QString& text) {
    QWidget* host = field_->window();
    if (!label_) {
        label_ = new QLabel(host);
        label_->setObjectName(QStringLiteral("entryHint"));
        label_->setAutoFillBackground(true);
        label_->setForegroundRole(QPalette::ToolTipText);
        label_->setBackgroundRole(QPalette::ToolTipBase);
        label_->setFrameShape(QFrame::Box);
        label_->setMargin(2);
        label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    if (label_->parentWidget() != host) label_->setParent(host); // the field moved windows
    label_->setText(text);
    label_->setAccessibleName(text);
    label_->adjustSize();
    QPoint at = field_->mapTo(host, QPoint(0, field_->height() + 1));
    if (host != field_ && at.y() + label_->height() > host->height())
        at = field_->mapTo(host, QPoint(0, -label_->height() - 1));
    at.setX(std::clamp(at.x(), 0, std::max(0, host->width() - label_->width())));
    label_->move(at);
    label_->raise();
    label_->show();
    timer_.start();
}

void TEntryHint::Hide() {
    timer_.stop();
    if (label_) label_->hide();
}

QString TEntryHint::Text() const {
    return label_ && label_->isVisible() ? label_->text() : QString();
}
