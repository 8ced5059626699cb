#pragma once
// Readable forms of the run's store: JSON and one line per field.

#include <string>

namespace cgt {

// {"signature", "section", "index", "history", "fields": [{"tag", "type", "value"}, …]}.
// Every field whose type is not dtNone, in tag order; numbers with up to 18 significant
// digits, texts read as Latin-1, worksheets as their items in list order.
std::string DumpStoreJson();

// One line per field: tag, type name and display value; worksheet items indented below.
std::string DumpStoreText();

// One line of counts: fields by type, worksheet rows and items.
std::string StoreStatistics();

} // namespace cgt
