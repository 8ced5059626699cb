#pragma once
// The two table screens of the interview: the trust distribution table (TQCGT02_04, 2019),
// where capital gains distributed by trusts are entered as the trustees report them, and the
// manual calculation table (TQCGT02_05, 2101), for gains and losses worked out by hand. Their
// rules are widget-free (cgt/rules/trust_table.h, cgt/rules/manual_table.h); the screens bind
// them to the grid and show their messages.

#include <memory>
#include <optional>

#include "interview/child_form.h"

class TXGrid;
class TXGridTotals;

namespace Ui {
class TrustTableForm;
class ManualTableForm;
} // namespace Ui

namespace cgt {
struct Refusal;
}

// What both table screens share: the navigator and the check of the table, whose refusal puts
// the cursor in the refused cell.
class TTableScreen : public TChildForm, public cgt::CheckedScreen {
    Q_OBJECT

public:
    void FormShow() override;
    // The table is checked whenever the screen is left, Prev included.
    std::optional<cgt::ScreenRefusal> CheckLeave(cgt::Direction direction) override;
    TXGrid* Grid() const { return grid_; }

protected:
    explicit TTableScreen(QWidget* parent = nullptr);
    void Bind(TXGrid* grid, TXGridTotals* totals, int columns);
    // The screen's check when it is left; nothing when it may be left.
    virtual std::optional<cgt::Refusal> CheckTable() = 0;

private:
    TXGrid* grid_ = nullptr;
};

// 2019: the trust distribution table.
class TQCGT02_04 : public TTableScreen {
    Q_OBJECT

public:
    TQCGT02_04();
    ~TQCGT02_04() override;

protected:
    std::optional<cgt::Refusal> CheckTable() override;

private:
    void UpdateNetCells();

    std::unique_ptr<Ui::TrustTableForm> ui_;
};

// 2101: the manual calculation table.
class TQCGT02_05 : public TTableScreen {
    Q_OBJECT

public:
    TQCGT02_05();
    ~TQCGT02_05() override;

protected:
    std::optional<cgt::Refusal> CheckTable() override;

private:
    void CellEntered(int col, int row);
    void CellLeft(int col, int row, int* aCol, int* aRow, bool* enter);

    std::unique_ptr<Ui::ManualTableForm> ui_;
};
