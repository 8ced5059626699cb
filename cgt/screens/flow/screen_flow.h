#pragma once
// The interview's screens, one row per screen number in the order of the interview path: the
// class that makes the screen, its caption, help topic, buttons and navigator topic; for a
// question or information screen what it says, where its Yes, No and Next lead, the worksheet
// its Yes selects, the progress marker it raises and the data its No removes; for an event
// screen its named routes. The screens of an event section (registration to gain calculation,
// then the another-event question) are one entry: its screen numbers with their steps, the rest
// read from the kind of event (cgt/rules/event_kinds.h). Next leads to the following screen of
// the path unless a row says otherwise. Adding a screen is one row here (or one entry of an
// event section) and its class.

#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "interview/screen_catalog.h"

namespace cgt {

struct ScreenRow {
    int screen; // section * 100 + index
    std::string_view className;
    char caption = 'A'; // the title bar caption, see CaptionText
    int helpContext = 0;
    bool showNext = true;
    bool showPrev = true;
    const char* topic = nullptr; // navigator topic that starts here

    // Question and information screens.
    std::vector<const char*> question{}; // lines of the title label (mark-up)
    std::vector<const char*> notes{};    // lines of the explanation below it (mark-up)
    int yes = 0;                         // screen numbers; 0: the button is not offered
    int no = 0;
    int next = 0;                  // 0: Next leads to the following row of the path
    int worksheet = 0;             // set as WorksheetKind on Yes
    int markerYes = 0;             // raises the progress marker to this on Yes (0: untouched)
    int markerNo = 0;              // and on No
    std::vector<int> removeOnNo{}; // cleared on No, after confirmation
    bool clearReopenRow = false;   // another-event screens start a new row
    bool hidePrev = false;
    bool navigator = true;

    // Event screens.
    std::vector<ScreenRoute> routes{};

    bool isQuestion() const { return yes != 0 || no != 0; }
    bool isQuestionScreen() const { return !question.empty(); }
};
using QuestionRow = ScreenRow;

// The steps of a CGT event, each a screen whose class, help topic and routes follow from the
// kind of event: the payments steps belong to kinds with non-assessable payments, the event and
// gain screens have a depreciating-asset variant, the roll-over screen one for scrip for scrip
// and one for a main residence. A screen of its own class in a section is no such step.
enum class EventStep {
    OwnClass,
    Registration,
    CostBase,
    CostElements,
    Payments,
    Disposal,
    RollOver,
    PaymentSummary,
    Gain,
};

struct EventScreen {
    int screen; // the number stored in the data file as the interview's position
    EventStep step = EventStep::OwnClass;
    // A screen of its own class: the class and its help topic.
    std::string_view className = {};
    int helpContext = 0;
};

// The screens of one kind's events, in path order, then the section's another-event question,
// whose Yes goes back to the registration for a new row.
struct EventSection {
    int worksheet; // the kind of event (cgt/rules/event_kinds.h)
    std::vector<EventScreen> screens;
    ScreenRow anotherEvent; // its Yes, new row and hidden Prev are the section's
};

// The rows of a section: its screens, then its another-event question.
std::vector<ScreenRow> EventSectionRows(const EventSection& section);

// Title bar captions of the screens, by the letter of a row.
inline constexpr const char* kCaptionA = "17 - Income - Capital gains and capital losses";
inline constexpr const char* kCaptionB = "17 - Income - Capital gains or capital losses";
inline constexpr const char* kCaptionC = "17 - Income - Capital gains";
const char* CaptionText(char caption);

// Every screen, in the order of the interview path.
std::span<const ScreenRow> ScreenTable();
// The event sections of the path, in its order.
std::span<const EventSection> EventSections();
// The question and information screens, in the same order.
const std::vector<std::reference_wrapper<const ScreenRow>>& QuestionTable();
const QuestionRow* FindQuestionRow(std::string_view className);
const QuestionRow* FindQuestionRowByScreen(int screen);

// The engine's view of the table: what the frame, the registry and the navigator read.
std::span<const ScreenSpec> ScreenSpecs();
// Installs the table in the interview engine.
void InstallInterviewScreens();

} // namespace cgt
