#include "cgt/screens/choices/schedule_screen.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "interview/frame.h"
#include "interview/navigator_frame.h"
#include "interview/screen_registry.h"
#include "store/run_state.h"
#include "store/tags.h"

namespace {

namespace s = cgt::tag::schedule;

// A row of a Part: its label, the row as the captions of its fields name it, and the tags of
// its index, discount, other and total columns (0: none). A Part without method columns shows
// one amount per row, in the first.
struct ScheduleRow {
    const char* label;
    const char* caption;
    int tags[4];
};

struct SchedulePart {
    const char* heading; // mark-up lines
    const char* headingMore;
    const char* caption; // what the Part's fields hold, first in their captions
    bool methods;        // the method columns head the Part
    const char* total;   // heading of the total column, if any
    std::vector<ScheduleRow> rows;
};

const std::vector<SchedulePart>& Parts() {
    static const std::vector<SchedulePart> parts = {
        {"<X5><AL><T1>Part A <X55>Capital gains from CGT assets and CGT events<.>",
         nullptr,
         "Capital gains",
         true,
         nullptr,
         {{"Non-active assets: shares and units (in unit trusts)",
           "shares and units in unit trusts",
           {s::kNonActiveSharesIndex, s::kNonActiveSharesDiscount, s::kNonActiveSharesOther}},
          {"Non-active assets: real estate",
           "real estate",
           {s::kNonActiveRealEstateIndex, s::kNonActiveRealEstateDiscount,
            s::kNonActiveRealEstateOther}},
          {"Non-active assets: other CGT assets and any other CGT events",
           "other CGT assets and any other CGT events",
           {s::kNonActiveOtherIndex, s::kNonActiveOtherDiscount, s::kNonActiveOtherOther}},
          {"Collectables, after the collectable losses applied to them",
           "collectables after collectable losses applied",
           {s::kCollectablesIndex, s::kCollectablesDiscount, s::kCollectablesOther}},
          {"Active assets: shares and units (in unit trusts)",
           "active assets, shares and units in unit trusts",
           {s::kActiveSharesIndex, s::kActiveSharesDiscount, s::kActiveSharesOther}},
          {"Active assets: real estate",
           "active assets, real estate",
           {s::kActiveRealEstateIndex, s::kActiveRealEstateDiscount, s::kActiveRealEstateOther}},
          {"Active assets: other CGT assets and any other CGT events",
           "active assets, other CGT assets and any other CGT events",
           {s::kActiveOtherIndex, s::kActiveOtherDiscount, s::kActiveOtherOther}},
          {"Total current year capital gains (CYCG)",
           "total current year capital gains",
           {s::kTotalGainsIndex, s::kTotalGainsDiscount, s::kTotalGainsOther}}}},
        {"<X5><AL><T1>Part B <X55>Current year capital losses (CYCL) from CGT assets and CGT<.>",
         "<X55><T1>events - other than capital losses from collectables<.>",
         "Current year capital losses",
         false,
         nullptr,
         {{"Shares and units (in unit trusts)",
           "shares and units in unit trusts",
           {s::kLossesShares}},
          {"Real estate", "real estate", {s::kLossesRealEstate}},
          {"Other CGT assets and any other CGT events",
           "other CGT assets and any other CGT events",
           {s::kLossesOther}},
          {"Total current year capital losses", "total", {s::kLossesTotal}}}},
        {"<X5><AL><T1>Part D <X55>Applying capital losses against current year capital gains<.>",
         nullptr,
         "Capital losses applied",
         true,
         "Total capital losses applied",
         {{"Current year capital losses applied",
           "current year capital losses",
           {s::kCurrentLossesAppliedIndex, s::kCurrentLossesAppliedDiscount,
            s::kCurrentLossesAppliedOther, s::kCurrentLossesAppliedTotal}},
          {"Prior year capital losses applied",
           "prior year capital losses",
           {s::kPriorLossesAppliedIndex, s::kPriorLossesAppliedDiscount,
            s::kPriorLossesAppliedOther, s::kPriorLossesAppliedTotal}},
          {"Capital losses transferred in applied",
           "capital losses transferred in",
           {s::kTransferredLossesAppliedIndex, s::kTransferredLossesAppliedDiscount,
            s::kTransferredLossesAppliedOther, s::kTransferredLossesAppliedTotal}},
          {"Total capital losses applied",
           "total capital losses applied",
           {s::kLossesAppliedIndex, s::kLossesAppliedDiscount, s::kLossesAppliedOther,
            s::kLossesAppliedTotal}}}},
        {"<X5><AL><T1>Part E <X55>Current year capital gains (CYCG) after applying capital "
         "losses<.>",
         nullptr,
         "Capital gains after losses",
         true,
         nullptr,
         {{"Non active assets",
           "non active assets",
           {s::kNonActiveAfterLossesIndex, s::kNonActiveAfterLossesDiscount,
            s::kNonActiveAfterLossesOther}},
          {"Active assets",
           "active assets",
           {s::kActiveAfterLossesIndex, s::kActiveAfterLossesDiscount, s::kActiveAfterLossesOther}},
          {"Totals-CYCG after applying capital losses",
           "totals",
           {s::kAfterLossesIndex, s::kAfterLossesDiscount, s::kAfterLossesOther}}}},
        {"<X5><AL><T1>Part F <X55>Applying the CGT discount on capital gains<.>",
         nullptr,
         "CGT discount",
         true,
         nullptr,
         {{"From non active assets", "from non active assets", {0, s::kDiscountNonActive}},
          {"From active assets", "from active assets", {0, s::kDiscountActive}}}},
        {"<X5><AL><T1>Part G <X55>Applying the CGT concessions for small business<.>",
         nullptr,
         "Small business concessions",
         true,
         nullptr,
         {{"Small business active asset reduction",
           "active asset reduction",
           {s::kActiveAssetReductionIndex, s::kActiveAssetReductionDiscount,
            s::kActiveAssetReductionOther}},
          {"Small business retirement exemption",
           "retirement exemption",
           {s::kRetirementExemptionIndex, s::kRetirementExemptionDiscount,
            s::kRetirementExemptionOther}},
          {"Small business roll-over",
           "roll-over",
           {s::kSmallBusinessRollOverIndex, s::kSmallBusinessRollOverDiscount,
            s::kSmallBusinessRollOverOther}}}},
        {"<X5><AL><T1>Part H <X55>Calculating net capital gain<.>",
         nullptr,
         "Net capital gain",
         true,
         "Total",
         {{"Totals - CGT discount and small business concessions",
           "CGT discount and small business concessions",
           {s::kConcessionsIndex, s::kConcessionsDiscount, s::kConcessionsOther}},
          {"Net capital gains",
           "net capital gains",
           {s::kNetGainIndex, s::kNetGainDiscount, s::kNetGainOther, s::kNetGainTotal}}}},
        {"<X5><AL><T1>Part I <X55>Unapplied net capital losses (UNCL) carried forward to later<.>",
         "<X55><T1>income years<.>",
         "Unapplied net capital losses carried forward",
         false,
         nullptr,
         {{"UNCL from collectables", "from collectables", {s::kCarriedCollectableLosses}},
          {"UNCL from all other CGT assets and other CGT events",
           "from all other CGT assets and other CGT events",
           {s::kCarriedOtherLosses}}}},
        {"<X5><AL><T1>Part J <X55>Small business 15-year exemption<.>",
         nullptr,
         "Small business 15-year exemption",
         false,
         nullptr,
         {{"Exempt capital gains", "exempt capital gains", {s::kFifteenYearExemptGains}},
          {"CGT asset or CGT event code",
           "CGT asset or CGT event code",
           {s::kFifteenYearAssetCode}}}},
        {"<X5><AL><T1>Part K <X55>Scrip for scrip roll-over relief for exchanging taxpayer<.>",
         nullptr,
         "Scrip for scrip roll-over",
         false,
         nullptr,
         {{"Original interests cost base",
           "original interests cost base",
           {s::kScripOriginalCostBase}},
          {"Replacement interests market value",
           "replacement interests market value",
           {s::kScripReplacementValue}},
          {"Cash and other considerations",
           "cash and other considerations",
           {s::kScripCashConsideration}}}},
    };
    return parts;
}

const char* const kColumnHeadings[] = {"Capital gains - index method",
                                       "Capital gains - disc method", "Other capital gains"};
const char* const kColumnCaptions[] = {"Index method", "Discount method", "Other method", "Total"};

// Geometry of the schedule inside its scrolling area.
constexpr int kLabelLeft = 8;
constexpr int kLabelWidth = 236;
constexpr int kFirstColumn = 248;
constexpr int kColumnStep = 80;
constexpr int kFieldWidth = 76;
constexpr int kRowStep = 26;
constexpr int kHeadingHeight = 48; // three lines of a column heading
constexpr int kContentWidth = kFirstColumn + 4 * kColumnStep;

QLabel* SmallLabel(const QString& text, QWidget* parent, const QRect& where, bool wrap) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(wrap);
    label->setGeometry(where);
    return label;
}

TTaxEdit* AmountField(int tag, const QString& caption, QWidget* parent, const QRect& where) {
    auto* edit = new TTaxEdit(parent);
    edit->setObjectName(QStringLiteral("Schedule%1").arg(tag));
    if (tag == s::kFifteenYearAssetCode) {
        edit->setMaxLength(1);
    } else {
        edit->setNumericType(TCustomNumEdit::ntCurrency);
        edit->setVarnDataType(TCustomNumEdit::vtDollarNegative);
        edit->setMaxLength(8);
    }
    edit->setReadOnly(true);
    // Keyboard and screen-reader users read the schedule field by field.
    edit->setFocusPolicy(cgt::Run().AccessibilityMode ? Qt::StrongFocus : Qt::NoFocus);
    edit->setAccessibleName(caption);
    edit->setProperty("fieldTag", tag);
    edit->setGeometry(where);
    return edit;
}

} // namespace

TQCGT_67::TQCGT_67() {
    setObjectName(QStringLiteral("TQCGT_67"));
    auto* text = new TTextLbl(this);
    text->setObjectName(QStringLiteral("TextLbl1"));
    text->setText({QStringLiteral("<AL><T1>CGT schedule<.>"),
                   QStringLiteral("You have provided Tesmo with all the information it needs "
                                  "to complete the CGT schedule."),
                   QStringLiteral("The information contained in the schedule is summarised "
                                  "here. The schedule is sent to the"),
                   QStringLiteral("Varn only when your total current year capital gains or "
                                  "your total current year"),
                   QStringLiteral("capital losses are greater than $10,000.")});
    text->setGeometry(16, 4, 570, 96);

    area_ = new QScrollArea(this);
    area_->setObjectName(QStringLiteral("ScheduleBox"));
    area_->setGeometry(8, 102, 590, 350);
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SchedulePage"));

    // The row keeps its name whatever the fields hold, so that leaving never drops it.
    auto* name = new TTaxEdit(page);
    name->setObjectName(QStringLiteral("ScheduleName"));
    name->setProperty("fieldTag", s::kName);
    name->hide();

    int top = 4;
    std::vector<QWidget*> lastOfPart;
    for (const SchedulePart& part : Parts()) {
        auto* heading = new TTextLbl(page);
        QStringList lines{QString::fromLatin1(part.heading)};
        if (part.headingMore) lines << QString::fromLatin1(part.headingMore);
        heading->setText(lines);
        heading->setGeometry(0, top, kContentWidth, 20 * int(lines.size()) + 4);
        headings_.push_back(heading);
        top += 20 * int(lines.size()) + 6;
        if (part.methods) {
            for (int c = 0; c < 3; ++c)
                SmallLabel(QString::fromLatin1(kColumnHeadings[c]), page,
                           QRect(kFirstColumn + c * kColumnStep, top, kFieldWidth, kHeadingHeight),
                           true);
            if (part.total)
                SmallLabel(QString::fromLatin1(part.total), page,
                           QRect(kFirstColumn + 3 * kColumnStep, top, kFieldWidth, kHeadingHeight),
                           true);
            top += kHeadingHeight + 4;
        }
        if (std::string_view(part.heading).find("Part K") != std::string_view::npos) {
            rollOver_ = new QCheckBox(QStringLiteral("Roll-over chosen?"), page);
            rollOver_->setObjectName(QStringLiteral("RollOverCheckBox"));
            rollOver_->setProperty("fieldTag", s::kScripRollOverChosen);
            rollOver_->setGeometry(kLabelLeft, top, 200, 22);
            top += kRowStep;
        }
        QWidget* last = nullptr;
        for (const ScheduleRow& row : part.rows) {
            // A label that wraps makes its row taller.
            QLabel* label = SmallLabel(QString::fromLatin1(row.label), page,
                                       QRect(kLabelLeft, top, kLabelWidth, kRowStep - 2), true);
            const int needed = label->heightForWidth(kLabelWidth);
            const int height = std::max(kRowStep - 2, needed);
            label->resize(kLabelWidth, height);
            for (int c = 0; c < 4; ++c) {
                const int tag = row.tags[c];
                if (tag == 0) continue;
                QString caption = QString::fromLatin1(part.caption) + QStringLiteral(", ");
                if (part.methods) caption += QString::fromLatin1(kColumnCaptions[c]) + ", ";
                caption += QString::fromLatin1(row.caption);
                last = AmountField(tag, caption, page,
                                   QRect(kFirstColumn + c * kColumnStep, top, kFieldWidth, 22));
            }
            top += height + 2;
        }
        lastOfPart.push_back(last);
        top += 10;
    }
    page->resize(kContentWidth + 8, top);
    area_->setWidget(page);

    // For keyboard users, leaving the last field of a Part brings the next Part into view.
    for (std::size_t p = 0; p + 1 < lastOfPart.size(); ++p) {
        auto* edit = qobject_cast<TTaxEdit*>(lastOfPart[p]);
        TTextLbl* next = headings_[p + 1];
        if (!edit) continue;
        connect(edit, &TTaxEdit::OnExit, this, [this, next] {
            if (cgt::Run().AccessibilityMode) area_->verticalScrollBar()->setValue(next->y());
        });
    }

    // The schedule row: its labels are the fields' tags.
    if (TFrameWnd* frame = TFrameWnd::Instance()) frame->OpenWorksheetRow(cgt::wkSchedule, 1);
}

TTaxEdit* TQCGT_67::Field(int tag) const {
    for (TTaxEdit* edit : findChildren<TTaxEdit*>())
        if (edit->property("fieldTag").toInt() == tag && edit->objectName() != "ScheduleName")
            return edit;
    return nullptr;
}

void TQCGT_67::FormShow() {
    TFrameWnd* frame = TFrameWnd::Instance();
    if (!frame) return;
    frame->Navigator()->show();
    frame->ShowWorksheetPanel(false);
    area_->verticalScrollBar()->setValue(0);
}

CGT_REGISTER_SCREEN(TQCGT_67);
