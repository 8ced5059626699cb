// Malformed report scripts, under AddressSanitizer and UndefinedBehaviorSanitizer: each is a
// ScriptError naming the byte offset of the fault, never a crash or a read past the data.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "report/core/pages.h"
#include "report/core/script.h"
#include "script_bytes.h"
#include "store/run_state.h"

namespace cgt::test {
namespace {

using namespace report;

struct Malformed {
    const char* name;
    ScriptBytes script;
    std::size_t offset;
    const char* says;
};

std::vector<Malformed> Cases() {
    std::vector<Malformed> cases;
    auto add = [&](const char* name, ScriptBytes b, std::size_t offset, const char* says) {
        cases.push_back({name, std::move(b), offset, says});
    };
    {
        ScriptBytes b;
        b.Section(1).Raw({'#', 0, 0, 0, 0});
        add("cut short inside a record", b, 18, "ends inside a record");
    }
    {
        ScriptBytes b;
        b.Section(1).Record(rkText).Raw({5});
        add("cut short inside a text length", b, 36, "before a text length");
    }
    {
        ScriptBytes b;
        b.Section(1).Record(rkText).Length(40).Raw({'a', 'b', 0});
        add("a text length running past the end", b, 36, "runs past the end");
    }
    {
        ScriptBytes b;
        b.Section(1).Record(rkText).Length(0);
        add("a text length of 0", b, 36, "at least 1");
    }
    {
        ScriptBytes b;
        b.Section(1).Record(rkText).Length(-3).Raw({'a', 'b', 0});
        add("a negative text length", b, 36, "text length -3");
    }
    {
        ScriptBytes b;
        b.Section(1).Record(rkText).Length(3).Raw({'a', 'b', 'c'});
        add("a text without its NUL", b, 36, "does not end in NUL");
    }
    {
        ScriptBytes b;
        b.Section(1).Record(rkText).Length(4).Raw({'a', 0, 'c', 0});
        add("a NUL inside a text", b, 36, "NUL before its end");
    }
    {
        ScriptBytes b;
        b.Section(5).Record(rkFrame).Record(rkLine);
        add("a section count beyond the end", b, 0, "ends after 2");
    }
    {
        ScriptBytes b;
        b.Section(1).Record(rkFrame).Record(rkLine);
        add("a section count short of its records", b, 36, "not a section header");
    }
    {
        ScriptBytes b;
        b.Section(3).Record(rkFrame).Section(0).Record(rkLine);
        add("a header inside a section's count", b, 36, "section header inside section 1");
    }
    {
        ScriptBytes b;
        b.Section(-2);
        add("a negative count", b, 0, "counts -2 records");
    }
    {
        ScriptBytes b;
        b.Record(rkFrame);
        add("no section header first", b, 0, "where a section header should start section 1");
    }
    {
        ScriptBytes b;
        b.Section(0, 0, 'X');
        add("an unknown placement", b, 0, "placement 'X'");
    }
    {
        ScriptBytes b;
        b.Section(2).Record(rkLoop, {{loop::kTag, 803}}).Record(rkField);
        add("a loop without its end", b, 18, "not closed by 'g'");
    }
    {
        ScriptBytes b;
        b.Section(2).Record(rkFrame).Record(rkFooterEnd);
        add("a block end without its start", b, 36, "without its start");
    }
    {
        ScriptBytes b;
        b.Section(3).Record(rkLoop).Record(rkHeader).Record(rkHeaderEnd);
        add("a block inside a loop", b, 36, "inside the block opened by 'G'");
    }
    {
        ScriptBytes b;
        b.Section(3).Record(rkHeader).Record(rkLoopEnd).Record(rkHeaderEnd);
        add("a block closed by another's end", b, 36, "without its start");
    }
    {
        ScriptBytes b;
        b.Section(4).Record(rkLoop).Record(rkLoopEnd).Record(rkLoop).Record(rkLoopEnd);
        add("a second loop in one section", b, 54, "a second block");
    }
    return cases;
}

TEST(ScriptMalformed, EachFaultIsAnErrorNamingItsOffset) {
    for (const Malformed& c : Cases()) {
        SCOPED_TRACE(c.name);
        try {
            ReadScript(c.script.bytes);
            ADD_FAILURE() << "read without an error";
        } catch (const ScriptError& e) {
            EXPECT_EQ(e.offset(), c.offset) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("offset " + std::to_string(c.offset) + ": ", 0),
                      0u)
                << e.what();
        }
    }
}

// Every prefix of a valid script and random damage to it end in a script or a ScriptError;
// what reads loads into pages.
TEST(ScriptMalformed, CutAndDamagedScriptsNeverCrash) {
    ResetModuleRun();
    ScriptBytes b;
    b.Section(4, 0, 'R', 300)
        .Record(rkText)
        .Text("Capital gains tax worksheet")
        .Record(rkFrame, {{box::kY2, 40}})
        .Record(rkRepeat, {{rep::kDy, 40}})
        .Text("again")
        .Record(rkField, {{fld::kTag, 710}});
    b.Section(5, 803, 'R', 40)
        .Record(rkHeader, {{blk::kHeight, 60}})
        .Record(rkHeaderEnd)
        .Record(rkLoop, {{loop::kRowHeight, 40}, {loop::kTag, 803}, {loop::kColumns, 21}})
        .Record(rkField, {{fld::kTag, 803}})
        .Record(rkLoopEnd);
    for (std::size_t length = 0; length <= b.size(); ++length) {
        std::vector<std::uint8_t> prefix(b.bytes.begin(),
                                         b.bytes.begin() + static_cast<std::ptrdiff_t>(length));
        try {
            PageList pages;
            pages.Load(ReadScript(prefix), 1, 99);
        } catch (const ScriptError&) {
        }
    }
    std::mt19937 random(2004);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> damaged = b.bytes;
        const int hits = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < hits; ++i)
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        try {
            PageList pages;
            pages.Load(ReadScript(damaged), 1, 99);
        } catch (const ScriptError&) {
        } catch (const ReportError&) {
        }
    }
}

} // namespace
} // namespace cgt::test
