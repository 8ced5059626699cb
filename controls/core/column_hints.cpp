#include "controls/core/column_hints.h"

#include <map>

namespace cgt {

namespace {

std::map<int, std::string>& Table() {
    static std::map<int, std::string> table;
    return table;
}

} // namespace

void SetColumnHint(int number, std::string_view text) {
    if (number != 0) Table()[number] = std::string(text);
}

std::string ColumnHintText(int number) {
    const auto it = Table().find(number);
    return it == Table().end() ? std::string() : it->second;
}

void ClearColumnHints() {
    Table().clear();
}

} // namespace cgt
