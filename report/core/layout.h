#pragma once
// The layout of a loaded page, without a device: the page's records become drawing operations
// in device pixels (rectangles, lines, text lines with their fonts, fields for the field
// drawer). Text metrics come through an interface, so that tests read where each text lands
// and the engine draws the same operations on any QPainter.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/geometry.h"
#include "report/core/pages.h"

namespace cgt::report {

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kSilver{192, 192, 192};
inline constexpr Colour kGrey{128, 128, 128};

// Colour n (1..27) of the scripts' colour table; 17 and 18 are the system's button face and
// window colours, taken as their usual light grey and white.
std::optional<Colour> ScriptColour(int n);

// What a colour is used for, which decides its printed colour.
enum class ColourUse { Brush, Pen, FontBackground, Text };
// The printed colour of colour n: paper white, silver, grey or black.
Colour PrintedColour(int n, ColourUse use);

// The installed metric twin of face n (0 Arial, 1 Arial Narrow, 2 Courier New, 3 Times New
// Roman), and of a face name.
std::string_view FaceFamily(int face);
std::string FamilyOfFaceName(std::string_view name);

enum FontStyleBits : int { fsBold = 1, fsItalic = 2, fsUnderline = 4 };

struct ReportFont {
    std::string family;
    int pointSize = 10; // at the device's resolution
    int style = 0;      // FontStyleBits
    Colour colour;
    int spacing = 0; // extra device pixels after each character
    bool operator==(const ReportFont&) const = default;
};

// Text metrics of the device, in device pixels. Texts are 8-bit (Latin-1).
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual int Width(const ReportFont& font, std::string_view text) = 0;
    // The height of a line (of "H"): ascent and descent.
    virtual int Height(const ReportFont& font) = 0;
    virtual int Ascent(const ReportFont& font) = 0;
};

// Pen and brush styles as the scripts number them.
enum ScriptBrushStyle : int {
    bsSolid = 0,
    bsClear = 1,
    bsHorizontal = 2,
    bsVertical = 3,
    bsFDiagonal = 4,
    bsBDiagonal = 5,
    bsCross = 6,
    bsDiagCross = 7
};
enum ScriptPenStyle : int {
    psSolid = 0,
    psDash = 1,
    psDot = 2,
    psDashDot = 3,
    psDashDotDot = 4,
    psClear = 5,
    psInsideFrame = 6
};

struct PenSpec {
    Colour colour;
    int width = 0; // device pixels; 0 the thinnest line
    int style = psSolid;
    bool operator==(const PenSpec&) const = default;
};

struct BrushSpec {
    Colour colour = kWhite;
    int style = bsSolid;
    bool operator==(const BrushSpec&) const = default;
};

struct DrawOp {
    enum class Kind {
        Fill,
        Rectangle,
        Line,
        Ellipse,
        RoundRect,
        Triangle,
        Text,
        Field,
        EditField,
        Jump
    };
    Kind kind = Kind::Fill;
    Rect box; // the rectangle; a line runs from (left, top) to (right, bottom)
    PenSpec pen;
    BrushSpec brush;
    std::array<Point, 3> points{}; // Triangle
    std::string text;              // Text: one line
    ReportFont font;               // Text
    int x = 0;                     // Text: left of the line
    int y = 0;                     // Text: top of the line
    char fieldKind = 0;            // Field: the kind the field drawer is told
    Record record;                 // Field, EditField: the record
    int number = 0;                // Jump: the jump number; EditField: the editable field's count
    bool firstJump = false;        // Jump: the first of the page
};

struct DrawSettings {
    bool printing = false;
    // Colours print as paper white, silver, grey and black (printing, and every drawing without
    // editable fields on screen); otherwise the colour table's.
    bool mapColours = true;
    // Editable fields become EditField operations instead of fields (not when printing).
    bool showEditFields = false;
    double fontScale = 1.0;
    double xScale = 1.0; // device pixels per script unit
    double yScale = 1.0;
    int left = 0; // the page's origin on the device
    int top = 0;
};

// The font of a font record at a font scale: size trunc(points × scale + 0.2).
int ScaledPointSize(int points, double fontScale);

std::vector<DrawOp> LayoutPage(const Page& page, const DrawSettings& settings,
                               TextMetrics& metrics);

} // namespace cgt::report
