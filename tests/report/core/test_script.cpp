// Reading report scripts: records, texts after text records and the repeats that follow them,
// and the binary form written back.

#include <gtest/gtest.h>

#include "report/core/script.h"
#include "script_bytes.h"

namespace cgt::test {
namespace {

using namespace report;

TEST(ScriptReader, ReadsRecordsTextsAndSections) {
    ScriptBytes b;
    b.Section(3, 0, 'A', 2750)
        .Record(rkFrame, {{box::kX1, 25}, {box::kY1, -120}, {box::kX2, 1000}, {box::kY2, 170}})
        .Record(rkText)
        .Text("CGT Asset Register")
        .Record(rkField, {{fld::kTag, 710}, {fld::kColumn, 9999}});
    b.Section(1, 1, 'R', 300).Record(rkText).Text("Line one\r\nLine two");

    const Script script = ReadScript(b.bytes);
    ASSERT_EQ(script.sections.size(), 2u);
    const Section& first = script.sections[0];
    EXPECT_EQ(first.condition(), 0);
    EXPECT_EQ(first.placement(), 'A');
    EXPECT_EQ(first.height(), 2750);
    EXPECT_EQ(first.secondHeight(), 2750) << "a second height of 0 is the height";
    ASSERT_EQ(first.records.size(), 3u);
    EXPECT_EQ(first.records[0].i16(box::kY1), -120) << "16-bit numbers are signed";
    EXPECT_EQ(first.records[1].text, "CGT Asset Register");
    EXPECT_EQ(first.records[2].i16(fld::kTag), 710);
    EXPECT_EQ(first.records[2].i16(fld::kColumn), 9999);
    EXPECT_FALSE(first.records[2].hasText);
    EXPECT_EQ(script.sections[1].records[0].text, "Line one\r\nLine two");
    EXPECT_EQ(script.sections[1].header.offset, 18u * 4 + 2 + 19);

    EXPECT_EQ(WriteScript(script), b.bytes) << "the binary form is written back byte for byte";
}

// A repeat reads a text when a text record comes before it, with only frames, repeats,
// attributes and fonts between them.
TEST(ScriptReader, RepeatReadsItsOwnTextOnlyAfterAText) {
    struct Case {
        const char* name;
        std::vector<char> between;
        bool readsText;
    };
    const Case cases[] = {
        {"right after the text", {}, true},
        {"after a frame", {rkFrame}, true},
        {"after a font and attributes", {rkFont, rkAttributes}, true},
        {"after another repeat", {rkRepeat}, true},
        {"after a rectangle", {rkRectangle}, false},
        {"after a field", {rkField}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptBytes b;
        b.Section(static_cast<int>(c.between.size()) + 2).Record(rkText).Text("first");
        for (char kind : c.between) {
            b.Record(kind);
            if (kind == rkRepeat) b.Text("middle");
        }
        b.Record(rkRepeat, {{rep::kDx, 0}, {rep::kDy, 40}});
        if (c.readsText) b.Text("second");
        const Script script = ReadScript(b.bytes);
        const Record& repeat = script.sections[0].records.back();
        EXPECT_EQ(repeat.hasText, c.readsText);
        if (c.readsText) {
            EXPECT_EQ(repeat.text, "second");
        }
        EXPECT_EQ(repeat.i16(rep::kDy), 40);
    }
}

TEST(ScriptReader, BlocksAndAnEmptyScript) {
    EXPECT_TRUE(ReadScript({}).sections.empty());
    ScriptBytes b;
    b.Section(9, 803, 'R', 40)
        .Record(rkHeader, {{blk::kHeight, 60}})
        .Record(rkText)
        .Text("Title")
        .Record(rkHeaderEnd)
        .Record(rkLoop, {{loop::kRowHeight, 40}, {loop::kTag, 803}, {loop::kColumns, 21}})
        .Record(rkField, {{fld::kTag, 803}})
        .Record(rkLoopEnd)
        .Record(rkFooter, {{blk::kHeight, 50}})
        .Record(rkField, {{fld::kTag, 803}})
        .Record(rkFooterEnd);
    const Script script = ReadScript(b.bytes);
    ASSERT_EQ(script.sections.size(), 1u);
    EXPECT_EQ(script.sections[0].records[3].i16(loop::kColumns), 21);
}

} // namespace
} // namespace cgt::test
