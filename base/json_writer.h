#pragma once
// The JSON the programs print (the store's dump, `cgt compute`): a document built as nlohmann's
// ordered JSON, its members in the order they were set, and written by one layout printer. Every
// container stands on one line ({"a": 1, "b": [2, 3]}) except those the layout breaks, whose
// members stand one to a line, two blanks deeper than the line that opened them.

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace cgt {

using Json = nlohmann::ordered_json;

// A number written as the given text, which must be a JSON number: the texts of the module's
// number formats (FormatFixed, FormatGeneral) keep the precision of an extended value, which a
// double would lose, and their own number of decimals.
Json JsonNumber(std::string_view text);

// A text of the store (8-bit, read as Latin-1) as a JSON string.
Json JsonLatin1(std::string_view latin1);

struct JsonLayout {
    // The containers whose members stand one to a line; the empty pointer is the document.
    std::vector<Json::json_pointer> brokenContainers;
};

// The document as text, ending with a newline. Strings are escaped as the library escapes them.
std::string JsonText(const Json& document, const JsonLayout& layout);

} // namespace cgt
