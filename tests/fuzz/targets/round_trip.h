#pragma once
// What every fuzz input must keep: a store that was loaded saves and loads back identical.
// A broken invariant aborts, which libFuzzer reports with the input.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "store/data_file.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/run_state.h"

namespace cgt::fuzz {

// Answers every message silently with its default button.
class SilentDialogs final : public DialogService {
public:
    int ShowMessage(const MessageRequest& request) override {
        return request.defaultResult != 0 ? request.defaultResult : mrOK;
    }
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    void Beep() override {}
};

inline void InstallSilentDialogs() {
    static SilentDialogs dialogs;
    SetDialogService(&dialogs);
}

// A run as ResetModuleRun leaves it, without allocating the store again (a large allocation per
// input would dominate the fuzzer's time under AddressSanitizer).
inline void FreshRun() {
    Run() = ModuleRunState{};
    for (int tag = 1; tag <= kFieldCount; ++tag)
        Store().entry(tag) = FieldEntry{};
}

[[noreturn]] inline void Broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// The run's store saved as a plain image, loaded into a fresh run and saved again gives the
// same image.
inline void CheckPlainRoundTrip() {
    const std::vector<std::uint8_t> first = SerialisePlain();
    FreshRun();
    if (ParsePlain(first, "round trip") != LoadStatus::Loaded)
        Broken("a saved image does not load whole");
    if (SerialisePlain() != first) Broken("a loaded image does not save identical");
}

} // namespace cgt::fuzz
