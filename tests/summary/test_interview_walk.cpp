// Walks the interview path as a user does, answering Yes to every asset class and registering
// two events in each worksheet the path opens.

#include <QCheckBox>
#include <QCoreApplication>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "cgt/registration_screen.h"
#include "controls/tax_edit.h"
#include "controls/type_ahead_combo.h"
#include "interview/child_form.h"
#include "interview/screen_registry.h"
#include "store/field_store.h"
#include "support/screen_fixture.h"

namespace cgt::test {
namespace {

// The event screens between a registration and its another-event question, and the trust
// distribution table, are not part of this walk: where their classes are not built yet a
// plain screen stands in, which Next leaves for the following number.
class PendingScreen : public TChildForm {};

const char* const kPendingClasses[] = {
    "TQCGT_11",  "TQCGT_12",  "TQCGT_18", "TQCGT_18b", "TQCGT_19",  "TQCGT_19a", "TQCGT_20",
    "TQCGT_20a", "TQCGT_20b", "TQCGT_58", "TQCGT_58A", "TQCGT_59a", "TQCGT_59b", "TQCGT02_04"};

// Another-event questions: Yes until their class has two events.
const std::map<int, int> kAnotherEvent = {{2017, 1202}, {2030, 1203}, {2041, 1205}, {2051, 1209},
                                          {2061, 1206}, {2071, 1207}, {2081, 1208}, {2098, 1213}};

class InterviewWalkTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (const char* name : kPendingClasses)
            if (!ScreenClassRegistered(name)) {
                RegisterScreenClass(name, [] { return new PendingScreen; });
                standIns.push_back(name);
            }
    }
    void TearDown() override {
        for (const std::string& name : standIns)
            UnregisterScreenClass(name);
        ScreenTest::TearDown();
    }

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

    std::vector<std::string> standIns;
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

} // namespace
} // namespace cgt::test
