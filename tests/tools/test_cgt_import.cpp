// `cgt import` as a user runs it: trades of brokers' files recorded as shares events, worked out
// by hand through `cgt compute`, imported again without doubles, and refused input leaving the
// return as it was.

#include "cgt_process.h"
#include "support/sample_store.h"
#include "support/store_fixture.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace cgt {
namespace {

using test::ReadBytes;
using test::TempFolder;

const std::string kId = test::kSampleIdentifier;

// 1,000 BHP bought in 1995 and 400 in May 2003; 1,100 sold in November 2003, so that first in
// first out takes all of the 1995 parcel and 100 of the 2003 one.
constexpr const char* kPlainTrades = "# trades\r\n"
                                     "date,code,side,quantity,price,brokerage\r\n"
                                     "05/03/1995,BHP,Buy,1000,12.50,49.95\r\n"
                                     "2003-05-15,BHP,Buy,400,13.20,29.95\r\n"
                                     "2003-11-20,BHP,Sell,1100,14.10,39.95\r\n";

class CgtImportTest : public test::StoreTest {
protected:
    test::CgtOutcome cgtRun(const std::vector<std::string>& args) {
        return test::RunCgt(args, work.path(), capture);
    }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(work.file(name), std::ios::binary) << text;
    }
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_EQ(cgtRun({"new", "r.t04", "--id", kId}).status, 0);
        write("trades.csv", kPlainTrades);
    }
    // How many times the text occurs in the recomputed return's JSON.
    int countInCompute(const std::string& text) {
        const auto r = cgtRun({"compute", "r.t04", "--id", kId, "--json"});
        EXPECT_EQ(r.status, 0) << r.err;
        int count = 0;
        for (std::size_t at = r.out.find(text); at != std::string::npos;
             at = r.out.find(text, at + 1))
            ++count;
        return count;
    }

    TempFolder work;
    TempFolder capture;
};

TEST_F(CgtImportTest, RecordsEachMatchAsAnEventWorkedOutByHand) {
    const auto r = cgtRun({"import", "r.t04", "--id", kId, "trades.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // The sale of 1,100 at 14.10 with 39.95 brokerage: 1,000 from the 1995 parcel, 100 from the
    // 2003 one; the sale's brokerage split 36.32 (39.95 x 1,000 / 1,100, to the cent) and the
    // remainder 3.63; the 2003 parcel's 29.95 split 7.49 for 100 of 400.
    EXPECT_NE(r.out.find("BHP: 1000 sold 20/11/2003 (trades.csv:5) from the parcel bought "
                         "05/03/1995 (trades.csv:3): proceeds 14100.00, cost 12500.00, brokerage "
                         "49.95 + 36.32, fifo"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("BHP: 100 sold 20/11/2003 (trades.csv:5) from the parcel bought "
                         "15/05/2003 (trades.csv:4): proceeds 1410.00, cost 1320.00, brokerage "
                         "7.49 + 3.63, fifo"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("2 events recorded"), std::string::npos) << r.out;

    const auto computed = cgtRun({"compute", "r.t04", "--id", kId, "--json"});
    ASSERT_EQ(computed.status, 0) << computed.err;
    // Cost base 12,500 + 49.95 + 36.32 = 12,586.27: discount gain 14,100 - 12,586.27 = 1,513.73.
    // Indexed from March 1995 (114.7) to September 1999 (123.4), factor 1.076: (12,500 + 49.95)
    // x 1.076 + 36.32 = 13,540.07, gain 559.93.
    EXPECT_NE(computed.out.find("\"name\": \"BHP 1000 shares bought 05/03/1995\", \"type\": "
                                "\"SN\", \"indexed_gain\": 560, \"discount_gain\": 1514, "
                                "\"other_gain\": null, \"capital_loss\": null, "
                                "\"cost_base_non_indexed\": 12586, \"cost_base_indexed\": 13540"),
              std::string::npos)
        << computed.out;
    // Held under a year: 1,410 - (1,320 + 7.49 + 3.63) = 78.88, an other gain.
    EXPECT_NE(computed.out.find("\"name\": \"BHP 100 shares bought 15/05/2003\", \"type\": "
                                "\"SN\", \"indexed_gain\": null, \"discount_gain\": null, "
                                "\"other_gain\": 79"),
              std::string::npos)
        << computed.out;
}

// Two brokers over three years: a summary of 2001-03 and plain trades of 2002-04. The sale of
// March 2003 uses 400 of the 2001 parcel and makes no event; the sale of December 2003 takes
// the other 600 of it and 200 of the 2002 parcel; the sale of July 2004 is after the year.
TEST_F(CgtImportTest, TwoBrokersOverThreeYearsGiveTheGainsWorkedByHand) {
    write("broker-a.csv",
          "Trading Account 1234\r\n"
          "Transaction Summary 01/07/2001 - 30/06/2003\r\n"
          "Code,Company,Date,Type,Quantity,Unit Price ($),Trade Value ($),Brokerage+GST ($),GST "
          "($),Contract Note,Total Value ($)\r\n"
          "\"XYZ\",\"XYZ LTD\",10/10/2001,\"Buy\",\"1000\",\"5.00\",\"5,000.00\",\"20.00\","
          "\"1.82\",\"C1\",\"5,020.00\"\r\n"
          "\"XYZ\",\"XYZ LTD\",15/03/2003,\"Sell\",\"-400\",\"6.00\",\"-2,400.00\",\"20.00\","
          "\"1.82\",\"C2\",\"-2,380.00\"\r\n"
          ",,,,,,,,,Total Buys,\"5,020.00\"\r\n");
    write("broker-b.csv", "date,code,side,quantity,price,brokerage\n"
                          "2002-08-01,XYZ,Buy,500,4.00,10.00\n"
                          "2003-12-01,XYZ,Sell,800,7.00,32.00\n"
                          "2004-07-15,XYZ,Sell,200,8.00,10.00\n");
    const auto r = cgtRun({"import", "r.t04", "--id", kId, "broker-b.csv", "broker-a.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2 events recorded"), std::string::npos) << r.out;
    const auto computed = cgtRun({"compute", "r.t04", "--id", kId, "--auto", "--json"});
    ASSERT_EQ(computed.status, 0) << computed.err;
    // 600 of the 2001 parcel: its cost and brokerage left after the March sale took 2,000 and
    // 8.00, 3,000 and 12.00; 600 of the 800 sold for 5,600 with 32 brokerage: 4,200 and 24.00.
    // Bought after September 1999 and held over a year: a discount gain of 4,200 - 3,036.
    EXPECT_NE(computed.out.find("\"name\": \"XYZ 600 shares bought 10/10/2001\", \"type\": "
                                "\"SN\", \"indexed_gain\": null, \"discount_gain\": 1164"),
              std::string::npos)
        << computed.out;
    // 200 of the 2002 parcel: 800 + 4.00 of its brokerage + 8.00 of the sale's, against 1,400.
    EXPECT_NE(computed.out.find("\"name\": \"XYZ 200 shares bought 01/08/2002\", \"type\": "
                                "\"SN\", \"indexed_gain\": null, \"discount_gain\": 588"),
              std::string::npos)
        << computed.out;
    // Half of 1,164 + 588.
    EXPECT_NE(computed.out.find("\"net_capital_gain\": 876"), std::string::npos) << computed.out;
    EXPECT_NE(computed.out.find("\"total_current_year_capital_gains\": 1752"), std::string::npos);
}

TEST_F(CgtImportTest, ImportingAgainReplacesTheEventsAndADryRunRecordsNothing) {
    ASSERT_EQ(cgtRun({"import", "r.t04", "--id", kId, "trades.csv"}).status, 0);
    const auto again = cgtRun({"import", "r.t04", "--id", kId, "trades.csv"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("2 events recorded, 2 of an earlier import replaced"),
              std::string::npos)
        << again.out;
    EXPECT_EQ(countInCompute("\"worksheet\": 451, \"row\""), 2);

    const auto before = ReadBytes(work.file("r.t04"));
    const auto dry = cgtRun({"import", "r.t04", "--id", kId, "trades.csv", "--dry-run", "--json"});
    ASSERT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.out.find("\"dry_run\": true"), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("\"units\": 100, \"proceeds\": 1410.0"), std::string::npos) << dry.out;
    EXPECT_EQ(ReadBytes(work.file("r.t04")), before);
}

TEST_F(CgtImportTest, LastInFirstOutAndNamedParcels) {
    const auto lifo =
        cgtRun({"import", "r.t04", "--id", kId, "trades.csv", "--method", "lifo", "--dry-run"});
    ASSERT_EQ(lifo.status, 0) << lifo.err;
    EXPECT_NE(lifo.out.find("BHP: 400 sold 20/11/2003 (trades.csv:5) from the parcel bought "
                            "15/05/2003"),
              std::string::npos)
        << lifo.out;
    write("parcels.csv", "20/11/2003,BHP,1000,05/03/1995\n");
    const auto named = cgtRun({"import", "r.t04", "--id", kId, "trades.csv", "--method", "lifo",
                               "--parcels", "parcels.csv", "--dry-run"});
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_NE(named.out.find("BHP: 1000 sold 20/11/2003 (trades.csv:5) from the parcel bought "
                             "05/03/1995 (trades.csv:3): proceeds 14100.00, cost 12500.00, "
                             "brokerage 49.95 + 36.32, named"),
              std::string::npos)
        << named.out;
    EXPECT_NE(named.out.find("BHP: 100 sold 20/11/2003 (trades.csv:5) from the parcel bought "
                             "15/05/2003"),
              std::string::npos)
        << named.out;
}

// A sale of 1,000 at $2.50 from a parcel bought at $1 in 2001 or one bought at $3 in 2002:
// first in first out gives a discount gain of $1,500, halved to $750; the dear parcel gives a
// loss of $500, a net capital gain of nil and the loss carried forward.
TEST_F(CgtImportTest, TheLowestNetCapitalGainTakesTheDearParcel) {
    write("dear.csv", "date,code,side,quantity,price,brokerage\n"
                      "2001-01-10,XYZ,Buy,1000,1.00,0\n"
                      "2002-01-10,XYZ,Buy,1000,3.00,0\n"
                      "2004-03-15,XYZ,Sell,1000,2.50,0\n");
    const auto r = cgtRun({"import", "r.t04", "--id", kId, "dear.csv", "--method", "lowest"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("XYZ: 1000 sold 15/03/2004 (dear.csv:4) from the parcel bought "
                         "10/01/2002 (dear.csv:3): proceeds 2500.00, cost 3000.00, brokerage "
                         "0.00 + 0.00, lowest"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Matched for the lowest net capital gain: $0 with the rest of the "
                         "return, $750 below first in, first out."),
              std::string::npos)
        << r.out;
    const auto computed = cgtRun({"compute", "r.t04", "--id", kId, "--lowest", "--json"});
    ASSERT_EQ(computed.status, 0) << computed.err;
    EXPECT_NE(computed.out.find("\"name\": \"XYZ 1000 shares bought 10/01/2002\", \"type\": "
                                "\"SN\", \"indexed_gain\": null, \"discount_gain\": 0, "
                                "\"other_gain\": null, \"capital_loss\": 500"),
              std::string::npos)
        << computed.out;
    EXPECT_NE(computed.out.find("\"net_capital_gain\": 0,"), std::string::npos) << computed.out;
    EXPECT_NE(computed.out.find("\"unapplied_losses_carried_forward\": 500"), std::string::npos);

    const auto json = cgtRun(
        {"import", "r.t04", "--id", kId, "dear.csv", "--method", "lowest", "--dry-run", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"lowest\": {\"net_capital_gain\": 0, "
                            "\"first_in_net_capital_gain\": 750, \"proven\": true}"),
              std::string::npos)
        << json.out;
}

TEST_F(CgtImportTest, RefusedInputChangesNothing) {
    write("bad.csv", "date,code,side,quantity,price,brokerage\n05/03/1995,BHP,Hold,10,1,0\n");
    write("short.csv", "date,code,side,quantity,price,brokerage\n"
                       "2003-11-20,NAB,Sell,40,20.00,9.95\n");
    write("parcels.csv", "20/11/2003,BHP\n");
    write("unknown.csv", "a,b,c\n1,2,3\n");
    const auto before = ReadBytes(work.file("r.t04"));
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const std::vector<Case> cases{
        {{"import", "r.t04", "--id", kId, "bad.csv"}, "bad.csv:2: "},
        {{"import", "r.t04", "--id", kId, "trades.csv", "short.csv"},
         "short.csv:2: sale of 40 NAB"},
        {{"import", "r.t04", "--id", kId, "unknown.csv"}, "unknown.csv: "},
        {{"import", "r.t04", "--id", kId, "missing.csv"}, "cannot read missing.csv"},
        {{"import", "r.t04", "--id", kId, "trades.csv", "--parcels", "parcels.csv"},
         "parcels.csv:1: expected sale date,code,units,parcel date"},
        {{"import", "r.t04", "--id", kId, "trades.csv", "--method", "oldest"}, "unknown --method"},
        {{"import", "r.t04", "--id", "111 111 111", "trades.csv"}, "wrong identifier"},
        {{"import", "r.t04", "--id", kId}, "missing operand"},
        {{"compute", "r.t04", "--id", kId, "--dry-run"}, "--dry-run applies to import only"},
        {{"compute", "r.t04", "--id", kId, "--method", "fifo"}, "--method applies to import only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        const auto r = cgtRun(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(ReadBytes(work.file("r.t04")), before);
    }
    // Both files refused: a line for each, and still nothing changed.
    const auto both = cgtRun({"import", "r.t04", "--id", kId, "bad.csv", "unknown.csv"});
    EXPECT_EQ(both.status, 2);
    EXPECT_EQ(std::count(both.err.begin(), both.err.end(), '\n'), 2) << both.err;
    EXPECT_EQ(ReadBytes(work.file("r.t04")), before);
}

TEST_F(CgtImportTest, AFailedSaveKeepsTheReturn) {
    std::filesystem::create_directory(work.path() / "r.BAK"); // the old file cannot move there
    const auto before = ReadBytes(work.file("r.t04"));
    const auto r = cgtRun({"import", "r.t04", "--id", kId, "trades.csv"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with("cgt: cannot save r.t04")) << r.err;
    EXPECT_EQ(ReadBytes(work.file("r.t04")), before);
}

} // namespace
} // namespace cgt
