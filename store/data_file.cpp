#include "store/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include <openssl/crypto.h>

#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/file_cipher.h"
#include "store/number_format.h"
#include "store/run_state.h"

namespace cgt {

const std::string_view FileSignature = "Tesmo 2004 Capital Gains Tax Module - Income Year 2004 ";
static_assert(std::string_view("Tesmo 2004 Capital Gains Tax Module - Income Year 2004 ").size() ==
              55);

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kItemHeaderSize = 18;

// ---- plain image writer ----

class PlainWriter {
public:
    explicit PlainWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void u8(std::uint8_t v) { out_.push_back(v); }
    void u16(std::uint16_t v) { bytes(&v, 2); }
    void i32(std::int32_t v) { bytes(&v, 4); }
    void bytes(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        out_.insert(out_.end(), b, b + n);
    }
    void text(std::string_view s) {
        const std::size_t n = std::min<std::size_t>(s.size(), kMaxTextLength);
        u8(static_cast<std::uint8_t>(n));
        bytes(s.data(), n);
    }
    // The list's lines each followed by CR LF, one zero byte and two filler bytes.
    void listBody(const StringList& lines) {
        std::size_t textLength = 0;
        for (const auto& line : lines)
            textLength += line.size() + 2;
        i32(static_cast<std::int32_t>(textLength + 3));
        for (const auto& line : lines) {
            bytes(line.data(), line.size());
            u8('\r');
            u8('\n');
        }
        u8(0);
        u8(0);
        u8(0);
    }

private:
    std::vector<std::uint8_t>& out_;
};

bool recordIsWritten(const FieldEntry& e) {
    switch (e.type) {
    case dtNumeric:
        return true;
    case dtCurrency:
    case dtCurrencyCnt:
        return e.number() != 0;
    case dtString:
        return e.text != nullptr;
    case dtSmallStr:
        return e.value[0] != 0;
    case dtCheckbox:
        return e.checked();
    case dtList:
        return e.list && !e.list->empty();
    case dtWorksheet:
        return e.sheet && !e.sheet->empty();
    default:
        return false;
    }
}

void writeItem(PlainWriter& w, const WorksheetItem& item) {
    const FieldEntry& e = item.entry;
    w.u16(item.row);
    w.i32(item.tag);
    w.u8(e.type);
    w.u8(e.reserved);
    w.bytes(e.value.data(), e.value.size());
    switch (e.type) {
    case dtString:
        w.text(e.text ? *e.text : std::string_view{});
        break;
    case dtList:
        if (e.list && !e.list->empty())
            w.listBody(*e.list);
        else
            w.i32(0);
        break;
    case dtCheckbox:
        w.bytes(e.value.data(), e.value.size());
        break;
    default:
        break;
    }
}

void writeRecord(PlainWriter& w, int tag, const FieldEntry& e) {
    w.i32(tag);
    w.u8(e.type);
    switch (e.type) {
    case dtNumeric:
    case dtCurrency:
    case dtCurrencyCnt:
    case dtCheckbox:
        w.bytes(e.value.data(), e.value.size());
        break;
    case dtString:
        w.text(*e.text);
        break;
    case dtSmallStr:
        w.text(e.smallText());
        break;
    case dtList:
        w.listBody(*e.list);
        break;
    case dtWorksheet:
        w.i32(static_cast<std::int32_t>(e.sheet->size()));
        for (const auto& item : e.sheet->items())
            writeItem(w, item);
        break;
    default:
        break;
    }
}

// One line per simple record, written in DebugMode only.
void writeDebugDump(const FieldStore& store) {
    std::ofstream dump("TEST.TXT", std::ios::trunc);
    for (int tag = 1; tag <= kFieldCount; ++tag) {
        const FieldEntry& e = store.entry(tag);
        if (!recordIsWritten(e)) continue;
        switch (e.type) {
        case dtNumeric:
            dump << tag << " Numeric " << FormatGeneral(e.number()) << "\n";
            break;
        case dtCurrency:
        case dtCurrencyCnt:
            dump << tag << " Currency " << FormatGeneral(e.number()) << "\n";
            break;
        case dtCheckbox:
            dump << tag << " Checkbox \n";
            break;
        case dtSmallStr:
            dump << tag << " smallstring " << e.smallText() << "\n";
            break;
        case dtString:
            dump << tag << " string " << *e.text << "\n";
            break;
        default:
            break;
        }
    }
}

// ---- plain image reader: every read is checked against the end ----

class PlainReader {
public:
    explicit PlainReader(std::span<const std::uint8_t> data) : data_(data) {}
    bool atEnd() const { return pos_ >= data_.size(); }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool bytes(void* out, std::size_t n) {
        if (remaining() < n) return false;
        std::memcpy(out, data_.data() + pos_, n);
        pos_ += n;
        return true;
    }
    std::optional<std::uint8_t> u8() {
        std::uint8_t v;
        return bytes(&v, 1) ? std::optional(v) : std::nullopt;
    }
    std::optional<std::int32_t> i32() {
        std::int32_t v;
        return bytes(&v, 4) ? std::optional(v) : std::nullopt;
    }
    std::optional<std::string> text() {
        auto n = u8();
        if (!n || remaining() < *n) return std::nullopt;
        std::string s(reinterpret_cast<const char*>(data_.data() + pos_), *n);
        pos_ += *n;
        return s;
    }
    // A list body of L bytes: the lines are the text up to its first zero byte.
    std::optional<StringListRef> listBody() {
        auto length = i32();
        if (!length || *length < 0 || static_cast<std::size_t>(*length) > remaining())
            return std::nullopt;
        const auto* begin = reinterpret_cast<const char*>(data_.data() + pos_);
        std::string_view body(begin, static_cast<std::size_t>(*length));
        pos_ += static_cast<std::size_t>(*length);
        body = body.substr(0, std::min(body.find('\0'), body.size()));
        return splitLines(body);
    }

private:
    static StringListRef splitLines(std::string_view text) {
        auto lines = std::make_shared<StringList>();
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string_view::npos) end = text.size();
            lines->emplace_back(text.substr(start, end - start));
            start = end;
            if (start < text.size() && text[start] == '\r') ++start;
            if (start < text.size() && text[start] == '\n') ++start;
        }
        return lines;
    }

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

bool readItem(PlainReader& r, WorksheetItem& item) {
    std::uint8_t header[kItemHeaderSize];
    if (!r.bytes(header, sizeof header)) return false;
    std::memcpy(&item.row, header, 2);
    std::memcpy(&item.tag, header + 2, 4);
    FieldEntry& e = item.entry;
    e.type = header[6];
    e.reserved = header[7];
    std::memcpy(e.value.data(), header + 8, e.value.size());
    switch (e.type) {
    case dtString: {
        auto s = r.text();
        if (!s) return false;
        e.text = s->empty() ? SharedEmptyText() : std::make_shared<const std::string>(*s);
        break;
    }
    case dtList: {
        auto list = r.listBody();
        if (!list) return false;
        e.list = *list;
        break;
    }
    case dtCheckbox:
        return r.bytes(e.value.data(), e.value.size());
    default:
        break;
    }
    return true;
}

// Reads one record's payload into `e`; false when the record is malformed.
bool readPayload(PlainReader& r, FieldEntry& e) {
    switch (e.type) {
    case dtNumeric:
    case dtCurrency:
    case dtCurrencyCnt:
    case dtCheckbox:
        return r.bytes(e.value.data(), e.value.size());
    case dtSmallStr: {
        auto s = r.text();
        if (!s || s->size() > static_cast<std::size_t>(kMaxSmallTextLength)) return false;
        e.setSmallText(*s);
        return true;
    }
    case dtString: {
        auto s = r.text();
        if (!s) return false;
        e.text = s->empty() ? SharedEmptyText() : std::make_shared<const std::string>(*s);
        return true;
    }
    case dtList: {
        auto list = r.listBody();
        if (!list) return false;
        e.list = *list;
        return true;
    }
    case dtWorksheet: {
        auto count = r.i32();
        if (!count || *count < 0 ||
            static_cast<std::size_t>(*count) > r.remaining() / kItemHeaderSize)
            return false;
        auto sheet = std::make_shared<Worksheet>();
        sheet->reserve(static_cast<std::size_t>(*count));
        for (std::int32_t i = 0; i < *count; ++i) {
            WorksheetItem item;
            if (!readItem(r, item)) return false;
            sheet->append(std::move(item));
        }
        e.sheet = std::move(sheet);
        return true;
    }
    default:
        return true; // dtNone and unknown types carry no payload
    }
}

void reportBadRecord(std::int32_t tag, int lastTag) {
    MsgBox("Error reading file, field tag = " + std::to_string(tag) +
               " last tag = " + std::to_string(lastTag),
           mkError, mbOK);
}

// ---- files ----

struct PlainImage {
    std::vector<std::uint8_t> bytes;
    ~PlainImage() {
        if (!bytes.empty()) OPENSSL_cleanse(bytes.data(), bytes.size());
    }
};

// Writes `data` to a new file in the folder of `path` and flushes it to the disk; returns its
// name, or an empty name with `error` set.
std::string writeBeside(const std::string& path, std::span<const std::uint8_t> data,
                        std::string& error) {
    const fs::path target(path);
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::string name = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return {};
    }
    const std::uint8_t* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = std::strerror(errno);
            ::close(fd);
            ::unlink(name.c_str());
            return {};
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fchmod(fd, 0644) != 0 || ::fsync(fd) != 0) {
        error = std::strerror(errno);
        ::close(fd);
        ::unlink(name.c_str());
        return {};
    }
    if (::close(fd) != 0) {
        error = std::strerror(errno);
        ::unlink(name.c_str());
        return {};
    }
    return name;
}

void syncFolderOf(const std::string& path) {
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty()) folder = ".";
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

SaveStatus reportSaveFailure(const std::string& path, const std::string& reason,
                             const std::string& kept) {
    MsgBox("Unable to save file - " + path + "\n\n" + reason +
               "\n\nYour previous data is kept in " + kept + ".",
           mkError, mbOK);
    return SaveStatus::Failed;
}

FileKey keyOfIdentifier(std::string_view identifier) {
    return DeriveFileKey(KeyTextOf(identifier));
}

} // namespace

std::string CompanionName(const std::string& path, std::string_view extension) {
    fs::path p(path);
    p.replace_extension(std::string(extension));
    return p.string();
}

std::vector<std::uint8_t> SerialisePlain() {
    const ModuleRunState& run = Run();
    const FieldStore& store = Store();
    std::vector<std::uint8_t> out;
    std::size_t estimate = FileSignature.size() + 12 + 4 * run.ScreenHistory.size();
    for (int tag = 1; tag <= kFieldCount; ++tag) {
        const FieldEntry& e = store.entry(tag);
        estimate += 16;
        if (e.type == dtWorksheet && e.sheet) estimate += e.sheet->size() * 32;
    }
    out.reserve(estimate);

    PlainWriter w(out);
    w.bytes(FileSignature.data(), FileSignature.size());
    w.i32(run.CurrentSection);
    w.i32(run.CurrentIndex);
    w.i32(static_cast<std::int32_t>(run.ScreenHistory.size()));
    for (std::int32_t screen : run.ScreenHistory)
        w.i32(screen);
    for (int tag = 1; tag <= kFieldCount; ++tag) {
        const FieldEntry& e = store.entry(tag);
        if (recordIsWritten(e)) writeRecord(w, tag, e);
    }
    return out;
}

LoadStatus ParsePlain(std::span<const std::uint8_t> plain, const std::string& pathForMessages) {
    ModuleRunState& run = Run();
    if (plain.size() < FileSignature.size() ||
        std::memcmp(plain.data(), FileSignature.data(), FileSignature.size()) != 0) {
        MsgBox("Unable to open file - " + pathForMessages, mkError, mbOK);
        run.CurrentFileName.clear();
        run.CurrentSection = 0;
        run.CurrentIndex = 0;
        return LoadStatus::BadSignature;
    }

    ClearStore();
    run.ScreenHistory.clear();

    PlainReader r(plain.subspan(FileSignature.size()));
    run.CurrentSection = r.i32().value_or(0);
    run.CurrentIndex = r.i32().value_or(0);
    const std::int32_t historyCount = r.i32().value_or(0);
    for (std::int32_t i = 0; i < historyCount; ++i) {
        auto screen = r.i32();
        if (!screen) break;
        run.ScreenHistory.push_back(*screen);
    }

    int lastTag = 0;
    while (!r.atEnd()) {
        const auto tag = r.i32();
        const auto type = tag ? r.u8() : std::nullopt;
        if (!tag || !ValidTag(*tag) || !type) {
            reportBadRecord(tag.value_or(0), lastTag);
            return LoadStatus::BadRecord;
        }
        FieldEntry entry;
        entry.type = *type;
        if (!readPayload(r, entry)) {
            reportBadRecord(*tag, lastTag);
            return LoadStatus::BadRecord;
        }
        Store().entry(*tag) = std::move(entry);
        lastTag = *tag;
    }
    return LoadStatus::Loaded;
}

LoadStatus LoadDataFile(const std::string& path) {
    const FileKey key = keyOfIdentifier(Run().HostIdentifier);
    Run().CurrentFileName = path;
    PlainImage plain;
    try {
        plain.bytes = DecipherBytes(ReadFileBytes(path), key);
    } catch (const CipherError& e) {
        throw DataFileError(e.what());
    }
    return ParsePlain(plain.bytes, path);
}

SaveStatus SaveDataFile(const std::string& path) {
    ModuleRunState& run = Run();
    if (GetFieldText(kLockTag) == kLockMarker) return SaveStatus::Locked;
    if (FieldHasData(1479) && FieldHasData(1478) && FieldHasData(1490)) {
        ClearField(kLockTag);
        SetFieldStr(kLockTag, kLockMarker);
    }
    if (path.empty()) {
        if (run.DebugMode) ShowMsg("SaveOpen - Trying to save a file with no name");
        return SaveStatus::NoName;
    }
    SetFieldStr(kFormTag, "EI");
    const FileKey key = keyOfIdentifier(GetFieldStr(1));
    SetFieldVal(kVersionTag, kFileVersionValue);
    if (run.DebugMode) writeDebugDump(Store());

    std::vector<std::uint8_t> cipher;
    {
        PlainImage plain{SerialisePlain()};
        cipher = EncipherBytes(plain.bytes, key);
    }

    std::string error;
    const std::string fresh = writeBeside(path, cipher, error);
    if (fresh.empty()) return reportSaveFailure(path, error, path);

    const std::string backup = CompanionName(path, ".BAK");
    std::error_code ec;
    const bool hadPrevious = fs::exists(path, ec);
    if (hadPrevious) {
        fs::remove(backup, ec);
        fs::rename(path, backup, ec);
        if (ec) {
            ::unlink(fresh.c_str());
            return reportSaveFailure(path, ec.message(), path);
        }
    }
    fs::rename(fresh, path, ec);
    if (ec) {
        const std::string reason = ec.message();
        ::unlink(fresh.c_str());
        if (hadPrevious) {
            std::error_code back;
            fs::rename(backup, path, back);
            return reportSaveFailure(path, reason, back ? backup : path);
        }
        return reportSaveFailure(path, reason, path);
    }
    syncFolderOf(path);
    return SaveStatus::Saved;
}

} // namespace cgt
