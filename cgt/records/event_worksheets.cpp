#include "cgt/records/event_worksheets.h"

#include <algorithm>
#include <iterator>

#include "cgt/records/event_records.h"
#include "cgt/rules/adjustment_worksheet.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

namespace cgt {

namespace {

using namespace tag::event;

// The stored result of each column of the gain worksheet's result block.
constexpr int kColumnResultTags[kGainColumns] = {kIndexedGain, kDiscountGain, kOtherGain,
                                                 kCapitalLoss};

// The values of one stored row by tag.
class StoredRow {
public:
    explicit StoredRow(const Worksheet& row) : row_(row) {}

    const FieldEntry* Find(int tag) const {
        for (const WorksheetItem& item : row_.items())
            if (item.tag == tag) return &item.entry;
        return nullptr;
    }
    Extended Number(int tag) const {
        const FieldEntry* e = Find(tag);
        return e && IsNumberType(e->type) ? e->number() : 0;
    }
    std::string Text(int tag) const {
        const FieldEntry* e = Find(tag);
        return e ? EntryDisplayText(*e) : std::string();
    }

private:
    const Worksheet& row_;
};

RecomputedEvent Summary(int worksheet, int row, const Worksheet& stored, std::string error) {
    const StoredRow r(stored);
    RecomputedEvent event;
    event.worksheet = worksheet;
    event.row = row;
    event.name = r.Text(kName);
    event.type = r.Text(kAssetType);
    for (int column : {gcIndexed, gcDiscount, gcOther, gcLoss})
        event.results[static_cast<std::size_t>(column)] =
            MethodResult::FromStored(r.Number(kColumnResultTags[column]));
    event.costBase = {r.Number(kCostBaseNonIndexed), r.Number(kCostBaseIndexed),
                      r.Number(kReducedCostBase)};
    for (int tag : {kFirstMessage, kSecondMessage})
        if (std::string text = r.Text(tag); !text.empty())
            event.messages.push_back(std::move(text));
    event.error = std::move(error);
    return event;
}

// Recomputes the rows of one worksheet in the order of the list and rebuilds the list with the
// stored rows, each in the place of its first item, as storing the rows one by one would.
void RecomputeWorksheet(int worksheet, std::vector<RecomputedEvent>& events) {
    Worksheet* sheet = WorksheetOf(worksheet);
    if (!sheet || sheet->empty()) return;
    const GainVariant variant = GainVariantOf(worksheet);
    std::vector<WorksheetItem> rebuilt;
    rebuilt.reserve(sheet->size());
    const std::size_t first = events.size();
    for (std::uint16_t key : sheet->rowKeys()) {
        FetchRow(worksheet, key);
        const GainWorksheet ws = RunEventWorksheets(worksheet, variant);
        Worksheet stored;
        StoreScratchAsRow(stored, key);
        events.push_back(Summary(worksheet, key, stored, ws.error));
        auto& items = stored.mutableItems();
        std::move(items.begin(), items.end(), std::back_inserter(rebuilt));
    }
    sheet->mutableItems().swap(rebuilt);
    ZeroFillScratchTags();
    std::sort(events.begin() + static_cast<std::ptrdiff_t>(first), events.end(),
              [](const RecomputedEvent& a, const RecomputedEvent& b) { return a.row < b.row; });
}

} // namespace

GainWorksheet RunGainWorksheet(GainVariant variant) {
    GainWorksheet ws = ComputeGainWorksheet(ReadOpenEvent(), variant);
    StoreGainWorksheet(ws);
    return ws;
}

AdjustmentWorksheet RunAdjustmentWorksheet(PaymentKind kind) {
    AdjustmentWorksheet ws = ComputeAdjustmentWorksheet({kind, ReadOpenEvent()});
    StoreAdjustmentWorksheet(ws);
    return ws;
}

GainWorksheet RunEventWorksheets(int worksheet, GainVariant variant) {
    if (const EventKind* kind = FindEventKind(worksheet); kind && kind->payments) {
        const Event event = ReadOpenEvent(worksheet);
        if (HasDatedPayments(event, *kind->payments))
            StoreAdjustmentWorksheet(ComputeAdjustmentWorksheet({*kind->payments, event}));
        else if (AdjustmentStored(event))
            ClearAdjustmentWorksheet();
    }
    return RunGainWorksheet(variant);
}

std::vector<RecomputedEvent> RecomputeEvents() {
    std::vector<RecomputedEvent> events;
    for (int worksheet : GainWorksheetKinds())
        RecomputeWorksheet(worksheet, events);
    return events;
}

} // namespace cgt
