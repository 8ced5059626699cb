#pragma once
// The label mark-up language: lines of text runs and tag groups "<a;b;c>" that set position,
// alignment, font, colour, line advance and section, open help-topic jumps, screen links and
// hyperlinks, insert values supplied by the owner and hide line parts. The layout is
// widget-free: text metrics come through an interface, and a pass yields the runs to draw with
// their positions and fonts, the hit records of the link runs and the plain text.
//
// Texts are UTF-8 (tags are ASCII, so byte-wise parsing keeps multi-byte characters whole in
// runs); callers holding 8-bit store texts convert them first.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/geometry.h"

namespace cgt::markup {

// The colour of C n: 0 gives red 8 (practically black), 1..18 the table, nullopt above 18 or
// below 0 (the colour stays).
std::optional<Colour> TableColor(int n);

enum FontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4 };

struct RunFont {
    std::string name;
    int size = 10; // points
    int style = 0; // FontStyle bits
    Colour color;
    bool operator==(const RunFont&) const = default;
};

enum class Align { Left, Right, Center };

// Text metrics of the drawing surface.
class Metrics {
public:
    virtual ~Metrics() = default;
    virtual int TextWidth(const RunFont& font, std::string_view text) = 0;
    // Height of a line of text in the font (the height of "H").
    virtual int TextHeight(const RunFont& font) = 0;
};

// One sub-tag of a tag group, decoded.
struct SubTag {
    enum Code : char {
        Unknown = '?',
        AlignTag = 'A', // align: arg 'L', 'R' or 'C'
        XAbs = 'X',
        XRel = 'x',
        YAbs = 'Y',
        YFromBottom = 'B', // "Y-n"
        YRel = 'y',
        LineAdvance = 'L',
        Size = 'S',
        Style = 'T',
        Face = 'F',
        TableColour = 'C',
        OwnerColour = 'c',
        Jump = 'J',
        ScreenLink = 'G',
        HyperLink = 'H',
        Value = 'V',
        LineCheck = 'v',
        Section = 's',
        Close = '.',
    };
    Code code = Unknown;
    int number = 0;   // the converted number, or the default of a tag that has one
    bool ok = true;   // false: the number did not convert and the tag has no default
    std::string text; // F face, H url, A letter
};

// The number read from at most `width` characters: optional leading blanks, sign, digits.
std::optional<int> ReadNumber(std::string_view text, std::size_t width);
// Decodes one sub-tag (surrounding blanks ignored).
SubTag ParseSubTag(std::string_view text);
// Splits a group's text at ';' and decodes every non-empty part.
std::vector<SubTag> ParseGroup(std::string_view group);

// The owner's answers. An empty function counts as not assigned.
struct Hooks {
    std::function<void(int id, std::string& text)> screenTag; // V: text read as mark-up
    std::function<void(int id, bool& pass)> checkTag;         // v: false hides the rest of a line
    std::function<void(int id, Colour& color)> colorTag;      // c: the font colour
    std::function<void()> beep;                               // a number that did not convert
};

enum class HitKind : int { None = 0, Jump = 1, Screen = 2, Link = 3 };

struct Hover {
    HitKind kind = HitKind::None;
    int id = 0;
    bool hasMouse = false; // a mouse position is known
    int x = 0;
    int y = 0;
    bool mouseLeft = false; // the pointer has left the control: nothing is hot
};

struct Settings {
    Rect client;   // the client rectangle
    int bevel = 0; // the sum of the widths of the bevels drawn
    bool hasIcon = false;
    bool attention = false; // the attention kind: left-aligned runs start after the icon
    int iconWidth = 0;
    bool visionImpaired = false;
    double positionScale = 1.0;
    double sizeScale = 1.0;
    RunFont labelFont; // the label's font now
    int loadFontSize = 10;
    Colour loadFontColor;
    int lineSpacing = 10;
    int currentSection = 1;
    Hover hover;
    // Insertions of V values per line, against texts that insert themselves.
    int maxInsertionsPerLine = 64;
};

// State that a pass leaves for the next one.
struct State {
    int section = 1;
    Align align = Align::Left;
};

struct JumpRecord {
    int jumpId = 0;
    std::string text;
    Rect rect;
};
struct LinkRecord {
    int number = 0;
    std::string url;
    std::string text;
    Rect rect;
};
struct ScreenRecord {
    int screenId = 0;
    Rect rect;
};

struct Run {
    std::string text;
    int line = 0; // index of the source line
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    RunFont font;
    bool hot = false; // under the mouse: drawn underlined
};

struct LayoutResult {
    bool emptyText = false; // no lines: the control shows its name instead
    std::vector<Run> runs;
    std::vector<JumpRecord> jumps;
    std::vector<LinkRecord> links;
    std::vector<ScreenRecord> screens;
    std::vector<std::string> plainLines;
    int endY = 0; // the pen's y after the last line
};

// One layout pass. Only a drawing pass collects runs, hit records and plain text; both passes
// run the owner's hooks and move `state`.
LayoutResult Layout(const std::vector<std::string>& lines, const Settings& settings, State& state,
                    Metrics& metrics, const Hooks& hooks, bool drawing);

// The target under (x, y): jumps, then screen links, then hyperlinks; a later list's hit wins.
struct Hit {
    HitKind kind = HitKind::None;
    int id = 0;
};
Hit HitTest(const LayoutResult& result, int x, int y);

// The first line trimmed, then " " + each further line.
std::string PlainText(const std::vector<std::string>& plainLines);

// Rounds to the nearest integer, halves to the even one.
int RoundEven(double value);

} // namespace cgt::markup
