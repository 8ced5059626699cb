#include "cgt/screens/events/cost_elements_screen.h"

#include "cgt/records/event_records.h"
#include "cgt/rules/cost_elements.h"
#include "controls/help_service.h"
#include "controls/text_label.h"
#include "controls/xgrid.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "ui_cost_elements_form.h"

namespace {

// Widths of the columns in pixels; -1 hides the date paid and the reduced cost base exclusion.
constexpr int kColumnWidths[cgt::kCostElementColumns] = {230, 84, -1, 150, 86, 110, -1, 140};

} // namespace

TQCGT_12::TQCGT_12(QWidget* parent)
    : TEventScreen(parent), ui_(std::make_unique<Ui::CostElementsForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_12"));
    ShowAssetName(ui_->TextLbl1);
    if (const TFrameWnd* frame = TFrameWnd::Instance())
        ContinueEvent(cgt::EventWorksheet(*frame, cgt::Run().CurrentScreen));

    TXGrid* grid = ui_->XGrid1;
    connect(grid, &TXGrid::OnPicklistDropdown, this, &TQCGT_12::XGrid1PicklistDropdown);
    connect(grid, &TXGrid::OnEnterCell, this, &TQCGT_12::XGrid1EnterCell);
    connect(grid, &TXGrid::OnKeyDown, this, &TQCGT_12::XGrid1KeyDown);
    connect(grid->inplaceEditor(), &QLineEdit::textChanged, this,
            [this] { FollowElement(ui_->XGrid1->Row()); });
    for (int col = 0; col < cgt::kCostElementColumns; ++col)
        grid->setColWidths(col, kColumnWidths[col]);
    // Neither hidden column is reached by Tab.
    for (int col : {cgt::ceDatePaid, cgt::ceExcludedReduced}) {
        grid->LockColumn(col);
        grid->SetColumnReadOnly(col, true);
    }
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

TQCGT_12::~TQCGT_12() = default;

TXGrid* TQCGT_12::XGrid1() const {
    return ui_->XGrid1;
}
TTextLbl* TQCGT_12::YBLbl() const {
    return ui_->YBLbl;
}

void TQCGT_12::FormShow() {
    ui_->YBLbl->setCurrentSection(cgt::CostElementHelpSection(cgt::ceElement, Worksheet()));
    FollowElement(ui_->XGrid1->Row());
    TEventScreen::FormShow();
}

void TQCGT_12::XGrid1PicklistDropdown(int col, int, QStringList* picklist) {
    if (col != cgt::ceElement) return;
    picklist->clear();
    for (const char* item : cgt::CostElementPicklist(Worksheet()))
        *picklist << QString::fromLatin1(item);
}

void TQCGT_12::XGrid1EnterCell(int col, int row) {
    ui_->YBLbl->setCurrentSection(cgt::CostElementHelpSection(col, Worksheet()));
    // The adjustments are amounts of their own: nothing of them is excluded.
    TXGrid* grid = ui_->XGrid1;
    if (col != cgt::ceElement && cgt::IsAdjustmentElement(ElementCodeOf(row))) {
        grid->setCells(cgt::ceExcluded, row, QString());
        grid->setCells(cgt::ceExcludedReduced, row, QString());
    }
    FollowElement(row);
}

std::string TQCGT_12::ElementCodeOf(int row) const {
    return cgt::ElementCode(ui_->XGrid1->Cells(cgt::ceElement, row).toLatin1().toStdString());
}

int TQCGT_12::ElementHelpTopic() const {
    return cgt::CostElementHelpTopic(ElementCodeOf(ui_->XGrid1->Row()));
}

void TQCGT_12::FollowElement(int row) {
    ui_->XGrid1->setProperty("HelpContext", cgt::CostElementHelpTopic(ElementCodeOf(row)));
}

void TQCGT_12::XGrid1KeyDown(int* key, Qt::KeyboardModifiers modifiers) {
    // F1 reaches the grid where no main window takes it first.
    if (*key != Qt::Key_F1 || modifiers != Qt::NoModifier) return;
    if (const int topic = ElementHelpTopic()) {
        cgt::Help().ShowContext(topic);
        *key = 0;
    }
}

std::optional<cgt::Refusal> TQCGT_12::CheckEntries() {
    return cgt::CheckCostElements(ui_->XGrid1->table(), cgt::ReadOpenEvent());
}

cgt::NextStep TQCGT_12::NextPressed() {
    ui_->XGrid1->SortRows(QString::fromLatin1(cgt::kCostElementSortKeys.data(),
                                              int(cgt::kCostElementSortKeys.size())));
    return TEventScreen::NextPressed();
}

QWidget* TQCGT_12::RefusedControl(const cgt::Refusal& refusal) {
    if (refusal.field == cgt::EventField::CostElements) return ui_->XGrid1;
    return TEventScreen::RefusedControl(refusal);
}

CGT_REGISTER_SCREEN(TQCGT_12);
