#include "cgt/screens/events/import_trades_form.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "base/dates.h"

namespace cgt {

namespace {

constexpr std::array<MatchColumnText, kMatchColumns> kColumns{{
    {MatchColumn::Sale, "Sale", false},
    {MatchColumn::Parcel, "Parcel", false},
    {MatchColumn::Units, "Units", true},
    {MatchColumn::Cost, "Cost", true},
    {MatchColumn::Proceeds, "Proceeds", true},
    {MatchColumn::Method, "Method", false},
}};

// The dialog is at least this many average characters wide, for the summary line.
constexpr int kLeastWidthInChars = 80;

constexpr const char* kNamedParcel = "Named parcel";
constexpr const char* kSoldBeforeYear = "no event: sold before the income year";
constexpr const char* kBoughtBefore1985 = "no event: bought before 20/09/1985";

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "$12,345.67"
QString MoneyText(long long cents) {
    static const QLocale australian(QLocale::English, QLocale::Australia);
    return QStringLiteral("$%1.%2")
        .arg(australian.toString(cents / 100))
        .arg(cents % 100, 2, 10, QLatin1Char('0'));
}

// "FILE:LINE", the file without its folders.
QString PlaceText(const Trade& trade) {
    return Text(SourceFileName(trade.file)) + QLatin1Char(':') + QString::number(trade.line);
}

QString DatePlaceText(const Trade& trade) {
    return Text(FormatDate(trade.date)) + QStringLiteral(" (") + PlaceText(trade) +
           QLatin1Char(')');
}

QString MethodLabel(MatchMethod method) {
    for (const MatchMethodText& text : MatchMethodTexts())
        if (text.method == method) return Text(text.label);
    return {};
}

QString MethodText(const TradeMatch& match) {
    QString text = match.named ? QString::fromLatin1(kNamedParcel) : MethodLabel(match.method);
    if (!match.incomeYear)
        text += QStringLiteral("; ") + QString::fromLatin1(kSoldBeforeYear);
    else if (match.before1985)
        text += QStringLiteral("; ") + QString::fromLatin1(kBoughtBefore1985);
    return text;
}

QString Plural(long long count, const char* one, const char* many) {
    return QString::number(count) + QLatin1Char(' ') + QString::fromLatin1(count == 1 ? one : many);
}

} // namespace

const std::array<MatchColumnText, kMatchColumns>& MatchColumns() {
    return kColumns;
}

std::array<QString, kMatchColumns> MatchCells(const TradeMatch& match) {
    return {Text(match.sale.code) + QLatin1Char(' ') + DatePlaceText(match.sale),
            DatePlaceText(match.parcel),
            QString::number(match.units),
            MoneyText(match.costCents),
            MoneyText(match.proceedsCents),
            MethodText(match)};
}

QString RefusalLine(const TradeRefusal& refusal) {
    if (refusal.file.empty()) return Text(refusal.message); // the matching as a whole
    TradeRefusal shown = refusal;
    shown.file = SourceFileName(refusal.file);
    return Text(shown.Text());
}

QString RecordSummary(const TradePlan& plan, int replaced) {
    if (!plan.refused.empty())
        return QStringLiteral("Nothing can be recorded while the import is refused (see below).");
    QString text = QStringLiteral("OK records ") +
                   Plural(static_cast<long long>(plan.events.size()), "event", "events");
    if (replaced > 0)
        text += QStringLiteral(", replacing the ") + Plural(replaced, "event", "events") +
                QStringLiteral(" of an earlier import of the same files");
    text += QLatin1Char('.');
    if (plan.lowest) text += QLatin1Char('\n') + Text(LowestMatchingNote(*plan.lowest));
    return text;
}

TImportTradesForm::TImportTradesForm(Planner planner, int replaced, QWidget* parent)
    : QDialog(parent), planner_(std::move(planner)), replaced_(replaced) {
    setWindowTitle(QStringLiteral("Import trades"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    method_ = new QComboBox(this);
    method_->setObjectName(QStringLiteral("MethodBox"));
    method_->setAccessibleName(QStringLiteral("Matching method"));
    for (const MatchMethodText& text : MatchMethodTexts())
        method_->addItem(Text(text.label), static_cast<int>(text.method));
    auto* methodLabel = new QLabel(QStringLiteral("&Matching method:"), this);
    methodLabel->setBuddy(method_);

    matches_ = new QTableWidget(0, kMatchColumns, this);
    matches_->setObjectName(QStringLiteral("MatchTable"));
    matches_->setAccessibleName(QStringLiteral("Matches"));
    matches_->setAccessibleDescription(
        QStringLiteral("One line for each sale's shares taken from one parcel"));
    QStringList titles;
    for (const MatchColumnText& column : kColumns)
        titles << QString::fromLatin1(column.title);
    matches_->setHorizontalHeaderLabels(titles);
    matches_->verticalHeader()->hide();
    matches_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    matches_->setSelectionBehavior(QAbstractItemView::SelectRows);
    matches_->setSelectionMode(QAbstractItemView::SingleSelection);
    matches_->setTabKeyNavigation(false); // Tab leaves the table for the next control
    matches_->setWordWrap(false);
    matches_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    matches_->horizontalHeader()->setStretchLastSection(true);
    auto* matchesLabel = new QLabel(QStringLiteral("Matc&hes:"), this);
    matchesLabel->setBuddy(matches_);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("SummaryLabel"));
    summary_->setWordWrap(true);

    refusals_ = new QListWidget(this);
    refusals_->setObjectName(QStringLiteral("RefusalList"));
    refusals_->setAccessibleName(QStringLiteral("Refused files and lines"));
    refusalsLabel_ = new QLabel(QStringLiteral("&Refused:"), this);
    refusalsLabel_->setBuddy(refusals_);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("OkButton"));
    ok_->setAccessibleName(QStringLiteral("OK, record the events"));
    ok_->setDefault(true);
    cancel_ = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    cancel_->setAccessibleName(QStringLiteral("Cancel, record nothing"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* methodRow = new QHBoxLayout;
    methodRow->addWidget(methodLabel);
    methodRow->addWidget(method_);
    methodRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(methodRow);
    layout->addWidget(matchesLabel);
    layout->addWidget(matches_, 3);
    layout->addWidget(summary_);
    layout->addWidget(refusalsLabel_);
    layout->addWidget(refusals_, 1);
    layout->addWidget(buttons);

    // The order they are seen in, top to bottom.
    setTabOrder(method_, matches_);
    setTabOrder(matches_, refusals_);
    setTabOrder(refusals_, ok_);
    setTabOrder(ok_, cancel_);

    connect(method_, &QComboBox::currentIndexChanged, this, &TImportTradesForm::replan);
    replan();
    method_->setFocus(Qt::OtherFocusReason);
}

MatchMethod TImportTradesForm::Method() const {
    return static_cast<MatchMethod>(method_->currentData().toInt());
}

void TImportTradesForm::replan() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    plan_ = planner_(Method());
    QApplication::restoreOverrideCursor();
    showMatches();
    showRefusals();
    summary_->setText(RecordSummary(plan_, replaced_));
    summary_->setAccessibleName(summary_->text());
    ok_->setEnabled(plan_.refused.empty());
    fitToContents();
}

void TImportTradesForm::showMatches() {
    matches_->setRowCount(static_cast<int>(plan_.matches.size()));
    for (int row = 0; row < matches_->rowCount(); ++row) {
        const std::array<QString, kMatchColumns> cells =
            MatchCells(plan_.matches[static_cast<std::size_t>(row)]);
        const QString& sale = cells[static_cast<std::size_t>(MatchColumn::Sale)];
        for (int col = 0; col < kMatchColumns; ++col) {
            const MatchColumnText& column = kColumns[static_cast<std::size_t>(col)];
            const QString& text = cells[static_cast<std::size_t>(col)];
            auto* item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (column.amount) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // A screen reader names the cell by its column and its sale.
            item->setData(Qt::AccessibleTextRole, column.column == MatchColumn::Sale
                                                      ? QStringLiteral("Sale: ") + text
                                                      : QString::fromLatin1(column.title) +
                                                            QStringLiteral(" of sale ") + sale +
                                                            QStringLiteral(": ") + text);
            matches_->setItem(row, col, item);
        }
    }
    if (matches_->rowCount() > 0 && matches_->currentRow() < 0) matches_->setCurrentCell(0, 0);
}

void TImportTradesForm::showRefusals() {
    refusals_->clear();
    for (const TradeRefusal& refusal : plan_.refused)
        refusals_->addItem(RefusalLine(refusal));
    const bool any = !plan_.refused.empty();
    refusalsLabel_->setVisible(any);
    refusals_->setVisible(any);
}

void TImportTradesForm::fitToContents() {
    const QSize hint = sizeHint();
    int width = matches_->frameWidth() * 2 + matches_->verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < kMatchColumns; ++col)
        // Public in the item view, protected in the table view.
        width += std::max(static_cast<const QAbstractItemView*>(matches_)->sizeHintForColumn(col),
                          matches_->horizontalHeader()->sectionSizeHint(col));
    // A refusal's line is read whole, without scrolling.
    const int refused = static_cast<const QAbstractItemView*>(refusals_)->sizeHintForColumn(0) +
                        refusals_->frameWidth() * 2;
    width = std::max({width, refused, fontMetrics().averageCharWidth() * kLeastWidthInChars});
    const QMargins margins = layout()->contentsMargins();
    QSize wanted(std::max(hint.width(), width + margins.left() + margins.right()),
                 std::max(hint.height(), 26 * fontMetrics().height()));
    // Another plan may widen it, never narrow it under the user's eyes.
    if (isVisible()) wanted = wanted.expandedTo(size());
    if (const QScreen* display = screen())
        wanted = wanted.boundedTo(display->availableGeometry().size() * 9 / 10);
    if (wanted != size()) resize(wanted);
}

} // namespace cgt
