#include "cgt/rules/asset_types.h"

#include <array>

#include "base/text.h"

namespace cgt {

namespace {

struct TypeGroups {
    std::string_view code;
    AssetActivity activity;
    AssetKind kind;
};

constexpr std::array kTypes{
    TypeGroups{"UA", AssetActivity::Active, AssetKind::SharesOrUnits},
    TypeGroups{"UN", AssetActivity::NonActive, AssetKind::SharesOrUnits},
    TypeGroups{"SA", AssetActivity::Active, AssetKind::SharesOrUnits},
    TypeGroups{"SN", AssetActivity::NonActive, AssetKind::SharesOrUnits},
    TypeGroups{"RA", AssetActivity::Active, AssetKind::RealEstate},
    TypeGroups{"RN", AssetActivity::NonActive, AssetKind::RealEstate},
    TypeGroups{"G", AssetActivity::Active, AssetKind::Other},
    TypeGroups{"P", AssetActivity::NonActive, AssetKind::Other},
    TypeGroups{"OA", AssetActivity::Active, AssetKind::Other},
    TypeGroups{"ON", AssetActivity::NonActive, AssetKind::Other},
    TypeGroups{"A", AssetActivity::NonActive, AssetKind::Collectable},
};

const TypeGroups* Find(std::string_view code) {
    code = TrimBlanks(code);
    for (const TypeGroups& t : kTypes)
        if (t.code == code) return &t;
    return nullptr;
}

} // namespace

bool IsActiveAssetType(std::string_view code) {
    return ActivityOf(code) == AssetActivity::Active;
}

AssetActivity ActivityOf(std::string_view code) {
    const TypeGroups* t = Find(code);
    return t ? t->activity : AssetActivity::None;
}

AssetKind KindOf(std::string_view code) {
    const TypeGroups* t = Find(code);
    return t ? t->kind : AssetKind::None;
}

} // namespace cgt
