// The page layout without a device: where rectangles, lines, texts and fields land, with
// metrics of a fixed width per character.

#include <gtest/gtest.h>

#include "report/core/layout.h"
#include "tools/script_asm.h"

namespace cgt::test {
namespace {

using namespace report;

// Each character is half the point size wide; a line is the point size high.
class FixedMetrics : public TextMetrics {
public:
    int Width(const ReportFont& f, std::string_view text) override {
        return static_cast<int>(text.size()) * f.pointSize / 2;
    }
    int Height(const ReportFont& f) override { return f.pointSize; }
    int Ascent(const ReportFont& f) override { return f.pointSize * 3 / 4; }
};

std::vector<DrawOp> Lay(const std::string& records, DrawSettings settings = {},
                        char placement = 'A') {
    const std::string source = std::string("section condition=0 placement=") +
                               (placement == 'R' ? "relative" : "absolute") + " height=2750\n" +
                               records;
    PageList pages;
    pages.Load(AssembleScript(source), 1, 1);
    FixedMetrics metrics;
    return LayoutPage(pages.pages()[0], settings, metrics);
}

std::vector<const DrawOp*> Of(const std::vector<DrawOp>& ops, DrawOp::Kind kind) {
    std::vector<const DrawOp*> out;
    for (const DrawOp& op : ops)
        if (op.kind == kind) out.push_back(&op);
    return out;
}

struct Placed {
    std::string text;
    int x;
    int y;
    bool operator==(const Placed&) const = default;
};

std::vector<Placed> Texts(const std::vector<DrawOp>& ops) {
    std::vector<Placed> out;
    for (const DrawOp* op : Of(ops, DrawOp::Kind::Text))
        out.push_back({op->text, op->x, op->y});
    return out;
}

void PrintTo(const Placed& p, std::ostream* os) {
    *os << "\"" << p.text << "\" at (" << p.x << ", " << p.y << ")";
}

TEST(Layout, RelativePlacementStacksFramesAndMovesBackUp) {
    const std::string records = R"(
    font size=20
    frame 0 0 100 400
    frame 650 -120 740 120
    text "same row"
    frame 25 10 0 30
    text "next"
)";
    EXPECT_EQ(Texts(Lay(records, {}, 'R')),
              (std::vector<Placed>{{"same row", 650, 280}, {"next", 25, 410}}));
    EXPECT_EQ(Texts(Lay(records, {}, 'A')),
              (std::vector<Placed>{{"same row", 650, -120}, {"next", 25, 10}}));
    DrawSettings scaled;
    scaled.xScale = 0.5;
    scaled.yScale = 2;
    scaled.left = 7;
    scaled.top = 3;
    EXPECT_EQ(Texts(Lay(records, scaled, 'R'))[0], (Placed{"same row", 7 + 325, 3 + 560}));
}

TEST(Layout, TextAlignments) {
    struct Case {
        const char* align;
        const char* text;
        std::vector<Placed> placed;
    };
    // Box (100, 100)-(500, 300); 20-point characters are 10 wide and 20 high.
    const Case cases[] = {
        {"left", "abcd\\nsecond", {{"abcd", 100, 100}}},
        {"right", "abcd", {{"abcd", 460, 100}}},
        {"centre", "abcd", {{"abcd", 280, 190}}},
        {"wrap-left",
         "aaaaaaaaaaaaaaa bbbbbbbbbbbbbbb ccccccccccccccc\\nnext",
         {{"aaaaaaaaaaaaaaa bbbbbbbbbbbbbbb", 100, 100},
          {"ccccccccccccccc", 100, 120},
          {"next", 100, 140}}},
        {"wrap-right", "aaaa bbbb\\n\\nc", {{"aaaa bbbb", 410, 100}, {"c", 490, 140}}},
        {"wrap-centre", "abcd", {{"abcd", 280, 100}}},
        {"plain-left", "<T1>kept", {{"<T1>kept", 100, 100}}},
        {"plain-right", "ab", {{"ab", 480, 100}}},
        {"plain-centre", "ab", {{"ab", 290, 100}}},
        {"17",
         "other codes draw at the top-left",
         {{"other codes draw at the top-left", 100, 100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        const auto ops = Lay(std::string("font size=20 align=") + c.align +
                             "\nframe 100 100 500 300\ntext \"" + c.text + "\"\n");
        EXPECT_EQ(Texts(ops), c.placed);
        const bool fills = std::string(c.align) == "centre";
        EXPECT_EQ(Of(ops, DrawOp::Kind::Fill).size(), fills ? 1u : 0u);
    }
}

TEST(Layout, OffsetTextIsPlacedByTheVerticalScale) {
    DrawSettings s;
    s.xScale = 1;
    s.yScale = 2;
    const auto ops = Lay("font size=20 align=offset background=15\nframe 100 100 500 300\n"
                         "text \"at an offset\" jump=10 y=5\n",
                         s);
    EXPECT_EQ(Texts(ops), (std::vector<Placed>{{"at an offset", 120, 210}}));
    ASSERT_EQ(Of(ops, DrawOp::Kind::Fill).size(), 1u);
    EXPECT_EQ(Of(ops, DrawOp::Kind::Fill)[0]->box, (Rect{100, 200, 500, 600}));
}

TEST(Layout, MarkupSetsStyleSizePositionAndAdvance) {
    const auto ops = Lay(R"(
font size=20 align=wrap-left
frame 100 100 900 900
text "<T1>Certification<T0> of <T2>the Act<.>\n"
    "plain<X0300>at 300\n"
    "<L15>advanced by one and a half\n"
    "<S040>big<S020>small<Y0500>low\n"
    "after"
)");
    const auto texts = Of(ops, DrawOp::Kind::Text);
    std::vector<Placed> placed;
    for (const DrawOp* op : texts)
        placed.push_back({op->text, op->x, op->y});
    EXPECT_EQ(placed, (std::vector<Placed>{{"Certification", 100, 100},
                                           {" of ", 230, 100},
                                           {"the Act", 270, 100},
                                           {"plain", 100, 120},
                                           {"at 300", 400, 120},
                                           {"advanced by one and a half", 100, 140},
                                           // 40 points over a baseline kept at 155
                                           {"big", 100, 170 - 30 + 15},
                                           {"small", 160, 170},
                                           {"low", 210, 600},
                                           {"after", 100, 630}}));
    EXPECT_EQ(texts[0]->font.style, fsBold);
    EXPECT_EQ(texts[1]->font.style, 0);
    EXPECT_EQ(texts[2]->font.style, fsItalic);
    EXPECT_EQ(texts[6]->font.pointSize, 40);
    EXPECT_EQ(texts[9]->font.pointSize, 20);
}

TEST(Layout, MarkupLinesEndAtTheRightForCodesFourAndFive) {
    for (const char* align : {"wrap-right", "wrap-centre"}) {
        SCOPED_TRACE(align);
        const auto ops = Lay(std::string("font size=20 align=") + align +
                             "\nframe 100 100 500 300\ntext \"<T1>ab<T0>cd\\nefg\"\n");
        EXPECT_EQ(Texts(ops),
                  (std::vector<Placed>{{"ab", 460, 100}, {"cd", 480, 100}, {"efg", 470, 120}}));
    }
}

TEST(Layout, PrintedColours) {
    const std::string records = R"(
attributes brush=1 pen=15 width=20
rect 10 10 100 100
attributes brush=22 pen=3
line 10 10 100 10
font background=1 colour=15 align=centre
frame 10 200 100 300
text "band"
font colour=10 align=left
text "<C15>markup" 
)";
    DrawSettings printing;
    printing.printing = true;
    const auto ops = Lay(records, printing);
    const auto rect = Of(ops, DrawOp::Kind::Rectangle);
    ASSERT_EQ(rect.size(), 1u);
    EXPECT_EQ(rect[0]->brush.colour, kGrey);
    EXPECT_EQ(rect[0]->pen.colour, kWhite);
    EXPECT_EQ(rect[0]->pen.width, 2);
    EXPECT_EQ(Of(ops, DrawOp::Kind::Line)[0]->brush.colour, kWhite);
    EXPECT_EQ(Of(ops, DrawOp::Kind::Line)[0]->pen.colour, kBlack);
    EXPECT_EQ(Of(ops, DrawOp::Kind::Fill)[0]->brush.colour, kGrey);
    const auto texts = Of(ops, DrawOp::Kind::Text);
    EXPECT_EQ(texts[0]->font.colour, kWhite);
    EXPECT_EQ(texts[1]->font.colour, kBlack) << "a text colour other than white prints black";

    DrawSettings coloured;
    coloured.mapColours = false;
    const auto table = Lay(records, coloured);
    EXPECT_EQ(Of(table, DrawOp::Kind::Rectangle)[0]->brush.colour, (Colour{0, 0, 0}));
    EXPECT_EQ(Of(table, DrawOp::Kind::Line)[0]->brush.colour, (Colour{220, 244, 252}));
    EXPECT_EQ(Of(table, DrawOp::Kind::Text)[1]->font.colour, (Colour{255, 0, 0}));
}

TEST(Layout, RectangleAtTheDeviceEdgeIsNotDrawn) {
    const std::string records = "rect 0 0 1850 2750\nrect 0 5 10 10\nrect 5 0 10 10\n"
                                "rect 1 1 10 10\n";
    EXPECT_EQ(Of(Lay(records), DrawOp::Kind::Rectangle).size(), 1u);
    DrawSettings moved;
    moved.left = 20;
    moved.top = 20;
    EXPECT_EQ(Of(Lay(records, moved), DrawOp::Kind::Rectangle).size(), 4u);
}

TEST(Layout, FieldsEditableFieldsRepeatsAndJumps) {
    const std::string records = R"(
frame 10 10 100 50
field tag=event.Name size=40
edit tag=event.AssetType size=2
edit tag=event.AssetType size=2
caution 0 0 40 40
repeat 50 0
record 0x5A
jump 196
jump 12
font align=centre
text "help" jump=33
font align=left
text "first"
repeat 0 40 "second"
frame 0 0 10 10
repeat 0 40 "third"
)";
    const auto ops = Lay(records);
    const auto fields = Of(ops, DrawOp::Kind::Field);
    ASSERT_EQ(fields.size(), 6u);
    EXPECT_EQ(fields[0]->fieldKind, 'S');
    EXPECT_EQ(fields[0]->box, (Rect{10, 10, 100, 50}));
    EXPECT_EQ(fields[1]->fieldKind, 'S') << "an editable field counts as a field";
    EXPECT_EQ(fields[1]->record.kind(), rkEditField);
    EXPECT_EQ(fields[3]->fieldKind, '1');
    EXPECT_EQ(fields[4]->fieldKind, '1') << "a repeat hands itself over as the element repeated";
    EXPECT_EQ(fields[4]->record.kind(), rkRepeat);
    EXPECT_EQ(fields[4]->box, (Rect{50, 0, 90, 40}));
    EXPECT_EQ(fields[5]->fieldKind, 'Z') << "an unknown kind goes to the field drawer";
    const auto jumps = Of(ops, DrawOp::Kind::Jump);
    ASSERT_EQ(jumps.size(), 3u);
    EXPECT_EQ(jumps[0]->number, 196);
    EXPECT_TRUE(jumps[0]->firstJump);
    EXPECT_FALSE(jumps[1]->firstJump);
    EXPECT_EQ(jumps[2]->number, 33);
    EXPECT_EQ(Texts(ops)[1], (Placed{"first", 50, 0}));
    EXPECT_EQ(Texts(ops)[2], (Placed{"second", 50, 40}));
    EXPECT_EQ(Texts(ops)[3], (Placed{"third", 0, 40}));

    DrawSettings editing;
    editing.showEditFields = true;
    const auto edits = Of(Lay(records, editing), DrawOp::Kind::EditField);
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[0]->number, 1);
    EXPECT_EQ(edits[1]->number, 2);
    editing.printing = true;
    EXPECT_TRUE(Of(Lay(records, editing), DrawOp::Kind::EditField).empty());
}

TEST(Layout, TriangleAndScaledSizes) {
    const auto ops = Lay("frame 100 100 200 200\ntriangle 0 50 50 50\n");
    const auto triangle = Of(ops, DrawOp::Kind::Triangle);
    ASSERT_EQ(triangle.size(), 1u);
    EXPECT_EQ(triangle[0]->points,
              (std::array<Point, 3>{Point{100, 100}, Point{100, 150}, Point{150, 150}}));
    EXPECT_EQ(ScaledPointSize(10, 1.5), 15);
    EXPECT_EQ(ScaledPointSize(9, 0.5), 4);
    EXPECT_EQ(ScaledPointSize(8, 0.1), 1);
    DrawSettings half;
    half.xScale = 0.5;
    const auto lines =
        Of(Lay("attributes pen=1 width=25\nline 0 0 10 10\n", half), DrawOp::Kind::Line);
    EXPECT_EQ(lines[0]->pen.width, 1);
}

} // namespace
} // namespace cgt::test
