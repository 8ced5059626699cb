#include "cgt/rules/named_parcels.h"

#include <string>

#include "base/dates.h"
#include "base/number_format.h"
#include "base/text.h"

namespace cgt {

namespace {

constexpr std::string_view kExpected =
    "expected sale date,code,units,parcel date (dates dd/mm/yyyy, units a whole number above 0)";

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string_view::npos;
         start = comma + 1)
        fields.push_back(TrimBlanks(line.substr(start, comma - start)));
    fields.push_back(TrimBlanks(line.substr(start)));
    return fields;
}

std::optional<NamedParcel> ParcelOf(std::string_view line) {
    const std::vector<std::string_view> f = Fields(line);
    if (f.size() != 4 || f[1].empty()) return std::nullopt;
    const auto sale = ParseDate(f[0]), parcel = ParseDate(f[3]);
    const auto units = ParseNumber(f[2]);
    if (!sale || !parcel || !units || *units < 1 || *units != static_cast<long long>(*units))
        return std::nullopt;
    NamedParcel named;
    named.saleDate = *sale;
    named.code = UpperText(std::string(f[1]));
    named.units = static_cast<long long>(*units);
    named.parcelDate = *parcel;
    return named;
}

} // namespace

NamedParcels ReadNamedParcels(std::string_view fileName, std::string_view text) {
    NamedParcels result;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        // CRLF is one line end; CR or LF alone are one each.
        start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
        ++number;
        if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        const std::string_view trimmed = TrimBlanks(line);
        if (trimmed.empty() || trimmed.front() == '#') continue;
        std::optional<NamedParcel> parcel = ParcelOf(trimmed);
        if (!parcel) {
            result.parcels.clear();
            result.refused = TradeRefusal{std::string(fileName), number, std::string(kExpected)};
            return result;
        }
        parcel->file = std::string(fileName);
        parcel->line = number;
        result.parcels.push_back(std::move(*parcel));
    }
    return result;
}

} // namespace cgt
