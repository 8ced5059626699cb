#pragma once
// Share trades read from brokers' files, the parcels the buys make and the matches of sales to
// parcels: the records of the trade import, shared by the readers (trade_files.h), the matching
// (trade_matching.h) and the adapter that records the matches as events.

#include <optional>
#include <string>
#include <vector>

#include "base/dates.h"

namespace cgt {

enum class TradeSide { Buy, Sell };

// One trade of one file. Amounts are whole cents, positive whatever the file's sign.
struct Trade {
    std::string file;  // the file's name as given
    int line = 0;      // the trade's line in its file, from 1
    std::string code;  // upper case, trimmed
    DateTime date = 0; // the trade date
    TradeSide side = TradeSide::Buy;
    long long units = 0;          // above 0
    long long valueCents = 0;     // the trade value: units x price, before brokerage
    long long brokerageCents = 0; // brokerage including GST
};

// Why a file, or one line of it, is refused: nothing of any file is imported then.
struct TradeRefusal {
    std::string file;
    int line = 0; // 0: the file as a whole
    std::string message;
    // "FILE:LINE: MESSAGE", or "FILE: MESSAGE" for the file as a whole.
    std::string Text() const {
        return file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message;
    }
};

} // namespace cgt
