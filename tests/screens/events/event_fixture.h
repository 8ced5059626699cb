#pragma once
// An interview frame showing the screens that continue an event, with the event's row stored
// as its registration leaves it, and the steps a user takes on them.

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QTest>

#include <string>
#include <vector>

#include "controls/tax_edit.h"
#include "controls/xgrid.h"
#include "interview/child_form.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"
#include "support/screen_fixture.h"

namespace cgt::test {

// A registered event: what the registration screen stores in its row.
struct Registered {
    const char* name = "BHP shares";
    const char* type = "SN";
    const char* acquired = "01/07/1995";
};

class EventScreenTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        activate();
    }
    void activate() {
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    // A new module run in a new frame, for the next case of a table.
    void freshRun() {
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ResetModuleRun();
        dialogs.messages.clear();
        frame = std::make_unique<TFrameWnd>();
        frame->resize(900, 600);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        activate();
    }

    // Stores row `row` of `worksheet` as a registration leaves it, with `more` tags set by the
    // caller first, and lets the next event screen reopen it.
    template <class Extra = void (*)()>
    void registered(
        int worksheet, const Registered& event, int row = 1, Extra more = [] {}) {
        ZeroFillScratchTags();
        SetFieldStr(tag::event::kName, event.name);
        SetFieldStr(tag::event::kAssetType, event.type);
        SetFieldStr(tag::event::kAcquisitionDate, event.acquired);
        more();
        PutRow(worksheet, row);
        frame->WorksheetKind = worksheet;
        frame->ReopenRow = true;
        frame->ReopenRowKey = row;
    }

    // Lets the posted events of a step run out.
    static void settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    // The grid under test (set by the test) and a key pressed in its cell editor.
    TXGridInplaceEdit* editor() const { return grid->inplaceEditor(); }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(editor(), k, modifiers);
        settle();
    }
    TXGrid* grid = nullptr;

    template <class T> T* field(const char* name) const {
        T* w = child<T>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Replaces a field's text as the user does, emptying it first, and leaves it with Tab.
    void enter(const char* name, const char* text) {
        TTaxEdit* edit = field<TTaxEdit>(name);
        if (!edit) return;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        type(edit, QString::fromLatin1(text));
    }
    void click(const char* name) {
        QCheckBox* box = field<QCheckBox>(name);
        if (!box) return;
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QCoreApplication::processEvents();
    }
    QString focused() const {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }
    // The one message shown since the last call, or "" when none was.
    std::string takeMessage() {
        std::string text;
        if (dialogs.messages.size() == 1) text = dialogs.messages.front().text;
        EXPECT_LE(dialogs.messages.size(), 1u) << dialogs.texts().back();
        dialogs.messages.clear();
        return text;
    }

    // The value of `tag` in row `row` of a worksheet, or nullptr when the row has none.
    static const FieldEntry* RowItem(int worksheet, int row, int tag) {
        const Worksheet* sheet = WorksheetOf(worksheet);
        if (!sheet) return nullptr;
        for (std::uint32_t pos : sheet->rowPositions(static_cast<std::uint16_t>(row)))
            if (sheet->items()[pos].tag == tag) return &sheet->items()[pos].entry;
        return nullptr;
    }
    static std::string RowText(int worksheet, int row, int tag) {
        const FieldEntry* e = RowItem(worksheet, row, tag);
        return e ? EntryDisplayText(*e) : std::string();
    }
};

} // namespace cgt::test
