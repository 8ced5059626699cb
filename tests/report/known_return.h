#pragma once
// A known return for the printouts: the taxpayer, one share event open in the scratch tags with
// its asset register, worksheet and adjustment grids and its results, a real estate event, the
// choice table and the schedule row. Each grid can be given many rows to make tables break.

#include <string>
#include <vector>

#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

namespace cgt::test {

inline constexpr const char* kKnownIdentifier = "123 456 782";
inline constexpr const char* kKnownTaxpayer = "Jane Citizen";
inline constexpr const char* kKnownAsset = "Wattle Mining ordinary shares";

inline StringListRef MakeList(std::vector<std::string> cells) {
    return std::make_shared<StringList>(std::move(cells));
}

// Rows of `columns` cells from a template row; "#" in a cell is replaced by the row number.
inline StringListRef RepeatedRows(const std::vector<std::string>& row, int rows) {
    StringList cells;
    for (int r = 1; r <= rows; ++r)
        for (std::string cell : row) {
            if (auto at = cell.find('#'); at != std::string::npos)
                cell.replace(at, 1, std::to_string(r));
            cells.push_back(cell);
        }
    return std::make_shared<StringList>(std::move(cells));
}

inline void SetCents(int tag, Extended value) {
    SetFieldType(tag, dtCurrencyCnt);
    SetFieldVal(tag, value);
}

// The share event in the scratch tags; `elements` cost element rows after the cost base rows.
inline void FillShareEvent(int elements = 1) {
    using namespace tag::event;
    SetFieldStr(kName, kKnownAsset);
    SetFieldStr(kAssetType, "SN");
    SetFieldStr(kAcquisitionDate, "15/03/1998");
    SetFieldStr(kBaseDate, "15/03/1998");
    SetFieldStr(kEventDate, "20/08/2003");
    SetFieldVal(kCapitalProceeds, 12000);

    StringList reg = {"",
                      "15/03/1998",
                      "",
                      "Cost base - indexed",
                      "1A",
                      "",
                      "5000.00",
                      "",
                      "",
                      "",
                      "",
                      "",
                      "15/03/1998",
                      "",
                      "Cost base - discount/non-indexed",
                      "1B",
                      "",
                      "5000.00",
                      "",
                      "",
                      "",
                      "",
                      "",
                      "15/03/1998",
                      "",
                      "Reduced cost base",
                      "1C",
                      "",
                      "5000.00",
                      "",
                      "",
                      "",
                      ""};
    StringList sheet = {"15/03/1998", "Cost base - indexed",
                        "5000.00",    "",
                        "",           "5000.00",
                        "67.40",      "141.30",
                        "2.096",      "10480",
                        "",           "",
                        "15/03/1998", "Cost base - discount/non-indexed",
                        "5000.00",    "",
                        "5000.00",    "",
                        "",           "",
                        "",           "",
                        "",           "",
                        "15/03/1998", "Reduced cost base",
                        "5000.00",    "",
                        "",           "",
                        "",           "",
                        "",           "",
                        "",           "5000.00"};
    for (int e = 1; e <= elements; ++e) {
        const std::string n = std::to_string(e);
        reg.insert(reg.end(), {"", "20/03/1998", "22/03/1998", "Brokerage " + n, "2A", "", "50.00",
                               "", "", "", "kept with the contract note"});
        sheet.insert(sheet.end(), {"20/03/1998", "Brokerage " + n, "50.00", "", "50.00", "",
                                   "67.40", "141.30", "2.096", "105", "", "50.00"});
    }
    reg.insert(reg.end(), {"20/08/2003", "20/08/2003", "", "Capital proceeds", "O", "O", "12000.00",
                           "", "", "Y", ""});
    SetFieldLst(kAssetRegisterGrid, MakeList(reg));
    SetFieldLst(kWorksheetGrid, MakeList(sheet));
    SetFieldLst(kAdjustmentGrid, MakeList({"15/03/1998",
                                           "15/03/1998",
                                           "",
                                           "",
                                           "Cost base - indexed",
                                           "1A",
                                           "",
                                           "5000.00",
                                           "",
                                           "5000.00",
                                           "67.40",
                                           "141.30",
                                           "2.096",
                                           "10480",
                                           "",
                                           "5000.00",
                                           "",
                                           "",
                                           "",
                                           "",
                                           "",
                                           "",
                                           "*",
                                           "01/07/2001",
                                           "",
                                           "01/07/2001",
                                           "01/07/2001",
                                           "Capital receipt",
                                           "B",
                                           "G1",
                                           "",
                                           "",
                                           "",
                                           "",
                                           "",
                                           "",
                                           "",
                                           "",
                                           "",
                                           "800.00",
                                           "800.00",
                                           "800.00",
                                           "4200.00",
                                           "9680.00",
                                           "4200.00",
                                           "*"}));

    SetCents(kNetAmountTotal, 5050);
    SetCents(kCostBaseTotal, 10585);
    SetCents(kReducedAmountTotal, 5050);
    for (int t : {kCostBaseNonIndexed, kAdjustedCostBaseNonIndexed, kReducedCostBase,
                  kAdjustedReducedCostBase})
        SetCents(t, 5050);
    SetCents(kCostBaseIndexed, 10585);
    SetCents(kAdjustedCostBaseIndexed, 10585);
    for (int t : {kNonAssessableNonIndexed, kNonAssessableIndexed, kNonAssessableReduced})
        SetCents(t, ExplicitZero);
    SetFieldStr(kEventDateCell, "20/08/2003");
    SetCents(kEventIndexNumber, 141.30L);
    SetCents(kProceedsCell, 12000);
    SetFieldVal(kIndexedProceeds, 12000);
    SetFieldVal(kIndexedCostBase, 10585);
    SetFieldVal(kIndexedGain, 1415);
    SetFieldVal(kDiscountProceeds, 12000);
    SetFieldVal(kDiscountCostBase, 5050);
    SetFieldVal(kDiscountGain, 6950);
    SetFieldVal(kOtherProceeds, 0);
    SetFieldVal(kLossProceeds, 0);
    SetFieldVal(kCapitalLoss, -150);
    SetFieldStr(kFirstMessage, "");
    SetFieldStr(kSecondMessage, "Later in the interview you will be required to choose between "
                                "the indexed and discount gain.");
    SetFieldStr(kAdjustedCostBaseDate, "01/07/2001");
    SetFieldVal(kAdjustedNonIndexed, 4200);
    SetFieldVal(kAdjustedIndexed, 9680);
    SetFieldVal(kAdjustedReduced, 4200);
    SetFieldVal(kPaymentIndexedGainThisYear, 0);
    SetFieldVal(kPaymentDiscountGainThisYear, 375);
    SetFieldVal(kPaymentDiscountGainPriorYears, 120);
}

// Taxpayer, the share event open in the scratch tags (and stored as row 1 of the shares
// worksheet), a real estate event, the choice table and the schedule row.
inline void FillKnownReturn(int elements = 1) {
    ResetModuleRun();
    Run().HostIdentifier = kKnownIdentifier;
    SetFieldStr(tag::kIdentifier, kKnownIdentifier);
    SetFieldStr(tag::kHostTaxpayerName, kKnownTaxpayer);
    SetFieldStr(tag::kHostTaxpayerOtherName, "Mary");

    ZeroFillScratchTags();
    SetFieldStr(tag::event::kName, "Seaside cottage");
    SetFieldStr(tag::event::kAssetType, "RN");
    SetFieldStr(tag::event::kEventDate, "02/02/2004");
    SetFieldVal(tag::event::kCapitalProceeds, 250000);
    SetFieldVal(tag::event::kDiscountGain, 40000);
    PutRow(wkRealEstate, 1);

    ZeroFillScratchTags();
    using namespace tag::schedule;
    SetFieldStr(kName, "Capital gains tax (CGT) schedule 2001");
    SetFieldVal(kNonActiveSharesIndex, 1415);
    SetFieldVal(kNonActiveRealEstateDiscount, 40000);
    SetFieldVal(kTotalGainsIndex, 1415);
    SetFieldVal(kTotalGainsDiscount, 40000);
    SetFieldVal(kLossesOther, 150);
    SetFieldVal(kLossesTotal, 150);
    SetFieldVal(kAfterLossesIndex, 1415);
    SetFieldVal(kDiscountNonActive, 20000);
    SetFieldVal(kNetGainIndex, 1415);
    SetFieldVal(kNetGainDiscount, 20000);
    SetFieldVal(kNetGainTotal, 21415);
    SetFieldStr(kFifteenYearAssetCode, "K");
    SetFieldChecked(kScripRollOverChosen);
    PutRow(wkSchedule, 1);

    SetFieldLst(tag::kChoiceTable,
                RepeatedRows({"Shares", kKnownAsset, "SN",      "1415", "6950", "Yes", "Indexed",
                              "",       "",          "No",      "",     "",     "",    "",
                              "",       "",          "1415.00", "451",  "1",    "C",   ""},
                             1));
    SetFieldVal(tag::kNetCapitalGain, 21415);

    // The share event stored as row 1, and open in the scratch tags as on its gain screen
    // (a stored row keeps no list whose first line is empty).
    ZeroFillScratchTags();
    FillShareEvent(elements);
    PutRow(wkShares, 1);
    FillShareEvent(elements);
}

} // namespace cgt::test
