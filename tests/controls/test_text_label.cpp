// TTextLbl under the offscreen platform: positions against the metrics of the label's fonts,
// hover and clicks with the mouse, the owner's callables, kinds, bevels, heights and modes.

#include <cmath>
#include <memory>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/font_map.h"
#include "controls/shell_service.h"
#include "controls/text_label.h"
#include "tests/support/scripted_dialogs.h"
#include "ui_text_label_form.h"

namespace {

using cgt::markup::fsBold;
using cgt::markup::fsUnderline;

class ShellRecorder : public cgt::ShellService {
public:
    ShellRecorder() { cgt::SetShellService(this); }
    ~ShellRecorder() override { cgt::SetShellService(nullptr); }
    void Open(const QString& target) override { opened << target; }
    QStringList opened;
};

std::unique_ptr<TTextLbl> MakeLabel(const QStringList& text, QSize size = {400, 200}) {
    auto label = std::make_unique<TTextLbl>();
    label->resize(size);
    label->setText(text);
    return label;
}

QImage Render(TTextLbl& label) {
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    label.render(&image);
    return image;
}

int CountDark(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100) ++n;
    return n;
}

int CountPixels(const QImage& image, const QRect& area, const QColor& colour) {
    int n = 0;
    QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixelColor(x, y) == colour) ++n;
    return n;
}

QFont Styled(const QFont& base, bool bold) {
    QFont f = base;
    f.setBold(bold);
    return f;
}

int Advance(int lineHeight, int tenths) {
    return static_cast<int>(std::nearbyint(static_cast<double>(lineHeight) * tenths / 10.0));
}

void ShowAndWait(QWidget& w) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
}

TEST(TextLabel, DefaultFontIsTheArialTwin) {
    TTextLbl label;
    EXPECT_EQ(QFontInfo(label.font()).family(), "Liberation Sans");
    EXPECT_EQ(label.font().pointSize(), 10);
    EXPECT_EQ(QFontInfo(cgt::MakeFont("Courier New", 9)).family(), "Liberation Mono");
    EXPECT_EQ(QFontInfo(cgt::MakeFont("Times New Roman", 9)).family(), "Liberation Serif");
    EXPECT_EQ(cgt::MapFontFamily("Arial Narrow"), "Liberation Sans Narrow");
}

TEST(TextLabel, RunsFollowTheMetricsOfTheLabelFont) {
    auto label =
        MakeLabel({"What was <T1>your<.> answer?", "<X10>\u2022<X20>bullet text", "after bullet"});
    QFontMetrics fm(label->font());
    QFontMetrics bold(Styled(label->font(), true));
    const int h = fm.height();
    const auto& runs = label->LastLayout().runs;
    ASSERT_EQ(runs.size(), 6u);
    EXPECT_EQ(runs[0].x, 0);
    EXPECT_EQ(runs[0].y, 0);
    EXPECT_EQ(runs[0].width, fm.horizontalAdvance("What was "));
    EXPECT_EQ(runs[0].height, h);
    EXPECT_EQ(runs[1].x, fm.horizontalAdvance("What was "));
    EXPECT_EQ(runs[1].font.style, fsBold);
    EXPECT_EQ(runs[2].x, runs[1].x + bold.horizontalAdvance("your"));
    EXPECT_EQ(runs[2].font.style, 0);
    EXPECT_EQ(runs[3].x, 10); // the bullet
    EXPECT_EQ(runs[3].y, h);
    EXPECT_EQ(runs[4].x, 20); // hanging indent
    EXPECT_EQ(runs[5].x, 20);
    EXPECT_EQ(runs[5].y, 2 * h);

    EXPECT_EQ(label->plainTextLines(),
              (QStringList{"What was your answer?", QString::fromUtf8("\u2022 bullet text"),
                           " after bullet"}));
    EXPECT_EQ(label->plainText(),
              QString::fromUtf8("What was your answer? \u2022 bullet text  after bullet"));
}

TEST(TextLabel, LineAdvanceAndBottomPositionUseTheLineHeight) {
    auto label = MakeLabel({"one<L14>", "two", "three", "<Y-25>low"});
    const int h = QFontMetrics(label->font()).height();
    const auto& runs = label->LastLayout().runs;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[1].y, Advance(h, 14));
    EXPECT_EQ(runs[2].y, 2 * Advance(h, 14));
    EXPECT_EQ(runs[3].y, 200 - 25 - Advance(h, 14));

    label->setLineSpacing(15);
    label->setText({"a", "b"});
    EXPECT_EQ(label->LastLayout().runs[1].y, Advance(h, 15));
}

TEST(TextLabel, SectionsShowOneAlternativeText) {
    auto label = MakeLabel({"<s1>First question", "<s2>Second question"});
    label->setCurrentSection(2);
    ASSERT_EQ(label->LastLayout().runs.size(), 1u);
    EXPECT_EQ(label->LastLayout().runs[0].y, 0);
    EXPECT_EQ(label->plainTextLines(), (QStringList{"", " Second question"}));
    EXPECT_EQ(label->Section(), 2);

    label->setCurrentSection(1);
    ASSERT_EQ(label->LastLayout().runs.size(), 1u);
    EXPECT_EQ(label->plainText().trimmed(), "First question");
}

TEST(TextLabel, ValuesComeFromTheOwnerAndAreReadAsMarkup) {
    auto label = MakeLabel(
        {"The asset <V710> was sold in <V99998>-<V99999>.", "<C12;T4;JDynamicHelpLink>help<.>"});
    label->OnScreenTag = [](TTextLbl*, int id, QString& tag) {
        if (id == 710) tag = "<T1>BHP shares<.>";
        if (id == 99998) tag = "2003";
        if (id == 99999) tag = "2004";
    };
    label->setText(label->Text());
    const auto& runs = label->LastLayout().runs;
    ASSERT_GE(runs.size(), 2u);
    EXPECT_EQ(runs[1].text, "BHP shares");
    EXPECT_EQ(runs[1].font.style, fsBold);
    EXPECT_EQ(label->plainTextLines()[0], "The asset BHP shares was sold in 2003- 2004.");
    EXPECT_EQ(label->JumpCount(), 0); // the unreplaced placeholder is jump 0
}

TEST(TextLabel, LineChecksAndOwnerColours) {
    auto label = MakeLabel({"shown<v1> tail", "gone<v2> tail", "<c5>green<c0>plain"});
    label->OnCheckTag = [](TTextLbl*, int id, bool& pass) { pass = id == 1; };
    label->OnColorTag = [](TTextLbl*, int, QColor& colour) { colour = QColor(0, 128, 0); };
    label->setText(label->Text());
    const int h = QFontMetrics(label->font()).height();
    const auto& runs = label->LastLayout().runs;
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[2].text, "gone");
    EXPECT_EQ(runs[3].y, h); // the hidden line took no height
    EXPECT_EQ(runs[3].font.color, cgt::Colour::FromRgb(0, 128, 0));
    QColor text = label->palette().color(QPalette::WindowText);
    EXPECT_EQ(runs[4].font.color, cgt::Colour::FromRgb(text.red(), text.green(), text.blue()));
}

TEST(TextLabel, UnterminatedTagDrawsTheRestOfTheLine) {
    auto label = MakeLabel({"Amount <T1 in dollars"});
    ASSERT_EQ(label->LastLayout().runs.size(), 1u);
    EXPECT_EQ(label->plainText(), "Amount <T1 in dollars");
    EXPECT_EQ(label->LastLayout().runs[0].width,
              QFontMetrics(label->font()).horizontalAdvance("Amount <T1 in dollars"));
}

TEST(TextLabel, BadNumberBeepsAndTheRestStillApplies) {
    cgt::test::ScriptedDialogs dialogs;
    auto label = MakeLabel({"<Xab;T1>bold"});
    Render(*label);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(label->LastLayout().runs[0].font.style, fsBold);
}

TEST(TextLabel, HoverUnderlinesTheJumpShowsTheHandAndAClickReportsIt) {
    auto label = MakeLabel({"See <C12;T4;J196>date of acquisition<.> for help."}, {400, 60});
    label->setFont(cgt::MakeFont("Arial", 20)); // stems wide enough for pure blue pixels
    ShowAndWait(*label);
    ASSERT_EQ(label->JumpCount(), 1);
    TJump jump = label->Jump(0);
    EXPECT_EQ(jump.JumpID, 196);
    EXPECT_EQ(jump.Text, "date of acquisition");
    QFontMetrics fm(label->font());
    EXPECT_EQ(jump.Rect, QRect(fm.horizontalAdvance("See "), 0,
                               fm.horizontalAdvance("date of acquisition"), fm.height()));

    const QColor blue(0, 0, 255);
    int bluePlain = CountPixels(Render(*label), jump.Rect, blue);
    EXPECT_GT(bluePlain, 0);

    QTest::mouseMove(label.get(), jump.Rect.center());
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(label->LastLayout().runs[1].hot);
    EXPECT_GT(CountPixels(Render(*label), jump.Rect, blue), bluePlain); // the underline

    QSignalSpy spy(label.get(), &TTextLbl::OnJumpClick);
    QTest::mouseClick(label.get(), Qt::LeftButton, {}, jump.Rect.center());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].value<TTextLbl*>(), label.get());
    EXPECT_EQ(spy[0][1].toInt(), 196);
    EXPECT_EQ(spy[0][2].toString(), QString());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(label.get(), &leave);
    Render(*label);
    EXPECT_FALSE(label->LastLayout().runs[1].hot);

    QPoint away(jump.Rect.left() / 2, 40);
    QTest::mouseMove(label.get(), away);
    EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(label.get(), Qt::LeftButton, {}, away);
    EXPECT_EQ(spy.count(), 1);
}

TEST(TextLabel, ScreenLinksAndHyperlinksAreClicked) {
    ShellRecorder shell;
    auto label = MakeLabel({"Go to <G2050>the asset screen<.> or the",
                            "<C12;Hhttp://www.example.org/>Tax Office<.> site"},
                           {400, 60});
    ShowAndWait(*label);
    QSignalSpy screens(label.get(), &TTextLbl::OnScreenClick);
    QSignalSpy jumps(label.get(), &TTextLbl::OnJumpClick);

    ASSERT_EQ(label->ScreenLinkCount(), 1);
    QTest::mouseClick(label.get(), Qt::LeftButton, {}, label->ScreenLink(0).Rect.center());
    ASSERT_EQ(screens.count(), 1);
    EXPECT_EQ(screens[0][1].toInt(), 2050);

    ASSERT_EQ(label->LinkCount(), 1);
    THLink link = label->Link(0);
    EXPECT_EQ(link.Number, 1);
    EXPECT_EQ(link.Text, "Tax Office");
    EXPECT_EQ(link.Rect.top(), QFontMetrics(label->font()).height());
    QTest::mouseMove(label.get(), link.Rect.center());
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(label.get(), Qt::LeftButton, {}, link.Rect.center());
    EXPECT_EQ(shell.opened, QStringList{"http://www.example.org/"});
    EXPECT_EQ(jumps.count(), 0);
    EXPECT_EQ(screens.count(), 1);
}

TEST(TextLabel, CalculateHeightFitsTheText) {
    auto label = MakeLabel({"one", "two", "three"}, {300, 10});
    const int h = QFontMetrics(label->font()).height();
    label->setCalculateHeight(true);
    label->setBottomMargin(4);
    label->plainText(); // lays out outside painting: the bounds change at once
    EXPECT_EQ(label->height(), 4 + 3 * h);

    label->setText({"one"});
    Render(*label); // inside painting the change waits for the event loop
    QApplication::processEvents();
    EXPECT_EQ(label->height(), 4 + h);
}

TEST(TextLabel, ParentBottomMarginMovesTheLabelAboveTheParentsBottom) {
    QWidget parent;
    parent.resize(500, 400);
    auto* label = new TTextLbl(&parent);
    label->setGeometry(10, 10, 300, 50);
    label->setText({"Bottom note"});
    label->setParentBottomMargin(10);
    label->plainText();
    int reference = label->screen()->geometry().height() <= 600 ? 400 : 482;
    EXPECT_EQ(label->y(), reference - 50 - 10);
}

struct KindCase {
    TTextLbl::TTextLblKind kind;
    bool frame;
};

TEST(TextLabel, KindsDrawTheirIconAndAttentionItsFrame) {
    const KindCase cases[] = {{TTextLbl::tlkAttention, true},
                              {TTextLbl::tlkDirection, false},
                              {TTextLbl::tlkDanger, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        auto label = MakeLabel({"Check the dates."}, {300, 20});
        label->setKind(c.kind);
        EXPECT_EQ(label->Color(), QColor(Qt::white));
        const QImage& icon = TTextLbl::KindIcon(c.kind);
        ASSERT_FALSE(icon.isNull());
        label->plainText();
        // Attention grows to the icon; the others keep their height.
        EXPECT_EQ(label->height(), c.frame ? icon.height() : 20);
        QImage image = Render(*label);
        int runX = label->LastLayout().runs[0].x;
        EXPECT_EQ(runX, c.frame ? icon.width() + 12 : icon.width() + 4);
        // The icon at (0, 0): its opaque pixels show as they are.
        int checked = 0;
        int differing = 0;
        for (int y = 0; y < std::min(icon.height(), label->height()); ++y)
            for (int x = 0; x < icon.width(); ++x) {
                QColor want = icon.pixelColor(x, y);
                if (want.alpha() != 255) continue;
                ++checked;
                if (image.pixelColor(x, y).rgb() != want.rgb()) ++differing;
            }
        EXPECT_GT(checked, 100);
        EXPECT_EQ(differing, 0);
        QColor frame = TTextLbl::KindColor(TTextLbl::tlkAttention);
        int left = icon.width() + 4;
        EXPECT_EQ(image.pixelColor(200, 0) == frame, c.frame);
        EXPECT_EQ(image.pixelColor(left, label->height() / 2) == frame, c.frame);
        EXPECT_EQ(image.pixelColor(label->width() - 1, label->height() - 1) == frame, c.frame);
        EXPECT_EQ(image.pixelColor(200, label->height() - 2), QColor(Qt::white));
    }
}

TEST(TextLabel, BevelsAreDrawnAndOffsetTheText) {
    auto label = MakeLabel({"text"}, {200, 50});
    label->setBevelWidth(2);
    label->setBevelOuter(TTextLbl::bvLowered);
    QRgb shadow = label->palette().color(QPalette::Dark).rgb();
    QRgb light = label->palette().color(QPalette::Light).rgb();
    ASSERT_NE(shadow, light);
    QImage image = Render(*label);
    EXPECT_EQ(image.pixel(0, 0), shadow);
    EXPECT_EQ(image.pixel(1, 20), shadow);
    EXPECT_EQ(image.pixel(199, 49), light);
    EXPECT_EQ(image.pixel(100, 48), light);
    EXPECT_EQ(label->LastLayout().runs[0].x, 2);

    label->setBevelOuter(TTextLbl::bvRaised);
    label->setBevelInner(TTextLbl::bvLowered);
    image = Render(*label);
    EXPECT_EQ(image.pixel(0, 0), light);
    EXPECT_EQ(image.pixel(2, 2), shadow); // the inner bevel inside the outer
    EXPECT_EQ(label->LastLayout().runs[0].x, 4);
    EXPECT_EQ(label->LastLayout().runs[0].y, 4);
}

TEST(TextLabel, VisionImpairedModeIsPlainAndFocusable) {
    auto label = MakeLabel({"<C10;T1;S24;FCourier New>Red bold text"}, {300, 40});
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(CountPixels(Render(*label), label->rect(), QColor(255, 0, 0)) > 0, true);

    label->setMode(TTextLbl::tlmVisionImpaired);
    EXPECT_EQ(label->focusPolicy(), Qt::StrongFocus);
    QImage image = Render(*label);
    EXPECT_EQ(CountPixels(image, label->rect(), QColor(255, 0, 0)), 0);
    const auto& run = label->LastLayout().runs[0];
    EXPECT_EQ(run.x, 2);
    EXPECT_EQ(run.font.style, 0);
    EXPECT_EQ(run.font.name, label->font().family().toStdString());
    QFont plain = label->font();
    plain.setPointSize(24); // sizes still apply
    EXPECT_EQ(run.width, QFontMetrics(plain).horizontalAdvance("Red bold text"));

    // A focus rectangle while the label has the focus.
    QColor text = label->palette().color(QPalette::WindowText);
    QWidget window;
    window.resize(320, 100);
    label->setParent(&window);
    label->show();
    auto* other = new QWidget(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    other->setGeometry(0, 60, 10, 10);
    ShowAndWait(window);
    window.activateWindow();
    label->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(label->hasFocus());
    EXPECT_GT(CountPixels(Render(*label), QRect(0, 0, 300, 1), text), 10);
    other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(CountPixels(Render(*label), QRect(0, 0, 300, 1), text), 0);
    label->setParent(nullptr);

    label->setMode(TTextLbl::tlmStandard);
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    label->setTabStop(true);
    EXPECT_EQ(label->focusPolicy(), Qt::StrongFocus);
}

TEST(TextLabel, EmptyTextShowsTheComponentName) {
    auto label = MakeLabel({}, {200, 40});
    label->setObjectName("TextLbl1");
    EXPECT_GT(CountDark(Render(*label)), 20);
    label->setObjectName("");
    EXPECT_EQ(CountDark(Render(*label)), 0);
    EXPECT_TRUE(label->plainText().isEmpty());
    EXPECT_TRUE(label->LastLayout().emptyText);
}

TEST(TextLabel, ScalingMovesPositionsAndSizes) {
    auto label = MakeLabel({"<X10;Y10>a<S12>b<.>c"}, {200, 100});
    label->ChangeScale(3, 2);
    EXPECT_DOUBLE_EQ(label->PositionScale(), 1.5);
    EXPECT_DOUBLE_EQ(label->SizeScale(), 1.5);
    EXPECT_EQ(label->size(), QSize(300, 150));
    EXPECT_EQ(label->font().pointSize(), 15);
    const auto& runs = label->LastLayout().runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].x, 15);
    EXPECT_EQ(runs[0].y, 15);
    EXPECT_EQ(runs[1].font.size, 18);
    EXPECT_EQ(runs[2].font.size, 15); // the load-time size, scaled

    label->ChangeScale(4, 3);
    EXPECT_DOUBLE_EQ(label->SizeScale(), 1.33);
}

TEST(TextLabel, FormSetsThePublishedProperties) {
    QWidget form;
    Ui::TextLabelForm ui;
    ui.setupUi(&form);
    ShowAndWait(form);

    QApplication::processEvents();
    TTextLbl* q = ui.questionLabel;
    EXPECT_EQ(q->CurrentSection(), 2);
    EXPECT_EQ(q->LineSpacing(), 12);
    EXPECT_EQ(q->BevelOuter(), TTextLbl::bvLowered);
    EXPECT_EQ(q->BevelWidth(), 2);
    EXPECT_EQ(QFontInfo(q->font()).family(), "Liberation Serif");
    EXPECT_EQ(q->plainText().trimmed(), "Did you sell any real estate ?");
    ASSERT_EQ(q->JumpCount(), 1);
    EXPECT_EQ(q->Jump(0).JumpID, 196);
    EXPECT_EQ(q->Jump(0).Rect.left(),
              2 + QFontMetrics(q->font()).horizontalAdvance("Did you sell any "));
    // CalculateHeight: the bevel offset, one line at 1.2 line heights, the bottom margin.
    EXPECT_EQ(q->height(), 5 + 2 + Advance(QFontMetrics(q->font()).height(), 12));

    TTextLbl* a = ui.attentionLabel;
    EXPECT_EQ(a->Kind(), TTextLbl::tlkAttention);
    EXPECT_EQ(a->Color(), QColor(Qt::white));
    EXPECT_EQ(a->mode(), TTextLbl::tlmVisionImpaired);
    EXPECT_EQ(a->focusPolicy(), Qt::StrongFocus);
    QApplication::processEvents();
    int reference = a->screen()->geometry().height() <= 600 ? 300 : 482;
    EXPECT_EQ(a->geometry().bottom() + 1, reference - 10);
}

} // namespace
