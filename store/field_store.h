#pragma once
// The field store: 2312 typed values addressed by field tag 1..2312, with the rows of the
// multi-row worksheets. Forgiving by design: a bad tag is ignored and a value of the wrong
// type is refused, with a diagnostic only in DebugMode.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/amounts.h"
#include "base/extended.h"
#include "base/text.h"
#include "store/tags.h"

namespace cgt {

inline constexpr int kFieldCount = 2312;
inline constexpr int kMaxTextLength = 255;
inline constexpr int kMaxSmallTextLength = 9;

enum TFieldDataType : std::uint8_t {
    dtNone = 0,
    dtNumeric = 1,
    dtCurrency = 2,
    dtCurrencyCnt = 3,
    dtString = 4,
    dtSmallStr = 5,
    dtCheckbox = 6,
    dtList = 7,
    dtWorksheet = 8,
};
inline constexpr std::uint8_t kLastFieldType = dtWorksheet;

// "dtNone" … "dtWorksheet"; empty for a value above 8.
std::string_view FieldTypeName(std::uint8_t type);
inline bool IsNumberType(std::uint8_t t) {
    return t >= dtNumeric && t <= dtCurrencyCnt;
}
inline bool IsTextType(std::uint8_t t) {
    return t == dtString || t == dtSmallStr;
}

using TextRef = std::shared_ptr<const std::string>;
class Worksheet;
using WorksheetRef = std::shared_ptr<Worksheet>;

// The shared empty text that a dtString entry may refer to.
const TextRef& SharedEmptyText();

// One value: the type byte, the reserved byte and the 10-byte value area (numbers, checkbox
// state, inline small text). Heap texts, lists and item lists are held by reference; scratch
// tags share them with the items of an open worksheet row.
struct FieldEntry {
    std::uint8_t type = dtNone;
    std::uint8_t reserved = 0;
    ExtendedBytes value{};
    TextRef text;       // dtString
    StringListRef list; // dtList
    WorksheetRef sheet; // dtWorksheet

    Extended number() const { return DecodeExtended(value); }
    void setNumber(Extended v) { value = EncodeExtended(v); }
    bool checked() const { return value[0] != 0; }
    std::string smallText() const;
    void setSmallText(std::string_view s); // at most 9 characters
    void releaseReferences();              // drops text, list and sheet
    void zeroFill();                       // dtNone, all bytes zero, no references
};

// One value of one worksheet row.
struct WorksheetItem {
    std::uint16_t row = 0; // rows numbered from 1
    std::int32_t tag = 0;
    FieldEntry entry;
};

// The item list of a worksheet field, in list order, with a row index so that a row's items are
// found without scanning the whole list.
class Worksheet {
public:
    Worksheet() = default;
    // The items in this order, with their row index built at once.
    explicit Worksheet(std::vector<WorksheetItem> items);

    const std::vector<WorksheetItem>& items() const { return items_; }
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    void reserve(std::size_t n) { items_.reserve(n); }
    void append(WorksheetItem item);
    void clear();

    // Positions in items() of the row's items, in list order.
    std::span<const std::uint32_t> rowPositions(std::uint16_t row) const;
    bool hasRow(std::uint16_t row) const { return !rowPositions(row).empty(); }
    // Distinct row keys in the order of their first item.
    std::vector<std::uint16_t> rowKeys() const;
    void removeRow(std::uint16_t row);

    // The value of the item at `pos`, its row and tag unchanged (the row index stays valid).
    void setEntry(std::size_t pos, FieldEntry entry);
    // Each row of `rows` gets the given items in place of its own, in one pass over the list: at
    // the place of the row's first item, or after the others, in key order, for a row that had
    // none; an empty item list removes the row. The items of every row end up together.
    void replaceRows(std::map<std::uint16_t, std::vector<WorksheetItem>> rows);

    // Direct access; the row index is rebuilt on the next look-up.
    std::vector<WorksheetItem>& mutableItems();

private:
    void buildIndex() const;
    // replaceRows when every row given has its items in one run of the list and gets no fewer:
    // the list grows from the back, in its own storage when it has room. False otherwise.
    bool growRowsInPlace(std::map<std::uint16_t, std::vector<WorksheetItem>>& rows);

    std::vector<WorksheetItem> items_;
    mutable std::unordered_map<std::uint16_t, std::vector<std::uint32_t>> rowIndex_;
    mutable bool indexValid_ = true;
};

class FieldStore {
public:
    FieldStore();
    static bool validTag(int tag) { return tag >= 1 && tag <= kFieldCount; }
    FieldEntry& entry(int tag) { return entries_[static_cast<std::size_t>(tag - 1)]; }
    const FieldEntry& entry(int tag) const { return entries_[static_cast<std::size_t>(tag - 1)]; }

private:
    std::vector<FieldEntry> entries_;
};

// The module run's store.
FieldStore& Store();

// Scratch tags of the worksheet row being edited: 710–749 and 1100–1199.
inline constexpr std::array<std::pair<int, int>, 2> kScratchRanges{{{710, 749}, {1100, 1199}}};
bool IsScratchTag(int tag);
void ZeroFillScratchTags();

// Radio pairs: checking one tag unchecks its partner. 0 when the tag has none.
int RadioPartner(int tag);

bool ValidTag(int tag);
TFieldDataType GetFieldType(int tag);
void SetFieldType(int tag, TFieldDataType type);

void SetFieldVal(int tag, Extended value);
Extended GetFieldVal(int tag, bool strip = false);
long long GetFieldInt(int tag);

void SetFieldStr(int tag, std::string_view text);
std::string GetFieldStr(int tag);

void SetFieldChecked(int tag);
void SetFieldUnchecked(int tag);
bool FieldChecked(int tag);

void SetFieldLst(int tag, StringListRef list);
StringListRef GetFieldLst(int tag);

std::string GetFieldText(int tag);
bool FieldIsEmpty(int tag);
bool FieldHasData(int tag);

void ClearField(int tag);
void ClearStore();
bool DeleteFieldsConfirmed(const int* tags, int count, bool ask);
bool DeleteFieldsConfirmed(std::span<const int> tags, bool ask);

void LoadWorksheetRow(const Worksheet* items, std::uint16_t row);
bool WorksheetHasRows(int worksheet);
// The worksheet of number w (tag 751 + w), or nullptr.
Worksheet* WorksheetOf(int worksheet);

inline constexpr std::string_view kLockMarker = "999999999";
// The lodgment details (date, time and reference of the lodgment) are entered.
bool LodgmentDetailsEntered();
// Lodged and locked: the lodgment details and the lodged marker.
bool IsLodged();
void ShowLodgedMessage();

void ReportBadField(int tag, std::string_view operation);

// Display text of an entry by the rules of GetFieldText.
std::string EntryDisplayText(const FieldEntry& entry);
// !EntryDisplayText(entry).empty(), without formatting a number.
bool EntryHasDisplayText(const FieldEntry& entry);
// FieldIsEmpty applied to an entry.
bool EntryIsEmpty(const FieldEntry& entry);
// ClearField applied to an entry.
void ClearEntry(FieldEntry& entry);

} // namespace cgt
