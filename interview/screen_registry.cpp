#include "interview/screen_registry.h"

#include <algorithm>
#include <map>
#include <string>

#include "interview/child_form.h"
#include "interview/screen_protocol.h"

namespace cgt {

namespace {

std::span<const ScreenSpec>& Installed() {
    static std::span<const ScreenSpec> table;
    return table;
}

std::map<std::string, ScreenFactory, std::less<>>& Factories() {
    static std::map<std::string, ScreenFactory, std::less<>> factories;
    return factories;
}

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void InstallScreenTable(std::span<const ScreenSpec> table) {
    Installed() = table;
}

std::span<const ScreenSpec> InstalledScreenTable() {
    return Installed();
}

const ScreenSpec* FindScreenSpec(int number) {
    if (number <= 0) return nullptr;
    const auto table = Installed();
    auto it = std::find_if(table.begin(), table.end(),
                           [number](const ScreenSpec& s) { return s.number == number; });
    return it == table.end() ? nullptr : &*it;
}

int RouteTarget(int number, std::string_view route) {
    const ScreenSpec* spec = FindScreenSpec(number);
    if (!spec) return 0;
    for (const ScreenRoute& r : spec->routes)
        if (r.name == route) return r.screen;
    return 0;
}

int NextScreen(int number) {
    const ScreenSpec* spec = FindScreenSpec(number);
    return spec ? spec->next : 0;
}

int ScreenAfter(int number) {
    const ScreenSpec* spec = FindScreenSpec(number);
    if (!spec) return 0;
    const auto table = Installed();
    return spec + 1 != table.data() + table.size() ? spec[1].number : spec->next;
}

int ResumeScreen(int number) {
    const ScreenSpec* spec = FindScreenSpec(number);
    if (!spec) return 0;
    if (spec->worksheet == 0) return number;
    const ScreenSpec* first = Installed().data();
    while (spec != first && spec[-1].worksheet == spec->worksheet)
        --spec;
    return spec->number;
}

int ScreenTarget::From(int from) const {
    if (screen_ != 0) return screen_;
    if (!route_.empty())
        if (const int target = RouteTarget(from, route_)) return target;
    return NextScreen(from);
}

bool RegisterScreenClass(std::string_view className, ScreenFactory factory) {
    Factories()[std::string(className)] = std::move(factory);
    return true;
}

void UnregisterScreenClass(std::string_view className) {
    auto& factories = Factories();
    if (auto it = factories.find(className); it != factories.end()) factories.erase(it);
}

bool ScreenClassRegistered(std::string_view className) {
    const auto& factories = Factories();
    auto it = factories.find(className);
    return it != factories.end() && it->second;
}

TChildForm* CreateScreen(int screen) {
    const ScreenSpec* spec = FindScreenSpec(screen);
    if (!spec) return nullptr;
    const auto& factories = Factories();
    auto it = factories.find(spec->className);
    if (it == factories.end() || !it->second) return nullptr;
    TChildForm* form = it->second();
    if (!form) return nullptr;
    form->setCaption(Latin1(spec->caption));
    form->setHelpContext(spec->helpContext);
    form->setShowNextButton(spec->showNext);
    form->setShowPrevButton(spec->showPrev);
    return form;
}

} // namespace cgt
