#pragma once
// The single-line entry field of the question screens: amounts, amounts with cents,
// percentages, dates, plain text and the official identifiers. It filters keystrokes against a
// character set, strips its display formatting while focused, and re-reads, checks and
// re-formats its value when the focus leaves. An entry that fails the check keeps the focus.

#include <QColor>
#include <QLineEdit>
#include <QString>

#include <string>

#include "base/dates.h"
#include "base/extended.h"
#include "controls/core/key_hints.h"
#include "controls/core/tax_text.h"
#include "controls/entry_hint.h"

class TCustomNumEdit : public QLineEdit {
    Q_OBJECT
    // Declaration order is the order form files give the properties in: NumericType presets
    // are overridden by an explicit ValidChars, and both by the VarnDataType presets.
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(int Decimals READ Decimals WRITE setDecimals)
    Q_PROPERTY(double MaxVal READ MaxVal WRITE setMaxVal)
    Q_PROPERTY(double MinVal READ MinVal WRITE setMinVal)
    Q_PROPERTY(double MaxDate READ MaxDate WRITE setMaxDate)
    Q_PROPERTY(double MinDate READ MinDate WRITE setMinDate)
    Q_PROPERTY(TNumericType NumericType READ NumericType WRITE setNumericType)
    Q_PROPERTY(bool UseRounding READ UseRounding WRITE setUseRounding)
    Q_PROPERTY(bool Validate READ Validate WRITE setValidate)
    Q_PROPERTY(bool ValidateDate READ ValidateDate WRITE setValidateDate)
    Q_PROPERTY(QString ValidChars READ ValidChars WRITE setValidChars)
    Q_PROPERTY(TVarnDataType VarnDataType READ VarnDataType WRITE setVarnDataType)
    Q_PROPERTY(bool Mandatory READ Mandatory WRITE setMandatory)
    Q_PROPERTY(bool ChangeFocusColor READ ChangeFocusColor WRITE setChangeFocusColor)
    Q_PROPERTY(bool CapitaliseWords READ CapitaliseWords WRITE setCapitaliseWords)
    Q_PROPERTY(double NumValue READ NumValue WRITE setNumValue)
    Q_PROPERTY(double DateValue READ DateValue WRITE setDateValue)
    // The most characters typed; a minus sign in front of a full amount does not count.
    Q_PROPERTY(int maxLength READ maxLength WRITE setMaxLength)

public:
    enum TNumericType {
        ntNone,
        ntCurrency,
        ntCurrencyCnt,
        ntPercentage,
        ntDate,
        ntSpecial,
        ntNumeric,
        ntPhone,
        ntCPI,
        ntTFN,
        ntABN,
        ntACN,
        ntSFN,
        ntDIN,
        ntEGN,
        ntPCode,
        ntDec2,
    };
    Q_ENUM(TNumericType)

    enum TVarnDataType {
        vtAddressText,
        vtDate,
        vtDate8,
        vtDollar,
        vtDollarCents,
        vtDollarNegative,
        vtInteger,
        vtNameText,
        vtNone,
        vtQuestion,
        vtRestrictedNameText,
        vtText,
    };
    Q_ENUM(TVarnDataType)

    // Alignment of the text while the field is not focused.
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)

    // The parsed date of a date field that holds none.
    static constexpr double kNoDate = -9999.0;

    explicit TCustomNumEdit(QWidget* parent = nullptr);
    ~TCustomNumEdit() override;

    // The fill colour while the field has the focus (a pale yellow).
    static QColor FocusColor() { return QColor(251, 230, 153); }

    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment alignment);
    using QLineEdit::setAlignment;
    int Decimals() const { return decimals_; }
    void setDecimals(int decimals); // re-runs FormatText
    double MaxVal() const { return static_cast<double>(maxVal_); }
    void setMaxVal(cgt::Extended value) { maxVal_ = value; }
    double MinVal() const { return static_cast<double>(minVal_); }
    void setMinVal(cgt::Extended value) { minVal_ = value; }
    double MaxDate() const { return maxDate_; }
    void setMaxDate(double date); // lowers DateValue to it
    double MinDate() const { return minDate_; }
    void setMinDate(double date); // raises DateValue to it
    TNumericType NumericType() const { return numericType_; }
    void setNumericType(TNumericType type); // presets apply when the kind changes
    bool UseRounding() const { return useRounding_; }
    void setUseRounding(bool on) { useRounding_ = on; }
    bool Validate() const { return validate_; }
    void setValidate(bool on) { validate_ = on; }
    // Accepted from form files and discarded.
    bool ValidateDate() const { return false; }
    void setValidateDate(bool) {}
    QString ValidChars() const { return QString::fromLatin1(validChars_); }
    void setValidChars(const QString& text);
    TVarnDataType VarnDataType() const { return varnDataType_; }
    void setVarnDataType(TVarnDataType type); // presets apply when the type changes
    bool Mandatory() const { return mandatory_; }
    void setMandatory(bool on) { mandatory_ = on; }
    bool ChangeFocusColor() const { return changeFocusColor_; }
    void setChangeFocusColor(bool on) { changeFocusColor_ = on; }
    bool CapitaliseWords() const { return capitaliseWords_; }
    void setCapitaliseWords(bool on) { capitaliseWords_ = on; }
    int maxLength() const { return maxLength_; }
    void setMaxLength(int length);
    double DateValue() const { return dateValue_; }
    void setDateValue(double date) { dateValue_ = date; }

    // The numeric value, re-read from the text for the numeric kinds; 0 means nothing entered
    // and cgt::ExplicitZero an entered zero.
    cgt::Extended NumValue();
    void setNumValue(cgt::Extended value); // stores it and runs FormatText

    // The allowed characters built from ValidChars.
    const cgt::CharSet& CharSet() const { return charSet_; }
    // The date parsed at the last exit of a date field, kNoDate when there is none.
    double ParsedDate() const { return parsedDate_; }
    // The text as 8-bit characters.
    std::string Text8() const;
    // The hint shown at the field after a refused key, saying what the field accepts; empty
    // while none is shown.
    QString HintText() const;
    // How long a hint stays when no other key follows.
    static constexpr int kHintMilliseconds = TEntryHint::kMilliseconds;
    // A field whose exit check refused is about to take the focus back.
    static bool TakingFocusBack();

    // Rounds the value and writes its display form into the text.
    void FormatText();
    // Strips the display formatting: keeps the minus sign, the digits and the separator.
    void UnformatText();
    // Sets the text; a numeric kind then re-reads its value and formats it.
    void SetTextValue(const QString& text);
    // The mandatory, range and character checks, each with its message. False on failure.
    bool CheckValue(cgt::Extended value);

signals:
    void OnEnter();
    // Fires after a successful exit only.
    void OnExit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class KeyAction { Pass, Refuse, Consumed, Upper };
    struct KeyDecision {
        KeyAction action = KeyAction::Pass;
        cgt::KeyRefusal reason = cgt::KeyRefusal::None; // why a key was refused, for the hint
    };
    // PassAndTakeBack: an empty mandatory date, which completes its exit and still returns.
    enum class ExitResult { Pass, Fail, PassAndTakeBack };

    void applyNumericTypePresets();
    void applyVarnDataTypePresets();
    void applyPreset(int decimals, int alignment, int maxLength, const char* validChars);
    KeyDecision filterKey(char c);
    // Beeps and shows what the field accepts instead of the key.
    void refuseKey(char c, cgt::KeyRefusal reason);
    // What the field holds, as its hints tell it.
    cgt::EntryShape entryShape() const;
    // A whole-number field drops the digits typed straight after a refused decimal point.
    bool droppingDecimals() const;
    bool isFull() const;
    // Whether a minus sign in front of an amount is left out of the limit.
    bool signRoom() const;
    QColor restingColor() const;
    // The checks of a focus exit by kind, with their messages.
    ExitResult exitChecks();
    bool readValue();
    void failExit(const std::string& message, bool beep);
    void takeFocusBack();
    void setFillColors(const QColor& base, const QColor& text);
    void writeText(const std::string& text);
    void parseValidChars(std::string_view text);

    TNumericType numericType_ = ntNone;
    TVarnDataType varnDataType_ = vtAddressText;
    int decimals_ = 0;
    bool useRounding_ = true;
    std::string validChars_;
    cgt::CharSet charSet_;
    TAlignment alignment_ = taLeftJustify;
    cgt::Extended numValue_ = 0;
    cgt::Extended minVal_ = 0;
    cgt::Extended maxVal_ = 0;
    bool validate_ = false;
    bool mandatory_ = false;
    bool capitaliseWords_ = false;
    bool changeFocusColor_ = true;
    double dateValue_ = 0;
    double minDate_ = 0;
    double maxDate_ = 0;
    double parsedDate_ = kNoDate;
    QColor normalColor_;
    int maxLength_ = 32767;
    TEntryHint* hint_;
    // After a refused decimal point: where the caret stood and the text then.
    int decimalsDroppedAt_ = -1;
    QString decimalsDroppedText_;

    bool entered_ = false;     // entry processing ran; the exit is still due
    bool passive_ = false;     // focused while another field takes its focus back
    bool refocusing_ = false;  // the next focus entry is the return after a failed exit
    bool interrupted_ = false; // a message box came up during the entry
};

// The entry field of the screens' form files.
class TTaxEdit : public TCustomNumEdit {
    Q_OBJECT
public:
    explicit TTaxEdit(QWidget* parent = nullptr) : TCustomNumEdit(parent) {}
};
