// The navigator's topics, the screen-to-topic lookup, and the tree as the user clicks it.

#include <functional>
#include <stdexcept>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include "interview/frame.h"
#include "interview/navigator_data.h"
#include "interview/navigator_frame.h"
#include "interview/trace_log.h"

// Readable failure messages for texts.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

// Topics with items below them, as other modules' navigators have.
class TTestNavigatorData : public TCustomNavigatorData {
public:
    TTestNavigatorData() : TCustomNavigatorData(TCreateToken{}) { Populate(); }

protected:
    void Populate() override {
        AddTopic(QStringLiteral("Introduction"), 2004);
        TNavigatorTopic* assets = AddTopic(QStringLiteral("Assets"), 2010);
        assets->AddItem(QStringLiteral("12"), QStringLiteral("Land"), 2012);
        assets->AddItem(QString(), QStringLiteral("Buildings"), 2015);
        TNavigatorTopic* rights = AddTopic(QStringLiteral("Rights"), 2020);
        rights->AddItem(QStringLiteral("3"), QStringLiteral("Options"), 2022);
    }
};

// Records every line; raises an error when a line contains failOn.
class TRecordingTracer : public TCustomTracer {
public:
    void Write(const QString& line) override {
        if (!failOn.isEmpty() && line.contains(failOn)) throw std::runtime_error("trace failed");
        lines.append(line);
    }
    QStringList lines;
    QString failOn;
};

QString MessageOf(const std::function<void()>& create) {
    try {
        create();
    } catch (const std::logic_error& e) {
        return QString::fromStdString(e.what());
    }
    return QStringLiteral("<no error>");
}

class NavigatorDataTest : public ::testing::Test {
protected:
    void TearDown() override { TNavigatorData::Release(); }
};

TEST_F(NavigatorDataTest, ListsTheFifteenTopicsInOrderWithTheirScreens) {
    const std::vector<std::pair<QString, int>> expected = {
        {"Introduction screen", 2004},
        {"Unapplied losses", 2005},
        {"Ceasing to be a resident", 2088},
        {"Shares", 2006},
        {"Trust information", 2018},
        {"CGT Trust distributions", 2019},
        {"CGT events affecting trusts", 2020},
        {"Real estate", 2031},
        {"Depreciating assets", 2042},
        {"Personal use or collectable assets", 2052},
        {"Other assets not mentioned", 2062},
        {"Creation of rights", 2072},
        {"Other receipts", 2096},
        {"Manual calculation table", 2101},
        {"Application of choices", 2102},
    };
    const TNavigatorData& data = TNavigatorData::Instance();
    ASSERT_EQ(data.TopicCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < data.TopicCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(data.Topic(i)->fCaption, expected[i].first);
        EXPECT_EQ(data.Topic(i)->fScreenId, expected[i].second);
        EXPECT_TRUE(data.Topic(i)->fQuestionNumber.isEmpty());
        EXPECT_TRUE(data.Topic(i)->fItems.empty());
    }
    EXPECT_EQ(TCustomNavigatorData::NavigatorColor(), QColor(235, 235, 235));
}

TEST_F(NavigatorDataTest, InstanceIsCreatedOnceAndReleaseForgetsIt) {
    TNavigatorData& first = TNavigatorData::Instance();
    EXPECT_EQ(&TNavigatorData::Instance(), &first);
    EXPECT_EQ(first.TopicCount(), 15); // populated once, not again on the second call
    first.SelectItem(first.Topic(7));
    TNavigatorData::Release();
    TNavigatorData& second = TNavigatorData::Instance();
    EXPECT_EQ(second.TopicCount(), 15);
    EXPECT_FALSE(second.Topic(7)->fSelected);
}

TEST_F(NavigatorDataTest, ParameterlessConstructorsRefuse) {
    const std::vector<std::pair<std::function<void()>, QString>> cases = {
        {[] { TSingleton s; }, "Access class TSingleton via Instance only"},
        {[] { TNavigatorData d; }, "Access class TNavigatorData via Instance only"},
        {[] { TNavigatorItem i; }, "Use paramaterised constructor for TNavigatorItem.Create only"},
        {[] { TNavigatorTopic t; },
         "Use paramaterised constructor for TNavigatorTopic.Create only"},
    };
    for (const auto& [create, message] : cases)
        EXPECT_EQ(MessageOf(create), message);
}

TEST_F(NavigatorDataTest, Descriptions) {
    TNavigatorItem item(QStringLiteral("7b"), 2045, QStringLiteral("Owner's share"));
    EXPECT_EQ(item.Description(), "fQuestionNumber: '7b'; fCaption: 'Owner''s share'; "
                                  "fScreenId: 2045; fEnabled: True; fSelected: False");

    TNavigatorTopic topic(QString(), 2031, QStringLiteral("Real estate"));
    topic.AddItem(QStringLiteral("1"), QStringLiteral("Land"), 2033);
    topic.AddItem(QString(), QStringLiteral("House"), 2035);
    topic.fSelected = true;
    topic.fEnabled = false;
    EXPECT_EQ(topic.Description(), "(fQuestionNumber: ''; fCaption: 'Real estate'; "
                                   "fScreenId: 2031; fEnabled: False; fSelected: True); "
                                   "fItems: (Count: 2)");
}

TEST_F(NavigatorDataTest, FindItemByScreenIdTakesTheTopicHoldingTheScreen) {
    const struct {
        int screen;
        const char* caption; // nullptr: none
    } cases[] = {
        {2090, "Ceasing to be a resident"},
        {2097, "Other receipts"},
        {2103, "Application of choices"},
        {2003, nullptr},
        {2040, "Real estate"},
        {2004, "Introduction screen"},
        {2017, "Shares"},
        {2088, "Ceasing to be a resident"},
        {2087, "Creation of rights"},
        {2098, "Other receipts"},
        {2100, nullptr}, // 2096 is the nearest below, but in section 20
        {2101, "Manual calculation table"},
        {2250, nullptr},
    };
    const TNavigatorData& data = TNavigatorData::Instance();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        const TNavigatorItem* found = data.FindItemByScreenID(c.screen);
        if (!c.caption) {
            EXPECT_EQ(found, nullptr);
            continue;
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->fCaption, c.caption);
    }
}

TEST_F(NavigatorDataTest, FindItemByScreenIdLooksAtItemsAndKeepsTheFirstOfEqualNumbers) {
    TTestNavigatorData data;
    EXPECT_EQ(data.FindItemByScreenID(2013)->fCaption, "Land");
    EXPECT_EQ(data.FindItemByScreenID(2019)->fCaption, "Buildings");
    EXPECT_EQ(data.FindItemByScreenID(2030)->fCaption, "Options");
    // A later topic with the same number as an earlier item does not replace it.
    data.AddTopic(QStringLiteral("Late"), 2012);
    EXPECT_EQ(data.FindItemByScreenID(2012)->fCaption, "Land");
}

TEST_F(NavigatorDataTest, SelectItemMarksTheItemAndItsTopicOnly) {
    TTestNavigatorData data;
    data.SelectItem(data.Topic(0));
    TNavigatorItem* buildings = data.Topic(1)->fItems[1].get();
    data.SelectItem(buildings);
    EXPECT_FALSE(data.Topic(0)->fSelected);
    EXPECT_TRUE(data.Topic(1)->fSelected);
    EXPECT_TRUE(buildings->fSelected);
    EXPECT_FALSE(data.Topic(1)->fItems[0]->fSelected);
    EXPECT_FALSE(data.Topic(2)->fSelected);
    data.SelectItem(data.Topic(2));
    EXPECT_FALSE(buildings->fSelected);
    EXPECT_FALSE(data.Topic(1)->fSelected);
    EXPECT_TRUE(data.Topic(2)->fSelected);
}

// The frame, shown and clicked.
class NavigatorFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Keep the cursor off the tree: a change of the current node looks at the mouse.
        QCursor::setPos(-500, -500);
        frame.resize(240, 420);
    }
    void TearDown() override {
        cgt::SetTracerForTesting(nullptr);
        TNavigatorData::Release();
    }

    void Show(TCustomNavigatorData* data) {
        frame.Initialise(data);
        frame.SetOnSelectItem([this](TNavigatorFrame* sender, TNavigatorItem* item) {
            EXPECT_EQ(sender, &frame);
            reported.push_back(item);
            if (onReport) onReport(item);
        });
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }

    TNavigatorTreeView* Tree() const { return frame.navigatorTreeView(); }

    QTreeWidgetItem* Node(const QString& text) const {
        const auto found = Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    // Clicks the middle of node's text, as the user does; presses far apart so that two
    // clicks never make a double click.
    void Click(QTreeWidgetItem* node, int x = -1) {
        const QRect rect = Tree()->visualItemRect(node);
        const QPoint pos(x < 0 ? rect.left() + 30 : x, rect.center().y());
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, pos,
                          QApplication::doubleClickInterval() + 50);
    }

    TNavigatorFrame frame;
    std::vector<TNavigatorItem*> reported;
    std::function<void(TNavigatorItem*)> onReport;
};

TEST_F(NavigatorFrameTest, BuildsTheTreeFromTheData) {
    TTestNavigatorData data;
    Show(&data);
    ASSERT_EQ(Tree()->topLevelItemCount(), 3);
    QTreeWidgetItem* assets = Tree()->topLevelItem(1);
    EXPECT_EQ(assets->text(0), "Assets");
    ASSERT_EQ(assets->childCount(), 2);
    EXPECT_EQ(assets->child(0)->text(0), "12 - Land");
    EXPECT_EQ(assets->child(1)->text(0), "Buildings");
    EXPECT_EQ(TNavigatorFrame::ItemOf(assets->child(0)), data.Topic(1)->fItems[0].get());
    EXPECT_EQ(frame.GetSelectedItem(), nullptr);
    EXPECT_TRUE(frame.active());
    EXPECT_EQ(frame.palette().color(QPalette::Window), QColor(235, 235, 235));
    EXPECT_EQ(Tree()->indentation(), 15);
}

TEST_F(NavigatorFrameTest, ClickingATopicReportsItOnce) {
    TNavigatorData& data = TNavigatorData::Instance();
    Show(&data);
    QTreeWidgetItem* realEstate = Node(QStringLiteral("Real estate"));
    Click(realEstate);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], data.Topic(7));
    EXPECT_EQ(frame.GetSelectedItem(), data.Topic(7));
    EXPECT_TRUE(data.Topic(7)->fSelected);
    EXPECT_TRUE(frame.IsHighlighted(realEstate));

    // Clicking it again jumps to its first screen again; another topic moves the highlight.
    Click(realEstate);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[1], data.Topic(7));
    Click(Node(QStringLiteral("Shares")));
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_EQ(reported[2], data.Topic(3));
    EXPECT_FALSE(frame.IsHighlighted(realEstate));
}

TEST_F(NavigatorFrameTest, ClickOnTheIndentIsNoSelection) {
    TNavigatorData& data = TNavigatorData::Instance();
    Show(&data);
    Click(Node(QStringLiteral("Real estate")), 3);
    EXPECT_TRUE(reported.empty());
    EXPECT_FALSE(data.Topic(7)->fSelected);
}

TEST_F(NavigatorFrameTest, InactiveFrameReportsNothing) {
    TNavigatorData& data = TNavigatorData::Instance();
    Show(&data);
    frame.setActive(false);
    Click(Node(QStringLiteral("Real estate")));
    Click(Node(QStringLiteral("Real estate")));
    EXPECT_TRUE(reported.empty());
    frame.setActive(true);
    Click(Node(QStringLiteral("Shares")));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], data.Topic(3));
}

TEST_F(NavigatorFrameTest, SelectItemByScreenIdHighlightsWithoutReporting) {
    TNavigatorData& data = TNavigatorData::Instance();
    Show(&data);
    EXPECT_TRUE(frame.SelectItemByScreenID(2040));
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(frame.GetSelectedItem(), data.Topic(7));
    EXPECT_TRUE(data.Topic(7)->fSelected);
    EXPECT_FALSE(data.Topic(4)->fSelected); // not "Trust information"
    EXPECT_TRUE(frame.IsHighlighted(Node(QStringLiteral("Real estate"))));

    // A screen no topic holds leaves the highlight where it is.
    EXPECT_FALSE(frame.SelectItemByScreenID(2003));
    EXPECT_TRUE(data.Topic(7)->fSelected);

    // The handler is back: the next click is reported.
    Click(Node(QStringLiteral("Other receipts")));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], data.Topic(12));
}

TEST_F(NavigatorFrameTest, SelectItemByScreenIdIgnoresTheNodeUnderTheMouse) {
    TNavigatorData& data = TNavigatorData::Instance();
    Show(&data);
    const QRect shares = Tree()->visualItemRect(Node(QStringLiteral("Shares")));
    QCursor::setPos(Tree()->viewport()->mapToGlobal(shares.center()));
    if (Tree()->MousePosition() != shares.center()) GTEST_SKIP() << "no cursor on this platform";
    // The change event takes the node under the mouse; the frame selects its own node again.
    EXPECT_TRUE(frame.SelectItemByScreenID(2031));
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(frame.GetSelectedItem(), data.Topic(7));
    EXPECT_TRUE(data.Topic(7)->fSelected);
    EXPECT_FALSE(data.Topic(3)->fSelected);
}

TEST_F(NavigatorFrameTest, SelectItemByScreenIdRestoresTheHandlerAfterAnError) {
    TNavigatorData& data = TNavigatorData::Instance();
    Show(&data);
    auto tracer = std::make_unique<TRecordingTracer>();
    tracer->failOn = QStringLiteral("SelectNodeByName");
    cgt::SetTracerForTesting(std::move(tracer));
    EXPECT_THROW(frame.SelectItemByScreenID(2031), std::runtime_error);
    cgt::SetTracerForTesting(nullptr);
    ASSERT_TRUE(frame.OnSelectItem());
    Click(Node(QStringLiteral("Shares")));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], data.Topic(3));
}

TEST_F(NavigatorFrameTest, ClickingATopicExpandsItAndCollapsesTheOthers) {
    TTestNavigatorData data;
    Show(&data);
    auto owned = std::make_unique<TRecordingTracer>();
    TRecordingTracer* tracer = owned.get();
    cgt::SetTracerForTesting(std::move(owned));
    QTreeWidgetItem* assets = Node(QStringLiteral("Assets"));
    QTreeWidgetItem* rights = Node(QStringLiteral("Rights"));
    Click(assets);
    EXPECT_TRUE(assets->isExpanded());
    EXPECT_TRUE(tracer->lines
                    .filter("ENTER |         >> TNavigatorFrame.navigatorTreeViewExpanded"
                            "(Node: Assets)")
                    .size() == 1);
    Click(rights);
    EXPECT_TRUE(rights->isExpanded());
    EXPECT_FALSE(assets->isExpanded());
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0], data.Topic(1));
    EXPECT_EQ(reported[1], data.Topic(2));

    // An item: reported, highlighted with its topic; the expanded topic itself is not.
    Click(Node(QStringLiteral("3 - Options")));
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_EQ(reported[2], data.Topic(2)->fItems[0].get());
    EXPECT_TRUE(data.Topic(2)->fSelected);
    EXPECT_TRUE(frame.IsHighlighted(Node(QStringLiteral("3 - Options"))));
    EXPECT_FALSE(frame.IsHighlighted(rights));
}

TEST_F(NavigatorFrameTest, CollapsingATopicDoesNotJump) {
    TTestNavigatorData data;
    Show(&data);
    QTreeWidgetItem* assets = Node(QStringLiteral("Assets"));
    Click(assets);
    Click(Node(QStringLiteral("Buildings")));
    ASSERT_EQ(reported.size(), 2u);

    // On the arrow: the topic closes, and with it the highlight moves to the topic row.
    Click(assets, 5);
    EXPECT_FALSE(assets->isExpanded());
    EXPECT_EQ(reported.size(), 2u);
    EXPECT_FALSE(frame.collapsing());
    EXPECT_TRUE(frame.IsHighlighted(assets));

    // By keyboard.
    assets->setExpanded(true);
    Tree()->setFocus();
    Tree()->setCurrentItem(assets);
    reported.clear();
    QTest::keyClick(Tree(), Qt::Key_Left);
    EXPECT_FALSE(assets->isExpanded());
    EXPECT_TRUE(reported.empty());
    EXPECT_FALSE(frame.collapsing());

    // Clicks after a collapse are reported again.
    Click(Node(QStringLiteral("Rights")));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], data.Topic(2));
}

TEST_F(NavigatorFrameTest, SelectNodeByNameIgnoresCase) {
    TTestNavigatorData data;
    Show(&data);
    frame.SelectNodeByName(QStringLiteral("bUILDINGS"), false, false);
    EXPECT_EQ(frame.GetSelectedItem(), data.Topic(1)->fItems[1].get());
    EXPECT_TRUE(Node(QStringLiteral("Assets"))->isExpanded());
    frame.SelectNodeByName(QStringLiteral("rights"), true, true);
    EXPECT_EQ(frame.GetSelectedItem(), data.Topic(2));
    EXPECT_TRUE(Node(QStringLiteral("Rights"))->isExpanded());
    EXPECT_FALSE(Node(QStringLiteral("Assets"))->isExpanded());
    frame.SelectNodeByName(QStringLiteral("No such topic"), true, true);
    EXPECT_EQ(frame.GetSelectedItem(), data.Topic(2));
    EXPECT_TRUE(reported.empty()); // the mouse is not on the tree
}

// Pixels of the drawn tree.
class NavigatorDrawingTest : public NavigatorFrameTest {
protected:
    QImage Picture() const { return Tree()->viewport()->grab().toImage(); }

    static int CountPixels(const QImage& image, const QRect& area, QRgb colour) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++count;
        return count;
    }
    static int LightPixels(const QImage& image, const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(image.pixel(x, y)) > 160) ++count;
        return count;
    }
    static int DarkPixels(const QImage& image, const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(image.pixel(x, y)) < 128) ++count;
        return count;
    }
};

TEST_F(NavigatorDrawingTest, HighlightedRowIsBlackWithWhiteText) {
    TNavigatorData& data = TNavigatorData::Instance();
    Show(&data);
    frame.SelectItemByScreenID(2031);
    const QImage image = Picture();
    const QRect row = Tree()->visualItemRect(Node(QStringLiteral("Real estate")));
    const QRect plain = Tree()->visualItemRect(Node(QStringLiteral("Shares")));
    const int width = Tree()->viewport()->width();

    // Whole width black, between white lines at top and bottom.
    EXPECT_EQ(image.pixel(1, row.center().y()) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(width - 2, row.center().y()) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(width / 2, row.top()) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(width / 2, row.bottom()) & 0xFFFFFF, 0xFFFFFFu);
    const QRect text(row.left() + 2, row.top() + 1, 60, row.height() - 2);
    EXPECT_GT(LightPixels(image, text), 20);

    // A plain row: the navigator colour with black text.
    EXPECT_EQ(image.pixel(width - 2, plain.center().y()) & 0xFFFFFF,
              qRgb(235, 235, 235) & 0xFFFFFF);
    const QRect plainText(plain.left() + 2, plain.top() + 1, 50, plain.height() - 2);
    EXPECT_GT(DarkPixels(image, plainText), 20);
    EXPECT_EQ(CountPixels(image, plainText, qRgb(0, 0, 0)) > 0, true);
    // Left of the caption there is no text.
    EXPECT_EQ(DarkPixels(image, QRect(0, plain.top() + 1, plain.left() + 1, plain.height() - 2)),
              0);
}

// Arrow keys move the keyboard's cursor: the row Enter would open is framed, the highlight
// stays on the screen's topic.
TEST_F(NavigatorDrawingTest, TheKeyboardCursorIsFramed) {
    TNavigatorData& data = TNavigatorData::Instance();
    Show(&data);
    frame.SelectItemByScreenID(2031);
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_Down);
    QCoreApplication::processEvents();
    QTreeWidgetItem* cursor = Tree()->currentItem();
    ASSERT_NE(cursor, Node(QStringLiteral("Real estate")));
    const QImage image = Picture();
    const QRect row = Tree()->visualItemRect(cursor);
    const int width = Tree()->viewport()->width();
    // The frame's left and right edges, on a row otherwise in the navigator colour.
    EXPECT_LT(qGray(image.pixel(1, row.center().y())), 64);
    EXPECT_LT(qGray(image.pixel(width - 2, row.center().y())), 64);
    EXPECT_EQ(image.pixel(width / 2, row.center().y()) & 0xFFFFFF, qRgb(235, 235, 235) & 0xFFFFFF);
    // The highlight has not moved.
    const QRect highlighted = Tree()->visualItemRect(Node(QStringLiteral("Real estate")));
    EXPECT_EQ(image.pixel(width - 2, highlighted.center().y()) & 0xFFFFFF, 0u);
}

TEST_F(NavigatorDrawingTest, ArrowsAndQuestionNumbers) {
    TTestNavigatorData data;
    Show(&data);
    QTreeWidgetItem* assets = Node(QStringLiteral("Assets"));
    auto arrowOrigin = [&](QTreeWidgetItem* node) {
        const QRect row = Tree()->visualItemRect(node);
        return QPoint((row.height() - 12) / 2 + row.left() - 20 + 2,
                      row.top() + (row.height() - 12) / 2);
    };
    // Collapsed: pointing right (its tip column starts at (4, 3)); black on the plain row.
    QImage image = Picture();
    QPoint o = arrowOrigin(assets);
    EXPECT_EQ(image.pixel(o + QPoint(4, 3)) & 0xFFFFFF, 0u);
    EXPECT_NE(image.pixel(o + QPoint(3, 4)) & 0xFFFFFF, 0u);
    // No arrow for a topic without items.
    const QPoint intro = arrowOrigin(Node(QStringLiteral("Introduction")));
    EXPECT_EQ(DarkPixels(image, QRect(intro, QSize(12, 12))), 0);

    // Selected and collapsed: a white arrow on black.
    frame.DoSelectItem(data.Topic(1));
    image = Picture();
    EXPECT_EQ(image.pixel(o + QPoint(4, 3)) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(o + QPoint(3, 4)) & 0xFFFFFF, 0u);

    // Expanded: pointing down.
    assets->setExpanded(true);
    image = Picture();
    o = arrowOrigin(assets);
    EXPECT_EQ(image.pixel(o + QPoint(3, 4)) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(o + QPoint(4, 3)) & 0xFFFFFF, 0u);

    // An item's question number ends where the caption begins, 22 pixels into the text.
    const QRect land = Tree()->visualItemRect(Node(QStringLiteral("12 - Land")));
    const int captionLeft = land.left() + 22;
    EXPECT_GT(DarkPixels(image, QRect(land.left() - 15, land.top() + 1,
                                      captionLeft - land.left() + 15, land.height() - 2)),
              10);
    EXPECT_GT(DarkPixels(image, QRect(captionLeft, land.top() + 1, 40, land.height() - 2)), 10);
    // Without a number, the caption starts 2 pixels in and nothing stands left of it.
    const QRect buildings = Tree()->visualItemRect(Node(QStringLiteral("Buildings")));
    EXPECT_EQ(DarkPixels(image, QRect(0, buildings.top() + 1, buildings.left() + 1,
                                      buildings.height() - 2)),
              0);
    EXPECT_GT(DarkPixels(image, QRect(buildings.left() + 2, buildings.top() + 1, 20,
                                      buildings.height() - 2)),
              10);
}

// In the interview frame at the size the main window gives it, every topic's caption is drawn
// whole: the lines its words need fit the space its row gives it, and every row lies inside the
// tree without scrolling.
TEST(NavigatorInFrameTest, EveryCaptionFitsThePanel) {
    TFrameWnd window;
    window.resize(800, 560);
    window.show();
    TNavigatorFrame* navigator = window.Navigator();
    navigator->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    TNavigatorTreeView* tree = navigator->navigatorTreeView();
    const QFontMetrics metrics(tree->font());
    ASSERT_EQ(tree->topLevelItemCount(), 15);
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* node = tree->topLevelItem(i);
        SCOPED_TRACE(node->text(0).toStdString());
        const QRect caption = navigator->CaptionRect(node, tree->visualItemRect(node));
        const QRect needed =
            metrics.boundingRect(QRect(caption.left(), caption.top(), caption.width(), 1000),
                                 TNavigatorFrame::CaptionFlags(), node->text(0));
        EXPECT_LE(needed.width(), caption.width());
        EXPECT_LE(needed.height(), caption.height());
        EXPECT_GE(caption.top(), 0);
        EXPECT_LT(caption.bottom(), tree->viewport()->height());
    }
}

// The operations trace their calls, nested, with the texts the log readers look for.
TEST_F(NavigatorFrameTest, ClickIsTracedNestedWithTheJumpInside) {
    TNavigatorData& data = TNavigatorData::Instance();
    Show(&data);
    auto owned = std::make_unique<TRecordingTracer>();
    TRecordingTracer* tracer = owned.get();
    cgt::SetTracerForTesting(std::move(owned));
    // The interview frame shows the topic's screen, then synchronises the navigator.
    onReport = [this](TNavigatorItem* item) { frame.SelectItemByScreenID(item->fScreenId); };
    Click(Node(QStringLiteral("Real estate")));
    ASSERT_EQ(reported.size(), 1u);

    QStringList texts;
    for (const QString& line : tracer->lines)
        texts.append(line.mid(QStringLiteral("yyyy-mm-dd hh:nn:ss.zzz | ").size()));
    const QString description = QStringLiteral("(fQuestionNumber: ''; fCaption: 'Real estate'; "
                                               "fScreenId: 2031; fEnabled: True; "
                                               "fSelected: False); fItems: (Count: 0)");
    const QStringList expected = {
        "ENTER |   >> TNavigatorFrame.navigatorTreeViewChange(Node: Real estate)",
        "ENTER |     >> TNavigatorFrame.navigatorTreeViewClick",
        "ENTER |       >> TNavigatorFrame.SelectNodeByName(aNodeName: Real estate; aExpand: -1; "
        "aCollapseOthers: -1)",
        " EXIT |       << TNavigatorFrame.SelectNodeByName(aNodeName: Real estate; aExpand: -1; "
        "aCollapseOthers: -1)",
        "ENTER |       >> TNavigatorFrame.DoSelectItem(aItem: " + description + ")",
        "ENTER |         >> TNavigatorFrame.SelectItemByScreenID(aScreenId: 2031)",
        " INFO |         Current selected screen id is2031",
        " EXIT |         << TNavigatorFrame.SelectItemByScreenID(aScreenId: 2031)",
        " EXIT |       << TNavigatorFrame.DoSelectItem(aItem: " + description + ")",
        " EXIT |     << TNavigatorFrame.navigatorTreeViewClick",
        " EXIT |   << TNavigatorFrame.navigatorTreeViewChange(Node: Real estate)",
    };
    EXPECT_EQ(texts.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
    EXPECT_TRUE(tracer->Stack().isEmpty());
}

} // namespace
