#pragma once
// Small question screens registered under real class names, and a fixture that runs the
// interview frame with recording close hooks.

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/help_service.h"
#include "controls/module_message.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/xgrid.h"
#include "interview/child_form.h"
#include "interview/frame.h"
#include "interview/screen_protocol.h"
#include "interview/screen_registry.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "support/store_fixture.h"

// Readable failure output.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '{' << l.join(" | ").toStdString() << '}';
}

namespace cgt::test {

// What the test screens are told to do and what they saw.
struct ScreenScript {
    bool refuse = false;   // the check keeps the user on the screen
    int validateCalls = 0; // check runs
    int showCalls = 0;     // show handler runs of the worksheet screen
    std::optional<Answer> lastAnswer;
};
inline ScreenScript& Script() {
    static ScreenScript script;
    return script;
}

inline TTaxEdit* AddEdit(QWidget* parent, const char* name, int tag,
                         TCustomNumEdit::TNumericType kind, int x, int y) {
    auto* edit = new TTaxEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setNumericType(kind);
    edit->setProperty("fieldTag", tag);
    edit->setGeometry(x, y, 120, 22);
    return edit;
}

// 2004: an amount, a combo box of asset codes, a plain label and a check box.
class ValuesScreen : public TChildForm {
public:
    ValuesScreen() {
        amount = AddEdit(this, "amount", 300, TCustomNumEdit::ntCurrency, 10, 10);
        combo = new QComboBox(this);
        combo->setObjectName("assetCode");
        combo->addItems({"AA - Other", "SA - Active asset - Shares"});
        combo->setProperty("fieldTag", 400);
        combo->setProperty("MaxLength", 2);
        combo->setGeometry(10, 40, 200, 22);
        label = new QLabel(this);
        label->setProperty("fieldTag", 401);
        label->setGeometry(10, 70, 120, 22);
        check = new QCheckBox("Owned", this);
        check->setProperty("fieldTag", 402);
        check->setGeometry(10, 100, 120, 22);
    }
    TTaxEdit* amount;
    QComboBox* combo;
    QLabel* label;
    QCheckBox* check;
};

// 2005: refuses to be left while Script().refuse is set. Next leads to 2006.
class ValidatingScreen : public TChildForm, public CheckedScreen {
public:
    ValidatingScreen() {
        losses = AddEdit(this, "losses", 301, TCustomNumEdit::ntCurrency, 10, 10);
    }
    std::optional<ScreenRefusal> CheckLeave(Direction) override {
        ++Script().validateCalls;
        if (!Script().refuse) return std::nullopt;
        ScreenRefusal refusal;
        refusal.message = "Enter the unapplied losses.";
        return refusal;
    }
    NextStep Next(Answer) override { return ScreenTarget::Screen(2006); }
    TTaxEdit* losses;
};

// A screen with one text field and no behaviour.
class PlainScreen : public TChildForm {
public:
    PlainScreen() { AddEdit(this, "text", 302, TCustomNumEdit::ntNone, 10, 10); }
};

// 2006: a Yes/No question. Yes leads to 2007, No to 2020.
class YesNoScreen : public TChildForm {
public:
    void FormShow() override {
        TFrameWnd* frame = TFrameWnd::Instance();
        frame->YesButton()->show();
        frame->NoButton()->show();
    }
    NextStep Next(Answer answer) override {
        Script().lastAnswer = answer;
        if (answer == Answer::Yes) return ScreenTarget::Screen(2007);
        if (answer == Answer::No) return ScreenTarget::Screen(2020);
        return ScreenTarget::RowNext();
    }
};

// TQCGT_08: edits one row of worksheet WorksheetKind (name in 710, amount in 711). Its check
// is `check` when one is set.
class WorksheetScreen : public TChildForm, public CheckedScreen {
public:
    WorksheetScreen() {
        name = AddEdit(this, "name", 710, TCustomNumEdit::ntNone, 10, 10);
        amount = AddEdit(this, "amount", 711, TCustomNumEdit::ntCurrency, 10, 40);
        TFrameWnd* frame = TFrameWnd::Instance();
        if (frame->ReopenRow)
            frame->OpenWorksheetRow(frame->WorksheetKind, frame->ReopenRowKey);
        else
            frame->OpenWorksheet(frame->WorksheetKind);
    }
    void FormShow() override {
        ++Script().showCalls;
        TFrameWnd::Instance()->ShowWorksheetPanel(true);
    }
    std::optional<ScreenRefusal> CheckLeave(Direction) override {
        return check ? check() : std::nullopt;
    }
    TTaxEdit* name;
    TTaxEdit* amount;
    std::function<std::optional<ScreenRefusal>()> check;
};

template <class T> TChildForm* Make() {
    return new T;
}

// Help calls, recorded.
class RecordingHelp : public HelpService {
public:
    RecordingHelp() { SetHelpService(this); }
    ~RecordingHelp() override { SetHelpService(nullptr); }
    void ShowContext(int context) override { contexts.push_back(context); }
    void ShowContents() override {}
    void SetHelpFile(const std::string& name) override { file = name; }
    std::string HelpFile() const override { return file; }
    std::vector<int> contexts;
    std::string file;
};

class FrameTest : public StoreTest {
protected:
    static constexpr const char* kClasses[] = {"TQCGT_83", "TQCGT_56", "TQCGT_39a",
                                               "TQCGT_39", "TQCGT_41", "TQCGT_08",
                                               "TQCGT_11", "TQCGT_37", "TQCGT02_05"};

    void SetUp() override {
        StoreTest::SetUp();
        Script() = ScreenScript{};
        RegisterScreenClass("TQCGT_83", Make<ValuesScreen>);
        RegisterScreenClass("TQCGT_56", Make<ValidatingScreen>);
        RegisterScreenClass("TQCGT_39a", Make<YesNoScreen>);
        RegisterScreenClass("TQCGT_39", Make<PlainScreen>);
        RegisterScreenClass("TQCGT_41", Make<PlainScreen>);
        RegisterScreenClass("TQCGT_08", Make<WorksheetScreen>);
        RegisterScreenClass("TQCGT_11", Make<PlainScreen>);
        RegisterScreenClass("TQCGT_37", Make<PlainScreen>);
        RegisterScreenClass("TQCGT02_05", Make<PlainScreen>);
        frame = std::make_unique<TFrameWnd>();
        frame->CloseQuery = [this](QObject* sender) {
            queries.push_back(sender);
            return agreeToClose || !cgt::Run().InScreen;
        };
        frame->CloseHandler = [this](QObject* sender) { closedBy.push_back(sender); };
        frame->resize(900, 600);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    void TearDown() override {
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const char* name : kClasses)
            UnregisterScreenClass(name);
        StoreTest::TearDown();
    }

    void start(int screen) {
        cgt::Run().CurrentSection = screen / 100;
        cgt::Run().CurrentIndex = screen % 100;
        frame->ShowCurrentScreen();
    }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Lets posted messages (1027) run.
    void settle() { QCoreApplication::processEvents(); }

    template <class T> T* screen() const { return dynamic_cast<T*>(frame->CurrentScreenWidget()); }
    int shown() const { return cgt::Run().CurrentScreen; }

    QStringList pickLines() const {
        QStringList lines;
        for (int i = 0; i < frame->PickListBox()->count(); ++i)
            lines << frame->PickListBox()->item(i)->text();
        return lines;
    }
    void clickPickLine(int line) {
        QListWidget* list = frame->PickListBox();
        const QRect rect = list->visualItemRect(list->item(line - 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // (row, tag, display text) of every item of a worksheet, in list order.
    std::vector<std::tuple<int, int, std::string>> items(int worksheet) const {
        std::vector<std::tuple<int, int, std::string>> out;
        if (const Worksheet* sheet = WorksheetOf(worksheet))
            for (const auto& item : sheet->items())
                out.emplace_back(item.row, item.tag, EntryDisplayText(item.entry));
        return out;
    }

    std::unique_ptr<TFrameWnd> frame;
    std::vector<QObject*> queries;
    std::vector<QObject*> closedBy;
    bool agreeToClose = false;
};

} // namespace cgt::test
