#pragma once
// TQCGT_11 (2010, 2023, 2036, 2047, 2056, 2066): section 2 of an asset's event, a cost base,
// adjusted cost base or reduced cost base already known at a given date, optionally of an asset
// that replaced an earlier one through a roll-over. It continues the event's row. The indexed
// cost base opens only for an asset whose indexation the dates allow; the deceased-estate and
// 11.45am questions follow the roll-over date.

#include <memory>

#include "cgt/screens/events/event_screen.h"

class TTaxEdit;
class YesNoPair;

namespace Ui {
class CostBaseForm;
}

class TQCGT_11 : public TEventScreen {
    Q_OBJECT

public:
    explicit TQCGT_11(QWidget* parent = nullptr);
    ~TQCGT_11() override;

    void FormShow() override;

    TTaxEdit* EffectiveDateEdit() const;
    TTaxEdit* DateofRolloverEdit() const;
    TTaxEdit* AssetIndCostBaseEdit() const;
    TTaxEdit* AssetDisCostBaseEdit() const;
    TTaxEdit* AssetRedCostBaseEdit() const;
    YesNoPair* Deceased() const { return deceased_; }
    // Acquired on 21/09/1999 after 11.45am (Yes) or before it (No).
    YesNoPair* PreLegal() const { return preLegal_; }

protected:
    std::optional<cgt::Refusal> CheckEntries() override;
    // The indexed cost base, when it is closed: the non-indexed one.
    QWidget* FallbackFocus() const override;
    QWidget* RefusedControl(const cgt::Refusal& refusal) override;

private:
    // The questions that follow the roll-over date; shown, the deceased-estate answer comes
    // from the store.
    void FitToRollOverDate(bool storedAnswer);
    void DateofRolloverEditExit();
    void DeceasedAnswered();
    void PreLegalAnswered();
    void OpenIndexedCostBase();

    std::unique_ptr<Ui::CostBaseForm> ui_;
    YesNoPair* deceased_;
    YesNoPair* preLegal_;
};
