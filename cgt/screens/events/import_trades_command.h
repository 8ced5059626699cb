#pragma once
// The interview's "Import trades…" command of the share screens: the user chooses brokers'
// files of trades, sees the matches in a preview, and on OK the events are recorded as rows of
// the shares worksheet. The frame's list then shows them as typed ones, a new event's row open,
// and the shares events question counts as answered Yes, so that the route reaches them.

#include <QStringList>

#include <string>
#include <vector>

#include "cgt/rules/trade_plan.h"

class TFrameWnd;

namespace cgt {

// The chosen files read: each readable file a source, each other a refusal naming it.
struct ReadTrades {
    std::vector<TradeSource> sources;
    std::vector<TradeRefusal> unread;
    std::vector<std::string> names; // every chosen file, as recording names them
};
ReadTrades ReadTradeFiles(const QStringList& paths);

// The import of `files` planned by a method against the return, the unreadable files refused
// first.
TradePlan PlanReadTrades(const ReadTrades& files, MatchMethod method);

// The command, on a screen of the frame that lists the shares worksheet: chooses the files,
// shows the preview and records on OK. True when events were recorded.
bool ImportTrades(TFrameWnd& frame);

} // namespace cgt
