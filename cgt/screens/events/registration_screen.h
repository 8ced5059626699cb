#pragma once
// TQCGT_08: section 1 of every CGT event, the registration of the asset. It opens the event's
// row of the worksheet chosen by the events question and fits its type list and texts to it.
// Below the shares worksheet's list of events it offers the "Import trades…" command.

#include <QPointer>
#include <QPushButton>

#include <memory>

#include "cgt/screens/events/event_screen.h"

namespace Ui {
class RegistrationForm;
}

namespace cgt {
struct RegistrationKind;
}

class TTaxEdit;
class TTextLbl;
class TTypeAheadComboBox;

class TQCGT_08 : public TEventScreen {
    Q_OBJECT

public:
    TQCGT_08();
    ~TQCGT_08() override;

    TTaxEdit* DescEdit() const;
    TTypeAheadComboBox* TypeTextComboBox() const;
    TTaxEdit* DateofAcqEdit() const;
    TTextLbl* AssetTypeLabel() const;
    TTextLbl* ExamplesLabel() const;
    TTextLbl* AcqQuestion() const;
    TTextLbl* DepreciatingLabel() const;
    // nullptr on the screens of a worksheet that imports no trades.
    QPushButton* ImportTradesButton() const { return importTrades_.data(); }

protected:
    std::optional<cgt::Refusal> CheckEntries() override;
    cgt::NextStep NextPressed() override;

private:
    void fitToKind();
    void addImportCommand();
    // A description left without a type takes the worksheet's default type.
    void DescEditExit();

    std::unique_ptr<Ui::RegistrationForm> ui_;
    const cgt::RegistrationKind* kind_ = nullptr;
    QPointer<QPushButton> importTrades_; // the frame's, in its worksheet panel
};
