#pragma once
// Section 6 of an asset's event: whether its gain or loss can be rolled over (and whether that
// results from a marriage breakdown or, for shares and trust interests, a scrip for scrip
// roll-over) and whether the small business 15-year active asset exemption is claimed. Three
// screens ask it: TQCGT_20b for shares and trust interests (2014, 2027), TQCGT_20a for real
// estate (2039) and TQCGT_20 for depreciating assets, personal use assets and collectables, and
// other assets (2049, 2059, 2069). Each continues the event's row; Next takes the screen's route
// to the payments worksheet or the gain calculation.

#include <memory>

#include "cgt/screens/events/event_screen.h"

class QCheckBox;
class TTextLbl;
class YesNoPair;

namespace Ui {
class RollOverForm;
class RollOverRealEstateForm;
class RollOverSharesForm;
} // namespace Ui

// What the three screens share: the Yes/No pairs, the exemption box, the checks and Next.
class TRollOverScreen : public TEventScreen {
    Q_OBJECT

public:
    void FormShow() override;

    YesNoPair* RollOver() const { return rollOver_; }
    YesNoPair* MarriageBreakdown() const { return marriage_; }
    // nullptr on the screens without the scrip for scrip question.
    YesNoPair* ScripForScrip() const { return scrip_; }
    QCheckBox* ExemptionBox() const { return fields_.exemption; }

protected:
    struct Fields {
        TTextLbl* name;
        QCheckBox* rollOverYes;
        QCheckBox* rollOverNo;
        TTextLbl* marriageQuestion;
        QCheckBox* marriageYes;
        QCheckBox* marriageNo;
        TTextLbl* scripQuestion; // nullptr without the scrip for scrip question
        QCheckBox* scripYes;
        QCheckBox* scripNo;
        QCheckBox* exemption;
    };

    explicit TRollOverScreen(QWidget* parent);
    // Connects the fields once the form is set up and continues the event's row.
    void Bind(const Fields& fields);
    // Shares and trust interests store their answers as they are given.
    void StoreAnswersAtOnce() { storesAtOnce_ = true; }

    std::optional<cgt::Refusal> CheckEntries() override;
    // On to the payments summary or the gain calculation, as the event's payments say.
    cgt::NextStep NextPressed() override;

private:
    void RollOverAnswered();
    void MarriageAnswered();
    void ScripAnswered();
    void Answered();
    // The marriage breakdown and scrip for scrip questions follow a roll-over only.
    void FitToRollOver();

    Fields fields_{};
    YesNoPair* rollOver_ = nullptr;
    YesNoPair* marriage_ = nullptr;
    YesNoPair* scrip_ = nullptr;
    bool storesAtOnce_ = false;
};

// Depreciating assets, personal use assets and collectables, other assets.
class TQCGT_20 : public TRollOverScreen {
    Q_OBJECT

public:
    explicit TQCGT_20(QWidget* parent = nullptr);
    ~TQCGT_20() override;

    TTextLbl* RollOverQuestion() const;

private:
    std::unique_ptr<Ui::RollOverForm> ui_;
};

// Real estate.
class TQCGT_20a : public TRollOverScreen {
    Q_OBJECT

public:
    explicit TQCGT_20a(QWidget* parent = nullptr);
    ~TQCGT_20a() override;

private:
    std::unique_ptr<Ui::RollOverRealEstateForm> ui_;
};

// Shares and trust interests, with the scrip for scrip question.
class TQCGT_20b : public TRollOverScreen {
    Q_OBJECT

public:
    explicit TQCGT_20b(QWidget* parent = nullptr);
    ~TQCGT_20b() override;

private:
    std::unique_ptr<Ui::RollOverSharesForm> ui_;
};
