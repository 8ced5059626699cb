// cgt: a command-line tool on the store library for tax agents and tests. It creates, prints,
// counts, re-keys, deciphers and enciphers data files, recomputes a return's CGT events with
// the calculations the screens use and prints reports of a return to PDF. Every failure is one
// line on standard error and exit status 2.

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/json_writer.h"
#include "base/number_format.h"
#include "base/text.h"
#include "cgt/records/choice_records.h"
#include "cgt/records/event_worksheets.h"
#include "cgt/records/trade_import.h"
#include "cgt/rules/choice_cells.h"
#include "cgt/rules/choice_grid.h"
#include "cgt/rules/named_parcels.h"
#include "cgt/rules/trade_plan.h"
#include "report/core/catalog.h"
#include "report/core/pages.h"
#include "report/core/script.h"
#include "report/engine/print_to_pdf.h"
#include "store/data_file.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/file_cipher.h"
#include "store/run_state.h"
#include "store/store_dump.h"
#include "store/worksheet_rows.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 2;

constexpr std::string_view kUsage =
    R"(usage: cgt COMMAND OPERANDS --id IDENTIFIER [OPTIONS]

commands:
  new FILE --id ID [--force]           write an empty return for identifier ID
  dump FILE --id ID [--json]           print every field of the return
  stat FILE --id ID                    print one line of counts
  compute FILE --id ID [--auto | --lowest] [--json] [--write]
                                       recompute every CGT event and print the results;
                                       --auto makes all choices as the button does, --lowest
                                       those that give the lowest net capital gain the rules
                                       allow; --write saves the recomputed return
  import RETURN --id ID TRADES... [--method fifo|lifo|highest|lowest] [--parcels FILE] [--dry-run]
         [--json]                      read brokers' trade files, match the sales of 2003-04 to
                                       parcels and record each match as a shares event;
                                       --dry-run prints the matches and records nothing
  rekey IN OUT --id OLD --new-id NEW [--force]
                                       save the return IN under the identifier NEW as OUT
  decrypt IN OUT --id ID [--force]     write the plain form of IN to OUT
  encrypt IN OUT --id ID [--force]     encipher the plain file IN into OUT
  print FILE --id ID --report NAME [--worksheet W --row R] --pdf OUT [--force]
                                       write a report of the return to OUT as PDF: an event's
                                       CGTWSHT, CGTASSET or CGTNASS (its worksheet and row),
                                       SCHEDCGT, CGTCHOICE, CGTCHOICEOLD or CGTDISEV
  help, --help                         print this text

An existing output file is replaced only with --force; the replaced file becomes its .BAK
companion for new and rekey. Exit status: 0 on success, 2 on any failure.
)";

// A failure reported as one line on standard error.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Keeps the store's messages instead of showing them; answers every box cautiously.
class RecordingDialogs final : public cgt::DialogService {
public:
    RecordingDialogs() { cgt::SetDialogService(this); }
    ~RecordingDialogs() override { cgt::SetDialogService(nullptr); }
    RecordingDialogs(const RecordingDialogs&) = delete;
    RecordingDialogs& operator=(const RecordingDialogs&) = delete;

    int ShowMessage(const cgt::MessageRequest& request) override {
        messages.push_back(request.text);
        if (request.defaultResult != 0) return request.defaultResult;
        if (request.buttons & cgt::mbCancel) return cgt::mrCancel;
        if (request.buttons & cgt::mbNo) return cgt::mrNo;
        return cgt::mrOK;
    }
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    void Beep() override {}

    std::vector<std::string> messages;
};

// The message's text on one line: blank-separated paragraphs joined by "; ".
std::string OneLine(std::string_view text) {
    std::string out;
    bool pendingBreak = false;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            pendingBreak = !out.empty();
            continue;
        }
        if (pendingBreak) out += "; ";
        pendingBreak = false;
        out += c;
    }
    return out;
}

// One line on standard error: a failure, or a note that does not fail the command.
void Complain(std::string_view text) {
    std::string line = "cgt: " + OneLine(text) + "\n";
    std::fputs(line.c_str(), stderr);
}

struct Arguments {
    std::string command;
    std::vector<std::string> operands;
    std::optional<std::string> id;
    std::optional<std::string> newId;
    bool json = false;
    bool force = false;
    bool autoChoices = false;
    bool lowest = false;
    bool write = false;
    bool dryRun = false;
    bool help = false;
    std::map<std::string, std::string> values; // the options of kValueOptions
};

// Options that take a value, and the command each applies to.
struct ValueOption {
    std::string_view name;
    std::string_view command;
};
constexpr ValueOption kValueOptions[] = {{"--report", "print"},  {"--worksheet", "print"},
                                         {"--row", "print"},     {"--pdf", "print"},
                                         {"--method", "import"}, {"--parcels", "import"}};

Arguments Parse(int argc, char** argv) {
    Arguments args;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            if (args.command.empty())
                args.command = arg;
            else
                args.operands.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            args.help = true;
        } else if (arg == "--json") {
            args.json = true;
        } else if (arg == "--force") {
            args.force = true;
        } else if (arg == "--auto") {
            args.autoChoices = true;
        } else if (arg == "--lowest") {
            args.lowest = true;
        } else if (arg == "--write") {
            args.write = true;
        } else if (arg == "--dry-run") {
            args.dryRun = true;
        } else if (const auto* option =
                       std::find_if(std::begin(kValueOptions), std::end(kValueOptions),
                                    [&](const ValueOption& o) {
                                        return o.name == arg.substr(0, arg.find('='));
                                    });
                   option != std::end(kValueOptions)) {
            const std::string name(option->name);
            std::string value;
            if (arg.size() > name.size()) {
                value = arg.substr(name.size() + 1);
            } else {
                if (i + 1 >= argc) throw Failure(name + " needs a value");
                value = argv[++i];
            }
            if (value.empty()) throw Failure(name + " needs a non-empty value");
            args.values[name] = std::move(value);
        } else if (arg.starts_with("--id") || arg.starts_with("--new-id")) {
            const bool isNew = arg.starts_with("--new-id");
            const std::string_view name = isNew ? "--new-id" : "--id";
            std::string value;
            if (arg.size() > name.size()) {
                if (arg[name.size()] != '=') throw Failure("unknown option " + std::string(arg));
                value = arg.substr(name.size() + 1);
            } else {
                if (i + 1 >= argc) throw Failure(std::string(name) + " needs a value");
                value = argv[++i];
            }
            if (value.empty()) throw Failure(std::string(name) + " needs a non-empty value");
            (isNew ? args.newId : args.id) = std::move(value);
        } else {
            throw Failure("unknown option " + std::string(arg));
        }
    }
    return args;
}

struct CommandRule {
    std::string_view name;
    std::size_t operands;
    std::string_view operandNames;
    bool json;
    bool force;
    bool newId;
    bool compute = false;      // --auto, --lowest and --write
    bool moreOperands = false; // `operands` is the least number
};

constexpr CommandRule kRules[] = {
    {"new", 1, "FILE", false, true, false},
    {"dump", 1, "FILE", true, false, false},
    {"stat", 1, "FILE", false, false, false},
    {"rekey", 2, "IN OUT", false, true, true},
    {"decrypt", 2, "IN OUT", false, true, false},
    {"encrypt", 2, "IN OUT", false, true, false},
    {"compute", 1, "FILE", true, false, false, true},
    {"print", 1, "FILE", false, true, false},
    {"import", 2, "RETURN TRADES...", true, false, false, false, true},
};

const CommandRule& CheckArguments(const Arguments& args) {
    const CommandRule* rule = nullptr;
    for (const auto& r : kRules)
        if (r.name == args.command) rule = &r;
    if (rule == nullptr) throw Failure("unknown command '" + args.command + "'; try cgt --help");
    const std::string cmd(rule->name);
    if (args.operands.size() < rule->operands)
        throw Failure(cmd + ": missing operand (expected " + std::string(rule->operandNames) + ")");
    if (args.operands.size() > rule->operands && !rule->moreOperands)
        throw Failure(cmd + ": unexpected operand '" + args.operands[rule->operands] + "'");
    for (const auto& operand : args.operands)
        if (operand.empty()) throw Failure(cmd + ": empty file name");
    if (!args.id) throw Failure(cmd + ": missing --id IDENTIFIER");
    if (rule->newId && !args.newId) throw Failure(cmd + ": missing --new-id IDENTIFIER");
    if (!rule->newId && args.newId) throw Failure(cmd + ": --new-id applies to rekey only");
    if (!rule->json && args.json)
        throw Failure(cmd + ": --json applies to dump, compute and import only");
    if (!rule->compute && args.autoChoices) throw Failure(cmd + ": --auto applies to compute only");
    if (!rule->compute && args.lowest) throw Failure(cmd + ": --lowest applies to compute only");
    if (args.autoChoices && args.lowest)
        throw Failure(cmd + ": --auto and --lowest exclude each other");
    if (!rule->compute && args.write) throw Failure(cmd + ": --write applies to compute only");
    if (!rule->force && args.force) throw Failure(cmd + ": --force does not apply");
    for (const auto& [name, value] : args.values)
        for (const ValueOption& option : kValueOptions)
            if (option.name == name && option.command != rule->name)
                throw Failure(cmd + ": " + name + " applies to " + std::string(option.command) +
                              " only");
    if (args.dryRun && rule->name != "import")
        throw Failure(cmd + ": --dry-run applies to import only");
    return *rule;
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// Both exist and are the same file (a missing output is never the input).
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

// Refuses to replace an existing output (or the input itself) without --force.
void CheckOutput(const Arguments& args, const std::string& out, const std::string* in) {
    if (args.force) return;
    if (in != nullptr && SameFile(*in, out))
        throw Failure(out + " is the input file; use --force to replace it");
    if (PathExists(out)) throw Failure(out + " already exists; use --force to replace it");
}

// Loads the return at `path` under `identifier` into the run.
void Load(const std::string& path, const std::string& identifier) {
    {
        std::ifstream probe(path, std::ios::binary);
        if (!probe) throw Failure("cannot open " + path + ": " + std::strerror(errno));
    }
    if (fs::is_directory(path)) throw Failure("cannot read " + path + ": is a folder");
    RecordingDialogs dialogs;
    cgt::ResetModuleRun();
    cgt::Run().HostIdentifier = identifier;
    cgt::LoadStatus status;
    try {
        status = cgt::LoadDataFile(path);
    } catch (const cgt::DataFileError& e) {
        // The cipher step rejects a file shorter than one block, and a final block whose count
        // byte is impossible, which is what a wrong key gives.
        std::error_code ec;
        if (fs::file_size(path, ec) < 8 && !ec)
            throw Failure("cannot read " + path + ": not a data file (too short)");
        throw Failure("cannot read " + path + ": wrong identifier or not a data file (" + e.what() +
                      ")");
    }
    switch (status) {
    case cgt::LoadStatus::Loaded:
        return;
    case cgt::LoadStatus::BadSignature:
        throw Failure("cannot read " + path + ": wrong identifier or not a data file");
    case cgt::LoadStatus::BadRecord: {
        std::string detail =
            dialogs.messages.empty() ? "" : " (" + OneLine(dialogs.messages.back()) + ")";
        throw Failure("cannot read " + path + ": malformed data file" + detail);
    }
    }
}

// The paragraphs of a store message after its first, each on one line, joined by "; ".
std::string MessageDetail(const RecordingDialogs& dialogs, std::string_view fallback) {
    if (dialogs.messages.empty()) return std::string(fallback);
    std::vector<std::string> paragraphs;
    std::string_view text = dialogs.messages.back();
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find("\n\n", start);
        if (end == std::string_view::npos) end = text.size();
        paragraphs.emplace_back(OneLine(text.substr(start, end - start)));
        start = end + 2;
    }
    if (paragraphs.size() < 2) return paragraphs.front();
    std::string detail = paragraphs[1];
    for (std::size_t i = 2; i < paragraphs.size(); ++i)
        detail += "; " + paragraphs[i];
    return detail;
}

// Saves the run's store to `path`.
void Save(const std::string& path) {
    RecordingDialogs dialogs;
    switch (cgt::SaveDataFile(path)) {
    case cgt::SaveStatus::Saved:
        return;
    case cgt::SaveStatus::Locked:
        throw Failure("cannot save " + path + ": the return is lodged and locked");
    case cgt::SaveStatus::NoName:
        throw Failure("cannot save: empty file name");
    case cgt::SaveStatus::Unsynced:
        // "The return was saved to PATH, but …": the file is there, its rename may not last.
        throw Failure(MessageDetail(dialogs, "saved " + path + ", but its folder was not flushed"));
    case cgt::SaveStatus::Failed:
        // "Unable to save file - PATH", the reason and where the previous data is, as
        // blank-separated paragraphs.
        throw Failure("cannot save " + path + ": " + MessageDetail(dialogs, "write failed"));
    }
}

// ---- compute: the events as the compute contract prints them -------------------------------

// A result: `notAvailable` when the method is not available, 0 for a calculated nil, else the
// whole-dollar amount.
std::string ResultText(const cgt::MethodResult& result, const char* notAvailable) {
    if (result.IsNil()) return "0";
    if (!result.Available() || !std::isfinite(result.Amount())) return notAvailable;
    return cgt::FormatFixed(cgt::RoundHalfEven(result.Amount()), 18, 0);
}

// A result, or a cost base as results are kept (0 none, the explicit zero a nil), as JSON.
cgt::Json ResultJson(const cgt::MethodResult& result) {
    const std::string text = ResultText(result, "");
    return text.empty() ? cgt::Json() : cgt::JsonNumber(text);
}
cgt::Json ResultJson(cgt::Extended stored) {
    return ResultJson(cgt::MethodResult::FromStored(stored));
}

// A whole-dollar amount of the store, the calculated nil as 0.
std::string AmountText(cgt::Extended value) {
    if (!std::isfinite(value) || cgt::IsExplicitZero(value)) return "0";
    const std::string text = cgt::FormatFixed(cgt::RoundHalfEven(value), 18, 0);
    return text == "-0" ? "0" : text;
}

cgt::Json AmountJson(cgt::Extended value) {
    return cgt::JsonNumber(AmountText(value));
}

cgt::Json EventJson(const cgt::RecomputedEvent& e) {
    cgt::Json event;
    event["worksheet"] = e.worksheet;
    event["row"] = e.row;
    event["name"] = cgt::JsonLatin1(e.name);
    event["type"] = cgt::JsonLatin1(e.type);
    const char* const resultKeys[] = {"indexed_gain", "discount_gain", "other_gain",
                                      "capital_loss"};
    for (std::size_t i = 0; i < e.results.size(); ++i)
        event[resultKeys[i]] = ResultJson(e.results[i]);
    event["cost_base_non_indexed"] = ResultJson(e.costBase.nonIndexed);
    event["cost_base_indexed"] = ResultJson(e.costBase.indexed);
    event["reduced_cost_base"] = ResultJson(e.costBase.reduced);
    cgt::Json& messages = event["messages"] = cgt::Json::array();
    for (const std::string& message : e.messages)
        messages.push_back(cgt::JsonLatin1(message));
    return event;
}

// The choice table's rows in table order, empty rows left out. An empty amount cell is null; the
// net gain has two decimals.
cgt::Json ChoiceTableJson(const std::vector<cgt::ChoiceRow>& rows) {
    cgt::Json list = cgt::Json::array();
    for (const cgt::ChoiceRow& row : rows) {
        if (row.Empty()) continue;
        const cgt::ChoiceCells cells = cgt::ChoiceRowCells(row);
        auto text = [](std::string_view t) { return cgt::JsonLatin1(cgt::TrimText(t)); };
        auto amount = [](const cgt::ChoiceAmount& a, int decimals = 0) {
            if (cgt::TrimText(a.Text()).empty()) return cgt::Json();
            return cgt::JsonNumber(decimals == 0 ? AmountText(a.Value())
                                                 : cgt::FormatFixed(a.Value(), 18, decimals));
        };
        cgt::Json& r = list.emplace_back();
        r["worksheet"] = row.source.Number();
        r["index"] = row.source.index;
        r["code"] = text(row.source.code);
        r["description"] = text(row.description);
        r["type"] = text(row.type);
        r["indexed"] = amount(row.indexed);
        r["discount"] = amount(row.discount);
        r["method"] = text(cells[cgt::ccMethod]);
        r["other"] = amount(row.other);
        r["loss"] = amount(row.loss);
        r["deferred"] = row.Deferred();
        r["collectable_loss_applied"] = amount(row.collectableApplied);
        r["other_loss_applied"] = amount(row.otherApplied);
        r["net_gain"] = amount(row.netGain, 2);
    }
    return list;
}

// The schedule row's labels as stored.
cgt::Json ScheduleJson() {
    using namespace cgt::tag::schedule;
    cgt::FetchRow(cgt::wkSchedule, 1);
    cgt::Json schedule = cgt::Json::object();
    for (int label : cgt::ScheduleLabels()) {
        cgt::Json& value = schedule[std::to_string(label)];
        if (label == kFifteenYearAssetCode)
            value = cgt::JsonLatin1(cgt::TrimText(cgt::GetFieldStr(label)));
        else if (label == kScripRollOverChosen || label == kScripRollOverNotChosen)
            value = cgt::FieldChecked(label);
        else
            value = AmountJson(cgt::GetFieldVal(label));
    }
    cgt::ZeroFillScratchTags();
    return schedule;
}

std::string ComputeJson(const std::vector<cgt::RecomputedEvent>& events,
                        const cgt::ChoiceRun& choices) {
    cgt::Json result;
    cgt::Json& eventList = result["events"] = cgt::Json::array();
    for (const cgt::RecomputedEvent& e : events)
        eventList.push_back(EventJson(e));
    result["choice_table"] = ChoiceTableJson(choices.table.rows);
    result["refused"] = choices.refused ? cgt::JsonLatin1(choices.refused->message) : cgt::Json();
    result["schedule"] = ScheduleJson();
    result["net_capital_gain"] = AmountJson(cgt::GetFieldVal(cgt::tag::kNetCapitalGain));
    result["total_current_year_capital_gains"] =
        AmountJson(cgt::GetFieldVal(cgt::tag::kTotalCurrentYearGains));
    result["unapplied_losses_carried_forward"] =
        AmountJson(cgt::GetFieldVal(cgt::tag::kLossesCarriedForward));
    if (choices.lowest) result["lowest"] = true;
    // The members one to a line, and so the events and the rows of the table.
    using Pointer = cgt::Json::json_pointer;
    return cgt::JsonText(
        result, {.brokenContainers = {Pointer(), Pointer("/events"), Pointer("/choice_table")}});
}

// How the lowest net capital gain compares with the make-all-choices one.
std::string LowestSummary(const cgt::LowestChoices& lowest) {
    if (!lowest.found)
        return "the lowest net capital gain could not be found; the choices are made as --auto "
               "makes them\n";
    const std::string applyAll = std::to_string(lowest.applyAllNetCapitalGain);
    if (lowest.BelowApplyAll() == 0)
        return "the net capital gain is the lowest the rules allow, as making all choices gives\n";
    return "the net capital gain is the lowest the rules allow: " +
           std::to_string(lowest.BelowApplyAll()) + " below the " + applyAll +
           " that making all choices gives\n";
}

// The choice table's rows, one a line: what the row is, its amounts (a dash for an empty cell),
// its method, the losses applied and its net gain.
std::string ChoiceTableText(const std::vector<cgt::ChoiceRow>& rows) {
    std::string out;
    for (const cgt::ChoiceRow& row : rows) {
        if (row.Empty()) continue;
        const cgt::ChoiceCells cells = cgt::ChoiceRowCells(row);
        auto amount = [](const cgt::ChoiceAmount& a, int decimals = 0) {
            if (cgt::TrimText(a.Text()).empty()) return std::string("-");
            return decimals == 0 ? AmountText(a.Value())
                                 : cgt::TrimText(cgt::FormatFixed(a.Value(), 18, decimals));
        };
        const std::string method = cgt::TrimText(cells[cgt::ccMethod]);
        out += "choice " + cgt::TrimText(row.description);
        if (!cgt::TrimText(row.type).empty()) out += " (" + cgt::TrimText(row.type) + ")";
        out += ": indexed " + amount(row.indexed) + ", discount " + amount(row.discount) +
               ", method " + (method.empty() ? "-" : method) + ", other " + amount(row.other) +
               ", loss " + amount(row.loss) + (row.Deferred() ? ", deferred" : "") +
               ", collectable losses applied " + amount(row.collectableApplied) +
               ", other losses applied " + amount(row.otherApplied) + ", net gain " +
               amount(row.netGain, 2) + "\n";
    }
    return out;
}

// The choice table, the net capital gain, a refusal, the lowest's comparison, and the schedule's
// labels that are not zero.
std::string ChoicesSummary(const cgt::ChoiceRun& choices) {
    std::string out = ChoiceTableText(choices.table.rows);
    if (choices.refused) out += "refused: " + choices.refused->message + "\n";
    out += "net capital gain " + AmountText(cgt::GetFieldVal(cgt::tag::kNetCapitalGain)) + "\n";
    if (choices.lowest) out += LowestSummary(*choices.lowest);
    cgt::FetchRow(cgt::wkSchedule, 1);
    for (int label : cgt::ScheduleLabels()) {
        const std::string text = cgt::GetFieldText(label);
        const cgt::Extended value = cgt::GetFieldVal(label);
        if (cgt::IsNumberType(cgt::GetFieldType(label)) ? AmountText(value) != "0"
                                                        : !cgt::TrimText(text).empty())
            out += "schedule " + std::to_string(label) + ": " +
                   (cgt::IsNumberType(cgt::GetFieldType(label)) ? AmountText(value) : text) + "\n";
    }
    cgt::ZeroFillScratchTags();
    return out;
}

std::string ComputeSummary(const std::vector<cgt::RecomputedEvent>& events) {
    std::string out;
    for (const cgt::RecomputedEvent& e : events) {
        out += std::to_string(e.worksheet) + " row " + std::to_string(e.row) + " " + e.name;
        if (!e.type.empty()) out += " (" + e.type + ")";
        out += ": ";
        if (!e.error.empty()) {
            out += e.error + "\n";
            continue;
        }
        out += "indexed gain " + ResultText(e.results[0], "-");
        out += ", discount gain " + ResultText(e.results[1], "-");
        out += ", other gain " + ResultText(e.results[2], "-");
        out += ", capital loss " + ResultText(e.results[3], "-") + "\n";
    }
    out += std::to_string(events.size()) + (events.size() == 1 ? " event" : " events") +
           " recomputed\n";
    return out;
}

// How compute makes the choices: as stored, or as --auto or --lowest say.
cgt::ChoiceMode ChoiceModeOf(const Arguments& args) {
    if (args.lowest) return cgt::ChoiceMode::Lowest;
    return args.autoChoices ? cgt::ChoiceMode::MakeAll : cgt::ChoiceMode::Stored;
}

void WriteOut(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        throw Failure(std::string("cannot write the output: ") + std::strerror(errno));
}

// A whole number operand of an option.
int NumberOption(const Arguments& args, const std::string& option) {
    const std::string& text = args.values.at(option);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1)
        throw Failure("print: " + option + " needs a whole number above 0, not '" + text + "'");
    return value;
}

// Opens the row that the report prints from in the scratch tags: the one named, or the
// report's own (the schedule).
void OpenReportRow(const Arguments& args, const cgt::report::ReportKind& kind) {
    const bool named = args.values.contains("--worksheet") || args.values.contains("--row");
    if (named && !(args.values.contains("--worksheet") && args.values.contains("--row")))
        throw Failure("print: --worksheet and --row go together");
    if (kind.eventRow && !named)
        throw Failure("print: " + std::string(kind.name) +
                      " prints an event: name its --worksheet "
                      "and --row");
    const int worksheet = named ? NumberOption(args, "--worksheet") : kind.worksheet;
    const int row = named ? NumberOption(args, "--row") : kind.row;
    if (worksheet == 0) return;
    const cgt::Worksheet* sheet = cgt::WorksheetOf(worksheet);
    if (sheet == nullptr || row > 0xFFFF || !sheet->hasRow(static_cast<std::uint16_t>(row)))
        throw Failure("print: the return has no row " + std::to_string(row) + " in worksheet " +
                      std::to_string(worksheet));
    cgt::FetchRow(worksheet, row);
    // The grids of an event's gain calculation are not kept with its row (an item exists only
    // for a list whose first cell shows): they are worked out again, as the screen does, and
    // the row's stored results stay as they are.
    const auto kinds = cgt::GainWorksheetKinds();
    const bool gainEvent = std::find(kinds.begin(), kinds.end(), worksheet) != kinds.end();
    using cgt::tag::event::kAssetRegisterGrid;
    using cgt::tag::event::kWorksheetGrid;
    if (!gainEvent ||
        (!cgt::FieldIsEmpty(kAssetRegisterGrid) && !cgt::FieldIsEmpty(kWorksheetGrid)))
        return;
    std::vector<std::pair<int, cgt::FieldEntry>> stored;
    for (auto [first, last] : cgt::kScratchRanges)
        for (int tag = first; tag <= last; ++tag)
            if (tag != kAssetRegisterGrid && tag != kWorksheetGrid)
                stored.emplace_back(tag, cgt::Store().entry(tag));
    {
        RecordingDialogs dialogs;
        cgt::RunGainWorksheet(cgt::GainVariantOf(worksheet));
    }
    for (auto& [tag, entry] : stored)
        cgt::Store().entry(tag) = std::move(entry);
}

void PrintReport(const Arguments& args, const std::string& file, const std::string& id) {
    if (!args.values.contains("--report")) throw Failure("print: missing --report NAME");
    if (!args.values.contains("--pdf")) throw Failure("print: missing --pdf OUT");
    const std::string& name = args.values.at("--report");
    const cgt::report::ReportKind* kind = cgt::report::FindReport(name);
    if (kind == nullptr) {
        std::string names;
        for (const auto& k : cgt::report::Reports())
            names += (names.empty() ? "" : ", ") + std::string(k.name);
        throw Failure("print: no report named '" + name + "' (reports: " + names + ")");
    }
    const std::string& out = args.values.at("--pdf");
    CheckOutput(args, out, &file);
    Load(file, id);
    OpenReportRow(args, *kind);
    try {
        cgt::report::PrintReportToPdf(name, out);
    } catch (const cgt::report::ScriptError& e) {
        throw Failure("print: the script " + name + " is malformed: " + e.what());
    } catch (const std::runtime_error& e) {
        throw Failure("print: " + std::string(e.what()));
    }
}

// ---- import ------------------------------------------------------------------------------

std::string ReadWholeFile(const std::string& path) {
    if (fs::is_directory(path)) throw Failure("import: cannot read " + path + ": is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure("import: cannot read " + path + ": " + std::strerror(errno));
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

cgt::MatchMethod MatchMethodOf(const Arguments& args) {
    const auto given = args.values.find("--method");
    if (given == args.values.end()) return cgt::MatchMethod::Fifo;
    if (const auto method = cgt::MatchMethodOfName(given->second)) return *method;
    throw Failure("import: unknown --method " + given->second + " (fifo, lifo, highest or lowest)");
}

std::string CentsText(long long cents) {
    return cgt::FormatFixed(static_cast<cgt::Extended>(cents) / 100, 15, 2);
}

std::string MatchLine(const cgt::TradeMatch& m) {
    std::string line = m.sale.code + ": " + std::to_string(m.units) + " sold " +
                       cgt::FormatDate(m.sale.date) + " (" + m.sale.file + ":" +
                       std::to_string(m.sale.line) + ") from the parcel bought " +
                       cgt::FormatDate(m.parcel.date) + " (" + m.parcel.file + ":" +
                       std::to_string(m.parcel.line) + "): proceeds " + CentsText(m.proceedsCents) +
                       ", cost " + CentsText(m.costCents) + ", brokerage " +
                       CentsText(m.buyBrokerageCents) + " + " + CentsText(m.saleBrokerageCents) +
                       ", " + std::string(m.named ? "named" : cgt::MatchMethodName(m.method));
    if (!m.incomeYear) line += "; before the income year, no event";
    if (m.before1985) line += "; bought before 20/09/1985, disregarded";
    return line + "\n";
}

cgt::Json TradeJson(const cgt::Trade& trade) {
    return {{"file", trade.file},
            {"line", trade.line},
            {"date", cgt::FormatDate(trade.date)},
            {"code", trade.code}};
}

std::string ImportJson(const cgt::TradePlan& plan, const cgt::RecordedImport& recorded,
                       bool dryRun) {
    cgt::Json matches = cgt::Json::array();
    for (const cgt::TradeMatch& m : plan.matches)
        matches.push_back(
            {{"sale", TradeJson(m.sale)},
             {"parcel", TradeJson(m.parcel)},
             {"units", m.units},
             {"proceeds", static_cast<double>(m.proceedsCents) / 100},
             {"cost", static_cast<double>(m.costCents) / 100},
             {"buy_brokerage", static_cast<double>(m.buyBrokerageCents) / 100},
             {"sale_brokerage", static_cast<double>(m.saleBrokerageCents) / 100},
             {"method", m.named ? "named" : std::string(cgt::MatchMethodName(m.method))},
             {"income_year", m.incomeYear},
             {"before_1985", m.before1985},
             {"event", cgt::MakesEvent(m)}});
    cgt::Json result;
    result["matches"] = std::move(matches);
    result["events"] = plan.events.size();
    result["dry_run"] = dryRun;
    result["events_replaced"] = recorded.replaced;
    if (plan.lowest)
        result["lowest"] = {{"net_capital_gain", plan.lowest->netCapitalGain},
                            {"first_in_net_capital_gain", plan.lowest->firstInNetCapitalGain},
                            {"proven", plan.lowest->proven}};
    using Pointer = cgt::Json::json_pointer;
    return cgt::JsonText(result, {.brokenContainers = {Pointer(), Pointer("/matches")}});
}

// Reads the trade files (and the named parcels), matches, and unless it is a dry run records
// the events and saves the return; nothing is saved when anything is refused.
int ImportCommand(const Arguments& args) {
    const std::string& returnPath = args.operands[0];
    const cgt::MatchMethod method = MatchMethodOf(args);
    std::vector<cgt::NamedParcel> named;
    if (const auto parcels = args.values.find("--parcels"); parcels != args.values.end()) {
        cgt::NamedParcels read =
            cgt::ReadNamedParcels(parcels->second, ReadWholeFile(parcels->second));
        if (read.refused) throw Failure("import: " + read.refused->Text());
        named = std::move(read.parcels);
    }
    std::vector<cgt::TradeSource> sources;
    std::vector<std::string> names;
    for (std::size_t i = 1; i < args.operands.size(); ++i) {
        sources.push_back({args.operands[i], ReadWholeFile(args.operands[i])});
        names.push_back(args.operands[i]);
    }
    Load(returnPath, *args.id);
    const cgt::TradePlan plan = cgt::PlanImportForReturn(sources, method, named);
    if (!plan.refused.empty()) {
        for (const cgt::TradeRefusal& refusal : plan.refused)
            Complain("import: " + refusal.Text());
        return kExitFailed;
    }
    cgt::RecordedImport recorded;
    if (!args.dryRun) {
        recorded = cgt::RecordImportedEvents(plan.events, names);
        Save(returnPath);
    }
    if (args.json) {
        WriteOut(ImportJson(plan, recorded, args.dryRun));
        return kExitOk;
    }
    std::string out;
    for (const cgt::TradeMatch& m : plan.matches)
        out += MatchLine(m);
    if (plan.lowest) out += cgt::LowestMatchingNote(*plan.lowest) + "\n";
    out += args.dryRun ? std::to_string(plan.events.size()) + " events to record; dry run, nothing "
                                                              "recorded\n"
                       : std::to_string(recorded.added) + " events recorded" +
                             (recorded.replaced > 0 ? ", " + std::to_string(recorded.replaced) +
                                                          " of an earlier import replaced"
                                                    : std::string()) +
                             "\n";
    WriteOut(out);
    return kExitOk;
}

int Execute(const Arguments& args) {
    const CommandRule& rule = CheckArguments(args);
    const std::string& id = *args.id;
    const std::string& first = args.operands[0];

    if (rule.name == "new") {
        CheckOutput(args, first, nullptr);
        cgt::ResetModuleRun();
        cgt::Run().HostIdentifier = id;
        cgt::SetFieldStr(cgt::tag::kIdentifier, id);
        Save(first);
    } else if (rule.name == "dump") {
        Load(first, id);
        WriteOut(args.json ? cgt::DumpStoreJson() : cgt::DumpStoreText());
    } else if (rule.name == "stat") {
        Load(first, id);
        WriteOut(cgt::StoreStatistics() + "\n");
    } else if (rule.name == "compute") {
        Load(first, id);
        std::vector<cgt::RecomputedEvent> events;
        cgt::ChoiceRun choices;
        {
            RecordingDialogs dialogs;
            events = cgt::RecomputeEvents();
            choices = cgt::RunChoiceTable(ChoiceModeOf(args));
        }
        if (args.write) Save(first);
        // A date that does not convert ends that event's calculation; its results stay cleared.
        for (const cgt::RecomputedEvent& e : events)
            if (!e.error.empty())
                Complain("worksheet " + std::to_string(e.worksheet) + " row " +
                         std::to_string(e.row) + ": " + e.error);
        WriteOut(args.json ? ComputeJson(events, choices)
                           : ComputeSummary(events) + ChoicesSummary(choices));
    } else if (rule.name == "import") {
        return ImportCommand(args);
    } else if (rule.name == "print") {
        PrintReport(args, first, id);
    } else if (rule.name == "rekey") {
        const std::string& out = args.operands[1];
        CheckOutput(args, out, &first);
        Load(first, id);
        cgt::Run().HostIdentifier = *args.newId;
        cgt::SetFieldStr(cgt::tag::kIdentifier, *args.newId);
        if (cgt::GetFieldStr(cgt::tag::kIdentifier) != *args.newId)
            throw Failure("cannot rekey " + first + ": field 1 does not hold a text");
        Save(out);
    } else {
        const std::string& out = args.operands[1];
        CheckOutput(args, out, &first);
        const auto direction = rule.name == "decrypt" ? cgt::CipherDirection::Decipher
                                                      : cgt::CipherDirection::Encipher;
        try {
            cgt::TripleDesFile(first, out, cgt::DeriveFileKey(cgt::KeyTextOf(id)), direction);
        } catch (const cgt::CipherError& e) {
            throw Failure(std::string(rule.name) + " " + first + ": " + e.what());
        }
    }
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Arguments args = Parse(argc, argv);
        if (args.help || args.command == "help") {
            WriteOut(kUsage);
            return kExitOk;
        }
        if (args.command.empty()) throw Failure("no command; try cgt --help");
        return Execute(args);
    } catch (const Failure& e) {
        Complain(e.what());
    } catch (const std::exception& e) {
        Complain(std::string("unexpected error: ") + e.what());
    } catch (...) {
        Complain("unexpected error");
    }
    return kExitFailed;
}
