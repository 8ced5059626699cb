#include "report/core/layout.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "controls/core/markup.h"

namespace cgt::report {

namespace {

constexpr std::array<Colour, 27> kColourTable{{
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {128, 128, 128}, {192, 192, 192}, {255, 0, 0},
    {0, 255, 0},     {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
    {255, 255, 0},   {240, 240, 240}, {255, 255, 255}, {255, 255, 217}, {255, 0, 108},
    {191, 255, 255}, {220, 244, 252}, {191, 191, 255}, {255, 128, 0},   {214, 173, 173},
    {191, 255, 191}, {0, 0, 0},
}};

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kFaces{{
    {"Arial", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Courier New", "Liberation Mono"},
    {"Times New Roman", "Liberation Serif"},
}};

bool OneOf(int n, std::initializer_list<int> set) {
    return std::find(set.begin(), set.end(), n) != set.end();
}

int Round(double value) {
    return markup::RoundEven(value);
}

// The text's lines: split at CR LF, or a lone CR or LF.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

std::string_view FirstLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

class PageLayout {
public:
    PageLayout(const DrawSettings& s, TextMetrics& m) : s_(s), metrics_(m) {
        font_.family = std::string(FaceFamily(0));
        font_.pointSize = ScaledPointSize(10, s.fontScale);
        font_.colour = kBlack;
    }

    std::vector<DrawOp> Run(const Page& page) {
        relative_ = page.placement == 'R';
        for (const Record& r : page.records)
            Draw(r);
        return std::move(ops_);
    }

private:
    int X(int units) const { return s_.left + Round(units * s_.xScale); }
    int Y(int units) const { return s_.top + Round(units * s_.yScale); }
    Rect Current() const { return {X(left_), Y(top_), X(right_), Y(bottom_)}; }

    Colour ColourOf(int n, ColourUse use) const {
        if (s_.mapColours) return PrintedColour(n, use);
        return ScriptColour(n).value_or(kBlack);
    }

    void SetRectangle(const Record& r) {
        const int x1 = r.i16(box::kX1);
        const int y1 = r.i16(box::kY1);
        const int x2 = r.i16(box::kX2);
        const int y2 = r.i16(box::kY2);
        left_ = x1;
        right_ = x2;
        if (relative_) {
            top_ = bottom_ + y1;
            bottom_ = top_ + y2;
        } else {
            top_ = y1;
            bottom_ = y2;
        }
    }

    void Draw(const Record& r) {
        const char kind = r.kind();
        if (IsFrameLike(kind)) SetRectangle(r);
        switch (kind) {
        case rkSection:
        case rkFrame:
        case rkPageBlock:
        case rkPageBlockEnd:
        case rkHeader:
        case rkHeaderEnd:
        case rkLoop:
        case rkLoopEnd:
        case rkFooter:
        case rkFooterEnd:
            break;
        case rkAttributes:
            brush_ = {ColourOf(r.u8(attr::kBrushColour), ColourUse::Brush),
                      r.u8(attr::kBrushStyle)};
            pen_ = {ColourOf(r.u8(attr::kPenColour), ColourUse::Pen),
                    Round(s_.xScale * r.u8(attr::kPenWidth) / 10.0), r.u8(attr::kPenStyle)};
            break;
        case rkFont:
            SetFont(r);
            break;
        case rkJump:
            Jump(r.i16(jmp::kNumber));
            break;
        case rkRepeat:
            left_ += r.i16(rep::kDx);
            right_ += r.i16(rep::kDx);
            top_ += r.i16(rep::kDy);
            bottom_ += r.i16(rep::kDy);
            Element(lastElement_, r, lastTriangle_);
            break;
        default:
            lastElement_ = kind;
            if (kind == rkTriangle) lastTriangle_ = r;
            Element(kind, r, r);
            break;
        }
    }

    void SetFont(const Record& r) {
        background_ = r.u8(font::kBackground);
        font_.family = std::string(FaceFamily(r.u8(font::kFace)));
        font_.pointSize = ScaledPointSize(r.u8(font::kSize), s_.fontScale);
        font_.style = r.u8(font::kStyle) & 7;
        font_.colour = ColourOf(r.u8(font::kColour), ColourUse::Text);
        font_.spacing = Round(r.i16(font::kSpacing) * s_.fontScale / 10.0);
        align_ = r.u8(font::kAlign);
        pen_.style = psSolid;
        brush_.style = bsCross;
    }

    // Draws an element of `kind` in the current rectangle; `r` is the record that asks for it
    // (the element's own or a repeat).
    void Element(char kind, const Record& r, const Record& triangle) {
        const Rect b = Current();
        switch (kind) {
        case rkRectangle:
            if (b.left == 0 || b.top == 0) return;
            Shape(DrawOp::Kind::Rectangle, b, {brush_.colour, bsSolid});
            return;
        case rkLine:
            Shape(DrawOp::Kind::Line, b, brush_);
            return;
        case rkEllipse:
            Shape(DrawOp::Kind::Ellipse, b, brush_);
            return;
        case rkRoundRect:
            Shape(DrawOp::Kind::RoundRect, b, brush_);
            return;
        case rkTriangle: {
            DrawOp op = ShapeOp(DrawOp::Kind::Triangle, b, brush_);
            op.points = {
                Point{X(left_), Y(top_)},
                Point{X(left_ + triangle.i16(box::kX1)), Y(top_ + triangle.i16(box::kY1))},
                Point{X(left_ + triangle.i16(box::kX2)), Y(top_ + triangle.i16(box::kY2))}};
            ops_.push_back(std::move(op));
            return;
        }
        case rkText:
            if (r.hasText) Text(r.text, r, r.kind() == rkText);
            return;
        case rkField:
            if (r.kind() == rkField && r.i16(fld::kColumn) == fld::kColumnNotPrinted) return;
            FieldOp(rkField, r, b);
            return;
        case rkEditField:
            if (s_.printing || !s_.showEditFields) {
                FieldOp(rkField, r, b);
            } else {
                DrawOp op;
                op.kind = DrawOp::Kind::EditField;
                op.box = b;
                op.record = r;
                op.number = ++edits_;
                ops_.push_back(std::move(op));
            }
            return;
        case 0:
            return;
        default:
            FieldOp(kind, r, b);
            return;
        }
    }

    DrawOp ShapeOp(DrawOp::Kind kind, const Rect& b, const BrushSpec& brush) const {
        DrawOp op;
        op.kind = kind;
        op.box = b;
        op.pen = pen_;
        op.brush = brush;
        return op;
    }
    void Shape(DrawOp::Kind kind, const Rect& b, const BrushSpec& brush) {
        ops_.push_back(ShapeOp(kind, b, brush));
    }

    void FieldOp(char kind, const Record& r, const Rect& b) {
        DrawOp op;
        op.kind = DrawOp::Kind::Field;
        op.fieldKind = kind;
        op.record = r;
        op.box = b;
        ops_.push_back(std::move(op));
    }

    void Fill(const Rect& b) {
        DrawOp op;
        op.kind = DrawOp::Kind::Fill;
        op.box = b;
        op.brush = {ColourOf(background_, ColourUse::FontBackground), bsSolid};
        ops_.push_back(std::move(op));
    }

    void Jump(int number) {
        if (number <= 0) return;
        DrawOp op;
        op.kind = DrawOp::Kind::Jump;
        op.box = Current();
        op.number = number;
        op.firstJump = !jumped_;
        jumped_ = true;
        ops_.push_back(std::move(op));
    }

    void Line(std::string_view text, int x, int y, const ReportFont& font) {
        if (text.empty()) return;
        DrawOp op;
        op.kind = DrawOp::Kind::Text;
        op.text = std::string(text);
        op.font = font;
        op.x = x;
        op.y = y;
        op.box = {x, y, x + metrics_.Width(font, text), y + metrics_.Height(font)};
        ops_.push_back(std::move(op));
    }

    void Text(const std::string& text, const Record& r, bool ownRecord) {
        const Rect b = Current();
        switch (align_) {
        case 1: {
            const std::string_view line = FirstLine(text);
            Line(line, b.right - metrics_.Width(font_, line), b.top, font_);
            return;
        }
        case 2: {
            Fill(b);
            const std::string_view line = FirstLine(text);
            const int w = metrics_.Width(font_, line);
            const int h = metrics_.Height(font_);
            Line(line, b.left + (b.width() - w) / 2, b.top + (b.height() - h) / 2, font_);
            if (ownRecord) Jump(r.i16(txt::kJump));
            return;
        }
        case 3:
        case 4:
        case 5:
            if (text.find('<') != std::string::npos)
                Markup(text, b, align_);
            else
                Wrap(text, b, align_);
            return;
        case 6:
            Fill(b);
            Line(FirstLine(text), b.left + Round(r.i16(txt::kOffsetX) * s_.yScale),
                 b.top + Round(r.i16(txt::kOffsetY) * s_.yScale), font_);
            return;
        case 23:
        case 24:
        case 25:
            Wrap(text, b, align_ - 20);
            return;
        default:
            Line(FirstLine(text), b.left, b.top, font_);
            return;
        }
    }

    int AlignedX(const Rect& b, int width, int code) const {
        if (code == 4) return b.right - width;
        if (code == 5) return b.left + (b.width() - width) / 2;
        return b.left;
    }

    // Word-wrapped lines, left (3), right (4) or centred (5).
    void Wrap(const std::string& text, const Rect& b, int code) {
        const int height = metrics_.Height(font_);
        int y = b.top;
        for (std::string_view paragraph : SplitLines(text)) {
            for (const std::string& line : WrapParagraph(paragraph, b.width())) {
                Line(line, AlignedX(b, metrics_.Width(font_, line), code), y, font_);
                y += height;
            }
        }
    }

    std::vector<std::string> WrapParagraph(std::string_view paragraph, int width) {
        std::vector<std::string> lines;
        std::string line;
        std::size_t start = 0;
        while (start <= paragraph.size()) {
            std::size_t end = paragraph.find(' ', start);
            if (end == std::string_view::npos) end = paragraph.size();
            const std::string_view word = paragraph.substr(start, end - start);
            start = end + 1;
            if (word.empty()) continue;
            std::string candidate =
                line.empty() ? std::string(word) : line + " " + std::string(word);
            if (line.empty() || metrics_.Width(font_, candidate) <= width) {
                line = std::move(candidate);
            } else {
                lines.push_back(std::move(line));
                line = std::string(word);
            }
        }
        lines.push_back(std::move(line));
        return lines;
    }

    // Text mark-up: lines at the line breaks, tag groups that set font, colour, line advance
    // and position. Code 3 starts each line at the left; 4 and 5 end it at the right.
    void Markup(const std::string& text, const Rect& b, int code) {
        const ReportFont start = font_;
        ReportFont f = font_;
        int advance = 10;
        int y = b.top;
        for (std::string_view line : SplitLines(text)) {
            const std::size_t first = ops_.size();
            int x = b.left;
            int baseline = y + metrics_.Ascent(f);
            auto run = [&](std::string_view s) {
                if (s.empty()) return;
                Line(s, x, baseline - metrics_.Ascent(f), f);
                x += metrics_.Width(f, s);
            };
            std::size_t pos = 0;
            while (pos < line.size()) {
                const std::size_t lt = line.find('<', pos);
                const std::size_t gt = lt == std::string_view::npos ? lt : line.find('>', lt);
                if (gt == std::string_view::npos) {
                    run(line.substr(pos));
                    break;
                }
                run(line.substr(pos, lt - pos));
                for (const markup::SubTag& tag :
                     markup::ParseGroup(line.substr(lt + 1, gt - lt - 1))) {
                    if (!tag.ok) continue;
                    switch (tag.code) {
                    case markup::SubTag::Close:
                        f = start;
                        break;
                    case markup::SubTag::TableColour:
                        if (ScriptColour(tag.number))
                            f.colour = ColourOf(tag.number, ColourUse::Text);
                        break;
                    case markup::SubTag::Face:
                        f.family = FamilyOfFaceName(tag.text);
                        break;
                    case markup::SubTag::LineAdvance:
                        advance = tag.number;
                        break;
                    case markup::SubTag::Size:
                        f.pointSize = ScaledPointSize(tag.number, s_.fontScale);
                        break;
                    case markup::SubTag::Style:
                        f.style = tag.number & 7;
                        break;
                    case markup::SubTag::XAbs:
                        x = b.left + Round(tag.number * s_.xScale);
                        break;
                    case markup::SubTag::YAbs:
                        y = b.top + Round(tag.number * s_.yScale);
                        baseline = y + metrics_.Ascent(f);
                        break;
                    default:
                        break;
                    }
                }
                pos = gt + 1;
            }
            if (code != 3 && ops_.size() > first) {
                int extent = b.left;
                for (std::size_t i = first; i < ops_.size(); ++i)
                    extent = std::max(extent, ops_[i].box.right);
                const int shift = b.right - extent;
                for (std::size_t i = first; i < ops_.size(); ++i) {
                    ops_[i].x += shift;
                    ops_[i].box.left += shift;
                    ops_[i].box.right += shift;
                }
            }
            y += Round(metrics_.Height(f) * advance / 10.0);
        }
    }

    const DrawSettings& s_;
    TextMetrics& metrics_;
    std::vector<DrawOp> ops_;
    bool relative_ = false;
    int left_ = 0;
    int top_ = 0;
    int right_ = 0;
    int bottom_ = 0;
    PenSpec pen_{kBlack, 0, psSolid};
    BrushSpec brush_{kWhite, bsSolid};
    ReportFont font_;
    int background_ = 15;
    int align_ = 0;
    char lastElement_ = 0;
    Record lastTriangle_;
    int edits_ = 0;
    bool jumped_ = false;
};

} // namespace

std::optional<Colour> ScriptColour(int n) {
    if (n < 1 || n > static_cast<int>(kColourTable.size())) return std::nullopt;
    return kColourTable[static_cast<std::size_t>(n - 1)];
}

Colour PrintedColour(int n, ColourUse use) {
    switch (use) {
    case ColourUse::Brush:
        if (OneOf(n, {9, 15, 18, 19, 22})) return kWhite;
        if (OneOf(n, {17, 21, 23, 25, 26, 27})) return kSilver;
        return kGrey;
    case ColourUse::Pen:
        return OneOf(n, {9, 15, 18, 19, 22}) ? kWhite : kBlack;
    case ColourUse::FontBackground:
        return OneOf(n, {9, 15, 17, 18, 19, 22}) ? kWhite : kGrey;
    case ColourUse::Text:
        return n == 15 ? kWhite : kBlack;
    }
    return kBlack;
}

std::string_view FaceFamily(int face) {
    if (face < 0 || face >= static_cast<int>(kFaces.size())) return kFaces[0].second;
    return kFaces[static_cast<std::size_t>(face)].second;
}

std::string FamilyOfFaceName(std::string_view name) {
    const std::string trimmed = TrimText(name);
    for (const auto& [face, family] : kFaces) {
        if (trimmed.size() != face.size()) continue;
        if (std::equal(trimmed.begin(), trimmed.end(), face.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            return std::string(family);
    }
    return trimmed;
}

int ScaledPointSize(int points, double fontScale) {
    const double size = std::trunc(points * fontScale + 0.2);
    return size < 1 ? 1 : size > 1000 ? 1000 : static_cast<int>(size);
}

std::vector<DrawOp> LayoutPage(const Page& page, const DrawSettings& settings,
                               TextMetrics& metrics) {
    return PageLayout(settings, metrics).Run(page);
}

} // namespace cgt::report
