// The shortcut-key help: its lines exactly, the caret at the start, and Esc in the memo
// pressing Close.

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "dialogs/shortcut_help.h"
#include "modal_helper.h"

namespace {

using namespace cgt;

const QStringList kExpectedLines = {
    "",
    "You can use the F9 key at any time to display this dialogue.",
    "You can use the escape key to close this dialog when it is displayed.",
    "",
    "The shortcut keys to help you work with tables are:",
    "F6 to navigate forwards out of a table",
    "Shift-F6 to navigate backwards out of a table",
    "F8 to read the heading and additional descriptive text for the current column.",
    "HOME key to navigate to the first cell in the current row of the table",
    "",
    "The help-related shortcuts are:",
    "Alt-M for detailed help on the current question.",
    "Alt-H to display a list of links on the current screen.",
    "",
    "Tesmo uses a standard windows help.",
    "Shortcut keys when using the help file:",
    "Alt-I to select the Index tab.",
    "Alt-S to select the Search tab. ",
    "Alt-C to select the Contents tab.",
};

TEST(ShortcutHelp, MemoHoldsTheLinesWithTheCaretAtTheStart) {
    TviHelperForm form;
    EXPECT_EQ(form.windowTitle(), "Shortcut keys for vision impaired users dialog");
    auto* memo = form.findChild<QPlainTextEdit*>("Memo1");
    EXPECT_EQ(memo->toPlainText().split(QLatin1Char('\n')), kExpectedLines);
    EXPECT_EQ(memo->textCursor().position(), 0);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_TRUE(form.findChild<QPushButton*>("closeButton")->isDefault());
}

TEST(ShortcutHelp, EscInTheMemoPressesCloseButShiftEscDoesNot) {
    bool stayedOpen = false;
    int presses = 0;
    auto ran = test::WhenModal([&](QDialog& dialog) {
        auto* memo = dialog.findChild<QPlainTextEdit*>("Memo1");
        QSignalSpy clicked(dialog.findChild<QPushButton*>("closeButton"), &QPushButton::clicked);
        QTest::keyClick(memo, Qt::Key_Escape, Qt::ShiftModifier);
        stayedOpen = dialog.isVisible();
        QTest::keyClick(memo, Qt::Key_Escape);
        presses = static_cast<int>(clicked.count());
    });
    ShowShortcutHelp();
    ASSERT_TRUE(*ran);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(presses, 1);
}

} // namespace
