#pragma once
// The loaded pages of a report: the sections of a script turned into pages by the selection
// rules, with the page furniture of table pages, header and page blocks repeated on every page
// of a table, one copy of the loop's records per worksheet row, the footer after the loop and
// page breaks at the page limit. The store decides which sections print and how many rows a
// loop has; the drawing of the pages is the engine's.

#include <functional>
#include <stdexcept>
#include <vector>

#include "report/core/script.h"

namespace cgt::report {

// Script units below the page top that a page may fill.
inline constexpr int kPageLimit = 2680;
// A page number is one byte.
inline constexpr int kMaxPages = 255;
// Height of the furniture at the top of a table page.
inline constexpr int kFurnitureHeight = 90;
// Conditions of a section.
inline constexpr int kAlwaysPrinted = 0;
inline constexpr int kPrintedWithData = 1;
inline constexpr int kNeverPrinted = 9999;

struct Page {
    int number = 0;
    // Of the section that opened the page.
    int condition = 0;
    char placement = 'A';
    int height = 0;
    int secondHeight = 0;
    std::vector<Record> records;
};

class ReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct LoadHooks {
    // Told the display type of each field tag as its records are copied.
    std::function<void(int tag, int type)> setFieldType;
};

// The number of rows of a loop over `tag`: the lines of a list divided by the cells per row,
// or the rows of a worksheet.
int LoopRows(int tag, int columns);

class PageList {
public:
    int PageCount() const { return static_cast<int>(pages_.size()); }
    int CurrentPage() const { return current_; }
    // Makes page n current, clamped to 1..PageCount; nullptr when nothing is loaded.
    Page* GotoPage(int n);
    const Page* page(int n) const; // nullptr outside 1..PageCount
    Page* page(int n);
    std::vector<Page>& pages() { return pages_; }
    const std::vector<Page>& pages() const { return pages_; }
    void Clear();

    // Appends the pages of sections first..last (from 1) of the script. Sections beyond the
    // script are ignored. Throws ReportError when the report would pass kMaxPages; the pages
    // built so far stay.
    void Load(const Script& script, int first, int last, const LoadHooks& hooks = {});

private:
    std::vector<Page> pages_;
    int current_ = 0;
};

} // namespace cgt::report
