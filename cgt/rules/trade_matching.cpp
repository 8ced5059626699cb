#include "cgt/rules/trade_matching.h"

#include <algorithm>
#include <map>

#include "base/amounts.h"
#include "base/worksheet_kinds.h"
#include "cgt/rules/cost_base.h"
#include "cgt/rules/cost_elements.h"
#include "cgt/rules/event_checks.h"
#include "cgt/rules/event_dates.h"
#include "cgt/rules/event_kinds.h"

namespace cgt {

namespace {

struct Part {
    long long units = 0;
    long long valueCents = 0;
    long long brokerageCents = 0;
};

// What is left of a trade as parts of it are taken: each part its units' share of the trade's
// amounts (never more than is left), the part that takes the last units all that is left.
class TradeRest {
public:
    explicit TradeRest(const Trade& trade)
        : whole_{trade.units, trade.valueCents, trade.brokerageCents}, left_(whole_) {}

    long long Units() const { return left_.units; }

    Part Take(long long units) {
        Part part = left_;
        part.units = units;
        if (units < left_.units) {
            part.valueCents =
                std::min(ShareOfCents(whole_.valueCents, whole_.units, units), left_.valueCents);
            part.brokerageCents = std::min(ShareOfCents(whole_.brokerageCents, whole_.units, units),
                                           left_.brokerageCents);
        }
        left_.units -= part.units;
        left_.valueCents -= part.valueCents;
        left_.brokerageCents -= part.brokerageCents;
        return part;
    }

private:
    Part whole_;
    Part left_;
};

// A buy and what is left of it.
struct Holding {
    Trade buy;
    TradeRest rest;
};

// Units of a naming still to be drawn by the sales it names.
struct NamedDraw {
    const NamedParcel* naming;
    long long unitsLeft;
};

// Units a sale takes from a holding.
struct Take {
    std::size_t holding;
    long long units;
    bool named;
};

bool BuyFirst(const Trade& a, const Trade& b) {
    if (a.date != b.date) return a.date < b.date;
    return a.side == TradeSide::Buy && b.side == TradeSide::Sell;
}

// Trade value per unit, the higher first; compared across so that equal prices tie.
bool HigherPrice(const Trade& a, const Trade& b) {
    return static_cast<long double>(a.valueCents) * static_cast<long double>(b.units) >
           static_cast<long double>(b.valueCents) * static_cast<long double>(a.units);
}

class Matcher {
public:
    Matcher(MatchMethod method, const std::vector<NamedParcel>& named) : method_(method) {
        for (const NamedParcel& naming : named)
            if (naming.saleDate <= IncomeYearEnd() && naming.units > 0)
                draws_.push_back({&naming, naming.units});
    }

    std::optional<TradeRefusal> Add(const Trade& trade) {
        if (trade.side == TradeSide::Sell) return Sell(trade);
        open_[trade.code].push_back(holdings_.size());
        held_[trade.code] += trade.units;
        holdings_.push_back({trade, TradeRest(trade)});
        return std::nullopt;
    }

    // A naming whose units no sale drew on.
    std::optional<TradeRefusal> UnusedNaming() const {
        for (const NamedDraw& draw : draws_) {
            if (draw.unitsLeft == 0) continue;
            const NamedParcel& n = *draw.naming;
            return TradeRefusal{n.file, n.line,
                                std::to_string(draw.unitsLeft) + " units of " + n.code +
                                    " bought " + FormatDate(n.parcelDate) +
                                    " are named for a sale on " + FormatDate(n.saleDate) +
                                    " that does not sell them"};
        }
        return std::nullopt;
    }

    std::vector<TradeMatch> Matches() && { return std::move(matches_); }

private:
    std::optional<TradeRefusal> Sell(const Trade& sale) {
        std::vector<Take> takes;
        const auto total = held_.find(sale.code);
        const long long held = total == held_.end() ? 0 : total->second;
        if (held < sale.units)
            return TradeRefusal{sale.file, sale.line,
                                "sale of " + std::to_string(sale.units) + " " + sale.code + " on " +
                                    FormatDate(sale.date) + ": " +
                                    std::to_string(sale.units - held) +
                                    " units more than are held"};
        long long wanted = sale.units;
        if (auto refused = TakeNamed(sale, wanted, takes)) return refused;
        TakeByMethod(sale.code, wanted, takes);
        Record(sale, takes);
        return std::nullopt;
    }

    // The units of a holding not yet taken by `takes`.
    long long Left(std::size_t holding, const std::vector<Take>& takes) const {
        long long units = holdings_[holding].rest.Units();
        for (const Take& take : takes)
            if (take.holding == holding) units -= take.units;
        return units;
    }

    template <typename Accept>
    long long Available(const std::string& code, const std::vector<Take>& takes,
                        Accept accept) const {
        long long units = 0;
        for (std::size_t i : Bought(code))
            if (accept(holdings_[i].buy)) units += Left(i, takes);
        return units;
    }

    // Takes up to `wanted` units from the holdings in `order`, adding to a take of the same
    // holding so that one holding makes one match.
    long long TakeFrom(const std::vector<std::size_t>& order, long long wanted, bool named,
                       std::vector<Take>& takes) const {
        long long taken = 0;
        for (std::size_t holding : order) {
            if (taken == wanted) break;
            const long long units = std::min(Left(holding, takes), wanted - taken);
            if (units <= 0) continue;
            const auto same = std::find_if(takes.begin(), takes.end(),
                                           [&](const Take& t) { return t.holding == holding; });
            if (same != takes.end()) {
                same->units += units;
                same->named = same->named || named;
            } else {
                takes.push_back({holding, units, named});
            }
            taken += units;
        }
        return taken;
    }

    // The holdings of the code with units left, in the order they were bought.
    const std::vector<std::size_t>& Bought(const std::string& code) const {
        static const std::vector<std::size_t> none;
        const auto open = open_.find(code);
        return open == open_.end() ? none : open->second;
    }

    std::optional<TradeRefusal> TakeNamed(const Trade& sale, long long& wanted,
                                          std::vector<Take>& takes) {
        for (NamedDraw& draw : draws_) {
            const NamedParcel& n = *draw.naming;
            if (wanted == 0) break;
            if (draw.unitsLeft == 0 || n.saleDate != sale.date || n.code != sale.code) continue;
            const long long units = std::min(draw.unitsLeft, wanted);
            std::vector<std::size_t> order = Bought(sale.code);
            auto isNamed = [&](const Trade& buy) {
                return buy.date == n.parcelDate &&
                       (n.parcelLine == 0 ||
                        (buy.line == n.parcelLine && buy.file == n.parcelFile));
            };
            std::erase_if(order, [&](std::size_t i) { return !isNamed(holdings_[i].buy); });
            const long long held = Available(sale.code, takes, isNamed);
            if (held < units) {
                const bool fromFile = !n.file.empty();
                return TradeRefusal{fromFile ? n.file : sale.file, fromFile ? n.line : sale.line,
                                    std::to_string(units) + " units of " + n.code + " bought " +
                                        FormatDate(n.parcelDate) + " are named for the sale on " +
                                        FormatDate(sale.date) + " but " + std::to_string(held) +
                                        " are held"};
            }
            TakeFrom(order, units, !n.chosen, takes);
            draw.unitsLeft -= units;
            wanted -= units;
        }
        return std::nullopt;
    }

    void TakeByMethod(const std::string& code, long long wanted, std::vector<Take>& takes) const {
        // In the order bought, with no copy of it. The lowest-gain matching names the parcels of
        // the income year's sales; what it leaves (the earlier years' sales) goes first in.
        if (method_ == MatchMethod::Fifo || method_ == MatchMethod::Lowest) {
            TakeFrom(Bought(code), wanted, false, takes);
            return;
        }
        std::vector<std::size_t> order = Bought(code);
        switch (method_) {
        case MatchMethod::Fifo:
        case MatchMethod::Lowest:
            break;
        case MatchMethod::Lifo:
            std::reverse(order.begin(), order.end());
            break;
        case MatchMethod::Highest:
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                return HigherPrice(holdings_[a].buy, holdings_[b].buy);
            });
            break;
        }
        TakeFrom(order, wanted, false, takes);
    }

    void Record(const Trade& sale, const std::vector<Take>& takes) {
        TradeRest saleRest(sale);
        const bool incomeYear = sale.date >= IncomeYearStart();
        for (const Take& take : takes) {
            Holding& holding = holdings_[take.holding];
            const Part sold = saleRest.Take(take.units);
            const Part bought = holding.rest.Take(take.units);
            matches_.push_back({.sale = sale,
                                .parcel = holding.buy,
                                .units = take.units,
                                .proceedsCents = sold.valueCents,
                                .costCents = bought.valueCents,
                                .buyBrokerageCents = bought.brokerageCents,
                                .saleBrokerageCents = sold.brokerageCents,
                                .incomeYear = incomeYear,
                                .before1985 = holding.buy.date < CgtStartDate(),
                                // An earlier year's sale went first in for the lowest.
                                .method = method_ == MatchMethod::Lowest && !incomeYear
                                              ? MatchMethod::Fifo
                                              : method_,
                                .named = take.named});
        }
        held_[sale.code] -= sale.units;
        // A holding sold out is no longer searched.
        std::erase_if(open_[sale.code],
                      [&](std::size_t i) { return holdings_[i].rest.Units() == 0; });
    }

    MatchMethod method_;
    std::vector<NamedDraw> draws_;
    std::vector<Holding> holdings_;
    std::map<std::string, std::vector<std::size_t>> open_; // by code: holdings with units left
    std::map<std::string, long long> held_;                // by code: the units they hold
    std::vector<TradeMatch> matches_;
};

// The element of the shares worksheet's list with the code.
std::string SharesElementText(std::string_view code) {
    for (const char* item : CostElementPicklist(wkShares))
        if (ElementCode(item) == code) return item;
    return std::string(code);
}

// The cost elements of a match: the element, whether it is dated at the sale (else at the buy)
// and its amount.
struct MatchElement {
    std::string_view code;
    bool atSale;
    long long TradeMatch::*cents;
};
constexpr MatchElement kMatchElements[] = {
    {"1", false, &TradeMatch::costCents},
    {"2A", false, &TradeMatch::buyBrokerageCents},
    {"2B", true, &TradeMatch::saleBrokerageCents},
};

// The proceeds field takes whole dollars; a part below a dollar is a nil entered.
Extended WholeDollars(long long cents) {
    const long long dollars = cents / 100;
    return dollars > 0 ? static_cast<Extended>(dollars) : ExplicitZero;
}

constexpr MatchMethodText kMatchMethodTexts[] = {
    {MatchMethod::Fifo, "fifo", "First in, first out"},
    {MatchMethod::Lifo, "lifo", "Last in, first out"},
    {MatchMethod::Highest, "highest", "Highest cost first"},
    {MatchMethod::Lowest, "lowest", "Lowest net capital gain"},
};

} // namespace

long long ShareOfCents(long long cents, long long units, long long part) {
    const long long whole = cents / units;
    const long long rest = cents % units;
    return whole * part + (2 * rest * part + units) / (2 * units);
}

std::span<const MatchMethodText> MatchMethodTexts() {
    return kMatchMethodTexts;
}

std::optional<MatchMethod> MatchMethodOfName(std::string_view name) {
    for (const MatchMethodText& m : kMatchMethodTexts)
        if (m.name == name) return m.method;
    return std::nullopt;
}

std::string_view MatchMethodName(MatchMethod method) {
    for (const MatchMethodText& m : kMatchMethodTexts)
        if (m.method == method) return m.name;
    return {};
}

TradeMatching MatchTrades(std::vector<Trade> trades, MatchMethod method,
                          const std::vector<NamedParcel>& named) {
    std::stable_sort(trades.begin(), trades.end(), BuyFirst);
    Matcher matcher(method, named);
    for (const Trade& trade : trades) {
        if (trade.date > IncomeYearEnd()) break;
        if (auto refused = matcher.Add(trade)) return {{}, std::move(refused)};
    }
    if (auto refused = matcher.UnusedNaming()) return {{}, std::move(refused)};
    return {std::move(matcher).Matches(), std::nullopt};
}

bool MakesEvent(const TradeMatch& match) {
    return match.incomeYear && !match.before1985;
}

Event EventOfMatch(const TradeMatch& match) {
    const std::string bought = FormatDate(match.parcel.date);
    const std::string sold = FormatDate(match.sale.date);
    Event event;
    event.kind = wkShares;
    event.name = match.sale.code + " " + std::to_string(match.units) + " shares bought " + bought;
    event.typeCode = DefaultTypeFor(FindRegistrationKind(wkShares), true, false);
    event.acquisitionDate = bought;
    // The cost base screen answers the deceased-estate question No until the user says Yes.
    event.deceasedEstate = kDeceasedEstateNo;
    for (const MatchElement& e : kMatchElements) {
        const long long cents = match.*e.cents;
        if (cents <= 0) continue;
        CostElement element;
        element.text = SharesElementText(e.code);
        element.entered = true;
        element.code = std::string(e.code);
        element.dateIncurred = element.datePaid = e.atSale ? sold : bought;
        element.amount = static_cast<Extended>(cents) / 100;
        event.elements.push_back(std::move(element));
    }
    event.eventDate = sold;
    event.proceeds = WholeDollars(match.proceedsCents);
    // A sale on the market is no roll-over.
    event.rollOver.no = true;
    return event;
}

} // namespace cgt
