#include "report/engine/page_painter.h"

#include <QtGui/QBrush>
#include <QtGui/QColor>
#include <QtGui/QPainter>
#include <QtGui/QPen>
#include <QtGui/QPolygon>

#include "report/engine/qt_text.h"

namespace cgt::report {

namespace {

// The layout's colours are all RGB: the scripts' table gives the system colours as fixed ones.
QColor ToQColor(const Colour& c) {
    return QColor(c.r, c.g, c.b);
}

QRect ToQRect(const Rect& b) {
    return QRect(b.left, b.top, b.width(), b.height());
}

Qt::PenStyle ToQPenStyle(int style) {
    switch (style) {
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

Qt::BrushStyle ToQBrushStyle(int style) {
    switch (style) {
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

QPen ToQPen(const PenSpec& pen) {
    QPen p(ToQColor(pen.colour));
    p.setWidth(pen.width);
    p.setStyle(ToQPenStyle(pen.style));
    p.setJoinStyle(Qt::MiterJoin);
    p.setCapStyle(Qt::SquareCap);
    return p;
}

void Shape(const DrawOp& op, QPainter& painter) {
    painter.setPen(ToQPen(op.pen));
    painter.setBrush(QBrush(ToQColor(op.brush.colour), ToQBrushStyle(op.brush.style)));
    const QRect r = ToQRect(op.box);
    switch (op.kind) {
    case DrawOp::Kind::Rectangle:
        painter.drawRect(r);
        break;
    case DrawOp::Kind::Line:
        painter.drawLine(op.box.left, op.box.top, op.box.right, op.box.bottom);
        break;
    case DrawOp::Kind::Ellipse:
        painter.drawEllipse(r);
        break;
    case DrawOp::Kind::RoundRect: {
        const double radius = op.box.width() / 4.0;
        painter.drawRoundedRect(r, radius, radius);
        break;
    }
    case DrawOp::Kind::Triangle: {
        QPolygon polygon;
        for (const Point& p : op.points)
            polygon << QPoint(p.x, p.y);
        painter.drawPolygon(polygon);
        break;
    }
    default:
        break;
    }
}

} // namespace

void PaintOps(const std::vector<DrawOp>& ops, QPainter& painter, const DrawSettings& settings,
              const PaintHandlers& handlers) {
    QtTextMetrics metrics(painter.device());
    for (const DrawOp& op : ops) {
        switch (op.kind) {
        case DrawOp::Kind::Fill:
            painter.fillRect(ToQRect(op.box), ToQColor(op.brush.colour));
            break;
        case DrawOp::Kind::Text: {
            painter.setFont(ToQFont(op.font));
            painter.setPen(ToQColor(op.font.colour));
            const QString text =
                QString::fromLatin1(op.text.data(), static_cast<qsizetype>(op.text.size()));
            painter.drawText(QPoint(op.x, op.y + metrics.Ascent(op.font)), text);
            break;
        }
        case DrawOp::Kind::Field:
            if (handlers.drawField && *handlers.drawField)
                (*handlers.drawField)(op.fieldKind, op.record, painter, ToQRect(op.box),
                                      settings.fontScale, settings.xScale, settings.yScale);
            break;
        case DrawOp::Kind::EditField:
            if (handlers.addTaxEdit && *handlers.addTaxEdit)
                (*handlers.addTaxEdit)(op.number, op.record, painter, ToQRect(op.box),
                                       settings.fontScale, settings.xScale, settings.yScale);
            break;
        case DrawOp::Kind::Jump:
            if (handlers.setJump && *handlers.setJump)
                (*handlers.setJump)(painter, op.number, ToQRect(op.box), op.firstJump);
            break;
        default:
            Shape(op, painter);
            break;
        }
    }
}

} // namespace cgt::report
