#include "store/store_dump.h"

#include <array>
#include <cmath>
#include <sstream>

#include "base/number_format.h"
#include "store/data_file.h"
#include "store/field_store.h"
#include "store/run_state.h"

namespace cgt {
namespace {

void appendJsonString(std::string& out, std::string_view latin1) {
    out += '"';
    for (unsigned char c : latin1) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else if (c < 0x80) {
                out += static_cast<char>(c);
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
    }
    out += '"';
}

void appendJsonNumber(std::string& out, Extended v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    out += FormatGeneral(v, 18);
}

void appendJsonList(std::string& out, const StringListRef& list) {
    out += '[';
    if (list) {
        for (std::size_t i = 0; i < list->size(); ++i) {
            if (i) out += ", ";
            appendJsonString(out, (*list)[i]);
        }
    }
    out += ']';
}

void appendJsonValue(std::string& out, const FieldEntry& e);

void appendJsonItems(std::string& out, const WorksheetRef& sheet) {
    out += '[';
    if (sheet) {
        bool first = true;
        for (const auto& item : sheet->items()) {
            if (!first) out += ", ";
            first = false;
            out += "{\"row\": " + std::to_string(item.row) +
                   ", \"tag\": " + std::to_string(item.tag) + ", \"type\": ";
            appendJsonString(out, FieldTypeName(item.entry.type));
            out += ", \"value\": ";
            appendJsonValue(out, item.entry);
            out += '}';
        }
    }
    out += ']';
}

void appendJsonValue(std::string& out, const FieldEntry& e) {
    switch (e.type) {
    case dtNumeric:
    case dtCurrency:
    case dtCurrencyCnt:
        appendJsonNumber(out, e.number());
        break;
    case dtString:
    case dtSmallStr:
        appendJsonString(out, EntryDisplayText(e));
        break;
    case dtCheckbox:
        out += e.checked() ? "true" : "false";
        break;
    case dtList:
        appendJsonList(out, e.list);
        break;
    case dtWorksheet:
        appendJsonItems(out, e.sheet);
        break;
    default:
        out += "null";
    }
}

std::string typeLabel(std::uint8_t type) {
    std::string_view name = FieldTypeName(type);
    return name.empty() ? "type" + std::to_string(type) : std::string(name);
}

} // namespace

std::string DumpStoreJson() {
    const ModuleRunState& run = Run();
    std::string out = "{\"signature\": ";
    appendJsonString(out, FileSignature);
    out += ", \"section\": " + std::to_string(run.CurrentSection);
    out += ", \"index\": " + std::to_string(run.CurrentIndex);
    out += ", \"history\": [";
    for (std::size_t i = 0; i < run.ScreenHistory.size(); ++i) {
        if (i) out += ", ";
        out += std::to_string(run.ScreenHistory[i]);
    }
    out += "], \"fields\": [";
    bool first = true;
    for (int tag = 1; tag <= kFieldCount; ++tag) {
        const FieldEntry& e = Store().entry(tag);
        if (e.type == dtNone) continue;
        out += first ? "\n  " : ",\n  ";
        first = false;
        out += "{\"tag\": " + std::to_string(tag) + ", \"type\": ";
        appendJsonString(out, typeLabel(e.type));
        out += ", \"value\": ";
        appendJsonValue(out, e);
        out += '}';
    }
    out += first ? "]}\n" : "\n]}\n";
    return out;
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
