// The dialogs carry only a dialog's frame: a title with Close, no minimise or maximise button,
// and a fixed size, so that no window manager adds a resize strip along their bottom edge.

#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>

#include <functional>
#include <memory>
#include <ostream>

#include "dialogs/column_description.h"
#include "dialogs/hyperlinks_form.h"
#include "dialogs/save_box.h"
#include "dialogs/shortcut_help.h"

namespace {

using namespace cgt;

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>(QWidget*)> make;
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.name;
}

class DialogFrameTest : public testing::TestWithParam<DialogCase> {};

TEST_P(DialogFrameTest, OnlyADialogsButtonsAndAFixedSize) {
    QWidget mainWindow;
    mainWindow.resize(800, 600);
    mainWindow.show();
    std::unique_ptr<QDialog> dialog = GetParam().make(&mainWindow);
    const QSize formSize = dialog->size();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));

    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    EXPECT_EQ(dialog->size(), formSize);
    EXPECT_EQ(dialog->parentWidget(), &mainWindow);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogFrameTest,
    testing::Values(
        DialogCase{"hyperlinks",
                   [](QWidget* owner) { return std::make_unique<THyperlinksForm>(owner); }},
        DialogCase{"shortcut help",
                   [](QWidget* owner) { return std::make_unique<TviHelperForm>(owner); }},
        DialogCase{"column description", [](QWidget* owner) {
                       return std::make_unique<TTableColumnDescriptionForm>(owner);
                   }}));

// The save box's layout needs more than its form's size: it keeps what the layout needs.
TEST(SaveBoxFrame, OnlyADialogsButtonsAndAFixedSizeTheLayoutFits) {
    QWidget mainWindow;
    mainWindow.resize(800, 600);
    mainWindow.show();
    TfrmSaveBox box(&mainWindow);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const Qt::WindowFlags flags = box.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_EQ(box.size().expandedTo(box.minimumSizeHint()), box.size());
    EXPECT_EQ(box.parentWidget(), &mainWindow);
}

} // namespace
