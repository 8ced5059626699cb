#pragma once
// Event rows with their results stored directly, for the choice table, the concession screens
// and the schedule; and the store's schedule labels read back.

#include <memory>
#include <string>

#include "cgt/records/choice_records.h"
#include "cgt/rules/choice_grid.h"
#include "cgt/rules/choice_table.h"
#include "cgt/rules/manual_table.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"
#include "support/store_fixture.h"

namespace cgt::test {

struct EventResult {
    int worksheet = wkShares;
    int key = 1;
    std::string name = "Event";
    std::string type = "SN";
    Extended indexed = 0, discount = 0, other = 0, loss = 0;
    bool canDefer = false, marriageBreakdown = false, fifteenYear = false;
    std::string defer, method;
};

inline void StoreResult(const EventResult& e) {
    using namespace tag::event;
    ZeroFillScratchTags();
    SetFieldStr(kName, e.name);
    SetFieldStr(kAssetType, e.type);
    if (e.indexed) SetFieldVal(kIndexedGain, e.indexed);
    if (e.discount) SetFieldVal(kDiscountGain, e.discount);
    if (e.other) SetFieldVal(kOtherGain, e.other);
    if (e.loss) SetFieldVal(kCapitalLoss, e.loss);
    SetFieldChecked(kDisposalResult);
    if (e.canDefer) SetFieldChecked(kRollOverYes);
    if (e.marriageBreakdown) SetFieldChecked(kMarriageBreakdownYes);
    if (e.fifteenYear) SetFieldChecked(kFifteenYearExemption);
    if (!e.defer.empty()) SetFieldStr(kDefermentChoice, e.defer);
    if (!e.method.empty()) SetFieldStr(kMethodChoice, e.method);
    PutRow(e.worksheet, e.key);
}

// The choice table built and recalculated as the screen shows it: its rows, and the grid that
// shows them and takes edits, read back before each step as the screen reads them.
struct Shown {
    ChoiceTable choices;
    CellTable table;
    ChoiceState& state = choices.state;
    Shown() {
        SetupChoiceTable(table);
        choices = BuildStoredChoiceTable();
        RecalculateChoices(choices);
        Show();
    }
    // The grid read back, a step of the rules, and the table shown again.
    void Do(void (*step)(ChoiceTable&)) {
        ReadChoiceGrid(table, choices.rows);
        step(choices);
        Show();
    }
    std::optional<Refusal> Validate() {
        ReadChoiceGrid(table, choices.rows);
        return ValidateChoiceTable(choices);
    }
    void Leave() {
        ReadChoiceGrid(table, choices.rows);
        LeaveChoiceTable(choices);
    }
    void Show() {
        PublishChoiceTable(choices);
        ShowChoiceRows(choices.rows, table);
    }
    // The first row whose description starts with `name`.
    int Row(const std::string& name) const {
        for (int row = 1; row < table.RowCount(); ++row)
            if (table.Cell(ccDescription, row).rfind(name, 0) == 0) return row;
        return -1;
    }
    const std::string& Cell(const std::string& name, int col) const {
        return table.Cell(col, Row(name));
    }
};

// A label of the stored schedule row.
inline Extended ScheduleValue(int tag) {
    FetchRow(wkSchedule, 1);
    const Extended value = GetFieldVal(tag);
    ZeroFillScratchTags();
    return value;
}

} // namespace cgt::test
