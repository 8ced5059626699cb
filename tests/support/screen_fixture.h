#pragma once
// A real interview frame showing the path's screens, and the steps a user takes on them.

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "cgt/screens/flow/screen_flow.h"
#include "controls/tax_edit.h"
#include "interview/frame.h"
#include "store/run_state.h"
#include "support/store_fixture.h"

namespace cgt::test {

class ScreenTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        InstallInterviewScreens();
        frame = std::make_unique<TFrameWnd>();
        frame->resize(900, 600);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override {
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        StoreTest::TearDown();
    }

    // Shows `screen` as a jump would.
    void start(int screen) {
        cgt::Run().CurrentSection = screen / 100;
        cgt::Run().CurrentIndex = screen % 100;
        frame->ShowCurrentScreen();
    }
    void press(QPushButton* button) {
        ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    int shown() const { return cgt::Run().CurrentScreen; }
    QWidget* screen() const { return frame->CurrentScreenWidget(); }
    template <class T> T* child(const char* name) const {
        return screen() ? screen()->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }
    // Types into a field as the user does: focus, select all, type, leave with Tab.
    static void type(TTaxEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<TFrameWnd> frame;
};

} // namespace cgt::test
