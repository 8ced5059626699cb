// The notes pad on tag 399: typed lines become the tag's list when the pad closes, come back
// when it opens again, and mark the return changed only when the text was edited.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "dialogs/notes_form.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "support/store_fixture.h"

namespace {

using namespace cgt;

class NotesPadTest : public test::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        mainWindow.resize(800, 600);
        mainWindow.show();
    }

    // Opens a pad as the main window's Notes button does.
    TNotesForm* Open() {
        auto* pad = new TNotesForm(&mainWindow);
        pad->show();
        return pad;
    }
    static QPlainTextEdit* Memo(TNotesForm* pad) {
        return pad->findChild<QPlainTextEdit*>("Notes");
    }

    // Closes the pad with its Close button; true when the pad freed itself and said so.
    static bool CloseWithButton(TNotesForm* pad) {
        QPointer<TNotesForm> guard(pad);
        QSignalSpy gone(pad, &TNotesForm::NotesClosed);
        QTest::mouseClick(pad->findChild<QPushButton*>("BtnCancel"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return gone.count() == 1 && guard.isNull();
    }

    QWidget mainWindow;
};

TEST_F(NotesPadTest, LinesTypedIntoAnEmptyTagBecomeAListAndComeBackOnReopening) {
    ASSERT_EQ(GetFieldType(tag::kNotes), dtNone);
    TNotesForm* pad = Open();
    EXPECT_EQ(pad->windowTitle(), "Your Tax Return Notes");
    EXPECT_TRUE(pad->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(pad->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(pad->findChild<QPushButton*>("BtnCancel")->toolTip(), "Leave the notepad");
    QPlainTextEdit* memo = Memo(pad);
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    EXPECT_EQ(GetFieldType(tag::kNotes), dtNone); // showing alone creates nothing

    QTest::keyClicks(memo, "Sold BHP shares");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "Ask about the house");
    ASSERT_TRUE(CloseWithButton(pad));

    EXPECT_TRUE(cgt::Run().DataChanged);
    ASSERT_EQ(GetFieldType(tag::kNotes), dtList);
    ASSERT_TRUE(GetFieldLst(tag::kNotes));
    EXPECT_EQ(*GetFieldLst(tag::kNotes), (StringList{"Sold BHP shares", "Ask about the house"}));

    cgt::Run().DataChanged = false;
    TNotesForm* again = Open();
    EXPECT_EQ(Memo(again)->toPlainText(), "Sold BHP shares\nAsk about the house");
    ASSERT_TRUE(CloseWithButton(again));
    EXPECT_FALSE(cgt::Run().DataChanged); // looked at, not edited
    EXPECT_EQ(*GetFieldLst(tag::kNotes), (StringList{"Sold BHP shares", "Ask about the house"}));
}

TEST_F(NotesPadTest, EditingAStoredListReplacesItsLines) {
    SetFieldLst(tag::kNotes, std::make_shared<StringList>(StringList{"one", "two", "three"}));
    cgt::Run().DataChanged = false;
    TNotesForm* pad = Open();
    QPlainTextEdit* memo = Memo(pad);
    EXPECT_EQ(memo->toPlainText(), "one\ntwo\nthree");

    // Delete the last line with its line break, keeping the others.
    memo->moveCursor(QTextCursor::End);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClick(memo, Qt::Key_Return); // a final line break starts no line
    ASSERT_TRUE(CloseWithButton(pad));
    EXPECT_TRUE(cgt::Run().DataChanged);
    EXPECT_EQ(*GetFieldLst(tag::kNotes), (StringList{"one", "two"}));
}

TEST_F(NotesPadTest, OpensWithTheCaretInTheTextInANormalWeight) {
    SetFieldLst(tag::kNotes, std::make_shared<StringList>(StringList{"one", "two"}));
    TNotesForm* pad = Open();
    pad->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(pad));
    QPlainTextEdit* memo = Memo(pad);
    EXPECT_EQ(QApplication::focusWidget(), memo);
    EXPECT_FALSE(QFontInfo(memo->font()).bold());

    // The first keys go into the text, after the last note; a space does not close the pad.
    QTest::keyClicks(QApplication::focusWidget(), " three");
    QPointer<TNotesForm> guard(pad);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(guard.isNull());
    EXPECT_TRUE(pad->isVisible());
    EXPECT_EQ(memo->toPlainText(), "one\ntwo three");
    ASSERT_TRUE(CloseWithButton(pad));
    EXPECT_EQ(*GetFieldLst(tag::kNotes), (StringList{"one", "two three"}));
}

TEST_F(NotesPadTest, ATagOfAnotherTypeBecomesAListOnClosing) {
    SetFieldStr(tag::kNotes, "stray text");
    cgt::Run().DataChanged = false;
    TNotesForm* pad = Open();
    EXPECT_TRUE(Memo(pad)->toPlainText().isEmpty()); // only a list is shown
    pad->close();                                    // the window's own close box
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(cgt::Run().DataChanged);
    ASSERT_EQ(GetFieldType(tag::kNotes), dtList);
    ASSERT_TRUE(GetFieldLst(tag::kNotes));
    EXPECT_TRUE(GetFieldLst(tag::kNotes)->empty());
}

} // namespace
