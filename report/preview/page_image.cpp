#include "report/preview/page_image.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

TPageImage::TPageImage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Page"));
}

void TPageImage::ResizePicture(const QSize& size, double dotsPerInch) {
    picture_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));
    picture_.setDotsPerMeterX(dotsPerMetre);
    picture_.setDotsPerMeterY(dotsPerMetre);
    picture_.fill(Qt::white);
    resize(picture_.size());
    update();
}

void TPageImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), picture_, event->rect());
}

void TPageImage::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseDown(event->button(), at.x(), at.y());
}
