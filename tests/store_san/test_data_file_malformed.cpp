// Malformed data files: none may read or write outside a buffer. Runs under AddressSanitizer
// and UndefinedBehaviorSanitizer.

#include "support/sample_store.h"
#include "support/store_fixture.h"

#include <cstring>

#include "store/data_file.h"
#include "store/file_cipher.h"

namespace cgt {
namespace {

using test::TempFolder;
using test::WriteBytes;

class MalformedDataFileTest : public test::StoreTest {
protected:
    void SetUp() override {
        test::StoreTest::SetUp();
        test::FillSampleStore();
        plain = SerialisePlain();
        key = DeriveFileKey(KeyTextOf(test::kSampleIdentifier));
    }

    // Parses a plain image into a fresh run; returns the status.
    LoadStatus parse(const std::vector<std::uint8_t>& bytes) {
        ResetModuleRun();
        cgt::Run().HostIdentifier = test::kSampleIdentifier;
        return ParsePlain(bytes, "damaged.t04");
    }

    // Loads enciphered bytes from a file; true when the load raised or reported.
    bool loadRefused(const std::vector<std::uint8_t>& cipher) {
        const std::string path = folder.file("damaged.t04");
        WriteBytes(path, cipher);
        ResetModuleRun();
        cgt::Run().HostIdentifier = test::kSampleIdentifier;
        try {
            return LoadDataFile(path) != LoadStatus::Loaded;
        } catch (const DataFileError&) {
            return true;
        }
    }

    std::size_t headerEnd() const { return FileSignature.size() + 12 + 4 * 3; }

    std::vector<std::uint8_t> plain;
    FileKey key{};
    TempFolder folder;
};

TEST_F(MalformedDataFileTest, TruncatedAtEveryOffset) {
    for (std::size_t size = 0; size < plain.size(); ++size) {
        std::vector<std::uint8_t> cut(plain.begin(), plain.begin() + static_cast<long>(size));
        const LoadStatus status = parse(cut);
        if (size < FileSignature.size()) {
            EXPECT_EQ(status, LoadStatus::BadSignature) << size;
        }
    }
    EXPECT_EQ(parse(plain), LoadStatus::Loaded);
}

TEST_F(MalformedDataFileTest, EncipheredFileTruncatedAtEveryOffset) {
    const auto cipher = EncipherBytes(plain, key);
    for (std::size_t size = 0; size < cipher.size(); size += 1) {
        std::vector<std::uint8_t> cut(cipher.begin(), cipher.begin() + static_cast<long>(size));
        const bool refused = loadRefused(cut);
        if (size < 8) {
            EXPECT_TRUE(refused) << size;
        }
    }
    EXPECT_FALSE(loadRefused(cipher));
}

TEST_F(MalformedDataFileTest, RandomByteFlips) {
    std::mt19937 random(20040630);
    for (int round = 0; round < 3000; ++round) {
        auto damaged = plain;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < flips; ++i)
            damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
        parse(damaged);
    }
    auto cipher = EncipherBytes(plain, key);
    for (int round = 0; round < 300; ++round) {
        auto damaged = cipher;
        damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
        loadRefused(damaged);
    }
}

TEST_F(MalformedDataFileTest, RandomFiles) {
    std::mt19937 random(1453);
    for (int round = 0; round < 500; ++round) {
        std::vector<std::uint8_t> bytes(random() % 400);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        loadRefused(bytes);
        // Random records behind a valid header.
        std::vector<std::uint8_t> withHeader(plain.begin(), plain.begin() + headerEnd());
        withHeader.insert(withHeader.end(), bytes.begin(), bytes.end());
        parse(withHeader);
    }
}

// Builds a plain image: the sample header, then the given records.
std::vector<std::uint8_t> WithRecords(const std::vector<std::uint8_t>& plain, std::size_t headerEnd,
                                      std::initializer_list<std::vector<std::uint8_t>> records) {
    std::vector<std::uint8_t> out(plain.begin(), plain.begin() + static_cast<long>(headerEnd));
    for (const auto& r : records)
        out.insert(out.end(), r.begin(), r.end());
    return out;
}

std::vector<std::uint8_t> Le32(std::int32_t v) {
    std::vector<std::uint8_t> out(4);
    std::memcpy(out.data(), &v, 4);
    return out;
}

std::vector<std::uint8_t> Cat(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(MalformedDataFileTest, MalformedRecordsStopTheLoadAndKeepWhatCameBefore) {
    const auto good = Cat({Le32(3), {dtCurrency}, std::vector<std::uint8_t>(10, 0)});
    struct Case {
        const char* what;
        std::vector<std::uint8_t> record;
        std::int32_t reportedTag;
    };
    const Case cases[] = {
        {"small text longer than nine",
         Cat({Le32(20), {dtSmallStr, 10}, std::vector<std::uint8_t>(10, 'a')}), 20},
        {"text past the end", Cat({Le32(21), {dtString, 200, 'a', 'b'}}), 21},
        {"negative list length", Cat({Le32(22), {dtList}, Le32(-1)}), 22},
        {"absurd list length", Cat({Le32(23), {dtList}, Le32(0x7fffffff)}), 23},
        {"negative item count", Cat({Le32(24), {dtWorksheet}, Le32(-5)}), 24},
        {"absurd item count", Cat({Le32(25), {dtWorksheet}, Le32(100000000)}), 25},
        {"item text past the end",
         Cat({Le32(26),
              {dtWorksheet},
              Le32(1),
              {1, 0},
              Le32(710),
              {dtString, 0},
              std::vector<std::uint8_t>(10, 0),
              {50}}),
         26},
        {"item list length negative",
         Cat({Le32(27),
              {dtWorksheet},
              Le32(1),
              {1, 0},
              Le32(710),
              {dtList, 0},
              std::vector<std::uint8_t>(10, 0),
              Le32(-3)}),
         27},
        {"number cut short", Cat({Le32(28), {dtCurrency, 1, 2, 3}}), 28},
        {"tag zero", Cat({Le32(0), {dtCurrency}}), 0},
        {"tag past the store", Cat({Le32(2313), {dtCurrency}}), 2313},
        {"negative tag", Cat({Le32(-7), {dtCurrency}}), -7},
        {"tag cut short", {0x05, 0x00}, 0},
    };
    for (const auto& c : cases) {
        dialogs.messages.clear();
        EXPECT_EQ(parse(WithRecords(plain, headerEnd(), {good, c.record})), LoadStatus::BadRecord)
            << c.what;
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.what;
        EXPECT_EQ(dialogs.messages[0].text, "Error reading file, field tag = " +
                                                std::to_string(c.reportedTag) + " last tag = 3")
            << c.what;
        EXPECT_EQ(GetFieldType(3), dtCurrency) << c.what;
        if (c.reportedTag >= 1 && c.reportedTag <= kFieldCount) {
            EXPECT_EQ(GetFieldType(c.reportedTag), dtNone) << c.what;
        }
    }
}

TEST_F(MalformedDataFileTest, UnknownTypeCarriesNoPayload) {
    const auto record = Cat({Le32(40), {9}});
    const auto after = Cat({Le32(41), {dtCheckbox, 1}, std::vector<std::uint8_t>(9, 0)});
    EXPECT_EQ(parse(WithRecords(plain, headerEnd(), {record, after})), LoadStatus::Loaded);
    EXPECT_TRUE(FieldIsEmpty(40));
    EXPECT_EQ(GetFieldText(40), "");
    EXPECT_TRUE(FieldChecked(41));
}

TEST_F(MalformedDataFileTest, AbsurdHistoryCountStopsAtTheEnd) {
    auto bytes = std::vector<std::uint8_t>(plain.begin(), plain.begin() + FileSignature.size());
    for (auto v : {20, 4, 0x7fffffff, 2004, 2005}) {
        auto b = Le32(v);
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    EXPECT_EQ(parse(bytes), LoadStatus::Loaded);
    EXPECT_EQ(cgt::Run().ScreenHistory, (std::vector<std::int32_t>{2004, 2005}));
    auto negative = std::vector<std::uint8_t>(plain.begin(), plain.begin() + FileSignature.size());
    for (auto v : {20, 4, -3}) {
        auto b = Le32(v);
        negative.insert(negative.end(), b.begin(), b.end());
    }
    EXPECT_EQ(parse(negative), LoadStatus::Loaded);
    EXPECT_TRUE(cgt::Run().ScreenHistory.empty());
}

} // namespace
} // namespace cgt
