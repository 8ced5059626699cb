// Malformed and random label mark-up, parsed and laid out under AddressSanitizer and
// UndefinedBehaviorSanitizer, through the widget-free layout and through the painted label.

#include <random>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include "controls/core/markup.h"
#include "controls/shell_service.h"
#include "controls/text_label.h"
#include "tests/support/scripted_dialogs.h"

namespace {

using namespace cgt::markup;

class ByteMetrics : public Metrics {
public:
    int TextWidth(const RunFont& font, std::string_view text) override {
        return static_cast<int>(text.size()) * std::max(1, font.size / 2);
    }
    int TextHeight(const RunFont& font) override { return std::max(1, font.size * 2); }
};

std::vector<std::string> MalformedLines() {
    std::vector<std::string> lines = {
        "",
        "<",
        ">",
        "<>",
        "<<<>>>",
        "><",
        "<;;;;>",
        "< ; ; >",
        "<X>",
        "<X-999;Y-999;x9999;y-9999>text",
        "<Y-9999>low",
        "<Y->",
        "<X99999999999999999999>",
        "<S999>huge<S-99>negative<S0>zero",
        "<T999;T-1>style",
        "<C99;C-5;C>colour",
        "<c99999;c-1;c>",
        "<L99;L-9;L>line",
        "<J99999;G-5;H>links<.>",
        "<H;H;H;Hhttp://x>many<.>",
        "<V1;V2;V3>values",
        "<v1>check",
        "<s-5>hidden<s999>always<s>",
        "<A;AX;A\xff>align",
        "<F>face<F\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
        "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9>cut face",
        "text <T1 unterminated",
        "<T1>a<T2>b<",
        "<<T1>>",
        "<.><.><.>",
        ";<X15;Y35>comment",
        ";",
        std::string(1, '\0') + "<X\0>" + std::string(3, '\0'),
        std::string(10000, 'x'),
        std::string(10000, '<'),
        std::string(10000, '>'),
        "<" + std::string(10000, 'X') + ">",
        "<" + std::string(10000, ';') + ">",
    };
    std::string longLine;
    for (int i = 0; i < 2000; ++i)
        longLine += "<J" + std::to_string(i) + ">w<.>";
    lines.push_back(longLine);
    return lines;
}

Hooks NastyHooks() {
    Hooks h;
    h.screenTag = [](int id, std::string& text) {
        if (id == 1) text = "<V1>"; // inserts itself
        if (id == 2) text = "<";
        if (id == 3) text = std::string(5000, '<') + "<V3>";
    };
    h.checkTag = [](int id, bool& pass) { pass = id % 2 == 0; };
    h.colorTag = [](int, cgt::Colour& c) { c = cgt::Colour::FromRgb(1, 2, 3); };
    h.beep = [] {};
    return h;
}

void LayoutBoth(const std::vector<std::string>& lines, Settings s) {
    ByteMetrics m;
    State state;
    Hooks h = NastyHooks();
    Layout(lines, s, state, m, h, false);
    LayoutResult r = Layout(lines, s, state, m, h, true);
    EXPECT_EQ(r.plainLines.size(), lines.size());
    for (const auto& run : r.runs)
        EXPECT_FALSE(run.text.empty());
    (void)PlainText(r.plainLines);
    (void)HitTest(r, 10, 10);
}

Settings SomeSettings(double scale, bool vi, int section) {
    Settings s;
    s.client = {0, 0, 300, 200};
    s.labelFont.name = "Arial";
    s.positionScale = scale;
    s.sizeScale = scale;
    s.visionImpaired = vi;
    s.currentSection = section;
    s.hasIcon = vi;
    s.attention = vi;
    s.iconWidth = 32;
    s.hover = {HitKind::Jump, 5, true, 10, 10, false};
    return s;
}

TEST(MarkupSanitized, MalformedLinesOneByOneAndTogether) {
    auto lines = MalformedLines();
    for (const auto& line : lines) {
        LayoutBoth({line}, SomeSettings(1.0, false, 1));
        LayoutBoth({line}, SomeSettings(1000.0, true, 999));
        for (std::size_t w = 0; w <= line.size() && w < 64; ++w)
            (void)ParseGroup(std::string_view(line).substr(0, w));
    }
    LayoutBoth(lines, SomeSettings(0.5, false, 1));
}

TEST(MarkupSanitized, RandomMarkup) {
    std::mt19937 rng(20040630);
    const std::string alphabet = "<>;.-0123456789XxYyLSTFCcJGHVvsA RLC \xe2\x80\xa2";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 200);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> lines(4);
        for (auto& line : lines) {
            int n = length(rng);
            for (int i = 0; i < n; ++i)
                line += alphabet[pick(rng)];
        }
        LayoutBoth(lines, SomeSettings(round % 3 ? 1.0 : 1.37, round % 2 == 0, 1 + round % 3));
    }
}

class ShellRecorder : public cgt::ShellService {
public:
    ShellRecorder() { cgt::SetShellService(this); }
    ~ShellRecorder() override { cgt::SetShellService(nullptr); }
    void Open(const QString& target) override { opened << target; }
    QStringList opened;
};

TEST(MarkupSanitized, PaintedLabelSurvivesMalformedText) {
    cgt::test::ScriptedDialogs dialogs;
    ShellRecorder shell;
    TTextLbl label;
    label.resize(300, 120);
    label.setCalculateHeight(true);
    label.OnScreenTag = [](TTextLbl*, int id, QString& tag) {
        if (id == 1) tag = "<V1><T1>again";
        if (id == 2) tag = QString(3000, QChar('<'));
    };
    label.OnCheckTag = [](TTextLbl*, int id, bool& pass) { pass = id != 1; };
    label.OnColorTag = [](TTextLbl*, int, QColor& c) { c = QColor(); }; // an invalid answer
    const TTextLbl::TTextLblKind kinds[] = {TTextLbl::tlkNone, TTextLbl::tlkAttention};
    for (auto kind : kinds) {
        label.setKind(kind);
        label.setMode(kind == TTextLbl::tlkNone ? TTextLbl::tlmStandard
                                                : TTextLbl::tlmVisionImpaired);
        for (const auto& line : MalformedLines()) {
            label.resize(300, 120); // a bottom position far off can shrink it to nothing
            label.setText({QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()))});
            QImage image(label.size(), QImage::Format_RGB32);
            label.render(&image);
            QMouseEvent move(QEvent::MouseMove, QPointF(12, 8), QPointF(12, 8), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&label, &move);
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(12, 8), QPointF(12, 8),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&label, &press);
            QApplication::processEvents();
            (void)label.plainText();
            for (int i = 0; i < label.JumpCount(); ++i)
                (void)label.Jump(i);
        }
    }
    EXPECT_GT(dialogs.beeps, 0);
    EXPECT_TRUE(shell.opened.contains("http://x")); // the click reached the link
}

} // namespace
