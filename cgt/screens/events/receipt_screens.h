#pragma once
// The single detail screens of two event kinds whose gain needs no cost base: a right created in
// another entity (TQCGT_36a, 2075, worksheet 457) and another capital receipt, CGT event H2
// (TQCGT_36, 2097, worksheet 462). Each opens its event's worksheet row when created; the gain
// or loss is the capital proceeds less the incidental costs.

#include <memory>

#include "cgt/rules/receipts.h"
#include "cgt/screens/events/event_screen.h"

class QCheckBox;
class TTaxEdit;
class TTypeAheadComboBox;
class YesNoPair;

namespace Ui {
class RightsEventForm;
class ReceiptForm;
} // namespace Ui

// Behaviour both screens share: the row, the gain and loss, the checks and where Next leads.
class TReceiptScreen : public TEventScreen {
    Q_OBJECT

public:
    void FormShow() override;

    TTaxEdit* DescEdit() const { return fields_.desc; }
    TTaxEdit* DateEdit() const { return fields_.date; }
    TTaxEdit* ProceedsEdit() const { return fields_.proceeds; }
    TTaxEdit* CostsEdit() const { return fields_.costs; }
    TTaxEdit* GainEdit() const { return fields_.gain; }
    TTaxEdit* LossEdit() const { return fields_.loss; }

protected:
    struct Fields {
        TTaxEdit* desc;
        TTaxEdit* date; // hidden: the event date comes with the row
        TTaxEdit* proceeds;
        TTaxEdit* costs;
        TTaxEdit* gain;
        TTaxEdit* loss;
    };

    TReceiptScreen(cgt::ReceiptKind kind, QWidget* parent);
    // Connects the fields once the form is set up, and opens the event's row.
    void Bind(const Fields& fields);

    std::optional<cgt::Refusal> CheckEntries() override;
    // Stores the disposal result and moves on to the another-event question.
    cgt::NextStep NextPressed() override;
    // The event date comes with the row and its field is hidden: a refusal of it focuses the
    // amounts.
    QWidget* FallbackFocus() const override;

private:
    void Recalculate();

    cgt::ReceiptKind kind_;
    Fields fields_{};
};

// 2075: a CGT event that happened to a right created in another entity, with its type and the
// roll-over questions.
class TQCGT_36a : public TReceiptScreen {
    Q_OBJECT

public:
    explicit TQCGT_36a(QWidget* parent = nullptr);
    ~TQCGT_36a() override;

    void FormShow() override;

    TTypeAheadComboBox* TypeCombo() const;
    YesNoPair* RollOver() const { return rollOver_; }
    YesNoPair* MarriageBreakdown() const { return marriage_; }

private:
    void DescriptionLeft();
    void RollOverAnswered();

    std::unique_ptr<Ui::RightsEventForm> ui_;
    YesNoPair* rollOver_;
    YesNoPair* marriage_;
};

// 2097: money or property received for an act, transaction or event relating to a CGT asset.
class TQCGT_36 : public TReceiptScreen {
    Q_OBJECT

public:
    explicit TQCGT_36(QWidget* parent = nullptr);
    ~TQCGT_36() override;

private:
    std::unique_ptr<Ui::ReceiptForm> ui_;
};
