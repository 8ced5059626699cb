#include "store/run_state.h"

#include "store/field_store.h"

namespace cgt {

ModuleRunState& Run() {
    static ModuleRunState state;
    return state;
}

void ResetModuleRun() {
    Run() = ModuleRunState{};
    Store() = FieldStore{};
}

} // namespace cgt
