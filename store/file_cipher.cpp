#include "store/file_cipher.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <openssl/evp.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>
#include <thread>

#include "store/memory_pages.h"

namespace cgt {

namespace {

constexpr std::size_t kBlock = 8;
constexpr char kInvalidFormat[] = "Invalid file format";

// Two-key Triple DES in ECB mode, fetched once from the default provider.
const EVP_CIPHER* TripleDesCipher() {
    static EVP_CIPHER* const cipher = EVP_CIPHER_fetch(nullptr, "DES-EDE-ECB", nullptr);
    if (cipher == nullptr) throw CipherError("Triple DES (DES-EDE-ECB) is not available");
    return cipher;
}

struct CtxDeleter {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

// A file descriptor closed when it goes out of scope.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~ReadOnlyFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// The processors this process may run on (its affinity), at least one.
std::size_t UsableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return static_cast<std::size_t>(CPU_COUNT(&set));
    return std::max(1u, std::thread::hardware_concurrency());
}

// Reads the final block's count byte; a count above 7 is what a wrong key produces.
std::size_t FinalCount(const std::uint8_t* finalBlock) {
    const std::size_t count = finalBlock[kBlock - 1];
    if (count >= kBlock) throw CipherError(kInvalidFormat);
    return count;
}

} // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    const ReadOnlyFile file(path);
    const int fd = file.fd();
    if (fd < 0) throw CipherError("Cannot open file \"" + path + "\": " + std::strerror(errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0) throw CipherError("Cannot read file \"" + path + "\"");
    // One buffer of the file's size and room for the final block that enciphering adds; a file
    // that grows meanwhile is read to its end all the same.
    const std::size_t room =
        (S_ISREG(status.st_mode) ? static_cast<std::size_t>(status.st_size) : 0) + kBlock;
    std::vector<std::uint8_t> bytes;
    ReservePrefaulted(bytes, room);
    bytes.resize(room);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw CipherError("Cannot read file \"" + path + "\"");
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    bytes.resize(filled);
    return bytes;
}

namespace {

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw CipherError("Cannot create file \"" + path + "\": " + std::strerror(errno));
    }
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw CipherError("Cannot write file \"" + path + "\"");
}

} // namespace

std::string KeyTextOf(std::string_view identifier) {
    std::string digits;
    std::copy_if(identifier.begin(), identifier.end(), std::back_inserter(digits),
                 [](char c) { return c >= '0' && c <= '9'; });
    return digits;
}

void TripleDesBlocks(std::uint8_t* data, std::size_t blockCount, const FileKey& key,
                     CipherDirection direction) {
    if (blockCount == 0) return;
    // A context per call: no thread-local state, so a library holding this code can be unloaded.
    const std::unique_ptr<EVP_CIPHER_CTX, CtxDeleter> owner(EVP_CIPHER_CTX_new());
    EVP_CIPHER_CTX* ctx = owner.get();
    if (!ctx) throw CipherError("Cannot create a cipher context");
    const int enc = direction == CipherDirection::Encipher ? 1 : 0;
    if (EVP_CipherInit_ex2(ctx, TripleDesCipher(), key.data(), nullptr, enc, nullptr) != 1 ||
        EVP_CIPHER_CTX_set_padding(ctx, 0) != 1) {
        throw CipherError("Cannot key the Triple DES cipher");
    }
    // ECB in place, in chunks that fit the library's int lengths.
    constexpr std::size_t kChunk = (std::size_t{INT_MAX} / kBlock) * kBlock;
    std::size_t remaining = blockCount * kBlock;
    while (remaining > 0) {
        const std::size_t len = std::min(remaining, kChunk);
        int outLen = 0;
        if (EVP_CipherUpdate(ctx, data, &outLen, data, static_cast<int>(len)) != 1 ||
            static_cast<std::size_t>(outLen) != len) {
            throw CipherError("Triple DES failed");
        }
        data += len;
        remaining -= len;
    }
}

std::size_t CipherThreadsFor(std::size_t bytes) {
    if (bytes < kParallelCipherBytes) return 1;
    static const std::size_t processors = UsableProcessors();
    return std::clamp<std::size_t>(bytes / (kParallelCipherBytes / 2), 1, processors);
}

void TripleDesBlocksInParts(std::uint8_t* data, std::size_t blockCount, const FileKey& key,
                            CipherDirection direction, std::size_t threads) {
    threads = std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(blockCount, 1));
    if (threads == 1) {
        TripleDesBlocks(data, blockCount, key, direction);
        return;
    }
    // Part i holds blocks [i * n / threads, (i + 1) * n / threads).
    auto firstBlock = [&](std::size_t part) { return part * blockCount / threads; };
    auto runPart = [&](std::size_t part) {
        TripleDesBlocks(data + firstBlock(part) * kBlock, firstBlock(part + 1) - firstBlock(part),
                        key, direction);
    };
    std::vector<std::exception_ptr> failures(threads);
    std::vector<std::thread> workers;
    workers.reserve(threads - 1);
    for (std::size_t part = 1; part < threads; ++part) {
        auto guarded = [&runPart, &failures, part] {
            try {
                runPart(part);
            } catch (...) {
                failures[part] = std::current_exception();
            }
        };
        try {
            workers.emplace_back(guarded);
        } catch (const std::system_error&) {
            guarded(); // no thread to be had: the part runs here
        }
    }
    try {
        runPart(0);
    } catch (...) {
        failures[0] = std::current_exception();
    }
    for (std::thread& worker : workers)
        worker.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

namespace {

void TripleDesBuffer(std::uint8_t* data, std::size_t blockCount, const FileKey& key,
                     CipherDirection direction) {
    TripleDesBlocksInParts(data, blockCount, key, direction, CipherThreadsFor(blockCount * kBlock));
}

} // namespace

std::size_t DecipherFinalBlock(std::span<std::uint8_t> cipher, const FileKey& key) {
    if (cipher.size() < kBlock) throw CipherError(kInvalidFormat);
    const std::size_t blocks = cipher.size() / kBlock;
    std::uint8_t* finalBlock = cipher.data() + (blocks - 1) * kBlock;
    TripleDesBlocks(finalBlock, 1, key, CipherDirection::Decipher);
    return (blocks - 1) * kBlock + FinalCount(finalBlock);
}

StreamingDecipher::StreamingDecipher(std::uint8_t* data, std::size_t blockCount, const FileKey& key,
                                     std::size_t threads)
    : data_(data), blockCount_(blockCount), key_(key),
      chunkCount_((blockCount * kBlock + kChunkBytes - 1) / kChunkBytes),
      states_(std::make_unique<std::atomic<std::uint8_t>[]>(chunkCount_)) {
    threads = std::min(threads, chunkCount_);
    for (std::size_t i = 1; i < threads; ++i) {
        try {
            helpers_.emplace_back([this] {
                while (decipherNextChunk()) {
                }
            });
        } catch (const std::system_error&) {
            break; // no more threads to be had: the waiter deciphers what is left
        }
    }
}

StreamingDecipher::~StreamingDecipher() {
    nextChunk_.store(chunkCount_);
    for (std::thread& helper : helpers_)
        helper.join();
}

bool StreamingDecipher::decipherNextChunk() {
    const std::size_t chunk = nextChunk_.fetch_add(1);
    if (chunk >= chunkCount_) return false;
    constexpr std::size_t kChunkBlocks = kChunkBytes / kBlock;
    const std::size_t first = chunk * kChunkBlocks;
    std::uint8_t state = kDone;
    try {
        TripleDesBlocks(data_ + first * kBlock, std::min(kChunkBlocks, blockCount_ - first), key_,
                        CipherDirection::Decipher);
    } catch (...) {
        const std::lock_guard lock(failureLock_);
        if (!failure_) failure_ = std::current_exception();
        state = kFailed;
    }
    states_[chunk].store(state, std::memory_order_release);
    states_[chunk].notify_all();
    return true;
}

std::size_t StreamingDecipher::readyBytes() const {
    return std::min(readyChunks_ * kChunkBytes, blockCount_ * kBlock);
}

std::size_t StreamingDecipher::waitUntil(std::size_t end) {
    while (readyBytes() < end && readyChunks_ < chunkCount_) {
        std::atomic<std::uint8_t>& state = states_[readyChunks_];
        switch (state.load(std::memory_order_acquire)) {
        case kDone:
            ++readyChunks_;
            break;
        case kFailed: {
            const std::lock_guard lock(failureLock_);
            std::rethrow_exception(failure_);
        }
        default:
            // The chunk is being deciphered elsewhere or not yet handed out: decipher the next
            // one here, or wait when none is left.
            if (!decipherNextChunk()) state.wait(kPending, std::memory_order_acquire);
            break;
        }
    }
    return readyBytes();
}

void EncipherInPlace(std::vector<std::uint8_t>& bytes, const FileKey& key) {
    const std::size_t full = bytes.size() / kBlock;
    const std::size_t rest = bytes.size() % kBlock;
    // Full blocks, then the final block: the rest, zeros, and the count in byte 7.
    bytes.resize((full + 1) * kBlock, 0);
    bytes.back() = static_cast<std::uint8_t>(rest);
    TripleDesBuffer(bytes.data(), full + 1, key, CipherDirection::Encipher);
}

void DecipherInPlace(std::vector<std::uint8_t>& bytes, const FileKey& key) {
    // The last whole block is the final block; bytes after it are ignored.
    const std::size_t plainSize = DecipherFinalBlock(bytes, key);
    const std::size_t fullBlocks = plainSize / kBlock;
    TripleDesBuffer(bytes.data(), fullBlocks, key, CipherDirection::Decipher);
    bytes.resize(plainSize);
}

std::vector<std::uint8_t> EncipherBytes(std::span<const std::uint8_t> plain, const FileKey& key) {
    std::vector<std::uint8_t> out;
    out.reserve((plain.size() / kBlock + 1) * kBlock);
    out.assign(plain.begin(), plain.end());
    EncipherInPlace(out, key);
    return out;
}

std::vector<std::uint8_t> DecipherBytes(std::span<const std::uint8_t> cipher, const FileKey& key) {
    std::vector<std::uint8_t> out(cipher.begin(), cipher.end());
    DecipherInPlace(out, key);
    return out;
}

void TripleDesFile(const std::string& inputPath, const std::string& outputPath, const FileKey& key,
                   CipherDirection direction) {
    std::vector<std::uint8_t> bytes = ReadFileBytes(inputPath);
    if (direction == CipherDirection::Encipher)
        EncipherInPlace(bytes, key);
    else
        DecipherInPlace(bytes, key);
    WriteWholeFile(outputPath, bytes);
}

} // namespace cgt
