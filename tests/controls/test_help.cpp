// The help file format and the help window service.

#include <QApplication>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <vector>

#include <gtest/gtest.h>

#include "controls/core/help_file.h"
#include "controls/help_service.h"
#include "controls/help_window.h"

namespace {

TEST(HelpFileTest, TopicsParagraphsAndMalformedHeadings) {
    const auto contents = cgt::HelpFileContents::Parse("# comment before the first topic\n"
                                                       "@30 Calculating the gain\r\n"
                                                       "First line\n"
                                                       "continues here.\n"
                                                       "\n"
                                                       "Second paragraph.\n"
                                                       "@x No number\n"
                                                       "dropped text\n"
                                                       "@31\n"
                                                       "@30 A repeated context\n"
                                                       "@7   Real estate  \n"
                                                       "Text.");
    ASSERT_EQ(contents.topics().size(), 2u);
    const cgt::HelpTopic* topic = contents.find(30);
    ASSERT_NE(topic, nullptr);
    EXPECT_EQ(topic->title, "Calculating the gain");
    EXPECT_EQ(topic->text, "First line continues here.\n\nSecond paragraph.");
    ASSERT_NE(contents.find(7), nullptr);
    EXPECT_EQ(contents.find(7)->title, "Real estate");
    EXPECT_EQ(contents.find(31), nullptr);
    EXPECT_TRUE(cgt::HelpFileContents::Parse("").topics().empty());
}

class HelpServiceTest : public ::testing::Test {
protected:
    void TearDown() override {
        cgt::Help().SetHelpFile(cgt::kModuleHelpFile);
        cgt::CloseHelpWindow();
    }
    static THelpWindow* window() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* help = qobject_cast<THelpWindow*>(w)) return help;
        return nullptr;
    }
};

TEST_F(HelpServiceTest, ShowsTheTopicOfAContextInTheModuleHelpFile) {
    EXPECT_EQ(cgt::Help().HelpFile(), cgt::kModuleHelpFile);
    cgt::Help().ShowContext(30);
    THelpWindow* help = window();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->shownTitle(), "Calculating the capital gain or loss");
    EXPECT_TRUE(help->shownText().contains("indexation method"));

    cgt::Help().ShowContext(99999);
    EXPECT_EQ(help->shownTitle(), "");
    EXPECT_TRUE(help->shownText().contains("No help is available for this item (topic 99999)."));
}

TEST_F(HelpServiceTest, ContentsCanBeBrowsedAndFollowTheHelpFile) {
    cgt::Help().SetHelpFile(cgt::kHostHelpFile);
    cgt::Help().ShowContents();
    THelpWindow* help = window();
    ASSERT_NE(help, nullptr);
    auto* list = help->findChild<QListWidget*>("contentsList");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 3);
    list->setCurrentRow(1);
    EXPECT_EQ(help->shownTitle(), "Saving your return");

    cgt::Help().SetHelpFile(cgt::kModuleHelpFile);
    cgt::Help().ShowContents();
    EXPECT_GT(list->count(), 20);
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
}

TEST_F(HelpServiceTest, TitledWithTheTopicNotTheHelpFile) {
    cgt::Help().ShowContext(30);
    THelpWindow* help = window();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), "Calculating the capital gain or loss - Help");
    EXPECT_FALSE(help->windowTitle().contains(".HLP", Qt::CaseInsensitive));

    auto* list = help->findChild<QListWidget*>("contentsList");
    list->setCurrentRow(0);
    EXPECT_EQ(help->windowTitle(), list->item(0)->text() + " - Help");
    cgt::Help().ShowContext(99999);
    EXPECT_EQ(help->windowTitle(), "Help");
}

TEST_F(HelpServiceTest, TopicListWrapsItsTitlesInsteadOfScrollingSideways) {
    cgt::Help().ShowContents();
    THelpWindow* help = window();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    auto* list = help->findChild<QListWidget*>("contentsList");
    QApplication::processEvents();
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    const int viewWidth = list->viewport()->width();
    const int lineHeight = list->fontMetrics().lineSpacing();
    int wrapped = 0;
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem* item = list->item(row);
        const QRect at = list->visualItemRect(item);
        EXPECT_LE(at.right(), viewWidth) << item->text().toStdString();
        // A title wider than the list takes more lines instead of being cut.
        if (list->fontMetrics().horizontalAdvance(item->text()) > viewWidth) {
            EXPECT_GE(at.height(), 2 * lineHeight) << item->text().toStdString();
            ++wrapped;
        }
    }
    EXPECT_GT(wrapped, 0); // the module's long titles do not fit on one line
}

// A main window with the interview's buttons at its bottom right.
class MainWindowStandIn : public QWidget {
public:
    MainWindowStandIn(QRect frame) {
        setGeometry(frame);
        int x = frame.width() - 3 * 90;
        for (const char* text : {"&Prev", "&Next", "&Close"}) {
            auto* button = new QPushButton(QString::fromLatin1(text), this);
            button->setGeometry(x, frame.height() - 36, 80, 28);
            buttons.push_back(button);
            x += 90;
        }
        show();
        activateWindow();
    }
    std::vector<QPushButton*> buttons;
};

TEST_F(HelpServiceTest, OpensBesideTheMainWindowNeverOverItsButtons) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* where;
        QRect mainWindow;
    } cases[] = {
        {"room on the right", QRect(screen.left(), screen.top(), screen.width() / 2, 400)},
        {"room on the left",
         QRect(screen.left() + screen.width() / 2, screen.top(), screen.width() / 2, 400)},
        {"the whole screen", screen},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        cgt::CloseHelpWindow();
        MainWindowStandIn main(c.mainWindow);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        cgt::Help().ShowContext(30);
        THelpWindow* help = window();
        ASSERT_NE(help, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
        const QRect frame = help->frameGeometry();
        EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y();
        for (QPushButton* button : main.buttons) {
            const QRect at(button->mapToGlobal(QPoint(0, 0)), button->size());
            EXPECT_FALSE(frame.intersects(at)) << button->text().toStdString();
        }
        if (c.mainWindow != screen) {
            EXPECT_FALSE(frame.intersects(main.frameGeometry()));
            EXPECT_GE(frame.width(), 360);
        }
        // Asked again while it is open, it stays where it is.
        help->move(help->pos() + QPoint(0, 10));
        const QPoint moved = help->pos();
        cgt::Help().ShowContext(7);
        EXPECT_EQ(help->pos(), moved);
    }
}

TEST(HelpWindowPlacement, BesideElseAboveTheButtonBarElseLeftOfIt) {
    const QRect screen(0, 0, 1000, 700);
    const QSize size(640, 420);
    // Right of a window on the left half.
    EXPECT_EQ(THelpWindow::Placement(QRect(0, 50, 500, 500), {}, screen, size),
              QRect(500, 50, 500, 420));
    // Left of a window on the right.
    EXPECT_EQ(THelpWindow::Placement(QRect(600, 0, 400, 500), {}, screen, size),
              QRect(0, 0, 600, 420));
    // A full-screen window: above its buttons.
    const QRect bar(700, 650, 290, 30);
    const QRect above = THelpWindow::Placement(screen, bar, screen, size);
    EXPECT_FALSE(above.intersects(bar));
    EXPECT_LE(above.bottom() + 32, bar.top());
    // Buttons too high for that: left of them.
    const QRect highBar(700, 200, 290, 30);
    const QRect left = THelpWindow::Placement(screen, highBar, screen, size);
    EXPECT_FALSE(left.intersects(highBar));
    EXPECT_LE(left.right(), highBar.left());
}

} // namespace
