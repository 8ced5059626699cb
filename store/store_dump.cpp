#include "store/store_dump.h"

#include <array>
#include <cmath>
#include <sstream>

#include "base/json_writer.h"
#include "base/number_format.h"
#include "store/data_file.h"
#include "store/field_store.h"
#include "store/run_state.h"

namespace cgt {
namespace {

std::string typeLabel(std::uint8_t type) {
    std::string_view name = FieldTypeName(type);
    return name.empty() ? "type" + std::to_string(type) : std::string(name);
}

Json JsonValue(const FieldEntry& e);

// A number with up to 18 significant digits; null when it is not finite.
Json NumberJson(Extended v) {
    return std::isfinite(v) ? JsonNumber(FormatGeneral(v, 18)) : Json();
}

Json ListJson(const StringListRef& list) {
    Json lines = Json::array();
    if (list)
        for (const std::string& line : *list)
            lines.push_back(JsonLatin1(line));
    return lines;
}

Json ItemsJson(const WorksheetRef& sheet) {
    Json items = Json::array();
    if (sheet)
        for (const auto& item : sheet->items())
            items.push_back({{"row", item.row},
                             {"tag", item.tag},
                             {"type", FieldTypeName(item.entry.type)},
                             {"value", JsonValue(item.entry)}});
    return items;
}

Json JsonValue(const FieldEntry& e) {
    switch (e.type) {
    case dtNumeric:
    case dtCurrency:
    case dtCurrencyCnt:
        return NumberJson(e.number());
    case dtString:
    case dtSmallStr:
        return JsonLatin1(EntryDisplayText(e));
    case dtCheckbox:
        return e.checked();
    case dtList:
        return ListJson(e.list);
    case dtWorksheet:
        return ItemsJson(e.sheet);
    default:
        return nullptr;
    }
}

} // namespace

std::string DumpStoreJson() {
    const ModuleRunState& run = Run();
    Json fields = Json::array();
    for (int tag = 1; tag <= kFieldCount; ++tag) {
        const FieldEntry& e = Store().entry(tag);
        if (e.type == dtNone) continue;
        fields.push_back({{"tag", tag}, {"type", typeLabel(e.type)}, {"value", JsonValue(e)}});
    }
    Json dump;
    dump["signature"] = JsonLatin1(FileSignature);
    dump["section"] = run.CurrentSection;
    dump["index"] = run.CurrentIndex;
    dump["history"] = run.ScreenHistory;
    dump["fields"] = std::move(fields);
    // One field to a line.
    return JsonText(dump, {.brokenContainers = {Json::json_pointer("/fields")}});
}

std::string DumpStoreText() {
    const ModuleRunState& run = Run();
    std::ostringstream out;
    out << "signature: " << FileSignature << "\n";
    out << "section: " << run.CurrentSection << "  index: " << run.CurrentIndex << "\n";
    out << "history:";
    for (auto screen : run.ScreenHistory)
        out << ' ' << screen;
    out << "\n";
    for (int tag = 1; tag <= kFieldCount; ++tag) {
        const FieldEntry& e = Store().entry(tag);
        if (e.type == dtNone) continue;
        out << tag << ' ' << typeLabel(e.type);
        if (e.type == dtList && e.list) {
            for (const auto& line : *e.list)
                out << "\n    " << line;
        } else if (e.type == dtWorksheet && e.sheet) {
            for (const auto& item : e.sheet->items()) {
                out << "\n    row " << item.row << " tag " << item.tag << ' '
                    << typeLabel(item.entry.type) << ' ' << EntryDisplayText(item.entry);
            }
        } else {
            out << ' ' << EntryDisplayText(e);
        }
        out << "\n";
    }
    return out.str();
}

std::string StoreStatistics() {
    std::array<std::size_t, 256> byType{};
    std::size_t rows = 0, items = 0;
    for (int tag = 1; tag <= kFieldCount; ++tag) {
        const FieldEntry& e = Store().entry(tag);
        ++byType[e.type];
        if (e.type == dtWorksheet && e.sheet) {
            items += e.sheet->size();
            rows += e.sheet->rowKeys().size();
        }
    }
    std::ostringstream out;
    bool first = true;
    for (std::size_t t = 1; t < byType.size(); ++t) {
        if (!byType[t]) continue;
        out << (first ? "" : " ") << typeLabel(static_cast<std::uint8_t>(t)) << '=' << byType[t];
        first = false;
    }
    out << (first ? "" : " ") << "worksheetRows=" << rows << " worksheetItems=" << items;
    return out.str();
}

} // namespace cgt
