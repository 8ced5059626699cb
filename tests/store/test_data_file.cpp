#include "support/sample_store.h"
#include "support/store_fixture.h"

#include <cstdlib>
#include <cstring>

#include "store/data_file.h"
#include "store/file_cipher.h"
#include "store/store_dump.h"

namespace cgt {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

class DataFileTest : public test::StoreTest {
protected:
    // Clears the run as a new module run does and loads `path` under the sample identifier.
    LoadStatus reload(const std::string& path) {
        ResetModuleRun();
        cgt::Run().HostIdentifier = test::kSampleIdentifier;
        return LoadDataFile(path);
    }

    std::vector<std::uint8_t> plainOf(const std::string& path) {
        return DecipherBytes(ReadBytes(path), DeriveFileKey(KeyTextOf(test::kSampleIdentifier)));
    }

    TempFolder folder;
};

TEST_F(DataFileTest, SignatureNamesProductAndYear) {
    EXPECT_EQ(FileSignature.size(), 55u);
    EXPECT_NE(FileSignature.find("2004"), std::string_view::npos);
}

TEST_F(DataFileTest, EveryTypeSurvivesSaveAndLoad) {
    test::FillSampleStore();
    const std::string path = folder.file("return.t04");
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
    const std::string before = DumpStoreJson();

    ASSERT_EQ(reload(path), LoadStatus::Loaded);
    EXPECT_EQ(DumpStoreJson(), before);
    EXPECT_EQ(cgt::Run().CurrentFileName, path);
    EXPECT_EQ(cgt::Run().ScreenHistory, (std::vector<std::int32_t>{2004, 2010, 2033}));
    EXPECT_EQ(GetFieldType(2), dtNumeric);
    EXPECT_EQ(GetFieldVal(4), -98.76L);
    EXPECT_EQ(*GetFieldLst(7), (StringList{"first line", "", "third"}));
    EXPECT_EQ(WorksheetOf(451)->size(), 14u);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DataFileTest, SaveMarksFormAndVersionAndKeepsBackup) {
    test::FillSampleStore();
    const std::string path = folder.file("return.t04");
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
    const auto first = ReadBytes(path);
    EXPECT_EQ(GetFieldStr(kFormTag), "EI");
    EXPECT_EQ(GetFieldVal(kVersionTag), 60012);

    SetFieldStr(5, "changed");
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(folder.file("return.BAK")), first);
    EXPECT_NE(ReadBytes(path), first);
    // Only the data file and its backup: no plain companion and no leftover new file.
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"return.BAK", "return.t04"}));
}

TEST_F(DataFileTest, PlainFormNeverReachesTheDisk) {
    test::FillSampleStore();
    const std::string path = folder.file("return.t04");
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
    const auto onDisk = ReadBytes(path);
    const std::string disk(onDisk.begin(), onDisk.end());
    EXPECT_EQ(disk.find(test::kSampleIdentifier), std::string::npos);
    EXPECT_EQ(disk.find("Capital Gains"), std::string::npos);
    EXPECT_EQ(onDisk.size() % 8, 0u);
    ASSERT_EQ(reload(path), LoadStatus::Loaded);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"return.t04"}));
}

TEST_F(DataFileTest, LargeReturnIsTheOneThreadEncipherment) {
    // Enough rows that the cipher runs in parts; the rows' items interleave.
    test::FillSampleStore();
    std::vector<WorksheetItem> items;
    for (int i = 0; i < 12'000; ++i) {
        auto amount =
            test::MakeItem(static_cast<std::uint16_t>(1 + i % 3'000), 720 + i / 3'000, dtCurrency);
        amount.entry.setNumber(i * 3.0L);
        items.push_back(amount);
    }
    FieldEntry& ws = Store().entry(kWorksheetTagBase + 452);
    ws.type = dtWorksheet;
    ws.sheet = std::make_shared<Worksheet>(std::move(items));
    const std::string path = folder.file("large.t04");
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);

    std::vector<std::uint8_t> expected = SerialisePlain();
    ASSERT_GT(expected.size(), 2 * kParallelCipherBytes);
    const std::size_t rest = expected.size() % 8;
    expected.resize(8 * (expected.size() / 8 + 1), 0);
    expected.back() = static_cast<std::uint8_t>(rest);
    TripleDesBlocks(expected.data(), expected.size() / 8,
                    DeriveFileKey(KeyTextOf(test::kSampleIdentifier)), CipherDirection::Encipher);
    EXPECT_EQ(ReadBytes(path), expected);

    const std::string before = DumpStoreJson();
    ASSERT_EQ(reload(path), LoadStatus::Loaded);
    EXPECT_EQ(DumpStoreJson(), before);
    const auto row = WorksheetOf(452)->rowPositions(2'999);
    EXPECT_EQ(std::vector<std::uint32_t>(row.begin(), row.end()),
              (std::vector<std::uint32_t>{2'998, 5'998, 8'998, 11'998}));
}

// Finds the record of `tag` in a plain image by walking the layout.
std::size_t recordOffset(const std::vector<std::uint8_t>& plain, std::int32_t tag) {
    for (std::size_t i = FileSignature.size() + 12; i + 4 <= plain.size(); ++i) {
        std::int32_t t;
        std::memcpy(&t, plain.data() + i, 4);
        if (t == tag) return i;
    }
    return std::string::npos;
}

TEST_F(DataFileTest, PlainLayout) {
    cgt::Run().HostIdentifier = test::kSampleIdentifier;
    SetFieldStr(1, test::kSampleIdentifier);
    cgt::Run().CurrentSection = 20;
    cgt::Run().CurrentIndex = 7;
    cgt::Run().ScreenHistory = {2004, 2005};
    SetFieldVal(30, 0);          // currency 0: not written
    SetFieldType(31, dtNumeric); // numeric 0: written
    SetFieldUnchecked(32);       // unchecked: not written
    SetFieldStr(35, "");         // empty small text: not written
    SetFieldLst(40, std::make_shared<StringList>(StringList{"a", "b"}));
    auto sheet = std::make_shared<Worksheet>();
    for (std::uint16_t row : {1, 2})
        for (int tag : {710, 720, 1100}) {
            auto item = test::MakeItem(row, tag, dtCurrency);
            item.entry.setNumber(tag);
            sheet->append(item);
        }
    Store().entry(1202).type = dtWorksheet;
    Store().entry(1202).sheet = sheet;

    const auto plain = SerialisePlain();
    ASSERT_GE(plain.size(), 55u + 20u);
    EXPECT_EQ(std::string(plain.begin(), plain.begin() + 55), std::string(FileSignature));
    std::int32_t header[5];
    std::memcpy(header, plain.data() + 55, sizeof header);
    EXPECT_EQ(header[0], 20);
    EXPECT_EQ(header[1], 7);
    EXPECT_EQ(header[2], 2);
    EXPECT_EQ(header[3], 2004);
    EXPECT_EQ(header[4], 2005);

    // Records in ascending tag order: 1 (string), 31 (numeric), 40 (list), 1202 (worksheet).
    std::size_t at = 55 + 20;
    auto next32 = [&] {
        std::int32_t v;
        std::memcpy(&v, plain.data() + at, 4);
        at += 4;
        return v;
    };
    EXPECT_EQ(next32(), 1);
    EXPECT_EQ(plain[at++], dtString);
    EXPECT_EQ(plain[at], 11);
    at += 1 + 11;
    EXPECT_EQ(next32(), 31);
    EXPECT_EQ(plain[at++], dtNumeric);
    at += 10;
    EXPECT_EQ(next32(), 40);
    EXPECT_EQ(plain[at++], dtList);
    EXPECT_EQ(next32(), 9);
    EXPECT_EQ(std::memcmp(plain.data() + at, "a\r\nb\r\n\0\0\0", 9), 0);
    at += 9;
    EXPECT_EQ(next32(), 1202);
    EXPECT_EQ(plain[at++], dtWorksheet);
    EXPECT_EQ(next32(), 6);
    at += 6 * 18;
    EXPECT_EQ(at, plain.size());
    EXPECT_EQ(recordOffset(plain, 30), std::string::npos);

    const std::string path = folder.file("layout.t04");
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
    ASSERT_EQ(reload(path), LoadStatus::Loaded);
    EXPECT_EQ(GetFieldType(32), dtNone);
    EXPECT_EQ(GetFieldType(35), dtNone);
    EXPECT_EQ(GetFieldType(31), dtNumeric);
    EXPECT_EQ(*GetFieldLst(40), (StringList{"a", "b"}));
}

TEST_F(DataFileTest, LodgedReturnIsLockedAfterItsLastSave) {
    test::FillSampleStore();
    SetFieldStr(1478, "01/11/2004");
    SetFieldStr(1479, "REF123");
    SetFieldStr(1490, "10:15");
    const std::string path = folder.file("lodged.t04");
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
    EXPECT_EQ(GetFieldStr(kLockTag), "999999999");
    const auto first = ReadBytes(path);
    const auto stamp = std::filesystem::last_write_time(path);

    SetFieldStr(5, "changed");
    EXPECT_EQ(SaveDataFile(path), SaveStatus::Locked);
    EXPECT_EQ(ReadBytes(path), first);
    EXPECT_EQ(std::filesystem::last_write_time(path), stamp);
    EXPECT_FALSE(std::filesystem::exists(folder.file("lodged.BAK")));

    ASSERT_EQ(reload(path), LoadStatus::Loaded);
    EXPECT_EQ(GetFieldStr(kLockTag), "999999999");
    EXPECT_EQ(SaveDataFile(path), SaveStatus::Locked);
}

TEST_F(DataFileTest, EmptyPathSavesNothing) {
    EXPECT_EQ(SaveDataFile(""), SaveStatus::NoName);
    EXPECT_TRUE(dialogs.messages.empty());
    cgt::Run().DebugMode = true;
    EXPECT_EQ(SaveDataFile(""), SaveStatus::NoName);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "SaveOpen - Trying to save a file with no name");
}

TEST_F(DataFileTest, FailedSaveKeepsPreviousDataAndTellsTheUser) {
    test::FillSampleStore();
    const std::string path = folder.file("return.t04");
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
    const auto previous = ReadBytes(path);

    // A folder in the way of the backup makes the rotation fail.
    std::filesystem::create_directories(folder.file("return.BAK/blocker"));
    SetFieldStr(5, "changed");
    EXPECT_EQ(SaveDataFile(path), SaveStatus::Failed);
    EXPECT_EQ(ReadBytes(path), previous);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.starts_with("Unable to save file - " + path));
    EXPECT_EQ(dialogs.messages[0].kind, mkError);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"return.BAK", "return.t04"}));

    EXPECT_EQ(SaveDataFile(folder.file("missing/return.t04")), SaveStatus::Failed);
}

TEST_F(DataFileTest, WrongSignatureKeepsStoreAndResetsPosition) {
    const FileKey key = DeriveFileKey(KeyTextOf(test::kSampleIdentifier));
    std::vector<std::uint8_t> plain(80, 'x');
    const std::string path = folder.file("foreign.t04");
    WriteBytes(path, EncipherBytes(plain, key));

    cgt::Run().HostIdentifier = test::kSampleIdentifier;
    SetFieldStr(1, test::kSampleIdentifier);
    SetFieldVal(3, 5);
    cgt::Run().CurrentSection = 20;
    cgt::Run().CurrentIndex = 9;
    EXPECT_EQ(LoadDataFile(path), LoadStatus::BadSignature);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Unable to open file - " + path);
    EXPECT_EQ(dialogs.messages[0].kind, mkError);
    EXPECT_EQ(GetFieldVal(3), 5);
    EXPECT_EQ(cgt::Run().CurrentSection, 0);
    EXPECT_EQ(cgt::Run().CurrentIndex, 0);
    EXPECT_EQ(cgt::Run().CurrentFileName, "");
}

TEST_F(DataFileTest, BadTagKeepsWhatCameBefore) {
    test::FillSampleStore();
    auto plain = SerialisePlain();
    const std::size_t at = recordOffset(plain, 9); // the checkbox record of tag 9
    ASSERT_NE(at, std::string::npos);
    const std::int32_t bad = 5000;
    std::memcpy(plain.data() + at, &bad, 4);

    ResetModuleRun();
    EXPECT_EQ(ParsePlain(plain, "x"), LoadStatus::BadRecord);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Error reading file, field tag = 5000 last tag = 7");
    EXPECT_EQ(GetFieldStr(6), "A description longer than nine characters");
    EXPECT_FALSE(FieldChecked(9));
    EXPECT_FALSE(WorksheetHasRows(451));
    EXPECT_EQ(cgt::Run().CurrentSection, 20);
}

TEST_F(DataFileTest, UnreadableFilesRaise) {
    cgt::Run().HostIdentifier = test::kSampleIdentifier;
    EXPECT_THROW(LoadDataFile(folder.file("absent.t04")), DataFileError);
    for (std::size_t size : {0u, 3u, 7u}) {
        const std::string path = folder.file("short" + std::to_string(size));
        WriteBytes(path, std::vector<std::uint8_t>(size, 0x41));
        try {
            LoadDataFile(path);
            ADD_FAILURE() << "no error for a file of " << size << " bytes";
        } catch (const DataFileError& e) {
            EXPECT_STREQ(e.what(), "Invalid file format");
        }
    }
}

TEST_F(DataFileTest, WrongIdentifierDoesNotLoad) {
    test::FillSampleStore();
    const std::string path = folder.file("return.t04");
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
    ResetModuleRun();
    cgt::Run().HostIdentifier = "987 654 321";
    bool refused = false;
    try {
        refused = LoadDataFile(path) == LoadStatus::BadSignature;
    } catch (const DataFileError&) {
        refused = true;
    }
    EXPECT_TRUE(refused);
    EXPECT_TRUE(FieldIsEmpty(6));
}

TEST_F(DataFileTest, IdentifierBlanksDoNotChangeTheKey) {
    test::FillSampleStore();
    const std::string path = folder.file("return.t04");
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
    ResetModuleRun();
    cgt::Run().HostIdentifier = "123-456-782";
    EXPECT_EQ(LoadDataFile(path), LoadStatus::Loaded);
    EXPECT_EQ(GetFieldStr(1), test::kSampleIdentifier);
}

// The debug listing goes to the system's temporary folder, readable by the owner only, and
// the debug message says where; nothing is written into the working folder.
TEST_F(DataFileTest, DebugModeWritesTextDumpIntoTheTemporaryFolder) {
    TempFolder cwd;
    TempFolder temporary;
    const char* previousTmp = std::getenv("TMPDIR");
    const std::string savedTmp = previousTmp ? previousTmp : "";
    ::setenv("TMPDIR", temporary.path().c_str(), 1);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(cwd.path());
    // A listing left by an earlier run, readable by all, is cut and made private.
    test::WriteBytes(temporary.file("TEST.TXT"), std::vector<std::uint8_t>(5000, 'x'));
    std::filesystem::permissions(temporary.file("TEST.TXT"), std::filesystem::perms(0644));
    cgt::Run().DebugMode = true;
    test::FillSampleStore();
    const bool saved = SaveDataFile(folder.file("debug.t04")) == SaveStatus::Saved;
    std::filesystem::current_path(previous);
    if (previousTmp)
        ::setenv("TMPDIR", savedTmp.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    ASSERT_TRUE(saved);

    const std::string listing = temporary.file("TEST.TXT");
    EXPECT_TRUE(cwd.names().empty());
    EXPECT_EQ(std::filesystem::status(listing).permissions(), std::filesystem::perms(0600));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find(listing), std::string::npos)
        << dialogs.messages[0].text;
    const auto bytes = ReadBytes(listing);
    const std::string dump(bytes.begin(), bytes.end());
    EXPECT_TRUE(dump.starts_with("1 string 123 456 782\n")) << dump.substr(0, 40);
    EXPECT_NE(dump.find("2 Numeric 0\n"), std::string::npos);
    EXPECT_NE(dump.find("3 Currency 1234.56\n"), std::string::npos);
    EXPECT_NE(dump.find("5 smallstring short\n"), std::string::npos);
    EXPECT_NE(dump.find("9 Checkbox"), std::string::npos);
    EXPECT_EQ(dump.find("\n7 "), std::string::npos);
    EXPECT_EQ(dump.find("xxx"), std::string::npos);
}

TEST_F(DataFileTest, CompanionNames) {
    EXPECT_EQ(CompanionName("/a/b/return.t04", ".BAK"), "/a/b/return.BAK");
    EXPECT_EQ(CompanionName("/a/b.d/return", ".SEC"), "/a/b.d/return.SEC");
}

} // namespace
} // namespace cgt
