#pragma once
// The preview of an import of share trades, before anything is recorded: the matching method,
// one line per (sale, parcel) match — sale, parcel, units, cost, proceeds, method — with the
// matches that make no event saying so, how many events OK records and how many of an earlier
// import of the same files they replace, and every refusal with its file and line, which
// disables OK. Changing the method plans the import again.

#include <QDialog>
#include <QString>

#include <array>
#include <functional>

#include "cgt/rules/trade_plan.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace cgt {

// The columns of the matches' table, in order.
enum class MatchColumn { Sale, Parcel, Units, Cost, Proceeds, Method };
inline constexpr int kMatchColumns = 6;

struct MatchColumnText {
    MatchColumn column;
    const char* title;
    bool amount; // aligned right
};
const std::array<MatchColumnText, kMatchColumns>& MatchColumns();

// The texts of a match's cells, in the order of the columns: the sale ("CODE dd/mm/yyyy
// (FILE:LINE)"), the parcel ("dd/mm/yyyy (FILE:LINE)"), the units, the cost and the proceeds in
// dollars and cents, and the method, with why a match makes no event.
std::array<QString, kMatchColumns> MatchCells(const TradeMatch& match);
// "FILE:LINE: MESSAGE", "FILE: MESSAGE" for a file as a whole, the message alone for the
// matching as a whole; files without their folders.
QString RefusalLine(const TradeRefusal& refusal);
// What OK does with `plan`: the events it records and the `replaced` events of an earlier import
// they replace, with the lowest-gain matching's note on a second line, or that nothing can be
// recorded while anything is refused.
QString RecordSummary(const TradePlan& plan, int replaced);

class TImportTradesForm : public QDialog {
    Q_OBJECT

public:
    // Plans the import of the chosen files by a method.
    using Planner = std::function<TradePlan(MatchMethod)>;

    // Plans with the first method at once; `replaced` is the number of events an earlier import
    // of the same files left in the return.
    TImportTradesForm(Planner planner, int replaced, QWidget* parent = nullptr);

    MatchMethod Method() const;
    // The plan shown, of the method chosen.
    const TradePlan& Plan() const { return plan_; }

    QComboBox* MethodBox() const { return method_; }
    QTableWidget* MatchTable() const { return matches_; }
    QLabel* SummaryLabel() const { return summary_; }
    QListWidget* RefusalList() const { return refusals_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    void replan();
    void showMatches();
    void showRefusals();
    // Wide enough for the table's columns and the refusals' lines, within the screen; once
    // shown, only ever wider.
    void fitToContents();

    Planner planner_;
    int replaced_ = 0;
    TradePlan plan_;
    QComboBox* method_ = nullptr;
    QTableWidget* matches_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* refusalsLabel_ = nullptr;
    QListWidget* refusals_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace cgt
