#include "cgt/screens/choices/choice_screens.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <string_view>

#include "base/number_format.h"
#include "base/text.h"
#include "cgt/records/choice_records.h"
#include "cgt/rules/choice_grid.h"
#include "cgt/rules/concessions.h"
#include "cgt/rules/refusal.h"
#include "cgt/screens/refusals.h"
#include "cgt/screens/tables/grid_layout.h"
#include "controls/text_label.h"
#include "controls/xgrid.h"
#include "interview/frame.h"
#include "interview/navigator_frame.h"
#include "interview/screen_registry.h"
#include "store/dialogs.h"
#include "ui_choice_table_form.h"
#include "ui_elections_form.h"
#include "ui_exempt_form.h"
#include "ui_scrip_form.h"

namespace {

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
bool IsForwardTab(int key, Qt::KeyboardModifiers modifiers) {
    return key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier);
}
bool IsBackTab(int key, Qt::KeyboardModifiers modifiers) {
    return key == Qt::Key_Backtab || (key == Qt::Key_Tab && (modifiers & Qt::ShiftModifier));
}

// The data row after `row`, the first after the last; the one before, the last before the first.
int NextRow(const TXGrid* grid, int row) {
    return row + 1 < grid->RowCount() ? row + 1 : 1;
}
int PreviousRow(const TXGrid* grid, int row) {
    return row > 1 ? row - 1 : grid->RowCount() - 1;
}

// Rows of these summaries come from their sources: none is added or deleted in the grid.
void SwallowRowDeletion(int* key, Qt::KeyboardModifiers modifiers) {
    if (*key == Qt::Key_Delete && (modifiers & Qt::ControlModifier)) *key = 0;
}

// Two cells alike: the same text, or the same number written otherwise (the grid's check
// writes an amount with cents when its cell is left).
bool SameCell(std::string_view a, std::string_view b) {
    if (cgt::TrimBlanks(a) == cgt::TrimBlanks(b)) return true;
    const auto x = cgt::ParseNumber(a), y = cgt::ParseNumber(b);
    return x && y && *x == *y;
}

// The rows that hold something, cell by cell alike.
bool SameRows(const std::vector<cgt::ChoiceRow>& a, const std::vector<cgt::ChoiceRow>& b) {
    auto filled = [](const std::vector<cgt::ChoiceRow>& rows) {
        std::vector<cgt::ChoiceCells> cells;
        for (const cgt::ChoiceRow& row : rows)
            if (!row.Empty()) cells.push_back(cgt::ChoiceRowCells(row));
        return cells;
    };
    const auto x = filled(a), y = filled(b);
    return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                      [](const cgt::ChoiceCells& p, const cgt::ChoiceCells& q) {
                          return std::equal(p.begin(), p.end(), q.begin(), q.end(), SameCell);
                      });
}

void ShowNavigator() {
    if (TFrameWnd* frame = TFrameWnd::Instance()) frame->Navigator()->show();
}

} // namespace

// ---- TQCGT_62: the choice table ----------------------------------------------------------------

TQCGT_62::TQCGT_62() : ui_(std::make_unique<Ui::ChoiceTableForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_62"));
    TXGrid* grid = ui_->XGrid1;
    LayOutGrid(grid, cgt::ChoiceTableDisplay(), cgt::ChoiceTableShownColumns());
    grid->setRowHeights(0, 80);
    grid->setDefaultRowHeight(20);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui_->XGridTotals1->setGrid(grid);
    grid->setShownText([](int col, const QString& cell) {
        return QString::fromLatin1(cgt::ShownChoiceCell(col, cell.toLatin1().toStdString()));
    });

    TXGrid* losses = ui_->XGrid2;
    cgt::SetupUnappliedGrid(losses->table());
    losses->TableEdited();
    losses->setColWidths(0, 110);
    losses->setColWidths(1, 75);
    losses->setColWidths(2, 75);
    losses->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    losses->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // A click or any move of the cursor recalculates, as does leaving the table.
    connect(grid, &TXGrid::OnEnterCell, this, [this] { Recalculate(); });
    connect(grid, &TXGrid::OnExitCell, this, [this] { Recalculate(); });
    connect(grid, &TXGrid::OnKeyDown, this, &TQCGT_62::KeyDown);
    connect(ui_->ApplyLossBtn, &QPushButton::clicked, this, &TQCGT_62::ApplyLossBtnClick);
    connect(ui_->DeferBtn, &QPushButton::clicked, this, &TQCGT_62::DeferBtnClick);
    connect(ui_->MethodBtn, &QPushButton::clicked, this, &TQCGT_62::MethodBtnClick);
    connect(ui_->RestartBtn, &QPushButton::clicked, this, &TQCGT_62::RestartBtnClick);
    const QString lowest = QString::fromLatin1(cgt::kLowestChoicesCaption.data(),
                                               qsizetype(cgt::kLowestChoicesCaption.size()));
    ui_->LowestBtn->setText(QLatin1Char('&') + lowest); // Alt+F: no other button uses F
    ui_->LowestBtn->setAccessibleName(lowest);
    connect(ui_->LowestBtn, &QPushButton::clicked, this, &TQCGT_62::LowestBtnClick);
    ui_->TextLbl2->OnScreenTag = [this](TTextLbl*, int tag, QString& text) {
        if (tag == cgt::kNetCapitalGainScreenTag) text = ui_->NetCapGainLabel->text();
    };
}

TQCGT_62::~TQCGT_62() = default;

std::array<QPushButton*, 5> TQCGT_62::Buttons() const {
    return {ui_->ApplyLossBtn, ui_->DeferBtn, ui_->MethodBtn, ui_->RestartBtn, ui_->LowestBtn};
}

QWidget* TQCGT_62::PaneFocus(QWidget* focus, bool forward) {
    if (forward) return nullptr;
    for (QPushButton* button : Buttons())
        if (focus == button) return ui_->XGrid1;
    return nullptr;
}

TXGrid* TQCGT_62::Grid() const {
    return ui_->XGrid1;
}

TXGrid* TQCGT_62::LossesGrid() const {
    return ui_->XGrid2;
}

QString TQCGT_62::NetGainLine() const {
    const QString line = ui_->TextLbl2->plainText().trimmed();
    const QLabel* note = ui_->LowestNoteLbl;
    return note->isVisibleTo(this) ? line + QLatin1Char(' ') + note->text() : line;
}

void TQCGT_62::FormShow() {
    ShowNavigator();
    ui_->XGrid1->setFixedCols(3);
    ui_->XGrid1->ClearRows();
    ui_->XGrid2->ClearRows();
    lowest_.reset();
    choices_ = cgt::BuildStoredChoiceTable();
    cgt::ShowChoiceRows(choices_.rows, ui_->XGrid1->table());
    Recalculate();
}

template <typename Fn> void TQCGT_62::ChangeRows(const Fn& change) {
    cgt::ReadChoiceGrid(ui_->XGrid1->table(), choices_.rows);
    change();
}

void TQCGT_62::Recalculate() {
    ChangeRows([this] {
        cgt::RecalculateChoices(choices_);
        ShowTables();
    });
}

void TQCGT_62::ShowTables() {
    if (lowest_ && !SameRows(lowest_->rows, choices_.rows)) lowest_.reset();
    cgt::PublishChoiceTable(choices_);
    cgt::ShowChoiceRows(choices_.rows, ui_->XGrid1->table());
    ui_->XGrid1->TableEdited();
    cgt::FillUnappliedGrid(ui_->XGrid2->table(), choices_.state.unapplied);
    ui_->XGrid2->TableEdited();
    ui_->NetCapGainLabel->setText(QString::fromLatin1(cgt::NetCapitalGainText(choices_.state)));
    ui_->TextLbl2->setText(ui_->TextLbl2->Text()); // laid out again with the new value
    const QString note =
        lowest_ ? QString::fromLatin1(cgt::LowestChoicesNote(lowest_->result)) : QString();
    ui_->LowestNoteLbl->setText(note);
    ui_->LowestNoteLbl->setVisible(!note.isEmpty());
    ui_->TextLbl2->setAccessibleDescription(note); // a screen reader reads it with the line
}

bool TQCGT_62::Confirmed(std::string_view question) {
    const QString text = QString::fromLatin1(question.data(), qsizetype(question.size()));
    return ScreenMsgBox(text, cgt::mkConfirmation, cgt::mbYes | cgt::mbNo) == cgt::mrYes;
}

void TQCGT_62::ApplyLossBtnClick() {
    ChangeRows([this] {
        if (Confirmed(cgt::kMakeAllChoicesQuestion)) cgt::MakeAllChoices(choices_);
        cgt::RecalculateChoices(choices_);
        ShowTables();
    });
}

void TQCGT_62::DeferBtnClick() {
    ChangeRows([this] {
        if (!Confirmed(cgt::kDeferChoicesQuestion)) return;
        cgt::MakeDeferChoices(choices_);
        ShowTables();
    });
}

void TQCGT_62::MethodBtnClick() {
    ChangeRows([this] {
        if (!Confirmed(cgt::kMethodChoicesQuestion)) return;
        cgt::MakeMethodChoices(choices_);
        ShowTables();
    });
}

void TQCGT_62::RestartBtnClick() {
    // The table shows the stored choices again before the question.
    cgt::ResetAllChoices(choices_, cgt::BuildStoredChoiceTable(), false);
    ShowTables();
    if (Confirmed(cgt::kResetChoicesQuestion)) {
        cgt::ResetAllChoices(choices_, cgt::BuildStoredChoiceTable(), true);
        ShowTables();
    }
}

void TQCGT_62::LowestBtnClick() {
    ChangeRows([this] {
        if (!Confirmed(cgt::kLowestChoicesQuestion)) return;
        const cgt::LowestChoices result = cgt::MakeLowestChoices(choices_);
        lowest_ = LowestFound{result, choices_.rows};
        ShowTables();
    });
}

// Enter, or Tab after the last loss column: from the net gain to the indexed gain of the next
// row. Shift+Tab before the discount gain: from the indexed gain to the last column of the row
// before.
void TQCGT_62::KeyDown(int* key, Qt::KeyboardModifiers modifiers) {
    TXGrid* grid = ui_->XGrid1;
    const int col = grid->Col();
    if ((IsEnter(*key) || IsForwardTab(*key, modifiers)) && col > cgt::ccTransferredApplied) {
        *key = 0;
        if (col == cgt::ccNetGain) grid->MoveTo(cgt::ccIndexed, NextRow(grid, grid->Row()));
    } else if (IsBackTab(*key, modifiers) && col < cgt::ccDiscount) {
        *key = 0;
        if (col == cgt::ccIndexed)
            grid->MoveTo(grid->table().LastTabStop(), PreviousRow(grid, grid->Row()));
    }
}

std::optional<cgt::ScreenRefusal> TQCGT_62::Check() {
    Recalculate();
    if (const auto refusal = cgt::ValidateChoiceTable(choices_))
        return cgt::ShownRefusal(*refusal, ui_->XGrid1);
    return std::nullopt;
}

// Leaving by Prev checks nothing.
std::optional<cgt::ScreenRefusal> TQCGT_62::CheckLeave(cgt::Direction direction) {
    if (direction == cgt::Direction::Back) return std::nullopt;
    return Check();
}

// The choices reach their sources only once the table passes its checks, on Next as on a
// navigator topic.
cgt::NextStep TQCGT_62::Next(cgt::Answer /*answer*/) {
    if (auto refusal = Check()) return *std::move(refusal);
    cgt::LeaveChoiceTable(choices_);
    if (TFrameWnd* frame = TFrameWnd::Instance()) frame->MarkForVisit(kChoiceTableScreen, false);
    return cgt::ScreenTarget::RowNext();
}

CGT_REGISTER_SCREEN(TQCGT_62);

// ---- TQCGT_64: small business concession elections ---------------------------------------------

TQCGT_64::TQCGT_64() : ui_(std::make_unique<Ui::ElectionsForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_64"));
    LayOutGrid(ui_->XGrid1, cgt::ElectionsDisplay(), cgt::ElectionsShownColumns());
    ui_->XGridTotals1->setGrid(ui_->XGrid1);
    connect(ui_->XGrid1, &TXGrid::OnKeyDown, this, &TQCGT_64::KeyDown);
}

TQCGT_64::~TQCGT_64() = default;

TXGrid* TQCGT_64::Grid() const {
    return ui_->XGrid1;
}

void TQCGT_64::FormShow() {
    ShowNavigator();
    TXGrid* grid = ui_->XGrid1;
    grid->setFixedCols(cgt::ecReduction);
    cgt::FillElections(grid->table());
    grid->TableEdited();
}

// Checked whenever the screen is left, Prev included.
std::optional<cgt::ScreenRefusal> TQCGT_64::CheckLeave(cgt::Direction /*direction*/) {
    if (const auto refusal = cgt::ValidateElections(ui_->XGrid1->table()))
        return cgt::ShownRefusal(*refusal, ui_->XGrid1);
    return std::nullopt;
}

// Next and a navigator topic store the elections.
cgt::NextStep TQCGT_64::Next(cgt::Answer /*answer*/) {
    cgt::StoreElections(ui_->XGrid1->table());
    cgt::TotalElections(ui_->XGrid1->table());
    return cgt::ScreenTarget::RowNext();
}

// Enter, or Tab after the retirement exemption: from the roll-over to the reduction of the next
// row; Shift+Tab from the reduction to the roll-over of the row before.
void TQCGT_64::KeyDown(int* key, Qt::KeyboardModifiers modifiers) {
    SwallowRowDeletion(key, modifiers);
    TXGrid* grid = ui_->XGrid1;
    const int col = grid->Col();
    if ((IsEnter(*key) || IsForwardTab(*key, modifiers)) && col > cgt::ecRetirement) {
        *key = 0;
        if (col == cgt::ecRollOver) grid->MoveTo(cgt::ecReduction, NextRow(grid, grid->Row()));
    } else if (IsBackTab(*key, modifiers) && col < cgt::ecRetirement) {
        *key = 0;
        if (col == cgt::ecReduction) grid->MoveTo(cgt::ecRollOver, PreviousRow(grid, grid->Row()));
    }
}

CGT_REGISTER_SCREEN(TQCGT_64);

// ---- TQCGT_65: the 15-year exemption -----------------------------------------------------------

TQCGT_65::TQCGT_65() : ui_(std::make_unique<Ui::ExemptForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_65"));
    const std::array<cgt::ShownColumn, 3> shown{cgt::ShownColumn{cgt::xcDescription, 435},
                                                cgt::ShownColumn{cgt::xcTypeLetter, 75},
                                                cgt::ShownColumn{cgt::xcGain, 75}};
    LayOutGrid(ui_->XGrid1, cgt::ExemptListDisplay(), shown);
    ui_->XGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui_->XGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui_->XGridTotals1->setGrid(ui_->XGrid1);
    connect(ui_->XGrid1, &TXGrid::OnKeyDown, this, &SwallowRowDeletion);
}

TQCGT_65::~TQCGT_65() = default;

TXGrid* TQCGT_65::Grid() const {
    return ui_->XGrid1;
}

void TQCGT_65::FormShow() {
    ShowNavigator();
    TXGrid* grid = ui_->XGrid1;
    grid->ClearRows();
    cgt::BuildExemptList(grid->table());
    grid->TableEdited();
}

// Next and a navigator topic store the exemptions.
cgt::NextStep TQCGT_65::Next(cgt::Answer /*answer*/) {
    cgt::StoreExemption(ui_->XGrid1->table());
    return cgt::ScreenTarget::RowNext();
}

CGT_REGISTER_SCREEN(TQCGT_65);

// ---- TQCGT_66: scrip for scrip -----------------------------------------------------------------

namespace {

// The attention label's section for a column: what the cell holds or asks for.
int ScripSection(int col) {
    switch (col) {
    case cgt::scCostBase:
        return 2;
    case cgt::scMarketValue:
        return 3;
    case cgt::scCash:
    case cgt::scProceeds:
        return 4;
    default:
        return 1;
    }
}

} // namespace

TQCGT_66::TQCGT_66() : ui_(std::make_unique<Ui::ScripForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_66"));
    LayOutGrid(ui_->XGrid1, cgt::ScripListDisplay(), cgt::ScripListShownColumns());
    ui_->XGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui_->XGridTotals1->setGrid(ui_->XGrid1);
    connect(ui_->XGrid1, &TXGrid::OnKeyDown, this, &TQCGT_66::KeyDown);
    connect(ui_->XGrid1, &TXGrid::OnEnterCell, this, &TQCGT_66::CellEntered);
}

TQCGT_66::~TQCGT_66() = default;

TXGrid* TQCGT_66::Grid() const {
    return ui_->XGrid1;
}

void TQCGT_66::FormShow() {
    ShowNavigator();
    TXGrid* grid = ui_->XGrid1;
    cgt::BuildScripList(grid->table());
    grid->TableEdited();
    ui_->YBLbl->setCurrentSection(3);
}

// Leaving by Prev checks nothing.
std::optional<cgt::ScreenRefusal> TQCGT_66::CheckLeave(cgt::Direction direction) {
    if (direction == cgt::Direction::Back) return std::nullopt;
    if (const auto refusal = cgt::ValidateScrip(ui_->XGrid1->table()))
        return cgt::ShownRefusal(*refusal, ui_->XGrid1);
    return std::nullopt;
}

// Next and a navigator topic store the roll-overs.
cgt::NextStep TQCGT_66::Next(cgt::Answer /*answer*/) {
    cgt::StoreScrip(ui_->XGrid1->table());
    cgt::TotalScrip(ui_->XGrid1->table());
    return cgt::ScreenTarget::RowNext();
}

// The cursor lands on the first cell the user can type in from the one entered.
void TQCGT_66::CellEntered(int col, int /*row*/) {
    const int landing = ui_->XGrid1->table().FirstTabStop(col);
    ui_->YBLbl->setCurrentSection(ScripSection(landing >= 0 ? landing : col));
}

// Enter, or Tab after the market value: from the cash to the market value of the next row;
// Shift+Tab from the market value to the cash of the row before, from the cash to the market
// value.
void TQCGT_66::KeyDown(int* key, Qt::KeyboardModifiers modifiers) {
    SwallowRowDeletion(key, modifiers);
    TXGrid* grid = ui_->XGrid1;
    const int col = grid->Col();
    if ((IsEnter(*key) || IsForwardTab(*key, modifiers)) && col > cgt::scMarketValue) {
        *key = 0;
        if (col == cgt::scCash) grid->MoveTo(cgt::scMarketValue, NextRow(grid, grid->Row()));
    } else if (IsBackTab(*key, modifiers)) {
        *key = 0;
        if (col == cgt::scMarketValue)
            grid->MoveTo(cgt::scCash, PreviousRow(grid, grid->Row()));
        else if (col == cgt::scCash)
            grid->MoveTo(cgt::scMarketValue, grid->Row());
    }
}

CGT_REGISTER_SCREEN(TQCGT_66);
