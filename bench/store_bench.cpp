// Load and save of a large return beside the raw two-key Triple DES time of the same bytes on one
// thread, and the look-up of one worksheet row.
//
// The return holds 10,000 worksheet rows of 40 items, spread over worksheets 451-462. After the
// run the program prints load/raw and save/raw against the single-thread cipher (targets 0.60
// with two processors or more, where the cipher runs in parts on each, else 1.10 and 1.50), the
// cipher in parts against one thread on the same bytes, and the same at small sizes, where the
// cipher stays on one thread below kParallelCipherBytes.
//
// `store_bench --write_return=FILE` only saves that return to FILE (identifier 123 456 782), for
// timing whole commands on it.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench/ratio_reporter.h"
#include "bench/silent_dialogs.h"
#include "store/data_file.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/file_cipher.h"
#include "store/run_state.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kIdentifier = "123 456 782";
constexpr int kRows = 10'000;
constexpr int kItemsPerRow = 40; // scratch tags 710..749
constexpr int kFirstWorksheet = 451;
constexpr int kWorksheets = 12; // 451..462

struct Setup {
    fs::path folder;
    std::string loadPath; // the saved return, read by BM_Load
    std::string savePath; // written by BM_Save
    std::size_t fileBytes = 0;
    std::vector<std::uint8_t> plain; // its plain form, for the parse and serialise figures
};

Setup& TheSetup() {
    static Setup setup;
    return setup;
}

// One row's values as a return has them: a name, three dates, four codes, three ticked boxes and
// 29 amounts, a few of them with cents.
void AppendRow(cgt::Worksheet& sheet, std::uint16_t row, int serial, std::mt19937& random) {
    auto item = [&](int tag, cgt::TFieldDataType type) {
        cgt::WorksheetItem it;
        it.row = row;
        it.tag = tag;
        it.entry.type = type;
        return it;
    };
    int tag = 710;
    auto name = item(tag++, cgt::dtString);
    name.entry.text =
        std::make_shared<const std::string>("Parcel of shares no. " + std::to_string(serial));
    sheet.append(std::move(name));
    for (int i = 0; i < 3; ++i) {
        auto date = item(tag++, cgt::dtString);
        char text[16];
        const unsigned day = 1 + random() % 28, month = 1 + random() % 12,
                       year = 1990 + random() % 14;
        std::snprintf(text, sizeof text, "%02u/%02u/%04u", day, month, year);
        date.entry.text = std::make_shared<const std::string>(text);
        sheet.append(std::move(date));
    }
    static const char* const kCodes[] = {"SH", "RE", "Y", "N", "AUD", "UT"};
    for (int i = 0; i < 4; ++i) {
        auto code = item(tag++, cgt::dtSmallStr);
        code.entry.setSmallText(kCodes[random() % 6]);
        sheet.append(std::move(code));
    }
    for (int i = 0; i < 3; ++i) {
        auto box = item(tag++, cgt::dtCheckbox);
        box.entry.value[0] = 1;
        sheet.append(std::move(box));
    }
    while (tag < 710 + kItemsPerRow) {
        const bool cents = tag % 5 == 0;
        auto amount = item(tag++, cents ? cgt::dtCurrencyCnt : cgt::dtCurrency);
        const long double dollars = static_cast<long double>(random() % 5'000'000);
        amount.entry.setNumber(cents ? dollars + (random() % 100) / 100.0L : dollars);
        sheet.append(std::move(amount));
    }
}

void FillLargeStore() {
    cgt::ResetModuleRun();
    cgt::Run().HostIdentifier = kIdentifier;
    cgt::SetFieldStr(1, kIdentifier);
    cgt::SetFieldVal(20, 125'000);
    cgt::SetFieldStr(21, "A taxpayer note longer than nine characters");
    cgt::SetFieldChecked(9);
    cgt::Run().CurrentSection = 20;
    cgt::Run().CurrentIndex = 4;
    cgt::Run().ScreenHistory = {2004, 2010, 2033};

    std::vector<std::shared_ptr<cgt::Worksheet>> sheets;
    for (int w = 0; w < kWorksheets; ++w) {
        auto sheet = std::make_shared<cgt::Worksheet>();
        sheet->reserve(static_cast<std::size_t>(kRows / kWorksheets + 1) * kItemsPerRow);
        sheets.push_back(sheet);
        cgt::FieldEntry& e = cgt::Store().entry(cgt::kWorksheetTagBase + kFirstWorksheet + w);
        e.type = cgt::dtWorksheet;
        e.sheet = sheet;
    }
    std::mt19937 random(2004);
    for (int r = 0; r < kRows; ++r)
        AppendRow(*sheets[r % kWorksheets], static_cast<std::uint16_t>(r / kWorksheets + 1), r,
                  random);
}

cgt::FileKey Key() {
    return cgt::DeriveFileKey(cgt::KeyTextOf(kIdentifier));
}

bool PrepareFiles() {
    Setup& s = TheSetup();
    s.folder = fs::temp_directory_path() / ("cgt-bench-" + std::to_string(::getpid()));
    fs::create_directories(s.folder);
    s.loadPath = (s.folder / "large.t04").string();
    s.savePath = (s.folder / "saved.t04").string();
    FillLargeStore();
    if (cgt::SaveDataFile(s.loadPath) != cgt::SaveStatus::Saved) return false;
    s.fileBytes = fs::file_size(s.loadPath);
    s.plain = cgt::SerialisePlain();
    return true;
}

void EnsureLoaded(benchmark::State& state) {
    cgt::ResetModuleRun();
    cgt::Run().HostIdentifier = kIdentifier;
    if (cgt::LoadDataFile(TheSetup().loadPath) != cgt::LoadStatus::Loaded)
        state.SkipWithError("the large return does not load");
}

void BM_RawTripleDes(benchmark::State& state) {
    const std::size_t bytes = TheSetup().fileBytes;
    std::vector<std::uint8_t> buffer(bytes, 0x5a);
    const cgt::FileKey key = Key();
    for (auto _ : state) {
        cgt::TripleDesBlocks(buffer.data(), bytes / 8, key, cgt::CipherDirection::Encipher);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// The same bytes in as many parts as the codec gives them.
void BM_RawTripleDesInParts(benchmark::State& state) {
    const std::size_t bytes = TheSetup().fileBytes;
    std::vector<std::uint8_t> buffer(bytes, 0x5a);
    const cgt::FileKey key = Key();
    for (auto _ : state) {
        cgt::TripleDesBlocksInParts(buffer.data(), bytes / 8, key, cgt::CipherDirection::Encipher,
                                    cgt::CipherThreadsFor(bytes));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// A small buffer of state.range(0) bytes on one thread and in two parts, for where the threshold
// lies.
void SmallCipher(benchmark::State& state, std::size_t threads) {
    const auto bytes = static_cast<std::size_t>(state.range(0));
    std::vector<std::uint8_t> buffer(bytes, 0x5a);
    const cgt::FileKey key = Key();
    for (auto _ : state) {
        cgt::TripleDesBlocksInParts(buffer.data(), bytes / 8, key, cgt::CipherDirection::Encipher,
                                    threads);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_SmallOneThread(benchmark::State& state) {
    SmallCipher(state, 1);
}

void BM_SmallTwoThreads(benchmark::State& state) {
    SmallCipher(state, 2);
}

constexpr std::int64_t kSmallSizes[] = {4 << 10, 8 << 10, 16 << 10, 32 << 10, 64 << 10, 128 << 10};

void BM_Load(benchmark::State& state) {
    cgt::Run().HostIdentifier = kIdentifier;
    for (auto _ : state) {
        if (cgt::LoadDataFile(TheSetup().loadPath) != cgt::LoadStatus::Loaded) {
            state.SkipWithError("load failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TheSetup().fileBytes));
}

void BM_Save(benchmark::State& state) {
    EnsureLoaded(state);
    const std::string& path = TheSetup().savePath;
    if (cgt::SaveDataFile(path) != cgt::SaveStatus::Saved) state.SkipWithError("save failed");
    for (auto _ : state) {
        if (cgt::SaveDataFile(path) != cgt::SaveStatus::Saved) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TheSetup().fileBytes));
}

// The plain-image parts of load and save, without the cipher and the disk.
void BM_ParsePlain(benchmark::State& state) {
    for (auto _ : state) {
        if (cgt::ParsePlain(TheSetup().plain, "large.t04") != cgt::LoadStatus::Loaded) {
            state.SkipWithError("parse failed");
            break;
        }
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * TheSetup().plain.size()));
}

void BM_SerialisePlain(benchmark::State& state) {
    EnsureLoaded(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(cgt::SerialisePlain());
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * TheSetup().plain.size()));
}

// One worksheet of 10,000 rows of 40 items.
const cgt::Worksheet& LargeWorksheet() {
    static const cgt::Worksheet sheet = [] {
        cgt::Worksheet w;
        w.reserve(static_cast<std::size_t>(kRows) * kItemsPerRow);
        std::mt19937 random(451);
        for (int r = 0; r < kRows; ++r)
            AppendRow(w, static_cast<std::uint16_t>(r + 1), r, random);
        return w;
    }();
    return sheet;
}

void BM_RowLookup(benchmark::State& state) {
    const cgt::Worksheet& sheet = LargeWorksheet();
    std::mt19937 random(7);
    std::int64_t found = 0;
    for (auto _ : state) {
        const auto row = static_cast<std::uint16_t>(1 + random() % kRows);
        for (std::uint32_t pos : sheet.rowPositions(row))
            found += sheet.items()[pos].tag;
    }
    benchmark::DoNotOptimize(found);
}

// The same look-up by scanning the item list, for comparison.
void BM_RowLinearScan(benchmark::State& state) {
    const cgt::Worksheet& sheet = LargeWorksheet();
    std::mt19937 random(7);
    std::int64_t found = 0;
    for (auto _ : state) {
        const auto row = static_cast<std::uint16_t>(1 + random() % kRows);
        for (const auto& item : sheet.items())
            if (item.row == row) found += item.tag;
    }
    benchmark::DoNotOptimize(found);
}

BENCHMARK(BM_RawTripleDes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_RawTripleDesInParts)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_Load)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_Save)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_SmallOneThread)
    ->Unit(benchmark::kMicrosecond)
    ->ArgsProduct({{std::begin(kSmallSizes), std::end(kSmallSizes)}})
    ->Repetitions(3)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_SmallTwoThreads)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->ArgsProduct({{std::begin(kSmallSizes), std::end(kSmallSizes)}})
    ->Repetitions(3)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_ParsePlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SerialisePlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RowLookup)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_RowLinearScan)->Unit(benchmark::kMicrosecond);

// The FILE of a `--write_return=FILE` argument, taken out of the arguments; empty without one.
std::string TakeWriteReturnPath(int& argc, char** argv) {
    constexpr std::string_view kOption = "--write_return=";
    std::string path;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with(kOption))
            path = arg.substr(kOption.size());
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return path;
}

int WriteReturn(const std::string& path) {
    FillLargeStore();
    if (cgt::SaveDataFile(path) != cgt::SaveStatus::Saved) {
        std::fprintf(stderr, "store_bench: cannot save the large return to %s\n", path.c_str());
        return 1;
    }
    std::printf("%s: %d worksheet rows of %d items, %ju bytes\n", path.c_str(), kRows, kItemsPerRow,
                static_cast<std::uintmax_t>(fs::file_size(path)));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string writeReturnPath = TakeWriteReturnPath(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::SilentDialogs dialogs("store_bench");
    cgt::SetDialogService(&dialogs);
    if (!writeReturnPath.empty()) {
        const int status = WriteReturn(writeReturnPath);
        cgt::SetDialogService(nullptr);
        return status;
    }
    if (!PrepareFiles()) {
        std::fprintf(stderr, "store_bench: cannot save the large return\n");
        return 1;
    }
    const Setup& s = TheSetup();
    std::printf("return: %d worksheet rows of %d items, %zu bytes enciphered, in %s\n", kRows,
                kItemsPerRow, s.fileBytes, s.folder.c_str());

    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // Wall-clock ratios against the raw cipher, with the processor-time ratio beside them.
    const bench::RatioStyle style{bench::Clock::Real, 2, 1, "cpu time ratio"};
    const bool inParts = cgt::CipherThreadsFor(s.fileBytes) > 1;
    std::printf("the cipher of the return runs on %zu threads\n",
                cgt::CipherThreadsFor(s.fileBytes));
    bench::PrintRatio(reporter, "load/raw", "BM_Load", "BM_RawTripleDes", inParts ? 0.60 : 1.10,
                      "<=", style);
    bench::PrintRatio(reporter, "save/raw", "BM_Save", "BM_RawTripleDes", inParts ? 0.60 : 1.50,
                      "<=", style);
    bench::PrintRatio(reporter, "parts/raw", "BM_RawTripleDesInParts", "BM_RawTripleDes",
                      inParts ? 0.55 : 1.05, "<=", style);
    // Two parts against one thread at small sizes: above 1 where threads cost more than they
    // save, which is below kParallelCipherBytes.
    const bench::RatioStyle small{bench::Clock::Real, 2, 3, nullptr};
    for (std::int64_t bytes : kSmallSizes) {
        const std::string size = std::to_string(bytes);
        const std::string label = "two threads/one at " + std::to_string(bytes >> 10) + " KiB";
        const bool parallel = static_cast<std::size_t>(bytes) >= cgt::kParallelCipherBytes;
        bench::PrintRatio(reporter, label.c_str(), "BM_SmallTwoThreads/" + size,
                          "BM_SmallOneThread/" + size, 1.00, parallel ? "<" : ">=", small);
    }

    cgt::SetDialogService(nullptr);
    std::error_code ec;
    fs::remove_all(s.folder, ec);
    return 0;
}
