#pragma once
// The readers of brokers' trade files. A file is told apart by its header line, the first line
// that is one of the known headers after any title lines:
// - a broker's end-of-year transaction summary (Code, Company, Date, Type, Quantity, ...): rows
//   until the first blank line or line without a code (the totals, then a disclaimer and a
//   glossary); sells carry negative quantities and trade values;
// - a broker's trade confirmations (Confirmation Number, ..., Confirmation Status): only rows
//   with status "Confirmed" are trades;
// - a portfolio tracker's "All Trades" report (Market, Code, Name, Type, Date, ...), whose
//   headings vary between versions; trades in a currency other than AUD are refused;
// - the plain format `date,code,side,quantity,price,brokerage`, blank lines and lines starting
//   with '#' ignored.
// One refusal refuses the whole file: no trade of it is returned then.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/dates.h"
#include "cgt/rules/trades.h"

namespace cgt {

struct TradeFile {
    std::vector<Trade> trades;
    std::optional<TradeRefusal> refused;
};

// Reads the bytes of a file: UTF-8 with or without a byte-order mark, lines ending in CRLF, CR
// or LF, fields separated by commas and quoted with "" standing for a quote.
TradeFile ReadTradeFile(std::string_view fileName, std::string_view bytes);

// One record of a comma-separated text: its fields, unquoted, and the physical line it starts on
// (a quoted field may span lines).
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
};

struct CsvText {
    std::vector<CsvRecord> records;
    // The line of a quote that the text never closes; the records end before it.
    std::optional<int> unclosedQuoteLine;
};

CsvText ReadCsvRecords(std::string_view text);

// "d/m/yyyy" (day and month of one or two digits) or "yyyy-mm-dd"; nullopt for anything else
// or a day that does not exist.
std::optional<DateTime> ParseTradeDate(std::string_view text);

} // namespace cgt
