#pragma once
// The worksheet table: a grid of 8-bit cell texts with one column description per column.
// Row 0 holds the titles; data rows count from 1. The descriptions fix each column's type,
// width, allowed characters, range, decimals, picklist and flags; the table checks and
// formats cells, sorts rows, sums number columns and exchanges its rows with the field
// store's lists. The worksheet grid is its view and editor; calculations use it directly.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/dates.h"
#include "base/extended.h"
#include "base/text.h"
#include "controls/core/key_hints.h"
#include "controls/core/tax_text.h"

namespace cgt {

enum ColumnType : int {
    ctText = 0,
    ctNumber = 1,
    ctDate = 2,
    ctBusinessNumber = 3,
    ctTaxFileNumber = 4,
};

enum ColumnButtonKind : int {
    bkPicklist = 1, // drop-down list whose entries are enforced
    bkEllipsis = 2,
};

enum TitleAlignment : int { taLeft = 0, taRight = 1, taCentre = 2 };

inline constexpr char kDecimalSeparator = '.';
inline constexpr char kDateSeparator = '/';
inline constexpr int kMinDescriptionFields = 16;
// The description of a column that has no line.
inline constexpr std::string_view kDefaultColumnDescription = "Title|0|0|30|0|F|F|||||||0|0|F|F|";
inline constexpr std::string_view kBadCharacterSet = "Bad character set !";

struct ColumnRecord {
    std::string title;
    int titleAlignment = taLeft;
    int type = ctText;
    int width = 0; // most characters; for numbers the most digits including decimals
    int hint = 0;  // string resource shown over the title row, 0 none
    bool skipped = false;
    bool button = false;
    int decimals = 0; // numbers: decimals; other columns: letter case (1 upper, 2 lower)
    std::string validChars;
    bool allowMinus = false;
    Extended minimum = 0;
    Extended maximum = 0;
    int picklistRows = 0;
    int buttonKind = 0;
    StringList picklist;
    bool noTotal = false;
    bool readOnly = false;
    CharSet chars;
    bool tabStop = true;

    bool IsNumber() const { return type == ctNumber; }
    bool HasEnforcedPicklist() const { return buttonKind == bkPicklist; }
    bool HasRange() const { return minimum != maximum; }
    int LetterCase() const { return decimals; }
};

// What a column holds, as the hint after a refused key tells it.
EntryShape ColumnEntryShape(const ColumnRecord& column);

struct ColumnParse {
    ColumnRecord column;
    bool ok = true; // false: the allowed-character list is malformed (kBadCharacterSet)
};

// Reads one column description. Fields are split at "|" and padded to 16; numbers read
// with default 0; flags hold only for "T". A malformed allowed-character list stops reading:
// the column keeps the empty set and the fields read before it.
ColumnParse ParseColumnDescription(std::string_view line);

// "Value of "<cell>" with two decimal places\rexceeds allowed number of digits (<width>)"
std::string DigitsWarning(std::string_view cell, int width);
// "Column Total of "<title>" \rexceeds allowed number of digits (<width>)"
std::string TotalWarning(std::string_view title, int width);
// cell + " is an invalid numeric entry. Please re-enter amount before continuing."
std::string InvalidNumericEntryMessage(std::string_view cell);

inline constexpr std::string_view kPicklistMismatch =
    "Entry must match one of the picklist entries";
inline constexpr std::string_view kInvalidABN = "Invalid Australian Business Number (ABN)";
inline constexpr std::string_view kInvalidTFN = "Invalid Tax File Number (TFN)";
inline constexpr std::string_view kInvalidNumericEntry = "Invalid numeric entry";
inline constexpr std::string_view kRowDeletionRefused = "Row deletion not allowed on this grid";
inline constexpr std::string_view kDeleteRowQuestion = "Are you sure you want to delete this row?";

// What typing a character into a cell does.
enum class KeyVerdict {
    Accept,  // insert `ch` (the letter case of the column applied)
    Discard, // drop silently
    Beep,    // drop with a beep
};
struct KeyFilterResult {
    KeyVerdict verdict = KeyVerdict::Accept;
    char ch = 0;
    KeyRefusal refusal = KeyRefusal::None; // why a key was not taken, for the hint
};

enum class CellCheck {
    Failed, // the user stays in the cell (or it is emptied when the grid is left)
    Passed, // the cell is valid and formatted; the grid's exit handler decides
};

// The total of number cells added one by one, as CellTable::ColumnTotal gives it: a cell's
// digits, minus and decimal separator read as a number; ExplicitZero when the cells sum to 0
// and one of them is a written zero. Several columns can be summed in one pass over the rows.
class ColumnSum {
public:
    void Add(const std::string& cell);
    Extended Total() const;

private:
    Extended sum_ = 0;
    bool zeroSeen_ = false;
};

class CellTable {
public:
    CellTable();

    int ColCount() const { return colCount_; }
    int RowCount() const { return static_cast<int>(cells_.size()); }
    // At least one column; at least the title row and one data row.
    void SetColCount(int count);
    void SetRowCount(int count);

    // Empty text outside the table.
    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);
    bool IsRowEmpty(int row) const; // every cell blank after trimming

    // One column description per line; columns without a line take the default description.
    // A malformed allowed-character list shows kBadCharacterSet.
    void SetDisplay(const StringList& lines);
    const StringList& Display() const { return display_; }
    const ColumnRecord& Column(int col) const;
    ColumnRecord& MutableColumn(int col);

    // Rows.
    void AppendRow();
    void MoveRow(int from, int to);
    void InsertRowAt(int row);
    void DeleteRow(int row);
    void LoadRows(const StringList* list);
    void LoadRows(const StringList& list) { LoadRows(&list); }
    void SaveRows(StringList& list) const;
    void SaveRows(StringListRef& list) const;
    void ClearRows() { LoadRows(nullptr); }
    // Keys: column indexes separated by ",". Ascending per key, empty cells last; the order is
    // that of repeated bubble passes exchanging neighbours (see cell_table.cpp).
    void SortRows(std::string_view keys);
    // The data rows in sorted order, as indexes into the current rows.
    std::vector<int> SortedRowOrder(std::string_view keys) const;

    // Columns.
    int ColumnType(int col) const; // -1 outside the table
    bool ColumnNoTotal(int col) const;
    Extended ColumnTotal(int col) const;
    std::string ColumnTotalText(int col) const;
    void LockColumn(int col);
    void UnlockColumn(int col);
    void SetColumnReadOnly(int col, bool readOnly);
    bool IsTabStop(int col) const;
    // From `from` on, the first tab-stop column; -1 when there is none.
    int FirstTabStop(int from) const;
    int LastTabStop() const;

    // Whether a totals row shows this table (its check then warns about long totals).
    bool HasTotalsRow() const { return hasTotalsRow_; }
    void SetHasTotalsRow(bool on) { hasTotalsRow_ = on; }

    // May replace an enforced picklist before it is used: (col, row, picklist in/out).
    std::function<void(int, int, StringList&)> onPicklistDropdown;
    // Runs onPicklistDropdown on a copy of the column's picklist and keeps the result.
    void RefreshPicklist(int col, int row);

    // Typing one character into cell text `text` of column `col`.
    KeyFilterResult FilterKey(int col, std::string_view text, bool hasSelection, char ch) const;
    // Entering a cell: the text filtered by the column's character set, if it has one.
    void StripCell(int col, int row);
    // Checks the cell being left; on success the cell is formatted. What the user must be told
    // waits in Messages.
    CellCheck CheckCell(int col, int row);
    // The display form of a checked number or date.
    std::string FormatNumber(const ColumnRecord& column, Extended value) const;
    static std::string FormatDateCell(DateTime date);

    Extended LastValue() const { return lastValue_; }
    DateTime LastDate() const { return lastDate_; }

    bool Modified() const { return modified_; }
    void SetModified(bool on) { modified_ = on; }

    // The error messages of the checks and of SetDisplay since the last call, oldest first; the
    // caller shows them (the grid: each in an error box after a beep).
    std::vector<std::string> TakeMessages();

private:
    void Message(std::string_view text) const;
    void ApplyTitles();
    bool CheckDigits(const ColumnRecord& column, std::string_view cell) const;
    void CheckTotal(int col) const;

    mutable std::vector<std::string> messages_;
    int colCount_ = 5;
    std::vector<std::vector<std::string>> cells_;
    StringList display_;
    std::vector<ColumnRecord> parsed_; // one per line of display_
    std::vector<ColumnRecord> columns_;
    bool hasTotalsRow_ = false;
    bool modified_ = false;
    Extended lastValue_ = 0;
    DateTime lastDate_ = 0;
};

} // namespace cgt
