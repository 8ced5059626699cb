// Fuzz target: the enciphered loader. The first byte chooses how the rest becomes the data
// file: even, the rest is the file as it is on disk (the cipher step sees odd sizes and wrong
// final blocks); odd, the rest is a plain image enciphered under the identifier's key (the
// parser is reached through the cipher). Whatever loads must save to a file and load back
// identical.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "round_trip.h"
#include "store/file_cipher.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kIdentifier = "123 456 782";

// A private folder for the files, in memory when the system has one.
const fs::path& Folder() {
    static const fs::path folder = [] {
        std::error_code ec;
        fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path made = base / ("cgt-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(made);
        return made;
    }();
    return folder;
}

struct RemoveFolderAtExit {
    ~RemoveFolderAtExit() {
        std::error_code ec;
        fs::remove_all(Folder(), ec);
    }
};

void WriteFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void StartRun() {
    cgt::fuzz::FreshRun();
    cgt::Run().HostIdentifier = kIdentifier;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static RemoveFolderAtExit cleanup;
    cgt::fuzz::InstallSilentDialogs();
    if (size == 0) return 0;
    const fs::path input = Folder() / "input.TAX";
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    if (data[0] % 2 == 0)
        WriteFile(input, rest);
    else
        WriteFile(input, cgt::EncipherBytes(rest, cgt::DeriveFileKey(cgt::KeyTextOf(kIdentifier))));

    StartRun();
    try {
        cgt::LoadDataFile(input.string());
    } catch (const cgt::DataFileError&) {
        return 0;
    }

    const fs::path saved = Folder() / "saved.TAX";
    std::error_code ec;
    fs::remove(saved, ec);
    fs::remove(Folder() / "saved.BAK", ec);
    const cgt::SaveStatus status = cgt::SaveDataFile(saved.string());
    if (status == cgt::SaveStatus::Locked) return 0; // the file holds the lock marker
    if (status != cgt::SaveStatus::Saved) cgt::fuzz::Broken("a loaded return does not save");
    const std::vector<std::uint8_t> image = cgt::SerialisePlain();
    StartRun();
    if (cgt::LoadDataFile(saved.string()) != cgt::LoadStatus::Loaded)
        cgt::fuzz::Broken("a saved return does not load whole");
    if (cgt::SerialisePlain() != image)
        cgt::fuzz::Broken("a loaded return does not save identical");
    cgt::fuzz::CheckPlainRoundTrip();
    return 0;
}
