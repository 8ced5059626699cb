#include "store/tags.h"

#include <algorithm>
#include <array>

namespace cgt {

namespace {

#define CGT_RETURN_ROW(name, number) NamedTag{"return", #name, number},
#define CGT_EVENT_ROW(name, number) NamedTag{"event", #name, number},
#define CGT_SCHEDULE_ROW(name, number) NamedTag{"schedule", #name, number},
#define CGT_WORKSHEET_ROW(name, number) NamedTag{"worksheet", #name, WorksheetTag(number)},

// clang-format off
constexpr std::array kNamedTags{
    CGT_RETURN_TAGS(CGT_RETURN_ROW)
    CGT_EVENT_TAGS(CGT_EVENT_ROW)
    CGT_SCHEDULE_TAGS(CGT_SCHEDULE_ROW)
    CGT_WORKSHEET_KINDS(CGT_WORKSHEET_ROW)
};
// clang-format on

#undef CGT_RETURN_ROW
#undef CGT_EVENT_ROW
#undef CGT_SCHEDULE_ROW
#undef CGT_WORKSHEET_ROW

} // namespace

std::span<const NamedTag> NamedTags() {
    return kNamedTags;
}

bool IsNamedTag(int number) {
    return std::any_of(kNamedTags.begin(), kNamedTags.end(),
                       [number](const NamedTag& t) { return t.number == number; });
}

} // namespace cgt
