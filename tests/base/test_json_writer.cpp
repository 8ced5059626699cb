#include "base/json_writer.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace cgt {
namespace {

using Pointer = Json::json_pointer;

// The members of a broken container one to a line, two blanks deeper than the line that opened
// it; every other container on one line; an empty broken container as "[]".
TEST(JsonWriter, BreaksOnlyTheContainersOfTheLayout) {
    Json document;
    document["rows"] = Json::array({Json{{"a", 1}, {"b", Json::array({true, nullptr})}}, 2});
    document["inline"] = Json{{"x", Json::array({3, 4})}, {"y", Json::object()}};
    document["none"] = Json::array();
    document["last"] = "end";
    EXPECT_EQ(
        JsonText(document, {.brokenContainers = {Pointer(), Pointer("/rows"), Pointer("/none")}}),
        "{\n"
        "  \"rows\": [\n"
        "    {\"a\": 1, \"b\": [true, null]},\n"
        "    2\n"
        "  ],\n"
        "  \"inline\": {\"x\": [3, 4], \"y\": {}},\n"
        "  \"none\": [],\n"
        "  \"last\": \"end\"\n"
        "}\n");
    EXPECT_EQ(JsonText(document, {.brokenContainers = {Pointer("/rows/0")}}),
              "{\"rows\": [{\n"
              "  \"a\": 1,\n"
              "  \"b\": [true, null]\n"
              "}, 2], \"inline\": {\"x\": [3, 4], \"y\": {}}, \"none\": [], \"last\": \"end\"}\n");
}

// A number keeps the text it was given: the digits of an extended value beyond a double's and
// its decimals. Texts of the store are Latin-1, written as UTF-8 and escaped by the library.
TEST(JsonWriter, WritesNumberTextsAsGivenAndStoreTextsAsUtf8) {
    const Json values = Json::array({JsonNumber("0.333333333333333333"), JsonNumber("600.00"),
                                     JsonNumber("1E20"), 7, JsonLatin1("Caf\xe9 \"a\\b\"\n\x01")});
    EXPECT_EQ(
        JsonText(values, {}),
        "[0.333333333333333333, 600.00, 1E20, 7, \"Caf\xc3\xa9 \\\"a\\\\b\\\"\\n\\u0001\"]\n");
}

TEST(JsonWriter, RefusesBinaryDataThatIsNoNumber) {
    const Json document{{"bytes", Json::binary({1, 2, 3})}};
    EXPECT_THROW(JsonText(document, {}), std::logic_error);
}

} // namespace
} // namespace cgt
