#include "cgt/records/trade_import.h"

#include <algorithm>
#include <set>

#include "base/worksheet_kinds.h"
#include "cgt/records/choice_records.h"
#include "cgt/records/event_records.h"
#include "cgt/records/event_worksheets.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/trade_plan.h"
#include "store/field_store.h"
#include "store/worksheet_rows.h"

namespace cgt {

namespace {

// The rows of the shares worksheet whose import source names one of the files.
std::vector<std::uint16_t> RowsImportedFrom(const Worksheet& sheet,
                                            const std::set<std::string>& files) {
    std::vector<std::uint16_t> rows;
    for (std::uint16_t key : sheet.rowKeys()) {
        const Event event = ReadStoredEvent(sheet, wkShares, key, EventParts::Results);
        if (files.count(ImportSourceFile(event.importSource))) rows.push_back(key);
    }
    return rows;
}

std::set<std::string> SourceFileNames(const std::vector<std::string>& files) {
    std::set<std::string> names;
    for (const std::string& file : files)
        names.insert(SourceFileName(file));
    return names;
}

} // namespace

TradePlan PlanImportForReturn(const std::vector<TradeSource>& files, MatchMethod method,
                              const std::vector<NamedParcel>& named) {
    if (method != MatchMethod::Lowest) return PlanTradeImport(files, method, named);
    std::vector<std::string> paths;
    for (const TradeSource& file : files)
        paths.push_back(file.name);
    const std::set<std::string> replaced = SourceFileNames(paths);
    const ChoiceTable others = BuildStoredChoiceTable([&](const Event& event) {
        return replaced.count(ImportSourceFile(event.importSource)) > 0;
    });
    return PlanTradeImport(files, method, named, others);
}

int EventsImportedFrom(const std::vector<std::string>& files) {
    const Worksheet* sheet = WorksheetOf(wkShares);
    return sheet ? static_cast<int>(RowsImportedFrom(*sheet, SourceFileNames(files)).size()) : 0;
}

RecordedImport RecordImportedEvents(const std::vector<Event>& events,
                                    const std::vector<std::string>& files) {
    RecordedImport recorded;
    Worksheet* sheet = EnsureWorksheet(wkShares);
    if (!sheet) return recorded;
    std::vector<std::uint16_t> earlier = RowsImportedFrom(*sheet, SourceFileNames(files));
    // From the last: removing a row numbers the later ones one lower.
    std::sort(earlier.rbegin(), earlier.rend());
    for (std::uint16_t key : earlier)
        DeleteRow(*sheet, key);
    recorded.replaced = static_cast<int>(earlier.size());

    int key = 0;
    for (std::uint16_t existing : sheet->rowKeys())
        key = std::max<int>(key, existing);
    for (const Event& event : events) {
        ZeroFillScratchTags();
        PutEnteredEvent(event);
        RunEventWorksheets(wkShares, GainVariantOf(wkShares));
        // A new row goes after the others: appended, the list keeps its row index.
        Worksheet row;
        StoreScratchAsRow(row, ++key);
        for (WorksheetItem& item : row.mutableItems())
            sheet->append(std::move(item));
        ++recorded.added;
    }
    ZeroFillScratchTags();
    return recorded;
}

} // namespace cgt
