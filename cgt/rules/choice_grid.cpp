#include "cgt/rules/choice_grid.h"

#include <algorithm>

#include "base/number_format.h"
#include "cgt/rules/choice_cells.h"

namespace cgt {

namespace {

constexpr std::array kShown{
    ShownColumn{ccDescription, 163},   ShownColumn{ccType, 47},
    ShownColumn{ccIndexed, 66},        ShownColumn{ccDiscount, 71},
    ShownColumn{ccChoiceRequired, 58}, ShownColumn{ccMethod, 73},
    ShownColumn{ccOther, 74},          ShownColumn{ccLoss, 65},
    ShownColumn{ccCanDefer, 75},       ShownColumn{ccDeferAuto, 83},
    ShownColumn{ccDefer, 61},          ShownColumn{ccCollectableApplied, 65},
    ShownColumn{ccOtherApplied, 65},   ShownColumn{ccNetGain, 81},
};

// A whole number of a cell, truncated; 0 when it holds none.
int CellNumber(const std::string& cell) {
    const auto value = ParseNumber(cell);
    return value ? static_cast<int>(TruncatedDollars(*value)) : 0;
}

} // namespace

const StringList& ChoiceTableDisplay() {
    static const StringList display = [] {
        const std::string typed = "|1|1|12|0|F|F|2|T|0|0";
        const std::string written = "|1|1|12|0|T|F|2|T|0|0";
        return StringList{
            "Section / Grouping|0|0|20|0|T",
            "Asset Description|0|0|50|0|T",
            "Asset\rType|0|0|2|0|T",
            "Indexed\rgain\r(I)" + typed,
            "Discount\rgain\r(D)" + typed,
            "Choice\rReq'd|0|0|3|0|T",
            "Method\rchoice\r(I or D)|0|0|8|0|F|T|0||0|0|2|1|2|Discount|Indexed",
            "Other\rgain" + typed,
            "Loss" + typed,
            "Can\rgain be\rdeferred?|0|0|3|0|T",
            "Deferment\rautomatic|0|0|3|0|T",
            "Do you\rwant to\rdefer?|0|0|3|0|F|T|0||0|0|2|1|2|No|Yes",
            "Collect\r-able\rloss applied" + typed,
            "Prior year\rcollect\r-able loss applied" + written,
            "Other\rloss applied" + typed,
            "Prior year\rother loss\rapplied" + written,
            "Net gain" + typed,
            "W/sheet number|1|1|4|0|T",
            "W/sheet count|1|1|5|0|T",
            "Part A or B|0|0|2|0|T",
            "Index factor|1|1|14|0|T|F|5|T|0|0",
        };
    }();
    return display;
}

std::span<const ShownColumn> ChoiceTableShownColumns() {
    return kShown;
}

void SetupChoiceTable(CellTable& grid) {
    grid.SetColCount(kChoiceColumns);
    grid.SetDisplay(ChoiceTableDisplay());
    grid.SetRowCount(2);
}

ChoiceCells ChoiceRowCells(const ChoiceRow& r) {
    return {r.section,
            r.description,
            r.type,
            r.indexed.Text(),
            r.discount.Text(),
            AnswerText(r.choiceRequired),
            MethodText(r.method),
            r.other.Text(),
            r.loss.Text(),
            AnswerText(r.canDefer),
            AnswerText(r.deferAuto),
            AnswerText(r.defer),
            r.collectableApplied.Text(),
            r.priorCollectableApplied.Text(),
            r.otherApplied.Text(),
            r.transferredApplied.Text(),
            r.netGain.Text(),
            r.source.NumberText(),
            r.source.IndexText(),
            r.source.code,
            r.indexFactor.Text()};
}

ChoiceRow ChoiceRowFromCells(std::span<const std::string> cells) {
    auto cell = [&](int col) -> const std::string& {
        static const std::string empty;
        return static_cast<std::size_t>(col) < cells.size() ? cells[static_cast<std::size_t>(col)]
                                                            : empty;
    };
    ChoiceRow r;
    r.section = cell(ccSection);
    r.description = cell(ccDescription);
    r.type = cell(ccType);
    r.indexed = ChoiceAmount(cell(ccIndexed));
    r.discount = ChoiceAmount(cell(ccDiscount));
    r.choiceRequired = AnswerOfText(cell(ccChoiceRequired));
    r.method = MethodOfText(cell(ccMethod));
    r.other = ChoiceAmount(cell(ccOther));
    r.loss = ChoiceAmount(cell(ccLoss));
    r.canDefer = AnswerOfText(cell(ccCanDefer));
    r.deferAuto = AnswerOfText(cell(ccDeferAuto));
    r.defer = AnswerOfText(cell(ccDefer));
    r.collectableApplied = ChoiceAmount(cell(ccCollectableApplied));
    r.priorCollectableApplied = ChoiceAmount(cell(ccPriorCollectableApplied));
    r.otherApplied = ChoiceAmount(cell(ccOtherApplied));
    r.transferredApplied = ChoiceAmount(cell(ccTransferredApplied));
    r.netGain = ChoiceAmount(cell(ccNetGain));
    r.source = cell(ccSourceKind).empty()
                   ? ChoiceSource{.code = cell(ccRowCode)}
                   : ChoiceSource::Of(CellNumber(cell(ccSourceKind)),
                                      CellNumber(cell(ccSourceIndex)), cell(ccRowCode));
    r.indexFactor = ChoiceAmount(cell(ccIndexFactor));
    return r;
}

void ShowChoiceRows(const std::vector<ChoiceRow>& rows, CellTable& grid) {
    const int count = static_cast<int>(rows.size());
    grid.SetRowCount(std::max(count + 1, 2));
    for (int row = 1; row < grid.RowCount(); ++row) {
        if (row > count) {
            for (int col = 0; col < kChoiceColumns; ++col)
                grid.SetCell(col, row, std::string());
            continue;
        }
        ChoiceCells cells = ChoiceRowCells(rows[static_cast<std::size_t>(row - 1)]);
        for (int col = 0; col < kChoiceColumns; ++col)
            if (grid.Cell(col, row) != cells[static_cast<std::size_t>(col)])
                grid.SetCell(col, row, std::move(cells[static_cast<std::size_t>(col)]));
    }
}

void ReadChoiceGrid(const CellTable& grid, std::vector<ChoiceRow>& rows) {
    rows.clear();
    rows.reserve(static_cast<std::size_t>(std::max(grid.RowCount() - 1, 0)));
    ChoiceCells cells;
    for (int row = 1; row < grid.RowCount(); ++row) {
        for (int col = 0; col < kChoiceColumns; ++col)
            cells[static_cast<std::size_t>(col)] = grid.Cell(col, row);
        rows.push_back(ChoiceRowFromCells(cells));
    }
    // A grid without rows holds one empty row; a table without rows has none.
    if (rows.size() == 1 && rows.front().Empty()) rows.clear();
}

StringList ChoiceTableList(const std::vector<ChoiceRow>& rows) {
    StringList list;
    list.reserve(rows.size() * kChoiceColumns);
    for (const ChoiceRow& row : rows) {
        if (row.Empty()) continue;
        ChoiceCells cells = ChoiceRowCells(row);
        std::move(cells.begin(), cells.end(), std::back_inserter(list));
    }
    return list;
}

void SetupUnappliedGrid(CellTable& grid) {
    grid.SetColCount(3);
    grid.SetDisplay(
        {"Unapplied losses|0|0|20|0|T", "Collectable\rloss|1|1|10|0|T", "Other\rloss|1|1|10|0|T"});
    grid.SetRowCount(3);
    grid.SetCell(0, 1, "Prior Years");
    grid.SetCell(0, 2, "Current Year");
}

void FillUnappliedGrid(CellTable& grid, const UnappliedLosses& losses) {
    if (grid.RowCount() < 3) grid.SetRowCount(3);
    grid.SetCell(0, 1, "Prior Years");
    grid.SetCell(0, 2, "Current Year");
    grid.SetCell(1, 1, std::to_string(losses.priorCollectable));
    grid.SetCell(2, 1, std::to_string(losses.priorOther));
    grid.SetCell(1, 2, std::to_string(losses.currentCollectable));
    grid.SetCell(2, 2, std::to_string(losses.currentOther));
}

std::string ShownChoiceCell(int col, const std::string& cell) {
    switch (col) {
    case ccIndexed:
    case ccDiscount:
    case ccOther:
    case ccLoss:
    case ccCollectableApplied:
    case ccPriorCollectableApplied:
    case ccOtherApplied:
    case ccTransferredApplied:
        if (const auto value = ParseNumber(cell)) return std::to_string(RoundedWhole(*value));
        return cell;
    default:
        return cell;
    }
}

} // namespace cgt
