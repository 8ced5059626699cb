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

#include "cgt/screens/events/receipt_screens.h"
#include "cgt/screens/events/registration_screen.h"
#include "cgt/screens/flow/screen_flow.h"
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

// The another-event questions of the path, each with the screen that begins its class's events
// and the tag of the worksheet that keeps them.
struct AnotherEvent {
    int question;
    int firstScreen;
    int worksheetTag;
};
std::vector<AnotherEvent> AnotherEventQuestions() {
    InstallInterviewScreens();
    std::vector<AnotherEvent> questions;
    for (const QuestionRow& row : QuestionTable())
        if (row.clearReopenRow)
            if (const ScreenSpec* first = FindScreenSpec(row.yes))
                questions.push_back({row.screen, row.yes, WorksheetTag(first->worksheet)});
    return questions;
}
const AnotherEvent* AnotherEventAt(int screen) {
    static const std::vector<AnotherEvent> questions = AnotherEventQuestions();
    for (const AnotherEvent& q : questions)
        if (q.question == screen) return &q;
    return nullptr;
}

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
        } else if (dynamic_cast<TReceiptScreen*>(screen())) {
            child<TTaxEdit>("DescEdit")
                ->setText(QStringLiteral("Event %1.%2").arg(now).arg(++events));
            child<TTaxEdit>("ProceedsEdit")->SetTextValue("1000");
            child<TTaxEdit>("CostsEdit")->SetTextValue("250");
            if (auto* no = child<QCheckBox>("Q2NoCheckBox")) no->click();
        }
        if (frame->YesButton()->isVisible()) {
            // Yes to every question, and to another event until the class has two.
            const AnotherEvent* another = AnotherEventAt(now);
            const bool yes = !another || RowsOf(another->worksheetTag) < 2;
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

    const std::vector<AnotherEvent> questions = AnotherEventQuestions();
    ASSERT_FALSE(questions.empty());
    std::map<int, int> visits;
    for (std::int32_t screen : cgt::Run().ScreenHistory)
        ++visits[screen];
    for (const AnotherEvent& q : questions) {
        SCOPED_TRACE(q.question);
        EXPECT_EQ(RowsOf(q.worksheetTag), 2);
        const std::vector<std::string> names = NamesOf(q.worksheetTag);
        ASSERT_EQ(names.size(), 2u);
        EXPECT_NE(names[0], names[1]) << "a second event opened a new row";
        // Each class's events were registered on its own first screen, in order.
        const std::string prefix = "Event " + std::to_string(q.firstScreen) + ".";
        EXPECT_EQ(names.front().rfind(prefix, 0), 0u) << names.front();
        // The first screen and the question twice: Yes, then No.
        EXPECT_EQ(visits[q.firstScreen], 2);
        EXPECT_EQ(visits[q.question], 2);
    }
    EXPECT_GE(GetFieldVal(588), 13) << "the progress marker reached the last class";
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
