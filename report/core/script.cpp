#include "report/core/script.h"

#include <algorithm>
#include <limits>

namespace cgt::report {

namespace {

std::string KindName(char kind) {
    if (kind >= 0x21 && kind < 0x7F) return std::string("'") + kind + "'";
    constexpr char kHex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(kind);
    return std::string("0x") + kHex[byte >> 4] + kHex[byte & 15];
}

struct OpenBlock {
    char start = 0;
    std::size_t offset = 0;
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

    Script Run() {
        Script script;
        while (pos_ < data_.size()) {
            const std::size_t headerOffset = pos_;
            Record header = NextRecord();
            if (header.kind() != rkSection)
                throw ScriptError(headerOffset, "a " + KindName(header.kind()) +
                                                    " record stands where a section header "
                                                    "should start section " +
                                                    std::to_string(script.sections.size() + 1));
            Section section;
            section.header = header;
            ReadSection(section, script.sections.size() + 1);
            script.sections.push_back(std::move(section));
        }
        return script;
    }

private:
    Record NextRecord() {
        const std::size_t left = data_.size() - pos_;
        if (left < kRecordSize)
            throw ScriptError(pos_, "the script ends inside a record (" + std::to_string(left) +
                                        " of " + std::to_string(kRecordSize) + " bytes)");
        Record record;
        std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(pos_), kRecordSize,
                    record.bytes.begin());
        record.offset = static_cast<std::uint32_t>(pos_);
        pos_ += kRecordSize;
        return record;
    }

    void ReadText(Record& record) {
        const std::size_t at = pos_;
        if (data_.size() - pos_ < 2) throw ScriptError(at, "the script ends before a text length");
        const auto length = static_cast<std::int16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        if (length < 1)
            throw ScriptError(at, "text length " + std::to_string(length) +
                                      " (it counts the closing NUL, so at least 1)");
        const auto size = static_cast<std::size_t>(length);
        if (data_.size() - pos_ < size)
            throw ScriptError(at, "a text of " + std::to_string(size) +
                                      " bytes runs past the end of the script (" +
                                      std::to_string(data_.size() - pos_) + " left)");
        const auto* begin = data_.data() + pos_;
        if (begin[size - 1] != 0) throw ScriptError(at, "a text that does not end in NUL");
        if (std::find(begin, begin + size - 1, std::uint8_t{0}) != begin + size - 1)
            throw ScriptError(at, "a text with a NUL before its end");
        record.text.assign(reinterpret_cast<const char*>(begin), size - 1);
        record.hasText = true;
        pos_ += size;
    }

    void ReadSection(Section& section, std::size_t number) {
        const std::size_t headerOffset = section.header.offset;
        const int count = section.header.i16(sec::kCount);
        if (count < 0)
            throw ScriptError(headerOffset, "section " + std::to_string(number) + " counts " +
                                                std::to_string(count) + " records");
        const char placement = section.placement();
        if (placement != 'A' && placement != 'R')
            throw ScriptError(headerOffset, "section " + std::to_string(number) +
                                                " has placement " + KindName(placement) +
                                                " (expected 'A' or 'R')");
        bool afterText = false;
        OpenBlock open;
        std::string seenBlocks;
        for (int i = 0; i < count; ++i) {
            if (pos_ >= data_.size())
                throw ScriptError(headerOffset, "section " + std::to_string(number) + " counts " +
                                                    std::to_string(count) +
                                                    " records but the script ends after " +
                                                    std::to_string(i));
            Record record = NextRecord();
            const char kind = record.kind();
            if (kind == rkSection)
                throw ScriptError(record.offset,
                                  "a section header inside section " + std::to_string(number) +
                                      ", whose header at offset " + std::to_string(headerOffset) +
                                      " counts " + std::to_string(count) + " records");
            if (kind == rkText || (kind == rkRepeat && afterText)) ReadText(record);
            afterText = kind == rkText || (afterText && KeepsTextRepeat(kind));
            CheckBlock(record, open, seenBlocks);
            section.records.push_back(std::move(record));
        }
        if (open.start != 0)
            throw ScriptError(open.offset, std::string("a block opened by ") +
                                               KindName(open.start) + " is not closed by " +
                                               KindName(BlockEnd(open.start)) +
                                               " before its section ends");
        if (pos_ < data_.size() && data_[pos_] != static_cast<std::uint8_t>(rkSection))
            throw ScriptError(pos_, "section " + std::to_string(number) + " at offset " +
                                        std::to_string(headerOffset) + " counts " +
                                        std::to_string(count) + " records, but the next is a " +
                                        KindName(static_cast<char>(data_[pos_])) +
                                        " record, not a section header");
    }

    static void CheckBlock(const Record& record, OpenBlock& open, std::string& seen) {
        const char kind = record.kind();
        if (BlockEnd(kind) != 0) {
            if (open.start != 0)
                throw ScriptError(record.offset, "a block opened by " + KindName(kind) +
                                                     " inside the block opened by " +
                                                     KindName(open.start) + " at offset " +
                                                     std::to_string(open.offset));
            if (seen.find(kind) != std::string::npos)
                throw ScriptError(record.offset,
                                  "a second block opened by " + KindName(kind) + " in one section");
            seen += kind;
            open = {kind, record.offset};
        } else if (IsBlockEnd(kind)) {
            if (open.start == 0 || BlockEnd(open.start) != kind)
                throw ScriptError(record.offset, "a block end " + KindName(kind) +
                                                     " without its start in this section");
            open = {};
        }
    }

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

void PutText(std::vector<std::uint8_t>& out, const Record& record) {
    if (record.text.size() + 1 > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        throw ScriptError(out.size(), "a text of " + std::to_string(record.text.size()) +
                                          " bytes does not fit its length");
    if (record.text.find('\0') != std::string::npos)
        throw ScriptError(out.size(), "a text with a NUL inside");
    const auto length = static_cast<std::uint16_t>(record.text.size() + 1);
    out.push_back(static_cast<std::uint8_t>(length & 0xFF));
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.insert(out.end(), record.text.begin(), record.text.end());
    out.push_back(0);
}

} // namespace

ScriptError::ScriptError(std::size_t offset, const std::string& what)
    : std::runtime_error("offset " + std::to_string(offset) + ": " + what), offset_(offset) {}

Record MakeRecord(char kind) {
    Record record;
    record.bytes[0] = static_cast<std::uint8_t>(kind);
    return record;
}

bool IsFrameLike(char kind) {
    switch (kind) {
    case rkFrame:
    case rkRectangle:
    case rkLine:
    case rkEllipse:
    case rkRoundRect:
    case rkCaution:
        return true;
    default:
        return false;
    }
}

bool KeepsTextRepeat(char kind) {
    return kind == rkFrame || kind == rkRepeat || kind == rkAttributes || kind == rkFont;
}

bool IsFieldKind(char kind) {
    return kind == rkField || kind == rkEditField;
}

char BlockEnd(char start) {
    switch (start) {
    case rkPageBlock:
        return rkPageBlockEnd;
    case rkHeader:
        return rkHeaderEnd;
    case rkLoop:
        return rkLoopEnd;
    case rkFooter:
        return rkFooterEnd;
    default:
        return 0;
    }
}

bool IsBlockEnd(char kind) {
    return kind == rkPageBlockEnd || kind == rkHeaderEnd || kind == rkLoopEnd ||
           kind == rkFooterEnd;
}

Script ReadScript(std::span<const std::uint8_t> data) {
    return Reader(data).Run();
}

std::vector<std::uint8_t> WriteScript(const Script& script) {
    std::vector<std::uint8_t> out;
    for (const Section& section : script.sections) {
        if (section.records.size() >
            static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
            throw ScriptError(out.size(), "a section of " + std::to_string(section.records.size()) +
                                              " records does not fit its count");
        Record header = section.header;
        header.bytes[0] = static_cast<std::uint8_t>(rkSection);
        header.setI16(sec::kCount, static_cast<int>(section.records.size()));
        out.insert(out.end(), header.bytes.begin(), header.bytes.end());
        bool afterText = false;
        for (const Record& record : section.records) {
            if (record.kind() == rkSection)
                throw ScriptError(out.size(), "a section header among a section's records");
            out.insert(out.end(), record.bytes.begin(), record.bytes.end());
            const char kind = record.kind();
            const bool readsText = kind == rkText || (kind == rkRepeat && afterText);
            if (readsText) PutText(out, record);
            afterText = kind == rkText || (afterText && KeepsTextRepeat(kind));
        }
    }
    return out;
}

} // namespace cgt::report
