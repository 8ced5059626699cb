#include "controls/core/markup.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/text.h"

namespace cgt::markup {

namespace {

// Characters read for the number of each sub-tag.
constexpr std::size_t kWidthPosition = 4; // X x Y Y- y
constexpr std::size_t kWidthAdvance = 2;  // L
constexpr std::size_t kWidthSize = 3;     // S T
constexpr std::size_t kWidthFace = 30;    // F
constexpr std::size_t kWidthTable = 2;    // C
constexpr std::size_t kWidthId = 5;       // c J G V v s

int ClampToInt(double v) {
    if (!(v == v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int>::max() / 2))
        return std::numeric_limits<int>::max() / 2;
    if (v <= static_cast<double>(std::numeric_limits<int>::min() / 2))
        return std::numeric_limits<int>::min() / 2;
    return static_cast<int>(v);
}

// Sums of positions stay far from overflow: every addend is bounded by the number widths.
int Add(int a, int b) {
    long long s = static_cast<long long>(a) + b;
    s = std::clamp<long long>(s, std::numeric_limits<int>::min() / 2,
                              std::numeric_limits<int>::max() / 2);
    return static_cast<int>(s);
}

} // namespace

int RoundEven(double value) {
    return ClampToInt(std::nearbyint(value));
}

std::optional<Colour> TableColor(int n) {
    switch (n) {
    case 0:
        return Colour::FromRgb(8, 0, 0);
    case 1:
        return Colour::FromRgb(0, 0, 0);
    case 2:
        return Colour::FromRgb(128, 0, 0);
    case 3:
        return Colour::FromRgb(0, 128, 0);
    case 4:
        return Colour::FromRgb(128, 128, 0);
    case 5:
        return Colour::FromRgb(0, 0, 128);
    case 6:
        return Colour::FromRgb(128, 0, 128);
    case 7:
        return Colour::FromRgb(0, 128, 128);
    case 8:
        return Colour::FromRgb(128, 128, 128);
    case 9:
        return Colour::FromRgb(192, 192, 192);
    case 10:
        return Colour::FromRgb(255, 0, 0);
    case 11:
        return Colour::FromRgb(0, 255, 0);
    case 12:
        return Colour::FromRgb(0, 0, 255);
    case 13:
        return Colour::FromRgb(255, 0, 255);
    case 14:
        return Colour::FromRgb(0, 255, 255);
    case 15:
        return Colour::FromRgb(255, 255, 255);
    case 16:
        return Colour::FromRgb(255, 255, 0);
    case 17:
        return Colour{0, 0, 0, Colour::ButtonFace};
    case 18:
        return Colour{0, 0, 0, Colour::Window};
    default:
        return std::nullopt;
    }
}

std::optional<int> ReadNumber(std::string_view text, std::size_t width) {
    text = text.substr(0, std::min(width, text.size()));
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int>::max()) return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

SubTag ParseSubTag(std::string_view raw) {
    std::string t = TrimText(raw);
    SubTag tag;
    if (t.empty()) return tag;
    std::string_view arg = std::string_view(t).substr(1);
    auto number = [&](std::size_t width) {
        auto n = ReadNumber(arg, width);
        tag.ok = n.has_value();
        tag.number = n.value_or(0);
    };
    auto numberOr = [&](std::size_t width, int fallback) {
        tag.number = ReadNumber(arg, width).value_or(fallback);
    };
    switch (t[0]) {
    case 'A':
        tag.code = SubTag::AlignTag;
        tag.text = std::string(arg.substr(0, 1));
        break;
    case 'X':
        tag.code = SubTag::XAbs;
        number(kWidthPosition);
        break;
    case 'x':
        tag.code = SubTag::XRel;
        number(kWidthPosition);
        break;
    case 'Y':
        if (!arg.empty() && arg[0] == '-') {
            tag.code = SubTag::YFromBottom;
            arg = arg.substr(1);
        } else {
            tag.code = SubTag::YAbs;
        }
        number(kWidthPosition);
        break;
    case 'y':
        tag.code = SubTag::YRel;
        number(kWidthPosition);
        break;
    case 'L':
        tag.code = SubTag::LineAdvance;
        numberOr(kWidthAdvance, 10);
        break;
    case 'S':
        tag.code = SubTag::Size;
        number(kWidthSize);
        break;
    case 'T':
        tag.code = SubTag::Style;
        number(kWidthSize);
        break;
    case 'F':
        tag.code = SubTag::Face;
        tag.text = std::string(arg.substr(0, std::min(kWidthFace, arg.size())));
        break;
    case 'C':
        tag.code = SubTag::TableColour;
        number(kWidthTable);
        break;
    case 'c':
        tag.code = SubTag::OwnerColour;
        numberOr(kWidthId, 0);
        break;
    case 'J':
        tag.code = SubTag::Jump;
        numberOr(kWidthId, 0);
        break;
    case 'G':
        tag.code = SubTag::ScreenLink;
        numberOr(kWidthId, 0);
        break;
    case 'H':
        tag.code = SubTag::HyperLink;
        tag.text = std::string(arg);
        break;
    case 'V':
        tag.code = SubTag::Value;
        numberOr(kWidthId, 0);
        break;
    case 'v':
        tag.code = SubTag::LineCheck;
        numberOr(kWidthId, 0);
        break;
    case 's':
        tag.code = SubTag::Section;
        numberOr(kWidthId, 1);
        break;
    case '.':
        tag.code = SubTag::Close;
        break;
    default:
        break;
    }
    return tag;
}

std::vector<SubTag> ParseGroup(std::string_view group) {
    std::vector<SubTag> tags;
    std::size_t start = 0;
    while (start <= group.size()) {
        std::size_t end = group.find(';', start);
        if (end == std::string_view::npos) end = group.size();
        std::string_view part = group.substr(start, end - start);
        if (!TrimText(part).empty()) tags.push_back(ParseSubTag(part));
        start = end + 1;
    }
    return tags;
}

namespace {

// One pass over the lines; holds the reading state of the label while the text is laid out.
class Pass {
public:
    Pass(const Settings& s, State& state, Metrics& metrics, const Hooks& hooks, bool drawing)
        : s_(s), state_(state), metrics_(metrics), hooks_(hooks), drawing_(drawing) {}

    LayoutResult Run(const std::vector<std::string>& lines) {
        leftEdge_ = s_.client.left + (s_.hasIcon ? s_.iconWidth + 4 : 0);
        vi_ = s_.visionImpaired ? 2 : 0;
        font_ = s_.labelFont;
        advance_ = s_.lineSpacing;
        y_ = s_.client.top + s_.bevel;
        indent_ = 0;
        x_ = LineStart();
        if (lines.empty()) {
            result_.emptyText = true;
            result_.endY = y_;
            return std::move(result_);
        }
        for (std::size_t i = 0; i < lines.size(); ++i)
            ReadLine(lines[i], static_cast<int>(i));
        result_.endY = y_;
        return std::move(result_);
    }

private:
    int LineStart() const { return Add(Add(leftEdge_, vi_), Add(indent_, s_.bevel)); }
    bool Shown() const { return state_.section == s_.currentSection || state_.section == 999; }
    int Scaled(int n) const { return RoundEven(n * s_.positionScale); }
    int LineAdvance() {
        return RoundEven(static_cast<double>(metrics_.TextHeight(font_)) * advance_ / 10.0);
    }

    void ReadLine(const std::string& line, int index) {
        result_.plainLines.emplace_back();
        line_ = index;
        pass_ = true;
        if (!line.empty() && line[0] == ';') return;

        std::string text = line;
        std::size_t pos = 0;
        int insertions = 0;
        while (pos < text.size() && pass_) {
            std::size_t lt = text.find('<', pos);
            std::size_t gt = lt == std::string::npos ? lt : text.find('>', lt + 1);
            if (gt == std::string::npos) {
                // No tag group left (or an unterminated one): the rest is text.
                DrawRun(std::string_view(text).substr(pos));
                break;
            }
            if (lt > pos) DrawRun(std::string_view(text).substr(pos, lt - pos));
            std::string group = text.substr(lt + 1, gt - lt - 1);
            pos = gt + 1;
            std::string inserted;
            for (const SubTag& tag : ParseGroup(group))
                Apply(tag, inserted, insertions);
            if (linkOpen_) font_.style &= ~fsUnderline;
            if (!inserted.empty()) {
                text = inserted + text.substr(pos);
                pos = 0;
            }
        }
        if (pass_ && Shown()) y_ = Add(y_, LineAdvance());
        x_ = LineStart();
    }

    void Apply(const SubTag& tag, std::string& inserted, int& insertions) {
        if (s_.visionImpaired && (tag.code == SubTag::TableColour || tag.code == SubTag::Face ||
                                  tag.code == SubTag::Style || tag.code == SubTag::OwnerColour))
            return;
        if (tag.code == SubTag::Section) {
            state_.section = tag.number;
            return;
        }
        if (!Shown()) return;
        if (!tag.ok) {
            if (drawing_ && hooks_.beep) hooks_.beep();
            return;
        }
        switch (tag.code) {
        case SubTag::AlignTag:
            state_.align = tag.text == "R"   ? Align::Right
                           : tag.text == "C" ? Align::Center
                                             : Align::Left;
            break;
        case SubTag::XAbs:
            indent_ = Scaled(tag.number);
            x_ = LineStart();
            break;
        case SubTag::XRel:
            x_ = Add(x_, Scaled(tag.number));
            break;
        case SubTag::YAbs:
            y_ = Add(Add(Scaled(tag.number), s_.client.top), s_.bevel);
            break;
        case SubTag::YFromBottom:
            y_ = Add(Add(s_.client.bottom, -Scaled(tag.number)), Add(-s_.bevel, -LineAdvance()));
            break;
        case SubTag::YRel:
            y_ = Add(y_, Scaled(tag.number));
            break;
        case SubTag::LineAdvance:
            advance_ = tag.number;
            break;
        case SubTag::Size:
            font_.size = RoundEven(tag.number * s_.sizeScale);
            break;
        case SubTag::Style:
            font_.style = tag.number & 7;
            break;
        case SubTag::Face:
            font_.name = tag.text;
            break;
        case SubTag::TableColour:
            if (auto c = TableColor(tag.number)) font_.color = *c;
            break;
        case SubTag::OwnerColour:
            if (tag.number != 0) {
                if (hooks_.colorTag) {
                    Colour c = font_.color;
                    hooks_.colorTag(tag.number, c);
                    font_.color = c;
                }
            } else {
                font_.color = s_.loadFontColor;
            }
            break;
        case SubTag::Jump:
            jump_ = tag.number;
            linkOpen_ = true;
            break;
        case SubTag::ScreenLink:
            screen_ = tag.number;
            linkOpen_ = true;
            break;
        case SubTag::HyperLink:
            ++linkNumber_;
            url_ = tag.text;
            linkOpen_ = true;
            break;
        case SubTag::Value:
            if (tag.number != 0 && hooks_.screenTag && insertions < s_.maxInsertionsPerLine) {
                std::string value;
                hooks_.screenTag(tag.number, value);
                inserted += value;
                ++insertions;
            }
            break;
        case SubTag::LineCheck:
            if (tag.number != 0 && hooks_.checkTag) {
                bool pass = true;
                hooks_.checkTag(tag.number, pass);
                pass_ = pass;
            } else {
                pass_ = true;
            }
            break;
        case SubTag::Close:
            font_ = s_.labelFont;
            font_.size = RoundEven(s_.loadFontSize * s_.sizeScale);
            jump_ = 0;
            screen_ = 0;
            url_.clear();
            linkOpen_ = false;
            break;
        default:
            break; // unknown letters
        }
    }

    void DrawRun(std::string_view text) {
        if (!drawing_ || !pass_ || !Shown()) return;
        int w = metrics_.TextWidth(font_, text);
        int h = metrics_.TextHeight(font_);
        if (state_.align == Align::Right)
            x_ = Add(x_, -w);
        else if (state_.align == Align::Center)
            x_ = Add(x_, -(w / 2));
        else if (s_.attention)
            x_ = std::max(x_, s_.iconWidth + 12);

        Rect rect{x_, y_, Add(x_, w), Add(y_, h)};
        const Hover& hover = s_.hover;
        bool under = hover.hasMouse && rect.Contains(hover.x, hover.y);
        bool hot = false;
        std::string runText(text);
        if (jump_ != 0) {
            result_.jumps.push_back({jump_, runText, rect});
            hot = hot || (under && hover.kind == HitKind::Jump && hover.id == jump_);
        }
        if (!url_.empty()) {
            result_.links.push_back({linkNumber_, url_, runText, rect});
            hot = hot || (under && hover.kind == HitKind::Link && hover.id == linkNumber_);
        }
        if (screen_ != 0) {
            result_.screens.push_back({screen_, rect});
            hot = hot || (under && hover.kind == HitKind::Screen && hover.id == screen_);
        }
        hot = hot && !hover.mouseLeft;

        markup::Run run;
        run.text = runText;
        run.line = line_;
        run.x = x_;
        run.y = y_;
        run.width = w;
        run.height = h;
        run.font = font_;
        if (hot) run.font.style |= fsUnderline;
        run.hot = hot;
        result_.runs.push_back(std::move(run));

        std::string& plain = result_.plainLines.back();
        plain = TrimText(plain) + " " + TrimText(text);
        x_ = Add(x_, w);
    }

    const Settings& s_;
    State& state_;
    Metrics& metrics_;
    const Hooks& hooks_;
    bool drawing_;
    LayoutResult result_;

    int leftEdge_ = 0;
    int vi_ = 0;
    int x_ = 0;
    int y_ = 0;
    int indent_ = 0;
    int advance_ = 10;
    RunFont font_;
    int jump_ = 0;
    int screen_ = 0;
    std::string url_;
    bool linkOpen_ = false;
    int linkNumber_ = 0;
    bool pass_ = true;
    int line_ = 0;
};

} // namespace

LayoutResult Layout(const std::vector<std::string>& lines, const Settings& settings, State& state,
                    Metrics& metrics, const Hooks& hooks, bool drawing) {
    return Pass(settings, state, metrics, hooks, drawing).Run(lines);
}

Hit HitTest(const LayoutResult& result, int x, int y) {
    Hit hit;
    for (const auto& j : result.jumps)
        if (j.rect.Contains(x, y)) {
            hit = {HitKind::Jump, j.jumpId};
            break;
        }
    for (const auto& s : result.screens)
        if (s.rect.Contains(x, y)) {
            hit = {HitKind::Screen, s.screenId};
            break;
        }
    for (const auto& l : result.links)
        if (l.rect.Contains(x, y)) {
            hit = {HitKind::Link, l.number};
            break;
        }
    return hit;
}

std::string PlainText(const std::vector<std::string>& plainLines) {
    if (plainLines.empty()) return {};
    std::string out = TrimText(plainLines.front());
    for (std::size_t i = 1; i < plainLines.size(); ++i) {
        out += ' ';
        out += plainLines[i];
    }
    return out;
}

} // namespace cgt::markup
