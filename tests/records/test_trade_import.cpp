// Imported events recorded in the shares worksheet: computed as typed events are, kept with
// their source, replaced rather than doubled when the same file is imported again.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/worksheet_kinds.h"
#include "cgt/records/choice_records.h"
#include "cgt/records/event_records.h"
#include "cgt/records/event_worksheets.h"
#include "cgt/records/trade_import.h"
#include "cgt/rules/lowest_matching.h"
#include "cgt/rules/trade_plan.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"
#include "support/store_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

CostElement Element(const char* text, const char* date, Extended amount) {
    CostElement e;
    e.text = text;
    e.entered = true;
    e.dateIncurred = date;
    e.datePaid = date;
    e.amount = amount;
    return e;
}

// 100 shares bought on 01/03/1995 for 5,000 and 50 brokerage, sold on 15/02/2004 for 10,000
// with 30 brokerage.
Event Imported(const char* file, int saleLine) {
    Event e;
    e.kind = wkShares;
    e.name = "BHP 100 shares bought 01/03/1995";
    e.typeCode = "SN";
    e.acquisitionDate = "01/03/1995";
    e.elements = {Element("1 - Purchase/Acquisition cost", "01/03/1995", 5000),
                  Element("2A - Incidentals re holding & acquisition", "01/03/1995", 50),
                  Element("2B - Incidentals re specific CGT event", "15/02/2004", 30)};
    e.eventDate = "15/02/2004";
    e.proceeds = 10000;
    e.rollOver.no = true;
    Trade sale, parcel;
    sale.file = std::string("/home/me/") + file;
    sale.line = saleLine;
    parcel.file = file;
    parcel.line = 3;
    e.importSource = ImportSourceText(sale, parcel);
    return e;
}

std::vector<Event> SharesRows() {
    return ReadStoredEvents(wkShares, wkShares);
}

class TradeImportTest : public StoreTest {};

TEST_F(TradeImportTest, AnImportedEventIsComputedAsATypedOne) {
    const RecordedImport recorded = RecordImportedEvents({Imported("trades.csv", 7)}, {});
    EXPECT_EQ(recorded.added, 1);
    const std::vector<Event> rows = SharesRows();
    ASSERT_EQ(rows.size(), 1u);
    const Event& stored = rows[0];
    EXPECT_EQ(stored.row, 1);
    EXPECT_EQ(stored.importSource, "trades.csv|7|trades.csv:3") << "kept without its folder";
    EXPECT_EQ(stored.elements.size(), 3u);
    EXPECT_EQ(stored.results.discountGain.Amount(), 10000 - 5000 - 50 - 30);
    EXPECT_TRUE(stored.results.indexedGain.AboveNil());

    // Recomputing, as compute does, finds nothing to change.
    const auto before = WorksheetOf(wkShares)->items().size();
    const std::vector<RecomputedEvent> again = RecomputeEvents();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].error, "");
    EXPECT_EQ(WorksheetOf(wkShares)->items().size(), before);
    EXPECT_EQ(SharesRows()[0].results.indexedGain.Stored(), stored.results.indexedGain.Stored());
}

TEST_F(TradeImportTest, ImportingTheSameFileAgainReplacesItsEvents) {
    // A typed event first, then two files' imports.
    ZeroFillScratchTags();
    SetFieldStr(kName, "Typed by hand");
    PutRow(wkShares, 1);
    RecordImportedEvents({Imported("a.csv", 5), Imported("a.csv", 6)}, {"a.csv"});
    RecordImportedEvents({Imported("b.csv", 4)}, {"b.csv"});
    ASSERT_EQ(SharesRows().size(), 4u);

    const RecordedImport again =
        RecordImportedEvents({Imported("a.csv", 5), Imported("a.csv", 6)}, {"/elsewhere/a.csv"});
    EXPECT_EQ(again.replaced, 2);
    EXPECT_EQ(again.added, 2);
    std::vector<std::string> sources;
    for (const Event& e : SharesRows())
        sources.push_back(e.name == "Typed by hand" ? "typed" : e.importSource);
    EXPECT_EQ(sources, (std::vector<std::string>{"typed", "b.csv|4|b.csv:3", "a.csv|5|a.csv:3",
                                                 "a.csv|6|a.csv:3"}));
}

// The lowest-gain matching weighs events it works out without the store: their rows of the
// choice table must be those that recording them gives. Parcels of 1995 (indexed or discount),
// of 2002 (a loss) and of 2003 (held under a year).
constexpr const char* kThreeParcels = "date,code,side,quantity,price,brokerage\n"
                                      "05/03/1995,BHP,Buy,1000,12.50,49.95\n"
                                      "2002-01-10,BHP,Buy,300,19.00,29.95\n"
                                      "2003-05-15,BHP,Buy,400,13.20,29.95\n"
                                      "2003-11-20,BHP,Sell,1600,14.10,39.95\n";

TEST_F(TradeImportTest, EventsWorkedOutAloneGiveTheRowsThatRecordingGives) {
    const TradePlan plan = PlanTradeImport({{"t.csv", kThreeParcels}}, MatchMethod::Fifo);
    ASSERT_TRUE(plan.refused.empty());
    ChoiceTable alone;
    for (const TradeMatch& match : plan.matches)
        if (MakesEvent(match)) AddEventToTable(alone, ComputedEventOfMatch(match));
    RecordImportedEvents(plan.events, {"t.csv"});
    const ChoiceTable stored = BuildStoredChoiceTable();
    ASSERT_EQ(alone.rows.size(), 3u);
    ASSERT_EQ(stored.rows.size(), alone.rows.size());
    for (std::size_t i = 0; i < alone.rows.size(); ++i) {
        SCOPED_TRACE(alone.rows[i].description);
        for (auto cell :
             {&ChoiceRow::indexed, &ChoiceRow::discount, &ChoiceRow::other, &ChoiceRow::loss})
            EXPECT_EQ((alone.rows[i].*cell).Text(), (stored.rows[i].*cell).Text());
        EXPECT_EQ(alone.rows[i].choiceRequired, stored.rows[i].choiceRequired);
    }
}

// Planning for the lowest leaves out the events of an earlier import of the same files, which
// recording replaces, and weighs the others.
TEST_F(TradeImportTest, TheLowestIsPlannedWithoutTheEventsItReplaces) {
    const std::vector<TradeSource> files = {{"/home/me/t.csv", kThreeParcels}};
    const TradePlan first = PlanImportForReturn(files, MatchMethod::Lowest);
    ASSERT_TRUE(first.refused.empty());
    ASSERT_TRUE(first.lowest);
    RecordImportedEvents(first.events, {"t.csv"});
    const TradePlan again = PlanImportForReturn(files, MatchMethod::Lowest);
    ASSERT_TRUE(again.lowest);
    EXPECT_EQ(again.lowest->netCapitalGain, first.lowest->netCapitalGain);
    // Another file's events are the rest of the return: a gain the matching weighs.
    const TradePlan gains =
        PlanTradeImport({{"gains.csv", "date,code,side,quantity,price,brokerage\n"
                                       "2001-01-10,ABC,Buy,100,10.00,0\n"
                                       "2004-03-15,ABC,Sell,100,200.00,0\n"}},
                        MatchMethod::Fifo);
    RecordImportedEvents(gains.events, {"gains.csv"});
    const TradePlan withGains = PlanImportForReturn(files, MatchMethod::Lowest);
    ASSERT_TRUE(withGains.lowest);
    EXPECT_GT(withGains.lowest->netCapitalGain, first.lowest->netCapitalGain);
}

TEST(ImportSource, FileOfASource) {
    EXPECT_EQ(ImportSourceFile("a.csv|5|a.csv:3"), "a.csv");
    EXPECT_EQ(ImportSourceFile(""), "");
}

} // namespace
} // namespace cgt::test
