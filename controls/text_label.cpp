#include "controls/text_label.h"

#include <algorithm>
#include <cmath>

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include "controls/font_map.h"
#include "controls/shell_service.h"
#include "controls/text_label_accessible.h"
#include "store/dialogs.h"

static void InitTextLabelResources() {
    Q_INIT_RESOURCE(text_label);
}

namespace {

using namespace cgt;

// Text metrics of the label's fonts; the few fonts of a text are kept.
class QtMetrics : public markup::Metrics {
public:
    using FontOf = std::function<QFont(const markup::RunFont&)>;
    QtMetrics(QPaintDevice* device, FontOf fontOf) : device_(device), fontOf_(std::move(fontOf)) {}

    int TextWidth(const markup::RunFont& font, std::string_view text) override {
        return metrics(font).horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    int TextHeight(const markup::RunFont& font) override { return metrics(font).height(); }

private:
    const QFontMetrics& metrics(const markup::RunFont& font) {
        markup::RunFont key = font;
        key.color = {}; // colour does not change metrics
        for (const auto& [desc, fm] : cache_)
            if (desc == key) return fm;
        if (cache_.size() > 16) cache_.clear();
        cache_.emplace_back(key, QFontMetrics(fontOf_(key), device_));
        return cache_.back().second;
    }

    QPaintDevice* device_;
    FontOf fontOf_;
    std::vector<std::pair<markup::RunFont, QFontMetrics>> cache_;
};

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

} // namespace

TTextLbl::TTextLbl(QWidget* parent) : QWidget(parent) {
    static const bool resources = (InitTextLabelResources(), true);
    static const bool accessible = (QAccessible::installFactory(TextLabelAccessibleFactory), true);
    (void)resources;
    (void)accessible;
    InstallFontSubstitutions();
    setFont(DefaultControlFont());
    color_ = palette().color(QPalette::Button);
    setMouseTracking(true);
    applyFocusPolicy();
}

TTextLbl::~TTextLbl() = default;

// ---------------------------------------------------------------------------------------------
// Properties

void TTextLbl::changed() {
    dirty_ = true;
    update();
}

void TTextLbl::setText(const QStringList& lines) {
    text_ = lines;
    lines_.clear();
    lines_.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines)
        lines_.push_back(line.toStdString());
    changed();
}

void TTextLbl::setLineSpacing(int tenths) {
    lineSpacing_ = tenths;
    changed();
}

void TTextLbl::setColor(const QColor& color) {
    color_ = color;
    changed();
}

void TTextLbl::setTransparent(bool on) {
    transparent_ = on;
    changed();
}

void TTextLbl::setBevelInner(TBevelCut cut) {
    bevelInner_ = cut;
    changed();
}

void TTextLbl::setBevelOuter(TBevelCut cut) {
    bevelOuter_ = cut;
    changed();
}

void TTextLbl::setBevelWidth(int width) {
    bevelWidth_ = std::max(0, width);
    changed();
}

void TTextLbl::setCurrentSection(int section) {
    currentSection_ = section;
    changed();
}

void TTextLbl::setCalculateHeight(bool on) {
    calculateHeight_ = on;
    changed();
}

void TTextLbl::setBottomMargin(int margin) {
    bottomMargin_ = margin;
    changed();
}

void TTextLbl::setParentBottomMargin(int margin) {
    parentBottomMargin_ = margin;
    changed();
}

void TTextLbl::setKind(TTextLblKind kind) {
    kind_ = kind;
    if (kind != tlkNone) color_ = Qt::white;
    changed();
}

void TTextLbl::setMode(TTextLabelMode mode) {
    mode_ = mode;
    applyFocusPolicy();
    changed();
}

void TTextLbl::setTabStop(bool on) {
    tabStop_ = on;
    applyFocusPolicy();
}

// In vision-impaired use every label is a tab stop, so that the reader can visit it.
void TTextLbl::applyFocusPolicy() {
    setFocusPolicy(mode_ == tlmVisionImpaired || tabStop_ ? Qt::StrongFocus : Qt::NoFocus);
}

void TTextLbl::Loaded() {
    loaded_ = true;
    QFont f = font();
    loadFontSize_ = f.pointSize() > 0   ? f.pointSize()
                    : f.pixelSize() > 0 ? std::max(1, f.pixelSize() * 72 / 96)
                                        : 10;
    loadFontColor_ = palette().color(QPalette::WindowText);
    loadCursor_ = cursor();
}

void TTextLbl::ChangeScale(int m, int d) {
    if (!loaded_) Loaded();
    if (m <= 0 || d <= 0) return;
    positionScale_ = static_cast<double>(m) / d;
    sizeScale_ = std::trunc(positionScale_ * 100.0 + 1e-9) / 100.0;
    auto scaled = [&](int v) {
        return static_cast<int>(std::lround(static_cast<double>(v) * m / d));
    };
    QRect g = geometry();
    setGeometry(scaled(g.x()), scaled(g.y()), scaled(g.width()), scaled(g.height()));
    QFont f = font();
    if (f.pointSize() > 0) {
        f.setPointSize(std::max(1, scaled(f.pointSize())));
        setFont(f);
    }
    changed();
}

// ---------------------------------------------------------------------------------------------
// Layout

int TTextLbl::bevelOffset() const {
    return (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
}

QColor TTextLbl::textColor() const {
    return palette().color(QPalette::WindowText);
}

QColor TTextLbl::toQColor(const Colour& c) const {
    switch (c.system) {
    case Colour::ButtonFace:
        return palette().color(QPalette::Button);
    case Colour::Window:
        return palette().color(QPalette::Base);
    default:
        return QColor(c.r, c.g, c.b);
    }
}

Colour TTextLbl::fromQColor(const QColor& color) {
    QColor c = color.toRgb();
    return Colour::FromRgb(c.red(), c.green(), c.blue());
}

QFont TTextLbl::toQFont(const markup::RunFont& desc) const {
    QFont f = font();
    QString family = MapFontFamily(QString::fromStdString(desc.name));
    if (!family.isEmpty()) f.setFamily(family);
    f.setPointSize(std::clamp(desc.size, 1, 4096));
    f.setBold(desc.style & markup::fsBold);
    f.setItalic(desc.style & markup::fsItalic);
    f.setUnderline(desc.style & markup::fsUnderline);
    return f;
}

const QImage& TTextLbl::KindIcon(TTextLblKind kind) {
    static const QImage none;
    static const QImage direction(QStringLiteral(":/label/DIRECTION"));
    static const QImage attention(QStringLiteral(":/label/ATTENTION"));
    static const QImage danger(QStringLiteral(":/label/DANGER"));
    switch (kind) {
    case tlkDirection:
        return direction;
    case tlkAttention:
        return attention;
    case tlkDanger:
        return danger;
    default:
        return none;
    }
}

QColor TTextLbl::KindColor(TTextLblKind kind) {
    switch (kind) {
    case tlkDirection:
        return QColor(0, 99, 68);
    case tlkAttention:
        return QColor(244, 193, 0);
    case tlkDanger:
        return QColor(223, 4, 35);
    default:
        return QColor();
    }
}

// The two passes: the first runs the owner's hooks and leaves Section where the text ends; the
// second collects the runs, the hit records and the plain text. Then the bounds follow the
// text when asked to.
void TTextLbl::runLayout() {
    if (!loaded_) Loaded();

    const QImage& icon = KindIcon(kind_);
    markup::Settings s;
    s.client = {0, 0, width(), height()};
    s.bevel = bevelOffset();
    s.hasIcon = kind_ != tlkNone;
    s.attention = kind_ == tlkAttention;
    s.iconWidth = s.hasIcon ? icon.width() : 0;
    s.visionImpaired = mode_ == tlmVisionImpaired;
    s.positionScale = positionScale_;
    s.sizeScale = sizeScale_;
    QFont f = font();
    s.labelFont.name = f.family().toStdString();
    s.labelFont.size = f.pointSize() > 0 ? f.pointSize() : loadFontSize_;
    s.labelFont.style = (f.bold() ? markup::fsBold : 0) | (f.italic() ? markup::fsItalic : 0) |
                        (f.underline() ? markup::fsUnderline : 0);
    s.labelFont.color = fromQColor(textColor());
    s.loadFontSize = loadFontSize_;
    s.loadFontColor = fromQColor(loadFontColor_.isValid() ? loadFontColor_ : textColor());
    s.lineSpacing = lineSpacing_;
    s.currentSection = currentSection_;
    s.hover = hover_;

    markup::Hooks hooks;
    if (OnScreenTag)
        hooks.screenTag = [this](int id, std::string& text) {
            QString tag = QString::fromStdString(text);
            OnScreenTag(this, id, tag);
            text = tag.toStdString();
        };
    if (OnCheckTag) hooks.checkTag = [this](int id, bool& pass) { OnCheckTag(this, id, pass); };
    if (OnColorTag)
        hooks.colorTag = [this](int id, Colour& color) {
            QColor c = toQColor(color);
            OnColorTag(this, id, c);
            color = fromQColor(c);
        };
    hooks.beep = [] { cgt::Dialogs().Beep(); };

    QtMetrics metrics(this, [this](const markup::RunFont& desc) { return toQFont(desc); });
    // A hook may change the text; the passes read a copy.
    const std::vector<std::string> lines = lines_;
    markup::Layout(lines, s, state_, metrics, hooks, false);
    last_ = markup::Layout(lines, s, state_, metrics, hooks, true);
    dirty_ = false;
    // Screen readers read the drawn text.
    QString plain = plainText();
    if (accessibleName() != plain) setAccessibleName(plain);

    // Bounds.
    if (last_.emptyText) return;
    QRect g = geometry();
    int h = g.height();
    if (calculateHeight_) {
        h = bottomMargin_ + last_.endY;
        if (kind_ != tlkNone) h = std::max(h, icon.height());
    }
    if (kind_ == tlkAttention) h = std::max(h, icon.height());
    g.setHeight(std::max(0, h));
    if (parentBottomMargin_ != -1 && parentWidget()) {
        int parentHeight = parentWidget()->rect().height();
        QScreen* sc = screen();
        int screenHeight = sc ? sc->geometry().height() : 0;
        int reference = screenHeight <= 600 ? parentHeight : 482;
        int top =
            (positionScale_ != 1.0 ? parentHeight : reference) - g.height() - parentBottomMargin_;
        g.moveTop(top);
    }
    if (g != geometry()) setWantedGeometry(g);
}

// Bounds change outside the paint handler.
void TTextLbl::setWantedGeometry(const QRect& bounds) {
    if (!painting_) {
        setGeometry(bounds);
        return;
    }
    wantedGeometry_ = bounds;
    if (geometryQueued_) return;
    geometryQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            geometryQueued_ = false;
            if (wantedGeometry_ != geometry()) setGeometry(wantedGeometry_);
        },
        Qt::QueuedConnection);
}

void TTextLbl::ensureLayout() const {
    if (dirty_) const_cast<TTextLbl*>(this)->runLayout();
}

QString TTextLbl::plainText() const {
    ensureLayout();
    return QString::fromStdString(markup::PlainText(last_.plainLines));
}

QStringList TTextLbl::plainTextLines() const {
    ensureLayout();
    QStringList out;
    out.reserve(static_cast<qsizetype>(last_.plainLines.size()));
    for (const auto& line : last_.plainLines)
        out << QString::fromStdString(line);
    return out;
}

const markup::LayoutResult& TTextLbl::LastLayout() const {
    ensureLayout();
    return last_;
}

int TTextLbl::JumpCount() const {
    return static_cast<int>(LastLayout().jumps.size());
}

TJump TTextLbl::Jump(int index) const {
    const auto& jumps = LastLayout().jumps;
    if (index < 0 || index >= static_cast<int>(jumps.size())) return {};
    const auto& j = jumps[static_cast<std::size_t>(index)];
    return {j.jumpId, QString::fromStdString(j.text), ToQRect(j.rect)};
}

int TTextLbl::LinkCount() const {
    return static_cast<int>(LastLayout().links.size());
}

THLink TTextLbl::Link(int index) const {
    const auto& links = LastLayout().links;
    if (index < 0 || index >= static_cast<int>(links.size())) return {};
    const auto& l = links[static_cast<std::size_t>(index)];
    return {l.number, QString::fromStdString(l.url), QString::fromStdString(l.text),
            ToQRect(l.rect)};
}

int TTextLbl::ScreenLinkCount() const {
    return static_cast<int>(LastLayout().screens.size());
}

TScreenLink TTextLbl::ScreenLink(int index) const {
    const auto& screens = LastLayout().screens;
    if (index < 0 || index >= static_cast<int>(screens.size())) return {};
    const auto& s = screens[static_cast<std::size_t>(index)];
    return {s.screenId, ToQRect(s.rect)};
}

std::vector<TTextLbl::TLinkRun> TTextLbl::LinkRuns() const {
    std::vector<TLinkRun> runs;
    // A link broken over lines is drawn as runs in a row with one id.
    auto add = [&runs](bool hyperlink, int id, const std::string& text, const QRect& rect,
                       const std::string& url) {
        if (!runs.empty() && runs.back().Hyperlink == hyperlink && runs.back().ID == id) {
            runs.back().Text += QLatin1Char(' ') + QString::fromStdString(text);
            runs.back().Rect |= rect;
            return;
        }
        runs.push_back(
            {hyperlink, id, QString::fromStdString(text), QString::fromStdString(url), rect});
    };
    for (const auto& j : LastLayout().jumps)
        add(false, j.jumpId, j.text, ToQRect(j.rect), {});
    for (const auto& l : LastLayout().links)
        add(true, l.number, l.text, ToQRect(l.rect), l.url);
    for (TLinkRun& run : runs)
        run.Text = run.Text.simplified();
    return runs;
}

void TTextLbl::FollowLink(const TLinkRun& link) {
    if (link.Hyperlink)
        ShellOpen(link.URL);
    else
        emit OnJumpClick(this, link.ID, QString());
}

// ---------------------------------------------------------------------------------------------
// Painting

// A lowered bevel has the shadow at the top-left and the highlight at the bottom-right, a raised
// one the reverse; a space bevel is blank. The rectangle shrinks by the width.
void TTextLbl::drawBevel(QPainter& p, QRect& r, TBevelCut cut) const {
    if (cut == bvNone) return;
    QColor shadow = palette().color(QPalette::Dark);
    QColor light = palette().color(QPalette::Light);
    QColor top = cut == bvLowered ? shadow : light;
    QColor bottom = cut == bvLowered ? light : shadow;
    if (cut == bvSpace) top = bottom = color_;
    for (int i = 0; i < bevelWidth_ && r.width() > 0 && r.height() > 0; ++i) {
        if (cut != bvSpace || !transparent_) {
            p.setPen(top);
            p.drawLine(r.left(), r.bottom(), r.left(), r.top());
            p.drawLine(r.left(), r.top(), r.right(), r.top());
            p.setPen(bottom);
            p.drawLine(r.right(), r.top(), r.right(), r.bottom());
            p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
        }
        r.adjust(1, 1, -1, -1);
    }
}

void TTextLbl::paintEvent(QPaintEvent*) {
    painting_ = true;
    runLayout();
    QPainter p(this);

    if (!transparent_) p.fillRect(rect(), color_);
    if (mode_ == tlmVisionImpaired && hasFocus()) {
        p.setPen(QPen(textColor(), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    if (last_.emptyText) {
        int b = bevelOffset();
        p.setFont(font());
        p.setPen(textColor());
        p.drawText(rect().adjusted(b, b, -b, -b), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   objectName());
    } else {
        for (const auto& run : last_.runs) {
            QFont f = toQFont(run.font);
            p.setFont(f);
            p.setPen(toQColor(run.font.color));
            QFontMetrics fm(f, this);
            p.drawText(QPoint(run.x, run.y + fm.ascent()), QString::fromStdString(run.text));
        }
    }

    if (kind_ != tlkNone) {
        const QImage& icon = KindIcon(kind_);
        p.drawImage(QPoint(0, 0), icon);
        if (kind_ == tlkAttention) {
            int left = icon.width() + 4;
            int h = std::max(height(), icon.height());
            p.setPen(QPen(KindColor(kind_), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(left, 0, width() - left - 1, h - 1));
        }
    }

    QRect r = rect();
    drawBevel(p, r, bevelOuter_);
    drawBevel(p, r, bevelInner_);
    painting_ = false;
}

// ---------------------------------------------------------------------------------------------
// Mouse and focus

void TTextLbl::updateHover(const QPoint& pos) {
    ensureLayout();
    markup::Hit hit = markup::HitTest(last_, pos.x(), pos.y());
    hover_.kind = hit.kind;
    hover_.id = hit.id;
    hover_.hasMouse = true;
    hover_.x = pos.x();
    hover_.y = pos.y();
    hover_.mouseLeft = false;
    handShown_ = hit.kind != markup::HitKind::None;
    if (handShown_)
        setCursor(Qt::PointingHandCursor);
    else
        setCursor(loadCursor_);
}

void TTextLbl::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    updateHover(event->position().toPoint());
    changed();
}

void TTextLbl::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    hover_.mouseLeft = true;
    changed();
}

void TTextLbl::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) return;
    // The pointer may have arrived without a move event (a click right after the label appeared).
    updateHover(event->position().toPoint());
    changed();
    if (!handShown_ || hover_.id < 1) return;

    QPointer<TTextLbl> self(this);
    switch (hover_.kind) {
    case markup::HitKind::Jump:
        emit OnJumpClick(this, hover_.id, QString());
        break;
    case markup::HitKind::Screen:
        emit OnScreenClick(this, hover_.id);
        break;
    case markup::HitKind::Link: {
        // Every link run under the pointer is opened.
        QStringList urls;
        for (const auto& l : last_.links)
            if (l.rect.Contains(hover_.x, hover_.y)) urls << QString::fromStdString(l.url);
        for (const QString& url : urls) {
            ShellOpen(url);
            if (!self) return;
        }
        break;
    }
    default:
        break;
    }
}

void TTextLbl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (mode_ == tlmVisionImpaired) update();
}

void TTextLbl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (mode_ == tlmVisionImpaired) update();
}

bool TTextLbl::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Polish:
        if (!loaded_) Loaded();
        break;
    case QEvent::Resize:
    case QEvent::FontChange:
    case QEvent::PaletteChange:
        dirty_ = true;
        break;
    default:
        break;
    }
    return QWidget::event(event);
}
