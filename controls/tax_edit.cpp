#include "controls/tax_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/number_format.h"
#include "controls/font_map.h"
#include "store/dialogs.h"
#include "store/field_store.h"

namespace {

using cgt::Extended;

constexpr char kMandatoryMessage[] = "This field is mandatory and MUST be completed";
constexpr char kInvalidCharsMessage[] = "Result contains invalid characters";

// Character lists of the presets.
constexpr char kAnyTextChars[] =
    "A..Z,a..z,0..9,`,!,@,#,$,%,&,(,),_,-,=,{,},[,],|,\\,;,:,',\",.,?, ,/,,";
constexpr char kAddressChars[] = "A..Z,a..z,0..9,&,',/,-,(, ,)";
constexpr char kNameChars[] = "A..Z,a..z,0..9,`,!,@,#,$,%,&,(,),_,-,=,{,},[,],\\,;,:,',\",.,?, ,/";
constexpr char kRestrictedNameChars[] = "A..Z,a..z,0..9,-, ,'";
constexpr char kTextChars[] = "A..Z,a..z,0..9,!,@,$,%,&,*,(,),-,=,[,],;,:,',\",,,.,?, ,/";

constexpr int kUnchanged = -1;

// The field that is taking its focus back after a failed exit. Another field that receives the
// focus meanwhile neither enters nor checks its exit.
TCustomNumEdit* g_takingBack = nullptr;

const cgt::CharSet& NumberChars() {
    static const cgt::CharSet set = cgt::ParseValidChars("-,0..9,.").set;
    return set;
}

const cgt::CharSet& UnsignedNumberChars() {
    static const cgt::CharSet set = cgt::ParseValidChars("0..9,.").set;
    return set;
}

bool IsSmall(Extended value) {
    return std::fabs(value) <= 0.001L;
}

Qt::Alignment ToQt(TCustomNumEdit::TAlignment alignment) {
    switch (alignment) {
    case TCustomNumEdit::taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TCustomNumEdit::taCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TCustomNumEdit::taLeftJustify:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

bool IsIdentifierKind(TCustomNumEdit::TNumericType type) {
    return type >= TCustomNumEdit::ntTFN && type <= TCustomNumEdit::ntEGN;
}

// The kinds whose value is read from the text.
bool ReadsNumber(TCustomNumEdit::TNumericType type) {
    switch (type) {
    case TCustomNumEdit::ntCurrency:
    case TCustomNumEdit::ntCurrencyCnt:
    case TCustomNumEdit::ntPercentage:
    case TCustomNumEdit::ntNumeric:
    case TCustomNumEdit::ntCPI:
    case TCustomNumEdit::ntDec2:
        return true;
    default:
        return false;
    }
}

} // namespace

TCustomNumEdit::TCustomNumEdit(QWidget* parent) : QLineEdit(parent), hint_(new TEntryHint(this)) {
    setFont(cgt::DefaultControlFont()); // Arial 10 pt, through its metric twin
    normalColor_ = palette().color(QPalette::Active, QPalette::Base);
    QLineEdit::setAlignment(ToQt(alignment_));
    maxLength_ = QLineEdit::maxLength();
}

TCustomNumEdit::~TCustomNumEdit() {
    if (g_takingBack == this) g_takingBack = nullptr;
}

void TCustomNumEdit::setMaxLength(int length) {
    maxLength_ = std::clamp(length, 0, 32767);
    // Typed keys are held to the limit by the key filter; the edit's own limit only grows
    // beyond it to show a longer value or a minus sign in front of a full amount.
    QLineEdit::setMaxLength(maxLength_);
}

bool TCustomNumEdit::signRoom() const {
    switch (numericType_) {
    case ntCurrency:
    case ntCurrencyCnt:
    case ntNumeric:
    case ntCPI:
        return cgt::InSet(charSet_, '-');
    default:
        return false;
    }
}

std::string TCustomNumEdit::Text8() const {
    return text().toLatin1().toStdString();
}

void TCustomNumEdit::writeText(const std::string& text) {
    const QString value = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    if (value == this->text()) return;
    // The limit is for typing: a value written here is never cut short.
    if (value.size() > QLineEdit::maxLength()) QLineEdit::setMaxLength(value.size());
    setText(value);
}

void TCustomNumEdit::setAlignment(TAlignment alignment) {
    alignment_ = alignment;
    if (!entered_) QLineEdit::setAlignment(ToQt(alignment));
    update();
}

void TCustomNumEdit::setDecimals(int decimals) {
    decimals_ = std::clamp(decimals, 0, 0xFFFF);
    FormatText();
}

void TCustomNumEdit::setMaxDate(double date) {
    maxDate_ = date;
    if (maxDate_ < dateValue_) dateValue_ = maxDate_;
}

void TCustomNumEdit::setMinDate(double date) {
    minDate_ = date;
    if (minDate_ > dateValue_) dateValue_ = minDate_;
}

void TCustomNumEdit::setValidChars(const QString& text) {
    parseValidChars(text.toLatin1().toStdString());
}

void TCustomNumEdit::parseValidChars(std::string_view text) {
    cgt::ValidCharsParse parse = cgt::ParseValidChars(text);
    validChars_ = std::move(parse.text);
    charSet_ = parse.set;
    if (!parse.ok) cgt::MsgBox(cgt::BadValidCharsMessage(validChars_), cgt::mkError, cgt::mbOK);
}

void TCustomNumEdit::applyPreset(int decimals, int alignment, int maxLength,
                                 const char* validChars) {
    if (decimals != kUnchanged) decimals_ = decimals;
    if (alignment != kUnchanged) setAlignment(static_cast<TAlignment>(alignment));
    if (maxLength != kUnchanged) setMaxLength(maxLength);
    if (validChars) parseValidChars(validChars);
}

void TCustomNumEdit::setNumericType(TNumericType type) {
    if (type == numericType_) return;
    numericType_ = type;
    applyNumericTypePresets();
}

void TCustomNumEdit::applyNumericTypePresets() {
    constexpr int u = kUnchanged;
    switch (numericType_) {
    case ntNone:
        applyPreset(0, taLeftJustify, u, kAnyTextChars);
        break;
    case ntCurrency:
        applyPreset(0, taRightJustify, u, "-,0..9");
        break;
    case ntCurrencyCnt:
        applyPreset(2, taRightJustify, u, "-,0..9,.");
        break;
    case ntPercentage:
        applyPreset(u, taRightJustify, u, "-,0..9,.,%");
        break;
    case ntDate:
        applyPreset(u, taLeftJustify, 10, "0..9,/");
        break;
    case ntSpecial:
        applyPreset(0, u, u, nullptr);
        break;
    case ntNumeric:
        applyPreset(0, u, u, "0..9");
        break;
    case ntPhone:
        applyPreset(u, taLeftJustify, u, "0..9");
        break;
    case ntCPI:
        applyPreset(u, taRightJustify, u, "0..9,.");
        break;
    case ntTFN:
    case ntABN:
    case ntACN:
    case ntSFN:
    case ntDIN:
    case ntEGN:
    case ntPCode:
        applyPreset(0, taLeftJustify, u, "0..9");
        break;
    case ntDec2:
        applyPreset(2, taRightJustify, 6, "0..9,.");
        break;
    }
}

void TCustomNumEdit::setVarnDataType(TVarnDataType type) {
    if (type == varnDataType_) return;
    varnDataType_ = type;
    applyVarnDataTypePresets();
}

void TCustomNumEdit::applyVarnDataTypePresets() {
    constexpr int u = kUnchanged;
    switch (varnDataType_) {
    case vtAddressText:
        applyPreset(0, taLeftJustify, u, kAddressChars);
        break;
    case vtDate:
        applyPreset(0, taLeftJustify, 8, "0..9");
        break;
    case vtDate8:
        applyPreset(0, taLeftJustify, 10, "0..9,/");
        break;
    case vtDollar:
        applyPreset(0, taRightJustify, u, "0..9");
        break;
    case vtDollarCents:
        applyPreset(2, taRightJustify, u, ".,0..9");
        break;
    case vtDollarNegative:
        applyPreset(0, taRightJustify, u, "-,0..9");
        break;
    case vtInteger:
        applyPreset(0, taLeftJustify, u, "0..9");
        break;
    case vtNameText:
        applyPreset(0, taLeftJustify, u, kNameChars);
        break;
    case vtNone:
        break;
    case vtQuestion:
        applyPreset(0, taLeftJustify, 1, "Y, ,N");
        break;
    case vtRestrictedNameText:
        applyPreset(0, taLeftJustify, u, kRestrictedNameChars);
        break;
    case vtText:
        applyPreset(0, taLeftJustify, u, kTextChars);
        break;
    }
}

// Reads the value from the text; false when the filtered text is no number (two separators
// pasted in), and the value is then left as it was.
bool TCustomNumEdit::readValue() {
    std::string text = Text8();
    // A minus sign after the first place moves to the front.
    if (text.find('-', 1) != std::string::npos) {
        text = "-" + cgt::FilterChars(text, UnsignedNumberChars());
        writeText(text);
    }
    const std::string s = cgt::FilterChars(text, NumberChars());
    if (s == "0" || s == "0.00" || s == "000.00" || s == "0.000") {
        numValue_ = cgt::ExplicitZero;
    } else if (s.empty() || s == "-") {
        numValue_ = 0;
    } else if (auto value = cgt::ParseNumber(s)) {
        numValue_ = *value;
    } else {
        return false;
    }
    return true;
}

Extended TCustomNumEdit::NumValue() {
    if (ReadsNumber(numericType_)) readValue();
    return numValue_;
}

void TCustomNumEdit::setNumValue(Extended value) {
    numValue_ = value;
    FormatText();
}

void TCustomNumEdit::FormatText() {
    Extended value = numValue_;
    switch (numericType_) {
    case ntCurrency:
    case ntCurrencyCnt:
    case ntPercentage:
    case ntCPI:
    case ntDec2:
        if (decimals_ > 0) {
            // Only the fraction is rounded, halves to even; negative values, zero and the
            // explicit zero keep every decimal.
            const Extended whole = std::trunc(value);
            Extended fraction = 0;
            if (useRounding_) {
                const Extended scale = std::pow(10.0L, static_cast<Extended>(decimals_));
                fraction = cgt::RoundHalfEven((value - whole) * scale) / scale;
            }
            if (value > 0.005L) {
                value = whole + fraction;
                numValue_ = value;
            }
        }
        break;
    default:
        break;
    }

    const int precision = maxLength();
    switch (numericType_) {
    case ntCurrency:
        writeText(IsSmall(value) ? "" : cgt::FormatFixed(value, 18, 0));
        break;
    case ntCurrencyCnt:
        writeText(IsSmall(value) ? "" : cgt::FormatCents(value));
        break;
    case ntPercentage:
        if (IsSmall(value))
            writeText("");
        else if (cgt::IsExplicitZero(std::fabs(value)))
            writeText(cgt::FormatFixed(0, 18, decimals_) + "%");
        else
            writeText(cgt::FormatFixed(value, 18, 2) + "%");
        break;
    case ntNumeric:
    case ntCPI:
        writeText(IsSmall(value) ? "" : cgt::FormatFixed(value, precision, decimals_));
        break;
    case ntDec2: {
        std::string text;
        if (!IsSmall(value)) {
            text = cgt::FormatFixed(value, precision, decimals_);
            if (static_cast<int>(text.size()) < precision)
                text.insert(0, static_cast<std::size_t>(precision) - text.size(), '0');
        }
        writeText(text);
        break;
    }
    case ntDate:
        writeText(parsedDate_ > kNoDate ? cgt::FormatDate(parsedDate_) : "");
        break;
    case ntTFN:
        writeText(cgt::FormatTFN(Text8()));
        break;
    case ntABN:
        writeText(cgt::FormatABN(Text8()));
        break;
    case ntACN:
        writeText(cgt::FormatACN(Text8()));
        break;
    case ntSFN:
        writeText(cgt::FormatSFN(Text8()));
        break;
    case ntDIN:
        writeText(cgt::FormatDIN(Text8()));
        break;
    case ntEGN:
        writeText(cgt::FormatEGN(Text8()));
        break;
    case ntNone:
    case ntSpecial:
    case ntPhone:
    case ntPCode:
        break;
    }
}

void TCustomNumEdit::UnformatText() {
    writeText(cgt::FilterChars(Text8(), NumberChars()));
}

void TCustomNumEdit::SetTextValue(const QString& text) {
    setText(text);
    switch (numericType_) {
    case ntCurrency:
    case ntCurrencyCnt:
    case ntPercentage:
    case ntNumeric:
    case ntCPI:
        readValue();
        FormatText();
        break;
    case ntDate:
        // A stored date stays the field's date until the user changes it.
        if (auto date = cgt::ParseDate(cgt::TrimText(Text8())))
            parsedDate_ = *date;
        else
            parsedDate_ = kNoDate;
        break;
    default:
        break;
    }
}

bool TCustomNumEdit::CheckValue(Extended value) {
    const std::string text = Text8();
    const bool empty = cgt::TrimText(text).empty();
    if (mandatory_ && empty) {
        cgt::MsgBox(kMandatoryMessage, cgt::mkError, cgt::mbOK);
        return false;
    }
    if (validate_ && !empty && (value < minVal_ || value > maxVal_) &&
        !cgt::IsExplicitZero(value)) {
        cgt::MsgBox(cgt::RangeMessage(minVal_, maxVal_), cgt::mkError, cgt::mbOK);
        return false;
    }
    if (!empty && charSet_.any()) {
        for (char c : text) {
            if (cgt::InSet(charSet_, c) || (numericType_ == ntPercentage && c == '%')) continue;
            cgt::MsgBox(kInvalidCharsMessage, cgt::mkError, cgt::mbOK);
            return false;
        }
    }
    return true;
}

bool TCustomNumEdit::isFull() const {
    if (hasSelectedText()) return false;
    const QString shown = text();
    const int sign = signRoom() && shown.startsWith(QLatin1Char('-')) ? 1 : 0;
    return shown.size() - sign >= maxLength_;
}

bool TCustomNumEdit::droppingDecimals() const {
    return decimalsDroppedAt_ >= 0 && cursorPosition() == decimalsDroppedAt_ &&
           text() == decimalsDroppedText_ && !hasSelectedText();
}

TCustomNumEdit::KeyDecision TCustomNumEdit::filterKey(char c) {
    const auto refuse = [](cgt::KeyRefusal reason) {
        return KeyDecision{KeyAction::Refuse, reason};
    };
    const std::string text = Text8();
    const bool wholeNumber = (numericType_ == ntCurrency || numericType_ == ntNumeric) &&
                             decimals_ == 0 && !cgt::InSet(charSet_, '.');
    // Digits straight after a refused decimal point are cents, never more dollars.
    if (wholeNumber && c >= '0' && c <= '9' && droppingDecimals())
        return refuse(cgt::KeyRefusal::Cents);
    if (!(numericType_ == ntNone && charSet_.none()) && !cgt::InSet(charSet_, c)) {
        if (wholeNumber && c == '.') {
            decimalsDroppedAt_ = cursorPosition();
            decimalsDroppedText_ = this->text();
            return refuse(cgt::KeyRefusal::Cents);
        }
        return refuse(cgt::KeyRefusal::NotAllowed);
    }

    switch (numericType_) {
    case ntCurrency:
    case ntCurrencyCnt:
    case ntNumeric:
    case ntCPI:
        if ((c == '-' || c == '.') && text.find(c) != std::string::npos)
            return refuse(cgt::KeyRefusal::Repeated);
        if (c == '-' && !text.empty()) {
            // The minus sign always lands in front, a full amount included.
            const int cursor = cursorPosition();
            writeText("-" + text);
            setCursorPosition(cursor + 1);
            return {KeyAction::Consumed, cgt::KeyRefusal::None};
        }
        // Room for the separator and the decimals stays free until the separator is typed.
        if (decimals_ > 0 && c != '-' && c != '.' && text.find('.') == std::string::npos &&
            static_cast<int>(text.size()) > maxLength_ - decimals_ - 2)
            return refuse(cgt::KeyRefusal::WholePartFull);
        break;
    case ntNone:
    case ntSpecial:
        if (capitaliseWords_ && c >= 'a' && c <= 'z' && (text.empty() || text.back() == ' '))
            return {isFull() ? KeyAction::Refuse : KeyAction::Upper, cgt::KeyRefusal::Full};
        break;
    default:
        break;
    }
    if (isFull()) return refuse(cgt::KeyRefusal::Full);
    return {};
}

cgt::EntryShape TCustomNumEdit::entryShape() const {
    cgt::EntryShape shape;
    shape.chars = charSet_;
    shape.maxLength = maxLength_;
    shape.decimals = decimals_;
    switch (numericType_) {
    case ntCurrency:
        shape.kind = cgt::EntryKind::WholeDollars;
        break;
    case ntCurrencyCnt:
        shape.kind = cgt::EntryKind::DollarsAndCents;
        break;
    case ntPercentage:
        shape.kind = cgt::EntryKind::Percentage;
        break;
    case ntDate:
        shape.kind = cgt::EntryKind::Date;
        break;
    case ntNone:
    case ntSpecial:
        shape.kind = cgt::EntryKind::Text;
        break;
    default:
        shape.kind = cgt::EntryKind::Digits;
        break;
    }
    return shape;
}

void TCustomNumEdit::refuseKey(char c, cgt::KeyRefusal reason) {
    cgt::Dialogs().Beep();
    hint_->Show(QString::fromStdString(cgt::RefusedKeyHint(entryShape(), reason, c)));
}

QString TCustomNumEdit::HintText() const {
    return hint_->Text();
}

void TCustomNumEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool shortcut =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (typed.isEmpty() || shortcut) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Control characters (Backspace, Enter, Escape and the like) are the edit's own.
    for (QChar ch : typed) {
        if (ch.unicode() < 32 || ch.unicode() == 127) {
            hint_->Hide();
            QLineEdit::keyPressEvent(event);
            return;
        }
    }
    event->accept();
    const char first = static_cast<char>(typed[0].unicode() > 255 ? 0 : typed[0].unicode());
    if (isReadOnly()) {
        refuseKey(first, cgt::KeyRefusal::ReadOnly);
        return;
    }
    // The return keeps 8-bit text: a character beyond Latin-1 cannot be stored.
    for (QChar ch : typed) {
        if (ch.unicode() > 255) {
            refuseKey(0, cgt::KeyRefusal::NotAllowed);
            return;
        }
    }
    if (typed.size() != 1) {
        // Composed input: every character must be allowed and fit.
        const bool anyKey = numericType_ == ntNone && charSet_.none();
        for (QChar ch : typed) {
            if (!anyKey && !cgt::InSet(charSet_, char(ch.unicode()))) {
                refuseKey(char(ch.unicode()), cgt::KeyRefusal::NotAllowed);
                return;
            }
        }
        if (!hasSelectedText() && text().size() + typed.size() > maxLength_) {
            refuseKey(first, cgt::KeyRefusal::Full);
            return;
        }
        hint_->Hide();
        QLineEdit::keyPressEvent(event);
        return;
    }

    const KeyDecision decision = filterKey(first);
    if (decision.action == KeyAction::Refuse) {
        refuseKey(first, decision.reason);
        return;
    }
    hint_->Hide();
    decimalsDroppedAt_ = -1;
    switch (decision.action) {
    case KeyAction::Pass:
        QLineEdit::keyPressEvent(event);
        break;
    case KeyAction::Upper: {
        QKeyEvent upper(event->type(), event->key(), event->modifiers() | Qt::ShiftModifier,
                        typed.toUpper(), event->isAutoRepeat(),
                        static_cast<quint16>(event->count()));
        QLineEdit::keyPressEvent(&upper);
        event->setAccepted(upper.isAccepted());
        break;
    }
    case KeyAction::Refuse:
    case KeyAction::Consumed:
        break;
    }
}

QColor TCustomNumEdit::restingColor() const {
    // A field that only shows a result looks like the window behind it, not like an entry.
    return isReadOnly() ? palette().color(QPalette::Active, QPalette::Window) : normalColor_;
}

void TCustomNumEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange && !entered_)
        setFillColors(restingColor(), Qt::black);
}

void TCustomNumEdit::setFillColors(const QColor& base, const QColor& text) {
    QPalette pal = palette();
    pal.setColor(QPalette::Active, QPalette::Base, base);
    pal.setColor(QPalette::Inactive, QPalette::Base, base);
    pal.setColor(QPalette::Active, QPalette::Text, text);
    pal.setColor(QPalette::Inactive, QPalette::Text, text);
    setPalette(pal);
}

void TCustomNumEdit::focusInEvent(QFocusEvent* event) {
    // The window coming back, or a visit while another field takes its focus back.
    if (entered_ || passive_) {
        QLineEdit::focusInEvent(event);
        if (entered_ && std::exchange(interrupted_, false)) selectAll();
        return;
    }
    if (g_takingBack && g_takingBack != this) {
        passive_ = true;
        QLineEdit::focusInEvent(event);
        return;
    }

    if (changeFocusColor_ && !isReadOnly()) setFillColors(FocusColor(), Qt::black);
    const bool returning = refocusing_;
    refocusing_ = false;
    // The user moves in by Tab, a shortcut or the mouse; a field given the focus otherwise is
    // given back after a refusal (while the window may still be inactive behind the message):
    // its text is selected, so that the correction typed next replaces it.
    const Qt::FocusReason reason = event->reason();
    const bool givenBack =
        returning || reason == Qt::OtherFocusReason || reason == Qt::ActiveWindowFocusReason;
    // A returning entry keeps the text as typed.
    if (!returning && (numericType_ == ntCurrency || numericType_ == ntCurrencyCnt ||
                       numericType_ == ntPercentage || IsIdentifierKind(numericType_)))
        UnformatText();
    QLineEdit::setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    entered_ = true;
    QLineEdit::focusInEvent(event);
    if (givenBack) {
        selectAll();
    } else {
        deselect();
        setCursorPosition(0);
    }
    if (!returning) emit OnEnter();
}

void TCustomNumEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    // Another window or a popup taking the keyboard is no exit. A message box over the window
    // interrupts the entry (a refusal of it, most often): the field comes back with its text
    // selected, so that what is typed next replaces it.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
        reason == Qt::MenuBarFocusReason) {
        if (reason == Qt::ActiveWindowFocusReason && entered_ && QApplication::activeModalWidget())
            interrupted_ = true;
        return;
    }
    if (passive_) {
        passive_ = false;
        return;
    }
    if (!entered_) return;
    entered_ = false;
    interrupted_ = false;
    hint_->Hide();
    decimalsDroppedAt_ = -1;

    if (changeFocusColor_) setFillColors(restingColor(), Qt::black);
    QLineEdit::setAlignment(ToQt(alignment_));

    // Set before any message box opens, so that the field which holds the focus meanwhile
    // stays passive.
    g_takingBack = this;
    const ExitResult result = exitChecks();
    if (result == ExitResult::Fail) {
        takeFocusBack();
        return;
    }
    if (result == ExitResult::PassAndTakeBack)
        takeFocusBack();
    else if (g_takingBack == this)
        g_takingBack = nullptr;
    FormatText();
    emit OnExit();
}

void TCustomNumEdit::failExit(const std::string& message, bool beep) {
    if (beep) cgt::Dialogs().Beep();
    cgt::MsgBox(message, cgt::mkError, cgt::mbOK);
}

TCustomNumEdit::ExitResult TCustomNumEdit::exitChecks() {
    const std::string text = Text8();
    const std::string trimmed = cgt::TrimText(text);
    switch (numericType_) {
    case ntDate: {
        if (trimmed.empty() || trimmed == "/  /") {
            parsedDate_ = kNoDate;
            if (!mandatory_) return ExitResult::Pass;
            cgt::MsgBox(kMandatoryMessage, cgt::mkError, cgt::mbOK);
            return ExitResult::PassAndTakeBack;
        }
        const std::string normalised = cgt::NormaliseDateDigits(trimmed, '/');
        if (auto date = cgt::ParseDate(normalised)) {
            parsedDate_ = *date;
            return ExitResult::Pass;
        }
        failExit(cgt::DateEntryMessage(normalised), true);
        return ExitResult::Fail;
    }
    case ntTFN:
    case ntABN:
    case ntACN:
    case ntSFN:
    case ntDIN:
    case ntEGN: {
        if (trimmed.empty()) return ExitResult::Pass;
        struct Check {
            bool (*valid)(std::string_view);
            const char* message;
        };
        static const Check checks[] = {
            {cgt::IsValidTFN, "Invalid Tax File Number (TFN)"},
            {cgt::IsValidABN, "Invalid Australian Business Number (ABN)"},
            {cgt::IsValidACN, "Invalid ACN/ARBN"},
            {cgt::IsValidSFN, "Invalid SFN"},
            {cgt::IsValidDIN, "Invalid Document Indentification Number (DIN)"},
            {cgt::IsValidEGN, "Invalid Employer group number"},
        };
        const Check& check = checks[numericType_ - ntTFN];
        if (check.valid(text)) return ExitResult::Pass;
        failExit(check.message, true);
        return ExitResult::Fail;
    }
    case ntNone:
    case ntPCode:
        if (!trimmed.empty() && charSet_.any() &&
            !std::all_of(text.begin(), text.end(),
                         [this](char c) { return cgt::InSet(charSet_, c); })) {
            failExit(kInvalidCharsMessage, true);
            return ExitResult::Fail;
        }
        return ExitResult::Pass;
    case ntSpecial:
        return ExitResult::Pass;
    case ntCurrency:
    case ntCurrencyCnt:
    case ntPercentage:
    case ntNumeric:
    case ntPhone:
    case ntCPI:
    case ntDec2:
        if (ReadsNumber(numericType_) && !readValue()) {
            // Text that still is no number after filtering.
            failExit(kInvalidCharsMessage, false);
            return ExitResult::Fail;
        }
        return CheckValue(numValue_) ? ExitResult::Pass : ExitResult::Fail;
    }
    return ExitResult::Pass;
}

bool TCustomNumEdit::TakingFocusBack() {
    return g_takingBack != nullptr;
}

void TCustomNumEdit::takeFocusBack() {
    g_takingBack = this;
    QTimer::singleShot(0, this, [this] {
        refocusing_ = true;
        if (hasFocus()) {
            // Still focused (the exit came from a window change): select all at once.
            refocusing_ = false;
            selectAll();
        } else {
            setFocus(Qt::OtherFocusReason);
        }
        if (g_takingBack == this) g_takingBack = nullptr;
    });
}

void TCustomNumEdit::paintEvent(QPaintEvent* event) {
    if (hasFocus()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QPalette& pal = palette();
    const QColor base = pal.color(QPalette::Active, QPalette::Base);
    // A field that cannot be used now is drawn like the window behind it, not like an entry.
    const QColor fill = isEnabled() ? base : pal.color(QPalette::Active, QPalette::Window);
    painter.fillRect(rect(), fill);
    painter.setPen(pal.color(QPalette::Active, QPalette::WindowText));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    QColor textColor = pal.color(QPalette::Active, QPalette::Text);
    // A disabled field greys its text, unless its own colour is the one grey text would vanish
    // into.
    if (!isEnabled() && base != pal.color(QPalette::Active, QPalette::Button))
        textColor = pal.color(QPalette::Disabled, QPalette::Text);
    painter.setPen(textColor);
    painter.setFont(font());

    const QString shown = displayText();
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(shown);
    int x = 3;
    if (alignment_ == taRightJustify)
        x = width() - textWidth - 3;
    else if (alignment_ == taCenter)
        x = std::max(0, (width() - textWidth - 1) / 2);
    const int top = (height() - metrics.height() + 1) / 2;
    painter.drawText(x, top + metrics.ascent(), shown);
}
