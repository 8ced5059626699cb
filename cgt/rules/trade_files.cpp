#include "cgt/rules/trade_files.h"

#include <array>

#include "base/text.h"

namespace cgt {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUnicodeMinus = "\xE2\x88\x92";
constexpr std::string_view kNoTransactions = "There are no transactions on this account.";
// The largest amount read, in cents: far above any trade, far below overflow when summed.
constexpr long long kMaxCents = 1'000'000'000'000'000LL;
constexpr std::string_view kMaxAmountText = "$10,000,000,000,000";
constexpr long long kMaxUnits = 1'000'000'000'000LL;
constexpr std::string_view kMaxUnitsText = "1,000,000,000,000";
constexpr int kMaxDigits = 18;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool SameText(std::string_view a, std::string_view b) {
    return UpperText(a) == UpperText(b);
}

bool IsBlankRecord(const CsvRecord& record) {
    for (const std::string& field : record.fields)
        if (!TrimBlanks(field).empty()) return false;
    return true;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// ---- CSV ----

// The length of the line end at pos (CRLF, CR or LF), 0 when there is none.
std::size_t LineEndLength(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 0;
    if (text[pos] == '\r') return pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
    return text[pos] == '\n' ? 1 : 0;
}

// Reads a quoted field from the quote at pos; advances pos past the closing quote and line past
// the line ends inside. False when the text ends first.
bool ReadQuoted(std::string_view text, std::size_t& pos, int& line, std::string& field) {
    ++pos;
    while (pos < text.size()) {
        if (text[pos] == '"') {
            if (pos + 1 < text.size() && text[pos + 1] == '"') {
                field += '"';
                pos += 2;
                continue;
            }
            ++pos;
            return true;
        }
        if (const std::size_t end = LineEndLength(text, pos)) {
            field.append(text.substr(pos, end));
            pos += end;
            ++line;
            continue;
        }
        field += text[pos++];
    }
    return false;
}

// ---- numbers ----

// A decimal number as written: digits and the count of them after the point.
struct Decimal {
    long long digits = 0;
    int scale = 0;
    bool negative = false;
};

__int128 PowerOfTen(int exponent) {
    __int128 power = 1;
    while (exponent-- > 0)
        power *= 10;
    return power;
}

// value / 10^scale rounded to whole units, halves away from zero.
__int128 RoundScaled(__int128 value, int scale) {
    if (scale <= 0) return value * PowerOfTen(-scale);
    const __int128 divisor = PowerOfTen(scale);
    const __int128 magnitude = (value < 0 ? -value : value) * 2 + divisor;
    const __int128 rounded = magnitude / (2 * divisor);
    return value < 0 ? -rounded : rounded;
}

std::optional<long long> RoundToCents(__int128 value, int scale) {
    const __int128 cents = RoundScaled(value, scale - 2);
    if (cents > kMaxCents || cents < -kMaxCents) return std::nullopt;
    return static_cast<long long>(cents);
}

// Cents as "-1234.05".
std::string FormatCents(long long cents) {
    const long long magnitude = cents < 0 ? -cents : cents;
    const long long fraction = magnitude % 100;
    return (cents < 0 ? "-" : "") + std::to_string(magnitude / 100) + (fraction < 10 ? ".0" : ".") +
           std::to_string(fraction);
}

// Removes a sign ('-', '+' or the Unicode minus) from the front of text; true for a minus.
bool TakeSign(std::string_view& text, bool& negative) {
    if (text.starts_with('-') || text.starts_with('+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
        return true;
    }
    if (text.starts_with(kUnicodeMinus)) {
        negative = true;
        text.remove_prefix(kUnicodeMinus.size());
        return true;
    }
    return false;
}

// Digits, either plain or in groups of three separated by commas after a first group of one to
// three; appended to number.digits. False for a misplaced comma.
bool TakeWholePart(std::string_view& text, Decimal& number, int& digitCount) {
    int group = 0;
    bool grouped = false;
    std::size_t pos = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == ',') {
            if (group == 0 || (grouped ? group != 3 : group > 3)) return false;
            grouped = true;
            group = 0;
            continue;
        }
        if (!IsDigit(c)) break;
        if (++digitCount > kMaxDigits) return false;
        number.digits = number.digits * 10 + (c - '0');
        ++group;
    }
    if (grouped && group != 3) return false;
    text.remove_prefix(pos);
    return true;
}

// An amount as brokers write it: blanks around, a sign, a '$' before or after the sign,
// thousands separators, a decimal point.
std::optional<Decimal> ParseDecimal(std::string_view text) {
    text = TrimBlanks(text);
    Decimal number;
    const bool dollarFirst = text.starts_with('$');
    if (dollarFirst) text.remove_prefix(1);
    TakeSign(text, number.negative);
    if (!dollarFirst && text.starts_with('$')) text.remove_prefix(1);
    int digitCount = 0;
    if (!TakeWholePart(text, number, digitCount)) return std::nullopt;
    if (text.starts_with('.')) {
        text.remove_prefix(1);
        for (; !text.empty() && IsDigit(text.front()); text.remove_prefix(1)) {
            if (++digitCount > kMaxDigits) return std::nullopt;
            number.digits = number.digits * 10 + (text.front() - '0');
            ++number.scale;
        }
    }
    if (digitCount == 0 || !text.empty()) return std::nullopt;
    return number;
}

// ---- the formats ----

// What a column of a format holds for a trade; Other is read for the header alone.
enum class Column {
    Other,
    Code,
    Date,
    Side,
    Units,
    Price,
    Value,
    Brokerage,
    NetProceeds,
    Status,
    Currency,
    BrokerageCurrency,
    Count
};
constexpr std::size_t kColumnCount = static_cast<std::size_t>(Column::Count);

struct Heading {
    Column column;
    std::vector<std::string_view> names; // accepted spellings, compared in upper case
    bool required = true;
};

// Where a trade's value comes from.
enum class ValueFrom {
    TradeValue,      // the file's trade value
    UnitsTimesPrice, // units x price, rounded to the cent
    NetProceeds,     // net proceeds less a buy's or plus a sale's brokerage, checked against
                     // units x average price
};

struct Format {
    std::string_view header; // the header as the format's writer gives it
    std::vector<Heading> headings;
    std::string_view sideWords; // the sides the format writes, for a refusal
    ValueFrom value;
    // Amounts carry the side's sign (sells negative): their size is read, whatever the sign.
    bool signedBySide;
    // The rows end at the first blank line or line without a code: totals, a disclaimer and a
    // glossary follow them.
    bool rowsEndAtTotals;
    bool commentLines; // lines starting with '#' are no rows
};

const std::vector<Format>& Formats() {
    using enum Column;
    static const std::vector<Format> formats = {
        {"Code,Company,Date,Type,Quantity,Unit Price ($),Trade Value ($),Brokerage+GST ($),"
         "GST ($),Contract Note,Total Value ($)",
         {{Code, {"Code"}},
          {Other, {"Company"}},
          {Date, {"Date"}},
          {Side, {"Type"}},
          {Units, {"Quantity"}},
          {Other, {"Unit Price ($)"}},
          {Value, {"Trade Value ($)"}},
          {Brokerage, {"Brokerage+GST ($)"}},
          {Other, {"GST ($)"}},
          {Other, {"Contract Note"}},
          {Other, {"Total Value ($)"}}},
         "Buy or Sell",
         ValueFrom::TradeValue,
         true,
         true,
         false},
        {"Confirmation Number,Order Number,Trade Date,Buy/ Sell,Security,Units,Average Price ($),"
         "Brokerage (inc GST.),Net Proceeds ($),Settlement Date,Confirmation Status",
         {{Other, {"Confirmation Number"}},
          {Other, {"Order Number"}},
          {Date, {"Trade Date"}},
          {Side, {"Buy/ Sell"}},
          {Code, {"Security"}},
          {Units, {"Units"}},
          {Price, {"Average Price ($)"}},
          {Brokerage, {"Brokerage (inc GST.)"}},
          {NetProceeds, {"Net Proceeds ($)"}},
          {Other, {"Settlement Date"}},
          {Status, {"Confirmation Status"}}},
         "B or S",
         ValueFrom::NetProceeds,
         true,
         false,
         false},
        {"Market,Code,Name,Type,Date,Quantity,Price *,Brokerage *,Currency,Exchange Rate,Value,,"
         "Comments",
         {{Other, {"Market"}},
          {Code, {"Code"}},
          {Side, {"Type"}},
          {Date, {"Date"}},
          {Units, {"Quantity"}},
          {Price, {"Price *", "Price"}},
          {Brokerage, {"Brokerage *", "Brokerage"}},
          {Currency, {"Currency", "Instrument Currency"}},
          {BrokerageCurrency, {"Brokerage Currency"}, false}},
         "Buy or Sell",
         ValueFrom::UnitsTimesPrice,
         true,
         false,
         false},
        {"date,code,side,quantity,price,brokerage",
         {{Date, {"date"}},
          {Code, {"code"}},
          {Side, {"side"}},
          {Units, {"quantity"}},
          {Price, {"price"}},
          {Brokerage, {"brokerage"}}},
         "Buy or Sell",
         ValueFrom::UnitsTimesPrice,
         false,
         false,
         true},
    };
    return formats;
}

struct SideWord {
    std::string_view word;
    TradeSide side;
};
constexpr std::array<SideWord, 4> kSideWords = {{{"Buy", TradeSide::Buy},
                                                 {"B", TradeSide::Buy},
                                                 {"Sell", TradeSide::Sell},
                                                 {"S", TradeSide::Sell}}};

constexpr std::string_view kAustralianDollars = "AUD";
constexpr std::string_view kConfirmed = "Confirmed";

// A format's columns as one file's header places them.
struct Layout {
    const Format* format = nullptr;
    std::array<int, kColumnCount> index{};        // -1: not in the header
    std::array<std::string, kColumnCount> name{}; // the heading as the file writes it
};

// The field of a column, trimmed; empty when the column or the field is missing.
std::string_view FieldOf(const Layout& layout, const CsvRecord& record, Column column) {
    const int index = layout.index[static_cast<std::size_t>(column)];
    if (index < 0 || static_cast<std::size_t>(index) >= record.fields.size()) return {};
    return TrimBlanks(record.fields[static_cast<std::size_t>(index)]);
}

int FindHeading(const CsvRecord& record, const Heading& heading) {
    for (std::size_t i = 0; i < record.fields.size(); ++i)
        for (std::string_view name : heading.names)
            if (SameText(TrimBlanks(record.fields[i]), name)) return static_cast<int>(i);
    return -1;
}

std::optional<Layout> MatchHeader(const Format& format, const CsvRecord& record) {
    Layout layout;
    layout.format = &format;
    layout.index.fill(-1);
    for (const Heading& heading : format.headings) {
        const int index = FindHeading(record, heading);
        if (index < 0) {
            if (heading.required) return std::nullopt;
            continue;
        }
        const auto column = static_cast<std::size_t>(heading.column);
        layout.index[column] = index;
        layout.name[column] = TrimText(record.fields[static_cast<std::size_t>(index)]);
    }
    return layout;
}

std::string ExpectedHeaders() {
    std::string text = "expected a header line of one of these formats:";
    const char* separator = " ";
    for (const Format& format : Formats()) {
        text += separator + Quoted(format.header);
        separator = "; ";
    }
    return text;
}

// ---- rows ----

// Reads the fields of one row; the first problem found is kept and refuses the row.
class RowReader {
public:
    RowReader(const Layout& layout, const CsvRecord& record) : layout_(layout), record_(record) {}

    bool Has(Column column) const { return Index(column) >= 0; }

    std::string_view Text(Column column) {
        const int index = Index(column);
        if (index < 0) return {};
        if (static_cast<std::size_t>(index) >= record_.fields.size()) {
            Refuse("the field " + Quoted(Name(column)) + " is missing: expected " +
                   std::to_string(index + 1) + " fields or more, found " +
                   std::to_string(record_.fields.size()));
            return {};
        }
        return FieldOf(layout_, record_, column);
    }

    std::string Code() {
        const std::string code = UpperText(Text(Column::Code));
        if (code.empty()) RefuseField(Column::Code, "the security's code");
        return code;
    }

    DateTime Date() {
        const std::string_view text = Text(Column::Date);
        const std::optional<DateTime> date = ParseTradeDate(text);
        if (!date) RefuseField(Column::Date, "a date dd/mm/yyyy or yyyy-mm-dd");
        return date.value_or(0);
    }

    TradeSide Side() {
        const std::string_view text = Text(Column::Side);
        for (const SideWord& word : kSideWords)
            if (SameText(text, word.word)) return word.side;
        RefuseField(Column::Side, std::string(layout_.format->sideWords));
        return TradeSide::Buy;
    }

    long long Units() {
        const std::optional<Decimal> number = Number(Column::Units, "a number of units");
        if (!number) return 0;
        if (number->digits % PowerOfTen(number->scale) != 0)
            RefuseField(Column::Units, "a whole number of units");
        const __int128 units = number->digits / PowerOfTen(number->scale);
        if (units == 0) RefuseField(Column::Units, "a number of units above 0");
        if (units > kMaxUnits)
            RefuseField(Column::Units, "a number of units up to " + std::string(kMaxUnitsText));
        return static_cast<long long>(units);
    }

    // The size of an amount in cents, 0 when blank: its sign is the side's, or refused.
    long long Cents(Column column) {
        if (Text(column).empty()) return 0;
        const std::optional<Decimal> number = Number(column, "an amount");
        if (!number) return 0;
        const std::optional<long long> cents = RoundToCents(number->digits, number->scale);
        if (!cents) RefuseField(column, "an amount below " + std::string(kMaxAmountText));
        return cents.value_or(0);
    }

    // A price and the number of units it multiplies, in cents.
    long long UnitsTimesPrice(long long units, const Decimal& price) {
        const std::optional<long long> cents =
            RoundToCents(static_cast<__int128>(units) * price.digits, price.scale);
        if (!cents)
            RefuseField(Column::Price,
                        "a price that gives an amount below " + std::string(kMaxAmountText));
        return cents.value_or(0);
    }

    std::optional<Decimal> Number(Column column, const std::string& expected) {
        const std::string_view text = Text(column);
        if (!Problem().empty()) return std::nullopt;
        const std::optional<Decimal> number = ParseDecimal(text);
        if (!number) {
            RefuseField(column, expected);
            return std::nullopt;
        }
        if (number->negative && !layout_.format->signedBySide) {
            RefuseField(column, expected + " not below 0");
            return std::nullopt;
        }
        return number;
    }

    // Refuses a row whose field is not the one text expected.
    void RequireText(Column column, std::string_view expected, const std::string& why) {
        if (!SameText(Text(column), expected)) RefuseField(column, why);
    }

    void Refuse(std::string message) {
        if (problem_.empty()) problem_ = std::move(message);
    }

    void RefuseField(Column column, const std::string& expected) {
        Refuse(Quoted(Name(column)) + " is " + Quoted(Text(column)) + ": expected " + expected);
    }

    const std::string& Problem() const { return problem_; }

private:
    int Index(Column column) const { return layout_.index[static_cast<std::size_t>(column)]; }
    const std::string& Name(Column column) const {
        return layout_.name[static_cast<std::size_t>(column)];
    }

    const Layout& layout_;
    const CsvRecord& record_;
    std::string problem_;
};

// The trade value of a confirmation: its net proceeds less a buy's brokerage or plus a sale's,
// when they agree with units x average price within the rounding of the average price.
long long NetProceedsValue(RowReader& row, TradeSide side, long long units, long long brokerage,
                           const Decimal& price) {
    const long long priceValue = row.UnitsTimesPrice(units, price);
    if (row.Text(Column::NetProceeds).empty()) return priceValue;
    const long long sign = side == TradeSide::Buy ? 1 : -1;
    const long long net = row.Cents(Column::NetProceeds);
    const long long value = net - sign * brokerage;
    // Half a unit of the price's last decimal on every unit, and a cent for the rounding.
    const __int128 scale = PowerOfTen(price.scale);
    const __int128 tolerance = (static_cast<__int128>(units) * 50 + scale - 1) / scale + 1;
    const long long difference = value > priceValue ? value - priceValue : priceValue - value;
    if (value < 0 || difference > tolerance)
        row.RefuseField(Column::NetProceeds, "about " + FormatCents(priceValue + sign * brokerage) +
                                                 ", the units times the average price " +
                                                 (side == TradeSide::Buy ? "plus" : "less") +
                                                 " the brokerage");
    return value;
}

enum class RowKind { Trade, NoTrade, Refused };

struct RowOutcome {
    RowKind kind = RowKind::NoTrade;
    Trade trade;
    std::string problem;
};

long long TradeValue(RowReader& row, const Format& format, TradeSide side, long long units,
                     long long brokerage) {
    if (format.value == ValueFrom::TradeValue) {
        if (row.Text(Column::Value).empty()) row.RefuseField(Column::Value, "the trade value");
        return row.Cents(Column::Value);
    }
    const std::optional<Decimal> price = row.Number(Column::Price, "a price");
    if (!price) return 0;
    if (format.value == ValueFrom::NetProceeds)
        return NetProceedsValue(row, side, units, brokerage, *price);
    return row.UnitsTimesPrice(units, *price);
}

RowOutcome ReadRow(const Layout& layout, const CsvRecord& record) {
    RowReader row(layout, record);
    RowOutcome outcome;
    if (row.Has(Column::Status) && !SameText(row.Text(Column::Status), kConfirmed) &&
        row.Problem().empty())
        return outcome;
    Trade& trade = outcome.trade;
    trade.line = record.line;
    trade.code = row.Code();
    trade.date = row.Date();
    trade.side = row.Side();
    trade.units = row.Units();
    const std::string notConverted = "AUD: trades in other currencies are not converted";
    if (row.Has(Column::Currency))
        row.RequireText(Column::Currency, kAustralianDollars, notConverted);
    if (!row.Text(Column::BrokerageCurrency).empty())
        row.RequireText(Column::BrokerageCurrency, kAustralianDollars, notConverted);
    trade.brokerageCents = row.Cents(Column::Brokerage);
    trade.valueCents =
        TradeValue(row, *layout.format, trade.side, trade.units, trade.brokerageCents);
    outcome.problem = row.Problem();
    outcome.kind = outcome.problem.empty() ? RowKind::Trade : RowKind::Refused;
    return outcome;
}

bool IsNoTransactionsLine(const CsvRecord& record) {
    return !record.fields.empty() && SameText(TrimBlanks(record.fields.front()), kNoTransactions);
}

// A summary of a year without trades may have no header above its sentence.
bool SaysNoTransactions(const CsvText& csv) {
    for (const CsvRecord& record : csv.records)
        if (IsNoTransactionsLine(record)) return true;
    return false;
}

// Whether the rows have ended at this record (a blank line, the sentence of a year without
// trades, or a total: no code and no date); the records after it are not read.
bool EndsRows(const Layout& layout, const CsvRecord& record) {
    if (!layout.format->rowsEndAtTotals) return false;
    if (IsBlankRecord(record) || IsNoTransactionsLine(record)) return true;
    return FieldOf(layout, record, Column::Code).empty() &&
           FieldOf(layout, record, Column::Date).empty();
}

// A record that is no row and is passed over.
bool IsSkipped(const Format& format, const CsvRecord& record) {
    if (IsBlankRecord(record)) return true;
    return format.commentLines && TrimBlanks(record.fields.front()).starts_with('#');
}

TradeRefusal Refusal(std::string_view fileName, int line, std::string message) {
    return {std::string(fileName), line, std::move(message)};
}

} // namespace

CsvText ReadCsvRecords(std::string_view text) {
    CsvText csv;
    std::size_t pos = 0;
    int line = 1;
    while (pos < text.size()) {
        CsvRecord record;
        record.line = line;
        std::string field;
        while (true) {
            if (pos < text.size() && text[pos] == '"') {
                const int quoteLine = line;
                if (!ReadQuoted(text, pos, line, field)) {
                    csv.unclosedQuoteLine = quoteLine;
                    return csv;
                }
            }
            while (pos < text.size() && text[pos] != ',' && !LineEndLength(text, pos))
                field += text[pos++];
            record.fields.push_back(std::move(field));
            field.clear();
            if (pos < text.size() && text[pos] == ',') {
                ++pos;
                continue;
            }
            pos += LineEndLength(text, pos);
            ++line;
            break;
        }
        csv.records.push_back(std::move(record));
    }
    return csv;
}

std::optional<DateTime> ParseTradeDate(std::string_view text) {
    text = TrimBlanks(text);
    std::array<int, 3> parts{};
    std::array<int, 3> digits{};
    const bool iso = text.find('-') != std::string_view::npos;
    const char separator = iso ? '-' : '/';
    std::size_t part = 0;
    for (const char c : text) {
        if (c == separator) {
            if (++part == parts.size()) return std::nullopt;
        } else if (IsDigit(c) && digits[part] < 4) {
            parts[part] = parts[part] * 10 + (c - '0');
            ++digits[part];
        } else {
            return std::nullopt;
        }
    }
    const std::array<int, 3> yearFirst = {4, 2, 2};
    const std::array<int, 3> dayFirst = {2, 2, 4};
    const std::array<int, 3>& widths = iso ? yearFirst : dayFirst;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool exact = widths[i] == 4;
        if (digits[i] == 0 || digits[i] > widths[i] || (exact && digits[i] != 4))
            return std::nullopt;
    }
    return iso ? EncodeDate(parts[0], parts[1], parts[2])
               : EncodeDate(parts[2], parts[1], parts[0]);
}

TradeFile ReadTradeFile(std::string_view fileName, std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    const CsvText csv = ReadCsvRecords(bytes);
    TradeFile file;
    const auto unclosed = [&] {
        return Refusal(fileName, *csv.unclosedQuoteLine,
                       "a quoted field opened on this line is not closed: expected a closing "
                       "quote (\") before the end of the file");
    };
    std::optional<Layout> layout;
    std::size_t next = 0;
    for (; next < csv.records.size() && !layout; ++next)
        for (const Format& format : Formats())
            if ((layout = MatchHeader(format, csv.records[next]))) break;
    if (!layout) {
        if (csv.unclosedQuoteLine)
            file.refused = unclosed();
        else if (!SaysNoTransactions(csv))
            file.refused = Refusal(fileName, 0, ExpectedHeaders());
        return file;
    }
    const Format& format = *layout->format;
    for (; next < csv.records.size(); ++next) {
        const CsvRecord& record = csv.records[next];
        if (EndsRows(*layout, record)) return file;
        if (IsSkipped(format, record)) continue;
        RowOutcome row = ReadRow(*layout, record);
        if (row.kind == RowKind::Refused) {
            return {{}, Refusal(fileName, record.line, std::move(row.problem))};
        }
        if (row.kind == RowKind::Trade) {
            row.trade.file = std::string(fileName);
            file.trades.push_back(std::move(row.trade));
        }
    }
    if (csv.unclosedQuoteLine) return {{}, unclosed()};
    return file;
}

} // namespace cgt
