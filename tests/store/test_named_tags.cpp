// Named tags: one name per tag of a group, every event tag a scratch tag, and no raw tag number
// where a tag is meant — in the forms' fieldTag properties or in calls of the store from the
// module's sources.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "store/field_store.h"
#include "store/tags.h"

namespace cgt::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(NamedTags, EachNameOnceAndEveryEventTagAScratchTag) {
    std::set<std::pair<std::string_view, std::string_view>> names;
    for (const NamedTag& t : NamedTags()) {
        SCOPED_TRACE(std::string(t.group) + "." + std::string(t.name));
        EXPECT_TRUE(names.insert({t.group, t.name}).second);
        EXPECT_TRUE(ValidTag(t.number));
        if (t.group == "event") EXPECT_TRUE(IsScratchTag(t.number));
    }
    EXPECT_EQ(WorksheetTag(wkShares), 1202);
    EXPECT_EQ(WorksheetTag(wkSchedule), 1220);
    EXPECT_TRUE(IsNamedTag(tag::event::kName));
    EXPECT_FALSE(IsNamedTag(2312));
}

TEST(NamedTags, EveryFieldTagOfTheFormsIsNamed) {
    const std::regex fieldTag(R"re(<property name="fieldTag"[^>]*>\s*<number>(-?\d+)</number>)re");
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(CGT_SOURCE_DIR) / "forms")) {
        if (entry.path().extension() != ".ui") continue;
        const std::string form = ReadFile(entry.path());
        for (std::sregex_iterator it(form.begin(), form.end(), fieldTag), end; it != end; ++it) {
            ++seen;
            const int number = std::stoi((*it)[1]);
            EXPECT_TRUE(IsNamedTag(number))
                << entry.path().filename() << ": fieldTag " << number << " has no name";
        }
    }
    EXPECT_GT(seen, 0) << "no form binds a field";
}

// The sources of the module name their tags: a store call or a fieldTag property given a number
// is a tag that the named tags miss.
TEST(NamedTags, NoSourceHandsTheStoreARawTagNumber) {
    const std::regex rawTag(
        R"re(\b(SetFieldVal|GetFieldVal|GetFieldInt|SetFieldStr|GetFieldStr|SetFieldChecked|)re"
        R"re(SetFieldUnchecked|FieldChecked|SetFieldLst|GetFieldLst|GetFieldText|FieldIsEmpty|)re"
        R"re(FieldHasData|ClearField|GetFieldType|SetFieldType)\(\s*\d+|"fieldTag",\s*\d+)re");
    int files = 0;
    for (const char* folder :
         {"store", "controls", "dialogs", "interview", "cgt", "module", "tools"}) {
        for (const auto& entry :
             fs::recursive_directory_iterator(fs::path(CGT_SOURCE_DIR) / folder)) {
            const auto ext = entry.path().extension();
            if (ext != ".cpp" && ext != ".h") continue;
            ++files;
            const std::string source = ReadFile(entry.path());
            std::smatch match;
            EXPECT_FALSE(std::regex_search(source, match, rawTag))
                << entry.path() << ": " << match.str();
        }
    }
    EXPECT_GT(files, 50);
}

} // namespace
} // namespace cgt::test
