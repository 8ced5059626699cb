// Fuzz target: the plain-image parser. Any input is read as a plain data file; whatever it
// leaves in the store must save and load back identical.

#include <cstddef>
#include <cstdint>
#include <span>

#include "round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cgt::fuzz::InstallSilentDialogs();
    cgt::fuzz::FreshRun();
    cgt::ParsePlain(std::span<const std::uint8_t>(data, size), "fuzz input");
    cgt::fuzz::CheckPlainRoundTrip();
    return 0;
}
