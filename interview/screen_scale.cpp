#include "interview/screen_scale.h"

#include <QFrame>
#include <QGroupBox>
#include <QLayout>
#include <QScrollArea>
#include <QWidget>

#include <algorithm>
#include <cmath>

#include "controls/text_label.h"
#include "controls/xgrid.h"

namespace cgt {

namespace {

int ScaleInt(int v, int m, int d) {
    return static_cast<int>(std::lround(static_cast<double>(v) * m / d));
}

void ScaleFont(QWidget* w, int m, int d) {
    QFont f = w->font();
    if (f.pointSizeF() > 0)
        f.setPointSizeF(std::max(1.0, f.pointSizeF() * m / d));
    else if (f.pixelSize() > 0)
        f.setPixelSize(std::max(1, ScaleInt(f.pixelSize(), m, d)));
    w->setFont(f);
}

// Containers whose children are laid out by the screen; composite controls keep their inner
// widgets to themselves.
bool IsPlainContainer(const QWidget* w) {
    const QMetaObject* mo = w->metaObject();
    return mo == &QWidget::staticMetaObject || mo == &QFrame::staticMetaObject ||
           qobject_cast<const QGroupBox*>(w) != nullptr;
}

// The platform's rescaling of a form's controls by m/d: positions, sizes and fonts.
void ScaleChildren(QWidget* parent, int m, int d) {
    const QObjectList children = parent->children();
    for (QObject* o : children) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow()) continue;
        if (auto* label = qobject_cast<TTextLbl*>(w)) {
            label->ChangeScale(m, d);
            continue;
        }
        if (auto* grid = qobject_cast<TXGrid*>(w)) {
            const int left = grid->x();
            grid->ScaleBy(m, d);
            grid->move(ScaleInt(left, m, d), grid->y());
            continue;
        }
        const bool laidOut = parent->layout() && parent->layout()->indexOf(w) >= 0;
        if (!laidOut) {
            const QRect g = w->geometry();
            w->setGeometry(ScaleInt(g.x(), m, d), ScaleInt(g.y(), m, d), ScaleInt(g.width(), m, d),
                           ScaleInt(g.height(), m, d));
        }
        if (auto* area = qobject_cast<QScrollArea*>(w)) {
            if (area->widget()) ScaleChildren(area->widget(), m, d);
        } else if (IsPlainContainer(w)) {
            ScaleChildren(w, m, d);
        }
        // Children were scaled first: those that inherit the font take the scaled one now.
        if (w->testAttribute(Qt::WA_SetFont)) ScaleFont(w, m, d);
    }
}

} // namespace

void ScreenScale::AddBarFonts(std::vector<QWidget*> widgets, int basePointSize) {
    bars_.push_back({std::move(widgets), basePointSize});
}

void ScreenScale::applyBarFonts(bool base) {
    for (const BarFonts& bar : bars_) {
        const int size = base ? bar.base : std::max(1, ScaleInt(bar.base, num_, den_));
        if (size <= 0) continue;
        for (QWidget* w : bar.widgets) {
            QFont f = w->font();
            f.setPointSize(size);
            w->setFont(f);
        }
    }
}

bool ScreenScale::Fit(int clientWidth, int clientHeight) {
    if (design_.width() <= 0 || design_.height() <= 0 || clientWidth <= 0 || clientHeight <= 0)
        return false;
    int num = clientWidth;
    int den = design_.width();
    if (static_cast<long long>(clientHeight) * design_.width() <
        static_cast<long long>(clientWidth) * design_.height()) {
        num = clientHeight;
        den = design_.height();
    }
    const long long newSide = static_cast<long long>(num) * den_;
    const long long oldSide = static_cast<long long>(num_) * den;
    if (newSide == oldSide) return false;
    num_ = num;
    den_ = den;
    const bool restore = scaled_ && newSide <= oldSide;
    if (restore) {
        applyBarFonts(true);
        scaled_ = false;
    } else {
        applyBarFonts(false);
    }
    return true;
}

void ScreenScale::ScaleScreen(QWidget* screen) {
    if (!screen || num_ == den_ || den_ == 0) return;
    ScaleChildren(screen, num_, den_);
    ScaleFont(screen, num_, den_);
    scaled_ = true;
}

} // namespace cgt
