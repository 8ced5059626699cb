#include "store/file_cipher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace cgt {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromHex(const std::string& hex) {
    Bytes out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return out;
}

FileKey KeyFromHex(const std::string& hex) {
    const Bytes bytes = FromHex(hex);
    FileKey key{};
    std::copy(bytes.begin(), bytes.end(), key.begin());
    return key;
}

Bytes RandomBytes(std::size_t n, std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes out(n);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(byte(rng));
    return out;
}

FileKey RandomKey(std::mt19937& rng) {
    const Bytes bytes = RandomBytes(16, rng);
    FileKey key{};
    std::copy(bytes.begin(), bytes.end(), key.begin());
    return key;
}

const FileKey kKey = KeyFromHex("0123456789ABCDEFFEDCBA9876543210");

TEST(TripleDesBlocks, KnownAnswers) {
    struct Case {
        const char* key; // K1 then K2
        const char* plain;
        const char* cipher;
    };
    // With K1 == K2 the cipher is single DES, so classic DES vectors apply. The K1 != K2 values
    // were computed as E(K1) D(K2) E(K1) with single DES-ECB.
    const Case cases[] = {
        {"133457799BBCDFF1133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
        {"0123456789ABCDEF0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
        {"0123456789ABCDEFFEDCBA9876543210", "4E6F772069732074", "D80A0D8B2BAE5E4E"},
        {"0123456789ABCDEFFEDCBA9876543210", "0000000000000000", "08D7B4FB629D0885"},
        {"0123456789ABCDEFFEDCBA9876543210", "FFFFFFFFFFFFFFFF", "847CA792BFA6FD4C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + c.plain);
        const FileKey key = KeyFromHex(c.key);
        Bytes block = FromHex(c.plain);
        TripleDesBlocks(block.data(), 1, key, CipherDirection::Encipher);
        EXPECT_EQ(block, FromHex(c.cipher));
        TripleDesBlocks(block.data(), 1, key, CipherDirection::Decipher);
        EXPECT_EQ(block, FromHex(c.plain));

        // Parity bits (the low bit of each key byte) are ignored.
        FileKey flipped = key;
        for (auto& b : flipped)
            b ^= 0x01;
        TripleDesBlocks(block.data(), 1, flipped, CipherDirection::Encipher);
        EXPECT_EQ(block, FromHex(c.cipher));
    }

    // Several blocks in one call are processed independently, in order (ECB).
    Bytes blocks = FromHex("4E6F7720697320740000000000000000FFFFFFFFFFFFFFFF");
    TripleDesBlocks(blocks.data(), 3, kKey, CipherDirection::Encipher);
    EXPECT_EQ(blocks, FromHex("D80A0D8B2BAE5E4E08D7B4FB629D0885847CA792BFA6FD4C"));
}

TEST(EncipherBytes, FullBlocksThenCountedFinalBlock) {
    std::mt19937 rng(7);
    for (std::size_t size : {0u, 1u, 7u, 8u, 15u, 16u, 61u, 64u}) {
        SCOPED_TRACE(size);
        const Bytes plain = RandomBytes(size, rng);
        Bytes cipher = EncipherBytes(plain, kKey);
        ASSERT_EQ(cipher.size(), 8 * (size / 8 + 1));

        TripleDesBlocks(cipher.data(), cipher.size() / 8, kKey, CipherDirection::Decipher);
        const std::size_t rest = size % 8;
        Bytes expected = plain;
        expected.resize(cipher.size() - 1, 0);
        expected.push_back(static_cast<std::uint8_t>(rest));
        EXPECT_EQ(cipher, expected);
    }
}

TEST(EncipherBytes, NamedSizes) {
    // 16 plain bytes: three blocks, the last carrying only the count 0; 61: eight, count 5.
    const struct {
        std::size_t plain, cipher;
        std::uint8_t count;
    } cases[] = {{16, 24, 0}, {61, 64, 5}};
    for (const auto& c : cases) {
        Bytes cipher = EncipherBytes(Bytes(c.plain, 0xA5), kKey);
        ASSERT_EQ(cipher.size(), c.cipher);
        TripleDesBlocks(cipher.data() + c.cipher - 8, 1, kKey, CipherDirection::Decipher);
        EXPECT_EQ(cipher.back(), c.count);
    }
}

TEST(DecipherBytes, RoundTrips) {
    std::mt19937 rng(11);
    std::vector<std::size_t> sizes;
    for (std::size_t s = 0; s <= 20; ++s)
        sizes.push_back(s);
    sizes.push_back(1'000'003);
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        const FileKey key = RandomKey(rng);
        const Bytes plain = RandomBytes(size, rng);
        EXPECT_EQ(DecipherBytes(EncipherBytes(plain, key), key), plain);
    }
}

TEST(DecipherBytes, InputShorterThanOneBlockIsInvalid) {
    for (std::size_t size = 0; size < 8; ++size) {
        SCOPED_TRACE(size);
        try {
            DecipherBytes(Bytes(size, 0), kKey);
            ADD_FAILURE() << "no error";
        } catch (const CipherError& e) {
            EXPECT_STREQ(e.what(), "Invalid file format");
        }
    }
}

TEST(DecipherBytes, BytesAfterTheLastWholeBlockAreIgnored) {
    std::mt19937 rng(3);
    const Bytes plain = RandomBytes(21, rng);
    const Bytes cipher = EncipherBytes(plain, kKey);
    for (std::size_t extra = 1; extra < 8; ++extra) {
        Bytes longer = cipher;
        const Bytes tail = RandomBytes(extra, rng);
        longer.insert(longer.end(), tail.begin(), tail.end());
        EXPECT_EQ(DecipherBytes(longer, kKey), plain) << extra;
    }
}

TEST(DecipherBytes, CountByteAboveSevenIsInvalid) {
    for (int count : {8, 9, 0x7F, 0x80, 0xFF}) {
        SCOPED_TRACE(count);
        Bytes raw(16, 0x11);
        raw[15] = static_cast<std::uint8_t>(count);
        TripleDesBlocks(raw.data(), 2, kKey, CipherDirection::Encipher);
        try {
            DecipherBytes(raw, kKey);
            ADD_FAILURE() << "no error";
        } catch (const CipherError& e) {
            EXPECT_STREQ(e.what(), "Invalid file format");
        }
    }
}

TEST(DecipherBytes, WrongKeyNeverYieldsMoreThanTheBlocksHold) {
    std::mt19937 rng(5);
    const FileKey wrong = KeyFromHex("00112233445566778899AABBCCDDEEFF");
    int rejected = 0;
    for (int i = 0; i < 400; ++i) {
        const Bytes cipher = EncipherBytes(RandomBytes(rng() % 40, rng), kKey);
        try {
            const Bytes plain = DecipherBytes(cipher, wrong);
            // A final block that happens to read as counted: at most its 7 bytes are kept.
            EXPECT_GE(plain.size(), cipher.size() - 8);
            EXPECT_LT(plain.size(), cipher.size());
        } catch (const CipherError& e) {
            EXPECT_STREQ(e.what(), "Invalid file format");
            ++rejected;
        }
    }
    // A count byte is at most 7 in 1 of 32 wrong-key blocks.
    EXPECT_GT(rejected, 300);
}

// The single-thread encipherment that the known answers prove: full blocks, then the rest, zeros
// and the count.
Bytes EncipherOnOneThread(const Bytes& plain, const FileKey& key) {
    Bytes out = plain;
    out.resize(8 * (plain.size() / 8 + 1), 0);
    out.back() = static_cast<std::uint8_t>(plain.size() % 8);
    TripleDesBlocks(out.data(), out.size() / 8, key, CipherDirection::Encipher);
    return out;
}

TEST(TripleDesBlocksInParts, EqualsOneThreadAroundPartBoundaries) {
    std::mt19937 rng(2004);
    for (std::size_t threads : {2u, 3u, 4u, 7u}) {
        // Block counts that divide evenly among the parts, one short and one over; fewer blocks
        // than parts.
        std::vector<std::size_t> blockCounts{1, threads - 1};
        for (std::size_t perPart : {1u, 8u, 1025u})
            for (std::size_t n : {threads * perPart - 1, threads * perPart, threads * perPart + 1})
                blockCounts.push_back(n);
        for (std::size_t blocks : blockCounts) {
            SCOPED_TRACE(testing::Message() << threads << " threads, " << blocks << " blocks");
            const FileKey key = RandomKey(rng);
            const Bytes plain = RandomBytes(8 * blocks, rng);
            Bytes oneThread = plain;
            TripleDesBlocks(oneThread.data(), blocks, key, CipherDirection::Encipher);
            Bytes parts = plain;
            TripleDesBlocksInParts(parts.data(), blocks, key, CipherDirection::Encipher, threads);
            ASSERT_EQ(parts, oneThread);
            TripleDesBlocksInParts(parts.data(), blocks, key, CipherDirection::Decipher, threads);
            EXPECT_EQ(parts, plain);
        }
    }
}

TEST(EncipherBytes, EqualsOneThreadAroundTheThreadThreshold) {
    // Sizes on either side of the size that goes to several threads, and of its multiples
    // where the parts change.
    std::mt19937 rng(64);
    std::vector<std::size_t> sizes;
    for (std::size_t base :
         {kParallelCipherBytes, 2 * kParallelCipherBytes, 3 * kParallelCipherBytes})
        for (std::size_t offset : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u})
            for (std::size_t size : {base - offset, base + offset})
                sizes.push_back(size);
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        const Bytes plain = RandomBytes(size, rng);
        const Bytes cipher = EncipherBytes(plain, kKey);
        ASSERT_EQ(cipher, EncipherOnOneThread(plain, kKey));
        EXPECT_EQ(DecipherBytes(cipher, kKey), plain);
    }
}

TEST(StreamingDecipher, EqualsOneThreadWhateverTheWaits) {
    // Block counts around the chunk boundaries, read in steps that fall inside, on and across
    // the chunks, on one thread and with helpers.
    constexpr std::size_t kChunkBlocks = StreamingDecipher::kChunkBytes / 8;
    std::mt19937 rng(55);
    for (std::size_t threads : {1u, 2u, 3u})
        for (std::size_t blocks : {std::size_t{0}, std::size_t{1}, kChunkBlocks - 1, kChunkBlocks,
                                   kChunkBlocks + 1, 3 * kChunkBlocks + 5})
            for (std::size_t step : {std::size_t{1}, std::size_t{4093},
                                     StreamingDecipher::kChunkBytes, std::size_t{1} << 30}) {
                SCOPED_TRACE(testing::Message()
                             << threads << " threads, " << blocks << " blocks, steps of " << step);
                const Bytes plain = RandomBytes(8 * blocks, rng);
                Bytes cipher = plain;
                TripleDesBlocks(cipher.data(), blocks, kKey, CipherDirection::Encipher);
                StreamingDecipher decipher(cipher.data(), blocks, kKey, threads);
                for (std::size_t end = std::min(step, cipher.size());;
                     end = std::min(end + step, cipher.size())) {
                    const std::size_t ready = decipher.waitUntil(end);
                    ASSERT_GE(ready, end);
                    ASSERT_TRUE(std::equal(plain.begin(),
                                           plain.begin() + static_cast<std::ptrdiff_t>(end),
                                           cipher.begin()));
                    if (end == cipher.size()) break;
                }
                EXPECT_EQ(decipher.waitUntil(cipher.size()), cipher.size());
                EXPECT_EQ(cipher, plain);
            }
}

TEST(DecipherFinalBlock, GivesThePlainSizeFromTheCount) {
    std::mt19937 rng(8);
    for (std::size_t size : {0u, 3u, 8u, 21u}) {
        SCOPED_TRACE(size);
        const Bytes plain = RandomBytes(size, rng);
        Bytes cipher = EncipherOnOneThread(plain, kKey);
        EXPECT_EQ(DecipherFinalBlock(cipher, kKey), size);
        EXPECT_TRUE(std::equal(plain.begin() + static_cast<std::ptrdiff_t>(size / 8 * 8),
                               plain.end(), cipher.end() - 8));
    }
}

TEST(CipherThreadsFor, SmallBuffersStayOnOneThread) {
    for (std::size_t bytes : {std::size_t{0}, std::size_t{8}, kParallelCipherBytes - 8})
        EXPECT_EQ(CipherThreadsFor(bytes), 1u) << bytes;
}

TEST(InPlace, EqualsTheCopyingForms) {
    std::mt19937 rng(17);
    for (std::size_t size : {0u, 5u, 8u, 70'001u, 300'000u}) {
        SCOPED_TRACE(size);
        const Bytes plain = RandomBytes(size, rng);
        Bytes bytes = plain;
        EncipherInPlace(bytes, kKey);
        ASSERT_EQ(bytes, EncipherOnOneThread(plain, kKey));
        DecipherInPlace(bytes, kKey);
        EXPECT_EQ(bytes, plain);
    }
}

class TripleDesFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("cgt_cipher_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Path(const char* name) const { return (dir_ / name).string(); }

    static void Write(const std::string& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    static Bytes Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    std::filesystem::path dir_;
};

TEST_F(TripleDesFileTest, RoundTripThroughFiles) {
    std::mt19937 rng(13);
    const Bytes plain = RandomBytes(1005, rng);
    Write(Path("data.SEC"), plain);
    // An existing longer output is truncated.
    Write(Path("data.cgt"), Bytes(5000, 0xEE));
    Write(Path("back.SEC"), Bytes(5000, 0xEE));

    TripleDesFile(Path("data.SEC"), Path("data.cgt"), kKey, CipherDirection::Encipher);
    EXPECT_EQ(Read(Path("data.cgt")), EncipherBytes(plain, kKey));

    TripleDesFile(Path("data.cgt"), Path("back.SEC"), kKey, CipherDirection::Decipher);
    EXPECT_EQ(Read(Path("back.SEC")), plain);
}

TEST_F(TripleDesFileTest, ShortEncipheredFileIsInvalid) {
    Write(Path("short.cgt"), Bytes(5, 0x42));
    try {
        TripleDesFile(Path("short.cgt"), Path("out.SEC"), kKey, CipherDirection::Decipher);
        ADD_FAILURE() << "no error";
    } catch (const CipherError& e) {
        EXPECT_STREQ(e.what(), "Invalid file format");
    }
}

TEST_F(TripleDesFileTest, MissingInputNamesTheFile) {
    const std::string missing = Path("missing.cgt");
    try {
        TripleDesFile(missing, Path("out.SEC"), kKey, CipherDirection::Decipher);
        ADD_FAILURE() << "no error";
    } catch (const CipherError& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(Path("out.SEC")));
}

} // namespace
} // namespace cgt
