#include "cgt/rules/trust_table.h"

#include "base/number_format.h"
#include "base/text.h"

namespace cgt {

namespace {

constexpr const char* kComponentTitles[] = {
    "Indexed gain",
    "Discounted gain",
    "Other gain",
    "Indexed gain from collectable",
    "Discounted gain from collectable",
    "Other gain from collectable",
    "Indexed gain from active asset",
    "Discounted gain from active asset",
    "Other gain from active asset",
};

bool Blank(const std::string& cell) {
    return TrimBlanks(cell).empty();
}

} // namespace

const StringList& TrustTableDisplay() {
    static const StringList display = [] {
        StringList lines;
        lines.emplace_back("Name of trust|0|0|50");
        // Whole dollars of up to 8 digits, as the trustee reports them.
        for (const char* title : kComponentTitles)
            lines.push_back(std::string(title) + "|1|1|8|0|F|F|0|F|0|0");
        // The sum: worked out, never typed.
        lines.emplace_back("Net capital gain from the trust|1|1|10|0|T|F|0|F|0|0");
        for (int cell = kTrustNetCell + 1; cell < kTrustCells; ++cell)
            lines.push_back("Title" + std::to_string(cell + 1) + "|1|1|10|0|T|F|0|F|0|0");
        return lines;
    }();
    return display;
}

void UpdateTrustNetCells(CellTable& table) {
    for (int row = 1; row < table.RowCount(); ++row) {
        Extended sum = 0;
        for (int cell = kTrustFirstComponent; cell <= kTrustLastComponent; ++cell)
            if (const auto value = ParseNumber(table.Cell(cell, row))) sum += *value;
        const bool named = !Blank(table.Cell(kTrustNameCell, row));
        table.SetCell(kTrustNetCell, row, named || sum > 0 ? FormatGeneral(sum) : std::string());
    }
}

std::optional<Refusal> CheckTrustTable(const CellTable& table) {
    for (int row = 1; row < table.RowCount(); ++row) {
        if (!Blank(table.Cell(kTrustNameCell, row))) continue;
        for (int cell = kTrustNameCell + 1; cell < table.ColCount(); ++cell)
            if (!Blank(table.Cell(cell, row)))
                return Refusal{"Each row of data must have an asset description present.",
                               EventField::None, row, kTrustNameCell};
    }
    return std::nullopt;
}

} // namespace cgt
