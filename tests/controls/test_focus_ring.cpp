// The focus ring surrounds the part of the focused control that its parents show, and nothing
// when the control is scrolled out of view.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "controls/focus_ring.h"

namespace {

TEST(FocusRing, SurroundsOnlyWhatTheParentsShow) {
    QWidget window;
    window.resize(400, 300);
    auto* ring = TFocusRing::Attach(&window);
    auto* pane = new QWidget(&window);
    pane->setGeometry(100, 100, 200, 100);
    auto* edit = new QLineEdit(pane);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    const struct Case {
        const char* note;
        QRect inPane;
        QRect expectedInWindow; // empty: no ring
    } cases[] = {
        {"inside", {10, 10, 80, 20}, {110, 110, 80, 20}},
        {"half scrolled out to the left", {-40, 10, 80, 20}, {100, 110, 40, 20}},
        {"scrolled out", {-120, 10, 80, 20}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        edit->setGeometry(c.inPane);
        edit->setFocus();
        QApplication::processEvents();
        if (c.expectedInWindow.isEmpty()) {
            EXPECT_EQ(ring->Target(), nullptr);
            continue;
        }
        ASSERT_EQ(ring->Target(), edit);
        const int m = TFocusRing::kWidth + 1;
        EXPECT_EQ(ring->geometry(), c.expectedInWindow.adjusted(-m, -m, m, m));
    }
}

} // namespace
