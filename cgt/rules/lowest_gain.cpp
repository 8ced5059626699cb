#include "cgt/rules/lowest_gain.h"

namespace cgt {

// Interim: the apply-all choices until the solver lands.
LowestChoices MakeLowestChoices(ChoiceTable& table) {
    MakeAllChoices(table);
    LowestChoices lowest;
    lowest.netCapitalGain = lowest.applyAllNetCapitalGain = table.state.netCapitalGain;
    return lowest;
}

std::string LowestChoicesNote(const LowestChoices& lowest) {
    return lowest.found ? "Lowest" : "";
}

} // namespace cgt
