// The help file format and the help window service.

#include <QApplication>
#include <QListWidget>
#include <QTest>

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

} // namespace
