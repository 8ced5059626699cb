// Walks the interview path as a user does, answering Yes to every asset class and registering
// two events in each worksheet the path opens.

#include <QCheckBox>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "cgt/screens/events/registration_screen.h"
#include "controls/tax_edit.h"
#include "controls/type_ahead_combo.h"
#include "controls/xgrid.h"
#include "interview/child_form.h"
#include "interview/screen_registry.h"
#include "store/data_file.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"
#include "support/screen_fixture.h"

namespace cgt::test {
namespace {

// Another-event questions: Yes until their class has two events.
const std::map<int, int> kAnotherEvent = {{2017, 1202}, {2030, 1203}, {2041, 1205}, {2051, 1209},
                                          {2061, 1206}, {2071, 1207}, {2081, 1208}, {2098, 1213}};

class InterviewWalkTest : public ScreenTest {
protected:
    static int RowsOf(int tag) {
        const Worksheet* sheet = Store().entry(tag).sheet.get();
        std::set<int> rows;
        if (sheet)
            for (const WorksheetItem& item : sheet->items())
                rows.insert(item.row);
        return static_cast<int>(rows.size());
    }
    static std::vector<std::string> NamesOf(int tag) {
        std::vector<std::string> names;
        if (const Worksheet* sheet = Store().entry(tag).sheet.get())
            for (const WorksheetItem& item : sheet->items())
                if (item.tag == 710) names.push_back(EntryDisplayText(item.entry));
        return names;
    }

    // One step of the user on the current screen.
    void answer() {
        const int now = shown();
        if (auto* r = dynamic_cast<TQCGT_08*>(screen())) {
            r->DescEdit()->setText(QStringLiteral("Event %1.%2").arg(now).arg(++events));
            r->TypeTextComboBox()->setCurrentIndex(0);
            r->DateofAcqEdit()->SetTextValue("01/07/2000");
        } else if (now == 2075 || now == 2097) {
            child<TTaxEdit>("DescEdit")
                ->setText(QStringLiteral("Event %1.%2").arg(now).arg(++events));
            child<TTaxEdit>("ProceedsEdit")->SetTextValue("1000");
            child<TTaxEdit>("CostsEdit")->SetTextValue("250");
            if (auto* no = child<QCheckBox>("Q2NoCheckBox")) no->click();
        }
        if (frame->YesButton()->isVisible()) {
            const auto another = kAnotherEvent.find(now);
            const bool yes = another == kAnotherEvent.end() || RowsOf(another->second) < 2;
            press(yes ? frame->YesButton() : frame->NoButton());
        } else {
            press(frame->NextButton());
        }
    }

    // The events of the return as it stands, saved and recomputed by `cgt compute`.
    static QJsonArray ComputedEvents() {
        TempFolder folder;
        const std::string path = folder.file("walk.TAX");
        cgt::Run().HostIdentifier = "123 456 782";
        EXPECT_EQ(SaveDataFile(path), SaveStatus::Saved);
        QProcess tool;
        tool.start(QStringLiteral(CGT_TOOL_PATH),
                   {QStringLiteral("compute"), QString::fromStdString(path), QStringLiteral("--id"),
                    QStringLiteral("123 456 782"), QStringLiteral("--json")});
        EXPECT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(tool.readAllStandardOutput())
            .object()
            .value("events")
            .toArray();
    }

    int events = 0;
};

TEST_F(InterviewWalkTest, EveryYesLoopRegistersTwoEventsInEachWorksheet) {
    start(2004);
    for (int step = 0; step < 200 && cgt::Run().InScreen && shown() < 2101; ++step)
        answer();
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
    EXPECT_EQ(shown(), 2101);

    for (int tag : {1202, 1203, 1205, 1206, 1207, 1208, 1209, 1213}) {
        SCOPED_TRACE(tag);
        EXPECT_EQ(RowsOf(tag), 2);
        const std::vector<std::string> names = NamesOf(tag);
        ASSERT_EQ(names.size(), 2u);
        EXPECT_NE(names[0], names[1]) << "a second event opened a new row";
    }
    // Each class's events were registered on its own registration screen, in order.
    EXPECT_EQ(NamesOf(1202).front().rfind("Event 2009.", 0), 0u) << NamesOf(1202).front();
    EXPECT_EQ(NamesOf(1209).front().rfind("Event 2045.", 0), 0u) << NamesOf(1209).front();
    EXPECT_EQ(NamesOf(1213).front().rfind("Event 2097.", 0), 0u) << NamesOf(1213).front();
    EXPECT_GE(GetFieldVal(588), 13) << "the progress marker reached the last class";

    // The visits: every registration and detail screen twice, every another-event question
    // twice (Yes, then No).
    std::map<int, int> visits;
    for (std::int32_t screen : cgt::Run().ScreenHistory)
        ++visits[screen];
    for (int screen : {2009, 2022, 2035, 2045, 2055, 2065, 2075, 2097, 2017, 2030, 2041, 2051, 2061,
                       2071, 2081, 2098})
        EXPECT_EQ(visits[screen], 2) << screen;
}

// The Yes-walk through real screens only, recording on the way a return of capital on the first
// share parcel, a tax-deferred distribution on the first trust interest and a trust's capital
// gain. By hand: the parcel cost $10,000 on 01/07/2000; $300 returned on 01/08/2003 leaves cost
// bases of $9,700, and its sale on 10/02/2004 for $12,000 makes a discount gain (before the
// discount) of $2,300. Acquired after 21/09/1999, it has no indexation. The units cost $1,000
// on 01/07/2000; $1,500 tax-deferred paid on 15/03/2004 is a CGT event at 30/06/2004 that
// leaves nil cost bases and a discount gain of this income year of $500.
TEST_F(InterviewWalkTest, TheYesWalkRecordsPaymentsAndATrustDistribution) {
    std::map<int, int> seen;
    const auto firstCost = [&](const char* amount) {
        TXGrid* g = child<TXGrid>("XGrid1");
        ASSERT_NE(g, nullptr);
        g->setCells(0, 1, QStringLiteral("1 - Purchase/Acquisition cost"));
        g->setCells(1, 1, QStringLiteral("01/07/2000"));
        g->setCells(3, 1, QStringLiteral("Purchase"));
        g->setCells(4, 1, QString::fromLatin1(amount));
    };
    start(2004);
    for (int step = 0; step < 220 && cgt::Run().InScreen && shown() < 2102; ++step) {
        const int now = shown();
        SCOPED_TRACE(now);
        const bool first = seen[now]++ == 0;
        TXGrid* g = child<TXGrid>("XGrid1");
        if (first && now == 2011) {
            firstCost("10000");
        } else if (first && now == 2012) {
            g->setCells(0, 1, QStringLiteral("01/08/2003"));
            g->setCells(2, 1, QStringLiteral("Return of capital"));
            g->setCells(3, 1, QStringLiteral("300"));
        } else if (first && now == 2013) {
            type(child<TTaxEdit>("DateofCGTEventEdit"), "10/02/2004");
            type(child<TTaxEdit>("CapitalProceedsEdit"), "12000");
        } else if (first && now == 2014) {
            child<QCheckBox>("Q2NoCheckBox")->click();
        } else if (first && now == 2019) {
            g->setCells(0, 1, QStringLiteral("Example Property Trust"));
            g->setCells(2, 1, QStringLiteral("400"));
        } else if (first && now == 2024) {
            firstCost("1000");
        } else if (first && now == 2025) {
            g->setCells(0, 1, QStringLiteral("15/03/2004"));
            g->setCells(2, 1, QStringLiteral("Distribution"));
            g->setCells(7, 1, QStringLiteral("1500"));
        }
        answer();
    }
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
    ASSERT_EQ(shown(), 2102);
    for (int screen : {2012, 2015, 2019, 2025, 2028})
        EXPECT_GE(seen[screen], 1) << screen << " was walked";
    EXPECT_EQ(seen[2015], 1) << "only the parcel with a payment has a payment summary";

    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldStr(tag::event::kAdjustedCostBaseDate), "01/08/2003");
    EXPECT_EQ(GetFieldVal(tag::event::kAdjustedNonIndexed), 9700);
    EXPECT_EQ(GetFieldVal(tag::event::kAdjustedReduced), 9700);
    EXPECT_EQ(GetFieldVal(tag::event::kDiscountGain), 2300);
    EXPECT_FALSE(FieldChecked(tag::event::kPaymentGainThisYear));
    FetchRow(wkTrustInterests, 1);
    EXPECT_EQ(GetFieldStr(tag::event::kAdjustedCostBaseDate), "30/06/2004");
    EXPECT_TRUE(IsExplicitZero(GetFieldVal(tag::event::kAdjustedNonIndexed)));
    EXPECT_EQ(GetFieldVal(tag::event::kPaymentDiscountGainThisYear), 500);
    EXPECT_TRUE(FieldChecked(tag::event::kPaymentGainThisYear));
    const StringListRef payments = GetFieldLst(tag::event::kPayments);
    ASSERT_TRUE(payments && payments->size() >= 2);
    EXPECT_EQ((*payments)[1], "30/06/2004") << "the derived CGT event date is stored";
    ZeroFillScratchTags();
    const StringListRef trusts = GetFieldLst(tag::kTrustDistributionTable);
    ASSERT_TRUE(trusts && trusts->size() >= 11);
    EXPECT_EQ((*trusts)[0], "Example Property Trust");
    EXPECT_EQ((*trusts)[10], "400") << "the net cell";

    // Recomputed without a window, the parcel's gain starts from its adjusted cost base.
    bool parcel = false;
    for (const QJsonValue& value : ComputedEvents()) {
        const QJsonObject event = value.toObject();
        if (event.value("worksheet").toInt() != wkShares || event.value("row").toInt() != 1)
            continue;
        parcel = true;
        EXPECT_EQ(event.value("discount_gain").toInt(), 2300);
    }
    EXPECT_TRUE(parcel);
}

// A share parcel bought on 15/03/1995 for $10,000 with $100 brokerage and sold on 10/02/2004
// for $16,000 with $120 brokerage, walked from the shares question through its real screens.
// By hand: the March 1995 index number is 114.7 and indexation stops at 123.4, so the factor is
// 123.4 / 114.7 = 1.076; the indexed cost base is 10,000 x 1.076 + 100 x 1.076 (107.6, so 108)
// + 120 (after September 1999, not indexed) = 10,988, the indexed gain 16,000 - 10,988 = 5,012;
// the cost base without indexation is 10,220, the discount gain before the discount 5,780.
TEST_F(InterviewWalkTest, AShareParcelWalkedToItsGainsAsWorkedByHand) {
    start(2006);
    press(frame->YesButton());
    press(frame->YesButton());
    ASSERT_EQ(shown(), 2009);
    auto* registration = dynamic_cast<TQCGT_08*>(screen());
    ASSERT_NE(registration, nullptr);
    type(registration->DescEdit(), "BHP shares");
    registration->TypeTextComboBox()->SelectCode("SN");
    type(registration->DateofAcqEdit(), "15/03/1995");
    press(frame->NextButton());
    ASSERT_EQ(shown(), 2010);
    press(frame->NextButton()); // no cost base known already
    ASSERT_EQ(shown(), 2011);
    TXGrid* grid = child<TXGrid>("XGrid1");
    ASSERT_NE(grid, nullptr);
    const char* const elements[][3] = {
        {"1 - Purchase/Acquisition cost", "15/03/1995", "10000"},
        {"2A - Incidentals re holding & acquisition", "15/03/1995", "100"},
        {"2B - Incidentals re specific CGT event", "10/02/2004", "120"},
    };
    for (int row = 1; row <= 3; ++row) {
        grid->setCells(0, row, QString::fromLatin1(elements[row - 1][0]));
        grid->setCells(1, row, QString::fromLatin1(elements[row - 1][1]));
        grid->setCells(3, row, QStringLiteral("Element %1").arg(row));
        grid->setCells(4, row, QString::fromLatin1(elements[row - 1][2]));
    }
    press(frame->NextButton());
    ASSERT_EQ(shown(), 2012);
    press(frame->NextButton()); // no non-assessable payments
    ASSERT_EQ(shown(), 2013);
    type(child<TTaxEdit>("DateofCGTEventEdit"), "10/02/2004");
    type(child<TTaxEdit>("CapitalProceedsEdit"), "16000");
    press(frame->NextButton());
    ASSERT_EQ(shown(), 2014);
    child<QCheckBox>("Q2NoCheckBox")->click();
    press(frame->NextButton());
    ASSERT_EQ(shown(), 2016) << "no payments: the payments worksheet is skipped";
    press(frame->NextButton());
    ASSERT_EQ(shown(), 2017);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();

    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldVal(tag::event::kIndexedGain), 5012);
    EXPECT_EQ(GetFieldVal(tag::event::kDiscountGain), 5780);
    EXPECT_EQ(GetFieldVal(tag::event::kCostBaseIndexed), 10988);
    EXPECT_EQ(GetFieldVal(tag::event::kCostBaseNonIndexed), 10220);
    ZeroFillScratchTags();

    // The return as the walk left it, recomputed without a window.
    const QJsonArray events = ComputedEvents();
    ASSERT_EQ(events.size(), 1);
    const QJsonObject event = events[0].toObject();
    EXPECT_EQ(event.value("name").toString(), "BHP Shares");
    EXPECT_EQ(event.value("indexed_gain").toInt(), 5012);
    EXPECT_EQ(event.value("discount_gain").toInt(), 5780);
    EXPECT_TRUE(event.value("capital_loss").isNull());
}

} // namespace
} // namespace cgt::test
