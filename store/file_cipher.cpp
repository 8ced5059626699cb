#include "store/file_cipher.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

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

// Reads the final block's count byte; a count above 7 is what a wrong key produces.
std::size_t FinalCount(const std::uint8_t* finalBlock) {
    const std::size_t count = finalBlock[kBlock - 1];
    if (count >= kBlock) throw CipherError(kInvalidFormat);
    return count;
}

} // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw CipherError("Cannot open file \"" + path + "\": " + std::strerror(errno));
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) throw CipherError("Cannot read file \"" + path + "\"");
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

std::vector<std::uint8_t> EncipherBytes(std::span<const std::uint8_t> plain, const FileKey& key) {
    const std::size_t full = plain.size() / kBlock;
    const std::size_t rest = plain.size() % kBlock;
    // Full blocks, then the final block: the rest, zeros, and the count in byte 7.
    std::vector<std::uint8_t> out((full + 1) * kBlock, 0);
    std::copy(plain.begin(), plain.end(), out.begin());
    out.back() = static_cast<std::uint8_t>(rest);
    TripleDesBlocks(out.data(), full + 1, key, CipherDirection::Encipher);
    return out;
}

std::vector<std::uint8_t> DecipherBytes(std::span<const std::uint8_t> cipher, const FileKey& key) {
    if (cipher.size() < kBlock) throw CipherError(kInvalidFormat);
    // The last whole block is the final block; bytes after it are ignored.
    const std::size_t blocks = cipher.size() / kBlock;
    std::vector<std::uint8_t> out(cipher.begin(), cipher.begin() + blocks * kBlock);
    TripleDesBlocks(out.data(), blocks, key, CipherDirection::Decipher);
    const std::size_t count = FinalCount(out.data() + (blocks - 1) * kBlock);
    out.resize((blocks - 1) * kBlock + count);
    return out;
}

void TripleDesFile(const std::string& inputPath, const std::string& outputPath, const FileKey& key,
                   CipherDirection direction) {
    const std::vector<std::uint8_t> input = ReadFileBytes(inputPath);
    const std::vector<std::uint8_t> output = direction == CipherDirection::Encipher
                                                 ? EncipherBytes(input, key)
                                                 : DecipherBytes(input, key);
    WriteWholeFile(outputPath, output);
}

} // namespace cgt
