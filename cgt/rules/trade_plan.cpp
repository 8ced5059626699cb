#include "cgt/rules/trade_plan.h"

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
    if (method == MatchMethod::Lowest) { // being built
        (void)others;
        plan.refused.push_back(
            {"", 0, "the lowest net capital gain matching is not available yet"});
        return plan;
    }
    std::vector<Trade> trades;
    for (const TradeSource& file : files) {
        TradeFile read = ReadTradeFile(file.name, file.bytes);
        if (read.refused)
            plan.refused.push_back(std::move(*read.refused));
        else
            trades.insert(trades.end(), read.trades.begin(), read.trades.end());
    }
    if (!plan.refused.empty()) return plan;
    TradeMatching matching = MatchTrades(std::move(trades), method, named);
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

} // namespace cgt
