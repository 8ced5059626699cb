// The hyperlinks list: every jump and link of a screen's mark-up labels, depth-first in child
// order, blank texts left out, and the choice returned as the label's click would report it.

#include <gtest/gtest.h>

#include <ostream>

#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "controls/text_label.h"
#include "dialogs/hyperlinks_form.h"
#include "modal_helper.h"

namespace {

using namespace cgt;

TTextLbl* AddLabel(QWidget* parent, const QStringList& text) {
    auto* label = new TTextLbl(parent);
    label->resize(500, 80);
    label->setText(text);
    return label;
}

// A screen with labels before, inside and after a nested container, and one label with nothing
// but a blank jump and no links.
std::unique_ptr<QWidget> MakeScreen() {
    auto screen = std::make_unique<QWidget>();
    screen->resize(600, 400);
    AddLabel(screen.get(), {"Read about the <J196>jump text<.> first.",
                            "Then visit <Hhttp://example.com/>link<.>."});
    auto* outer = new QFrame(screen.get());
    auto* inner = new QFrame(outer);
    AddLabel(inner, {"<Hhttp://two.example/>second link<.> before <J200>second jump<.>"});
    AddLabel(screen.get(), {"Plain text with a <J7> <.> blank jump."});
    AddLabel(screen.get(), {"<J31>last jump<.>"});
    return screen;
}

QStringList Lines(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

void ClickRow(QListWidget& list, int row) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(row)).center());
}

TEST(HyperlinksList, ListsJumpsThenLinksOfEachLabelDepthFirst) {
    auto screen = MakeScreen();
    THyperlinksForm form;
    form.LoadLinks(screen.get());
    auto* list = form.findChild<QListWidget*>("hyperlinksListBox");
    EXPECT_EQ(Lines(*list),
              (QStringList{"jump text", "link", "second jump", "second link", "last jump"}));
    ASSERT_EQ(form.Items().size(), 5u);
    EXPECT_EQ(form.Items()[0].kind, TJumpData::jdJump);
    EXPECT_EQ(form.Items()[0].number, 196);
    EXPECT_TRUE(form.Items()[0].address.isEmpty());
    EXPECT_EQ(form.Items()[1].kind, TJumpData::jdLink);
    EXPECT_EQ(form.Items()[1].number, 1);
    EXPECT_EQ(form.Items()[1].address, "http://example.com/");
    EXPECT_EQ(form.Items()[3].address, "http://two.example/");
    EXPECT_EQ(form.Items()[4].number, 31);
    EXPECT_EQ(form.windowTitle(), "Hyperlinks");
}

struct ChoiceCase {
    int row; // -1: Cancel without choosing
    bool chosen;
    int jump;
    const char* address;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << "row " << c.row;
}

class HyperlinkChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(HyperlinkChoice, ClickingALineAndOkReturnsTheChoice) {
    const ChoiceCase c = GetParam();
    auto screen = MakeScreen();
    bool okEnabledAfterClick = false;
    auto ran = test::WhenModal([&](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>("hyperlinksListBox");
        auto* ok = dialog.findChild<QPushButton*>("okayButton");
        if (c.row < 0) {
            QTest::mouseClick(dialog.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
            return;
        }
        ClickRow(*list, c.row);
        okEnabledAfterClick = ok->isEnabled();
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    const THyperlinkChoice choice = ChooseHyperlink(screen.get());
    ASSERT_TRUE(*ran);
    if (c.row >= 0) {
        EXPECT_TRUE(okEnabledAfterClick);
    }
    EXPECT_EQ(choice.chosen, c.chosen);
    EXPECT_EQ(choice.jump, c.jump);
    EXPECT_EQ(choice.address, QString::fromLatin1(c.address));
}

INSTANTIATE_TEST_SUITE_P(Rows, HyperlinkChoice,
                         ::testing::Values(ChoiceCase{0, true, 196, ""},
                                           ChoiceCase{1, true, -1, "http://example.com/"},
                                           ChoiceCase{2, true, 200, ""},
                                           ChoiceCase{3, true, -1, "http://two.example/"},
                                           ChoiceCase{-1, false, 0, ""}));

TEST(HyperlinksList, OpensWithTheFirstLinkChosenSoThatEnterFollowsIt) {
    auto screen = MakeScreen();
    int current = -1;
    bool selected = false;
    bool okEnabled = false;
    bool listFocused = false;
    auto ran = test::WhenModal([&](QDialog& dialog) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto* list = dialog.findChild<QListWidget*>("hyperlinksListBox");
        current = list->currentRow();
        selected = list->item(0)->isSelected();
        okEnabled = dialog.findChild<QPushButton*>("okayButton")->isEnabled();
        listFocused = QApplication::focusWidget() == list;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    const THyperlinkChoice choice = ChooseHyperlink(screen.get());
    ASSERT_TRUE(*ran);
    EXPECT_EQ(current, 0);
    EXPECT_TRUE(selected);
    EXPECT_TRUE(okEnabled);
    EXPECT_TRUE(listFocused);
    EXPECT_TRUE(choice.chosen);
    EXPECT_EQ(choice.jump, 196);
}

TEST(HyperlinksList, AScreenWithoutLinksGivesAnEmptyListAndOkStaysDisabled) {
    QWidget screen;
    AddLabel(&screen, {"No links here, only <T1>styled<.> text."});
    auto* box = new QFrame(&screen);
    AddLabel(box, {"<J9>   <.>"});
    bool empty = false;
    bool okDisabled = false;
    auto ran = test::WhenModal([&](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>("hyperlinksListBox");
        empty = list->count() == 0;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        okDisabled = !dialog.findChild<QPushButton*>("okayButton")->isEnabled();
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    const THyperlinkChoice choice = ChooseHyperlink(&screen);
    ASSERT_TRUE(*ran);
    EXPECT_TRUE(empty);
    EXPECT_TRUE(okDisabled);
    EXPECT_FALSE(choice.chosen);
}

} // namespace
