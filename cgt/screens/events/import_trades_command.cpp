#include "cgt/screens/events/import_trades_command.h"

#include <QFile>

#include "base/worksheet_kinds.h"
#include "cgt/records/trade_import.h"
#include "cgt/screens/events/import_trades_form.h"
#include "cgt/screens/events/trade_file_chooser.h"
#include "cgt/screens/flow/question_screen.h"
#include "cgt/screens/flow/screen_flow.h"
#include "interview/frame.h"
#include "store/run_state.h"

namespace cgt {

namespace {

constexpr const char* kUnreadable = "the file cannot be read";

// The path's question whose Yes leads to the events of `worksheet`.
const ScreenRow* EventsQuestionOf(int worksheet) {
    for (const ScreenRow& row : QuestionTable())
        if (row.worksheet == worksheet && row.yes != 0) return &row;
    return nullptr;
}

} // namespace

ReadTrades ReadTradeFiles(const QStringList& paths) {
    ReadTrades read;
    for (const QString& path : paths) {
        const std::string name = path.toStdString();
        read.names.push_back(name);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            read.unread.push_back({name, 0, kUnreadable});
            continue;
        }
        const QByteArray bytes = file.readAll();
        read.sources.push_back({name, bytes.toStdString()});
    }
    return read;
}

TradePlan PlanReadTrades(const ReadTrades& files, MatchMethod method) {
    TradePlan plan = PlanImportForReturn(files.sources, method);
    plan.refused.insert(plan.refused.begin(), files.unread.begin(), files.unread.end());
    return plan;
}

bool ImportTrades(TFrameWnd& frame) {
    const QStringList paths = ChooseTradeFiles(&frame);
    if (paths.isEmpty()) return false;
    const ReadTrades files = ReadTradeFiles(paths);
    TImportTradesForm preview(
        [&files](MatchMethod method) { return PlanReadTrades(files, method); },
        EventsImportedFrom(files.names), &frame);
    if (preview.exec() != QDialog::Accepted || !preview.Plan().refused.empty()) return false;

    // The open row is stored as leaving the screen stores it; the import numbers rows anew.
    frame.StoreWorksheetRow();
    RecordImportedEvents(preview.Plan().events, files.names);
    if (const ScreenRow* question = EventsQuestionOf(wkShares)) TakeYesAnswer(*question);
    Run().DataChanged = true;
    // The list shows the imported rows beside the others, a new event's row open.
    frame.ReopenRow = false;
    frame.OpenEventRow(wkShares);
    return true;
}

} // namespace cgt
