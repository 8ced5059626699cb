// The readers of brokers' trade files: each format in the shapes brokers write it, and the
// refusals, each naming the file, the line and what was expected.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "base/dates.h"
#include "cgt/rules/trade_files.h"

namespace cgt {
namespace {

using ::testing::HasSubstr;

// "line CODE dd/mm/yyyy Buy|Sell units value brokerage", amounts in cents.
std::string Describe(const Trade& trade) {
    return std::to_string(trade.line) + " " + trade.code + " " + FormatDate(trade.date) + " " +
           (trade.side == TradeSide::Buy ? "Buy" : "Sell") + " " + std::to_string(trade.units) +
           " " + std::to_string(trade.valueCents) + " " + std::to_string(trade.brokerageCents);
}

struct FileCase {
    std::string name;
    std::string bytes;
    std::vector<std::string> trades; // as Describe writes them
};

void PrintTo(const FileCase& file, std::ostream* out) {
    *out << file.name;
}

const std::string kSummaryHeader =
    "Code,Company,Date,Type,Quantity,Unit Price ($),Trade Value ($),Brokerage+GST ($),GST ($),"
    "Contract Note,Total Value ($)";
const std::string kConfirmationsHeader =
    "Confirmation Number,Order Number,Trade Date,Buy/ Sell,Security,Units,Average Price ($),"
    "Brokerage (inc GST.),Net Proceeds ($),Settlement Date,Confirmation Status";
const std::string kTrackerHeader =
    "Market,Code,Name,Type,Date,Quantity,Price *,Brokerage *,Currency,Exchange Rate,Value,,"
    "Comments";
const std::string kPlainHeader = "date,code,side,quantity,price,brokerage";

const std::vector<FileCase> kFiles = {
    {"SummaryWithTitlesTotalsDisclaimerAndGlossary",
     "Transaction Summary\r\n"
     "\"Account: 1234567\",\"J CITIZEN\"\r\n"
     "\"Period: 01/07/2003 - 30/06/2004\"\r\n"
     "\r\n" +
         kSummaryHeader + "\r\n" +
         "\"BHP\",\"BHP BILLITON LIMITED\",12/08/2003,\"Buy\",\"1,000\",\"10.50\",\"10,500.00\","
         "\"32.95\",\"3.00\",\"C1001\",\"10,532.95\"\r\n"
         "\"tls \",\"TELSTRA CORPORATION\",05/01/2004,\"Sell\",\"-2,500\",\"4.12\","
         "\"-10,300.00\",\"30.00\",\"2.73\",\"C1002\",\"-10,270.00\"\r\n"
         ",,,,,,,,,\"Total Buys\",\"10,532.95\"\r\n"
         ",,,,,,,,,\"Total Sells\",\"-10,270.00\"\r\n"
         "\r\n"
         "\"Disclaimer:\tthis summary is provided\nfor information only.\r\n"
         "Check your contract notes.\"\r\n"
         "Glossary\r\n"
         "Code,The security's code\r\n",
     {"6 BHP 12/08/2003 Buy 1000 1050000 3295", "7 TLS 05/01/2004 Sell 2500 1030000 3000"}},
    {"SummaryOfAYearWithoutTrades",
     "\xEF\xBB\xBFTransaction Summary\n\n" + kSummaryHeader +
         "\nThere are no transactions on this account.\n,,,,,,,,,Total Buys,0.00\n",
     {}},
    {"SummaryOfAYearWithoutTradesQuotedAndWithoutHeader",
     "Transaction Summary\r\n\"There are no transactions on this account.\"\r\n",
     {}},
    {"ConfirmationsOnlyConfirmedUnpaddedDaysTrailingCommas",
     kConfirmationsHeader + ",\n" +
         "80415128,N95343577,6/11/2003,B,WLE,862,1.160,10.00,1009.92,10/11/2003,Confirmed,\n"
         "80415129,N95343578,7/11/2003,B,WLE,0,1.200,10.00,bad,11/11/2003,Cancelled,\n"
         "80415130,N95343579,3/02/2004,S,auz,2335,0.015,4.99,30.04,5/02/2004,Confirmed,\n"
         // An average price of several fills: the net proceeds give the value to the cent.
         "80415131,N95343580,16/03/2004,B,LYC,\"10,000\",1.234,19.95,\"12,363.65\",18/03/2004,"
         "confirmed,\n"
         "80415132,N95343581,17/03/2004,S,LYC,10,2.00,5.00,,19/03/2004,Confirmed\n",
     {"2 WLE 06/11/2003 Buy 862 99992 1000", "4 AUZ 03/02/2004 Sell 2335 3503 499",
      "5 LYC 16/03/2004 Buy 10000 1234370 1995", "6 LYC 17/03/2004 Sell 10 2000 500"}},
    {"TrackerWithTitleAndCarriageReturns",
     "J Citizen - All Trades Report\r\r" + kTrackerHeader + "\r" +
         "ASX,CBA,Commonwealth Bank,Buy,15/09/2003,200,28.3350,29.95,AUD,1.0,\"5,696.95\",,First "
         "parcel\r"
         "ASX,CBA,Commonwealth Bank,Sell,2/04/2004,-150,31.10,29.95,AUD,1.0,\"-4,635.05\",,\r",
     {"4 CBA 15/09/2003 Buy 200 566700 2995", "5 CBA 02/04/2004 Sell 150 466500 2995"}},
    {"TrackerWithLaterHeadings",
     "Portfolio - All Trades Report between 2003-07-01 and 2004-06-30\n\n"
     "Market,Code,Name,Type,Date,Quantity,Price,Instrument Currency,Cost base per share (AUD),"
     "Brokerage,Brokerage Currency,Exchange Rate,Value,,Comments\n"
     "ASX,NAB,National Australia Bank,Buy,2003-10-01,50,29.001,AUD,29.001,,,1.0,\"1,450.05\",,\n"
     "ASX,NAB,National Australia Bank,Sell,20/05/2004,\xE2\x88\x92"
     "20,30.00,aud,,19.95,AUD,1.0,\"\xE2\x88\x92"
     "580.05\",,\n",
     {"4 NAB 01/10/2003 Buy 50 145005 0", "5 NAB 20/05/2004 Sell 20 60000 1995"}},
    {"PlainWithCommentsBlankLinesAndBothDateForms",
     "# my trades\n" + kPlainHeader + "\n\n" +
         "01/08/2003, bhp ,buy,100,\"$1,234.50\",19.95\n"
         "# sold some\n"
         "2004-02-29,BHP,SELL,40,1300.125,$19.95\r\n"
         // 3 x 0.335 = 1.005: the half cent rounds up.
         "30/06/2004,ABC,Sell,3,0.335,",
     {"4 BHP 01/08/2003 Buy 100 12345000 1995", "6 BHP 29/02/2004 Sell 40 5200500 1995",
      "7 ABC 30/06/2004 Sell 3 101 0"}},
};

class ReadsFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(ReadsFile, IntoTrades) {
    const FileCase& file = GetParam();
    const TradeFile read = ReadTradeFile("trades.csv", file.bytes);
    ASSERT_FALSE(read.refused.has_value()) << read.refused->Text();
    std::vector<std::string> trades;
    for (const Trade& trade : read.trades) {
        EXPECT_EQ(trade.file, "trades.csv");
        trades.push_back(Describe(trade));
    }
    EXPECT_EQ(trades, file.trades);
}

INSTANTIATE_TEST_SUITE_P(Formats, ReadsFile, ::testing::ValuesIn(kFiles),
                         [](const auto& info) { return info.param.name; });

struct RefusalCase {
    std::string name;
    std::string bytes;
    std::string text; // the refusal's Text(), for the file "f.csv"
};

void PrintTo(const RefusalCase& refusal, std::ostream* out) {
    *out << refusal.name;
}

const std::string kGoodPlainRow = "01/08/2003,BHP,Buy,100,12.00,19.95\n";

const std::vector<RefusalCase> kRefusals = {
    {"NoSuchDay", kPlainHeader + "\n" + kGoodPlainRow + "31/02/2004,BHP,Buy,10,1.00,0\n",
     "f.csv:3: \"date\" is \"31/02/2004\": expected a date dd/mm/yyyy or yyyy-mm-dd"},
    {"TwoDigitYear", kPlainHeader + "\n1/8/03,BHP,Buy,10,1.00,0\n",
     "f.csv:2: \"date\" is \"1/8/03\": expected a date dd/mm/yyyy or yyyy-mm-dd"},
    {"BadNumber", kPlainHeader + "\n1/08/2003,BHP,Buy,10,1.2.3,0\n",
     "f.csv:2: \"price\" is \"1.2.3\": expected a price"},
    {"UnknownSide", kPlainHeader + "\n1/08/2003,BHP,Hold,10,1.00,0\n",
     "f.csv:2: \"side\" is \"Hold\": expected Buy or Sell"},
    {"ZeroUnits", kPlainHeader + "\n1/08/2003,BHP,Buy,0,1.00,0\n",
     "f.csv:2: \"quantity\" is \"0\": expected a number of units above 0"},
    {"PartUnits", kPlainHeader + "\n1/08/2003,BHP,Buy,10.5,1.00,0\n",
     "f.csv:2: \"quantity\" is \"10.5\": expected a whole number of units"},
    {"NegativePrice", kPlainHeader + "\n1/08/2003,BHP,Buy,10,-1.00,0\n",
     "f.csv:2: \"price\" is \"-1.00\": expected a price not below 0"},
    {"MissingFields", kPlainHeader + "\n" + kGoodPlainRow + "1/08/2003,BHP,Buy\n",
     "f.csv:3: the field \"quantity\" is missing: expected 4 fields or more, found 3"},
    {"NoCode", kPlainHeader + "\n1/08/2003, ,Buy,10,1.00,0\n",
     "f.csv:2: \"code\" is \"\": expected the security's code"},
    {"UnclosedQuote", kPlainHeader + "\n" + kGoodPlainRow + "1/08/2003,\"BHP,Buy,10,1.00,0\n",
     "f.csv:3: a quoted field opened on this line is not closed: expected a closing quote (\") "
     "before the end of the file"},
    {"OtherCurrency",
     "Report\n\n" + kTrackerHeader + "\nASX,BHP,BHP,Buy,1/08/2003,10,1.00,0,AUD,1,10,,\n" +
         "NYSE,IBM,IBM,Buy,2/08/2003,10,80.00,0,USD,0.65,800,,\n",
     "f.csv:5: \"Currency\" is \"USD\": expected AUD: trades in other currencies are not "
     "converted"},
    {"BrokerageInOtherCurrency",
     "Market,Code,Name,Type,Date,Quantity,Price,Instrument Currency,Brokerage,Brokerage "
     "Currency,Exchange Rate,Value,,Comments\n"
     "ASX,BHP,BHP,Buy,1/08/2003,10,1.00,AUD,5.00,USD,1,10,,\n",
     "f.csv:2: \"Brokerage Currency\" is \"USD\": expected AUD: trades in other currencies are "
     "not converted"},
    {"TrackerSplit", kTrackerHeader + "\nASX,BHP,BHP,Split,1/08/2003,10,0,0,AUD,1,0,,\n",
     "f.csv:2: \"Type\" is \"Split\": expected Buy or Sell"},
    {"ConfirmationSide",
     kConfirmationsHeader + "\n1,N1,6/11/2003,X,WLE,862,1.160,10.00,1009.92,10/11/2003,Confirmed\n",
     "f.csv:2: \"Buy/ Sell\" is \"X\": expected B or S"},
    {"NetProceedsDisagree",
     kConfirmationsHeader + "\n1,N1,6/11/2003,B,WLE,100,1.200,10.00,150.00,10/11/2003,Confirmed\n",
     "f.csv:2: \"Net Proceeds ($)\" is \"150.00\": expected about 130.00, the units times the "
     "average price plus the brokerage"},
    {"MisplacedThousandsSeparator",
     kSummaryHeader + "\r\n\"BHP\",\"BHP\",12/08/2003,\"Buy\",\"1,00\",\"10.50\",\"10.50\","
                      "\"0\",\"0\",\"C1\",\"10.50\"\r\n",
     "f.csv:2: \"Quantity\" is \"1,00\": expected a number of units"},
    {"SummaryLineCountsTheLinesOfAQuotedTitle",
     "\"Transaction Summary\r\nJ CITIZEN\nAccount 1234567\"\r\n" + kSummaryHeader +
         "\r\n\"BHP\",\"BHP\",12/08/2003,\"Buy\",\"10\",\"10.50\",\"105.00\",\"0\",\"0\",\"C1\","
         "\"105.00\"\r\n"
         "\"BHP\",\"BHP\",1/13/2003,\"Sell\",\"-10\",\"10.50\",\"-105.00\",\"0\",\"0\",\"C2\","
         "\"-105.00\"\r\n",
     "f.csv:6: \"Date\" is \"1/13/2003\": expected a date dd/mm/yyyy or yyyy-mm-dd"},
    {"SummaryRowWithoutCodeIsNoTotal",
     kSummaryHeader + "\n\"\",\"BHP\",12/08/2003,\"Buy\",\"10\",\"10.50\",\"105.00\",\"0\",\"0\","
                      "\"C1\",\"105.00\"\n,,,,,,,,,Total Buys,105.00\n",
     "f.csv:2: \"Code\" is \"\": expected the security's code"},
    {"SummaryWithoutTradeValue",
     kSummaryHeader + "\n\"BHP\",\"BHP\",12/08/2003,\"Buy\",\"10\",\"10.50\",\"\",\"0\",\"0\","
                      "\"C1\",\"105.00\"\n",
     "f.csv:2: \"Trade Value ($)\" is \"\": expected the trade value"},
    {"CarriageReturnsOnly", "# mine\r" + kPlainHeader + "\r" + "1/08/2003,BHP,Buy,10,1.00,x\r",
     "f.csv:3: \"brokerage\" is \"x\": expected an amount"},
};

class RefusesFile : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusesFile, NamingTheLineAndWhatWasExpected) {
    const RefusalCase& refusal = GetParam();
    const TradeFile read = ReadTradeFile("f.csv", refusal.bytes);
    ASSERT_TRUE(read.refused.has_value());
    EXPECT_EQ(read.refused->Text(), refusal.text);
    EXPECT_TRUE(read.trades.empty()) << "one refusal refuses the whole file";
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusesFile, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return info.param.name; });

TEST(TradeFiles, WithoutAKnownHeaderIsRefusedNamingTheHeaders) {
    for (const std::string bytes : {"", "Date,Code,Action,Units\n1/08/2003,BHP,Buy,10\n"}) {
        const TradeFile read = ReadTradeFile("f.csv", bytes);
        ASSERT_TRUE(read.refused.has_value());
        EXPECT_EQ(read.refused->line, 0);
        for (const std::string& header :
             {kSummaryHeader, kConfirmationsHeader, kTrackerHeader, kPlainHeader})
            EXPECT_THAT(read.refused->message, HasSubstr("\"" + header + "\""));
    }
}

TEST(TradeFiles, CsvRecordsKeepQuotesLineEndsAndTheirFirstLine) {
    const CsvText csv = ReadCsvRecords("a,\"b \"\"c\"\", d\",\r\n\"x\r\ny\nz\"\rlast");
    ASSERT_EQ(csv.records.size(), 3U);
    EXPECT_EQ(csv.records[0].fields, (std::vector<std::string>{"a", "b \"c\", d", ""}));
    EXPECT_EQ(csv.records[1].fields, (std::vector<std::string>{"x\r\ny\nz"}));
    EXPECT_EQ(csv.records[1].line, 2);
    EXPECT_EQ(csv.records[2].line, 5);
    EXPECT_FALSE(csv.unclosedQuoteLine.has_value());
}

TEST(TradeFiles, TradeDates) {
    struct DateCase {
        std::string text;
        std::string date; // "" for no date
    };
    const std::vector<DateCase> cases = {
        {"6/11/2003", "06/11/2003"},
        {"06/11/2003", "06/11/2003"},
        {" 1/7/2003 ", "01/07/2003"},
        {"2004-02-29", "29/02/2004"},
        {"2003-02-29", ""},
        {"6/11/03", ""},
        {"123/11/2003", ""},
        {"6-11-2003", ""},
        {"6/11/2003/1", ""},
        {"6/11/2003 10:00", ""},
        {"", ""},
        {"//2003", ""},
    };
    for (const DateCase& c : cases) {
        const std::optional<DateTime> date = ParseTradeDate(c.text);
        EXPECT_EQ(date ? FormatDate(*date) : "", c.date) << c.text;
    }
}

} // namespace
} // namespace cgt
