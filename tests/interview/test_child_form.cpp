// The question-screen base: attention text, message boxes and its defaults.

#include <gtest/gtest.h>

#include <QVBoxLayout>

#include "controls/text_label.h"
#include "interview/child_form.h"
#include "support/store_fixture.h"

namespace cgt::test {
namespace {

class ChildFormTest : public StoreTest {};

TTextLbl* AddLabel(QWidget* parent, const QString& text, TTextLbl::TTextLblKind kind) {
    auto* label = new TTextLbl(parent);
    label->setText({text});
    label->setKind(kind);
    label->setGeometry(0, 0, 300, 40);
    return label;
}

TEST_F(ChildFormTest, AttentionTextIsThatOfTheFirstVisibleAttentionLabel) {
    TChildForm form;
    EXPECT_EQ(form.AttentionText(), "");
    AddLabel(&form, "A question", TTextLbl::tlkNone);
    TTextLbl* hidden = AddLabel(&form, "Not this one", TTextLbl::tlkAttention);
    hidden->hide();
    auto* panel = new QWidget(&form); // nested containers count
    AddLabel(panel, "<T1>Enter the <J20>cost base<.> of each parcel", TTextLbl::tlkAttention);
    AddLabel(&form, "Nor this one", TTextLbl::tlkAttention);
    EXPECT_EQ(form.AttentionText(), "Enter the cost base of each parcel");
}

TEST_F(ChildFormTest, ScreenMsgBoxPassesTheConfirmationKindAndTheHelpButton) {
    TChildForm form;
    form.setHelpContext(212);
    dialogs.queueAnswer(mrNo);
    EXPECT_EQ(form.ScreenMsgBox("Delete this event?", 3, mbYes | mbNo | cgt::mbHelp), mrNo);
    EXPECT_EQ(form.ScreenMsgBox("Go on?", mkWarning, mbOK | mbNo), mrOK);
    EXPECT_EQ(form.ScreenInfo("Enter a date."), mrOK);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0].kind, mkQuestion); // the confirmation shows the question icon
    EXPECT_EQ(dialogs.messages[0].buttons, mbYes | mbNo | cgt::mbHelp);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(dialogs.messages[0].helpContext, 212); // the screen's topic for Help
    EXPECT_EQ(dialogs.messages[1].buttons, mbOK);    // an unknown set shows OK alone
    EXPECT_EQ(dialogs.messages[2].kind, mkInformation);
    EXPECT_EQ(dialogs.messages[2].buttons, mbOK);
    EXPECT_EQ(dialogs.messages[2].text, "Enter a date.");
}

TEST_F(ChildFormTest, DefaultsAreAHiddenChildWithNoButtonsAndTabsByPosition) {
    TChildForm form;
    EXPECT_TRUE(form.isHidden());
    EXPECT_EQ(form.pos(), QPoint(0, 0));
    EXPECT_TRUE(form.TabByPosition());
    form.setTabByPosition(false);
    EXPECT_FALSE(form.TabByPosition());
    EXPECT_FALSE(form.ShowNextButton());
    EXPECT_FALSE(form.ShowPrevButton());
    EXPECT_FALSE(form.ShowYesButton());
    EXPECT_FALSE(form.ShowNoButton());
    EXPECT_EQ(form.HelpContext(), 0);
    // Properties are reachable by name, as form files set them.
    EXPECT_TRUE(form.setProperty("ShowNoButton", true));
    EXPECT_TRUE(form.ShowNoButton());
    EXPECT_TRUE(form.setProperty("Caption", QString("17 - Income - Capital gains")));
    EXPECT_EQ(form.windowTitle(), "17 - Income - Capital gains");
}

} // namespace
} // namespace cgt::test
