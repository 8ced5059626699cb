#include "cgt/rules/trade_plan.h"

#include "cgt/rules/lowest_matching.h"
#include "cgt/rules/trade_files.h"

namespace cgt {

std::string SourceFileName(const std::string& file) {
    const std::size_t slash = file.find_last_of('/');
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

std::string ImportSourceText(const Trade& sale, const Trade& parcel) {
    return SourceFileName(sale.file) + "|" + std::to_string(sale.line) + "|" +
           SourceFileName(parcel.file) + ":" + std::to_string(parcel.line);
}

std::string ImportSourceFile(const std::string& source) {
    const std::size_t bar = source.find('|');
    return bar == std::string::npos ? std::string() : source.substr(0, bar);
}

TradePlan PlanTradeImport(const std::vector<TradeSource>& files, MatchMethod method,
                          const std::vector<NamedParcel>& named, const ChoiceTable& others) {
    TradePlan plan;
    std::vector<Trade> trades;
    for (const TradeSource& file : files) {
        TradeFile read = ReadTradeFile(file.name, file.bytes);
        if (read.refused)
            plan.refused.push_back(std::move(*read.refused));
        else
            trades.insert(trades.end(), read.trades.begin(), read.trades.end());
    }
    if (!plan.refused.empty()) return plan;
    TradeMatching matching;
    if (method == MatchMethod::Lowest) {
        LowestMatching lowest = MatchForLowestGain(trades, named, others);
        matching = std::move(lowest.matching);
        if (!matching.refused)
            plan.lowest = TradePlan::Lowest{lowest.outcome.netCapitalGain,
                                            lowest.firstIn.netCapitalGain, lowest.proven};
    } else {
        matching = MatchTrades(std::move(trades), method, named);
    }
    if (matching.refused) {
        plan.refused.push_back(std::move(*matching.refused));
        return plan;
    }
    plan.matches = std::move(matching.matches);
    for (const TradeMatch& match : plan.matches) {
        if (!MakesEvent(match)) continue;
        Event event = EventOfMatch(match);
        event.importSource = ImportSourceText(match.sale, match.parcel);
        plan.events.push_back(std::move(event));
    }
    return plan;
}

std::string LowestMatchingNote(const TradePlan::Lowest& lowest) {
    std::string note =
        "Matched for the lowest net capital gain: " + DollarsText(lowest.netCapitalGain) +
        " with the rest of the return";
    if (lowest.netCapitalGain < lowest.firstInNetCapitalGain)
        note += ", " + DollarsText(lowest.firstInNetCapitalGain - lowest.netCapitalGain) +
                " below first in, first out";
    else
        note += ", as first in, first out gives";
    if (!lowest.proven) note += "; the search stopped at its limit, so a lower one may exist";
    return note + ".";
}

} // namespace cgt
