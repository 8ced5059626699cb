#include "store/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <sstream>

#include <openssl/crypto.h>

#include "base/number_format.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/file_cipher.h"
#include "store/file_system.h"
#include "store/memory_pages.h"
#include "store/run_state.h"
#include "store/tags.h"

namespace cgt {

const std::string_view FileSignature = "Tesmo 2004 Capital Gains Tax Module - Income Year 2004 ";
static_assert(std::string_view("Tesmo 2004 Capital Gains Tax Module - Income Year 2004 ").size() ==
              55);

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kItemHeaderSize = 18;
constexpr std::size_t kCipherBlock = 8;

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

// One line per simple record: the debug listing.
std::string DebugListingText(const FieldStore& store) {
    std::ostringstream dump;
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
    return dump.str();
}

// ---- plain image reader: every read is checked against the end ----

class PlainReader {
public:
    // A plain image whose bytes are all there, or deciphered by `source` as they are reached.
    explicit PlainReader(std::span<const std::uint8_t> data, StreamingDecipher* source = nullptr)
        : data_(data), source_(source), ready_(source ? 0 : data.size()) {}
    bool atEnd() const { return pos_ >= data_.size(); }
    std::size_t remaining() const { return data_.size() - pos_; }
    // The next n bytes are in the image; waits until they are deciphered.
    bool has(std::size_t n) {
        if (remaining() < n) return false;
        if (pos_ + n > ready_) ready_ = source_->waitUntil(pos_ + n);
        return true;
    }
    const std::uint8_t* at() const { return data_.data() + pos_; }
    // Passes over n bytes that has(n) found.
    void skip(std::size_t n) { pos_ += n; }
    bool bytes(void* out, std::size_t n) {
        if (!has(n)) return false;
        std::memcpy(out, at(), n);
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
    // A counted text, viewed in the image.
    std::optional<std::string_view> text() {
        auto n = u8();
        if (!n || !has(*n)) return std::nullopt;
        std::string_view s(reinterpret_cast<const char*>(at()), *n);
        pos_ += *n;
        return s;
    }
    // A list body of L bytes: the lines are the text up to its first zero byte.
    std::optional<StringListRef> listBody() {
        auto length = i32();
        if (!length || *length < 0 || !has(static_cast<std::size_t>(*length))) return std::nullopt;
        std::string_view body(reinterpret_cast<const char*>(at()),
                              static_cast<std::size_t>(*length));
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
    StreamingDecipher* source_;
    std::size_t ready_; // the bytes from the start that are deciphered
    std::size_t pos_ = 0;
};

TextRef SharedText(std::string_view text) {
    return text.empty() ? SharedEmptyText() : std::make_shared<const std::string>(text);
}

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
        e.text = SharedText(*s);
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
        e.text = SharedText(*s);
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
        std::vector<WorksheetItem> items;
        ReservePrefaulted(items, static_cast<std::size_t>(*count));
        for (std::int32_t i = 0; i < *count; ++i)
            if (!readItem(r, items.emplace_back())) return false;
        e.sheet = std::make_shared<Worksheet>(std::move(items));
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

// The plain bytes of a load or a save, wiped when they go; a save enciphers them in place.
struct PlainImage {
    std::vector<std::uint8_t> bytes;
    ~PlainImage() {
        if (!bytes.empty()) OPENSSL_cleanse(bytes.data(), bytes.size());
    }
};

std::string ErrorText(int error) {
    return std::strerror(error);
}

std::string FolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// The hidden name a save writes its new file under before moving it into place:
// ".NAME." followed by six letters or digits, in the folder of the data file.
constexpr std::size_t kTemporarySuffixLength = 6;
constexpr std::string_view kTemporaryAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string TemporaryPrefix(const std::string& path) {
    return "." + fs::path(path).filename().string() + ".";
}

bool IsTemporaryNameOf(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + kTemporarySuffixLength || !name.starts_with(prefix))
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return kTemporaryAlphabet.find(c) != std::string_view::npos; });
}

std::string RandomSuffix() {
    // Seeded again in a forked process, which would otherwise repeat its parent's names.
    static std::mt19937 random;
    static pid_t seededIn = 0;
    if (seededIn != ::getpid()) {
        seededIn = ::getpid();
        random.seed(std::random_device{}());
    }
    std::uniform_int_distribution<std::size_t> pick(0, kTemporaryAlphabet.size() - 1);
    std::string suffix(kTemporarySuffixLength, ' ');
    for (char& c : suffix)
        c = kTemporaryAlphabet[pick(random)];
    return suffix;
}

// What stands at a path, or the error of looking.
enum class PathKind { Missing, File, Folder, Other };
struct Inspection {
    PathKind kind = PathKind::Missing;
    int error = 0; // the check itself failed
};

Inspection Inspect(const std::string& path) {
    struct stat status {};
    if (Files().Stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) return {PathKind::Missing, 0};
        return {PathKind::Missing, errno};
    }
    if (S_ISREG(status.st_mode)) return {PathKind::File, 0};
    if (S_ISDIR(status.st_mode)) return {PathKind::Folder, 0};
    return {PathKind::Other, 0};
}

// Writes `data` to a new hidden file in the folder of `path` and flushes it to the disk; returns
// its name, or an empty name with `error` set (the partial file removed when it can be).
std::string WriteBeside(const std::string& path, std::span<const std::uint8_t> data, int& error) {
    const std::string stem = (fs::path(FolderOf(path)) / TemporaryPrefix(path)).string();
    std::string name;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        name = stem + RandomSuffix();
        fd = Files().Open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = errno;
        return {};
    }
    auto fail = [&](int code, bool open) {
        error = code;
        if (open) Files().Close(fd);
        Files().Unlink(name.c_str());
        return std::string{};
    };
    const std::uint8_t* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const ssize_t n = Files().Write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(errno, true);
        if (n == 0) return fail(EIO, true);
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (Files().Fchmod(fd, 0644) != 0 || Files().Fsync(fd) != 0) return fail(errno, true);
    if (Files().Close(fd) != 0) return fail(errno, false);
    return name;
}

// Flushes the folder of `path`, so that a rename in it survives a system failure; the error,
// or 0.
int SyncFolderOf(const std::string& path) {
    const int fd = Files().Open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return errno;
    int error = Files().Fsync(fd) != 0 ? errno : 0;
    if (Files().Close(fd) != 0 && error == 0) error = errno;
    return error;
}

// Removes the new files that interrupted saves of `path` left behind, and nothing else.
void RemoveLeftovers(const std::string& path) {
    const std::string prefix = TemporaryPrefix(path);
    std::error_code ec;
    fs::directory_iterator folder(FolderOf(path), ec);
    if (ec) return;
    std::vector<std::string> leftovers;
    for (const auto& entry : folder) {
        const std::string name = entry.path().filename().string();
        if (IsTemporaryNameOf(name, prefix) && entry.is_regular_file(ec))
            leftovers.push_back(entry.path().string());
    }
    for (const auto& name : leftovers)
        Files().Unlink(name.c_str());
}

// "Unable to save file - PATH", the reason and where the previous data is; `kept` is empty when
// there was no previous file.
SaveStatus ReportSaveFailure(const std::string& path, const std::string& reason,
                             const std::string& kept) {
    const std::string where =
        kept.empty() ? "No file was written." : "Your previous data is kept in " + kept + ".";
    MsgBox("Unable to save file - " + path + "\n\n" + reason + "\n\n" + where, mkError, mbOK);
    return SaveStatus::Failed;
}

// Why a save to `path` must not start, checked before anything is written; empty when it may.
// `existing` tells whether a previous file is at the path.
std::string RefusalOf(const std::string& path, const std::string& backup, bool& existing) {
    existing = false;
    if (fs::path(path).lexically_normal() == fs::path(backup).lexically_normal())
        return "A data file cannot be named " + fs::path(path).filename().string() +
               ": the .BAK name is kept for the backup copy of a return. Choose another name.";
    const Inspection atPath = Inspect(path);
    if (atPath.error != 0) return "Cannot check " + path + ": " + ErrorText(atPath.error);
    switch (atPath.kind) {
    case PathKind::Folder:
        return path + " is a folder, not a data file.";
    case PathKind::Other:
        return path + " is not a data file.";
    case PathKind::File:
        existing = true;
        break;
    case PathKind::Missing:
        break;
    }
    const Inspection atBackup = Inspect(backup);
    if (atBackup.error != 0) return "Cannot check " + backup + ": " + ErrorText(atBackup.error);
    if (atBackup.kind == PathKind::Folder || atBackup.kind == PathKind::Other)
        return "The backup copy cannot be kept: " + backup + " is not a file.";
    return {};
}

// Moves the new file into place, keeping the previous one as the BAK companion. On failure the
// reason and where the previous data is are set.
bool PutInPlace(const std::string& fresh, const std::string& path, const std::string& backup,
                bool existing, std::string& reason, std::string& kept) {
    kept = existing ? path : std::string{};
    if (existing) {
        if (Files().Unlink(backup.c_str()) != 0 && errno != ENOENT) {
            reason = "Cannot remove the old backup " + backup + ": " + ErrorText(errno);
            Files().Unlink(fresh.c_str());
            return false;
        }
        if (Files().Rename(path.c_str(), backup.c_str()) != 0) {
            reason = "Cannot keep the previous file as " + backup + ": " + ErrorText(errno);
            Files().Unlink(fresh.c_str());
            return false;
        }
    }
    if (Files().Rename(fresh.c_str(), path.c_str()) != 0) {
        reason = ErrorText(errno);
        Files().Unlink(fresh.c_str());
        if (existing && Files().Rename(backup.c_str(), path.c_str()) != 0) kept = backup;
        return false;
    }
    return true;
}

// The identifier of the run in tag 1, as a text.
void KeepIdentifierInTag1(const std::string& identifier) {
    FieldEntry& e = Store().entry(tag::kIdentifier);
    const std::string_view text =
        std::string_view(identifier)
            .substr(0, std::min<std::size_t>(identifier.size(), kMaxTextLength));
    if (IsTextType(e.type) && EntryDisplayText(e) == text) return;
    e = FieldEntry{};
    SetFieldStr(tag::kIdentifier, text);
}

// The debug listing: in the system's temporary folder, readable by the owner only. Returns its
// name, or an empty name with `error` set.
std::string WriteDebugListing(const FieldStore& store, std::string& error) {
    std::error_code ec;
    fs::path folder = fs::temp_directory_path(ec);
    if (ec) folder = "/tmp";
    const std::string name = (folder / "TEST.TXT").string();
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = ErrorText(errno);
        return {};
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
        error = "the file belongs to someone else";
        ::close(fd);
        return {};
    }
    const std::string text = DebugListingText(store);
    bool written = ::ftruncate(fd, 0) == 0 && ::fchmod(fd, 0600) == 0;
    for (std::size_t at = 0; written && at < text.size();) {
        const ssize_t n = ::write(fd, text.data() + at, text.size() - at);
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) at += static_cast<std::size_t>(n);
    }
    if (!written) error = ErrorText(errno);
    if (::close(fd) != 0 && written) {
        written = false;
        error = ErrorText(errno);
    }
    return written ? name : std::string{};
}

void ShowDebugListing(const FieldStore& store) {
    std::string error;
    const std::string name = WriteDebugListing(store, error);
    if (name.empty())
        ShowMsg("The debug listing TEST.TXT could not be written to the temporary folder: " +
                error);
    else
        ShowMsg("Debug listing of the saved values: " + name + " (readable by you only).");
}

void SetLockMarker() {
    Store().entry(tag::kLockMarker) = FieldEntry{};
    SetFieldStr(tag::kLockMarker, kLockMarker);
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

std::string OrphanedBackupOf(const std::string& path) {
    if (path.empty()) return {};
    const std::string backup = CompanionName(path, ".BAK");
    if (fs::path(path).lexically_normal() == fs::path(backup).lexically_normal()) return {};
    const Inspection atPath = Inspect(path);
    if (atPath.error != 0 || atPath.kind != PathKind::Missing) return {};
    return Inspect(backup).kind == PathKind::File ? backup : std::string{};
}

bool RestoreBackup(const std::string& path, std::string& error) {
    const std::string backup = CompanionName(path, ".BAK");
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadFileBytes(backup);
    } catch (const CipherError& e) {
        error = e.what();
        return false;
    }
    int code = 0;
    const std::string fresh = WriteBeside(path, bytes, code);
    if (fresh.empty()) {
        error = ErrorText(code);
        return false;
    }
    const Inspection atPath = Inspect(path);
    if (atPath.error != 0 || atPath.kind != PathKind::Missing) {
        error = atPath.error != 0 ? ErrorText(atPath.error) : path + " exists now";
        Files().Unlink(fresh.c_str());
        return false;
    }
    if (Files().Rename(fresh.c_str(), path.c_str()) != 0) {
        error = ErrorText(errno);
        Files().Unlink(fresh.c_str());
        return false;
    }
    // Should the restored name not survive a system failure, the companion is still there.
    SyncFolderOf(path);
    return true;
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
    out.reserve(estimate + kCipherBlock); // room for the final block the cipher adds

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

namespace {

// Reads the plain image of `r` into the run's store, position and history.
LoadStatus ParseImage(PlainReader& r, const std::string& pathForMessages) {
    ModuleRunState& run = Run();
    if (!r.has(FileSignature.size()) ||
        std::memcmp(r.at(), FileSignature.data(), FileSignature.size()) != 0) {
        MsgBox("Unable to open file - " + pathForMessages, mkError, mbOK);
        run.CurrentFileName.clear();
        run.CurrentSection = 0;
        run.CurrentIndex = 0;
        return LoadStatus::BadSignature;
    }

    ClearStore();
    run.ScreenHistory.clear();

    r.skip(FileSignature.size());
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

} // namespace

LoadStatus ParsePlain(std::span<const std::uint8_t> plain, const std::string& pathForMessages) {
    PlainReader reader(plain);
    return ParseImage(reader, pathForMessages);
}

LoadStatus LoadDataFile(const std::string& path) {
    const FileKey key = keyOfIdentifier(Run().HostIdentifier);
    Run().CurrentFileName = path;
    // One buffer: read, deciphered in place while it is parsed, wiped. The final block is
    // deciphered first, so a wrong key is refused before the store changes.
    PlainImage image;
    try {
        image.bytes = ReadFileBytes(path);
    } catch (const CipherError& e) {
        throw DataFileError(e.what());
    }
    std::size_t plainSize = 0;
    try {
        plainSize = DecipherFinalBlock(image.bytes, key);
    } catch (const CipherError& e) {
        throw UndecipherableFile(e.what());
    }
    const std::size_t fullBlocks = plainSize / kCipherBlock;
    StreamingDecipher decipher(image.bytes.data(), fullBlocks, key,
                               CipherThreadsFor(fullBlocks * kCipherBlock));
    PlainReader reader(std::span(image.bytes.data(), plainSize), &decipher);
    try {
        return ParseImage(reader, path);
    } catch (const CipherError& e) {
        throw UndecipherableFile(e.what());
    }
}

SaveStatus SaveDataFile(const std::string& path) {
    ModuleRunState& run = Run();
    if (GetFieldText(tag::kLockMarker) == kLockMarker) return SaveStatus::Locked;
    if (path.empty()) {
        if (run.DebugMode) ShowMsg("SaveOpen - Trying to save a file with no name");
        return SaveStatus::NoName;
    }
    const std::string backup = CompanionName(path, ".BAK");
    bool existing = false;
    if (const std::string refusal = RefusalOf(path, backup, existing); !refusal.empty())
        return ReportSaveFailure(path, refusal, existing ? path : std::string{});

    // The file is keyed by the run's identifier, and tag 1 holds it.
    KeepIdentifierInTag1(run.HostIdentifier);
    const FileKey key = keyOfIdentifier(run.HostIdentifier);
    SetFieldStr(tag::kFormCode, "EI");
    SetFieldVal(tag::kFileVersion, kFileVersionValue);
    // A lodged return carries the lock marker in this save; the lock takes effect only once the
    // file holding it is in place.
    const FieldEntry unlocked = Store().entry(tag::kLockMarker);
    const bool locking = LodgmentDetailsEntered();
    if (locking) SetLockMarker();
    if (run.DebugMode) ShowDebugListing(Store());

    // One buffer: serialised, enciphered in place, written.
    PlainImage image{SerialisePlain()};
    EncipherInPlace(image.bytes, key);
    if (locking) Store().entry(tag::kLockMarker) = unlocked;

    int error = 0;
    const std::string fresh = WriteBeside(path, image.bytes, error);
    if (fresh.empty())
        return ReportSaveFailure(path, ErrorText(error), existing ? path : std::string{});
    std::string reason;
    std::string kept;
    if (!PutInPlace(fresh, path, backup, existing, reason, kept))
        return ReportSaveFailure(path, reason, kept);

    // The new file is at the path: the lock holds from now on.
    if (locking) SetLockMarker();
    const int syncError = SyncFolderOf(path);
    RemoveLeftovers(path);
    if (syncError != 0) {
        MsgBox("The return was saved to " + path +
                   ", but its folder could not be flushed to the disk (" + ErrorText(syncError) +
                   "): if the system stops now, the file may still hold the previous version. "
                   "Save again before you finish.",
               mkWarning, mbOK);
        return SaveStatus::Unsynced;
    }
    return SaveStatus::Saved;
}

} // namespace cgt
