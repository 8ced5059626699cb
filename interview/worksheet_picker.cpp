#include "interview/worksheet_picker.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

#include "base/dates.h"
#include "controls/text_label.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

namespace cgt {

namespace {

constexpr const char* kCreateNewWorksheet = "** Create new worksheet **";
constexpr const char* kDeleteWorksheetQuestion =
    "Are you sure you want to delete the selected worksheet?";

} // namespace

bool ScratchRowEmpty(std::span<const int> besides) {
    for (auto [first, last] : kScratchRanges)
        for (int tag = first; tag <= last; ++tag) {
            if (std::find(besides.begin(), besides.end(), tag) != besides.end()) continue;
            if (!FieldIsEmpty(tag) && GetFieldText(tag) != kEmptyDateMask) return false;
        }
    return true;
}

WorksheetPicker::WorksheetPicker(QListWidget* list, QPushButton* remove, TTextLbl* header,
                                 ScreenAccess screen, QObject* parent)
    : QObject(parent), list_(list), remove_(remove), header_(header), screen_(std::move(screen)) {
    connect(remove_, &QPushButton::clicked, this, &WorksheetPicker::RemoveChosen);
    connect(list_, &QListWidget::clicked, this, &WorksheetPicker::LineChosen);
    connect(list_, &QListWidget::currentRowChanged, this, [this] {
        updateRemoveButton();
        if (list_->hasFocus() && QGuiApplication::mouseButtons() == Qt::NoButton) LineChosen();
    });
}

void WorksheetPicker::Open(int worksheet, int row) {
    Run().CurrentWorksheet = worksheet;
    ZeroFillScratchTags();
    EnsureWorksheet(worksheet);
    currentRow_ = static_cast<std::uint16_t>(row);
    buildLines();
    // A new row goes after the existing ones: the line that creates it.
    ShowRow(row != 0 ? row : static_cast<int>(lines_.size()));
    Refresh();
}

void WorksheetPicker::buildLines() {
    lines_ = RowNames(WorksheetOf(Run().CurrentWorksheet));
    lines_.emplace_back(kCreateNewWorksheet);
    open_ = true;
}

void WorksheetPicker::ShowRow(int row) {
    CopyRowToScratch(WorksheetOf(Run().CurrentWorksheet), row);
    currentRow_ = static_cast<std::uint16_t>(row);
    if (screen_.shown()) screen_.reload();
}

void WorksheetPicker::fillList() {
    filling_ = true;
    list_->clear();
    for (const std::string& line : lines_)
        list_->addItem(QString::fromLatin1(line));
    filling_ = false;
}

void WorksheetPicker::selectLine(int line) {
    filling_ = true;
    list_->setCurrentRow(line - 1);
    filling_ = false;
    updateRemoveButton();
}

void WorksheetPicker::updateRemoveButton() {
    const int line = list_->currentRow();
    remove_->setEnabled(line >= 0 && line + 1 < static_cast<int>(lines_.size()));
}

void WorksheetPicker::Refresh() {
    filling_ = true;
    list_->clear();
    filling_ = false;
    if (screen_.shown()) {
        screen_.save();
        StoreRow();
    }
    header_->setCurrentSection(1);
    buildLines();
    fillList();
    selectLine(currentRow_);
    selectedRow_ = list_->currentRow() + 1;
}

void WorksheetPicker::StoreRow() {
    Worksheet* sheet = WorksheetOf(Run().CurrentWorksheet);
    if (!sheet) return;
    if (screen_.shown()) {
        screen_.save();
        if (screen_.rowEmpty()) {
            cgt::DeleteRow(*sheet, currentRow_);
            return;
        }
    }
    if (GetFieldText(tag::event::kName).empty())
        SetFieldStr(tag::event::kName, DefaultRowName(currentRow_));
    StoreScratchAsRow(*sheet, currentRow_);
}

void WorksheetPicker::DeleteRow(int row) {
    if (Worksheet* sheet = WorksheetOf(Run().CurrentWorksheet)) cgt::DeleteRow(*sheet, row);
}

void WorksheetPicker::LineChosen() {
    if (filling_) return;
    const int selection = list_->currentRow();
    if (selection < 0) return;
    if (screen_.shown() && !screen_.validate()) {
        selectLine(selectedRow_);
        return;
    }
    if (screen_.shown()) {
        screen_.save();
        StoreRow();
    }
    selectedRow_ = selection + 1;
    ShowRow(selectedRow_);
    Refresh();
    screen_.focusFirst();
}

void WorksheetPicker::RemoveChosen() {
    if (!remove_->isEnabled()) return;
    if (screen_.shown()) {
        screen_.save();
        StoreRow();
    }
    if (MsgBox(kDeleteWorksheetQuestion, mkConfirmation, mbYes | mbNo) != mrYes) return;
    selectedRow_ = list_->currentRow() + 1;
    DeleteRow(selectedRow_);
    buildLines();
    fillList();
    const int lines = static_cast<int>(lines_.size());
    if (selectedRow_ > lines) selectedRow_ = lines;
    ShowRow(selectedRow_);
    selectLine(selectedRow_);
}

void WorksheetPicker::Finish() {
    struct Closing {
        WorksheetPicker* picker;
        ~Closing() { picker->Close(); }
    } closing{this};
    StoreRow();
    ZeroFillScratchTags();
}

void WorksheetPicker::Close() {
    lines_.clear();
    open_ = false;
    Run().CurrentWorksheet = 0;
    currentRow_ = 0;
}

} // namespace cgt
