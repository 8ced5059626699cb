#include "cgt/records/event_records.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <set>

#include "base/number_format.h"
#include "base/text.h"
#include "cgt/rules/adjustment_worksheet.h"
#include "cgt/rules/cost_base.h"
#include "cgt/rules/cost_elements.h"
#include "cgt/rules/event_checks.h"
#include "cgt/rules/gain_worksheet.h"
#include "cgt/rules/shown_values.h"
#include "controls/core/cell_table.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

namespace cgt {

namespace {

using namespace tag::event;

// ---- Reading an entry as the store's getters read it ---------------------------------------
// A missing entry reads as nothing; a value of another type than asked reads as nothing, as
// stored data may hold one.

std::string Text(const FieldEntry* e) { // what the field shows
    return e ? EntryDisplayText(*e) : std::string();
}
std::string Str(const FieldEntry* e) { // a text field's text
    return e && IsTextType(e->type) ? EntryDisplayText(*e) : std::string();
}
Extended Amount(const FieldEntry* e) {
    return e && IsNumberType(e->type) ? e->number() : 0;
}
bool Checked(const FieldEntry* e) {
    return e && e->type == dtCheckbox && e->checked();
}
StringList List(const FieldEntry* e) {
    return e && e->type == dtList && e->list ? *e->list : StringList();
}
bool Shown(const FieldEntry* e) {
    return !TrimBlanks(Text(e)).empty();
}

std::vector<CostElement> Elements(const FieldEntry* e) {
    std::vector<CostElement> elements;
    if (!e || e->type != dtList || !e->list) return elements;
    const StringList& list = *e->list;
    const std::size_t count = list.size() / kCostElementColumns;
    elements.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string* s = list.data() + i * kCostElementColumns;
        CostElement element;
        element.text = s[ceElement];
        element.entered = !TrimBlanks(s[ceElement]).empty();
        element.code = ElementCode(s[ceElement]);
        element.dateIncurred = s[ceDateIncurred];
        element.datePaid = s[ceDatePaid];
        element.description = s[ceDescription];
        element.amount = TextToFloat(s[ceAmount], 0);
        element.excluded = TextToFloat(s[ceExcluded], 0);
        element.comments = s[ceComments];
        elements.push_back(std::move(element));
    }
    return elements;
}

int DeceasedAnswer(const FieldEntry* e) {
    const Extended answer = RoundHalfEven(Amount(e));
    return answer == kDeceasedEstateYes || answer == kDeceasedEstateNo ? static_cast<int>(answer)
                                                                       : 0;
}

// ---- Which tag holds which part of an event ------------------------------------------------

using Reader = void (*)(const FieldEntry*, Event&);
struct Binding {
    int tag;
    Reader read;
};

// clang-format off
const Binding kBindings[] = {
    {kName,                     [](const FieldEntry* e, Event& v) { v.name = Text(e); }},
    {kAssetType,                [](const FieldEntry* e, Event& v) { v.typeCode = TrimText(Text(e)); }},
    {kAcquisitionDate,          [](const FieldEntry* e, Event& v) { v.acquisitionDate = Text(e); }},
    {kWithholdIndexation,       [](const FieldEntry* e, Event& v) { v.withholdIndexation = Checked(e); }},
    {kIndexedCostBaseAllowed,   [](const FieldEntry* e, Event& v) { v.indexedCostBaseAllowed = Checked(e); }},
    {kCostBaseDate,             [](const FieldEntry* e, Event& v) { v.costBaseDate = Text(e); }},
    {kRolledOverAcquisitionDate,[](const FieldEntry* e, Event& v) { v.rolledOverDate = Text(e); }},
    {kDeceasedEstate,           [](const FieldEntry* e, Event& v) { v.deceasedEstate = DeceasedAnswer(e); }},
    {kAcquiredAfterCutOff,      [](const FieldEntry* e, Event& v) { v.acquiredAfterCutOff.yes = Checked(e); }},
    {kAcquiredBeforeCutOff,     [](const FieldEntry* e, Event& v) { v.acquiredAfterCutOff.no = Checked(e); }},
    {kSectionTwoIndexed,        [](const FieldEntry* e, Event& v) { v.sectionTwo.indexed = Amount(e); }},
    {kSectionTwoNonIndexed,     [](const FieldEntry* e, Event& v) { v.sectionTwo.nonIndexed = Amount(e); }},
    {kSectionTwoReduced,        [](const FieldEntry* e, Event& v) { v.sectionTwo.reduced = Amount(e); }},
    {kCostElements,             [](const FieldEntry* e, Event& v) { v.elements = Elements(e); }},
    {kPayments,                 [](const FieldEntry* e, Event& v) { v.payments = List(e); }},
    {kPaymentEventCode,         [](const FieldEntry* e, Event& v) { v.paymentEventCode = Text(e); }},
    {kAdjustedCostBaseDate,     [](const FieldEntry* e, Event& v) { v.adjustedDate = Text(e); }},
    {kAdjustedNonIndexed,       [](const FieldEntry* e, Event& v) { v.adjusted.nonIndexed = Amount(e); }},
    {kAdjustedIndexed,          [](const FieldEntry* e, Event& v) { v.adjusted.indexed = Amount(e); }},
    {kAdjustedReduced,          [](const FieldEntry* e, Event& v) { v.adjusted.reduced = Amount(e); }},
    {kEventDate,                [](const FieldEntry* e, Event& v) { v.eventDate = Text(e); }},
    {kImportSource,             [](const FieldEntry* e, Event& v) { v.importSource = Text(e); }},
    {kEventAfterCutOff,         [](const FieldEntry* e, Event& v) { v.eventAfterCutOff.yes = Checked(e); }},
    {kEventBeforeCutOff,        [](const FieldEntry* e, Event& v) { v.eventAfterCutOff.no = Checked(e); }},
    {kCapitalProceeds,          [](const FieldEntry* e, Event& v) { v.proceeds = Amount(e); v.shown.proceeds = Shown(e); }},
    {kPercentDisposed,          [](const FieldEntry* e, Event& v) { v.percentDisposed = Amount(e); }},
    {kDaysNotExempt,            [](const FieldEntry* e, Event& v) { v.daysNotExempt = Amount(e); }},
    {kTotalDays,                [](const FieldEntry* e, Event& v) { v.totalDays = Amount(e); }},
    // A percentage field may leave its text ("40.00%") rather than a number.
    {kTaxableUsePercent,        [](const FieldEntry* e, Event& v) {
                                    v.taxableUse = e && IsTextType(e->type) ? ReadFieldNumber(Text(e)) : Amount(e);
                                    v.shown.taxableUse = Shown(e); }},
    {kSumOfReductions,          [](const FieldEntry* e, Event& v) { v.sumOfReductions = Amount(e); v.shown.sumOfReductions = Shown(e); }},
    {kTotalDecline,             [](const FieldEntry* e, Event& v) { v.totalDecline = Amount(e); v.shown.totalDecline = Shown(e); }},
    {kDepreciatingCost,         [](const FieldEntry* e, Event& v) { v.cost = Amount(e); v.shown.cost = Shown(e); }},
    {kRollOverYes,              [](const FieldEntry* e, Event& v) { v.rollOver.yes = Checked(e); }},
    {kRollOverNo,               [](const FieldEntry* e, Event& v) { v.rollOver.no = Checked(e); }},
    {kMarriageBreakdownYes,     [](const FieldEntry* e, Event& v) { v.marriageBreakdown.yes = Checked(e); }},
    {kMarriageBreakdownNo,      [](const FieldEntry* e, Event& v) { v.marriageBreakdown.no = Checked(e); }},
    {kScripForScripYes,         [](const FieldEntry* e, Event& v) { v.scripForScrip.yes = Checked(e); }},
    {kScripForScripNo,          [](const FieldEntry* e, Event& v) { v.scripForScrip.no = Checked(e); }},
    {kFifteenYearExemption,     [](const FieldEntry* e, Event& v) { v.fifteenYearExemption = Checked(e); }},
    // A right's or receipt's proceeds and costs share their tags with the other method's column.
    {kOtherProceeds,            [](const FieldEntry* e, Event& v) { v.receiptProceeds = Amount(e); }},
    {kOtherCostBase,            [](const FieldEntry* e, Event& v) { v.receiptCosts = Amount(e); }},
    {kTrustDistribution,        [](const FieldEntry* e, Event& v) { v.trust.recorded = Checked(e); }},
    {kTrustCollectableIndexed,  [](const FieldEntry* e, Event& v) { v.trust.collectableIndexed = Amount(e); }},
    {kTrustOtherIndexed,        [](const FieldEntry* e, Event& v) { v.trust.otherIndexed = Amount(e); }},
    {kTrustActiveIndexed,       [](const FieldEntry* e, Event& v) { v.trust.activeIndexed = Amount(e); }},
    {kTrustCollectableDiscount, [](const FieldEntry* e, Event& v) { v.trust.collectableDiscount = Amount(e); }},
    {kTrustOtherDiscount,       [](const FieldEntry* e, Event& v) { v.trust.otherDiscount = Amount(e); }},
    {kTrustActiveDiscount,      [](const FieldEntry* e, Event& v) { v.trust.activeDiscount = Amount(e); }},
    {kTrustCollectableOther,    [](const FieldEntry* e, Event& v) { v.trust.collectableOther = Amount(e); }},
    {kTrustOtherOther,          [](const FieldEntry* e, Event& v) { v.trust.otherOther = Amount(e); }},
    {kTrustActiveOther,         [](const FieldEntry* e, Event& v) { v.trust.activeOther = Amount(e); }},
    {kIndexedGain,              [](const FieldEntry* e, Event& v) { v.results.indexedGain = MethodResult::FromStored(Amount(e)); }},
    {kDiscountGain,             [](const FieldEntry* e, Event& v) { v.results.discountGain = MethodResult::FromStored(Amount(e)); }},
    {kOtherGain,                [](const FieldEntry* e, Event& v) { v.results.otherGain = MethodResult::FromStored(Amount(e)); }},
    {kCapitalLoss,              [](const FieldEntry* e, Event& v) { v.results.capitalLoss = MethodResult::FromStored(Amount(e)); }},
    {kCostBaseNonIndexed,       [](const FieldEntry* e, Event& v) { v.results.costBase.nonIndexed = Amount(e); }},
    {kCostBaseIndexed,          [](const FieldEntry* e, Event& v) { v.results.costBase.indexed = Amount(e); }},
    {kReducedCostBase,          [](const FieldEntry* e, Event& v) { v.results.costBase.reduced = Amount(e); }},
    {kDiscountProceeds,         [](const FieldEntry* e, Event& v) { v.results.discountProceeds = Amount(e); }},
    {kDiscountCostBase,         [](const FieldEntry* e, Event& v) { v.results.discountCostBase = Amount(e); }},
    {kFirstMessage,             [](const FieldEntry* e, Event& v) { v.results.firstMessage = Text(e); }},
    {kSecondMessage,            [](const FieldEntry* e, Event& v) { v.results.secondMessage = Text(e); }},
    {kDisposalResult,           [](const FieldEntry* e, Event& v) { v.results.disposal = Checked(e); }},
    {kBaseDate,                 [](const FieldEntry* e, Event& v) { v.results.baseDate = Text(e); }},
    {kPaymentGainThisYear,      [](const FieldEntry* e, Event& v) { v.results.paymentGainThisYear = Checked(e); }},
    {kPaymentIndexedGainThisYear,   [](const FieldEntry* e, Event& v) { v.results.paymentIndexedGain[0] = Amount(e); }},
    {kPaymentIndexedGainPriorYears, [](const FieldEntry* e, Event& v) { v.results.paymentIndexedGain[1] = Amount(e); }},
    {kPaymentDiscountGainThisYear,  [](const FieldEntry* e, Event& v) { v.results.paymentDiscountGain[0] = Amount(e); }},
    {kPaymentDiscountGainPriorYears,[](const FieldEntry* e, Event& v) { v.results.paymentDiscountGain[1] = Amount(e); }},
    {kPaymentOtherGainThisYear,     [](const FieldEntry* e, Event& v) { v.results.paymentOtherGain[0] = Amount(e); }},
    {kPaymentOtherGainPriorYears,   [](const FieldEntry* e, Event& v) { v.results.paymentOtherGain[1] = Amount(e); }},
    {kMethodChoice,             [](const FieldEntry* e, Event& v) { v.choices.method = Str(e); }},
    {kDefermentChoice,          [](const FieldEntry* e, Event& v) { v.choices.deferment = Str(e); }},
    {kLossesApplied,            [](const FieldEntry* e, Event& v) { v.choices.lossesApplied = List(e); }},
    {kConcessionElections,      [](const FieldEntry* e, Event& v) { v.choices.concessionElections = List(e); }},
    {kReplacementMarketValue,   [](const FieldEntry* e, Event& v) { v.choices.replacementMarketValue = Amount(e); }},
    {kCashConsideration,        [](const FieldEntry* e, Event& v) { v.choices.cashConsideration = Amount(e); }},
};

// The field a refusal names and its tag.
constexpr std::pair<EventField, int> kFieldTags[] = {
    {EventField::Name,                 kName},
    {EventField::AssetType,            kAssetType},
    {EventField::AcquisitionDate,      kAcquisitionDate},
    {EventField::CostBaseDate,         kCostBaseDate},
    {EventField::RolledOverDate,       kRolledOverAcquisitionDate},
    {EventField::DeceasedEstate,       kDeceasedEstate},
    {EventField::AcquiredAfterCutOff,  kAcquiredAfterCutOff},
    {EventField::SectionTwoIndexed,    kSectionTwoIndexed},
    {EventField::SectionTwoNonIndexed, kSectionTwoNonIndexed},
    {EventField::SectionTwoReduced,    kSectionTwoReduced},
    {EventField::CostElements,         kCostElements},
    {EventField::Payments,             kPayments},
    {EventField::AdjustmentGrid,       kAdjustmentGrid},
    {EventField::EventDate,            kEventDate},
    {EventField::EventAfterCutOff,     kEventAfterCutOff},
    {EventField::Proceeds,             kCapitalProceeds},
    {EventField::DepreciatingCost,     kDepreciatingCost},
    {EventField::TaxableUse,           kTaxableUsePercent},
    {EventField::SumOfReductions,      kSumOfReductions},
    {EventField::TotalDecline,         kTotalDecline},
    {EventField::RollOverYes,          kRollOverYes},
    {EventField::MarriageBreakdownYes, kMarriageBreakdownYes},
    {EventField::ScripForScripYes,     kScripForScripYes},
    {EventField::FifteenYearExemption, kFifteenYearExemption},
    {EventField::ReceiptProceeds,      kOtherProceeds},
};
// clang-format on

// A stored row's items by scratch tag, without opening the row.
class RowItems {
public:
    RowItems(const Worksheet& sheet, std::uint16_t row) {
        for (std::uint32_t pos : sheet.rowPositions(row)) {
            const WorksheetItem& item = sheet.items()[pos];
            if (const int slot = Slot(item.tag); slot >= 0) entries_[slot] = &item.entry;
        }
    }
    const FieldEntry* Find(int tag) const {
        const int slot = Slot(tag);
        return slot >= 0 ? entries_[slot] : nullptr;
    }

private:
    static constexpr auto kFirst = kScratchRanges[0];
    static constexpr auto kSecond = kScratchRanges[1];
    static constexpr int kFirstCount = kFirst.second - kFirst.first + 1;
    static int Slot(int tag) {
        if (tag >= kFirst.first && tag <= kFirst.second) return tag - kFirst.first;
        if (tag >= kSecond.first && tag <= kSecond.second) return kFirstCount + tag - kSecond.first;
        return -1;
    }
    std::array<const FieldEntry*, kFirstCount + kSecond.second - kSecond.first + 1> entries_{};
};

// The lists that only the event's own screens and worksheets read.
bool Detail(int tag) {
    return tag == kCostElements || tag == kPayments;
}

template <typename Lookup>
Event ReadEvent(int worksheet, int row, const Lookup& find, EventParts parts = EventParts::All) {
    Event event;
    event.kind = worksheet;
    event.row = row;
    for (const Binding& b : kBindings)
        if (parts == EventParts::All || !Detail(b.tag)) b.read(find(b.tag), event);
    return event;
}

} // namespace

Event ReadOpenEvent(int worksheet, int row) {
    return ReadEvent(worksheet, row, [](int tag) { return &Store().entry(tag); });
}

Event ReadStoredEvent(const Worksheet& sheet, int worksheet, std::uint16_t row, EventParts parts) {
    const RowItems items(sheet, row);
    return ReadEvent(
        worksheet, row, [&](int tag) { return items.Find(tag); }, parts);
}

std::vector<Event> ReadStoredEvents(int first, int last, EventParts parts) {
    std::vector<Event> events;
    for (int worksheet = first; worksheet <= last; ++worksheet) {
        const Worksheet* sheet = WorksheetOf(worksheet);
        if (!sheet || sheet->empty()) continue;
        std::vector<std::uint16_t> keys = sheet->rowKeys();
        std::sort(keys.begin(), keys.end());
        for (std::uint16_t key : keys)
            events.push_back(ReadStoredEvent(*sheet, worksheet, key, parts));
    }
    return events;
}

int TagOf(EventField field) {
    for (const auto& [f, tag] : kFieldTags)
        if (f == field) return tag;
    return 0;
}

// ---- Writing into the open row -------------------------------------------------------------

namespace {

struct ColumnTags {
    int proceeds, costBase, result;
    // Depreciating assets.
    int cost, raw, taxableUse, reductions, adjusted;
};
constexpr ColumnTags kColumnTags[kGainColumns] = {
    {kIndexedProceeds, kIndexedCostBase, kIndexedGain, kIndexedCost, kRawIndexedResult,
     kIndexedTaxableUse, kIndexedReductions, kIndexedAdjustedResult},
    {kDiscountProceeds, kDiscountCostBase, kDiscountGain, kDiscountCost, kRawDiscountResult,
     kDiscountTaxableUse, kDiscountReductions, kDiscountAdjustedResult},
    {kOtherProceeds, kOtherCostBase, kOtherGain, kOtherCost, kRawOtherResult, kOtherTaxableUse,
     kOtherReductions, kOtherAdjustedResult},
    {kLossProceeds, kLossCostBase, kCapitalLoss, kLossCost, kRawLossResult, kLossTaxableUse,
     kLossReductions, kLossAdjustedResult},
};

} // namespace

void StoreGainWorksheet(const GainWorksheet& ws) {
    PutText(kBaseDate, ws.baseDate);
    PutRows(kAssetRegisterGrid, ws.assetRegister);
    PutRows(kWorksheetGrid, ws.worksheet);
    const bool computed = ws.error.empty();
    PutCents({kNetAmountTotal, kCostBaseTotal, kReducedAmountTotal}, ws.totals);
    PutCents({kBalancingNonIndexed, kBalancingIndexed, kBalancingReduced}, ws.balancing);
    PutCents({kCostBaseNonIndexed, kCostBaseIndexed, kReducedCostBase}, ws.costBase);
    const Extended nonAssessable = computed ? ExplicitZero : 0;
    PutCents({kNonAssessableNonIndexed, kNonAssessableIndexed, kNonAssessableReduced},
             {nonAssessable, nonAssessable, nonAssessable});
    PutCents({kAdjustedCostBaseNonIndexed, kAdjustedCostBaseIndexed, kAdjustedReducedCostBase},
             ws.adjusted);
    PutText(kEventDateCell, ws.eventDateCell);
    PutCents(kEventIndexNumber, ws.eventIndex);
    PutCents(kProceedsCell, ws.proceedsCell);
    PutCents(kPercentDisposedCell, ws.percentDisposed);
    PutAmount(kDaysNotExemptCell, ws.daysNotExempt);
    PutAmount(kTotalDaysCell, ws.totalDays);
    const bool depreciating = ws.variant == GainVariant::Depreciating;
    for (int c = 0; c < kGainColumns; ++c) {
        const ColumnTags& tags = kColumnTags[c];
        const ResultColumn& column = ws.columns[c];
        PutAmount(tags.proceeds, column.proceeds);
        PutAmount(tags.costBase, column.costBase);
        PutAmount(tags.result, column.result);
        if (!depreciating) continue;
        const DepreciatingColumn& d = ws.depreciating[c];
        PutAmount(tags.cost, d.cost);
        PutAmount(tags.raw, d.raw);
        PutCents(tags.taxableUse, d.taxableUse);
        PutCents(tags.reductions, d.reductions);
        PutAmount(tags.adjusted, d.adjusted);
    }
    PutText(kFirstMessage, ws.firstMessage);
    PutText(kSecondMessage, ws.secondMessage);
    PutCheck(kDisposalResult, ws.disposal);
}

void StoreAdjustmentWorksheet(const AdjustmentWorksheet& ws) {
    const AdjustmentResults& r = ws.results;
    PutText(kBaseDate, ws.baseDate);
    PutRows(kAdjustmentGrid, ws.Grid());
    PutCheck(kPaymentGainThisYear, r.gainThisYear);
    PutText(kAdjustedCostBaseDate, r.published ? r.date : std::string());
    // A nil base is stored as a calculated nil, not as nothing.
    auto base = [&](Extended v) { return r.published && v < 1 ? ExplicitZero : v; };
    PutCents({kAdjustedNonIndexed, kAdjustedIndexed, kAdjustedReduced},
             {base(r.adjusted.nonIndexed), base(r.adjusted.indexed), base(r.adjusted.reduced)});
    PutAmount(kPaymentDiscountGainThisYear, r.discountGain[0]);
    PutAmount(kPaymentDiscountGainPriorYears, r.discountGain[1]);
    PutAmount(kPaymentIndexedGainThisYear, r.indexedGain[0]);
    PutAmount(kPaymentIndexedGainPriorYears, r.indexedGain[1]);
    PutAmount(kPaymentOtherGainThisYear, r.otherGain[0]);
    PutAmount(kPaymentOtherGainPriorYears, r.otherGain[1]);
}

void ClearAdjustmentWorksheet() {
    AdjustmentWorksheet none;
    none.baseDate = GetFieldText(kBaseDate);
    StoreAdjustmentWorksheet(none);
}

void ApplyDefaultType(const RegistrationKind* kind) {
    const Event event = ReadOpenEvent();
    const std::string code = DefaultTypeFor(kind, event.Described(), event.HasType());
    if (!code.empty()) SetFieldStr(kAssetType, code);
}

void NormaliseDeceasedEstate() {
    const TFieldDataType type = GetFieldType(kDeceasedEstate);
    if (type != dtNumeric) {
        const Extended kept = IsNumberType(type) ? GetFieldVal(kDeceasedEstate) : 0;
        ClearField(kDeceasedEstate);
        SetFieldType(kDeceasedEstate, dtNumeric);
        SetFieldVal(kDeceasedEstate, kept);
    }
    if (FieldIsEmpty(kDeceasedEstate)) SetFieldVal(kDeceasedEstate, kDeceasedEstateNo);
}

void StoreDeceasedEstateAnswer(bool yes) {
    SetFieldVal(kDeceasedEstate, yes ? kDeceasedEstateYes : kDeceasedEstateNo);
}

void ClearEventTime() {
    SetFieldUnchecked(kEventAfterCutOff);
    SetFieldUnchecked(kEventBeforeCutOff);
}

void StoreReceiptGainOrLoss() {
    const Event event = ReadOpenEvent();
    const GainOrLoss result = ReceiptGainOrLoss(event.receiptProceeds, event.receiptCosts);
    SetFieldVal(kOtherGain, result.gain);
    SetFieldVal(kCapitalLoss, result.loss);
}

bool StoreDisposalResult(ReceiptKind kind) {
    const bool disposal = AmountEntered(ReadOpenEvent().receiptProceeds);
    if (disposal)
        SetFieldChecked(kDisposalResult);
    else
        SetFieldUnchecked(kDisposalResult);
    if (kind == ReceiptKind::Receipt) {
        if (disposal)
            SetFieldStr(kAssetType, ReceiptAssetType(disposal));
        else
            ClearField(kAssetType);
    }
    return disposal;
}

// ---- Scratch tags of any type --------------------------------------------------------------

void PutCents(int tag, Extended value) {
    if (GetFieldType(tag) != dtCurrencyCnt) SetFieldType(tag, dtCurrencyCnt);
    SetFieldVal(tag, value);
}
void PutCents(const int (&tags)[3], const CostBases& b) {
    PutCents(tags[0], b.nonIndexed);
    PutCents(tags[1], b.indexed);
    PutCents(tags[2], b.reduced);
}
void PutAmount(int tag, Extended value) {
    if (!IsNumberType(GetFieldType(tag))) SetFieldType(tag, dtNone);
    SetFieldVal(tag, value);
}
void PutText(int tag, std::string_view text) {
    if (!IsTextType(GetFieldType(tag))) {
        ClearField(tag);
        SetFieldType(tag, dtNone);
    }
    SetFieldStr(tag, text);
}
void PutRows(int tag, const CellTable& table) {
    if (GetFieldType(tag) != dtList) SetFieldType(tag, dtNone);
    // A new list: the row's stored items still share the old one.
    auto rows = std::make_shared<StringList>();
    table.SaveRows(*rows);
    SetFieldLst(tag, std::move(rows));
}
void PutCheck(int tag, bool on) {
    if (GetFieldType(tag) != dtCheckbox) SetFieldType(tag, dtNone);
    if (on)
        SetFieldChecked(tag);
    else
        SetFieldUnchecked(tag);
}

void PutEnteredEvent(const Event& event) {
    PutText(kName, event.name);
    PutText(kAssetType, event.typeCode);
    PutText(kAcquisitionDate, event.acquisitionDate.text);
    if (event.deceasedEstate != 0)
        StoreDeceasedEstateAnswer(event.deceasedEstate == kDeceasedEstateYes);
    auto elements = std::make_shared<StringList>();
    for (const CostElement& e : event.elements) {
        const std::string cells[kCostElementColumns] = {
            e.text,
            e.dateIncurred.empty() ? e.datePaid : e.dateIncurred,
            e.datePaid,
            e.description,
            FormatFixed(e.amount, 15, 2),
            e.excluded != 0 ? FormatFixed(e.excluded, 15, 2) : std::string(),
            std::string(),
            e.comments};
        elements->insert(elements->end(), std::begin(cells), std::end(cells));
    }
    SetFieldType(kCostElements, dtNone);
    SetFieldLst(kCostElements, elements);
    PutText(kEventDate, event.eventDate.text);
    PutAmount(kCapitalProceeds, event.proceeds);
    if (event.rollOver.yes || event.rollOver.no) {
        PutCheck(kRollOverYes, event.rollOver.yes);
        PutCheck(kRollOverNo, event.rollOver.no);
    }
    if (!event.importSource.empty()) PutText(kImportSource, event.importSource);
}

// ---- Rows of a worksheet -------------------------------------------------------------------

void EditWorksheetRows(int worksheet, std::span<const int> keys,
                       const std::function<void(int key)>& edit) {
    Worksheet* sheet = EnsureWorksheet(worksheet);
    if (!sheet || keys.empty()) return;
    std::set<int> pending(keys.begin(), keys.end());
    // A row stored with the tags it had is written in place; the others are put in one pass.
    std::map<std::uint16_t, std::vector<WorksheetItem>> reshaped;
    auto store = [&](std::uint16_t key) {
        CopyRowToScratch(sheet, key);
        edit(key);
        std::vector<WorksheetItem> fresh = ScratchRowItems(key);
        const auto positions = sheet->rowPositions(key);
        const bool sameTags =
            std::equal(fresh.begin(), fresh.end(), positions.begin(), positions.end(),
                       [&](const WorksheetItem& item, std::uint32_t pos) {
                           return item.tag == sheet->items()[pos].tag;
                       });
        if (!sameTags) {
            reshaped.emplace(key, std::move(fresh));
            return;
        }
        for (std::size_t i = 0; i < fresh.size(); ++i)
            sheet->setEntry(positions[i], std::move(fresh[i].entry));
    };
    for (std::uint16_t key : sheet->rowKeys())
        if (pending.erase(key)) store(key);
    for (int key : pending)
        if (key >= 1 && key <= 0xFFFF) store(static_cast<std::uint16_t>(key));
    sheet->replaceRows(std::move(reshaped));
    ZeroFillScratchTags();
}

} // namespace cgt
