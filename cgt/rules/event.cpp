#include "cgt/rules/event.h"

namespace cgt {

MethodResult MethodResult::FromStored(Extended stored) {
    if (stored == 0) return NotAvailable();
    if (IsExplicitZero(stored)) return Nil();
    return Of(stored);
}

Extended MethodResult::Stored() const {
    switch (kind_) {
    case Kind::NotAvailable:
        return 0;
    case Kind::Nil:
        return ExplicitZero;
    case Kind::Amount:
        return amount_;
    }
    return 0;
}

std::string AssetNameText(std::string_view name) {
    return std::string(TrimBlanks(name).empty() ? std::string_view(kNoAssetSelected) : name);
}

} // namespace cgt
