// Editing many rows of a worksheet at once gives the list that opening, changing and storing
// each row through the scratch tags gives, whether a row keeps its tags, gains or loses one, is
// emptied or is new.

#include <gtest/gtest.h>

// Events are written with designated initialisers; the fields left out keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "cgt/records/event_records.h"
#include "cgt/rules/choice_cells.h"
#include "choice_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;
using Items = std::vector<std::tuple<int, int, std::string>>;

class EditRowsTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        for (int key = 1; key <= 5; ++key)
            StoreResult({.key = key, .name = "E" + std::to_string(key), .indexed = 100.0L * key});
    }
    static Items ItemsOf(int worksheet) {
        Items out;
        if (const Worksheet* sheet = WorksheetOf(worksheet))
            for (const auto& item : sheet->items())
                out.emplace_back(item.row, item.tag, EntryDisplayText(item.entry));
        return out;
    }
};

using Edit = std::function<void()>;
using Edits = std::map<int, Edit>;

// The reference: each row opened, changed and stored in list order, new keys ascending.
void EditOneByOne(const Edits& edits) {
    for (const auto& [key, edit] : edits) {
        FetchRow(wkShares, key);
        edit();
        PutRow(wkShares, key);
    }
}

// Each row of `edits` edited at once; the keys visited.
std::vector<int> EditAtOnce(const Edits& edits) {
    std::vector<int> keys;
    for (const auto& entry : edits)
        keys.push_back(entry.first);
    std::vector<int> visited;
    EditWorksheetRows(wkShares, keys, [&](int key) {
        visited.push_back(key);
        EXPECT_EQ(GetFieldStr(kName), key <= 5 ? "E" + std::to_string(key) : "")
            << "row " << key << " is open in the scratch tags";
        edits.at(key)();
    });
    return visited;
}

TEST_F(EditRowsTest, EditingAtOnceGivesWhatStoringEachRowGives) {
    const Edits mixed{
        {4, [] { SetFieldVal(kIndexedGain, 999); }},        // same tags
        {2, [] { SetFieldStr(kMethodChoice, "Indexed"); }}, // a tag more
        {5, [] { SetFieldUnchecked(kDisposalResult); }},    // a tag less
        {3, [] { ZeroFillScratchTags(); }},                 // emptied: removed
        {8, [] { SetFieldStr(kName, "New"); }},             // a new row, last
        {7, [] { SetFieldStr(kName, "Newer"); }},           // before the higher key
        {1, [] { SetFieldStr(kName, "E1"); }},              // unchanged
    };
    // Rows that only grow or keep their number of items, as when choices are first stored.
    const Edits growing{
        {2, [] { SetFieldStr(kMethodChoice, "Indexed"); }},
        {3,
         [] {
             SetFieldUnchecked(kDisposalResult); // one tag for another
             SetFieldStr(kDefermentChoice, "No");
         }},
        {5,
         [] {
             SetFieldStr(kMethodChoice, "Discount");
             SetFieldStr(kDefermentChoice, "Yes");
             SetFieldVal(kIndexedGain, 1);
         }},
    };
    for (const Edits* edits : {&mixed, &growing}) {
        ClearStore();
        SetUp();
        const Items before = ItemsOf(wkShares);
        EditOneByOne(*edits);
        const Items expected = ItemsOf(wkShares);
        ASSERT_NE(expected, before);

        ClearStore();
        SetUp();
        ASSERT_EQ(ItemsOf(wkShares), before);
        const std::vector<int> visited = EditAtOnce(*edits);
        EXPECT_EQ(ItemsOf(wkShares), expected);
        std::vector<int> keys;
        for (const auto& entry : *edits)
            keys.push_back(entry.first);
        EXPECT_EQ(visited, keys) << "list order, then new keys ascending";
        EXPECT_TRUE(FieldIsEmpty(kName)) << "the scratch tags are left empty";
        // The row index follows the list: each row reads back as stored.
        for (const auto& [key, edit] : *edits) {
            FetchRow(wkShares, key);
            const Items row = [&] {
                Items out;
                for (const auto& item : ItemsOf(wkShares))
                    if (std::get<0>(item) == key) out.push_back(item);
                return out;
            }();
            for (const auto& [rowKey, tag, text] : row)
                EXPECT_EQ(GetFieldText(tag), text) << "row " << key << " tag " << tag;
        }
    }
}

} // namespace
} // namespace cgt::test
