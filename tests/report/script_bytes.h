#pragma once
// Builds binary report scripts byte by byte, for the reader's tests.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/core/script.h"

namespace cgt::test {

class ScriptBytes {
public:
    // A record of `kind` with 16-bit fields at the given offsets.
    ScriptBytes& Record(char kind, std::initializer_list<std::pair<int, int>> words = {}) {
        std::vector<std::uint8_t> r(report::kRecordSize, 0);
        r[0] = static_cast<std::uint8_t>(kind);
        for (auto [at, value] : words) {
            r[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value & 0xFF);
            r[static_cast<std::size_t>(at) + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
        }
        bytes.insert(bytes.end(), r.begin(), r.end());
        return *this;
    }
    ScriptBytes& Section(int count, int condition = 0, char placement = 'A', int height = 0) {
        Record('!', {{report::sec::kCount, count},
                     {report::sec::kCondition, condition},
                     {report::sec::kHeight, height}});
        bytes[bytes.size() - report::kRecordSize + report::sec::kPlacement] =
            static_cast<std::uint8_t>(placement);
        return *this;
    }
    // The length (NUL counted) and the text with its NUL.
    ScriptBytes& Text(std::string_view text) {
        Length(static_cast<int>(text.size()) + 1);
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
        return *this;
    }
    ScriptBytes& Length(int length) {
        bytes.push_back(static_cast<std::uint8_t>(length & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((length >> 8) & 0xFF));
        return *this;
    }
    ScriptBytes& Raw(std::initializer_list<std::uint8_t> raw) {
        bytes.insert(bytes.end(), raw.begin(), raw.end());
        return *this;
    }
    std::size_t size() const { return bytes.size(); }

    std::vector<std::uint8_t> bytes;
};

} // namespace cgt::test
