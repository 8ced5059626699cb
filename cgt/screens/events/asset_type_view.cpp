#include "cgt/screens/events/asset_type_view.h"

#include <QRadioButton>

#include "cgt/rules/asset_types.h"

namespace cgt {

void SetRadio(QRadioButton* radio, bool on) {
    if (!radio) return;
    // An exclusive button is only unchecked with its exclusivity off.
    const bool exclusive = radio->autoExclusive();
    radio->setAutoExclusive(false);
    radio->setChecked(on);
    radio->setAutoExclusive(exclusive);
}

void ShowAssetTypeRadios(QWidget* form, std::string_view typeCode) {
    const auto radio = [form](const char* name) {
        return form->findChild<QRadioButton*>(QLatin1String(name));
    };
    const AssetActivity activity = ActivityOf(typeCode);
    SetRadio(radio("ActiveRadio"), activity == AssetActivity::Active);
    SetRadio(radio("NonActiveRadio"), activity == AssetActivity::NonActive);
    const AssetKind kind = KindOf(typeCode);
    SetRadio(radio("SharesRadio"), kind == AssetKind::SharesOrUnits);
    SetRadio(radio("RealEstateRadio"), kind == AssetKind::RealEstate);
    SetRadio(radio("OtherRadio"), kind == AssetKind::Other);
    SetRadio(radio("CollectableRadio"), kind == AssetKind::Collectable);
}

} // namespace cgt
