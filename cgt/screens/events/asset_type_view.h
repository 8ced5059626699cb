#pragma once
// The two disabled radio groups that show an event's asset type on the summary screens:
// "Active" / "Non-active", and "Shares/units", "Real estate", "Other" or "Collectable". A code
// outside a group leaves it unselected; the groups' values are not stored.

#include <string_view>

class QRadioButton;
class QWidget;

namespace cgt {

// Checks the radio button or none.
void SetRadio(QRadioButton* radio, bool on);

// Shows `typeCode` in the radio buttons ActiveRadio, NonActiveRadio, SharesRadio,
// RealEstateRadio, OtherRadio and CollectableRadio of `form`.
void ShowAssetTypeRadios(QWidget* form, std::string_view typeCode);

} // namespace cgt
