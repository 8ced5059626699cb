#pragma once
// Section 5 of an asset's event: the date of the CGT event and what was received for the asset.
// TQCGT_19 (2013, 2026, 2038, 2058, 2068) takes the date and the capital proceeds, and asks the
// time of an event on 21/09/1999; TQCGT_19a (2046) takes a depreciating asset's cost,
// termination value and date with the figures of its taxable use. Both continue the event's row
// and show the asset type chosen at its registration, which they cannot change.

#include <memory>

#include "cgt/screens/events/event_screen.h"

class QCheckBox;
class TTaxEdit;
class TTextLbl;
class TTypeAheadComboBox;
class YesNoPair;

namespace Ui {
class EventProceedsForm;
class DepreciatingEventForm;
} // namespace Ui

// What both screens share: the row, the name line, the asset type and its copy for readers.
class TDisposalScreen : public TEventScreen {
    Q_OBJECT

public:
    void FormShow() override;

    TTypeAheadComboBox* TypeTextComboBox() const { return fields_.type; }
    // The read-only copy of the asset type, shown in AccessibilityMode only.
    TTaxEdit* VIAssetTypeEdit() const { return fields_.typeCopy; }

protected:
    struct Fields {
        TTextLbl* name;
        TTypeAheadComboBox* type;
        TTaxEdit* typeCopy;
    };

    explicit TDisposalScreen(QWidget* parent);
    // Fills the type list of the worksheet and continues the event's row.
    void Bind(const Fields& fields);

private:
    Fields fields_{};
};

class TQCGT_19 : public TDisposalScreen {
    Q_OBJECT

public:
    explicit TQCGT_19(QWidget* parent = nullptr);
    ~TQCGT_19() override;

    void FormShow() override;

    TTypeAheadComboBox* CGTEventTextComboBox() const;
    TTaxEdit* DateofCGTEventEdit() const;
    TTaxEdit* CapitalProceedsEdit() const;
    TTextLbl* NoteLabel() const;
    // The time of an event on 21/09/1999: after 11.45am (Yes) or before it (No).
    YesNoPair* EventTime() const { return time_; }

protected:
    std::optional<cgt::Refusal> CheckEntries() override;

private:
    // The time question stands beside an event dated 21/09/1999 only.
    void DateofCGTEventEditExit();
    void ShowTimeQuestion(bool asked);

    std::unique_ptr<Ui::EventProceedsForm> ui_;
    YesNoPair* time_;
};

// Depreciating assets.
class TQCGT_19a : public TDisposalScreen {
    Q_OBJECT

public:
    explicit TQCGT_19a(QWidget* parent = nullptr);
    ~TQCGT_19a() override;

protected:
    std::optional<cgt::Refusal> CheckEntries() override;

private:
    std::unique_ptr<Ui::DepreciatingEventForm> ui_;
};
