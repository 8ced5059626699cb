#include "cgt/rules/manual_table.h"

#include <array>

#include "base/number_format.h"
#include "base/text.h"

namespace cgt {

namespace {

// The eleven asset types with their meanings; the cell keeps the code.
constexpr const char* kTypeItems[] = {
    "UA  - Active asset - Units in a unit trust",
    "UN  - Non-active asset - Units in a unit trust",
    "SA  - Active asset - Shares",
    "SN  - Non-active asset - Shares",
    "RA  - Active asset - Real estate",
    "RN  - Non-active asset - Real estate",
    "G   - Goodwill",
    "A   - Collectables",
    "P   - Personal use assets",
    "OA  - Active asset - Other asset or CGT event",
    "ON  - Non-active asset - Other asset or CGT event",
};

constexpr std::array kShown{
    ShownColumn{mcDescription, 161}, ShownColumn{mcType, 47},      ShownColumn{mcIndexed, 60},
    ShownColumn{mcDiscount, 60},     ShownColumn{mcOther, 60},     ShownColumn{mcLoss, 60},
    ShownColumn{mcCanDefer, 60},     ShownColumn{mcDeferAuto, 60},
};

std::string Trimmed(const CellTable& table, int col, int row) {
    return TrimText(table.Cell(col, row));
}

// A cell's amount: `missing` when it is empty or not a number.
Extended Amount(const CellTable& table, int col, int row, Extended missing) {
    const auto value = ParseNumber(table.Cell(col, row));
    return value ? *value : missing;
}

bool IsYes(const CellTable& table, int col, int row) {
    return Trimmed(table, col, row) == "Yes";
}

Refusal CellRefusal(const char* message, int row, int col) {
    return Refusal{message, EventField::None, row, col};
}

} // namespace

const StringList& ManualTableDisplay() {
    static const StringList display = [] {
        const std::string amount = "|1|1|8|0|F|F|0|F|0|0";
        const std::string written = "|1|1|12|0|T|F|2|T|0|0"; // the choice table's
        std::string types = "|0|0|2|0|F|T|0||0|0|11|1|11";
        for (const char* item : kTypeItems)
            types += std::string("|") + item;
        const std::string yesNo = "|0|0|3|0|F|T|0||0|0|2|1|2|No|Yes";
        return StringList{
            "Section / Grouping|0|0|20|0|T",
            "Asset Description|0|0|50",
            "Asset\rType" + types,
            "Indexed\rgain\r(I)" + amount,
            "Discount\rgain\r(D)" + amount,
            "Choice\rReq'd|0|0|3|0|T",
            "Method\rchoice\r(I or D)|0|0|8|0|T",
            "Other\rgain" + amount,
            "Loss" + amount,
            "Can\rgain be\rdeferred?" + yesNo,
            "Defer\rauto?" + yesNo,
            "Do you\rwant to\rdefer?|0|0|3|0|T",
            "Collect\r-able\rloss applied" + written,
            "Prior year\rcollect\r-able loss applied" + written,
            "Other\rloss applied" + written,
            "Transferred\r in loss\rapplied\r(Coy only)" + written,
            "Net gain" + written,
            "W/sheet number|1|1|4|0|T",
            "W/sheet count|1|1|4|0|T",
            "Part A or B|0|0|2|0|T",
            "Index factor" + written,
        };
    }();
    return display;
}

std::span<const ShownColumn> ManualTableShownColumns() {
    return kShown;
}

std::string SectionOfType(std::string_view type) {
    const std::string code = TrimText(type);
    if (code.empty()) return {};
    if (code == "UA" || code == "UN") return "Fixed trust";
    if (code == "SA" || code == "SN") return "Shares";
    if (code == "RA" || code == "RN") return "Real estate";
    if (code == "G") return "Intellectual";
    if (code == "A" || code == "P") return "Personal use";
    if (code == "OA" || code == "ON") return "Other assets";
    return "Not Allocated";
}

void UpdateManualRow(CellTable& table, int row) {
    if (row < 1 || row >= table.RowCount()) return;
    if (!Trimmed(table, mcDescription, row).empty())
        table.SetCell(mcSection, row, SectionOfType(table.Cell(mcType, row)));
    const bool canDefer = IsYes(table, mcCanDefer, row);
    const bool autoBlank = Trimmed(table, mcDeferAuto, row).empty();
    if (canDefer && autoBlank)
        table.SetCell(mcDeferAuto, row, "No");
    else if (!canDefer && !autoBlank)
        table.SetCell(mcDeferAuto, row, "");
}

std::optional<Refusal> LeaveManualCell(CellTable& table, int col, int row) {
    if (row < 1 || row >= table.RowCount()) return std::nullopt;
    const Extended indexed = Amount(table, mcIndexed, row, 0);
    const Extended discount = Amount(table, mcDiscount, row, 0);
    const Extended loss = Amount(table, mcLoss, row, 0);
    if (col > mcIndexed && (indexed != 0 || discount != 0) && indexed > discount) {
        table.SetCell(mcIndexed, row, "");
        table.SetCell(mcDiscount, row, "");
        return CellRefusal("Discount Amount must be greater than or equal to Indexed Amount.", row,
                           mcIndexed);
    }
    if (col > 6 && Trimmed(table, mcType, row) == "P" && loss > 0) {
        table.SetCell(mcLoss, row, "");
        return CellRefusal("You cannot have a loss if asset type is \"P\".", row, col);
    }
    if (col == mcDeferAuto && !Trimmed(table, mcDeferAuto, row).empty() &&
        !IsYes(table, mcCanDefer, row)) {
        table.SetCell(mcDeferAuto, row, "");
        return CellRefusal(
            "\"Defer auto?\" must be blank unless \"Can gain be defered\" is \"Yes\"", row, col);
    }
    return std::nullopt;
}

std::optional<Refusal> CheckManualTable(CellTable& table) {
    for (int row = 1; row < table.RowCount(); ++row) {
        const Extended indexed = Amount(table, mcIndexed, row, -1);
        const Extended discount = Amount(table, mcDiscount, row, -1);
        const Extended other = Amount(table, mcOther, row, -1);
        const Extended loss = Amount(table, mcLoss, row, -1);
        if (Trimmed(table, mcDescription, row).empty()) {
            for (int col :
                 {mcType, mcIndexed, mcDiscount, mcOther, mcLoss, mcCanDefer, mcDeferAuto})
                if (!Trimmed(table, col, row).empty())
                    return CellRefusal("Each row of data must have an asset description present.",
                                       row, mcDescription);
            for (int col = 0; col < table.ColCount(); ++col)
                table.SetCell(col, row, "");
            continue;
        }
        const std::string type = Trimmed(table, mcType, row);
        if (type.empty())
            return CellRefusal("You must select the asset type for each CGT Asset/Event.", row,
                               mcType);
        if (indexed >= 0 && discount >= 0 && indexed > discount)
            return CellRefusal("Discount amount must be greater than or equal to indexed amount. "
                               "Please correct.",
                               row, mcDescription);
        if ((indexed >= 0 || discount >= 0) && other >= 0)
            return CellRefusal("Check gains entered. Other gain cannot be present if a Discount or "
                               "Indexed gain has been entered.",
                               row, mcOther);
        if ((indexed >= 0 || discount >= 0 || other >= 0) && loss >= 0)
            return CellRefusal(
                "Check loss entered. Loss cannot be present if a Discount, Indexed or "
                "Other gain has been entered.",
                row, mcLoss);
        if (type == "P" && loss > 0)
            return CellRefusal("A loss cannot be recorded against an asset of type \"P\". Please "
                               "correct.",
                               row, mcDescription);
    }
    return std::nullopt;
}

} // namespace cgt
