#pragma once
// Events between the store and the rules: an event read from the open row's scratch tags or from
// a stored row of its worksheet, the tag of each field a refusal can name, and the writers that
// put what the rules worked out into the open row. The one place, with the other units of
// cgt/records, that knows which tag holds which part of an event.

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "cgt/rules/event.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/receipts.h"
#include "store/field_store.h"

namespace cgt {

class CellTable;
struct AdjustmentWorksheet;
struct GainWorksheet;
struct RegistrationKind;

// How much of an event is read: all of it, or all but its cost elements and payments, which
// only the event's own screens and worksheets read (the choice table and the concession grids
// work on its results).
enum class EventParts { All, Results };

// The event open in the scratch tags, as its screens and the calculations leave it; `worksheet`
// and `row` name it.
Event ReadOpenEvent(int worksheet = 0, int row = 0);
// A stored row of a worksheet, read from its items without opening it.
Event ReadStoredEvent(const Worksheet& sheet, int worksheet, std::uint16_t row,
                      EventParts parts = EventParts::All);
// Every stored event of worksheets first..last, in worksheet order, then row key.
std::vector<Event> ReadStoredEvents(int first, int last, EventParts parts = EventParts::All);

// The tag of an event's field; 0 for EventField::None.
int TagOf(EventField field);

// ---- Writing into the open row -------------------------------------------------------------

// The results of the gain calculation worksheet.
void StoreGainWorksheet(const GainWorksheet& ws);
// The results of the payments' worksheet. Without a published pass the results of earlier
// payments are cleared: the cost base is no longer adjusted.
void StoreAdjustmentWorksheet(const AdjustmentWorksheet& ws);
// Clears them: with its payments gone the cost base is no longer adjusted.
void ClearAdjustmentWorksheet();

// A registration described without a type takes its kind's default.
void ApplyDefaultType(const RegistrationKind* kind);
// The deceased-estate answer is a number, 1 Yes or 2 No: a value of another type is cleared (a
// number of another subtype keeps its value), an empty answer becomes No.
void NormaliseDeceasedEstate();
void StoreDeceasedEstateAnswer(bool yes);
// The time question's answer no longer applies (the event date moved): both boxes unchecked.
void ClearEventTime();
// A right's or receipt's gain and loss from its proceeds and costs.
void StoreReceiptGainOrLoss();
// The disposal result flag when a right or receipt is done (the proceeds are present); a
// receipt also takes its asset type from it: the non-active other asset "ON" with a result,
// none without. Returns the flag.
bool StoreDisposalResult(ReceiptKind kind);

// ---- Scratch tags of any type --------------------------------------------------------------

// Storing calculated values in the open row whatever type the tag held before (stored data may
// hold another).
void PutCents(int tag, Extended value); // an amount with cents
void PutCents(const int (&tags)[3], const CostBases& b);
void PutAmount(int tag, Extended value);
void PutText(int tag, std::string_view text);
void PutRows(int tag, const CellTable& table); // the table's rows as a new list
void PutCheck(int tag, bool on);
// What a user enters on an event's screens — registration, the deceased-estate answer, cost
// elements, the event and its proceeds, the roll-over answer — and an imported event's source, written into the open row as
// those screens write them; the results are left to the worksheets.
void PutEnteredEvent(const Event& event);

// ---- Rows of a worksheet -------------------------------------------------------------------

// Each of the rows `keys` of the worksheet opened in the scratch tags, changed by `edit` and
// stored back in its place; a key without a row is added after the others. A row that keeps its
// tags is written in place, and the list is rebuilt at most once, so the work grows with the
// list, not with the list times the rows.
void EditWorksheetRows(int worksheet, std::span<const int> keys,
                       const std::function<void(int key)>& edit);

} // namespace cgt
