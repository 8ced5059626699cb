// The cgt tool as a user runs it: a separate process in a private folder, its standard output,
// standard error and exit status captured.

#include "cgt_process.h"
#include "support/sample_store.h"
#include "support/store_fixture.h"

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <tuple>

#include "cgt/rules/choice_table.h"
#include "cgt/rules/manual_table.h"
#include "store/data_file.h"
#include "store/file_cipher.h"
#include "store/store_dump.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

namespace cgt {
namespace {

using test::ReadBytes;
using test::ReadText;
using test::TempFolder;
using test::WriteBytes;
using Outcome = test::CgtOutcome;

const std::string kId = test::kSampleIdentifier; // "123 456 782"
const std::string kNewId = "987 654 321";

std::string JsonField(int tag, std::string_view type, std::string_view quotedValue) {
    return "{\"tag\": " + std::to_string(tag) + ", \"type\": \"" + std::string(type) +
           "\", \"value\": " + std::string(quotedValue) + "}";
}

class CgtToolTest : public test::StoreTest {
protected:
    // Runs cgt with `args` in the work folder.
    Outcome cgtRun(const std::vector<std::string>& args) {
        return test::RunCgt(args, work.path(), capture);
    }

    // Saves the store of every value type (a worksheet, a list, history) in-process.
    std::string saveRichReturn(const std::string& name) {
        test::FillSampleStore();
        const std::string path = work.file(name);
        EXPECT_EQ(SaveDataFile(path), SaveStatus::Saved);
        return path;
    }

    std::map<std::string, std::vector<std::uint8_t>> snapshot() const {
        std::map<std::string, std::vector<std::uint8_t>> files;
        for (const auto& name : work.names())
            files[name] = ReadBytes(work.file(name));
        return files;
    }

    TempFolder work;
    TempFolder capture;
};

void ExpectSuccessWithoutMessages(const Outcome& r) {
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

TEST_F(CgtToolTest, NewWritesAnEmptyReturnThatDumpAndStatShow) {
    const auto created = cgtRun({"new", "r.t04", "--id", kId});
    ExpectSuccessWithoutMessages(created);
    EXPECT_EQ(created.out, "");
    EXPECT_EQ(work.names(), std::vector<std::string>{"r.t04"}); // no plain companion left

    const auto json = cgtRun({"dump", "r.t04", "--id", kId, "--json"});
    ExpectSuccessWithoutMessages(json);
    EXPECT_NE(json.out.find(JsonField(1, "dtString", "\"123 456 782\"")), std::string::npos);
    EXPECT_NE(json.out.find(JsonField(1300, "dtSmallStr", "\"EI\"")), std::string::npos);
    EXPECT_NE(json.out.find(JsonField(960, "dtCurrency", "60012")), std::string::npos);
    EXPECT_NE(json.out.find("\"section\": 0, \"index\": 0, \"history\": []"), std::string::npos);

    const auto text = cgtRun({"dump", "r.t04", "--id", kId});
    ExpectSuccessWithoutMessages(text);
    EXPECT_NE(text.out.find("\n1300 dtSmallStr EI\n"), std::string::npos);

    const auto stat = cgtRun({"stat", "r.t04", "--id", kId});
    ExpectSuccessWithoutMessages(stat);
    EXPECT_EQ(stat.out, "dtCurrency=1 dtString=1 dtSmallStr=1 worksheetRows=0 worksheetItems=0\n");

    // The library reads the tool's file under the same identifier.
    cgt::Run().HostIdentifier = "123456782";
    ASSERT_EQ(LoadDataFile(work.file("r.t04")), LoadStatus::Loaded);
    EXPECT_EQ(GetFieldStr(1), kId);
}

TEST_F(CgtToolTest, DumpAndStatShowEveryTypeAsTheLibraryDoes) {
    const std::string path = saveRichReturn("rich.t04");
    ResetModuleRun();
    cgt::Run().HostIdentifier = kId;
    ASSERT_EQ(LoadDataFile(path), LoadStatus::Loaded);

    const auto json = cgtRun({"dump", "--json", "rich.t04", "--id", kId});
    ExpectSuccessWithoutMessages(json);
    EXPECT_EQ(json.out, DumpStoreJson());
    const auto text = cgtRun({"dump", "rich.t04", "--id=" + kId});
    ExpectSuccessWithoutMessages(text);
    EXPECT_EQ(text.out, DumpStoreText());
    const auto stat = cgtRun({"stat", "rich.t04", "--id", kId});
    ExpectSuccessWithoutMessages(stat);
    EXPECT_EQ(stat.out, StoreStatistics() + "\n");
}

TEST_F(CgtToolTest, ForcedNewKeepsThePreviousFileAsBackup) {
    const std::vector<std::uint8_t> previous{'o', 'l', 'd'};
    WriteBytes(work.file("r.t04"), previous);
    ExpectSuccessWithoutMessages(cgtRun({"new", "r.t04", "--id", kId, "--force"}));
    EXPECT_EQ(ReadBytes(work.file("r.BAK")), previous);
    ExpectSuccessWithoutMessages(cgtRun({"stat", "r.t04", "--id", kId}));
}

// A name whose backup companion is itself is refused, and the file there stays as it was.
TEST_F(CgtToolTest, ForcedNewRefusesANameEndingInBak) {
    const std::string path = saveRichReturn("ret.BAK.t04");
    std::filesystem::rename(path, work.file("ret.BAK"));
    const auto before = snapshot();
    const auto r = cgtRun({"new", "ret.BAK", "--id", kId, "--force"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.starts_with("cgt: cannot save ret.BAK: ")) << r.err;
    EXPECT_NE(r.err.find(".BAK name is kept for the backup"), std::string::npos) << r.err;
    EXPECT_EQ(snapshot(), before);
}

TEST_F(CgtToolTest, RekeyChangesIdentifierAndKeyAndKeepsEverythingElse) {
    const std::string in = saveRichReturn("in.t04");
    const auto inBytes = ReadBytes(in);
    const auto before = cgtRun({"dump", "in.t04", "--id", kId, "--json"});
    ASSERT_EQ(before.status, 0);

    const auto rekey = cgtRun({"rekey", "in.t04", "out.t04", "--id", kId, "--new-id", kNewId});
    ExpectSuccessWithoutMessages(rekey);
    EXPECT_EQ(rekey.out, "");
    EXPECT_EQ(ReadBytes(in), inBytes);
    EXPECT_EQ(work.names(), (std::vector<std::string>{"in.t04", "out.t04"}));

    const auto after = cgtRun({"dump", "out.t04", "--id", kNewId, "--json"});
    ExpectSuccessWithoutMessages(after);
    std::string expected = before.out;
    const std::string oldTag1 = JsonField(1, "dtString", "\"" + kId + "\"");
    const auto at = expected.find(oldTag1);
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, oldTag1.size(), JsonField(1, "dtString", "\"" + kNewId + "\""));
    EXPECT_EQ(after.out, expected);

    EXPECT_EQ(cgtRun({"dump", "out.t04", "--id", kId}).status, 2);

    // In place only with --force; the old file becomes the backup.
    ExpectSuccessWithoutMessages(
        cgtRun({"rekey", "in.t04", "in.t04", "--id", kId, "--new-id", kNewId, "--force"}));
    EXPECT_EQ(ReadBytes(work.file("in.BAK")), inBytes);
    EXPECT_EQ(ReadBytes(in), ReadBytes(work.file("out.t04")));
}

TEST_F(CgtToolTest, EncryptOfDecryptReproducesTheFile) {
    const std::string in = saveRichReturn("in.t04");
    const auto decrypt = cgtRun({"decrypt", "in.t04", "plain.bin", "--id", kId});
    ExpectSuccessWithoutMessages(decrypt);
    EXPECT_EQ(decrypt.out, "");
    const std::string plain = ReadText(work.file("plain.bin"));
    EXPECT_TRUE(plain.starts_with(FileSignature));
    EXPECT_NE(plain.find("A description longer than nine characters"), std::string::npos);

    const auto encrypt = cgtRun({"encrypt", "plain.bin", "again.t04", "--id", "123456782"});
    ExpectSuccessWithoutMessages(encrypt);
    EXPECT_EQ(encrypt.out, "");
    EXPECT_EQ(ReadBytes(work.file("again.t04")), ReadBytes(in));
}

TEST_F(CgtToolTest, HelpPrintsUsage) {
    for (const char* word : {"help", "--help"}) {
        SCOPED_TRACE(word);
        const auto help = cgtRun({word});
        ExpectSuccessWithoutMessages(help);
        EXPECT_TRUE(help.out.starts_with("usage: cgt"));
        for (const char* command : {"new", "dump", "stat", "rekey", "decrypt", "encrypt"})
            EXPECT_NE(help.out.find(std::string("  ") + command + " "), std::string::npos);
    }
}

TEST_F(CgtToolTest, BadInputGivesOneLineAndStatusTwoAndChangesNothing) {
    ASSERT_EQ(cgtRun({"new", "r.t04", "--id", kId}).status, 0);
    ASSERT_EQ(cgtRun({"new", "other.t04", "--id", kNewId}).status, 0);
    WriteBytes(work.file("short.t04"), {1, 2, 3});
    WriteBytes(work.file("empty.t04"), {});
    std::mt19937 random(2004);
    std::vector<std::uint8_t> noise(64);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(random());
    WriteBytes(work.file("random.t04"), noise);
    // The right signature followed by a record of tag 5000.
    std::vector<std::uint8_t> plain(FileSignature.begin(), FileSignature.end());
    for (std::int32_t v : {0, 0, 0, 5000}) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(&v);
        plain.insert(plain.end(), p, p + 4);
    }
    plain.push_back(dtCurrency);
    WriteBytes(work.file("badrecord.t04"), EncipherBytes(plain, DeriveFileKey(KeyTextOf(kId))));
    // A lodged return: the save that filled the lodgment tags locked it.
    ResetModuleRun();
    cgt::Run().HostIdentifier = kId;
    SetFieldStr(1, kId);
    for (int tag : {1478, 1479, 1490})
        SetFieldStr(tag, "lodged");
    ASSERT_EQ(SaveDataFile(work.file("lodged.t04")), SaveStatus::Saved);
    const auto before = snapshot();

    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const std::vector<Case> cases{
        {{}, "no command"},
        {{"frobnicate", "r.t04", "--id", kId}, "unknown command"},
        {{"dump", "r.t04"}, "missing --id"},
        {{"dump", "r.t04", "--id"}, "--id needs a value"},
        {{"dump", "r.t04", "--id", ""}, "--id needs a non-empty value"},
        {{"dump", "--id", kId}, "missing operand"},
        {{"stat", "r.t04", "extra", "--id", kId}, "unexpected operand 'extra'"},
        {{"dump", "r.t04", "--id", kId, "--bogus"}, "unknown option --bogus"},
        {{"stat", "r.t04", "--id", kId, "--json"},
         "--json applies to dump, compute and import only"},
        {{"dump", "r.t04", "--id", kId, "--write"}, "--write applies to compute only"},
        {{"stat", "r.t04", "--id", kId, "--auto"}, "--auto applies to compute only"},
        {{"dump", "r.t04", "--id", kId, "--lowest"}, "--lowest applies to compute only"},
        {{"compute", "r.t04", "--id", kId, "--auto", "--lowest", "--write"},
         "--auto and --lowest exclude each other"},
        {{"compute", "missing.t04", "--id", kId}, "cannot open missing.t04: No such file"},
        {{"compute", "r.t04", "--id", "111 111 111", "--write"}, "wrong identifier"},
        {{"compute", "badrecord.t04", "--id", kId, "--json"}, "malformed data file"},
        {{"compute", "lodged.t04", "--id", kId, "--write"}, "lodged and locked"},
        {{"rekey", "r.t04", "x.t04", "--id", kId}, "missing --new-id"},
        {{"dump", "missing.t04", "--id", kId}, "cannot open missing.t04: No such file"},
        {{"dump", "r.t04", "--id", "111 111 111"}, "r.t04: wrong identifier or not a data file"},
        {{"stat", "short.t04", "--id", kId}, "short.t04: not a data file"},
        {{"stat", "empty.t04", "--id", kId}, "empty.t04: not a data file"},
        {{"stat", "random.t04", "--id", kId}, "random.t04: wrong identifier or not a data file"},
        {{"dump", "badrecord.t04", "--id", kId}, "badrecord.t04: malformed data file"},
        {{"new", "r.t04", "--id", kId}, "r.t04 already exists"},
        {{"new", "nofolder/n.t04", "--id", kId}, "cannot save nofolder/n.t04"},
        {{"rekey", "r.t04", "other.t04", "--id", kId, "--new-id", kNewId}, "already exists"},
        {{"rekey", "r.t04", "r.t04", "--id", kId, "--new-id", kNewId}, "is the input file"},
        {{"rekey", "r.t04", "x.t04", "--id", kNewId, "--new-id", kId}, "wrong identifier"},
        {{"rekey", "lodged.t04", "x.t04", "--id", kId, "--new-id", kNewId}, "lodged and locked"},
        {{"decrypt", "missing.t04", "x.bin", "--id", kId}, "missing.t04"},
        {{"encrypt", "short.t04", "other.t04", "--id", kId}, "other.t04 already exists"},
    };
    for (const auto& c : cases) {
        std::ostringstream trace;
        for (const auto& a : c.args)
            trace << '[' << a << "] ";
        SCOPED_TRACE(trace.str());
        const auto r = cgtRun(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with("cgt: ")) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.err.ends_with("\n")) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(CgtToolTest, ShippedSampleLoads) {
    const auto bytes = ReadBytes(CGT_SAMPLE_RETURN);
    ASSERT_FALSE(bytes.empty()) << CGT_SAMPLE_RETURN;
    const auto r = cgtRun({"dump", CGT_SAMPLE_RETURN, "--json", "--id", "123 456 782"});
    ExpectSuccessWithoutMessages(r);
    EXPECT_NE(r.out.find(JsonField(1, "dtString", "\"123 456 782\"")), std::string::npos);
    EXPECT_EQ(ReadBytes(CGT_SAMPLE_RETURN), bytes);
}

// ---- cgt compute --------------------------------------------------------------------------------

// An event row as its screens leave it, stored with PutRow.
struct EventRow {
    int worksheet;
    int row;
    const char* name;
    const char* type;
    const char* acquired;
    const char* eventDate;
    Extended proceeds;
    const char* purchase; // the amount of a purchase on the acquisition date; "" none
};

void StoreEvent(const EventRow& e, const std::function<void()>& more = {}) {
    using namespace tag::event;
    ZeroFillScratchTags();
    SetFieldStr(kName, e.name);
    SetFieldStr(kAssetType, e.type);
    SetFieldStr(kAcquisitionDate, e.acquired);
    SetFieldStr(kEventDate, e.eventDate);
    SetFieldVal(kCapitalProceeds, e.proceeds);
    if (*e.purchase)
        SetFieldLst(kCostElements, std::make_shared<StringList>(
                                       StringList{"1 - Purchase/Acquisition cost", e.acquired,
                                                  e.acquired, "Purchase", e.purchase, "", "", ""}));
    if (more) more();
    PutRow(e.worksheet, e.row);
}

class CgtComputeTest : public CgtToolTest {
protected:
    // Events of four worksheets with stale results, and a right, which has no gain worksheet.
    std::string saveEvents(const std::string& name) {
        using namespace tag::event;
        ResetModuleRun();
        cgt::Run().HostIdentifier = kId;
        SetFieldStr(tag::kIdentifier, kId);
        // Row 2 first in the list: the events still come in row order.
        StoreEvent({wkShares, 2, "Telstra shares", "SN", "01/03/1995", "15/02/2004", 4000, "5000"});
        StoreEvent({wkShares, 1, "BHP shares", "SN", "01/03/1995", "15/02/2004", 10000, ""}, [] {
            SetFieldStr(kCostBaseDate, "01/10/1999");
            SetFieldVal(kSectionTwoIndexed, 6000);
            SetFieldVal(kSectionTwoNonIndexed, 5000);
            SetFieldVal(kSectionTwoReduced, 5000);
            SetFieldVal(kIndexedGain, 999); // a stale result
        });
        StoreEvent({wkPersonalUse, 1, "Boat", "P", "01/03/1995", "15/02/2004", 3000, "5000"});
        StoreEvent(
            {wkDepreciating, 1, "Delivery van", "ON", "01/07/2001", "01/03/2004", 6000, "5000"},
            [] {
                SetFieldVal(kDepreciatingCost, 10000);
                SetFieldVal(kTaxableUsePercent, 40);
            });
        StoreEvent({wkRights, 1, "Option", "OA", "01/03/1995", "15/02/2004", 700, ""},
                   [] { SetFieldVal(kOtherGain, 700); });
        const std::string path = work.file(name);
        EXPECT_EQ(SaveDataFile(path), SaveStatus::Saved);
        return path;
    }
};

TEST_F(CgtComputeTest, PrintsEveryRecomputedEventAsJsonAndChangesNothingWithoutWrite) {
    saveEvents("r.t04");
    const auto before = snapshot();
    const auto r = cgtRun({"compute", "r.t04", "--id", kId, "--json"});
    ExpectSuccessWithoutMessages(r);
    EXPECT_EQ(
        r.out.substr(0, r.out.find("\"refused\"")),
        "{\n"
        "  \"events\": [\n"
        "    {\"worksheet\": 451, \"row\": 1, \"name\": \"BHP shares\", \"type\": \"SN\", "
        "\"indexed_gain\": 4000, \"discount_gain\": 5000, \"other_gain\": null, "
        "\"capital_loss\": null, \"cost_base_non_indexed\": 5000, \"cost_base_indexed\": 6000, "
        "\"reduced_cost_base\": 5000, \"messages\": [\"Later in the interview you will be "
        "required to choose between the indexed and discount gain.\"]},\n"
        "    {\"worksheet\": 451, \"row\": 2, \"name\": \"Telstra shares\", \"type\": \"SN\", "
        "\"indexed_gain\": 0, \"discount_gain\": 0, \"other_gain\": null, "
        "\"capital_loss\": 1000, \"cost_base_non_indexed\": 5000, \"cost_base_indexed\": 5380, "
        "\"reduced_cost_base\": 5000, \"messages\": []},\n"
        "    {\"worksheet\": 455, \"row\": 1, \"name\": \"Boat\", \"type\": \"P\", "
        "\"indexed_gain\": 0, \"discount_gain\": 0, \"other_gain\": null, "
        "\"capital_loss\": 0, \"cost_base_non_indexed\": 5000, \"cost_base_indexed\": 5380, "
        "\"reduced_cost_base\": 5000, \"messages\": [\"You have no gain or loss in respect of "
        "this CGT event\"]},\n"
        "    {\"worksheet\": 458, \"row\": 1, \"name\": \"Delivery van\", \"type\": \"ON\", "
        "\"indexed_gain\": null, \"discount_gain\": null, \"other_gain\": null, "
        "\"capital_loss\": 2400, \"cost_base_non_indexed\": 5000, \"cost_base_indexed\": 5000, "
        "\"reduced_cost_base\": 5000, \"messages\": []}\n"
        "  ],\n"
        "  \"choice_table\": [\n"
        "    {\"worksheet\": 451, \"index\": 1, \"code\": \"C\", \"description\": \"BHP shares - "
        "Disposal\", \"type\": \"SN\", \"indexed\": 4000, \"discount\": 5000, \"method\": \"\", "
        "\"other\": null, \"loss\": null, \"deferred\": false, \"collectable_loss_applied\": "
        "null, \"other_loss_applied\": null, \"net_gain\": null},\n"
        "    {\"worksheet\": 451, \"index\": 2, \"code\": \"C\", \"description\": \"Telstra shares "
        "- Disposal\", \"type\": \"SN\", \"indexed\": 0, \"discount\": 0, \"method\": \"\", "
        "\"other\": null, \"loss\": 1000, \"deferred\": false, \"collectable_loss_applied\": "
        "null, \"other_loss_applied\": null, \"net_gain\": null},\n"
        "    {\"worksheet\": 455, \"index\": 1, \"code\": \"C\", \"description\": \"Boat - "
        "Disposal\", \"type\": \"P\", \"indexed\": 0, \"discount\": 0, \"method\": \"\", "
        "\"other\": null, \"loss\": 0, \"deferred\": false, \"collectable_loss_applied\": "
        "null, \"other_loss_applied\": null, \"net_gain\": null},\n"
        "    {\"worksheet\": 458, \"index\": 1, \"code\": \"C\", \"description\": \"Delivery van "
        "- Disposal\", \"type\": \"ON\", \"indexed\": null, \"discount\": null, \"method\": "
        "\"\", \"other\": null, \"loss\": 2400, \"deferred\": false, "
        "\"collectable_loss_applied\": null, \"other_loss_applied\": null, \"net_gain\": "
        "null}\n"
        "  ],\n"
        "  ");
    // Without the automatic choices the method is still to be chosen: the table refuses.
    EXPECT_NE(r.out.find("  \"refused\": \"You must choose the method you wish to use.\",\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(snapshot(), before);

    const auto summary = cgtRun({"compute", "r.t04", "--id", kId, "--auto"});
    ExpectSuccessWithoutMessages(summary);
    EXPECT_EQ(summary.out,
              "451 row 1 BHP shares (SN): indexed gain 4000, discount gain 5000, other gain -, "
              "capital loss -\n"
              "451 row 2 Telstra shares (SN): indexed gain 0, discount gain 0, other gain -, "
              "capital loss 1000\n"
              "455 row 1 Boat (P): indexed gain 0, discount gain 0, other gain -, capital loss 0\n"
              "458 row 1 Delivery van (ON): indexed gain -, discount gain -, other gain -, "
              "capital loss 2400\n"
              "4 events recomputed\n"
              "choice BHP shares - Disposal (SN): indexed 4000, discount 5000, method Indexed, "
              "other -, loss -, collectable losses applied -, other losses applied 3400, net "
              "gain 600.00\n"
              "choice Telstra shares - Disposal (SN): indexed 0, discount 0, method -, other -, "
              "loss 1000, collectable losses applied -, other losses applied -, net gain -\n"
              "choice Boat - Disposal (P): indexed 0, discount 0, method -, other -, loss 0, "
              "collectable losses applied -, other losses applied -, net gain -\n"
              "choice Delivery van - Disposal (ON): indexed -, discount -, method -, other -, "
              "loss 2400, collectable losses applied -, other losses applied -, net gain -\n"
              // The losses 1000 + 2400 against BHP: (5000 − 3400) ÷ 2 = 800 > 4000 − 3400, so
              // indexed, and 600 is left.
              "net capital gain 600\n"
              "schedule 711: 4000\nschedule 732: 4000\nschedule 735: 1000\nschedule 737: 2400\n"
              "schedule 738: 3400\nschedule 739: 3400\nschedule 742: 3400\n"
              "schedule 1101: 3400\nschedule 1104: 3400\nschedule 1105: 600\n"
              "schedule 1111: 600\nschedule 1128: 600\nschedule 1131: 600\n");
    EXPECT_EQ(snapshot(), before);
}

// The automatic choices as JSON: the choice table with its choices and applied losses, the whole
// schedule and the three results, against the figures worked by hand above.
TEST_F(CgtComputeTest, AutoChoicesPrintTheTableScheduleAndResults) {
    saveEvents("r.t04");
    const auto r = cgtRun({"compute", "r.t04", "--id", kId, "--auto", "--json"});
    ExpectSuccessWithoutMessages(r);
    const std::string_view expected[] = {
        "{\"worksheet\": 451, \"index\": 1, \"code\": \"C\", \"description\": \"BHP shares - "
        "Disposal\", \"type\": \"SN\", \"indexed\": 4000, \"discount\": 5000, \"method\": "
        "\"Indexed\", \"other\": null, \"loss\": null, \"deferred\": false, "
        "\"collectable_loss_applied\": null, \"other_loss_applied\": 3400, \"net_gain\": "
        "600.00}",
        "  \"refused\": null,\n  \"schedule\": {\"711\": 4000, \"712\": 0, ",
        "\"732\": 4000, \"733\": 0, \"734\": 0, \"735\": 1000, \"736\": 0, \"737\": 2400, "
        "\"738\": 3400, \"739\": 3400, \"740\": 0, \"741\": 0, \"742\": 3400, \"743\": 0, ",
        "\"1104\": 3400, \"1105\": 600, ",
        "\"1131\": 600, \"1132\": 0, \"1133\": 0, \"1134\": 0, \"1135\": \"\", \"1136\": false, "
        "\"1167\": false, \"1137\": 0, \"1138\": 0, \"1139\": 0},\n"
        "  \"net_capital_gain\": 600,\n"
        "  \"total_current_year_capital_gains\": 4000,\n"
        "  \"unapplied_losses_carried_forward\": 0\n}\n",
    };
    for (std::string_view part : expected)
        EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
}

TEST_F(CgtComputeTest, WriteStoresTheResultsInTheRowsAsTheModuleSaves) {
    const std::string path = saveEvents("r.t04");
    const auto r = cgtRun({"compute", "r.t04", "--id", kId, "--write", "--json"});
    ExpectSuccessWithoutMessages(r);
    EXPECT_EQ(work.names(), (std::vector<std::string>{"r.BAK", "r.t04"}));

    ResetModuleRun();
    cgt::Run().HostIdentifier = kId;
    ASSERT_EQ(LoadDataFile(path), LoadStatus::Loaded);
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldVal(tag::event::kIndexedGain), 4000);
    EXPECT_EQ(GetFieldVal(tag::event::kDiscountGain), 5000);
    EXPECT_EQ(GetFieldStr(tag::event::kName), "BHP shares");
    FetchRow(wkRights, 1); // not a gain worksheet: as it was
    EXPECT_EQ(GetFieldVal(tag::event::kOtherGain), 700);
    // The recomputed return recomputes to the same.
    const auto again = cgtRun({"compute", "r.t04", "--id", kId, "--json"});
    ExpectSuccessWithoutMessages(again);
    EXPECT_EQ(again.out, r.out);
}

// Two lines of the manual table: a parcel of shares whose method is to be chosen (indexed
// 1,000, discount 1,500) beside an active asset's other gain of 1,000; and 1,000 of earlier
// years' other losses. Making all choices takes the indexed gain and spends the losses on it:
// 0 + 1,000 = 1,000. The lowest takes the discount (1,500 / 2 = 750) and puts the losses on the
// other gain: 750 + 0 = 750.
std::string SaveLowerThanAllChoices(const std::string& path) {
    ResetModuleRun();
    cgt::Run().HostIdentifier = kId;
    SetFieldStr(tag::kIdentifier, kId);
    auto lines = std::make_shared<StringList>();
    for (const auto& [description, type, indexed, discount, other] :
         {std::tuple{"Parcel", "SN", "1000", "1500", ""},
          std::tuple{"Shop", "SA", "", "", "1000"}}) {
        StringList cells(kManualCells);
        cells[mcDescription] = description;
        cells[mcType] = type;
        cells[mcIndexed] = indexed;
        cells[mcDiscount] = discount;
        cells[mcOther] = other;
        cells[mcCanDefer] = "No";
        lines->insert(lines->end(), cells.begin(), cells.end());
    }
    SetFieldLst(tag::kManualCalculationTable, lines);
    SetFieldVal(tag::kUnappliedOtherLosses, 1000);
    EXPECT_EQ(SaveDataFile(path), SaveStatus::Saved);
    return path;
}

// --lowest: the choices of the lowest net capital gain, "lowest" in the JSON, and the summary
// says how far below making all choices it is; --auto's JSON has no "lowest".
TEST_F(CgtComputeTest, LowestChoicesGoBelowMakingAllChoices) {
    SaveLowerThanAllChoices(work.file("r.t04"));
    const auto before = snapshot();
    const auto lowest = cgtRun({"compute", "r.t04", "--id", kId, "--lowest", "--json"});
    ExpectSuccessWithoutMessages(lowest);
    const std::string_view expected[] = {
        "\"description\": \"Parcel\", \"type\": \"SN\", \"indexed\": 1000, \"discount\": 1500, "
        "\"method\": \"Discount\", \"other\": null, \"loss\": null, \"deferred\": false, "
        "\"collectable_loss_applied\": null, \"other_loss_applied\": null, \"net_gain\": 750.00}",
        "\"description\": \"Shop\", \"type\": \"SA\", \"indexed\": null, \"discount\": null, "
        "\"method\": \"\", \"other\": 1000, \"loss\": null, \"deferred\": false, "
        "\"collectable_loss_applied\": null, \"other_loss_applied\": 1000, \"net_gain\": 0.00}",
        "  \"refused\": null,\n",
        "  \"net_capital_gain\": 750,\n",
        "  \"unapplied_losses_carried_forward\": 0,\n  \"lowest\": true\n}\n",
    };
    for (std::string_view part : expected)
        EXPECT_NE(lowest.out.find(part), std::string::npos) << part << "\n" << lowest.out;

    const auto all = cgtRun({"compute", "r.t04", "--id", kId, "--auto", "--json"});
    ExpectSuccessWithoutMessages(all);
    EXPECT_NE(all.out.find("  \"net_capital_gain\": 1000,\n"), std::string::npos) << all.out;
    EXPECT_EQ(all.out.find("\"lowest\""), std::string::npos) << all.out;

    const auto summary = cgtRun({"compute", "r.t04", "--id", kId, "--lowest"});
    ExpectSuccessWithoutMessages(summary);
    EXPECT_NE(summary.out.find("0 events recomputed\n"
                               "choice Parcel (SN): indexed 1000, discount 1500, method "
                               "Discount, other -, loss -, collectable losses applied -, other "
                               "losses applied -, net gain 750.00\n"
                               "choice Shop (SA): indexed -, discount -, method -, other 1000, "
                               "loss -, collectable losses applied -, other losses applied 1000, "
                               "net gain 0.00\n"
                               "net capital gain 750\n"
                               "the net capital gain is the lowest the rules allow: 250 below "
                               "the 1000 that making all choices gives\n"),
              std::string::npos)
        << summary.out;
    EXPECT_EQ(snapshot(), before);
}

// --lowest --write keeps the lowest choices: computed again from what is stored, the return
// gives the same net capital gain.
TEST_F(CgtComputeTest, LowestWithWriteStoresTheLowestChoices) {
    const std::string path = SaveLowerThanAllChoices(work.file("r.t04"));
    const auto r = cgtRun({"compute", "r.t04", "--id", kId, "--lowest", "--write", "--json"});
    ExpectSuccessWithoutMessages(r);
    EXPECT_EQ(work.names(), (std::vector<std::string>{"r.BAK", "r.t04"}));

    ResetModuleRun();
    cgt::Run().HostIdentifier = kId;
    ASSERT_EQ(LoadDataFile(path), LoadStatus::Loaded);
    const auto lines = GetFieldLst(tag::kManualCalculationTable);
    ASSERT_NE(lines, nullptr);
    ASSERT_EQ(lines->size(), 2u * kManualCells);
    EXPECT_EQ((*lines)[ccMethod], "Discount");
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 750);

    const auto again = cgtRun({"compute", "r.t04", "--id", kId, "--json"});
    ExpectSuccessWithoutMessages(again);
    EXPECT_NE(again.out.find("  \"refused\": null,\n"), std::string::npos) << again.out;
    EXPECT_NE(again.out.find("  \"net_capital_gain\": 750,\n"), std::string::npos) << again.out;
}

// A save that fails leaves the return as it was and prints no results.
TEST_F(CgtComputeTest, AFailedWriteKeepsTheReturnAndPrintsNothing) {
    saveEvents("r.t04");
    std::filesystem::create_directory(work.path() / "r.BAK"); // the old file cannot move there
    const auto before = ReadBytes(work.file("r.t04"));
    const auto r = cgtRun({"compute", "r.t04", "--id", kId, "--write", "--json"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with("cgt: cannot save r.t04")) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(ReadBytes(work.file("r.t04")), before);
    EXPECT_EQ(work.names(), (std::vector<std::string>{"r.BAK", "r.t04"})); // nothing left over
}

TEST_F(CgtComputeTest, AnEventWhoseDateDoesNotConvertIsToldAndLeftCleared) {
    ResetModuleRun();
    cgt::Run().HostIdentifier = kId;
    SetFieldStr(tag::kIdentifier, kId);
    StoreEvent({wkRealEstate, 1, "Unit", "RN", "01/03/1995", "15/02/2004", 90000, "50000"}, [] {
        SetFieldLst(tag::event::kCostElements,
                    std::make_shared<StringList>(StringList{"4 - Capital expenditure", "31/02/2001",
                                                            "", "Kitchen", "9000", "", "", ""}));
        SetFieldVal(tag::event::kDiscountGain, 700);
    });
    ASSERT_EQ(SaveDataFile(work.file("r.t04")), SaveStatus::Saved);
    const auto r = cgtRun({"compute", "r.t04", "--id", kId, "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "cgt: worksheet 454 row 1: '31/02/2001' is not a valid date\n");
    EXPECT_NE(r.out.find("\"name\": \"Unit\", \"type\": \"RN\", \"indexed_gain\": null, "
                         "\"discount_gain\": null, \"other_gain\": null, \"capital_loss\": null"),
              std::string::npos)
        << r.out;
}

} // namespace
} // namespace cgt
