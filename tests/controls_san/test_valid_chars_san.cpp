// Malformed ValidChars lists under AddressSanitizer and UndefinedBehaviorSanitizer: lone commas,
// truncated ranges, over-long lists and arbitrary bytes never read outside the text.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <random>
#include <string>
#include <vector>

#include "controls/core/tax_text.h"
#include "controls/tax_edit.h"
#include "support/scripted_dialogs.h"

namespace {

// Each list is parsed from a buffer of exactly its own length, so a read past its end faults.
cgt::ValidCharsParse ParseExact(const std::string& list) {
    std::vector<char> buffer(list.begin(), list.end());
    return cgt::ParseValidChars(std::string_view(buffer.data(), buffer.size()));
}

const std::vector<std::string>& MalformedLists() {
    static const std::vector<std::string> lists = [] {
        std::vector<std::string> l = {
            ",",
            ",,",
            ",,,",
            ",,,,",
            ",.",
            ",..",
            ",...",
            ",..,",
            "..",
            ".",
            "a..",
            "a.",
            "a,,",
            "a,,b",
            ",a",
            "0..9,",
            "0..9,,",
            ",0..9",
            "a,b,",
            "abc",
            "a,.",
            "9..0",
            "\xff..\xff",
            std::string("a\0b", 3),
            std::string("\0..\xff", 5),
        };
        // Over-long lists whose hundredth character cuts a range or a comma item.
        for (const char* tail : {"a..z", ",..z", ",,", "ab"}) {
            for (int fill = 94; fill <= 100; ++fill) {
                std::string list;
                while (static_cast<int>(list.size()) < fill)
                    list += "x,";
                list.resize(static_cast<std::size_t>(fill));
                l.push_back(list + tail + std::string(50, ','));
            }
        }
        return l;
    }();
    return lists;
}

TEST(ValidCharsSanitizerTest, MalformedListsStayInBounds) {
    for (const std::string& list : MalformedLists()) {
        const cgt::ValidCharsParse parse = ParseExact(list);
        EXPECT_LE(parse.text.size(), cgt::kMaxValidCharsLength);
        EXPECT_EQ(parse.text, list.substr(0, cgt::kMaxValidCharsLength));
        if (!parse.ok) {
            EXPECT_TRUE(parse.set.none()) << list;
        }
    }
}

TEST(ValidCharsSanitizerTest, RandomListsStayInBounds) {
    std::mt19937 random(20040630);
    const std::string alphabet = ",,,,....aZ09 -\xff";
    std::uniform_int_distribution<std::size_t> length(0, 150);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (int i = 0; i < 5000; ++i) {
        std::string list(length(random), ' ');
        for (char& c : list)
            c = i % 4 == 0 ? static_cast<char>(anyByte(random)) : alphabet[pick(random)];
        const cgt::ValidCharsParse parse = ParseExact(list);
        ASSERT_LE(parse.text.size(), cgt::kMaxValidCharsLength);
        ASSERT_EQ(parse.text, list.substr(0, cgt::kMaxValidCharsLength));
        if (!parse.ok) {
            ASSERT_TRUE(parse.set.none());
        }
    }
}

TEST(ValidCharsSanitizerTest, FieldTakesMalformedListsAndKeys) {
    cgt::test::ScriptedDialogs dialogs;
    TTaxEdit edit;
    edit.setNumericType(TCustomNumEdit::ntSpecial);
    std::size_t bad = 0;
    for (const std::string& list : MalformedLists()) {
        const std::size_t before = dialogs.messages.size();
        edit.setValidChars(QString::fromLatin1(list.data(), static_cast<qsizetype>(list.size())));
        if (!cgt::ParseValidChars(list).ok) ++bad;
        EXPECT_EQ(dialogs.messages.size() - before, cgt::ParseValidChars(list).ok ? 0u : 1u);
        edit.clear();
        QTest::keyClicks(&edit, QStringLiteral("a,.-9\u00ff"));
        // Typing keeps only characters of the set; an empty set takes no printable key.
        const std::string typed = edit.text().toLatin1().toStdString();
        EXPECT_EQ(cgt::FilterChars(typed, edit.CharSet()), typed) << list;
    }
    EXPECT_GT(bad, 0u);
}

} // namespace
