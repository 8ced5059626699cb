#pragma once
// The data file's cipher: two-key Triple DES (E K1 · D K2 · E K1) in ECB mode, 8 bytes at a time,
// with a final block whose last byte counts the plain bytes it carries. The key is derived from
// the taxpayer identifier's digits.

#include <array>
#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace cgt {

using FileKey = std::array<std::uint8_t, 16>; // K1 then K2

enum class CipherDirection { Encipher, Decipher };

// Raised for a short read ("Invalid file format"), a final block whose count byte is above 7,
// and file errors of TripleDesFile.
class CipherError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The digits '0'..'9' of an identifier, everything else dropped.
std::string KeyTextOf(std::string_view identifier);

// The 16-byte key digest of a text.
FileKey DeriveFileKey(std::string_view text);

// Transforms whole 8-byte blocks in place with the raw two-key Triple DES, on the calling thread.
void TripleDesBlocks(std::uint8_t* data, std::size_t blockCount, const FileKey& key,
                     CipherDirection direction);

// Below this many bytes a transformation stays on one thread: starting a thread costs more than
// its share of the blocks saves.
inline constexpr std::size_t kParallelCipherBytes = 64 * 1024;

// The threads a transformation of `bytes` bytes runs on: one below kParallelCipherBytes, else one
// per processor the process may run on, each with at least kParallelCipherBytes / 2 bytes.
std::size_t CipherThreadsFor(std::size_t bytes);

// TripleDesBlocks in `threads` block-aligned parts of nearly equal size, each on its own thread
// with its own cipher context (the calling thread takes the first part). ECB blocks are
// independent, so the bytes are those of TripleDesBlocks whatever the number of parts.
void TripleDesBlocksInParts(std::uint8_t* data, std::size_t blockCount, const FileKey& key,
                            CipherDirection direction, std::size_t threads);

// The enciphered form of plain bytes: floor(s/8) full blocks and a final counted block.
std::vector<std::uint8_t> EncipherBytes(std::span<const std::uint8_t> plain, const FileKey& key);
// The plain form; the last whole block is the final block, trailing bytes are ignored.
std::vector<std::uint8_t> DecipherBytes(std::span<const std::uint8_t> cipher, const FileKey& key);

// Deciphers the final block (the last whole block) in place and returns the number of plain bytes
// the cipher holds: the full blocks before it and the count in its byte 7. CipherError for fewer
// than 8 bytes or a count above 7.
std::size_t DecipherFinalBlock(std::span<std::uint8_t> cipher, const FileKey& key);

// Deciphers whole blocks in place in chunks, in order, on helper threads and on the thread that
// waits for them, so that the first bytes can be read while later ones are still being
// deciphered. Each chunk has its own cipher context; the bytes are those of TripleDesBlocks.
class StreamingDecipher {
public:
    static constexpr std::size_t kChunkBytes = kParallelCipherBytes;

    // `threads` counts the waiting thread: 1 starts no helper, and the chunks are deciphered as
    // they are waited for.
    StreamingDecipher(std::uint8_t* data, std::size_t blockCount, const FileKey& key,
                      std::size_t threads);
    // Stops handing out chunks and waits for the helpers.
    ~StreamingDecipher();
    StreamingDecipher(const StreamingDecipher&) = delete;
    StreamingDecipher& operator=(const StreamingDecipher&) = delete;

    // Returns once bytes [0, end) are deciphered, deciphering chunks on this thread while it
    // waits; the result is how far the bytes are deciphered (at least `end`, or all). Throws the
    // CipherError of a chunk that could not be deciphered.
    std::size_t waitUntil(std::size_t end);

private:
    enum ChunkState : std::uint8_t { kPending, kDone, kFailed };
    bool decipherNextChunk();
    std::size_t readyBytes() const;

    std::uint8_t* data_;
    std::size_t blockCount_;
    FileKey key_;
    std::size_t chunkCount_;
    std::atomic<std::size_t> nextChunk_{0};
    std::unique_ptr<std::atomic<std::uint8_t>[]> states_;
    std::size_t readyChunks_ = 0; // the chunks deciphered from the start, seen by the waiter
    std::mutex failureLock_;
    std::exception_ptr failure_;
    std::vector<std::thread> helpers_;
};

// EncipherBytes and DecipherBytes in the caller's buffer, without a copy: the plain bytes become
// the enciphered ones (the buffer grows by up to one block), or the enciphered bytes the plain
// ones. On a CipherError the buffer holds what it held or partly transformed bytes.
void EncipherInPlace(std::vector<std::uint8_t>& bytes, const FileKey& key);
void DecipherInPlace(std::vector<std::uint8_t>& bytes, const FileKey& key);

// The whole content of a file; CipherError naming the file when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// Processes the whole input file into the output file (created or truncated).
void TripleDesFile(const std::string& inputPath, const std::string& outputPath, const FileKey& key,
                   CipherDirection direction);

} // namespace cgt
