#pragma once
// The screens after the manual calculation table: the choice table (TQCGT_62, 2103), where the
// method, the deferment and the losses applied to every gain are chosen and the net capital
// gain shown; the small business concession elections (TQCGT_64, 2104); the gains disregarded
// by the 15-year exemption (TQCGT_65, 2105); and the scrip-for-scrip roll-overs (TQCGT_66,
// 2106). Their rules are widget-free (cgt/rules/choice_table.h, cgt/rules/concessions.h); the
// screens bind them to the grids and buttons and show their messages.

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "cgt/rules/choice_table.h"
#include "cgt/rules/lowest_gain.h"
#include "interview/child_form.h"

class QPushButton;
class TXGrid;

namespace Ui {
class ChoiceTableForm;
class ElectionsForm;
class ExemptForm;
class ScripForm;
} // namespace Ui

namespace cgt {
struct Refusal;
}

// 2103: the deferment, method and loss application choice table.
inline constexpr int kChoiceTableScreen = 2103;
class TQCGT_62 : public TChildForm, public cgt::CheckedScreen {
    Q_OBJECT

public:
    TQCGT_62();
    ~TQCGT_62() override;
    void FormShow() override;
    std::optional<cgt::ScreenRefusal> CheckLeave(cgt::Direction direction) override;
    cgt::NextStep Next(cgt::Answer answer) override;
    // The five buttons are the pane after the table: Shift+F6 on them goes back to the table.
    QWidget* PaneFocus(QWidget* focus, bool forward) override;

    TXGrid* Grid() const;
    TXGrid* LossesGrid() const;
    const cgt::ChoiceState& State() const { return choices_.state; }
    // The text the net capital gain line shows, with the note on the lowest when it stands.
    QString NetGainLine() const;

private:
    // The rows as the user left them in the grid, the rules' `change`, and the grid shown again.
    template <typename Fn> void ChangeRows(const Fn& change);
    void Recalculate();
    // The table and the unapplied losses as the rules left them, and what the table gives the
    // return.
    void ShowTables();
    // The buttons: each asks first and ends recalculated.
    void ApplyLossBtnClick();
    void DeferBtnClick();
    void MethodBtnClick();
    void RestartBtnClick();
    void LowestBtnClick();
    bool Confirmed(std::string_view question);
    void KeyDown(int* key, Qt::KeyboardModifiers modifiers);
    std::optional<cgt::ScreenRefusal> Check();
    // The five buttons in their tab order.
    std::array<QPushButton*, 5> Buttons() const;

    // What finding the lowest gave, and the rows as it left them: the note on the lowest stands
    // while the rows stay so.
    struct LowestFound {
        cgt::LowestChoices result;
        std::vector<cgt::ChoiceRow> rows;
    };

    std::unique_ptr<Ui::ChoiceTableForm> ui_;
    cgt::ChoiceTable choices_; // the rows the grid shows
    std::optional<LowestFound> lowest_;
};

// 2104: small business concession elections for every gain from an active asset.
class TQCGT_64 : public TChildForm, public cgt::CheckedScreen {
    Q_OBJECT

public:
    TQCGT_64();
    ~TQCGT_64() override;
    void FormShow() override;
    std::optional<cgt::ScreenRefusal> CheckLeave(cgt::Direction direction) override;
    cgt::NextStep Next(cgt::Answer answer) override;
    TXGrid* Grid() const;

private:
    void KeyDown(int* key, Qt::KeyboardModifiers modifiers);

    std::unique_ptr<Ui::ElectionsForm> ui_;
};

// 2105: the gains disregarded by the small business 15-year exemption.
class TQCGT_65 : public TChildForm {
    Q_OBJECT

public:
    TQCGT_65();
    ~TQCGT_65() override;
    void FormShow() override;
    cgt::NextStep Next(cgt::Answer answer) override;
    TXGrid* Grid() const;

private:
    std::unique_ptr<Ui::ExemptForm> ui_;
};

// 2106: share and trust-interest exchanges deferred by a scrip-for-scrip roll-over.
class TQCGT_66 : public TChildForm, public cgt::CheckedScreen {
    Q_OBJECT

public:
    TQCGT_66();
    ~TQCGT_66() override;
    void FormShow() override;
    std::optional<cgt::ScreenRefusal> CheckLeave(cgt::Direction direction) override;
    cgt::NextStep Next(cgt::Answer answer) override;
    TXGrid* Grid() const;

private:
    void KeyDown(int* key, Qt::KeyboardModifiers modifiers);
    void CellEntered(int col, int row);

    std::unique_ptr<Ui::ScripForm> ui_;
};
