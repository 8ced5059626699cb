#include "base/json_writer.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace cgt {

namespace {

// The subtype of the binary values that hold a number's text.
constexpr std::uint64_t kNumberTextSubtype = 'N';

class Printer {
public:
    Printer(const JsonLayout& layout, std::string& out) : layout_(layout), out_(out) {}

    // A value that starts on a line indented by `indent` blanks.
    void Value(const Json& value, const Json::json_pointer& at, int indent) {
        switch (value.type()) {
        case Json::value_t::object:
        case Json::value_t::array:
            Container(value, at, indent);
            return;
        case Json::value_t::binary:
            NumberText(value.get_binary());
            return;
        default: // null, booleans, whole numbers and strings, as the library writes them
            out_ += value.dump();
        }
    }

private:
    void Container(const Json& value, const Json::json_pointer& at, int indent) {
        const bool object = value.is_object();
        const bool broken =
            std::find(layout_.brokenContainers.begin(), layout_.brokenContainers.end(), at) !=
            layout_.brokenContainers.end();
        const int inner = broken ? indent + 2 : indent;
        out_ += object ? '{' : '[';
        bool first = true;
        for (const auto& member : value.items()) {
            if (!first) out_ += ',';
            if (broken) {
                out_ += '\n';
                out_.append(static_cast<std::size_t>(inner), ' ');
            } else if (!first) {
                out_ += ' ';
            }
            first = false;
            if (object) {
                out_ += Json(member.key()).dump();
                out_ += ": ";
            }
            Value(member.value(), at / member.key(), inner);
        }
        if (broken && !first) {
            out_ += '\n';
            out_.append(static_cast<std::size_t>(indent), ' ');
        }
        out_ += object ? '}' : ']';
    }

    void NumberText(const Json::binary_t& text) {
        if (!text.has_subtype() || text.subtype() != kNumberTextSubtype)
            throw std::logic_error("a JSON document holds binary data");
        out_.append(text.begin(), text.end());
    }

    const JsonLayout& layout_;
    std::string& out_;
};

} // namespace

Json JsonNumber(std::string_view text) {
    return Json::binary(std::vector<std::uint8_t>(text.begin(), text.end()), kNumberTextSubtype);
}

Json JsonLatin1(std::string_view latin1) {
    std::string utf8;
    utf8.reserve(latin1.size());
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

std::string JsonText(const Json& document, const JsonLayout& layout) {
    std::string out;
    Printer(layout, out).Value(document, Json::json_pointer(), 0);
    out += '\n';
    return out;
}

} // namespace cgt
