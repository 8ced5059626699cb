// write_golden_returns FOLDER: writes the returns of tests/golden/ into FOLDER as data files,
// each as its taxpayer leaves it after walking the screens: what the user typed on the event
// screens, the tables and the choice table, and what the screens after the choice table stored in
// the schedule. The gains and losses of the events that `cgt compute` recomputes are left to it;
// rights and other capital receipts keep the results their screens stored.
//
// The golden test reads the files this program wrote and checked in; it is run only to change
// them (README.md, Development).

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cgt/rules/choice_table.h"
#include "cgt/rules/manual_table.h"
#include "cgt/rules/trust_table.h"
#include "golden_returns.h"
#include "store/data_file.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

// The events are written with designated initialisers; the fields left out keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace cgt::golden {
namespace {

using namespace tag::event;

// Cost elements as the worksheets' picklists offer them.
constexpr const char* kPurchase = "1 - Purchase/Acquisition cost";
constexpr const char* kShareIncidentals = "2A - Incidentals re holding & acquisition";
constexpr const char* kPropertyIncidentals = "2A - Incidentals re holding and acquisition";
constexpr const char* kSaleIncidentals = "2B - Incidentals re specific CGT event";
constexpr const char* kImprovement = "4 - Capital expenditure - increases value";
constexpr const char* kDisposal = "A1 - Disposal of a CGT asset";

struct Cost {
    const char* element;
    const char* incurred;
    const char* description;
    const char* amount;
};

// A capital payment for shares: the date of its CGT event and the amount.
struct SharePayment {
    const char* eventDate;
    const char* description;
    const char* amount;
};

// A non-assessable payment for a trust interest: the date of payment, the CGT event date the grid
// derives from it, and the tax-free and tax-deferred amounts.
struct TrustPayment {
    const char* paid;
    const char* eventDate;
    const char* description;
    const char* taxFree;
    const char* taxDeferred;
};

enum class RollOver { NotAnswered, No, Other, MarriageBreakdown, ScripForScrip };

// Losses the user applied to one row of the event in the choice table.
struct Applied {
    const char* collectable = "";
    const char* other = "";
};

struct Event {
    int worksheet = 0;
    int row = 0;
    const char* name = "";
    const char* type = "";
    const char* acquired = "";
    std::vector<Cost> costs;
    std::vector<SharePayment> sharePayments;
    std::vector<TrustPayment> trustPayments;
    const char* eventCode = "";
    const char* eventDate = "";
    Extended proceeds = 0;
    RollOver rollOver = RollOver::NotAnswered;
    bool fifteenYear = false;
    // The user's answers in the choice table: the method and deferral of the event's rows, and
    // the losses applied to its disposal ("C") and to the gain of its non-assessable receipts
    // ("B").
    const char* method = "";
    const char* defer = "";
    Applied disposal;
    Applied receipts;
    // The event's other entries (its own screens' fields).
    std::function<void()> more;
};

std::shared_ptr<StringList> CostElements(const std::vector<Cost>& costs) {
    auto list = std::make_shared<StringList>();
    for (const Cost& c : costs)
        list->insert(list->end(), {c.element, c.incurred, "", c.description, c.amount, "", "", ""});
    return list;
}

std::shared_ptr<StringList> Payments(const Event& e) {
    auto list = std::make_shared<StringList>();
    for (const SharePayment& p : e.sharePayments)
        list->insert(list->end(), {p.eventDate, "", p.description, p.amount, "", ""});
    for (const TrustPayment& p : e.trustPayments)
        list->insert(list->end(),
                     {p.paid, p.eventDate, p.description, "", "", p.taxFree, "", p.taxDeferred});
    return list;
}

void StoreRollOver(const Event& e) {
    const bool scripAsked = e.worksheet == wkShares || e.worksheet == wkTrustInterests;
    switch (e.rollOver) {
    case RollOver::NotAnswered:
        return;
    case RollOver::No:
        SetFieldChecked(kRollOverNo);
        return;
    case RollOver::Other:
    case RollOver::MarriageBreakdown:
    case RollOver::ScripForScrip:
        SetFieldChecked(kRollOverYes);
        SetFieldChecked(e.rollOver == RollOver::MarriageBreakdown ? kMarriageBreakdownYes
                                                                  : kMarriageBreakdownNo);
        if (scripAsked)
            SetFieldChecked(e.rollOver == RollOver::ScripForScrip ? kScripForScripYes
                                                                  : kScripForScripNo);
        return;
    }
}

// The losses-applied list the choice table keeps with an event (34 entries): its title, then the
// collectable and other losses applied to row "C" (entries 1 and 2) and to row "B" (3 and 4).
constexpr std::size_t kLossesAppliedEntries = 34;
void StoreLossesApplied(const Event& e) {
    const Applied* rows[] = {&e.disposal, &e.receipts};
    bool any = false;
    for (const Applied* a : rows)
        any = any || *a->collectable || *a->other;
    if (!any) return;
    auto list = std::make_shared<StringList>(kLossesAppliedEntries, " ");
    (*list)[0] = "Losses Applied";
    for (std::size_t i = 0; i < 2; ++i) {
        if (*rows[i]->collectable) (*list)[1 + 2 * i] = rows[i]->collectable;
        if (*rows[i]->other) (*list)[2 + 2 * i] = rows[i]->other;
    }
    SetFieldLst(kLossesApplied, list);
}

void StoreEvent(const Event& e) {
    ZeroFillScratchTags();
    SetFieldStr(kName, e.name);
    SetFieldStr(kAssetType, e.type);
    if (*e.acquired) SetFieldStr(kAcquisitionDate, e.acquired);
    if (!e.costs.empty()) SetFieldLst(kCostElements, CostElements(e.costs));
    if (!e.sharePayments.empty() || !e.trustPayments.empty()) {
        SetFieldLst(kPayments, Payments(e));
        SetFieldStr(kPaymentEventCode, e.sharePayments.empty() ? "E4" : "G1");
        SetFieldStr(kPaymentAssetType, "ON");
    }
    if (*e.eventCode) SetFieldStr(kEventCode, e.eventCode);
    if (*e.eventDate) SetFieldStr(kEventDate, e.eventDate);
    if (e.proceeds != 0) SetFieldVal(kCapitalProceeds, e.proceeds);
    StoreRollOver(e);
    if (e.fifteenYear) SetFieldChecked(kFifteenYearExemption);
    if (*e.method) SetFieldStr(kMethodChoice, e.method);
    if (*e.defer) SetFieldStr(kDefermentChoice, e.defer);
    StoreLossesApplied(e);
    if (e.more) e.more();
    PutRow(e.worksheet, e.row);
}

// A right created or another capital receipt as its screen stores it: the capital proceeds, the
// incidental costs and the gain or loss worked out from them, and the disposal flag.
std::function<void()> ReceiptResult(Extended proceeds, Extended costs, Extended gain) {
    return [=] {
        SetFieldVal(kOtherProceeds, proceeds);
        SetFieldVal(kOtherCostBase, costs);
        SetFieldVal(kOtherGain, gain);
        SetFieldVal(kCapitalLoss, 0);
        SetFieldChecked(kDisposalResult);
    };
}

// One row of the manual calculation table as its screen keeps it (21 cells), with the user's
// choices from the choice table.
struct ManualRow {
    const char* section;
    const char* description;
    const char* type;
    const char* indexed = "";
    const char* discount = "";
    const char* other = "";
    const char* loss = "";
    const char* canDefer = "No";
    const char* method = "";
    const char* otherApplied = "";
};

void StoreManualTable(const std::vector<ManualRow>& rows) {
    auto list = std::make_shared<StringList>();
    for (const ManualRow& r : rows) {
        StringList cells(kManualCells);
        cells[mcSection] = r.section;
        cells[mcDescription] = r.description;
        cells[mcType] = r.type;
        cells[mcIndexed] = r.indexed;
        cells[mcDiscount] = r.discount;
        cells[ccMethod] = r.method;
        cells[mcOther] = r.other;
        cells[mcLoss] = r.loss;
        cells[mcCanDefer] = r.canDefer;
        cells[ccOtherApplied] = r.otherApplied;
        list->insert(list->end(), cells.begin(), cells.end());
    }
    SetFieldLst(tag::kManualCalculationTable, list);
}

// One trust of the trust distribution table: its name, the components as the trustee reports
// them (cells 1-9), their sum as the screen writes it, and the other losses the user applied to a
// component in the choice table (kept in cell 19 + component).
constexpr int kOtherAppliedCell = 19;
struct TrustRow {
    const char* name;
    std::vector<std::pair<int, const char*>> components;
    const char* net;
    std::vector<std::pair<int, const char*>> otherApplied;
};

void StoreTrustTable(const std::vector<TrustRow>& trusts) {
    auto list = std::make_shared<StringList>();
    for (const TrustRow& t : trusts) {
        StringList cells(kTrustCells);
        cells[kTrustNameCell] = t.name;
        for (const auto& [component, amount] : t.components)
            cells[static_cast<std::size_t>(component)] = amount;
        cells[kTrustNetCell] = t.net;
        for (const auto& [component, amount] : t.otherApplied)
            cells[static_cast<std::size_t>(kOtherAppliedCell + component)] = amount;
        list->insert(list->end(), cells.begin(), cells.end());
    }
    SetFieldLst(tag::kTrustDistributionTable, list);
}

// The labels the screens after the choice table store in the schedule row.
void StoreScheduleLabels(const std::function<void()>& labels) {
    ZeroFillScratchTags();
    labels();
    PutRow(wkSchedule, 1);
}

// ---- The returns -----------------------------------------------------------------------------

// A share investor with a rental unit and a former home: a return of capital, a loss on shares
// and earlier years' losses applied against the discount gains.
void Investor() {
    SetFieldVal(tag::kUnappliedOtherLosses, 4000);
    StoreEvent({.worksheet = wkShares,
                .row = 1,
                .name = "Example Bank Ltd shares",
                .type = "SN",
                .acquired = "15/03/1995",
                .costs = {{kPurchase, "15/03/1995", "1,000 shares at $8.00", "8000"},
                          {kShareIncidentals, "15/03/1995", "Brokerage on purchase", "120"},
                          {kSaleIncidentals, "10/02/2004", "Brokerage on sale", "140"}},
                .sharePayments = {{"01/12/2003", "Return of capital", "500"}},
                .eventCode = kDisposal,
                .eventDate = "10/02/2004",
                .proceeds = 14000,
                .rollOver = RollOver::No,
                .method = "Discount",
                .disposal = {.other = "3000"}});
    StoreEvent({.worksheet = wkShares,
                .row = 2,
                .name = "Example Telco Ltd shares",
                .type = "SN",
                .acquired = "20/11/1997",
                .costs = {{kPurchase, "20/11/1997", "2,000 shares at $3.30", "6600"},
                          {kShareIncidentals, "20/11/1997", "Brokerage on purchase", "50"},
                          {kSaleIncidentals, "05/09/2003", "Brokerage on sale", "40"}},
                .eventCode = kDisposal,
                .eventDate = "05/09/2003",
                .proceeds = 4100,
                .rollOver = RollOver::No});
    StoreEvent(
        {.worksheet = wkRealEstate,
         .row = 1,
         .name = "Rental unit, 4/12 Example St",
         .type = "RN",
         .acquired = "10/08/1990",
         .costs = {{kPurchase, "10/08/1990", "Purchase price", "95000"},
                   {kPropertyIncidentals, "10/08/1990", "Stamp duty and legal fees", "3800"},
                   {kImprovement, "15/05/1996", "New kitchen", "12000"},
                   {kSaleIncidentals, "20/04/2004", "Agent's commission and legal fees", "6500"}},
         .eventCode = kDisposal,
         .eventDate = "20/04/2004",
         .proceeds = 265000,
         .rollOver = RollOver::No,
         .method = "Discount",
         .disposal = {.other = "3590"}});
    StoreEvent({.worksheet = wkRealEstate,
                .row = 2,
                .name = "House, 7 Example Ave (home, later rented)",
                .type = "RN",
                .acquired = "01/07/1995",
                .costs = {{kPurchase, "01/07/1995", "Purchase price", "150000"},
                          {kPropertyIncidentals, "01/07/1995", "Stamp duty and legal fees", "6000"},
                          {kSaleIncidentals, "01/06/2004", "Agent's commission", "8000"}},
                .eventCode = kDisposal,
                .eventDate = "01/06/2004",
                .proceeds = 330000,
                .rollOver = RollOver::No,
                .method = "Discount",
                .more = [] {
                    // Rented for the last four years of the 3,258 days it was held.
                    SetFieldVal(kDaysNotExempt, 1461);
                    SetFieldVal(kTotalDays, 3258);
                }});
}

// Units in trusts with tax-deferred distributions, two trusts' capital gains, a collectable sold
// at a gain and another at a loss, a boat, and earlier years' losses of both kinds.
void Trusts() {
    SetFieldVal(tag::kUnappliedCollectableLosses, 300);
    SetFieldVal(tag::kUnappliedOtherLosses, 1200);
    StoreEvent(
        {.worksheet = wkTrustInterests,
         .row = 1,
         .name = "Example Property Trust units",
         .type = "UN",
         .acquired = "01/07/2000",
         .costs = {{kPurchase, "01/07/2000", "5,000 units at $1.00", "5000"},
                   {kShareIncidentals, "01/07/2000", "Brokerage on purchase", "60"}},
         .trustPayments = {{"15/08/2002", "30/06/2003", "2002 distribution", "", "400"},
                           {"16/02/2004", "30/06/2004", "2004 interim distribution", "50", "300"}},
         .eventCode = kDisposal,
         .eventDate = "15/05/2004",
         .proceeds = 6200,
         .rollOver = RollOver::No,
         .disposal = {.other = "1080"}});
    StoreEvent(
        {.worksheet = wkTrustInterests,
         .row = 2,
         .name = "Example Infrastructure Fund units",
         .type = "UN",
         .acquired = "01/03/1998",
         .costs = {{kPurchase, "01/03/1998", "1,000 units at $1.00", "1000"}},
         .trustPayments = {{"20/08/2003", "30/06/2004", "Tax-deferred distribution", "", "1300"}},
         .method = "Discount"});
    StoreEvent({.worksheet = wkPersonalUse,
                .row = 1,
                .name = "Painting by a local artist",
                .type = "A",
                .acquired = "12/06/1996",
                .costs = {{kPurchase, "12/06/1996", "Bought at a gallery", "1800"},
                          {kPropertyIncidentals, "12/06/1996", "Valuation and framing", "160"},
                          {kSaleIncidentals, "25/10/2003", "Auction commission", "460"}},
                .eventCode = kDisposal,
                .eventDate = "25/10/2003",
                .proceeds = 4600,
                .rollOver = RollOver::No,
                .method = "Discount",
                .disposal = {.collectable = "900"}});
    StoreEvent({.worksheet = wkPersonalUse,
                .row = 2,
                .name = "Antique clock",
                .type = "A",
                .acquired = "03/02/2001",
                .costs = {{kPurchase, "03/02/2001", "Bought at auction", "2500"}},
                .eventCode = kDisposal,
                .eventDate = "14/11/2003",
                .proceeds = 1900,
                .rollOver = RollOver::No});
    StoreEvent({.worksheet = wkPersonalUse,
                .row = 3,
                .name = "Sailing boat",
                .type = "P",
                .acquired = "01/12/1999",
                .costs = {{kPurchase, "01/12/1999", "Purchase", "18000"},
                          {kImprovement, "15/10/2001", "New sails", "2200"}},
                .eventCode = kDisposal,
                .eventDate = "02/03/2004",
                .proceeds = 12000,
                .rollOver = RollOver::No});
    StoreTrustTable({{.name = "Example Growth Fund",
                      .components = {{1, "120"}, {2, "850"}, {3, "45"}},
                      .net = "1015",
                      .otherApplied = {{1, "120"}}},
                     {.name = "Example Business Trust", .components = {{8, "250"}}, .net = "250"}});
}

// A business sold: its premises under the 15-year exemption, its goodwill rolled over, the van
// and an option granted over land, and a payment for a restrictive covenant.
void Business() {
    StoreEvent({.worksheet = wkRealEstate,
                .row = 1,
                .name = "Shop premises, 3 Example Rd",
                .type = "RA",
                .acquired = "14/02/1986",
                .costs = {{kPurchase, "14/02/1986", "Purchase price", "140000"},
                          {kPropertyIncidentals, "14/02/1986", "Stamp duty and legal fees", "5200"},
                          {kImprovement, "20/09/1994", "Shopfront extension", "30000"},
                          {kSaleIncidentals, "30/01/2004", "Agent's commission", "18000"}},
                .eventCode = kDisposal,
                .eventDate = "30/01/2004",
                .proceeds = 690000,
                .rollOver = RollOver::No,
                .fifteenYear = true});
    StoreEvent(
        {.worksheet = wkOtherAssets,
         .row = 1,
         .name = "Goodwill of Example Hardware",
         .type = "G",
         .acquired = "01/07/1996",
         .costs = {{kPurchase, "01/07/1996", "Goodwill on purchase of the business", "40000"},
                   {kSaleIncidentals, "30/01/2004", "Legal fees on sale", "2500"}},
         .eventCode = kDisposal,
         .eventDate = "30/01/2004",
         .proceeds = 160000,
         .rollOver = RollOver::Other,
         .defer = "Yes"});
    StoreEvent({.worksheet = wkDepreciating,
                .row = 1,
                .name = "Delivery van",
                .type = "ON",
                .acquired = "01/07/2001",
                .costs = {{kPurchase, "01/07/2001", "Purchase", "30000"}},
                .eventDate = "15/04/2004",
                .proceeds = 12000,
                .rollOver = RollOver::No,
                .more = [] {
                    SetFieldVal(kDepreciatingCost, 30000);
                    SetFieldVal(kTaxableUsePercent, 75);
                }});
    StoreEvent({.worksheet = wkRights,
                .row = 1,
                .name = "Option granted over vacant land",
                .type = "ON",
                .eventDate = "12/12/2003",
                .rollOver = RollOver::No,
                .disposal = {.other = "1700"},
                .more = ReceiptResult(5000, 650, 4350)});
    StoreEvent({.worksheet = wkReceipts,
                .row = 1,
                .name = "Payment for a restrictive covenant",
                .type = "ON",
                .eventDate = "05/03/2004",
                .disposal = {.other = "2800"},
                .more = ReceiptResult(3000, 200, 2800)});
    StoreScheduleLabels([] {
        using namespace tag::schedule;
        SetFieldVal(kFifteenYearExemptGains, 398023);
        SetFieldStr(kFifteenYearAssetCode, "R");
    });
}

// Shares exchanged in a takeover under a scrip for scrip roll-over, a holiday house passed to a
// spouse on a marriage breakdown, shares sold at a loss and an adviser's figures in the manual
// calculation table.
void Takeover() {
    StoreEvent({.worksheet = wkShares,
                .row = 1,
                .name = "Example Insurance Ltd shares",
                .type = "SN",
                .acquired = "01/05/1998",
                .costs = {{kPurchase, "01/05/1998", "Purchase", "12000"},
                          {kShareIncidentals, "01/05/1998", "Brokerage on purchase", "80"}},
                .eventCode = kDisposal,
                .eventDate = "15/09/2003",
                .proceeds = 20000,
                .rollOver = RollOver::ScripForScrip,
                .defer = "Yes",
                .more = [] {
                    SetFieldVal(kReplacementMarketValue, 20000);
                    SetFieldVal(kCashConsideration, 0);
                }});
    StoreEvent({.worksheet = wkShares,
                .row = 2,
                .name = "Example Mining Ltd shares",
                .type = "SN",
                .acquired = "04/04/2001",
                .costs = {{kPurchase, "04/04/2001", "Purchase", "9000"},
                          {kShareIncidentals, "04/04/2001", "Brokerage on purchase", "90"},
                          {kSaleIncidentals, "11/03/2004", "Brokerage on sale", "35"}},
                .eventCode = kDisposal,
                .eventDate = "11/03/2004",
                .proceeds = 3500,
                .rollOver = RollOver::No});
    StoreEvent(
        {.worksheet = wkRealEstate,
         .row = 1,
         .name = "Holiday house, Example Bay",
         .type = "RN",
         .acquired = "22/11/1993",
         .costs = {{kPurchase, "22/11/1993", "Purchase price", "120000"},
                   {kPropertyIncidentals, "22/11/1993", "Stamp duty and legal fees", "4100"}},
         .eventCode = kDisposal,
         .eventDate = "01/06/2004",
         .proceeds = 210000,
         .rollOver = RollOver::MarriageBreakdown});
    StoreManualTable({{.section = "Fixed trust",
                       .description = "Units in Example Unlisted Property Trust",
                       .type = "UN",
                       .indexed = "2300",
                       .discount = "3100",
                       .method = "Discount",
                       .otherApplied = "3100"},
                      {.section = "Shares",
                       .description = "Shares in Example Pty Ltd (adviser's figures)",
                       .type = "SN",
                       .loss = "1400"}});
    StoreScheduleLabels([] {
        using namespace tag::schedule;
        SetFieldChecked(kScripRollOverChosen);
        SetFieldVal(kScripOriginalCostBase, 12080);
        SetFieldVal(kScripReplacementValue, 20000);
        SetFieldVal(kScripCashConsideration, 0);
    });
}

// A return left before the choices were made: half a share parcel sold, inherited shares with
// the deceased's cost base, and a taxi licence whose gain may be rolled over.
void Unfinished() {
    StoreEvent({.worksheet = wkShares,
                .row = 1,
                .name = "Example Telco Ltd shares (half the parcel)",
                .type = "SN",
                .acquired = "17/11/1997",
                .costs = {{kPurchase, "17/11/1997", "2,000 shares", "4000"},
                          {kShareIncidentals, "17/11/1997", "Brokerage on purchase", "60"},
                          {kSaleIncidentals, "19/12/2003", "Brokerage on sale", "35"}},
                .eventCode = kDisposal,
                .eventDate = "19/12/2003",
                .proceeds = 3600,
                .rollOver = RollOver::No,
                .more = [] { SetFieldVal(kPercentDisposed, 50); }});
    StoreEvent({.worksheet = wkShares,
                .row = 2,
                .name = "Example Bank Ltd shares (inherited)",
                .type = "SN",
                .acquired = "03/03/2001",
                .costs = {{kSaleIncidentals, "10/05/2004", "Brokerage on sale", "30"}},
                .eventCode = kDisposal,
                .eventDate = "10/05/2004",
                .proceeds = 11000,
                .rollOver = RollOver::No,
                .more = [] {
                    SetFieldStr(kCostBaseDate, "03/03/2001");
                    SetFieldVal(kDeceasedEstate, 1);
                    SetFieldVal(kSectionTwoNonIndexed, 8200);
                    SetFieldVal(kSectionTwoReduced, 8200);
                }});
    StoreEvent({.worksheet = wkOtherAssets,
                .row = 1,
                .name = "Taxi licence",
                .type = "ON",
                .acquired = "01/10/2000",
                .costs = {{kPurchase, "01/10/2000", "Purchase of the licence", "180000"},
                          {kSaleIncidentals, "20/05/2004", "Transfer fee", "1500"}},
                .eventCode = kDisposal,
                .eventDate = "20/05/2004",
                .proceeds = 245000,
                .rollOver = RollOver::Other});
}

struct Writer {
    std::string_view name;
    void (*write)();
};
constexpr Writer kWriters[] = {
    {"investor", Investor}, {"trusts", Trusts},         {"business", Business},
    {"takeover", Takeover}, {"unfinished", Unfinished},
};

bool WriteReturn(const GoldenReturn& r, const std::filesystem::path& folder) {
    const Writer* writer = nullptr;
    for (const Writer& w : kWriters)
        if (w.name == r.name) writer = &w;
    const std::string path = (folder / (std::string(r.name) + ".TAX")).string();
    if (writer == nullptr) {
        std::fprintf(stderr, "write_golden_returns: nothing writes %s\n", path.c_str());
        return false;
    }
    ResetModuleRun();
    Run().HostIdentifier = r.identifier;
    SetFieldStr(tag::kIdentifier, r.identifier);
    writer->write();
    ZeroFillScratchTags();
    // A new file, not a save over the old one: no backup is left beside it.
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (SaveDataFile(path) != SaveStatus::Saved) {
        std::fprintf(stderr, "write_golden_returns: cannot save %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace
} // namespace cgt::golden

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: write_golden_returns FOLDER\n", stderr);
        return 2;
    }
    bool written = true;
    for (const cgt::golden::GoldenReturn& r : cgt::golden::kWrittenReturns)
        written = cgt::golden::WriteReturn(r, argv[1]) && written;
    return written ? 0 : 2;
}
