// The entry fields of the event screens' form files, typed into as a user does: descriptions
// take any character and capitalise their words, whole-dollar amounts take at most 8 digits,
// and the computed gain and loss refuse typing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "controls/tax_edit.h"
#include "support/scripted_dialogs.h"
#include "ui_receipt_form.h"
#include "ui_registration_form.h"
#include "ui_rights_event_form.h"

namespace {

// One form, set up from its file and shown.
struct EventForm {
    const char* name;
    std::function<void(QWidget&)> setUp;
};

template <class Ui> std::function<void(QWidget&)> SetUpWith() {
    return [](QWidget& form) {
        auto* ui = new Ui;
        ui->setupUi(&form);
        // The generated class only holds pointers to the form's children.
        QObject::connect(&form, &QObject::destroyed, [ui] { delete ui; });
    };
}

void PrintTo(const EventForm& form, std::ostream* os) {
    *os << form.name;
}

class EventFormTest : public testing::TestWithParam<EventForm> {
protected:
    void SetUp() override {
        GetParam().setUp(form);
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    TTaxEdit* field(const char* name) {
        auto* edit = form.findChild<TTaxEdit*>(QString::fromLatin1(name));
        EXPECT_NE(edit, nullptr) << name;
        return edit;
    }
    // Focuses the field, types the keys and tabs out.
    std::string typeInto(TTaxEdit* edit, const char* keys) {
        edit->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::keyClicks(edit, QString::fromLatin1(keys));
        const std::string typed = edit->text().toStdString();
        QTest::keyClick(edit, Qt::Key_Tab);
        QApplication::processEvents();
        return typed;
    }

    cgt::test::ScriptedDialogs dialogs;
    QWidget form;
};

// The forms of 2075 and 2097, with their amounts and results.
class AmountFormTest : public EventFormTest {};

TEST_P(EventFormTest, DescriptionTakesAnyCharacterAndCapitalisesWords) {
    TTaxEdit* desc = field("DescEdit");
    ASSERT_NE(desc, nullptr);
    EXPECT_EQ(typeInto(desc, "lot #5 + x_y"), "Lot #5 + X_y");
    EXPECT_EQ(desc->text().toStdString(), "Lot #5 + X_y");
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(desc->maxLength(), 40);
}

TEST_P(AmountFormTest, WholeDollarAmountsTakeAtMostEightDigits) {
    for (const char* name : {"ProceedsEdit", "CostsEdit"}) {
        SCOPED_TRACE(name);
        TTaxEdit* amount = field(name);
        ASSERT_NE(amount, nullptr);
        EXPECT_EQ(typeInto(amount, "1234567890"), "12345678");
        EXPECT_DOUBLE_EQ(static_cast<double>(amount->NumValue()), 12345678.0);
        EXPECT_EQ(amount->text().toStdString(), "12345678");
    }
}

TEST_P(AmountFormTest, ComputedGainAndLossRefuseTyping) {
    for (const char* name : {"GainEdit", "LossEdit"}) {
        SCOPED_TRACE(name);
        TTaxEdit* result = field(name);
        ASSERT_NE(result, nullptr);
        EXPECT_TRUE(result->isReadOnly());
        result->setNumValue(70);
        EXPECT_EQ(typeInto(result, "5"), "70");
        EXPECT_DOUBLE_EQ(static_cast<double>(result->NumValue()), 70.0);
    }
}

const EventForm kRightsEvent{"rights event", SetUpWith<Ui::RightsEventForm>()};
const EventForm kReceipt{"receipt", SetUpWith<Ui::ReceiptForm>()};

INSTANTIATE_TEST_SUITE_P(Forms, EventFormTest,
                         testing::Values(EventForm{"registration",
                                                   SetUpWith<Ui::RegistrationForm>()},
                                         kRightsEvent, kReceipt));
INSTANTIATE_TEST_SUITE_P(Forms, AmountFormTest, testing::Values(kRightsEvent, kReceipt));

} // namespace
