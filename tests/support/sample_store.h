#pragma once
// A store holding every type of value, a list field and a worksheet with every item type.

#include "store/field_store.h"
#include "store/run_state.h"

namespace cgt::test {

inline constexpr const char* kSampleIdentifier = "123 456 782";

inline WorksheetItem MakeItem(std::uint16_t row, int tag, TFieldDataType type) {
    WorksheetItem item;
    item.row = row;
    item.tag = tag;
    item.entry.type = type;
    return item;
}

inline void FillSampleStore() {
    Run().HostIdentifier = kSampleIdentifier;
    SetFieldStr(1, kSampleIdentifier);
    SetFieldType(2, dtNumeric);
    SetFieldVal(2, 0);
    SetFieldVal(3, 1234.56L);
    SetFieldType(4, dtCurrencyCnt);
    SetFieldVal(4, -98.76L);
    SetFieldStr(5, "short");
    SetFieldStr(6, "A description longer than nine characters");
    SetFieldChecked(9);
    SetFieldLst(7, std::make_shared<StringList>(StringList{"first line", "", "third"}));

    auto sheet = std::make_shared<Worksheet>();
    for (std::uint16_t row : {1, 2}) {
        auto name = MakeItem(row, 710, dtString);
        name.entry.text =
            std::make_shared<const std::string>("Worksheet No." + std::to_string(row));
        auto code = MakeItem(row, 714, dtSmallStr);
        code.entry.setSmallText(row == 1 ? "SA" : "RN");
        auto cost = MakeItem(row, 720, dtCurrency);
        cost.entry.setNumber(1000.0L * row);
        auto cents = MakeItem(row, 721, dtCurrencyCnt);
        cents.entry.setNumber(12.34L);
        auto count = MakeItem(row, 1100, dtNumeric);
        count.entry.setNumber(row);
        auto box = MakeItem(row, 1101, dtCheckbox);
        box.entry.value[0] = 1;
        auto notes = MakeItem(row, 1102, dtList);
        notes.entry.list = std::make_shared<StringList>(StringList{"note " + std::to_string(row)});
        for (auto* item : {&name, &code, &cost, &cents, &count, &box, &notes})
            sheet->append(*item);
    }
    FieldEntry& ws = Store().entry(kWorksheetTagBase + 451);
    ws.type = dtWorksheet;
    ws.sheet = sheet;

    Run().CurrentSection = 20;
    Run().CurrentIndex = 50;
    Run().ScreenHistory = {2004, 2010, 2033};
}

} // namespace cgt::test
