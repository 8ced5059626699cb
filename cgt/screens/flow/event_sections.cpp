// The rows of an event section, generated from its kind of event: which class shows each step,
// its help topic and the routes out of it.

#include <algorithm>
#include <optional>

#include "cgt/rules/event_kinds.h"
#include "cgt/rules/routes.h"
#include "cgt/screens/flow/screen_flow.h"

namespace cgt {

namespace {

using KindTest = bool (*)(const EventKind&);

bool AnyKind(const EventKind&) {
    return true;
}
bool SharePayments(const EventKind& kind) {
    return kind.payments == PaymentKind::Shares;
}
bool TrustPayments(const EventKind& kind) {
    return kind.payments == PaymentKind::TrustInterests;
}
bool DepreciatingGain(const EventKind& kind) {
    return kind.gain == GainVariant::Depreciating;
}
bool ScripForScrip(const EventKind& kind) {
    return kind.scripForScrip;
}
bool MainResidence(const EventKind& kind) {
    return kind.mainResidence;
}

// The class of a step's screen: the first row of the step whose test the kind passes.
struct StepScreen {
    EventStep step;
    KindTest fits;
    std::string_view className;
    int helpContext;
};

constexpr StepScreen kStepScreens[] = {
    {EventStep::Registration, AnyKind, "TQCGT_08", 16},
    {EventStep::CostBase, AnyKind, "TQCGT_11", 19},
    {EventStep::CostElements, AnyKind, "TQCGT_12", 20},
    {EventStep::Payments, SharePayments, "TQCGT_18", 184},
    {EventStep::Payments, TrustPayments, "TQCGT_18b", 203},
    {EventStep::Disposal, DepreciatingGain, "TQCGT_19a", 206},
    {EventStep::Disposal, AnyKind, "TQCGT_19", 206},
    {EventStep::RollOver, ScripForScrip, "TQCGT_20b", 29},
    {EventStep::RollOver, MainResidence, "TQCGT_20a", 29},
    {EventStep::RollOver, AnyKind, "TQCGT_20", 29},
    {EventStep::PaymentSummary, SharePayments, "TQCGT_59a", 30},
    {EventStep::PaymentSummary, TrustPayments, "TQCGT_59b", 30},
    {EventStep::Gain, DepreciatingGain, "TQCGT_58A", 30},
    {EventStep::Gain, AnyKind, "TQCGT_58", 30},
};

// The routes out of a step's screen, each to another step of the section (none: the
// another-event question), where the section has that step.
struct StepRoute {
    EventStep from;
    std::string_view route;
    std::optional<EventStep> to;
};

constexpr StepRoute kStepRoutes[] = {
    {EventStep::Registration, kRouteAnotherEvent, std::nullopt},
    {EventStep::Registration, kRouteRollOver, EventStep::RollOver},
    {EventStep::RollOver, kRouteNonAssessablePayments, EventStep::PaymentSummary},
    {EventStep::RollOver, kRouteGainCalculation, EventStep::Gain},
};

// A step the kind does not have (payments of a kind without them), or a section of no kind,
// has no class: the screen table's tests name it.
const StepScreen& ScreenOfStep(EventStep step, const EventKind* kind) {
    static constexpr StepScreen kNoScreen{EventStep::Registration, AnyKind, "", 0};
    const auto* found =
        std::find_if(std::begin(kStepScreens), std::end(kStepScreens),
                     [&](const StepScreen& s) { return kind && s.step == step && s.fits(*kind); });
    return found != std::end(kStepScreens) ? *found : kNoScreen;
}

// The section's screen of a step; the another-event question for none; 0 when the section has
// no such step.
int ScreenOfStep(const EventSection& section, std::optional<EventStep> step) {
    if (!step) return section.anotherEvent.screen;
    for (const EventScreen& screen : section.screens)
        if (screen.step == *step) return screen.screen;
    return 0;
}

std::vector<ScreenRoute> RoutesOf(const EventSection& section, EventStep step) {
    std::vector<ScreenRoute> routes;
    for (const StepRoute& route : kStepRoutes)
        if (route.from == step)
            if (const int target = ScreenOfStep(section, route.to))
                routes.push_back({route.route, target});
    return routes;
}

} // namespace

std::vector<ScreenRow> EventSectionRows(const EventSection& section) {
    const EventKind* kind = FindEventKind(section.worksheet);
    std::vector<ScreenRow> rows;
    for (const EventScreen& screen : section.screens) {
        if (screen.step == EventStep::OwnClass) {
            rows.push_back({.screen = screen.screen,
                            .className = screen.className,
                            .helpContext = screen.helpContext});
            continue;
        }
        const StepScreen& shown = ScreenOfStep(screen.step, kind);
        rows.push_back({.screen = screen.screen,
                        .className = shown.className,
                        .helpContext = shown.helpContext,
                        .routes = RoutesOf(section, screen.step)});
    }
    ScreenRow question = section.anotherEvent;
    question.yes = ScreenOfStep(section, EventStep::Registration);
    question.clearReopenRow = true;
    question.hidePrev = true;
    rows.push_back(std::move(question));
    return rows;
}

} // namespace cgt
