#include "cgt/screens/tables/table_screens.h"

#include <QString>

#include <vector>

#include "cgt/rules/manual_table.h"
#include "cgt/rules/trust_table.h"
#include "cgt/screens/refusals.h"
#include "cgt/screens/tables/grid_layout.h"
#include "controls/xgrid.h"
#include "interview/frame.h"
#include "interview/navigator_frame.h"
#include "interview/screen_registry.h"
#include "store/dialogs.h"
#include "ui_manual_table_form.h"
#include "ui_trust_table_form.h"

// ---- TTableScreen ------------------------------------------------------------------------------

TTableScreen::TTableScreen(QWidget* parent) : TChildForm(parent) {}

void TTableScreen::Bind(TXGrid* grid, TXGridTotals* totals, int columns) {
    grid_ = grid;
    grid_->setColCount(columns);
    totals->setGrid(grid_);
}

void TTableScreen::FormShow() {
    if (TFrameWnd* frame = TFrameWnd::Instance()) frame->Navigator()->show();
}

std::optional<cgt::ScreenRefusal> TTableScreen::CheckLeave(cgt::Direction /*direction*/) {
    if (const auto refusal = CheckTable()) return cgt::ShownRefusal(*refusal, grid_);
    return std::nullopt;
}

// ---- TQCGT02_04: trust distributions -----------------------------------------------------------

TQCGT02_04::TQCGT02_04() : ui_(std::make_unique<Ui::TrustTableForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT02_04"));
    Bind(ui_->XGrid1, ui_->XGridTotals1, cgt::kTrustCells);
    TXGrid* grid = ui_->XGrid1;
    std::vector<cgt::ShownColumn> shown{{cgt::kTrustNameCell, 182}};
    for (int col = cgt::kTrustFirstComponent; col <= cgt::kTrustNetCell; ++col)
        shown.push_back({col, 65});
    LayOutGrid(grid, cgt::TrustTableDisplay(), shown);
    // The net cell follows a click or a move of the cursor, and every cell left.
    connect(grid, &TXGrid::OnEnterCell, this, &TQCGT02_04::UpdateNetCells);
    connect(grid, &TXGrid::OnExitCell, this, &TQCGT02_04::UpdateNetCells);
}

TQCGT02_04::~TQCGT02_04() = default;

void TQCGT02_04::UpdateNetCells() {
    cgt::UpdateTrustNetCells(ui_->XGrid1->table());
    ui_->XGrid1->TableEdited();
}

std::optional<cgt::Refusal> TQCGT02_04::CheckTable() {
    UpdateNetCells();
    return cgt::CheckTrustTable(ui_->XGrid1->table());
}

CGT_REGISTER_SCREEN(TQCGT02_04);

// ---- TQCGT02_05: the manual calculation table --------------------------------------------------

TQCGT02_05::TQCGT02_05() : ui_(std::make_unique<Ui::ManualTableForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT02_05"));
    Bind(ui_->XGrid1, ui_->XGridTotals1, cgt::kManualCells);
    TXGrid* grid = ui_->XGrid1;
    LayOutGrid(grid, cgt::ManualTableDisplay(), cgt::ManualTableShownColumns());
    connect(grid, &TXGrid::OnEnterCell, this, &TQCGT02_05::CellEntered);
    connect(grid, &TXGrid::OnExitCell, this, &TQCGT02_05::CellLeft);
}

TQCGT02_05::~TQCGT02_05() = default;

void TQCGT02_05::CellEntered(int col, int row) {
    if (col <= cgt::mcDescription) return;
    cgt::UpdateManualRow(ui_->XGrid1->table(), row);
    ui_->XGrid1->TableEdited();
}

void TQCGT02_05::CellLeft(int col, int row, int* aCol, int* aRow, bool* enter) {
    cgt::CellTable& table = ui_->XGrid1->table();
    const auto refusal = cgt::LeaveManualCell(table, col, row);
    cgt::UpdateManualRow(table, row);
    ui_->XGrid1->TableEdited();
    if (!refusal) return;
    cgt::MsgBox(refusal->message, cgt::mkError, cgt::mbOK);
    if (refusal->col == col && refusal->row == row) {
        *enter = false; // the cursor stays
    } else {
        *aCol = refusal->col;
        *aRow = refusal->row;
    }
}

std::optional<cgt::Refusal> TQCGT02_05::CheckTable() {
    return cgt::CheckManualTable(ui_->XGrid1->table());
}

CGT_REGISTER_SCREEN(TQCGT02_05);
