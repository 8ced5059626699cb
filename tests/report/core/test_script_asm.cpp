// The scripts' source language: assembling, disassembling and the round trip, for a script
// that uses every record kind and for the seven scripts the module carries.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "report/core/script.h"
#include "store/tags.h"
#include "tools/script_asm.h"

namespace cgt::test {
namespace {

using namespace report;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const char* kEveryKind = R"(; every record kind once
section condition=0 placement=absolute height=2750
    attributes brush=15 brushstyle=clear pen=1 width=10 penstyle=dash
    rect 0 0 1850 2750
    frame 25 120 1000 170
    line 25 -5 1825 0
    ellipse 1 2 3 4
    roundrect 5 6 7 8
    caution 9 10 11 12
    triangle 0 0 40 -40
    font background=1 face=narrow size=16 style=bold+underline colour=15 align=centre spacing=3
    text "CGT Asset Register" jump=7
    frame 0 40 0 0
    repeat 0 40 "Gain for prior years"
    text "<T1>Certification<T0>\n"
        "Caf\xE9 and \"quotes\" and a back\\slash\n"
        "Entries kept under section 121-35 of the <T2>Income Tax Assessment Act 1997<T0>"
    field tag=event.Name size=40 type=0 box=1 slot=8
    edit tag=return.HostTaxpayerName size=100 column=3 type=column box=1 slot=11
    jump 196
    record 0x5A byte2=7 byte17=255

section number=9 condition=event.WorksheetGrid placement=relative height=40 second=80
    pageblock
        text "page" byte6=1
    endpageblock
    header height=60
        font face=times size=8 align=plain-right
        text ""
    endheader
    loop rowheight=40 tag=event.WorksheetGrid columns=12 min=2 condition=event.FirstMessage
        field tag=event.WorksheetGrid size=12 column=4 type=rowamount
    endloop
    footer height=50
        field tag=event.WorksheetGrid size=12 column=4 type=rowcents
    endfooter
)";

TEST(ScriptAsm, AssemblesEveryKindAndRoundTrips) {
    const Script script = AssembleScript(kEveryKind);
    ASSERT_EQ(script.sections.size(), 2u);
    const Section& page = script.sections[0];
    EXPECT_EQ(page.header.u8(sec::kNumber), 1) << "sections number themselves";
    EXPECT_EQ(page.records.size(), 17u);
    EXPECT_EQ(page.records[0].u8(attr::kBrushStyle), 1);
    EXPECT_EQ(page.records[0].u8(attr::kPenStyle), 1);
    EXPECT_EQ(page.records[3].i16(box::kY1), -5);
    EXPECT_EQ(page.records[8].u8(font::kFace), 1);
    EXPECT_EQ(page.records[8].u8(font::kStyle), 5);
    EXPECT_EQ(page.records[8].u8(font::kAlign), 2);
    EXPECT_EQ(page.records[9].i16(txt::kJump), 7);
    EXPECT_EQ(page.records[11].text, "Gain for prior years") << "a repeat after a text has one";
    EXPECT_EQ(page.records[12].text,
              "<T1>Certification<T0>\r\nCaf\xE9 and \"quotes\" and a back\\slash\r\nEntries kept "
              "under section 121-35 of the <T2>Income Tax Assessment Act 1997<T0>");
    EXPECT_EQ(page.records[13].i16(fld::kTag), tag::event::kName);
    EXPECT_EQ(page.records[14].u8(fld::kType), dispListColumn);
    EXPECT_EQ(page.records[15].i16(jmp::kNumber), 196);
    EXPECT_EQ(page.records[16].kind(), 'Z');
    EXPECT_EQ(page.records[16].u8(17), 255);
    const Section& table = script.sections[1];
    EXPECT_EQ(table.header.u8(sec::kNumber), 9);
    EXPECT_EQ(table.condition(), tag::event::kWorksheetGrid);
    EXPECT_EQ(table.placement(), 'R');
    EXPECT_EQ(table.secondHeight(), 80);
    EXPECT_EQ(table.records[1].u8(6), 1);
    EXPECT_EQ(table.records[4].u8(font::kAlign), 24);
    EXPECT_EQ(table.records[7].i16(loop::kConditionTag), tag::event::kFirstMessage);

    const auto binary = WriteScript(script);
    const std::string source = DisassembleScript(ReadScript(binary));
    EXPECT_EQ(WriteScript(AssembleScript(source)), binary) << source;
    EXPECT_NE(source.find("field tag=event.Name size=40 box=1 slot=8"), std::string::npos)
        << source;
    EXPECT_NE(source.find("    \"Caf\xC3\xA9 and \\\"quotes\\\""), std::string::npos) << source;
}

TEST(ScriptAsm, ErrorsNameTheLine) {
    struct Case {
        const char* source;
        int line;
        const char* says;
    };
    const Case cases[] = {
        {"frame 1 2 3 4", 1, "before the first section"},
        {"section\n\nframe 1 2 3", 3, "needs 4 numbers"},
        {"section\nfont face=comic", 2, "is not a value here"},
        {"section\nfield tag=event.NoSuchTag", 2, "no tag is named"},
        {"section\nattributes brush=300", 2, "does not fit one byte"},
        {"section\ntext", 2, "text needs its string"},
        {"section\nframe 0 0 0 0 \"stray\"", 2, "carries no text"},
        {"section\nrepeat 0 40 \"own\"", 2, "carries no text"},
        {"section\n\"dangling\"", 2, "continues no text"},
        {"section\ntext \"open", 2, "closing quote"},
        {"section\nloop rowheight=40\nframe 0 0 0 0", 2, "not closed"},
        {"section\nendloop", 2, "without its start"},
        {"section\nwobble", 2, "unknown keyword"},
        {"section\ntext \"\\q\"", 2, "unknown escape"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        try {
            AssembleScript(c.source);
            ADD_FAILURE() << "assembled";
        } catch (const AsmError& e) {
            EXPECT_EQ(e.line(), c.line) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

// The shipped scripts: the build's binaries disassemble to sources that assemble to the same
// bytes, and every tag they print is named.
TEST(ScriptAsm, ShippedScriptsRoundTrip) {
    const std::filesystem::path sources(CGT_REPORT_SOURCE_DIR);
    const std::filesystem::path binaries(CGT_REPORT_BINARY_DIR);
    for (const char* name :
         {"CGTWSHT", "CGTASSET", "CGTNASS", "CGTCHOICE", "CGTCHOICEOLD", "CGTDISEV", "SCHEDCGT"}) {
        SCOPED_TRACE(name);
        const std::string built = ReadFile(binaries / name);
        ASSERT_FALSE(built.empty());
        const std::vector<std::uint8_t> bytes(built.begin(), built.end());
        const Script script = ReadScript(bytes);
        EXPECT_EQ(WriteScript(AssembleScript(ReadFile(sources / (std::string(name) + ".script")))),
                  bytes)
            << "the build assembled the source";
        const std::string source = DisassembleScript(script, "schedule");
        EXPECT_EQ(WriteScript(AssembleScript(source)), bytes);
        for (const Section& section : script.sections)
            for (const Record& r : section.records)
                if (IsFieldKind(r.kind())) {
                    EXPECT_TRUE(IsNamedTag(r.i16(fld::kTag))) << r.i16(fld::kTag);
                }
    }
}

} // namespace
} // namespace cgt::test

namespace cgt::test {
namespace {

// The vertical advance of relatively placed records: each frame-like record moves the bottom
// by its offset and height, a repeat by its offset.
int Advance(const std::vector<const Record*>& records) {
    int advance = 0;
    for (const Record* r : records) {
        if (IsFrameLike(r->kind())) advance += r->i16(box::kY1) + r->i16(box::kY2);
        if (r->kind() == rkRepeat) advance += r->i16(rep::kDy);
    }
    return advance;
}

// In the shipped scripts every relative block ends where its height says, so that the loader's
// page arithmetic and the drawing agree: sections printed whole by their height, header,
// row and footer blocks by theirs, and the page block at the page's bottom.
TEST(ShippedScripts, RelativeBlocksAdvanceByTheirHeight) {
    const std::filesystem::path binaries(CGT_REPORT_BINARY_DIR);
    for (const char* name :
         {"CGTWSHT", "CGTASSET", "CGTNASS", "CGTCHOICE", "CGTCHOICEOLD", "CGTDISEV", "SCHEDCGT"}) {
        SCOPED_TRACE(name);
        const std::string built = ReadFile(binaries / name);
        const Script script = ReadScript(std::vector<std::uint8_t>(built.begin(), built.end()));
        for (std::size_t s = 0; s < script.sections.size(); ++s) {
            const Section& section = script.sections[s];
            SCOPED_TRACE(s + 1);
            if (section.placement() != 'R') continue;
            std::vector<const Record*> outside;
            std::vector<const Record*> block;
            int blockHeight = 0;
            char open = 0;
            for (const Record& r : section.records) {
                if (BlockEnd(r.kind()) != 0) {
                    open = r.kind();
                    block.clear();
                    blockHeight = r.kind() == rkPageBlock ? 2750
                                  : r.kind() == rkLoop    ? r.i16(loop::kRowHeight)
                                                          : r.i16(blk::kHeight);
                } else if (IsBlockEnd(r.kind())) {
                    EXPECT_EQ(Advance(block), blockHeight) << "block " << open;
                    open = 0;
                } else if (open != 0) {
                    block.push_back(&r);
                } else {
                    outside.push_back(&r);
                }
            }
            if (section.condition() <= 1) {
                EXPECT_EQ(Advance(outside), section.height());
                EXPECT_LE(section.height(), 2680 - 90) << "fits a page under the furniture";
            }
        }
    }
}

} // namespace
} // namespace cgt::test
