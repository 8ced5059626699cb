#include "store/field_store.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>

#include "base/dates.h"
#include "base/number_format.h"
#include "base/text.h"
#include "store/dialogs.h"
#include "store/run_state.h"

namespace cgt {

namespace {

constexpr std::array<std::string_view, 9> kTypeNames{"dtNone",        "dtNumeric", "dtCurrency",
                                                     "dtCurrencyCnt", "dtString",  "dtSmallStr",
                                                     "dtCheckbox",    "dtList",    "dtWorksheet"};

// (first, second) in the order a radio pair is visited.
constexpr std::array<std::pair<int, int>, 10> kRadioPairs{{{9, 10},
                                                           {17, 18},
                                                           {19, 20},
                                                           {33, 34},
                                                           {132, 133},
                                                           {134, 135},
                                                           {136, 137},
                                                           {138, 139},
                                                           {140, 141},
                                                           {142, 143}}};

constexpr Extended kEmptyNumber = 0.001L;

void markChanged() {
    Run().DataChanged = true;
}

FieldEntry* entryOf(int tag) {
    return ValidTag(tag) ? &Store().entry(tag) : nullptr;
}

void storeText(FieldEntry& e, std::string_view text) {
    if (text.size() <= static_cast<std::size_t>(kMaxSmallTextLength)) {
        e.text.reset();
        e.type = dtSmallStr;
        e.setSmallText(text);
    } else {
        e.type = dtString;
        e.text = std::make_shared<const std::string>(text);
    }
}

} // namespace

// ---- entries and worksheets ----

const TextRef& SharedEmptyText() {
    static const TextRef empty = std::make_shared<const std::string>();
    return empty;
}

std::string_view FieldTypeName(std::uint8_t type) {
    return type < kTypeNames.size() ? kTypeNames[type] : std::string_view{};
}

std::string FieldEntry::smallText() const {
    const std::size_t n = std::min<std::size_t>(value[0], kMaxSmallTextLength);
    return std::string(reinterpret_cast<const char*>(value.data() + 1), n);
}

void FieldEntry::setSmallText(std::string_view s) {
    const std::size_t n = std::min<std::size_t>(s.size(), kMaxSmallTextLength);
    value[0] = static_cast<std::uint8_t>(n);
    std::copy_n(s.data(), n, value.begin() + 1);
}

void FieldEntry::releaseReferences() {
    text.reset();
    list.reset();
    sheet.reset();
}

void FieldEntry::zeroFill() {
    type = dtNone;
    reserved = 0;
    value.fill(0);
    releaseReferences();
}

void Worksheet::append(WorksheetItem item) {
    if (indexValid_) rowIndex_[item.row].push_back(static_cast<std::uint32_t>(items_.size()));
    items_.push_back(std::move(item));
}

void Worksheet::clear() {
    items_.clear();
    rowIndex_.clear();
    indexValid_ = true;
}

Worksheet::Worksheet(std::vector<WorksheetItem> items) : items_(std::move(items)) {
    buildIndex();
}

void Worksheet::buildIndex() const {
    // A row's items mostly follow each other: a run of one row costs one look-up, and each row's
    // positions are counted first so that its list is allocated once.
    std::unordered_map<std::uint16_t, std::uint32_t> counts;
    for (std::size_t i = 0; i < items_.size();) {
        const std::uint16_t row = items_[i].row;
        const std::size_t runStart = i;
        while (i < items_.size() && items_[i].row == row)
            ++i;
        counts[row] += static_cast<std::uint32_t>(i - runStart);
    }
    rowIndex_.clear();
    rowIndex_.reserve(counts.size());
    for (const auto& [row, count] : counts)
        rowIndex_[row].reserve(count);
    for (std::size_t i = 0; i < items_.size();) {
        std::vector<std::uint32_t>& positions = rowIndex_[items_[i].row];
        const std::uint16_t row = items_[i].row;
        for (; i < items_.size() && items_[i].row == row; ++i)
            positions.push_back(static_cast<std::uint32_t>(i));
    }
    indexValid_ = true;
}

std::span<const std::uint32_t> Worksheet::rowPositions(std::uint16_t row) const {
    if (!indexValid_) buildIndex();
    auto it = rowIndex_.find(row);
    if (it == rowIndex_.end()) return {};
    return it->second;
}

std::vector<std::uint16_t> Worksheet::rowKeys() const {
    std::vector<std::uint16_t> keys;
    std::vector<bool> seen(65536, false);
    for (const auto& item : items_) {
        if (!seen[item.row]) {
            seen[item.row] = true;
            keys.push_back(item.row);
        }
    }
    return keys;
}

void Worksheet::removeRow(std::uint16_t row) {
    if (!hasRow(row)) return;
    std::erase_if(items_, [row](const WorksheetItem& item) { return item.row == row; });
    indexValid_ = false;
}

void Worksheet::setEntry(std::size_t pos, FieldEntry entry) {
    if (pos < items_.size()) items_[pos].entry = std::move(entry);
}

bool Worksheet::growRowsInPlace(std::map<std::uint16_t, std::vector<WorksheetItem>>& rows) {
    std::vector<std::pair<std::uint32_t, std::uint16_t>> blocks; // first position, row
    blocks.reserve(rows.size());
    std::size_t added = 0;
    for (const auto& [row, items] : rows) {
        const auto it = rowIndex_.find(row);
        if (it == rowIndex_.end()) return false;
        const std::vector<std::uint32_t>& positions = it->second;
        if (positions.back() - positions.front() + 1 != positions.size()) return false;
        if (items.size() < positions.size()) return false;
        added += items.size() - positions.size();
        blocks.emplace_back(positions.front(), row);
    }
    std::sort(blocks.begin(), blocks.end(), std::greater<>());
    std::size_t read = items_.size();
    // Room grows by an eighth, not double: a large return's list would otherwise leave up to
    // half of it idle, while growth stays geometric for rows edited one at a time.
    if (items_.capacity() < items_.size() + added)
        items_.reserve(std::max(items_.size() + added, items_.size() + items_.size() / 8));
    items_.resize(items_.size() + added);
    std::size_t write = items_.size();
    // From the back: the items after each block move up by what the blocks before them grow;
    // the new items take the block's place. The write position never falls below the read one.
    for (const auto& [first, row] : blocks) {
        const std::size_t end = first + rowIndex_.find(row)->second.size();
        while (read > end) {
            --read;
            --write;
            if (write != read) items_[write] = std::move(items_[read]);
        }
        std::vector<WorksheetItem>& fresh = rows.find(row)->second;
        for (auto it = fresh.rbegin(); it != fresh.rend(); ++it)
            items_[--write] = std::move(*it);
        read = first;
    }
    return true;
}

void Worksheet::replaceRows(std::map<std::uint16_t, std::vector<WorksheetItem>> rows) {
    if (rows.empty()) return;
    if (!indexValid_) buildIndex();
    if (growRowsInPlace(rows)) {
        indexValid_ = false;
        return;
    }
    std::size_t added = 0;
    for (const auto& entry : rows)
        added += entry.second.size();
    std::vector<WorksheetItem> rebuilt;
    rebuilt.reserve(items_.size() + added);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const std::uint16_t row = items_[i].row;
        const std::vector<std::uint32_t>& positions = rowIndex_.find(row)->second;
        if (positions.front() != i) continue; // the row went with its first item
        if (auto it = rows.find(row); it != rows.end()) {
            std::move(it->second.begin(), it->second.end(), std::back_inserter(rebuilt));
            rows.erase(it);
            continue;
        }
        for (std::uint32_t pos : positions)
            rebuilt.push_back(std::move(items_[pos]));
    }
    for (auto& [row, items] : rows)
        std::move(items.begin(), items.end(), std::back_inserter(rebuilt));
    items_.swap(rebuilt);
    indexValid_ = false;
}

std::vector<WorksheetItem>& Worksheet::mutableItems() {
    indexValid_ = false;
    return items_;
}

FieldStore::FieldStore() : entries_(kFieldCount) {}

FieldStore& Store() {
    static FieldStore store;
    return store;
}

bool IsScratchTag(int tag) {
    return std::any_of(kScratchRanges.begin(), kScratchRanges.end(),
                       [tag](auto r) { return tag >= r.first && tag <= r.second; });
}

void ZeroFillScratchTags() {
    for (auto [first, last] : kScratchRanges)
        for (int tag = first; tag <= last; ++tag)
            Store().entry(tag).zeroFill();
}

int RadioPartner(int tag) {
    for (auto [a, b] : kRadioPairs) {
        if (tag == a) return b;
        if (tag == b) return a;
    }
    return 0;
}

// ---- display and emptiness ----

std::string EntryDisplayText(const FieldEntry& e) {
    switch (e.type) {
    case dtNumeric:
    case dtCurrency:
    case dtCurrencyCnt: {
        const Extended v = e.number();
        if (!(std::fabs(v) >= kEmptyNumber)) return {};
        if (e.type == dtNumeric) return FormatFixed(RoundHalfEven(v), 18, 0);
        if (e.type == dtCurrency) return FormatFixed(v, 8, 0);
        return FormatSignificant(v, 12, 2);
    }
    case dtString:
        return e.text ? *e.text : std::string{};
    case dtSmallStr:
        return e.smallText();
    case dtCheckbox:
        return e.checked() ? "X" : "";
    case dtList:
        return e.list && !e.list->empty() ? e.list->front() : std::string{};
    default:
        return {};
    }
}

bool EntryHasDisplayText(const FieldEntry& e) {
    switch (e.type) {
    case dtNumeric:
    case dtCurrency:
    case dtCurrencyCnt:
        return std::fabs(e.number()) >= kEmptyNumber; // a number shown has at least one digit
    case dtString:
        return e.text && !e.text->empty();
    case dtSmallStr:
        return e.value[0] != 0;
    case dtCheckbox:
        return e.checked();
    case dtList:
        return e.list && !e.list->empty() && !e.list->front().empty();
    default:
        return false;
    }
}

bool EntryIsEmpty(const FieldEntry& e) {
    switch (e.type) {
    case dtNumeric:
    case dtCurrency:
    case dtCurrencyCnt:
        return !(std::fabs(e.number()) >= kEmptyNumber);
    case dtString:
    case dtSmallStr:
        return TrimBlanks(EntryDisplayText(e)).empty();
    case dtCheckbox:
        return !e.checked();
    case dtList:
        return !e.list || e.list->empty();
    case dtWorksheet:
        return !e.sheet || e.sheet->empty();
    default:
        return true;
    }
}

void ClearEntry(FieldEntry& e) {
    switch (e.type) {
    case dtString:
        if (e.text && !e.text->empty()) {
            e.text.reset();
            e.type = dtNone;
        }
        break;
    case dtSmallStr:
    case dtCheckbox:
        e.value[0] = 0;
        break;
    case dtList:
        if (e.list) {
            e.list.reset();
            e.type = dtNone;
        }
        break;
    case dtWorksheet:
        if (e.sheet) {
            for (auto& item : e.sheet->mutableItems())
                ClearEntry(item.entry);
            e.sheet.reset();
        }
        e.type = dtNone;
        break;
    default:
        e.value.fill(0);
        break;
    }
}

// ---- operations by tag ----

bool ValidTag(int tag) {
    return FieldStore::validTag(tag);
}

TFieldDataType GetFieldType(int tag) {
    return ValidTag(tag) ? static_cast<TFieldDataType>(Store().entry(tag).type) : dtNone;
}

void SetFieldType(int tag, TFieldDataType type) {
    FieldEntry* e = entryOf(tag);
    if (!e) return;
    e->releaseReferences();
    e->type = type;
}

void SetFieldVal(int tag, Extended value) {
    FieldEntry* e = entryOf(tag);
    if (!e) return;
    if (e->type == dtNone) {
        e->type = dtCurrency;
        e->value.fill(0);
    }
    if (!IsNumberType(e->type)) {
        ReportBadField(tag, "SetFieldVal");
        return;
    }
    if (e->number() != value) markChanged();
    e->setNumber(value);
}

Extended GetFieldVal(int tag, bool strip) {
    const FieldEntry* e = entryOf(tag);
    if (!e || e->type == dtNone) return 0;
    if (!IsNumberType(e->type)) {
        ReportBadField(tag, "GetFieldVal");
        return 0;
    }
    const Extended v = e->number();
    if (strip && v > 0 && v < 0.005L) return 0;
    return v;
}

long long GetFieldInt(int tag) {
    const Extended v = RoundHalfEven(GetFieldVal(tag, false));
    if (!(std::fabs(v) < 9.2e18L)) return 0;
    return static_cast<long long>(v);
}

void SetFieldStr(int tag, std::string_view text) {
    FieldEntry* e = entryOf(tag);
    if (!e) return;
    text = text.substr(0, std::min<std::size_t>(text.size(), kMaxTextLength));
    const std::string previous = GetFieldStr(tag);
    if (e->type != dtNone && !IsTextType(e->type)) {
        ReportBadField(tag, "SetFieldStr");
        return;
    }
    if (e->type == dtNone || previous != text) {
        if (previous != text) markChanged();
        storeText(*e, text);
    }
}

std::string GetFieldStr(int tag) {
    const FieldEntry* e = entryOf(tag);
    if (!e || e->type == dtNone) return {};
    if (!IsTextType(e->type)) {
        ReportBadField(tag, "GetFieldStr");
        return {};
    }
    return EntryDisplayText(*e);
}

namespace {

// The checkbox entry of a tag: a dtNone entry becomes an unchecked checkbox; any other kind is
// refused with the operation's diagnostic.
FieldEntry* checkboxEntry(int tag, std::string_view operation) {
    FieldEntry* e = entryOf(tag);
    if (!e) return nullptr;
    if (e->type == dtNone) {
        e->type = dtCheckbox;
        e->value.fill(0);
    }
    if (e->type != dtCheckbox) {
        ReportBadField(tag, operation);
        return nullptr;
    }
    return e;
}

void setCheckState(FieldEntry& e, std::uint8_t state) {
    if (e.value[0] != state) markChanged();
    e.value[0] = state;
}

} // namespace

void SetFieldChecked(int tag) {
    FieldEntry* e = checkboxEntry(tag, "SetFieldChecked");
    if (!e) return;
    setCheckState(*e, 1);
    // The partner of a radio pair is unchecked; an entry of another kind is left alone so that
    // a mistyped partner never has its value overwritten.
    if (const int partner = RadioPartner(tag)) {
        FieldEntry& p = Store().entry(partner);
        if (p.type == dtCheckbox || p.type == dtNone) setCheckState(p, 0);
    }
}

void SetFieldUnchecked(int tag) {
    if (FieldEntry* e = checkboxEntry(tag, "SetFieldUnchecked")) setCheckState(*e, 0);
}

bool FieldChecked(int tag) {
    const FieldEntry* e = entryOf(tag);
    if (!e || e->type == dtNone) return false;
    if (e->type != dtCheckbox) {
        ReportBadField(tag, "FieldChecked");
        return false;
    }
    return e->checked();
}

void SetFieldLst(int tag, StringListRef list) {
    FieldEntry* e = entryOf(tag);
    if (!e) return;
    if (e->type == dtNone) e->type = dtList;
    if (e->type != dtList) {
        ReportBadField(tag, "SetFieldLst");
        return;
    }
    e->list = std::move(list);
}

StringListRef GetFieldLst(int tag) {
    const FieldEntry* e = entryOf(tag);
    if (!e || e->type == dtNone) return nullptr;
    if (e->type != dtList) {
        ReportBadField(tag, "GetFieldLst");
        return nullptr;
    }
    return e->list;
}

std::string GetFieldText(int tag) {
    const FieldEntry* e = entryOf(tag);
    return e ? EntryDisplayText(*e) : std::string{};
}

bool FieldIsEmpty(int tag) {
    const FieldEntry* e = entryOf(tag);
    return !e || EntryIsEmpty(*e);
}

bool FieldHasData(int tag) {
    return !FieldIsEmpty(tag);
}

void ClearField(int tag) {
    if (FieldEntry* e = entryOf(tag)) ClearEntry(*e);
}

void ClearStore() {
    ZeroFillScratchTags();
    for (int tag = 1; tag <= kFieldCount; ++tag)
        ClearField(tag);
}

bool DeleteFieldsConfirmed(std::span<const int> tags, bool ask) {
    if (std::all_of(tags.begin(), tags.end(), FieldIsEmpty)) return true;
    if (ask && !ConfirmWarning("Data exists for this item\n\n"
                               "Are you sure you want to delete it?\n\n"
                               "If you select 'Yes' all data for this item will be lost"))
        return false;
    for (int tag : tags)
        ClearField(tag);
    return true;
}

bool DeleteFieldsConfirmed(const int* tags, int count, bool ask) {
    if (!tags || count <= 0) return true;
    return DeleteFieldsConfirmed(std::span<const int>(tags, static_cast<std::size_t>(count)), ask);
}

void LoadWorksheetRow(const Worksheet* items, std::uint16_t row) {
    if (!items) return;
    ZeroFillScratchTags();
    for (std::uint32_t pos : items->rowPositions(row)) {
        const WorksheetItem& item = items->items()[pos];
        const FieldEntry& e = item.entry;
        switch (e.type) {
        case dtString:
        case dtSmallStr:
            SetFieldStr(item.tag, EntryDisplayText(e));
            break;
        case dtCheckbox:
            if (e.checked())
                SetFieldChecked(item.tag);
            else
                SetFieldUnchecked(item.tag);
            break;
        case dtList:
            SetFieldLst(item.tag, e.list);
            break;
        case dtNumeric:
        case dtCurrency:
        case dtCurrencyCnt:
            SetFieldVal(item.tag, e.number());
            break;
        default:
            break;
        }
    }
}

Worksheet* WorksheetOf(int worksheet) {
    FieldEntry* e = entryOf(kWorksheetTagBase + worksheet);
    return e && e->type == dtWorksheet ? e->sheet.get() : nullptr;
}

bool WorksheetHasRows(int worksheet) {
    const Worksheet* sheet = WorksheetOf(worksheet);
    return sheet && !sheet->empty();
}

bool LodgmentDetailsEntered() {
    return FieldHasData(tag::kLodgmentReference) && FieldHasData(tag::kLodgmentDate) &&
           FieldHasData(tag::kLodgmentTime);
}

bool IsLodged() {
    return LodgmentDetailsEntered() && GetFieldText(tag::kLodgedMarker) == kLockMarker;
}

void ShowLodgedMessage() {
    MsgBox("This data file has been lodged and is locked to preserve your lodgment details.\n\n"
           "You will not be able to change the information contained in this file.\n\n"
           "However, you can continue to view the details of this file.",
           mkInformation, mbOK);
}

void ReportBadField(int tag, std::string_view operation) {
    if (!Run().DebugMode) return;
    std::string text = "DEBUG: bad field tag " + std::to_string(tag);
    text += "  DataType = ";
    text += FieldTypeName(GetFieldType(tag));
    text += "  Contents = " + GetFieldText(tag);
    text += "  Worksheet = " + std::to_string(Run().CurrentWorksheet) + " - not defined";
    text += "  ";
    text += operation;
    MsgBox(text, mkError, mbOK);
}

} // namespace cgt
