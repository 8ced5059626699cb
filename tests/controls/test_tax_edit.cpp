// The entry field driven as a user drives it: keys typed, Tab to leave, the scripted dialog
// service answering and recording the messages.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "controls/tax_edit.h"
#include "store/field_store.h"
#include "support/scripted_dialogs.h"
#include "ui_tax_edit_fields.h"

namespace {

using cgt::ExplicitZero;

constexpr char kDateFormatMessage[] = "Enter date in dd/mm/yyyy format";
constexpr char kMandatoryMessage[] = "This field is mandatory and MUST be completed";
constexpr char kInvalidChars[] = "Result contains invalid characters";

class TaxEditTest : public testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window_.get());
        edit = new TTaxEdit(window_.get());
        second = new TTaxEdit(window_.get());
        other = new QLineEdit(window_.get());
        layout->addWidget(edit);
        layout->addWidget(second);
        layout->addWidget(other);
        window_->resize(240, 120);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        other->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        exits = std::make_unique<QSignalSpy>(edit, &TCustomNumEdit::OnExit);
    }

    // Properties in the order a form file gives them.
    void setUpField(TCustomNumEdit& field, TCustomNumEdit::TNumericType type,
                    TCustomNumEdit::TVarnDataType data, int maxLength = 0) {
        if (maxLength > 0) field.setMaxLength(maxLength);
        field.setNumericType(type);
        field.setVarnDataType(data);
    }
    void setUp(TCustomNumEdit::TNumericType type, TCustomNumEdit::TVarnDataType data,
               int maxLength = 0) {
        setUpField(*edit, type, data, maxLength);
    }

    void enter() {
        edit->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    // Tab out of the field, as the user does; a failed exit takes the focus back meanwhile.
    void leave() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QApplication::processEvents();
        QApplication::processEvents();
    }
    void type(const char* keys) { QTest::keyClicks(edit, QString::fromLatin1(keys)); }
    void clear() {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
    }
    std::string text() const { return edit->text().toStdString(); }

    // The field kept the focus with the whole entry selected.
    void expectKeptFocus() {
        EXPECT_TRUE(edit->hasFocus());
        EXPECT_EQ(edit->selectedText(), edit->text());
        EXPECT_EQ(exits->count(), 0);
    }

    cgt::test::ScriptedDialogs dialogs;
    std::unique_ptr<QWidget> window_;
    TTaxEdit* edit = nullptr;
    TTaxEdit* second = nullptr;
    QLineEdit* other = nullptr;
    std::unique_ptr<QSignalSpy> exits;
};

// --- Amounts ---------------------------------------------------------------------------------

struct AmountCase {
    const char* typed;
    const char* shown;
    long double value;
};

class AmountEntryTest : public TaxEditTest, public testing::WithParamInterface<AmountCase> {};

TEST_P(AmountEntryTest, ReadsAndFormatsOnExit) {
    const auto& c = GetParam();
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    edit->setNumValue(777);
    enter();
    clear();
    type(c.typed);
    leave();
    EXPECT_EQ(text(), c.shown);
    EXPECT_DOUBLE_EQ(static_cast<double>(edit->NumValue()), static_cast<double>(c.value));
    EXPECT_FALSE(edit->hasFocus());
    EXPECT_EQ(exits->count(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Amounts, AmountEntryTest,
                         testing::Values(AmountCase{"0", "0", ExplicitZero}, AmountCase{"", "", 0},
                                         AmountCase{"1234", "1234", 1234}, AmountCase{"00", "", 0},
                                         AmountCase{"0012", "12", 12}));

TEST_F(TaxEditTest, ExplicitZeroShowsAsZero) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    edit->setNumValue(ExplicitZero);
    EXPECT_EQ(text(), "0");
    edit->setNumValue(0);
    EXPECT_EQ(text(), "");
    edit->setNumValue(1500.5L);
    EXPECT_EQ(text(), "1501");
}

TEST_F(TaxEditTest, MinusSignLandsInFrontOnce) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollarNegative, 8);
    enter();
    type("123");
    type("-");
    EXPECT_EQ(text(), "-123");
    EXPECT_EQ(dialogs.beeps, 0);
    type("-");
    EXPECT_EQ(text(), "-123");
    EXPECT_EQ(dialogs.beeps, 1);
    type("x.");
    EXPECT_EQ(dialogs.beeps, 3);
    leave();
    EXPECT_DOUBLE_EQ(static_cast<double>(edit->NumValue()), -123.0);
}

// --- Refused keys: the beep and a hint at the field ------------------------------------------

struct RefusedKeyCase {
    TCustomNumEdit::TNumericType type;
    TCustomNumEdit::TVarnDataType data;
    int maxLength;
    const char* typed;
    const char* kept;
    const char* hint;
};

class RefusedKeyTest : public TaxEditTest, public testing::WithParamInterface<RefusedKeyCase> {};

TEST_P(RefusedKeyTest, ShowsWhatTheFieldAccepts) {
    const auto& c = GetParam();
    setUp(c.type, c.data, c.maxLength);
    enter();
    EXPECT_TRUE(edit->HintText().isEmpty());
    type(c.typed);
    EXPECT_EQ(text(), c.kept);
    EXPECT_GE(dialogs.beeps, 1);
    EXPECT_EQ(edit->HintText(), QString::fromUtf8(c.hint));
    // The hint stands in the window, at the field.
    auto* hint = window_->findChild<QLabel*>(QStringLiteral("entryHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_LT(std::abs(hint->geometry().top() - edit->geometry().bottom()), 4);
    // Leaving the field takes the hint away.
    leave();
    EXPECT_TRUE(edit->HintText().isEmpty());
}

using N = TCustomNumEdit;

INSTANTIATE_TEST_SUITE_P(
    Keys, RefusedKeyTest,
    testing::Values(
        RefusedKeyCase{N::ntCurrency, N::vtDollar, 8, "123.45", "123", "whole dollars — no cents"},
        RefusedKeyCase{N::ntCurrency, N::vtDollar, 8, "12a", "12", "whole dollars — digits only"},
        RefusedKeyCase{N::ntCurrency, N::vtDollarNegative, 8, "12-x", "-12",
                       "whole dollars — digits and a minus sign only"},
        RefusedKeyCase{N::ntCurrency, N::vtDollar, 8, "123456789", "12345678", "at most 8 digits"},
        RefusedKeyCase{N::ntNumeric, N::vtNone, 8, "7.5", "7", "whole numbers — no decimals"},
        RefusedKeyCase{N::ntCurrencyCnt, N::vtDollarCents, 9, "1.23.", "1.23",
                       "one decimal point only"},
        RefusedKeyCase{N::ntCurrencyCnt, N::vtDollarCents, 9, "1234567", "123456",
                       "at most 6 digits before the point — type . for the cents"},
        RefusedKeyCase{N::ntCurrencyCnt, N::vtDollarCents, 9, "5c", "5",
                       "dollars and cents — digits and a decimal point only"},
        RefusedKeyCase{N::ntDate, N::vtDate8, 0, "01-", "01",
                       "a date as dd/mm/yyyy — digits and / only"},
        RefusedKeyCase{N::ntTFN, N::vtNone, 0, "123 ", "123", "digits only"},
        RefusedKeyCase{N::ntNone, N::vtText, 0, "lot #", "lot ", "'#' cannot be typed here"},
        RefusedKeyCase{N::ntNone, N::vtText, 3, "abcd", "abc", "at most 3 characters"}));

TEST_F(TaxEditTest, DecimalPointNeverJoinsDollarsAndCents) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    enter();
    type("123.45");
    EXPECT_EQ(text(), "123");
    EXPECT_EQ(dialogs.beeps, 3); // the point and the two cents
    EXPECT_EQ(edit->HintText(), QString::fromUtf8("whole dollars — no cents"));
    type("6");
    EXPECT_EQ(text(), "123"); // still a cent, not another dollar
    leave();
    EXPECT_EQ(text(), "123");
    EXPECT_DOUBLE_EQ(static_cast<double>(edit->NumValue()), 123.0);
    EXPECT_TRUE(dialogs.messages.empty());

    // Moving the caret ends the cents: the digits go where the user put them.
    enter();
    QTest::keyClick(edit, Qt::Key_End);
    type(".9");
    EXPECT_EQ(text(), "123");
    QTest::keyClick(edit, Qt::Key_Home);
    type("4");
    EXPECT_EQ(text(), "4123");
    EXPECT_TRUE(edit->HintText().isEmpty()); // an accepted key takes the hint away
    // Re-entering starts afresh.
    type(".");
    leave();
    enter();
    QTest::keyClick(edit, Qt::Key_End);
    type("5");
    EXPECT_EQ(text(), "41235");
}

TEST_F(TaxEditTest, MinusSignLandsInFrontOfAFullAmount) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollarNegative, 8);
    enter();
    type("12345678-");
    EXPECT_EQ(text(), "-12345678");
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_EQ(edit->maxLength(), 8);
    type("9");
    EXPECT_EQ(text(), "-12345678");
    EXPECT_EQ(edit->HintText(), QStringLiteral("at most 8 digits"));
    leave();
    EXPECT_DOUBLE_EQ(static_cast<double>(edit->NumValue()), -12345678.0);
    EXPECT_EQ(text(), "-12345678");
}

TEST_F(TaxEditTest, ResultFieldIsReadOnlyAndLooksIt) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    setUpField(*second, TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    edit->setReadOnly(true);
    edit->setNumValue(70);
    second->setNumValue(70);
    const auto fill = [](QWidget& w) { return w.grab().toImage().pixelColor(2, 2); };
    const QColor editable = fill(*second);
    const QColor resultFill = fill(*edit);
    EXPECT_NE(resultFill, editable);

    enter();
    EXPECT_NE(edit->palette().color(QPalette::Base), TCustomNumEdit::FocusColor());
    EXPECT_EQ(edit->palette().color(QPalette::Base), edit->palette().color(QPalette::Window));
    type("5");
    EXPECT_EQ(text(), "70");
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(edit->HintText(), QString::fromUtf8("worked out for you — cannot be typed in"));
    leave();
    EXPECT_EQ(fill(*edit), resultFill);
    EXPECT_DOUBLE_EQ(static_cast<double>(edit->NumValue()), 70.0);

    edit->setReadOnly(false);
    EXPECT_EQ(fill(*edit), editable);
}

// A field that cannot be used now is not drawn like an entry, and looks like one again once it
// can be used.
TEST_F(TaxEditTest, ADisabledFieldLooksLikeTheWindowNotLikeAnEntry) {
    setUpField(*second, TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    const auto fill = [](QWidget& w) { return w.grab().toImage().pixelColor(2, 2); };
    const QColor editable = fill(*second);
    second->setEnabled(false);
    EXPECT_NE(fill(*second), editable);
    EXPECT_EQ(fill(*second), second->palette().color(QPalette::Window));
    second->setEnabled(true);
    EXPECT_EQ(fill(*second), editable);
}

TEST_F(TaxEditTest, CharacterBeyondTheReturnsCharacterSetIsRefused) {
    enter();
    type("a");
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString::fromUtf8("€"),
                        Qt::NoModifier);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_FALSE(edit->HintText().isEmpty());
    type("b");
    EXPECT_EQ(text(), "ab");
}

TEST_F(TaxEditTest, DigitsOnlyAmountRefusesMinus) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    enter();
    type("12-3");
    EXPECT_EQ(text(), "123");
    EXPECT_EQ(dialogs.beeps, 1);
    type("456789");
    EXPECT_EQ(text(), "12345678"); // the length limit of the field
}

TEST_F(TaxEditTest, WholeNumberPartLeavesRoomForCents) {
    setUp(TCustomNumEdit::ntCurrencyCnt, TCustomNumEdit::vtDollarCents, 9);
    enter();
    type("1234567");
    EXPECT_EQ(text(), "123456");
    EXPECT_EQ(dialogs.beeps, 1);
    type(".129"); // the 9 finds the field full
    EXPECT_EQ(text(), "123456.12");
    EXPECT_EQ(dialogs.beeps, 2);
    type(".");
    EXPECT_EQ(dialogs.beeps, 3);
    leave();
    EXPECT_EQ(text(), "123456.12");
    EXPECT_NEAR(static_cast<double>(edit->NumValue()), 123456.12, 1e-9);
}

TEST_F(TaxEditTest, MinusAfterTheFirstPlaceMovesToTheFront) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollarNegative, 8);
    edit->setText("12-3");
    EXPECT_DOUBLE_EQ(static_cast<double>(edit->NumValue()), -123.0);
    EXPECT_EQ(text(), "-123");
}

TEST_F(TaxEditTest, TwoSeparatorsPastedKeepTheFocus) {
    setUp(TCustomNumEdit::ntCurrencyCnt, TCustomNumEdit::vtDollarCents, 9);
    enter();
    edit->setText("1.2.3");
    leave();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{kInvalidChars});
    EXPECT_EQ(text(), "1.2.3");
    expectKeptFocus();
}

// --- Rounding and display --------------------------------------------------------------------

struct DisplayCase {
    TCustomNumEdit::TNumericType type;
    TCustomNumEdit::TVarnDataType data;
    int maxLength;
    bool rounding;
    long double value;
    const char* shown;
};

class DisplayTest : public TaxEditTest, public testing::WithParamInterface<DisplayCase> {};

TEST_P(DisplayTest, FormatsTheValue) {
    const auto& c = GetParam();
    setUp(c.type, c.data, c.maxLength);
    edit->setUseRounding(c.rounding);
    edit->setNumValue(c.value);
    EXPECT_EQ(text(), c.shown);
}

constexpr auto kCents = TCustomNumEdit::ntCurrencyCnt;
constexpr auto kPercent = TCustomNumEdit::ntPercentage;
constexpr auto kDollarCents = TCustomNumEdit::vtDollarCents;

INSTANTIATE_TEST_SUITE_P(
    Values, DisplayTest,
    testing::Values(
        // Halves of the fraction go to the even cent; without rounding the fraction is dropped.
        DisplayCase{kCents, kDollarCents, 9, true, 12.125L, "12.12"},
        DisplayCase{kCents, kDollarCents, 9, true, 12.375L, "12.38"},
        DisplayCase{kCents, kDollarCents, 9, false, 12.99L, "12.00"},
        DisplayCase{kCents, kDollarCents, 9, true, ExplicitZero, "0.00"},
        DisplayCase{kCents, kDollarCents, 9, true, 0.0005L, ""},
        // Negative values are not rounded to even.
        DisplayCase{kCents, kDollarCents, 9, true, -12.125L, "-12.13"},
        DisplayCase{kPercent, kDollarCents, 9, true, 12.5L, "12.50%"},
        DisplayCase{kPercent, kDollarCents, 9, true, ExplicitZero, "0.00%"},
        DisplayCase{kPercent, kDollarCents, 9, true, 0, ""},
        DisplayCase{TCustomNumEdit::ntDec2, TCustomNumEdit::vtNone, 0, true, ExplicitZero,
                    "000.00"},
        DisplayCase{TCustomNumEdit::ntDec2, TCustomNumEdit::vtNone, 0, true, 1.5L, "001.50"},
        DisplayCase{TCustomNumEdit::ntNumeric, TCustomNumEdit::vtNone, 8, true, 42.6L, "43"},
        // Cents show at most 12 significant digits.
        DisplayCase{kCents, kDollarCents, 9, true, 1234567890.12L, "1234567890.12"},
        DisplayCase{kCents, kDollarCents, 9, true, 12345678901.55L, "12345678901.60"},
        DisplayCase{kCents, kDollarCents, 9, true, -12345678901.55L, "-12345678901.60"}));

TEST_F(TaxEditTest, RoundedValueIsTheShownValue) {
    setUp(kCents, kDollarCents, 9);
    edit->setNumValue(12.125L);
    EXPECT_NEAR(static_cast<double>(edit->NumValue()), 12.12, 1e-12);
}

TEST_F(TaxEditTest, PercentageDropsItsSignWhileFocused) {
    setUp(kPercent, kDollarCents, 9);
    edit->setNumValue(12.5L);
    EXPECT_EQ(text(), "12.50%");
    enter();
    EXPECT_EQ(text(), "12.50");
    EXPECT_EQ(edit->cursorPosition(), 0);
    EXPECT_FALSE(edit->hasSelectedText());
    leave();
    EXPECT_EQ(text(), "12.50%");
    EXPECT_DOUBLE_EQ(static_cast<double>(edit->NumValue()), 12.5);
    EXPECT_TRUE(dialogs.messages.empty());
}

// A refusal shown in a message box while the field keeps the focus (the screen's check of a
// date, say): when the box is closed the field's text is selected, so that the corrected date
// typed next replaces the refused one instead of being refused by the full field. The window
// system's part is played as a desktop plays it: the window loses the focus to the modal box
// and gets it back when the box closes.
TEST_F(TaxEditTest, AFieldAMessageInterruptsComesBackSelected) {
    setUp(TCustomNumEdit::ntDate, TCustomNumEdit::vtDate8);
    enter();
    type("01/07/1980");
    ASSERT_FALSE(edit->hasSelectedText());
    const auto windowAway = [&](bool modalBox) {
        QWidget box;
        box.setWindowModality(Qt::ApplicationModal);
        box.setAttribute(Qt::WA_ShowWithoutActivating);
        if (modalBox) box.show();
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(edit, &out);
        box.hide();
        QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(edit, &in);
    };
    windowAway(true);
    EXPECT_EQ(edit->selectedText(), edit->text());
    type("01/07/2000");
    EXPECT_EQ(text(), "01/07/2000");
    EXPECT_EQ(exits->count(), 0) << "the entry goes on";

    // The window merely losing the focus to another is no interruption.
    windowAway(false);
    EXPECT_FALSE(edit->hasSelectedText());
    EXPECT_EQ(exits->count(), 0);
}

TEST_F(TaxEditTest, SetTextValueReadsAndFormats) {
    setUp(kPercent, kDollarCents, 9);
    edit->SetTextValue(QStringLiteral("7.5"));
    EXPECT_EQ(text(), "7.50%");
    EXPECT_DOUBLE_EQ(static_cast<double>(edit->NumValue()), 7.5);
    edit->setNumericType(TCustomNumEdit::ntNone);
    edit->SetTextValue(QStringLiteral("7.5"));
    EXPECT_EQ(text(), "7.5");
}

TEST_F(TaxEditTest, DecimalsReformat) {
    edit->setNumericType(TCustomNumEdit::ntNumeric);
    edit->setMaxLength(10);
    edit->setNumValue(3.14159L);
    EXPECT_EQ(text(), "3");
    edit->setDecimals(3);
    EXPECT_EQ(text(), "3.142");
}

// --- Range, mandatory and character checks ---------------------------------------------------

TEST_F(TaxEditTest, OutOfRangeKeepsTheFocusUntilCorrected) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    edit->setMinVal(0);
    edit->setMaxVal(100);
    edit->setValidate(true);
    enter();
    type("150");
    leave();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Value must be between 0 and 100");
    EXPECT_EQ(dialogs.messages[0].kind, cgt::mkError);
    EXPECT_EQ(dialogs.messages[0].buttons, cgt::mbOK);
    EXPECT_EQ(text(), "150");
    expectKeptFocus();

    type("50"); // replaces the selection
    leave();
    EXPECT_EQ(text(), "50");
    EXPECT_FALSE(edit->hasFocus());
    EXPECT_EQ(exits->count(), 1);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(TaxEditTest, EnteredZeroPassesTheRange) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    edit->setMinVal(1);
    edit->setMaxVal(100);
    edit->setValidate(true);
    enter();
    type("0");
    leave();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(text(), "0");
    EXPECT_EQ(exits->count(), 1);
}

TEST_F(TaxEditTest, MandatoryAmountMustBeCompleted) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    edit->setMandatory(true);
    enter();
    leave();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{kMandatoryMessage});
    expectKeptFocus();
    type("5");
    leave();
    EXPECT_EQ(exits->count(), 1);
}

TEST_F(TaxEditTest, AnotherFieldDoesNotCheckWhileTheFocusReturns) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    edit->setMandatory(true);
    setUpField(*second, TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    second->setMandatory(true);
    QSignalSpy secondExits(second, &TCustomNumEdit::OnExit);
    enter();
    leave(); // Tab moves on to the second mandatory field
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{kMandatoryMessage});
    expectKeptFocus();
    EXPECT_EQ(secondExits.count(), 0);
}

TEST_F(TaxEditTest, AnotherWindowIsNoExit) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    edit->setMandatory(true);
    enter();
    QWidget popup;
    popup.show();
    popup.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&popup));
    EXPECT_FALSE(edit->hasFocus());
    popup.hide();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(edit->palette().color(QPalette::Base), TCustomNumEdit::FocusColor());
    leave();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{kMandatoryMessage});
}

TEST_F(TaxEditTest, InvalidCharacterPastedIntoText) {
    // Presets apply when the kind changes: ntNone from another kind takes the text set.
    edit->setNumericType(TCustomNumEdit::ntPhone);
    edit->setNumericType(TCustomNumEdit::ntNone);
    enter();
    type("ab~c");
    EXPECT_EQ(text(), "abc");
    EXPECT_EQ(dialogs.beeps, 1);
    edit->setText(QStringLiteral("a~b"));
    leave();
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{kInvalidChars});
    expectKeptFocus();
}

// --- Character sets and keys -----------------------------------------------------------------

TEST_F(TaxEditTest, BadValidCharsEmptiesTheSet) {
    edit->setNumericType(TCustomNumEdit::ntCurrency);
    edit->setValidChars(QStringLiteral("0..9,abc"));
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Bad ValidChars property 0..9,abc !"});
    EXPECT_TRUE(edit->CharSet().none());
    enter();
    type("12");
    EXPECT_EQ(text(), "");
    EXPECT_EQ(dialogs.beeps, 2);
}

TEST_F(TaxEditTest, FreeTextWithoutSetTakesAnyKey) {
    enter();
    type("~{x}|");
    EXPECT_EQ(text(), "~{x}|");
    EXPECT_EQ(dialogs.beeps, 0);
    leave();
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TaxEditTest, QuestionAllowsYSpaceAndN) {
    setUp(TCustomNumEdit::ntNone, TCustomNumEdit::vtQuestion);
    EXPECT_EQ(edit->maxLength(), 1);
    enter();
    type("yxN");
    EXPECT_EQ(text(), "N");
    EXPECT_EQ(dialogs.beeps, 2);
    clear();
    type(" ");
    EXPECT_EQ(text(), " ");
}

TEST_F(TaxEditTest, ListedCommaAndSigns) {
    edit->setNumericType(TCustomNumEdit::ntSpecial);
    edit->setValidChars(QStringLiteral(" ,,,0..9,-,+"));
    enter();
    type("1, -2+a.");
    EXPECT_EQ(text(), "1, -2+");
    EXPECT_EQ(dialogs.beeps, 2);
}

TEST_F(TaxEditTest, CapitaliseWordsWhileTyping) {
    edit->setCapitaliseWords(true);
    enter();
    type("the quick  brown fOx");
    EXPECT_EQ(text(), "The Quick  Brown FOx");
    edit->setNumericType(TCustomNumEdit::ntPhone);
    clear();
    edit->setValidChars(QStringLiteral("a..z, "));
    type("a b");
    EXPECT_EQ(text(), "a b"); // only free text capitalises
}

TEST_F(TaxEditTest, ControlKeysPassUnfiltered) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    enter();
    type("123");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(text(), "2");
    EXPECT_EQ(dialogs.beeps, 0);
}

// --- Dates -----------------------------------------------------------------------------------

struct DateCase {
    const char* typed;
    const char* shown;   // nullptr: refused with the message
    const char* message; // why it is refused
};

class DateEntryTest : public TaxEditTest, public testing::WithParamInterface<DateCase> {};

TEST_P(DateEntryTest, NormalisesOrRefuses) {
    const auto& c = GetParam();
    setUp(TCustomNumEdit::ntDate, TCustomNumEdit::vtDate8);
    EXPECT_EQ(edit->maxLength(), 10);
    enter();
    type(c.typed);
    leave();
    if (c.shown) {
        EXPECT_EQ(text(), c.shown);
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(exits->count(), 1);
        EXPECT_GT(edit->ParsedDate(), TCustomNumEdit::kNoDate);
    } else {
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(dialogs.beeps, 1);
        EXPECT_EQ(text(), c.typed);
        expectKeptFocus();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dates, DateEntryTest,
    testing::Values(DateCase{"010203", "01/02/2003", ""}, DateCase{"01022003", "01/02/2003", ""},
                    DateCase{"1/2/03", "01/02/2003", ""}, DateCase{"29022004", "29/02/2004", ""},
                    // Two-digit years fall in the hundred years from 89 years back.
                    DateCase{"311299", "31/12/1999", ""}, DateCase{"010190", "01/01/1990", ""},
                    // Well formed, but no such day: told so, not asked for the form.
                    DateCase{"31022004", nullptr, "The date 31/02/2004 does not exist."},
                    DateCase{"29022003", nullptr, "The date 29/02/2003 does not exist."},
                    DateCase{"13/13/2003", nullptr, "The date 13/13/2003 does not exist."},
                    DateCase{"310203", nullptr, "The date 31/02/2003 does not exist."},
                    DateCase{"0102034", nullptr, kDateFormatMessage},
                    DateCase{"1/2/", nullptr, kDateFormatMessage}));

TEST_F(TaxEditTest, EmptyDateExits) {
    setUp(TCustomNumEdit::ntDate, TCustomNumEdit::vtDate8);
    edit->SetTextValue(QStringLiteral("01/02/2003"));
    enter();
    clear();
    leave();
    EXPECT_EQ(text(), "");
    EXPECT_EQ(edit->ParsedDate(), TCustomNumEdit::kNoDate);
    EXPECT_EQ(exits->count(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TaxEditTest, MandatoryDateComesBack) {
    setUp(TCustomNumEdit::ntDate, TCustomNumEdit::vtDate8);
    edit->setMandatory(true);
    edit->setText(QString::fromLatin1("  /  /    "));
    enter();
    leave();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{kMandatoryMessage});
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(text(), "");
}

TEST_F(TaxEditTest, DateLimitsMoveTheStoredDate) {
    edit->setDateValue(38000);
    edit->setMaxDate(37000);
    EXPECT_EQ(edit->DateValue(), 37000);
    edit->setMinDate(37500);
    EXPECT_EQ(edit->DateValue(), 37500);
    edit->setValidateDate(true);
    EXPECT_FALSE(edit->ValidateDate());
}

// --- Identifiers -----------------------------------------------------------------------------

struct IdentifierCase {
    TCustomNumEdit::TNumericType type;
    const char* typed;
    const char* result; // the formatted text, or the message when refused
    bool valid;
};

class IdentifierEntryTest : public TaxEditTest,
                            public testing::WithParamInterface<IdentifierCase> {};

TEST_P(IdentifierEntryTest, ChecksOnExit) {
    const auto& c = GetParam();
    edit->setNumericType(c.type);
    enter();
    type(c.typed);
    leave();
    if (c.valid) {
        EXPECT_EQ(text(), c.result);
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(exits->count(), 1);
        // Entry strips the groups again.
        enter();
        EXPECT_EQ(text(), c.typed);
    } else {
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>{c.result});
        EXPECT_EQ(dialogs.beeps, 1);
        EXPECT_EQ(text(), c.typed);
        expectKeptFocus();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, IdentifierEntryTest,
    testing::Values(
        IdentifierCase{TCustomNumEdit::ntTFN, "123456782", "123 456 782", true},
        IdentifierCase{TCustomNumEdit::ntTFN, "123456789", "Invalid Tax File Number (TFN)", false},
        IdentifierCase{TCustomNumEdit::ntABN, "51824753556", "51 824 753 556", true},
        IdentifierCase{TCustomNumEdit::ntABN, "51824753557",
                       "Invalid Australian Business Number (ABN)", false},
        IdentifierCase{TCustomNumEdit::ntACN, "010499966", "010 499 966", true},
        IdentifierCase{TCustomNumEdit::ntACN, "000000000", "Invalid ACN/ARBN", false},
        IdentifierCase{TCustomNumEdit::ntSFN, "876543218", "8765 432 18", true},
        IdentifierCase{TCustomNumEdit::ntSFN, "876543217", "Invalid SFN", false},
        IdentifierCase{TCustomNumEdit::ntDIN, "12345678918", "12 345 678 918", true},
        IdentifierCase{TCustomNumEdit::ntDIN, "12345678",
                       "Invalid Document Indentification Number (DIN)", false},
        IdentifierCase{TCustomNumEdit::ntEGN, "12345677", "123 456 77", true},
        IdentifierCase{TCustomNumEdit::ntEGN, "00000000", "Invalid Employer group number", false}));

// --- Focus colour and painting ---------------------------------------------------------------

TEST_F(TaxEditTest, FocusColourWhileEditing) {
    const QColor normal = edit->palette().color(QPalette::Base);
    enter();
    EXPECT_EQ(edit->palette().color(QPalette::Base), TCustomNumEdit::FocusColor());
    EXPECT_EQ(TCustomNumEdit::FocusColor(), QColor(251, 230, 153));
    leave();
    EXPECT_EQ(edit->palette().color(QPalette::Base), normal);

    edit->setChangeFocusColor(false);
    enter();
    EXPECT_EQ(edit->palette().color(QPalette::Base), normal);
}

TEST_F(TaxEditTest, DefaultFontAndSettings) {
    // Arial, resolved to its installed metric twin.
    EXPECT_EQ(QFontInfo(edit->font()).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(edit->font().pointSize(), 10);
    EXPECT_FALSE(edit->font().bold());
    EXPECT_TRUE(edit->UseRounding());
    EXPECT_TRUE(edit->ChangeFocusColor());
    EXPECT_EQ(edit->NumericType(), TCustomNumEdit::ntNone);
    EXPECT_EQ(edit->VarnDataType(), TCustomNumEdit::vtAddressText);
    EXPECT_TRUE(edit->ValidChars().isEmpty());
}

// Columns of the rendered field that hold text pixels (dark, or the given colour test).
struct Ink {
    int left = -1;
    int right = -1;
    int darkest = 255;
};

Ink FindInk(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    Ink ink;
    // Skip the one-pixel border.
    for (int x = 1; x < image.width() - 1; ++x) {
        for (int y = 1; y < image.height() - 1; ++y) {
            const int gray = qGray(image.pixel(x, y));
            if (gray < 200) {
                if (ink.left < 0) ink.left = x;
                ink.right = x;
                ink.darkest = std::min(ink.darkest, gray);
            }
        }
    }
    return ink;
}

TEST_F(TaxEditTest, UnfocusedTextSitsByAlignment) {
    setUp(TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8);
    edit->setNumValue(1234);
    const QFontMetrics metrics(edit->font());
    const int textWidth = metrics.horizontalAdvance(QStringLiteral("1234"));

    // Right: ends 3 pixels from the right edge (within the glyphs' side bearings).
    Ink ink = FindInk(*edit);
    ASSERT_GE(ink.left, 0);
    EXPECT_NEAR(ink.right, edit->width() - 3, 3);
    EXPECT_NEAR(ink.left, edit->width() - 3 - textWidth, 3);

    edit->setAlignment(TCustomNumEdit::taLeftJustify);
    ink = FindInk(*edit);
    EXPECT_NEAR(ink.left, 3, 2);

    edit->setAlignment(TCustomNumEdit::taCenter);
    ink = FindInk(*edit);
    EXPECT_NEAR(ink.left, (edit->width() - textWidth - 1) / 2, 2);

    // A disabled field greys its text.
    const int enabledDarkest = ink.darkest;
    edit->setEnabled(false);
    ink = FindInk(*edit);
    ASSERT_GE(ink.left, 0);
    EXPECT_GT(ink.darkest, enabledDarkest + 40);
}

// --- Form files ------------------------------------------------------------------------------

struct FormField {
    TTaxEdit* Ui_TaxEditFields::*field;
    const char* validChars;
    TCustomNumEdit::TAlignment alignment;
    int decimals;
    int maxLength;
};

class FormFileTest : public testing::TestWithParam<FormField> {
protected:
    void SetUp() override { ui.setupUi(&form); }
    cgt::test::ScriptedDialogs dialogs;
    QWidget form;
    Ui::TaxEditFields ui;
};

// The form gives the properties in declaration order: the explicit ValidChars overrides the
// kind's preset, and the data type's preset overrides both.
TEST_P(FormFileTest, PresetsInDocumentOrder) {
    const auto& c = GetParam();
    const TTaxEdit& field = *(ui.*c.field);
    EXPECT_EQ(field.ValidChars().toStdString(), c.validChars) << field.objectName().toStdString();
    EXPECT_EQ(field.Alignment(), c.alignment) << field.objectName().toStdString();
    EXPECT_EQ(field.Decimals(), c.decimals) << field.objectName().toStdString();
    EXPECT_EQ(field.maxLength(), c.maxLength) << field.objectName().toStdString();
    EXPECT_TRUE(dialogs.messages.empty());
}

constexpr int kNoLimit = 32767;
using E = TCustomNumEdit;

INSTANTIATE_TEST_SUITE_P(
    Fields, FormFileTest,
    testing::Values(
        FormField{&Ui_TaxEditFields::amount, "0..9", E::taRightJustify, 0, 8},
        FormField{&Ui_TaxEditFields::negativeAmount, "-,0..9", E::taRightJustify, 0, 8},
        FormField{&Ui_TaxEditFields::cents, ".,0..9", E::taRightJustify, 2, 9},
        FormField{&Ui_TaxEditFields::percentage, ".,0..9", E::taRightJustify, 2, 9},
        FormField{&Ui_TaxEditFields::date, "0..9,/", E::taLeftJustify, 0, 10},
        FormField{&Ui_TaxEditFields::tfn, "0..9", E::taLeftJustify, 0, kNoLimit},
        // The construction data type applies no preset: no set at all.
        FormField{&Ui_TaxEditFields::description, "", E::taLeftJustify, 0, kNoLimit},
        FormField{&Ui_TaxEditFields::explicitChars, "0..9,.", E::taRightJustify, 0, kNoLimit},
        FormField{&Ui_TaxEditFields::overriddenChars, "0..9", E::taRightJustify, 0, kNoLimit},
        FormField{&Ui_TaxEditFields::addressChars, "A..Z, ", E::taCenter, 0, kNoLimit}));

TEST_F(FormFileTest, FieldsBehaveAsTheirSettings) {
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_TRUE(ui.description->CapitaliseWords());
    EXPECT_TRUE(ui.date->Mandatory());
    EXPECT_TRUE(ui.percentage->Validate());
    EXPECT_EQ(ui.percentage->MaxVal(), 100.0);

    // A description takes any character and capitalises its words.
    ui.description->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClicks(ui.description, QStringLiteral("unit trust ~#1"));
    EXPECT_EQ(ui.description->text(), QStringLiteral("Unit Trust ~#1"));

    // A percentage above its maximum keeps the focus.
    ui.percentage->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClicks(ui.percentage, QStringLiteral("150"));
    QTest::keyClick(ui.percentage, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Value must be between 0 and 100"});
    EXPECT_TRUE(ui.percentage->hasFocus());
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(ui.overriddenChars->CharSet().test('5'));
    EXPECT_FALSE(ui.overriddenChars->CharSet().test('+'));
}

} // namespace
