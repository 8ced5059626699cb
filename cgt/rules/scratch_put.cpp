#include "cgt/rules/scratch_put.h"

#include <memory>

#include "store/field_store.h"

namespace cgt {

void PutCents(int tag, Extended value) {
    if (GetFieldType(tag) != dtCurrencyCnt) SetFieldType(tag, dtCurrencyCnt);
    SetFieldVal(tag, value);
}
void PutCents(const int (&tags)[3], const CostBases& b) {
    PutCents(tags[0], b.nonIndexed);
    PutCents(tags[1], b.indexed);
    PutCents(tags[2], b.reduced);
}
void PutAmount(int tag, Extended value) {
    if (!IsNumberType(GetFieldType(tag))) SetFieldType(tag, dtNone);
    SetFieldVal(tag, value);
}
void PutText(int tag, std::string_view text) {
    if (!IsTextType(GetFieldType(tag))) {
        ClearField(tag);
        SetFieldType(tag, dtNone);
    }
    SetFieldStr(tag, text);
}
void PutRows(int tag, const CellTable& table) {
    if (GetFieldType(tag) != dtList) SetFieldType(tag, dtNone);
    // A new list: the row's stored items still share the old one.
    auto rows = std::make_shared<StringList>();
    table.SaveRows(*rows);
    SetFieldLst(tag, std::move(rows));
}
void PutCheck(int tag, bool on) {
    if (GetFieldType(tag) != dtCheckbox) SetFieldType(tag, dtNone);
    if (on)
        SetFieldChecked(tag);
    else
        SetFieldUnchecked(tag);
}

} // namespace cgt
