#pragma once
// The data file's cipher: two-key Triple DES (E K1 · D K2 · E K1) in ECB mode, 8 bytes at a time,
// with a final block whose last byte counts the plain bytes it carries. The key is derived from
// the taxpayer identifier's digits.

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
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

// Transforms whole 8-byte blocks in place with the raw two-key Triple DES.
void TripleDesBlocks(std::uint8_t* data, std::size_t blockCount, const FileKey& key,
                     CipherDirection direction);

// The enciphered form of plain bytes: floor(s/8) full blocks and a final counted block.
std::vector<std::uint8_t> EncipherBytes(std::span<const std::uint8_t> plain, const FileKey& key);
// The plain form; the last whole block is the final block, trailing bytes are ignored.
std::vector<std::uint8_t> DecipherBytes(std::span<const std::uint8_t> cipher, const FileKey& key);

// The whole content of a file; CipherError naming the file when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

// Processes the whole input file into the output file (created or truncated).
void TripleDesFile(const std::string& inputPath, const std::string& outputPath, const FileKey& key,
                   CipherDirection direction);

} // namespace cgt
