#include "controls/core/cell_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "base/amounts.h"
#include "base/number_format.h"
#include "base/text.h"

namespace cgt {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlankChar(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsBlankChar);
}

// A whole number with optional blanks before it and a sign; 0 when the text is anything else
// or does not fit.
int ReadInt(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    if (pos == text.size()) return 0;
    long long value = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos])) return 0;
        value = value * 10 + (text[pos] - '0');
        if (value > 2147483647LL) return 0;
    }
    return static_cast<int>(negative ? -value : value);
}

Extended ReadFloat(std::string_view text) {
    auto value = ParseNumber(text);
    return value && !std::isnan(*value) ? *value : 0;
}

bool Flag(const std::string& text) {
    return text == "T";
}

// Decimals beyond what an extended value holds are written as this many.
constexpr int kMaxDecimals = 18;

int FormatDecimals(int decimals) {
    return std::clamp(decimals, 0, kMaxDecimals);
}

CharSet DigitSet() {
    CharSet set;
    for (char c = '0'; c <= '9'; ++c)
        set.set(static_cast<unsigned char>(c));
    return set;
}

// The rounded value as a whole number with all its digits.
std::string WholeNumberText(Extended value) {
    const Extended rounded = RoundHalfEven(value);
    if (rounded == 0 || !std::isfinite(rounded)) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0Lf", rounded);
    return buffer;
}

const ColumnRecord& DefaultColumn() {
    static const ColumnRecord column = ParseColumnDescription(kDefaultColumnDescription).column;
    return column;
}

const std::string& EmptyText() {
    static const std::string empty;
    return empty;
}

} // namespace

EntryShape ColumnEntryShape(const ColumnRecord& column) {
    EntryShape shape;
    shape.chars = column.chars;
    shape.maxLength = column.width;
    switch (column.type) {
    case ctNumber:
        shape.decimals = column.decimals;
        shape.kind = column.decimals == 2 ? EntryKind::DollarsAndCents : EntryKind::Digits;
        break;
    case ctDate:
        shape.kind = EntryKind::Date;
        break;
    case ctBusinessNumber:
    case ctTaxFileNumber:
        shape.kind = EntryKind::Digits;
        break;
    default:
        shape.kind = EntryKind::Text;
        break;
    }
    return shape;
}

ColumnParse ParseColumnDescription(std::string_view line) {
    StringList f;
    SplitText(line, '|', f);
    if (f.size() < static_cast<std::size_t>(kMinDescriptionFields))
        f.resize(static_cast<std::size_t>(kMinDescriptionFields));

    ColumnParse result;
    ColumnRecord& c = result.column;
    c.title = f[0];
    c.titleAlignment = ReadInt(f[1]);
    c.type = ReadInt(f[2]);
    c.width = ReadInt(f[3]);
    c.hint = ReadInt(f[4]);
    c.skipped = Flag(f[5]);
    c.tabStop = !c.skipped;
    c.button = Flag(f[6]);
    c.decimals = ReadInt(f[7]);

    switch (c.type) {
    case ctNumber:
        c.allowMinus = Flag(f[8]);
        c.chars = DigitSet();
        if (c.allowMinus) c.chars.set(static_cast<unsigned char>('-'));
        if (c.decimals > 0) c.chars.set(static_cast<unsigned char>(kDecimalSeparator));
        break;
    case ctDate:
        c.width = std::max(c.width, 10);
        c.chars = DigitSet();
        c.chars.set(static_cast<unsigned char>(kDateSeparator));
        break;
    case ctBusinessNumber:
        c.decimals = 0;
        c.chars = DigitSet();
        c.width = 11;
        break;
    case ctTaxFileNumber:
        c.decimals = 0;
        c.chars = DigitSet();
        c.width = 9;
        break;
    default: {
        ValidCharsParse chars = ParseValidChars(f[8]);
        c.validChars = chars.text;
        if (!chars.ok) {
            result.ok = false;
            return result;
        }
        c.chars = chars.set;
        break;
    }
    }

    c.minimum = ReadFloat(f[9]);
    c.maximum = ReadFloat(f[10]);
    c.picklistRows = ReadInt(f[11]);
    c.buttonKind = ReadInt(f[12]);
    const int items = std::max(ReadInt(f[13]), 0);
    // Items stand in fields 14 .. 13 + n; a count beyond the line's fields takes what is there.
    const std::size_t first = 14;
    const std::size_t end = first + std::min<std::size_t>(items, f.size() - first);
    c.picklist.assign(f.begin() + first, f.begin() + end);
    const std::size_t after = first + static_cast<std::size_t>(items);
    c.noTotal = after < f.size() && Flag(f[after]);
    c.readOnly = after + 1 < f.size() && Flag(f[after + 1]);
    return result;
}

std::string DigitsWarning(std::string_view cell, int width) {
    return "Value of \"" + std::string(cell) +
           "\" with two decimal places\rexceeds allowed number of digits (" +
           std::to_string(width) + ")";
}

std::string TotalWarning(std::string_view title, int width) {
    return "Column Total of \"" + std::string(title) + "\" \rexceeds allowed number of digits (" +
           std::to_string(width) + ")";
}

std::string InvalidNumericEntryMessage(std::string_view cell) {
    return std::string(cell) + " is an invalid numeric entry. Please re-enter amount before "
                               "continuing.";
}

// ---------------------------------------------------------------------------------------
// Cells and columns

CellTable::CellTable() {
    cells_.assign(5, std::vector<std::string>(static_cast<std::size_t>(colCount_)));
    columns_.assign(static_cast<std::size_t>(colCount_), DefaultColumn());
    ApplyTitles();
}

void CellTable::SetColCount(int count) {
    count = std::max(count, 1);
    if (count == colCount_) return;
    colCount_ = count;
    for (auto& row : cells_)
        row.resize(static_cast<std::size_t>(count));
    const std::size_t old = columns_.size();
    columns_.resize(static_cast<std::size_t>(count));
    for (std::size_t c = old; c < columns_.size(); ++c)
        columns_[c] = c < parsed_.size() ? parsed_[c] : DefaultColumn();
    ApplyTitles();
}

void CellTable::SetRowCount(int count) {
    count = std::max(count, 2);
    cells_.resize(static_cast<std::size_t>(count),
                  std::vector<std::string>(static_cast<std::size_t>(colCount_)));
}

const std::string& CellTable::Cell(int col, int row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return EmptyText();
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void CellTable::SetCell(int col, int row, std::string text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return;
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
}

bool CellTable::IsRowEmpty(int row) const {
    if (row < 0 || row >= RowCount()) return true;
    for (const auto& cell : cells_[static_cast<std::size_t>(row)])
        if (!IsBlank(cell)) return false;
    return true;
}

void CellTable::SetDisplay(const StringList& lines) {
    display_ = lines;
    parsed_.clear();
    parsed_.reserve(lines.size());
    for (const auto& line : lines) {
        ColumnParse parse = ParseColumnDescription(line);
        if (!parse.ok) Message(kBadCharacterSet);
        parsed_.push_back(std::move(parse.column));
    }
    for (std::size_t c = 0; c < columns_.size(); ++c)
        columns_[c] = c < parsed_.size() ? parsed_[c] : DefaultColumn();
    ApplyTitles();
}

const ColumnRecord& CellTable::Column(int col) const {
    if (col < 0 || col >= colCount_) return DefaultColumn();
    return columns_[static_cast<std::size_t>(col)];
}

ColumnRecord& CellTable::MutableColumn(int col) {
    return columns_[static_cast<std::size_t>(std::clamp(col, 0, colCount_ - 1))];
}

void CellTable::ApplyTitles() {
    for (int c = 0; c < colCount_; ++c)
        cells_[0][static_cast<std::size_t>(c)] = columns_[static_cast<std::size_t>(c)].title;
}

void CellTable::Message(std::string_view text) const {
    messages_.emplace_back(text);
}

std::vector<std::string> CellTable::TakeMessages() {
    return std::exchange(messages_, {});
}

// ---------------------------------------------------------------------------------------
// Rows

void CellTable::AppendRow() {
    cells_.emplace_back(static_cast<std::size_t>(colCount_));
}

void CellTable::MoveRow(int from, int to) {
    const int last = RowCount() - 1;
    if (from < 1 || from > last || to < 1 || to > last || from == to) return;
    auto begin = cells_.begin();
    if (from < to)
        std::rotate(begin + from, begin + from + 1, begin + to + 1);
    else
        std::rotate(begin + to, begin + from, begin + from + 1);
}

void CellTable::InsertRowAt(int row) {
    AppendRow();
    MoveRow(RowCount() - 1, std::clamp(row, 1, RowCount() - 1));
}

void CellTable::DeleteRow(int row) {
    if (row < 1 || row >= RowCount()) return;
    if (RowCount() <= 2) { // the last data row stays, emptied
        for (auto& cell : cells_[1])
            cell.clear();
        return;
    }
    cells_.erase(cells_.begin() + row);
}

void CellTable::LoadRows(const StringList* list) {
    const std::size_t size = list ? list->size() : 0;
    const auto cols = static_cast<std::size_t>(colCount_);
    int row = 1;
    for (std::size_t start = 0; start < size; start += cols, ++row) {
        if (row >= RowCount()) AppendRow();
        auto& cells = cells_[static_cast<std::size_t>(row)];
        for (std::size_t c = 0; c < cols; ++c)
            cells[c] = start + c < size ? (*list)[start + c] : std::string();
    }
    for (; row < RowCount(); ++row)
        for (auto& cell : cells_[static_cast<std::size_t>(row)])
            cell.clear();
}

void CellTable::SaveRows(StringList& list) const {
    list.clear();
    list.reserve(static_cast<std::size_t>(std::max(RowCount() - 1, 0)) *
                 static_cast<std::size_t>(colCount_));
    for (int row = 1; row < RowCount(); ++row)
        if (!IsRowEmpty(row)) {
            const auto& cells = cells_[static_cast<std::size_t>(row)];
            list.insert(list.end(), cells.begin(), cells.end());
        }
}

void CellTable::SaveRows(StringListRef& list) const {
    if (!list) list = std::make_shared<StringList>();
    SaveRows(*list);
}

// Sorting. The rows are put in the order that repeated top-to-bottom bubble passes give when
// they exchange neighbours a (above) and b (below) at the first key whose cell texts differ,
// if b's cell is filled and a's empty, or both are filled and a's value is greater: upper-case
// text for text columns, numbers for number columns, dates for date columns, never for
// business or tax file numbers.
//
// Per key, call a cell's value its class (texts upper-cased, numbers and dates by value, all
// filled identifier cells one class; the empty cell a class above all). Two rows are
// exchangeable only when their first differing text is also a different class, so rows whose
// texts differ but whose classes agree (such as "abc" and "ABC") are never exchanged, and
// since neighbours only pass each other by an exchange, such rows keep their relative order
// and block each other. The passes stop when no neighbours are exchangeable, which gives:
// the classes of the first key in ascending order; within a class, the rows in their old
// order, cut into runs of equal text; each run ordered the same way by the next key; rows
// equal in every key in their old order. That is a stable sort per class followed by the
// same step inside every run, O(keys * n log n).
std::vector<int> CellTable::SortedRowOrder(std::string_view keys) const {
    struct Key {
        int col;
        int type;
    };
    std::vector<Key> sortKeys;
    StringList parts;
    SplitText(keys, ',', parts);
    for (const auto& part : parts) {
        const std::string_view trimmed = TrimBlanks(part);
        if (trimmed.empty()) continue;
        if (!std::all_of(trimmed.begin(), trimmed.end(), IsDigit)) continue;
        const int col = ReadInt(trimmed);
        if (col >= 0 && col < colCount_) sortKeys.push_back({col, Column(col).type});
    }

    const int rows = RowCount() - 1;
    std::vector<int> order(static_cast<std::size_t>(std::max(rows, 0)));
    for (int i = 0; i < rows; ++i)
        order[static_cast<std::size_t>(i)] = i + 1;
    if (rows < 2 || sortKeys.empty()) return order;

    // The class of every key cell, computed once.
    struct Class {
        bool empty = true;
        Extended number = 0;
        std::string text;
    };
    const int thisYear = CurrentYear();
    std::vector<std::vector<Class>> classes(sortKeys.size(),
                                            std::vector<Class>(static_cast<std::size_t>(rows + 1)));
    for (std::size_t k = 0; k < sortKeys.size(); ++k)
        for (int row = 1; row <= rows; ++row) {
            const std::string& cell = Cell(sortKeys[k].col, row);
            Class& cls = classes[k][static_cast<std::size_t>(row)];
            cls.empty = cell.empty();
            if (cls.empty) continue;
            switch (sortKeys[k].type) {
            case ctNumber:
                cls.number = ReadFloat(cell);
                break;
            case ctDate: {
                auto date = ParseDate(cell, thisYear);
                cls.number = date ? *date : 0;
                break;
            }
            case ctBusinessNumber:
            case ctTaxFileNumber:
                break; // all filled cells alike
            default:
                cls.text = UpperText(cell);
                break;
            }
        }

    auto sortRange = [&](auto& self, std::size_t begin, std::size_t end, std::size_t k) -> void {
        if (end - begin < 2 || k == sortKeys.size()) return;
        const auto& cls = classes[k];
        const int type = sortKeys[k].type;
        auto less = [&](int a, int b) {
            const Class& x = cls[static_cast<std::size_t>(a)];
            const Class& y = cls[static_cast<std::size_t>(b)];
            if (x.empty || y.empty) return !x.empty && y.empty;
            if (type == ctNumber || type == ctDate) return x.number < y.number;
            if (type == ctBusinessNumber || type == ctTaxFileNumber) return false;
            return x.text < y.text;
        };
        auto first = order.begin() + static_cast<std::ptrdiff_t>(begin);
        auto last = order.begin() + static_cast<std::ptrdiff_t>(end);
        std::stable_sort(first, last, less);
        // Runs of equal text inside each class go on to the next key.
        const int col = sortKeys[k].col;
        std::size_t run = begin;
        for (std::size_t i = begin + 1; i <= end; ++i) {
            const bool split = i == end || less(order[run], order[i]) ||
                               Cell(col, order[i - 1]) != Cell(col, order[i]);
            if (!split) continue;
            self(self, run, i, k + 1);
            run = i;
        }
    };
    sortRange(sortRange, 0, order.size(), 0);
    return order;
}

void CellTable::SortRows(std::string_view keys) {
    const std::vector<int> order = SortedRowOrder(keys);
    std::vector<std::vector<std::string>> sorted;
    sorted.reserve(cells_.size());
    sorted.push_back(std::move(cells_[0]));
    for (int row : order)
        sorted.push_back(std::move(cells_[static_cast<std::size_t>(row)]));
    cells_ = std::move(sorted);
    StringList list;
    SaveRows(list);
    LoadRows(list);
}

// ---------------------------------------------------------------------------------------
// Columns

int CellTable::ColumnType(int col) const {
    if (col < 0 || col >= colCount_) return -1;
    return Column(col).type;
}

bool CellTable::ColumnNoTotal(int col) const {
    return Column(col).noTotal;
}

void ColumnSum::Add(const std::string& cell) {
    static const CharSet set = [] {
        CharSet chars = DigitSet();
        chars.set(static_cast<unsigned char>('-'));
        chars.set(static_cast<unsigned char>(kDecimalSeparator));
        return chars;
    }();
    if (cell.empty()) return;
    const std::string s = FilterChars(cell, set);
    if (s == "0" || s == "0.00") {
        zeroSeen_ = true;
        return;
    }
    sum_ += ReadFloat(s);
}

Extended ColumnSum::Total() const {
    return sum_ == 0 && zeroSeen_ ? ExplicitZero : sum_;
}

Extended CellTable::ColumnTotal(int col) const {
    if (ColumnType(col) != ctNumber) return 0;
    ColumnSum sum;
    for (int row = 1; row < RowCount(); ++row)
        sum.Add(Cell(col, row));
    return sum.Total();
}

std::string CellTable::ColumnTotalText(int col) const {
    // The width only pads, and the padding is trimmed again.
    const std::string text = FixedToText(ColumnTotal(col), 0, FormatDecimals(Column(col).decimals));
    const auto begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

void CellTable::LockColumn(int col) {
    if (col < 0 || col >= colCount_) return;
    ColumnRecord& c = MutableColumn(col);
    c.skipped = true;
    c.tabStop = false;
}

void CellTable::UnlockColumn(int col) {
    if (col < 0 || col >= colCount_) return;
    ColumnRecord& c = MutableColumn(col);
    c.skipped = false;
    c.tabStop = true;
}

void CellTable::SetColumnReadOnly(int col, bool readOnly) {
    if (col < 0 || col >= colCount_) return;
    MutableColumn(col).readOnly = readOnly;
}

bool CellTable::IsTabStop(int col) const {
    return col >= 0 && col < colCount_ && Column(col).tabStop;
}

int CellTable::FirstTabStop(int from) const {
    for (int c = std::max(from, 0); c < colCount_; ++c)
        if (IsTabStop(c)) return c;
    return -1;
}

int CellTable::LastTabStop() const {
    for (int c = colCount_ - 1; c >= 0; --c)
        if (IsTabStop(c)) return c;
    return -1;
}

void CellTable::RefreshPicklist(int col, int row) {
    if (!onPicklistDropdown || col < 0 || col >= colCount_) return;
    StringList copy = Column(col).picklist;
    onPicklistDropdown(col, row, copy);
    MutableColumn(col).picklist = std::move(copy);
}

// ---------------------------------------------------------------------------------------
// Typing, checks and formats

KeyFilterResult CellTable::FilterKey(int col, std::string_view text, bool hasSelection,
                                     char ch) const {
    const ColumnRecord& c = Column(col);
    const auto refuse = [](KeyVerdict verdict, char key, KeyRefusal why) {
        return KeyFilterResult{verdict, key, why};
    };
    if (c.skipped || c.readOnly) return refuse(KeyVerdict::Discard, ch, KeyRefusal::ReadOnly);
    if (static_cast<unsigned char>(ch) <= ' ') return {KeyVerdict::Accept, ch};

    const bool hasSeparator = text.find(kDecimalSeparator) != std::string_view::npos;
    const auto length = static_cast<long long>(text.size());
    if (c.type == ctNumber && c.decimals > 0 && !hasSeparator &&
        length == static_cast<long long>(c.width) - c.decimals - 1) {
        if (ch == kDecimalSeparator) return {KeyVerdict::Accept, ch};
        return refuse(KeyVerdict::Beep, ch, KeyRefusal::WholePartFull);
    }

    const auto minus = static_cast<long long>(std::count(text.begin(), text.end(), '-'));
    if (length - minus >= c.width && !hasSelection)
        return refuse(KeyVerdict::Beep, ch, KeyRefusal::Full);

    switch (c.type) {
    case ctNumber:
        // A decimal point outside the set is one in a whole-number column.
        if (!InSet(c.chars, ch))
            return refuse(KeyVerdict::Beep, ch,
                          ch == kDecimalSeparator ? KeyRefusal::Cents : KeyRefusal::NotAllowed);
        if ((ch == '-' && minus > 0) || (ch == kDecimalSeparator && hasSeparator))
            return refuse(KeyVerdict::Beep, ch, KeyRefusal::Repeated);
        return {KeyVerdict::Accept, ch};
    case ctDate:
        if (InSet(c.chars, ch)) return {KeyVerdict::Accept, ch};
        return refuse(KeyVerdict::Beep, ch, KeyRefusal::NotAllowed);
    default: {
        if (c.LetterCase() == 1) ch = ToUpper(ch);
        if (c.LetterCase() == 2) ch = ToLower(ch);
        if (c.chars.none() || InSet(c.chars, ch)) return {KeyVerdict::Accept, ch};
        return refuse(KeyVerdict::Beep, ch, KeyRefusal::NotAllowed);
    }
    }
}

void CellTable::StripCell(int col, int row) {
    const ColumnRecord& c = Column(col);
    if (c.chars.none() || row < 1) return;
    SetCell(col, row, FilterChars(Cell(col, row), c.chars));
}

std::string CellTable::FormatNumber(const ColumnRecord& column, Extended value) const {
    const int decimals = FormatDecimals(column.decimals);
    if (decimals > 0 && std::fabs(value) > ExplicitZero) {
        const Extended whole = std::trunc(value);
        const Extended scale = std::pow(10.0L, decimals);
        value = whole + RoundHalfEven((value - whole) * scale) / scale;
    }
    if (std::fabs(value) < ExplicitZero) return {};
    if (value == ExplicitZero) value = 0;
    return FormatFixed(value, column.width, decimals);
}

std::string CellTable::FormatDateCell(DateTime date) {
    return date <= 0.01 ? std::string() : FormatDate(date);
}

bool CellTable::CheckDigits(const ColumnRecord& column, std::string_view cell) const {
    const auto pos = cell.find(kDecimalSeparator);
    return pos == std::string_view::npos ||
           static_cast<long long>(pos) + 1 <=
               static_cast<long long>(column.width) - column.decimals;
}

void CellTable::CheckTotal(int col) const {
    const ColumnRecord& column = Column(col);
    const Extended total = ColumnTotal(col);
    bool tooLong = static_cast<long long>(WholeNumberText(total).size()) > column.width;
    if (!tooLong && column.decimals > 0) {
        const std::string text = FormatGeneral(total);
        const auto pos = text.find(kDecimalSeparator);
        const long long limit = static_cast<long long>(column.width) - column.decimals;
        tooLong = pos == std::string::npos ? static_cast<long long>(text.size()) > limit - 1
                                           : static_cast<long long>(pos) + 1 > limit;
    }
    if (tooLong) Message(TotalWarning(column.title, column.width));
}

CellCheck CellTable::CheckCell(int col, int row) {
    if (col < 0 || col >= colCount_ || row < 1 || row >= RowCount()) return CellCheck::Passed;
    const ColumnRecord& c = Column(col);

    if (c.HasEnforcedPicklist()) {
        RefreshPicklist(col, row);
        const std::string& cell = Cell(col, row);
        if (!cell.empty()) {
            // A code typed without the blanks that pad it to the column's width ("A" for "A ")
            // matches, and is stored padded as choosing it from the list stores it.
            const auto width = static_cast<std::size_t>(std::max(c.width, 0));
            const auto match =
                std::find_if(c.picklist.begin(), c.picklist.end(), [&](const std::string& item) {
                    const std::string code = item.substr(0, width);
                    return cell == code || (!cell.empty() && cell == TrimBlanks(code));
                });
            if (match == c.picklist.end()) {
                Message(kPicklistMismatch);
                return CellCheck::Failed;
            }
            if (const std::string code = match->substr(0, width); cell != code)
                SetCell(col, row, code);
        }
    }

    const std::string cell = Cell(col, row);
    if (cell.empty() || c.type == ctText || c.type > ctTaxFileNumber || c.type < 0)
        return CellCheck::Passed;
    // Blanks typed into a number, date or registration number are no entry at all.
    if (TrimBlanks(cell).empty()) {
        SetCell(col, row, std::string());
        return CellCheck::Passed;
    }

    switch (c.type) {
    case ctBusinessNumber:
        if (!IsValidABN(cell)) {
            Message(kInvalidABN);
            return CellCheck::Failed;
        }
        SetCell(col, row, FormatABN(cell));
        return CellCheck::Passed;
    case ctTaxFileNumber:
        if (!IsValidTFN(cell)) {
            Message(kInvalidTFN);
            return CellCheck::Failed;
        }
        SetCell(col, row, FormatTFN(cell));
        return CellCheck::Passed;
    case ctDate: {
        const std::string text = NormaliseDateDigits(cell, kDateSeparator);
        SetCell(col, row, text);
        auto date = ParseDate(text);
        if (!date) {
            Message(DateEntryMessage(text));
            return CellCheck::Failed;
        }
        lastDate_ = *date;
        SetCell(col, row, FormatDateCell(*date));
        return CellCheck::Passed;
    }
    default:
        break;
    }

    // Number.
    const Extended raw = ReadFloat(cell);
    if (c.HasRange() && (raw < c.minimum || raw > c.maximum)) {
        Message(RangeMessage(c.minimum, c.maximum));
        return CellCheck::Failed;
    }
    if (c.decimals > 0 && !CheckDigits(c, cell)) Message(DigitsWarning(cell, c.width));
    if (hasTotalsRow_ && !c.noTotal) CheckTotal(col);

    auto value = ParseNumber(FilterChars(cell, c.chars));
    if (!value || std::isnan(*value)) {
        Message(InvalidNumericEntryMessage(cell));
        SetCell(col, row, std::string());
        return CellCheck::Failed;
    }
    Extended v = *value;
    if (std::fabs(v) <= ExplicitZero) v = ExplicitZero;
    if (c.HasRange() && (v < c.minimum || v > c.maximum)) {
        Message(kInvalidNumericEntry);
        return CellCheck::Failed;
    }
    lastValue_ = v;
    SetCell(col, row, FormatNumber(c, v));
    return CellCheck::Passed;
}

} // namespace cgt
