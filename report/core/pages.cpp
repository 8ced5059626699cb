#include "report/core/pages.h"

#include <algorithm>
#include <string>

#include "store/field_store.h"

namespace cgt::report {

namespace {

// Page height of the scripts: the furniture's frames climb back by it to the page top.
constexpr int kScriptPageHeight = 2750;
// Furniture colours and font.
constexpr int kFurnitureBrush = 22;
constexpr int kFurniturePen = 19;
constexpr int kFurnitureText = 27;
constexpr int kFurnitureRule = 27;
constexpr int kFurnitureFontSize = 8;

bool IsRowField(const Record& r) {
    if (!IsFieldKind(r.kind())) return false;
    const int type = r.u8(fld::kType);
    return type == dispListColumn || (type >= dispRowText && type <= dispRowCents);
}

bool NotPrinted(const Record& r) {
    return IsFieldKind(r.kind()) && r.i16(fld::kColumn) == fld::kColumnNotPrinted;
}

struct Block {
    bool present = false;
    int height = 0;
    std::vector<const Record*> records; // strictly between the marks
};

struct LoopBlock : Block {
    int tag = 0;
    int columns = 0;
    int minRows = 0;
    int conditionTag = 0;
    int rows = 0;
};

// The blocks of a section and whether it prints.
struct SectionScan {
    Block header;
    Block pageBlock;
    LoopBlock loop;
    Block footer;
    bool prints = false;
};

SectionScan Scan(const Section& section) {
    SectionScan scan;
    const int c = section.condition();
    bool anyField = false;
    bool loopFailed = false;
    bool prints =
        c == kAlwaysPrinted || (c > kPrintedWithData && c != kNeverPrinted && FieldHasData(c));
    Block* open = nullptr;
    char openEnd = 0;
    for (const Record& r : section.records) {
        const char kind = r.kind();
        if (open != nullptr && kind == openEnd) {
            open = nullptr;
            continue;
        }
        if (open != nullptr) open->records.push_back(&r);
        Block* started = nullptr;
        switch (kind) {
        case rkHeader:
            started = &scan.header;
            scan.header.height = r.i16(blk::kHeight);
            break;
        case rkFooter:
            started = &scan.footer;
            scan.footer.height = r.i16(blk::kHeight);
            break;
        case rkPageBlock:
            started = &scan.pageBlock;
            break;
        case rkLoop: {
            started = &scan.loop;
            LoopBlock& loop = scan.loop;
            loop.height = r.i16(loop::kRowHeight);
            loop.tag = r.i16(loop::kTag);
            loop.columns = r.i16(loop::kColumns);
            loop.minRows = r.i16(loop::kMinRows);
            loop.conditionTag = r.i16(loop::kConditionTag);
            loop.rows = LoopRows(loop.tag, loop.columns);
            const bool fails = (loop.minRows != 0 && loop.rows < loop.minRows) || loop.rows == 0 ||
                               (loop.conditionTag != 0 && FieldHasData(loop.conditionTag));
            if (fails && c != kAlwaysPrinted) {
                prints = false;
                loopFailed = true;
            }
            break;
        }
        default:
            break;
        }
        if (started != nullptr) {
            started->present = true;
            open = started;
            openEnd = BlockEnd(kind);
            continue;
        }
        if (IsFieldKind(kind)) {
            anyField = true;
            if (c == kPrintedWithData && FieldHasData(r.i16(fld::kTag))) prints = true;
        }
    }
    if (c == kPrintedWithData && !anyField && !loopFailed) prints = true;
    if (c == kNeverPrinted) prints = false;
    scan.prints = prints;
    return scan;
}

class Loader {
public:
    Loader(std::vector<Page>& pages, const LoadHooks& hooks) : pages_(pages), hooks_(hooks) {}

    void Run(const Script& script, int first, int last) {
        const int count = static_cast<int>(script.sections.size());
        first = std::max(first, 1);
        last = std::min(last, count);
        for (int s = first; s <= last; ++s)
            LoadSection(script.sections[static_cast<std::size_t>(s - 1)]);
    }

private:
    void LoadSection(const Section& section) {
        SectionScan scan = Scan(section);
        if (scan.pageBlock.present) pageBlock_ = scan.pageBlock.records;
        if (!scan.prints) return;
        const int c = section.condition();
        if (c <= kPrintedWithData) {
            if (c == kAlwaysPrinted || !opened_ || used_ + section.secondHeight() > kPageLimit)
                NewPage(section);
            used_ += section.height();
            fresh_ = false;
            for (const Record& r : section.records)
                Copy(r, Record::kNoRow, 0);
            return;
        }
        header_ = &scan.header;
        section_ = &section;
        const LoopBlock& loop = scan.loop;
        if (!opened_ || used_ + scan.header.height + loop.height + scan.footer.height > kPageLimit)
            NewPage(section);
        rowHeight_ = loop.height;
        EmitHeader();
        for (int row = 0; row < loop.rows; ++row) {
            Fit(loop.height);
            for (const Record* r : loop.records)
                Copy(*r, row, loop.tag);
            used_ += loop.height;
            fresh_ = false;
        }
        if (!scan.footer.records.empty()) {
            Fit(scan.footer.height);
            for (const Record* r : scan.footer.records)
                Copy(*r, Record::kFooterRow, loop.tag);
            used_ += scan.footer.height;
        }
        header_ = nullptr;
    }

    void EmitHeader() {
        if (header_ == nullptr || header_->records.empty()) return;
        if (!fresh_ && used_ + header_->height + rowHeight_ > kPageLimit) NewPage(*section_);
        for (const Record* r : header_->records)
            Copy(*r, Record::kNoRow, 0);
        used_ += header_->height;
        fresh_ = false;
    }

    // A row (or the footer) that would pass the page limit goes to a new page, under the header
    // block when the table has one.
    void Fit(int height) {
        if (used_ + height <= kPageLimit) return;
        NewPage(*section_);
        EmitHeader();
    }

    void NewPage(const Section& section) {
        if (static_cast<int>(pages_.size()) >= kMaxPages)
            throw ReportError("the report would pass " + std::to_string(kMaxPages) + " pages");
        Page page;
        page.number = static_cast<int>(pages_.size()) + 1;
        page.condition = section.condition();
        page.placement = section.placement();
        page.height = section.height();
        page.secondHeight = section.secondHeight();
        pages_.push_back(std::move(page));
        opened_ = true;
        fresh_ = true;
        used_ = 0;
        if (section.condition() != kAlwaysPrinted) {
            AppendFurniture();
            used_ = kFurnitureHeight;
        }
    }

    // Background, page block, taxpayer's name and file number, signature line and a rule.
    void AppendFurniture() {
        Attributes(kFurnitureBrush, kFurniturePen, 0, 5);
        Append(Box(rkRectangle, 0, 0, 1860, kScriptPageHeight));
        if (!pageBlock_.empty()) {
            Append(Box(rkFrame, 0, -kScriptPageHeight, 0, 0));
            for (const Record* r : pageBlock_)
                Copy(*r, Record::kNoRow, 0);
        }
        Append(Box(rkFrame, 25, -kScriptPageHeight, 0, 0));
        Font();
        Append(Text("Taxpayer Name"));
        Append(Box(rkFrame, 250, 0, 1740, 40));
        Append(Field(100, tag::kHostTaxpayerName));
        Append(Box(rkFrame, 25, 10, 0, 0));
        Font();
        Append(Text("Tax File Number"));
        Append(Box(rkFrame, 250, -2, 550, 42));
        Append(Field(11, tag::kIdentifier));
        Append(Box(rkFrame, 1040, -40, 0, 0));
        Font();
        std::string signature = "Signature";
        for (int i = 0; i < 37; ++i)
            signature += " .";
        Append(Text(signature));
        Attributes(kFurnitureBrush, kFurnitureRule, 25, 0);
        Append(Box(rkLine, 25, 40, 1825, 0));
    }

    void Attributes(int brush, int pen, int width, int penStyle) {
        Record r = MakeRecord(rkAttributes);
        r.setU8(attr::kBrushColour, brush);
        r.setU8(attr::kBrushStyle, 0);
        r.setU8(attr::kPenColour, pen);
        r.setU8(attr::kPenWidth, width);
        r.setU8(attr::kPenStyle, penStyle);
        Append(r);
    }
    void Font() {
        Record r = MakeRecord(rkFont);
        r.setU8(font::kBackground, kFurnitureBrush);
        r.setU8(font::kFace, 0);
        r.setU8(font::kSize, kFurnitureFontSize);
        r.setU8(font::kColour, kFurnitureText);
        r.setU8(font::kAlign, 0);
        Append(r);
    }
    static Record Box(char kind, int x1, int y1, int x2, int y2) {
        Record r = MakeRecord(kind);
        r.setI16(box::kX1, x1);
        r.setI16(box::kY1, y1);
        r.setI16(box::kX2, x2);
        r.setI16(box::kY2, y2);
        return r;
    }
    static Record Text(std::string text) {
        Record r = MakeRecord(rkText);
        r.text = std::move(text);
        r.hasText = true;
        return r;
    }
    static Record Field(int size, int tag) {
        Record r = MakeRecord(rkField);
        r.setU8(fld::kSize, size);
        r.setI16(fld::kTag, tag);
        r.setI16(fld::kColumn, 0);
        r.setU8(fld::kType, 0);
        r.setU8(fld::kBoxFlags, 1);
        r.setU8(fld::kRowSlot, 8);
        return r;
    }

    void Append(Record r) { Copy(r, Record::kNoRow, 0); }

    void Copy(const Record& source, int row, int loopTag) {
        if (NotPrinted(source)) return;
        Record r = source;
        if (r.hasText) {
            for (std::size_t i = txt::kReference; i < txt::kReference + 4; ++i)
                r.bytes[i] = 0;
            r.bytes[txt::kBoxFlags + 1] = 0;
        }
        if (row != Record::kNoRow && IsRowField(r)) {
            r.setU8(fld::kRowSlot, row == Record::kFooterRow ? fld::kFooterRow : row & 0xFF);
            r.setU8(fld::kBoxFlags, 1);
            r.loopRow = row;
            r.loopTag = loopTag;
        }
        if (IsFieldKind(r.kind())) {
            const int tag = r.i16(fld::kTag);
            const int type = r.u8(fld::kType);
            const bool typed = type <= 6 || (type >= 11 && type <= 15);
            if (typed && tag != lastFieldTag_ && hooks_.setFieldType)
                hooks_.setFieldType(tag, type);
            lastFieldTag_ = tag;
        }
        pages_.back().records.push_back(std::move(r));
    }

    std::vector<Page>& pages_;
    const LoadHooks& hooks_;
    int used_ = 2 * kPageLimit; // the first printed section opens a page
    bool opened_ = false;
    bool fresh_ = false; // nothing of a section on the page yet but its furniture
    std::vector<const Record*> pageBlock_;
    const Block* header_ = nullptr;
    const Section* section_ = nullptr;
    int rowHeight_ = 0;
    int lastFieldTag_ = 0;
};

} // namespace

int LoopRows(int tag, int columns) {
    switch (GetFieldType(tag)) {
    case dtList: {
        const StringListRef list = GetFieldLst(tag);
        if (!list || columns <= 0) return 0;
        return static_cast<int>(list->size() / static_cast<std::size_t>(columns));
    }
    case dtWorksheet: {
        const Worksheet* sheet = Store().entry(tag).sheet.get();
        return sheet == nullptr ? 0 : static_cast<int>(sheet->rowKeys().size());
    }
    default:
        return 0;
    }
}

Page* PageList::GotoPage(int n) {
    if (pages_.empty()) return nullptr;
    current_ = std::clamp(n, 1, PageCount());
    return &pages_[static_cast<std::size_t>(current_ - 1)];
}

const Page* PageList::page(int n) const {
    if (n < 1 || n > PageCount()) return nullptr;
    return &pages_[static_cast<std::size_t>(n - 1)];
}

Page* PageList::page(int n) {
    if (n < 1 || n > PageCount()) return nullptr;
    return &pages_[static_cast<std::size_t>(n - 1)];
}

void PageList::Clear() {
    pages_.clear();
    current_ = 0;
}

void PageList::Load(const Script& script, int first, int last, const LoadHooks& hooks) {
    GotoPage(PageCount());
    Loader(pages_, hooks).Run(script, first, last);
}

} // namespace cgt::report
