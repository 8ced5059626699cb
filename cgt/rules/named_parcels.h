#pragma once
// The parcels named for particular sales (specific identification): a file of lines
// "sale date,code,units,parcel date", dates dd/mm/yyyy; blank lines and lines starting with #
// are skipped.

#include <optional>
#include <string_view>
#include <vector>

#include "cgt/rules/trade_matching.h"
#include "cgt/rules/trades.h"

namespace cgt {

struct NamedParcels {
    std::vector<NamedParcel> parcels;
    std::optional<TradeRefusal> refused; // the first line that is none; no parcels then
};

NamedParcels ReadNamedParcels(std::string_view fileName, std::string_view text);

} // namespace cgt
