#pragma once
// TQCGT_08: section 1 of every CGT event, the registration of the asset. It opens the event's
// row of the worksheet chosen by the events question and fits its type list and texts to it.

#include <memory>

#include "interview/child_form.h"

namespace Ui {
class RegistrationForm;
}

namespace cgt {
struct RegistrationKind;
}

class TTaxEdit;
class TTextLbl;
class TTypeAheadComboBox;

class TQCGT_08 : public TChildForm {
    Q_OBJECT

public:
    TQCGT_08();
    ~TQCGT_08() override;

    void FormShow() override;

    int Worksheet() const { return worksheet_; }
    TTaxEdit* DescEdit() const;
    TTypeAheadComboBox* TypeTextComboBox() const;
    TTaxEdit* DateofAcqEdit() const;
    TTextLbl* AssetTypeLabel() const;
    TTextLbl* ExamplesLabel() const;
    TTextLbl* AcqQuestion() const;
    TTextLbl* DepreciatingLabel() const;

private:
    void fitToKind();
    // A description left without a type takes the worksheet's default type.
    void DescEditExit();
    void validate();
    void next();
    bool descriptionEmpty() const;
    bool dateAsked() const;
    bool dateEmpty() const;
    bool refuse(QWidget* field, const char* message);

    std::unique_ptr<Ui::RegistrationForm> ui_;
    int worksheet_ = 0;
    const cgt::RegistrationKind* kind_ = nullptr;
};
