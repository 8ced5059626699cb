#pragma once
// The choice table: every capital gain and loss of the year, one typed row per result (an
// event's disposal and its non-assessable receipts, each component of a trust distribution, each
// line of the manual calculation table). The user, or the automatic choices, picks the method of
// each gain that has two, defers what can be deferred and applies current-year and earlier-year
// losses; the table works out each row's net gain and the net capital gain. Leaving it forward
// stores the choices with their sources and computes the CGT schedule.
//
// The rules work on the rows; the grid on the screen is a projection of them
// (cgt/rules/choice_grid.h), and cgt/records reads the sources and stores the choices.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/extended.h"
#include "base/text.h"
#include "cgt/rules/event.h"
#include "cgt/rules/refusal.h"

namespace cgt {

// The table's columns, as the grid shows them, the return keeps them and the manual calculation
// table's lines hold them.
inline constexpr int kChoiceColumns = 21;
enum ChoiceColumn : int {
    ccSection = 0,
    ccDescription = 1,
    ccType = 2,
    ccIndexed = 3,        // I
    ccDiscount = 4,       // D, before the discount
    ccChoiceRequired = 5, // "Yes" when the row has both an indexed and a discount gain
    ccMethod = 6,         // "Indexed", "Discount" or empty
    ccOther = 7,          // O
    ccLoss = 8,           // L
    ccCanDefer = 9,
    ccDeferAuto = 10, // "Yes": deferred by a marriage-breakdown roll-over
    ccDefer = 11,     // the user's answer
    ccCollectableApplied = 12,
    ccPriorCollectableApplied = 13, // never filled
    ccOtherApplied = 14,
    ccTransferredApplied = 15,
    ccNetGain = 16,
    ccSourceKind = 17,  // worksheet number, or the manual or trust table
    ccSourceIndex = 18, // row key, or 0-based record of the table
    ccRowCode = 19,     // "A1" … "A9", "B" or "C"
    ccIndexFactor = 20, // I ÷ D × 100
};

// The manual line's cells that storing the choices writes: the method, the deferral answer and
// the applied losses.
inline constexpr std::array<int, 5> kManualChoiceCells = {ccMethod, ccDefer, ccCollectableApplied,
                                                          ccOtherApplied, ccTransferredApplied};

// A Yes/No cell: empty, "Yes" or "No".
enum class ChoiceAnswer { None, Yes, No };
// The method of a gain that has both an indexed and a discount amount.
enum class Method { None, Indexed, Discount };

// An amount cell of the table, kept as it was written (a gain's whole dollars right-aligned, an
// applied loss in general notation, an amount as typed or as a table holds it): the number it
// holds counts, the text is what the grid shows and the sources keep.
class ChoiceAmount {
public:
    ChoiceAmount() = default; // an empty cell
    explicit ChoiceAmount(std::string text);

    static ChoiceAmount Whole(Extended value);   // whole dollars, right-aligned in ten
    static ChoiceAmount General(Extended value); // general notation, as the passes write
    static ChoiceAmount NetGain(Extended value); // "0", or two decimals right-aligned in ten
    static ChoiceAmount Factor(Extended value);  // five decimals right-aligned in ten

    const std::string& Text() const { return text_; }
    bool Empty() const { return text_.empty(); }
    // The number of the cell; 0 when it is empty or holds no number.
    Extended Value() const { return value_; }
    // Whole dollars, halves to even, as the table counts a row's amounts.
    long long Dollars() const;

    bool operator==(const ChoiceAmount& other) const { return text_ == other.text_; }

private:
    std::string text_;
    Extended value_ = 0;
};

// The manual calculation table and the trust distribution table: the two tables whose rows are
// not worksheets.
inline constexpr int kManualSource = 1201;
inline constexpr int kTrustSource = 1215;

// Where a row comes from: an event of a worksheet, a line of the manual table, a trust of the
// trust distribution table, or nothing (a row the user added to the grid).
struct ChoiceSource {
    enum class Kind { None, Event, Manual, Trust };
    Kind kind = Kind::None;
    int worksheet = 0; // an event's worksheet
    int index = 0;     // an event's row key; a table's record from 0
    // "C" a disposal or manual line, "B" the receipts of an event, "A1" … "A9" the components
    // of a trust distribution.
    std::string code;

    static ChoiceSource OfEvent(int worksheet, int key, std::string code);
    static ChoiceSource OfManual(int record);
    static ChoiceSource OfTrust(int record, std::string code);
    // The number the table shows for the source: the worksheet, 1201 or 1215; 0 for none.
    int Number() const;
    // The source's cells: its number and index right-aligned in ten, empty for none.
    std::string NumberText() const;
    std::string IndexText() const;
    // The source of a number and index as the cells hold them.
    static ChoiceSource Of(int number, int index, std::string code);
};

struct ChoiceRow {
    std::string section;
    std::string description;
    std::string type; // the asset type code as the source gives it
    ChoiceAmount indexed;
    ChoiceAmount discount;                            // before the discount
    ChoiceAnswer choiceRequired = ChoiceAnswer::None; // Yes: both an indexed and a discount gain
    Method method = Method::None;
    ChoiceAmount other;
    ChoiceAmount loss;
    ChoiceAnswer canDefer = ChoiceAnswer::None;
    ChoiceAnswer deferAuto = ChoiceAnswer::None; // Yes: deferred by a marriage-breakdown roll-over
    ChoiceAnswer defer = ChoiceAnswer::None;     // the user's answer
    ChoiceAmount collectableApplied;
    ChoiceAmount priorCollectableApplied; // never filled
    ChoiceAmount otherApplied;
    ChoiceAmount transferredApplied;
    ChoiceAmount netGain;
    ChoiceSource source;
    ChoiceAmount indexFactor; // indexed ÷ discount × 100, the order of the passes

    bool Deferred() const { return deferAuto == ChoiceAnswer::Yes || defer == ChoiceAnswer::Yes; }
    bool NeedsChoice() const { return choiceRequired == ChoiceAnswer::Yes; }
    // No choice is required: an empty cell counts as "No".
    bool NoChoice() const { return choiceRequired != ChoiceAnswer::Yes; }
    bool MethodChosen() const { return method != Method::None; }
    // Every cell of the row is blank.
    bool Empty() const;
};

// The unapplied losses in whole dollars.
struct UnappliedLosses {
    long long priorCollectable = 0;
    long long priorOther = 0;
    long long currentCollectable = 0;
    long long currentOther = 0;
};

// The working totals of the table, whole dollars. The current-year losses count only rows that
// are not deferred: a deferred loss is not a loss of this year.
struct ChoiceState {
    long long currentCollectableLosses = 0, currentOtherLosses = 0;
    Extended currentYearLosses = 0; // the loss column's total over rows not deferred
    long long priorCollectableLosses = 0, priorOtherLosses = 0; // of earlier years
    long long transferredInLosses = 0;                          // capital losses transferred in
    // The applied-loss columns' totals, truncated.
    long long collectableApplied = 0, otherApplied = 0, transferredApplied = 0;
    long long RemainingCollectable() const {
        return currentCollectableLosses + priorCollectableLosses - collectableApplied;
    }
    long long RemainingOther() const {
        return currentOtherLosses + priorOtherLosses - otherApplied;
    }
    long long RemainingTransferred() const { return transferredInLosses - transferredApplied; }
    // Split of the applied losses by the last recalculation: current year first.
    long long currentCollectableApplied = 0, priorCollectableApplied = 0;
    long long currentOtherApplied = 0, priorOtherApplied = 0;
    UnappliedLosses unapplied;
    long long netCapitalGain = 0; // the net gain column's total, truncated
    bool hasSources = false;      // some source gives the table a row
};

// The table: its rows in source order, its totals, and the active-asset gains that the
// concession elections start from (nine strings a gain: description, the net gain in the column
// of its method, three empty elections, the source's number and index).
struct ChoiceTable {
    std::vector<ChoiceRow> rows;
    ChoiceState state;
    StringList concessionSources;
};

// A trust of the trust distribution table: its name, the nine components of the capital gain as
// the trustee reports them (indexed, discounted, other; of other assets, collectables and active
// assets, by the table's columns) and the losses the choice table applied to each.
inline constexpr int kTrustComponents = 9;
struct TrustDistribution {
    std::string name;
    std::array<std::string, kTrustComponents> components;
    std::array<std::string, kTrustComponents> collectableApplied, otherApplied, transferredApplied;
};

// What the table is built from.
struct ChoiceSources {
    std::vector<Event> events;     // of worksheets 451–462, in worksheet order, then row key
    std::vector<ChoiceRow> manual; // the manual calculation table's lines, as its cells read
    std::vector<TrustDistribution> trusts;
    Extended priorCollectableLosses = 0; // unapplied net capital losses of earlier years
    Extended priorOtherLosses = 0;
    Extended transferredInLosses = 0;
};

// The texts of a method and of a Yes/No answer, as the grid and the sources hold them ("" for
// none), and back (trimmed; any other text is none).
const char* MethodText(Method method);
Method MethodOfText(std::string_view text);
const char* AnswerText(ChoiceAnswer answer);
ChoiceAnswer AnswerOfText(std::string_view text);

// Asset type groups.
bool IsCollectableType(std::string_view type);
bool IsActiveType(std::string_view type);
bool IsNonActiveType(std::string_view type);

// An active asset's event with the 15-year exemption and no capital loss: its gain is
// disregarded, so it gives the table no row.
bool FifteenYearExempt(const Event& event);

// The table built from its sources one at a time, so that no copy of them all is needed: the
// events in worksheet order, then row key, the manual table's lines and the trusts in table
// order, then the losses.
class ChoiceTableBuilder {
public:
    void AddEvent(const Event& event);
    void AddManualLine(const ChoiceRow& line);
    void AddTrust(const TrustDistribution& trust);
    // The rows in source order (gains exempt under the 15-year exemption left out), the
    // earlier-year and transferred-in losses and the current-year losses.
    ChoiceTable Finish(Extended priorCollectableLosses, Extended priorOtherLosses,
                       Extended transferredInLosses);

private:
    ChoiceTable table_;
    int manualLines_ = 0;
    int trusts_ = 0;
};

// The table of the sources, as ChoiceTableBuilder builds it.
ChoiceTable BuildChoiceTable(const ChoiceSources& sources);
// The rows of an event added after the table's own, and the totals updated.
void AddEventToTable(ChoiceTable& table, const Event& event);

// The applied-loss totals, current-year losses, their split and the unapplied losses of the
// table as it stands.
void UpdateChoiceTotals(ChoiceTable& table);
ChoiceState CurrentTotals(const ChoiceTable& table);
// Every row's net gain, the concession sources, the totals and the net capital gain.
void RecalculateChoices(ChoiceTable& table);

// The automatic choices.
void AutoDefer(ChoiceTable& table);  // then recalculates
void AutoMethod(ChoiceTable& table); // no recalculation
void ApplyCollectableLosses(ChoiceTable& table);
void ApplyOtherLosses(ChoiceTable& table);

// The buttons, answered Yes. Each ends recalculated.
void MakeAllChoices(ChoiceTable& table);    // losses, deferment, methods
void MakeDeferChoices(ChoiceTable& table);  // deferment only
void MakeMethodChoices(ChoiceTable& table); // methods only
// The table built again from its sources (`rebuilt`) as when it is shown, and recalculated;
// with `clear` (the question answered Yes) every choice and applied loss is emptied first.
void ResetAllChoices(ChoiceTable& table, ChoiceTable rebuilt, bool clear);

inline constexpr std::string_view kMakeAllChoicesQuestion =
    "This step will now allow Tesmo to make all of the method and deferment choices and to "
    "apply any qualifying losses against gains present.\r\n\r\nDo you wish to continue?";
inline constexpr std::string_view kDeferChoicesQuestion =
    "This step will now allow Tesmo to make all of the deferment choices.\r\n\r\nDo you wish "
    "to continue?";
inline constexpr std::string_view kMethodChoicesQuestion =
    "This step will now allow Tesmo to make all of the method choices. This will effect any "
    "losses already applied.\r\n\r\nDo you wish to continue?";
inline constexpr std::string_view kResetChoicesQuestion =
    "This option you have chosen will clear all of your method choices, deferment choices and "
    "applied losses and allow you to start again.\r\n\r\nDo you wish to continue?";

// The checks of leaving forward: the first failing row's message with the indexed gain's cell of
// that row, or a totals message with row 1. Uses the totals of the last recalculation.
std::optional<Refusal> ValidateChoiceTable(const ChoiceTable& table);

// What storing the choices gives each source: an event its method, deferment and losses-applied
// list (worked out from its rows when it is stored, one event at a time); a manual line and a
// trust their cells.
struct EventRows {
    int worksheet = 0;
    int key = 0;
    std::vector<int> rows; // the event's rows of the table
};
struct EventChoiceUpdate {
    std::optional<std::string> method, deferment; // from its receipts or disposal row
    StringList lossesApplied;
};
EventChoiceUpdate EventChoices(const ChoiceTable& table, const EventRows& event);
struct TableChoiceUpdate {
    int record = 0;    // from 0
    int component = 0; // a trust's column of the component, 1..9; 0 for a manual line
    ChoiceRow row;
};
struct ChoiceUpdates {
    std::vector<EventRows> events;         // by worksheet, then key
    std::vector<TableChoiceUpdate> manual; // in table order
    std::vector<TableChoiceUpdate> trusts; // a trust's component rows, in table order
};
ChoiceUpdates ChoicesToStore(const ChoiceTable& table);

// What the table was built from, as a short text: the cells of every row that has a source (its
// section, description, type, gains, loss, deferral and source; not the choices made on it), in
// any order, and the earlier-year and transferred-in losses. Equal texts: the same sources.
std::string ChoiceSourcesDigest(const ChoiceTable& table);

// "$1,234": the net capital gain as the line under the table shows it (screen tag 123).
std::string NetCapitalGainText(const ChoiceState& state);
// "$1,234", "-$56": whole dollars as the table's lines show them.
std::string DollarsText(long long value);
inline constexpr int kNetCapitalGainScreenTag = 123;

} // namespace cgt
