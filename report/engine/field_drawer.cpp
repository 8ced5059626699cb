#include "report/engine/field_drawer.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtGui/QPalette>
#include <QtGui/QPolygon>

#include <cmath>

#include "report/core/fill.h"
#include "report/core/layout.h"
#include "report/engine/qt_text.h"
#include "store/field_store.h"

namespace cgt::report {

namespace {

int Round(double value) {
    return static_cast<int>(std::nearbyint(value));
}

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QFont Font(int face, double points, double fontScale, bool bold) {
    ReportFont f;
    f.family = std::string(FaceFamily(face));
    f.pointSize = ScaledPointSize(static_cast<int>(points), fontScale);
    f.style = bold ? fsBold : 0;
    return ToQFont(f);
}

void DrawCaution(QPainter& painter, const QRect& r, double fontScale) {
    const int left = r.left();
    const int top = r.top();
    const int right = r.left() + r.width();
    const int bottom = r.top() + r.height();
    const int d = r.width() / 2;
    const int p = Round(d * 0.2);
    QPolygon octagon;
    octagon << QPoint(left, top + d - p) << QPoint(left, top + d + p)
            << QPoint(left + d - p, bottom) << QPoint(left + d + p, bottom)
            << QPoint(right, top + d + p) << QPoint(right, top + d - p) << QPoint(left + d + p, top)
            << QPoint(left + d - p, top) << QPoint(left, top + d - p);
    painter.setPen(QPen(Qt::black));
    painter.setBrush(QBrush(Qt::yellow));
    painter.drawPolygon(octagon);
    painter.setFont(Font(0, 8, fontScale, true));
    const QString caution = QStringLiteral("CAUTION");
    const QFontMetrics metrics(painter.font(), painter.device());
    const int x = left + d - metrics.horizontalAdvance(caution) / 2 - 1;
    const int y = top + d - metrics.height() / 2 - 1 + metrics.ascent();
    painter.drawText(QPoint(x, y), caution);
}

// The text of a value box: the display text without a leading minus, a blank when empty.
std::string BoxText(const Record& record) {
    const int type = record.u8(fld::kType);
    if (record.loopRow != Record::kNoRow || type == dispSign) return FieldText(record);
    std::string text = GetFieldText(record.i16(fld::kTag));
    if (!text.empty() && text.front() == '-') text.erase(0, 1);
    return text.empty() ? " " : text;
}

void DrawCentsBox(QPainter& painter, const QRect& box, int p, double fontScale, double xScale,
                  double yScale, const QColor& paper) {
    const int right = box.left() + box.width();
    painter.setPen(QPen(Qt::black, Round(yScale * 2)));
    painter.setBrush(QBrush(Qt::black, Qt::DiagCrossPattern));
    const int dotHeight = Round(yScale * 5);
    const int dotWidth = Round(xScale * 5);
    painter.drawEllipse(QRect(right + p - dotWidth / 2,
                              box.top() + box.height() / 2 - dotHeight / 2, dotWidth, dotHeight));
    painter.setFont(Font(0, 11, fontScale, false));
    const QString cents = QStringLiteral("00");
    const QFontMetrics metrics(painter.font(), painter.device());
    const int x = right + Round(xScale * 20);
    const int y = box.top() + (box.height() - metrics.height()) / 2;
    const QRect ink(x, y, metrics.horizontalAdvance(cents), metrics.height());
    painter.fillRect(ink, paper);
    painter.setPen(QPen(Qt::black));
    painter.drawText(QPoint(x, y + metrics.ascent()), cents);
    painter.drawLine(ink.topLeft(), ink.bottomRight());
    painter.drawLine(ink.bottomLeft(), ink.topRight());
}

void DrawValueBox(const Record& record, QPainter& painter, const QRect& rect, double fontScale,
                  double xScale, double yScale, bool onScreen) {
    const int flags = record.u8(fld::kBoxFlags);
    const int type = record.u8(fld::kType);
    const bool paperWhite = !onScreen || record.kind() == rkEditField;
    const QColor window = QGuiApplication::palette().color(QPalette::Base);
    painter.setBrush(QBrush(paperWhite ? QColor(Qt::white) : window));
    painter.setPen((flags & bfNoBox) ? QPen(Qt::NoPen) : QPen(Qt::black, Round(yScale * 0.5)));

    QRect box = rect;
    if (flags & bfCents) box.setWidth(box.width() - Round(xScale * 40));
    if (!(flags & bfNoBox)) painter.drawRect(box);
    if (flags & bfIndent) box.setLeft(box.left() + static_cast<int>(xScale * 35));
    if (flags & bfLowered) box.setTop(box.top() + static_cast<int>(yScale * 40));
    const QRect inner = box.adjusted(1, 1, -1, -1);

    const int p = Round(xScale * 10);
    painter.setFont(Font(2, 12, fontScale, true));
    painter.setPen(QPen(Qt::black));
    const QFontMetrics metrics(painter.font(), painter.device());
    painter.save();
    painter.setClipRect(inner);
    if (type == dispListColumn && record.loopRow == Record::kNoRow) {
        QStringList lines;
        for (const std::string& cell :
             ListColumn(record.i16(fld::kTag), record.i16(fld::kColumn), record.u8(fld::kSize)))
            lines << Latin1(cell);
        painter.drawText(QRect(inner.left() + p, inner.top(), inner.width() - p, inner.height()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines.join('\n'));
    } else {
        const QString text = Latin1(BoxText(record));
        const int y = inner.top() + (inner.height() - metrics.height()) / 2 + metrics.ascent();
        const int right = inner.left() + inner.width();
        switch (type) {
        case 0:
        case 3:
        case 4:
        case 5:
        case dispListColumn:
        case dispRowText:
            painter.drawText(QPoint(inner.left() + p, y), text);
            break;
        case 1:
        case 2:
        case dispRowAmount:
        case dispRowCents:
            painter.drawText(QPoint(right - p - 1 - metrics.horizontalAdvance(text), y), text);
            break;
        case 6:
        case dispSign:
            painter.drawText(QPoint(inner.left() + 1, y), text);
            break;
        default:
            break;
        }
    }
    painter.restore();
    if (flags & bfCents)
        DrawCentsBox(painter, box, p, fontScale, xScale, yScale,
                     paperWhite ? QColor(Qt::white) : QColor(255, 255, 217));
}

} // namespace

void DrawField(char kind, const Record& record, QPainter& painter, const QRect& rect,
               double fontScale, double xScale, double yScale, bool onScreen) {
    painter.save();
    if (kind == rkCaution)
        DrawCaution(painter, rect, fontScale);
    else if (kind == rkField)
        DrawValueBox(record, painter, rect, fontScale, xScale, yScale, onScreen);
    painter.restore();
}

} // namespace cgt::report
