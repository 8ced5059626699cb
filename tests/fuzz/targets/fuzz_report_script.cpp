// Fuzz target: report scripts. Any input is read as a script; a script that reads writes back
// byte for byte, disassembles to a source that assembles to the same bytes, and loads into
// pages, fills and lays out without fault. A malformed one is a ScriptError, never a crash.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "report/core/fill.h"
#include "report/core/layout.h"
#include "report/core/pages.h"
#include "report/core/script.h"
#include "round_trip.h"
#include "store/tags.h"
#include "tools/script_asm.h"

namespace {

// A character is half the point size wide.
class FixedMetrics : public cgt::report::TextMetrics {
public:
    int Width(const cgt::report::ReportFont& f, std::string_view text) override {
        return static_cast<int>(text.size()) * f.pointSize / 2;
    }
    int Height(const cgt::report::ReportFont& f) override { return f.pointSize; }
    int Ascent(const cgt::report::ReportFont& f) override { return f.pointSize * 3 / 4; }
};

// A name, a choice table of three rows and a shares worksheet row, so that sections of
// conditions and loops have something to print.
void FillStore() {
    using namespace cgt;
    fuzz::FreshRun();
    SetFieldStr(tag::event::kName, "Asset");
    StringList cells;
    for (int i = 0; i < 63; ++i)
        cells.push_back(std::to_string(i * 7) + ".5");
    SetFieldLst(tag::kChoiceTable, std::make_shared<StringList>(cells));
    auto sheet = std::make_shared<Worksheet>();
    WorksheetItem item;
    item.row = 1;
    item.tag = tag::event::kCapitalProceeds;
    item.entry.type = dtCurrency;
    item.entry.setNumber(1000);
    sheet->append(item);
    FieldEntry& entry = Store().entry(WorksheetTag(wkShares));
    entry.type = dtWorksheet;
    entry.sheet = sheet;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cgt::report;
    static const bool ready = [] {
        cgt::fuzz::InstallSilentDialogs();
        FillStore();
        return true;
    }();
    (void)ready;
    const std::span<const std::uint8_t> input(data, size);
    Script script;
    try {
        script = ReadScript(input);
    } catch (const ScriptError&) {
        return 0;
    }
    const std::vector<std::uint8_t> written = WriteScript(script);
    if (!std::equal(written.begin(), written.end(), input.begin(), input.end()))
        cgt::fuzz::Broken("a script that reads does not write back the same bytes");
    try {
        if (WriteScript(AssembleScript(DisassembleScript(script))) != written)
            cgt::fuzz::Broken("a disassembled script assembles to other bytes");
    } catch (const AsmError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        cgt::fuzz::Broken("a disassembled script does not assemble");
    }
    PageList pages;
    try {
        pages.Load(script, 1, 64);
    } catch (const ReportError&) {
    }
    FillForm(pages);
    FixedMetrics metrics;
    DrawSettings settings;
    settings.xScale = 0.3;
    settings.yScale = 0.3;
    for (const Page& page : pages.pages())
        LayoutPage(page, settings, metrics);
    return 0;
}
