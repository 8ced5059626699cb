// The label mark-up without a widget: sub-tag decoding and the layout passes over simple,
// predictable metrics (each byte is size/2 pixels wide, bold adds one pixel per byte; a line is
// 2 x size pixels high, italic one more).

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/core/markup.h"

namespace cgt::markup {
namespace {

class FakeMetrics : public Metrics {
public:
    int TextWidth(const RunFont& font, std::string_view text) override {
        int perByte = font.size / 2 + ((font.style & fsBold) ? 1 : 0);
        return static_cast<int>(text.size()) * perByte;
    }
    int TextHeight(const RunFont& font) override {
        return font.size * 2 + ((font.style & fsItalic) ? 1 : 0);
    }
};

Settings BaseSettings() {
    Settings s;
    s.client = {0, 0, 400, 300};
    s.labelFont.name = "Arial";
    s.labelFont.size = 10; // 5 px per byte, 20 px per line
    s.loadFontSize = 10;
    s.labelFont.color = Colour::FromRgb(0, 0, 0);
    s.loadFontColor = s.labelFont.color;
    return s;
}

struct Laid {
    LayoutResult result;
    State state;
    int beeps = 0;
};

// Both passes, as the label runs them.
Laid LayOut(const std::vector<std::string>& lines, const Settings& s = BaseSettings(),
            Hooks hooks = {}, State state = {}) {
    Laid out;
    out.state = state;
    FakeMetrics m;
    hooks.beep = [&out] { ++out.beeps; };
    Layout(lines, s, out.state, m, hooks, false);
    out.result = Layout(lines, s, out.state, m, hooks, true);
    return out;
}

// ---- sub-tags --------------------------------------------------------------------------------

struct SubTagCase {
    const char* text;
    SubTag::Code code;
    int number;
    bool ok;
    const char* arg;
};

TEST(MarkupSubTag, DecodesLettersNumbersWidthsAndDefaults) {
    const std::string longFace(40, 'f');
    const SubTagCase cases[] = {
        {"X10", SubTag::XAbs, 10, true, ""},
        {"X0010", SubTag::XAbs, 10, true, ""},
        {"X12345", SubTag::XAbs, 1234, true, ""}, // four characters are read
        {"x-5", SubTag::XRel, -5, true, ""},
        {"Xab", SubTag::XAbs, 0, false, ""},
        {"X", SubTag::XAbs, 0, false, ""},
        {"Y35", SubTag::YAbs, 35, true, ""},
        {"Y-25", SubTag::YFromBottom, 25, true, ""},
        {"Y-", SubTag::YFromBottom, 0, false, ""},
        {"y7", SubTag::YRel, 7, true, ""},
        {"L14", SubTag::LineAdvance, 14, true, ""},
        {"L", SubTag::LineAdvance, 10, true, ""},
        {"L1x", SubTag::LineAdvance, 10, true, ""},
        {"S12", SubTag::Size, 12, true, ""},
        {"S1234", SubTag::Size, 123, true, ""},
        {"T1", SubTag::Style, 1, true, ""},
        {"C12", SubTag::TableColour, 12, true, ""},
        {"c3", SubTag::OwnerColour, 3, true, ""},
        {"c", SubTag::OwnerColour, 0, true, ""},
        {"J196", SubTag::Jump, 196, true, ""},
        {"JDynamicHelpLink", SubTag::Jump, 0, true, ""}, // an unreplaced placeholder: no jump
        {"G2050", SubTag::ScreenLink, 2050, true, ""},
        {"V710", SubTag::Value, 710, true, ""},
        {"V99998", SubTag::Value, 99998, true, ""},
        {"v12", SubTag::LineCheck, 12, true, ""},
        {"s2", SubTag::Section, 2, true, ""},
        {"s", SubTag::Section, 1, true, ""},
        {".", SubTag::Close, 0, true, ""},
        {"AR", SubTag::AlignTag, 0, true, "R"},
        {"FTimes New Roman", SubTag::Face, 0, true, "Times New Roman"},
        {"Hhttp://www.example.org/x?a=1", SubTag::HyperLink, 0, true,
         "http://www.example.org/x?a=1"},
        {" T4 ", SubTag::Style, 4, true, ""},
        {"Q5", SubTag::Unknown, 0, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SubTag t = ParseSubTag(c.text);
        EXPECT_EQ(t.code, c.code);
        EXPECT_EQ(t.number, c.number);
        EXPECT_EQ(t.ok, c.ok);
        EXPECT_EQ(t.text, c.arg);
    }
    EXPECT_EQ(ParseSubTag("F" + longFace).text, std::string(30, 'f'));
}

TEST(MarkupSubTag, GroupSplitsAtSemicolonsAndDropsEmptyParts) {
    auto tags = ParseGroup("C12;T4;;J196; ");
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].code, SubTag::TableColour);
    EXPECT_EQ(tags[1].code, SubTag::Style);
    EXPECT_EQ(tags[2].number, 196);
}

TEST(MarkupColour, TableAndItsEdges) {
    EXPECT_EQ(TableColor(0), Colour::FromRgb(8, 0, 0));
    EXPECT_EQ(TableColor(3), Colour::FromRgb(0, 128, 0));
    EXPECT_EQ(TableColor(12), Colour::FromRgb(0, 0, 255));
    EXPECT_EQ(TableColor(17)->system, Colour::ButtonFace);
    EXPECT_EQ(TableColor(18)->system, Colour::Window);
    EXPECT_FALSE(TableColor(19).has_value());
    EXPECT_FALSE(TableColor(-1).has_value());
}

// ---- layout ----------------------------------------------------------------------------------

TEST(MarkupLayout, BoldWordReturnsToLabelFontAndPlainTextHasSingleSpaces) {
    auto r = LayOut({"What was <T1>your<.> answer?"}).result;
    ASSERT_EQ(r.runs.size(), 3u);
    EXPECT_EQ(r.runs[0].text, "What was ");
    EXPECT_EQ(r.runs[0].x, 0);
    EXPECT_EQ(r.runs[1].font.style, fsBold);
    EXPECT_EQ(r.runs[1].x, 9 * 5);
    EXPECT_EQ(r.runs[2].font, BaseSettings().labelFont);
    EXPECT_EQ(r.runs[2].x, 9 * 5 + 4 * 6);
    EXPECT_EQ(PlainText(r.plainLines), "What was your answer?");
    EXPECT_EQ(r.endY, 20);
}

TEST(MarkupLayout, CommentLineIsSkippedWithItsTags) {
    auto r = LayOut({"one", ";<X15;Y35>hidden", "two"}).result;
    ASSERT_EQ(r.runs.size(), 2u);
    EXPECT_EQ(r.runs[1].text, "two");
    EXPECT_EQ(r.runs[1].x, 0);
    EXPECT_EQ(r.runs[1].y, 20);
    ASSERT_EQ(r.plainLines.size(), 3u);
    EXPECT_EQ(r.plainLines[1], "");
}

TEST(MarkupLayout, OnlyTheCurrentSectionIsDrawnAndHiddenLinesTakeNoHeight) {
    Settings s = BaseSettings();
    s.currentSection = 2;
    auto laid = LayOut({"<s1>first text", "<s2>second text", "<s999>always"}, s);
    const auto& r = laid.result;
    ASSERT_EQ(r.runs.size(), 2u);
    EXPECT_EQ(r.runs[0].text, "second text");
    EXPECT_EQ(r.runs[0].y, 0);
    EXPECT_EQ(r.runs[1].y, 20);
    EXPECT_EQ(laid.state.section, 999); // left where the text ends
    // Each entry gets " " + run; the first, empty, entry is trimmed.
    EXPECT_EQ(r.plainLines[1], " second text");
    EXPECT_EQ(PlainText(r.plainLines), "  second text  always");
}

TEST(MarkupLayout, SectionIsNotResetWhenAPassStarts) {
    // The first pass leaves section 2, so a leading line without an s tag is hidden in the
    // drawing pass when section 1 is shown.
    auto r = LayOut({"head", "<s2>two"}).result;
    EXPECT_TRUE(r.runs.empty());
}

TEST(MarkupLayout, BulletWithHangingIndent) {
    auto r = LayOut({"<X10>\xE2\x80\xA2<X20>first line", "second line"}).result;
    ASSERT_EQ(r.runs.size(), 3u);
    EXPECT_EQ(r.runs[0].x, 10);
    EXPECT_EQ(r.runs[1].x, 20);
    EXPECT_EQ(r.runs[2].x, 20);
    EXPECT_EQ(r.runs[2].y, 20);
}

TEST(MarkupLayout, LineAdvanceTagAppliesToThisAndLaterLines) {
    Settings s = BaseSettings();
    s.labelFont.size = 15;
    auto r = LayOut({"a<L14>", "b", "c<L>", "d<L125>", "e", "f"}, s).result;
    // 30 px lines: 1.4 -> 42; L alone -> 1.0; L125 reads two characters: 1.2 -> 36
    ASSERT_EQ(r.runs.size(), 6u);
    EXPECT_EQ(r.runs[1].y, 42);
    EXPECT_EQ(r.runs[2].y, 84);
    EXPECT_EQ(r.runs[3].y, 114);
    EXPECT_EQ(r.runs[4].y, 150);
    Settings h = BaseSettings();
    h.lineSpacing = 25; // 2.5 x 20 = 50
    auto r2 = LayOut({"a", "b"}, h).result;
    EXPECT_EQ(r2.runs[1].y, 50);
}

TEST(MarkupLayout, LineAdvanceRoundsHalvesToEven) {
    // Italic 15 pt lines are 31 px: 1.5 x 31 = 46.5 -> 46; 0.5 x 31 = 15.5 -> 16.
    auto r = LayOut({"<S15;T2;L15>a", "b"}).result;
    EXPECT_EQ(r.runs[1].y, 46);
    r = LayOut({"<S15;T2;L5>a", "b"}).result;
    EXPECT_EQ(r.runs[1].y, 16);
    EXPECT_EQ(RoundEven(2.5), 2);
    EXPECT_EQ(RoundEven(3.5), 4);
    EXPECT_EQ(RoundEven(-2.5), -2);
}

TEST(MarkupLayout, PositionTags) {
    auto laid = LayOut({"<AL;Y50;X30>a<x7>b<y3>c", "<Y-25>low", "<AR;X200>right", "<AC;X200>mid"});
    const auto& r = laid.result;
    ASSERT_EQ(r.runs.size(), 6u);
    EXPECT_EQ(r.runs[0].x, 30);
    EXPECT_EQ(r.runs[0].y, 50);
    EXPECT_EQ(r.runs[1].x, 30 + 5 + 7);
    EXPECT_EQ(r.runs[2].y, 53);
    EXPECT_EQ(r.runs[3].y, 300 - 25 - 20); // bottom - n - one line advance
    EXPECT_EQ(r.runs[4].x, 200 - 25);      // right edge at the pen
    EXPECT_EQ(r.runs[5].x, 200 - 15 / 2);  // centred on the pen
    // Alignment is not reset when a pass starts: without the AL the first run is centred too.
    EXPECT_EQ(laid.state.align, Align::Center);
    auto again = LayOut({"<Y50;X30>a", "<AC>"}).result;
    EXPECT_EQ(again.runs[0].x, 30 - 5 / 2);
}

TEST(MarkupLayout, MarginsBevelsIconsScaleAndVisionImpaired) {
    Settings s = BaseSettings();
    s.bevel = 3;
    s.hasIcon = true;
    s.iconWidth = 32;
    s.visionImpaired = true;
    s.positionScale = 1.5;
    auto r = LayOut({"a<X10;Y10>b<C10>c"}, s).result;
    ASSERT_EQ(r.runs.size(), 3u);
    EXPECT_EQ(r.runs[0].x, 32 + 4 + 2 + 3);
    EXPECT_EQ(r.runs[0].y, 3);
    EXPECT_EQ(r.runs[1].x, 15 + 2 + 36 + 3);
    EXPECT_EQ(r.runs[1].y, 15 + 3);
    EXPECT_EQ(r.runs[2].font.color, s.labelFont.color); // colours ignored

    Settings a = BaseSettings();
    a.hasIcon = true;
    a.attention = true;
    a.iconWidth = 32;
    auto ra = LayOut({"warn<X50>far"}, a).result;
    EXPECT_EQ(ra.runs[0].x, 44); // after the icon, at least icon width + 12
    EXPECT_EQ(ra.runs[1].x, 36 + 50);
}

TEST(MarkupLayout, FontTagsAndCloseRestoresTheLoadSize) {
    Settings s = BaseSettings();
    s.sizeScale = 1.5;
    s.labelFont.size = 15; // the platform scaled the font
    auto r = LayOut({"<S12;T3;FCourier New;C12>x<.>y"}, s).result;
    ASSERT_EQ(r.runs.size(), 2u);
    EXPECT_EQ(r.runs[0].font.size, 18);
    EXPECT_EQ(r.runs[0].font.style, fsBold | fsItalic);
    EXPECT_EQ(r.runs[0].font.name, "Courier New");
    EXPECT_EQ(r.runs[0].font.color, Colour::FromRgb(0, 0, 255));
    EXPECT_EQ(r.runs[1].font.size, 15);
    EXPECT_EQ(r.runs[1].font.name, "Arial");
    EXPECT_EQ(r.runs[1].font.color, s.labelFont.color);
}

TEST(MarkupLayout, OwnerColoursAndColourReset) {
    Settings s = BaseSettings();
    s.loadFontColor = Colour::FromRgb(1, 2, 3);
    Hooks h;
    std::vector<int> asked;
    h.colorTag = [&](int id, Colour& c) {
        asked.push_back(id);
        EXPECT_EQ(c, Colour::FromRgb(255, 0, 0)); // asked with the current colour
        c = Colour::FromRgb(0, 128, 0);
    };
    auto r = LayOut({"<C10;c7>g<c0>back<C19>same"}, s, h).result;
    ASSERT_EQ(r.runs.size(), 3u);
    EXPECT_EQ(r.runs[0].font.color, Colour::FromRgb(0, 128, 0));
    EXPECT_EQ(r.runs[1].font.color, Colour::FromRgb(1, 2, 3));
    EXPECT_EQ(r.runs[2].font.color, Colour::FromRgb(1, 2, 3));
    EXPECT_EQ(asked, (std::vector<int>{7, 7})); // both passes ask
}

TEST(MarkupLayout, ValuesAreInsertedAndReadAsMarkup) {
    Hooks h;
    h.screenTag = [](int id, std::string& text) {
        if (id == 710) text = "<T1>Shares in BHP<.>";
        if (id == 99998) text = "2003";
        if (id == 99999) text = "2004";
        if (id == 5) text = "again <V5>"; // inserts itself without end
    };
    auto r = LayOut({"Asset: <V710> sold", "<V99998>-<V99999>", "<V0>x"}, BaseSettings(), h).result;
    ASSERT_GE(r.runs.size(), 5u);
    EXPECT_EQ(r.runs[1].text, "Shares in BHP");
    EXPECT_EQ(r.runs[1].font.style, fsBold);
    EXPECT_EQ(r.runs[2].font.style, 0);
    EXPECT_EQ(r.plainLines[0], "Asset: Shares in BHP sold");
    EXPECT_EQ(r.plainLines[1], "2003- 2004");
    EXPECT_EQ(r.plainLines[2], " x");

    auto loop = LayOut({"<V5>end"}, BaseSettings(), h).result;
    EXPECT_EQ(loop.runs.back().text, "end"); // the line still ends
}

TEST(MarkupLayout, LineChecksHideTheRestOfALine) {
    Hooks h;
    h.checkTag = [](int id, bool& pass) { pass = id == 1; };
    auto r = LayOut({"a<v1>b", "c<v2>d", "e"}, BaseSettings(), h).result;
    ASSERT_EQ(r.runs.size(), 4u);
    EXPECT_EQ(r.runs[1].text, "b");
    EXPECT_EQ(r.runs[2].text, "c"); // drawn before the check
    EXPECT_EQ(r.runs[3].text, "e");
    EXPECT_EQ(r.runs[3].y, 20); // the checked line took no height
}

TEST(MarkupLayout, UnterminatedTagDrawsTheRestAsText) {
    auto r = LayOut({"abc <T1 def", "<T1>x<"}).result;
    ASSERT_EQ(r.runs.size(), 2u);
    EXPECT_EQ(r.runs[0].text, "abc <T1 def");
    EXPECT_EQ(r.runs[0].font.style, 0);
    EXPECT_EQ(r.runs[1].text, "x<");
    EXPECT_EQ(r.runs[1].font.style, fsBold);
}

TEST(MarkupLayout, BadNumbersBeepOnceAPaintAndTheGroupGoesOn) {
    auto laid = LayOut({"<Xab;T1>x"});
    EXPECT_EQ(laid.beeps, 1);
    EXPECT_EQ(laid.result.runs[0].font.style, fsBold);
    EXPECT_EQ(laid.result.runs[0].x, 0);
}

TEST(MarkupLayout, LinkRecordsHoverAndUnderline) {
    Settings s = BaseSettings();
    auto r = LayOut({"see <C12;T4;J196>date of acquisition<.> or <Hhttp://a.example>site<.> "
                     "or <G2050>screen<.>"},
                    s)
                 .result;
    ASSERT_EQ(r.jumps.size(), 1u);
    ASSERT_EQ(r.links.size(), 1u);
    ASSERT_EQ(r.screens.size(), 1u);
    const JumpRecord& j = r.jumps[0];
    EXPECT_EQ(j.jumpId, 196);
    EXPECT_EQ(j.text, "date of acquisition");
    EXPECT_EQ(j.rect, (Rect{20, 0, 20 + 19 * 5, 20}));
    EXPECT_EQ(r.links[0].number, 1);
    EXPECT_EQ(r.links[0].url, "http://a.example");
    EXPECT_EQ(r.screens[0].screenId, 2050);
    // The link is not underlined while the mouse is elsewhere.
    EXPECT_EQ(r.runs[1].font.style & fsUnderline, 0);

    Hit hit = HitTest(r, j.rect.left + 3, 5);
    EXPECT_EQ(hit.kind, HitKind::Jump);
    EXPECT_EQ(hit.id, 196);
    EXPECT_EQ(HitTest(r, r.links[0].rect.left, 0).kind, HitKind::Link);
    EXPECT_EQ(HitTest(r, r.screens[0].rect.left, 0).id, 2050);
    EXPECT_EQ(HitTest(r, 0, 0).kind, HitKind::None);
    EXPECT_EQ(HitTest(r, j.rect.right, 5).kind, HitKind::None); // right edge exclusive

    s.hover = {HitKind::Jump, 196, true, j.rect.left + 3, 5, false};
    auto hot = LayOut({"see <C12;T4;J196>date of acquisition<.>"}, s).result;
    EXPECT_TRUE(hot.runs[1].hot);
    EXPECT_NE(hot.runs[1].font.style & fsUnderline, 0);
    EXPECT_EQ(hot.runs[1].font.color, Colour::FromRgb(0, 0, 255));
    s.hover.mouseLeft = true;
    auto left = LayOut({"see <C12;T4;J196>date of acquisition<.>"}, s).result;
    EXPECT_FALSE(left.runs[1].hot);
}

TEST(MarkupLayout, LinkNumbersCountPerPassAndLaterListsWinTheHitTest) {
    auto r = LayOut({"<Hhttp://one>a<.><Hhttp://two>b<.>", "<J5;G6>both<.>"}).result;
    ASSERT_EQ(r.links.size(), 2u);
    EXPECT_EQ(r.links[1].number, 2);
    Hit hit = HitTest(r, 1, 21);
    EXPECT_EQ(hit.kind, HitKind::Screen);
    EXPECT_EQ(hit.id, 6);
}

TEST(MarkupLayout, EmptyTextIsReported) {
    auto r = LayOut({}).result;
    EXPECT_TRUE(r.emptyText);
    EXPECT_TRUE(r.runs.empty());
}

} // namespace
} // namespace cgt::markup
