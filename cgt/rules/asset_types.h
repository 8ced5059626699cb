#pragma once
// The asset type codes of an event: which are active assets, and how the gain
// worksheet groups them in its two type boxes.

#include <string_view>

namespace cgt {

// UA, SA, RA, G and OA: the types that may qualify for the small business concessions.
bool IsActiveAssetType(std::string_view code);

enum class AssetActivity { None, Active, NonActive };
enum class AssetKind { None, SharesOrUnits, RealEstate, Other, Collectable };

// The code is compared after trimming; an unknown code belongs to no group.
AssetActivity ActivityOf(std::string_view code);
AssetKind KindOf(std::string_view code);

} // namespace cgt
