// report_asm: assembles a report script's readable source into the binary form that the module
// carries as a resource, and turns a binary script back into source. Failures are one line on
// standard error and exit status 2.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/script_asm.h"

namespace {

constexpr std::string_view kUsage =
    R"(usage: report_asm assemble SOURCE OUT
       report_asm disassemble SCRIPT [OUT] [--prefer GROUP]

assemble     writes the binary script of the source file SOURCE to OUT
disassemble  writes the source of the binary script SCRIPT to OUT (standard output without
             OUT); --prefer names tags of GROUP (return, event, schedule) where several
             groups name one number
)";

class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure("cannot open " + path);
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw Failure("cannot read " + path);
    return text.str();
}

void WriteFile(const std::string& path, std::string_view data) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) throw Failure("cannot write " + temporary);
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.flush();
        if (!out) throw Failure("cannot write " + temporary);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw Failure("cannot move " + temporary + " to " + path);
    }
}

int Run(const std::vector<std::string>& args) {
    using namespace cgt::report;
    if (args.empty() || args[0] == "--help" || args[0] == "help") {
        std::fputs(kUsage.data(), stdout);
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "assemble") {
        if (args.size() != 3) throw Failure("assemble needs SOURCE and OUT");
        const std::string source = ReadFile(args[1]);
        try {
            const auto binary = WriteScript(AssembleScript(source));
            WriteFile(args[2], std::string_view(reinterpret_cast<const char*>(binary.data()),
                                                binary.size()));
        } catch (const AsmError& e) {
            throw Failure(args[1] + ":" + std::to_string(e.line()) + ": " +
                          std::string(e.what()).substr(std::string(e.what()).find(": ") + 2));
        }
        return 0;
    }
    if (args[0] == "disassemble") {
        std::vector<std::string> files;
        std::string preferred;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--prefer") {
                if (i + 1 >= args.size()) throw Failure("--prefer needs a group");
                preferred = args[++i];
            } else {
                files.push_back(args[i]);
            }
        }
        if (files.empty() || files.size() > 2) throw Failure("disassemble needs SCRIPT [OUT]");
        const std::string data = ReadFile(files[0]);
        Script script;
        try {
            script = ReadScript(
                std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
        } catch (const ScriptError& e) {
            throw Failure(files[0] + ": " + e.what());
        }
        const std::string source = DisassembleScript(script, preferred);
        if (files.size() == 2)
            WriteFile(files[1], source);
        else if (std::fwrite(source.data(), 1, source.size(), stdout) != source.size())
            throw Failure("cannot write the output");
        return 0;
    }
    throw Failure("unknown command '" + args[0] + "'; try report_asm --help");
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "report_asm: %s\n", e.what());
    }
    return 2;
}
