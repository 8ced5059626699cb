#include "tools/script_asm.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <span>
#include <vector>

#include "store/tags.h"

namespace cgt::report {

namespace {

// How an operand's value is written and read.
enum class Value { Int, Tag, Condition, Placement, Face, Style, Align, BrushStyle, PenStyle, Type };

struct Operand {
    std::string_view name;
    std::uint8_t offset;
    std::uint8_t width; // 1 or 2 bytes
    Value value;
};

struct RecordForm {
    char kind;
    std::string_view keyword;
    std::vector<std::uint8_t> positional; // offsets of 16-bit positional numbers
    std::vector<Operand> operands;
    int indent; // +1 opens a block, -1 closes one
};

const std::vector<RecordForm>& Kinds() {
    static const std::vector<RecordForm> kinds = [] {
        const std::vector<std::uint8_t> corners{box::kX1, box::kY1, box::kX2, box::kY2};
        const std::vector<Operand> fieldOperands{
            {"tag", fld::kTag, 2, Value::Tag},       {"size", fld::kSize, 1, Value::Int},
            {"column", fld::kColumn, 2, Value::Int}, {"type", fld::kType, 1, Value::Type},
            {"box", fld::kBoxFlags, 1, Value::Int},  {"slot", fld::kRowSlot, 1, Value::Int}};
        return std::vector<RecordForm>{
            {rkSection,
             "section",
             {},
             {{"number", sec::kNumber, 1, Value::Int},
              {"condition", sec::kCondition, 2, Value::Condition},
              {"placement", sec::kPlacement, 1, Value::Placement},
              {"height", sec::kHeight, 2, Value::Int},
              {"second", sec::kSecondHeight, 2, Value::Int}},
             0},
            {rkFrame, "frame", corners, {}, 0},
            {rkRectangle, "rect", corners, {}, 0},
            {rkLine, "line", corners, {}, 0},
            {rkEllipse, "ellipse", corners, {}, 0},
            {rkRoundRect, "roundrect", corners, {}, 0},
            {rkCaution, "caution", corners, {}, 0},
            {rkTriangle, "triangle", corners, {}, 0},
            {rkAttributes,
             "attributes",
             {},
             {{"brush", attr::kBrushColour, 1, Value::Int},
              {"brushstyle", attr::kBrushStyle, 1, Value::BrushStyle},
              {"pen", attr::kPenColour, 1, Value::Int},
              {"width", attr::kPenWidth, 1, Value::Int},
              {"penstyle", attr::kPenStyle, 1, Value::PenStyle}},
             0},
            {rkFont,
             "font",
             {},
             {{"background", font::kBackground, 1, Value::Int},
              {"face", font::kFace, 1, Value::Face},
              {"size", font::kSize, 1, Value::Int},
              {"style", font::kStyle, 1, Value::Style},
              {"colour", font::kColour, 1, Value::Int},
              {"align", font::kAlign, 1, Value::Align},
              {"spacing", font::kSpacing, 2, Value::Int}},
             0},
            {rkText,
             "text",
             {},
             {{"jump", txt::kJump, 2, Value::Int},
              {"y", txt::kOffsetY, 2, Value::Int},
              {"box", txt::kBoxFlags, 2, Value::Int}},
             0},
            {rkRepeat, "repeat", {rep::kDx, rep::kDy}, {}, 0},
            {rkField, "field", {}, fieldOperands, 0},
            {rkEditField, "edit", {}, fieldOperands, 0},
            {rkJump, "jump", {jmp::kNumber}, {}, 0},
            {rkPageBlock, "pageblock", {}, {}, 1},
            {rkPageBlockEnd, "endpageblock", {}, {}, -1},
            {rkHeader, "header", {}, {{"height", blk::kHeight, 2, Value::Int}}, 1},
            {rkHeaderEnd, "endheader", {}, {}, -1},
            {rkLoop,
             "loop",
             {},
             {{"rowheight", loop::kRowHeight, 2, Value::Int},
              {"tag", loop::kTag, 2, Value::Tag},
              {"columns", loop::kColumns, 2, Value::Int},
              {"min", loop::kMinRows, 2, Value::Int},
              {"condition", loop::kConditionTag, 2, Value::Tag}},
             1},
            {rkLoopEnd, "endloop", {}, {}, -1},
            {rkFooter, "footer", {}, {{"height", blk::kHeight, 2, Value::Int}}, 1},
            {rkFooterEnd, "endfooter", {}, {}, -1},
        };
    }();
    return kinds;
}

const RecordForm* FormOfKind(char kind) {
    for (const RecordForm& form : Kinds())
        if (form.kind == kind) return &form;
    return nullptr;
}

const RecordForm* FormOfKeyword(std::string_view keyword) {
    for (const RecordForm& form : Kinds())
        if (form.keyword == keyword) return &form;
    return nullptr;
}

using Names = std::vector<std::pair<std::string_view, int>>;

const Names kFaces{{"arial", 0}, {"narrow", 1}, {"courier", 2}, {"times", 3}};
const Names kAligns{{"left", 0},         {"right", 1},        {"centre", 2}, {"wrap-left", 3},
                    {"wrap-right", 4},   {"wrap-centre", 5},  {"offset", 6}, {"plain-left", 23},
                    {"plain-right", 24}, {"plain-centre", 25}};
const Names kBrushStyles{{"solid", 0},     {"clear", 1},     {"horizontal", 2}, {"vertical", 3},
                         {"fdiagonal", 4}, {"bdiagonal", 5}, {"cross", 6},      {"diagcross", 7}};
const Names kPenStyles{{"solid", 0},      {"dash", 1}, {"dot", 2},        {"dashdot", 3},
                       {"dashdotdot", 4}, {"none", 5}, {"insideframe", 6}};
const Names kPlacements{{"absolute", 'A'}, {"relative", 'R'}};
const Names kTypes{{"sign", dispSign},           {"list", dispList},
                   {"column", dispListColumn},   {"rowtext", dispRowText},
                   {"rowamount", dispRowAmount}, {"rowcents", dispRowCents}};
const Names kStyleBits{{"bold", 1}, {"italic", 2}, {"underline", 4}};

std::optional<int> ParseInt(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value > 100000) return std::nullopt;
    return static_cast<int>(negative ? -value : value);
}

std::optional<int> LookUp(const Names& names, std::string_view word) {
    for (const auto& [name, value] : names)
        if (name == word) return value;
    return std::nullopt;
}

std::optional<int> TagOfName(std::string_view word) {
    const std::size_t dot = word.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string_view group = word.substr(0, dot);
    const std::string_view name = word.substr(dot + 1);
    for (const NamedTag& t : NamedTags())
        if (t.group == group && t.name == name) return t.number;
    return std::nullopt;
}

// ---- Assembling ----------------------------------------------------------------------------

struct Token {
    enum Kind { Word, String } kind;
    std::string text; // a word as written; a string decoded to Latin-1
};

class LineReader {
public:
    LineReader(std::string_view line, int number) : line_(line), number_(number) {}

    std::vector<Token> Tokens() {
        std::vector<Token> tokens;
        while (true) {
            while (pos_ < line_.size() &&
                   (line_[pos_] == ' ' || line_[pos_] == '\t' || line_[pos_] == '\r'))
                ++pos_;
            if (pos_ >= line_.size() || line_[pos_] == ';') break;
            if (line_[pos_] == '"') {
                tokens.push_back({Token::String, ReadString()});
            } else {
                const std::size_t start = pos_;
                while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t' &&
                       line_[pos_] != ';' && line_[pos_] != '"' && line_[pos_] != '\r')
                    ++pos_;
                tokens.push_back({Token::Word, std::string(line_.substr(start, pos_ - start))});
            }
        }
        return tokens;
    }

private:
    std::string ReadString() {
        ++pos_; // the opening quote
        std::string out;
        while (true) {
            if (pos_ >= line_.size()) throw AsmError(number_, "a string without its closing quote");
            const auto c = static_cast<unsigned char>(line_[pos_]);
            if (c == '"') {
                ++pos_;
                return out;
            }
            if (c == '\\') {
                ReadEscape(out);
                continue;
            }
            if (c < 0x80) {
                out += static_cast<char>(c);
                ++pos_;
                continue;
            }
            out += static_cast<char>(ReadUtf8());
        }
    }

    void ReadEscape(std::string& out) {
        if (pos_ + 1 >= line_.size()) throw AsmError(number_, "a string ends in a backslash");
        const char e = line_[pos_ + 1];
        pos_ += 2;
        switch (e) {
        case 'n':
            out += "\r\n";
            return;
        case 'r':
            out += '\r';
            return;
        case '"':
        case '\\':
            out += e;
            return;
        case 'x': {
            const auto hex = line_.substr(pos_, 2);
            int value = 0;
            auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
            if (hex.size() != 2 || ec != std::errc() || end != hex.data() + 2)
                throw AsmError(number_, "\\x needs two hexadecimal digits");
            if (value == 0) throw AsmError(number_, "a text cannot hold a NUL");
            out += static_cast<char>(value);
            pos_ += 2;
            return;
        }
        default:
            throw AsmError(number_, std::string("unknown escape \\") + e);
        }
    }

    // One UTF-8 character of the Latin-1 range.
    unsigned char ReadUtf8() {
        const auto lead = static_cast<unsigned char>(line_[pos_]);
        if ((lead & 0xE0) == 0xC0 && pos_ + 1 < line_.size()) {
            const auto next = static_cast<unsigned char>(line_[pos_ + 1]);
            const int code = ((lead & 0x1F) << 6) | (next & 0x3F);
            if ((next & 0xC0) == 0x80 && code >= 0x80 && code <= 0xFF) {
                pos_ += 2;
                return static_cast<unsigned char>(code);
            }
        }
        throw AsmError(number_, "a character outside Latin-1 (or bad UTF-8) in a string");
    }

    std::string_view line_;
    int number_;
    std::size_t pos_ = 0;
};

class Assembler {
public:
    Script Run(std::string_view source) {
        int number = 0;
        std::size_t start = 0;
        while (start <= source.size()) {
            std::size_t end = source.find('\n', start);
            if (end == std::string_view::npos) end = source.size();
            ++number;
            Line(source.substr(start, end - start), number);
            start = end + 1;
        }
        CheckTexts();
        CheckStructure();
        return std::move(script_);
    }

private:
    void Line(std::string_view line, int number) {
        std::vector<Token> tokens = LineReader(line, number).Tokens();
        if (tokens.empty()) return;
        if (tokens[0].kind == Token::String) {
            Continue(tokens, number);
            return;
        }
        const std::string& keyword = tokens[0].text;
        Record record;
        const RecordForm* form = nullptr;
        std::size_t next = 1;
        if (keyword == "record") {
            if (tokens.size() < 2 || tokens[1].kind != Token::Word)
                throw AsmError(number, "record needs its kind byte");
            const auto kind = ParseInt(tokens[1].text);
            if (!kind || *kind < 0 || *kind > 255)
                throw AsmError(number, "bad kind byte " + tokens[1].text);
            record.setU8(0, *kind);
            next = 2;
        } else {
            form = FormOfKeyword(keyword);
            if (form == nullptr) throw AsmError(number, "unknown keyword '" + keyword + "'");
            record.setU8(0, form->kind);
        }
        if (form != nullptr && form->kind == rkSection) record.setU8(sec::kPlacement, 'A');

        std::size_t positional = 0;
        for (; next < tokens.size(); ++next) {
            const Token& token = tokens[next];
            if (token.kind == Token::String) {
                record.text += token.text;
                record.hasText = true;
                continue;
            }
            const std::size_t eq = token.text.find('=');
            if (eq == std::string::npos) {
                if (form == nullptr || positional >= form->positional.size())
                    throw AsmError(number, "unexpected operand '" + token.text + "'");
                const auto value = ParseInt(token.text);
                if (!value) throw AsmError(number, "'" + token.text + "' is not a number");
                Put(record, form->positional[positional++], 2, *value, number, token.text);
                continue;
            }
            const std::string_view key = std::string_view(token.text).substr(0, eq);
            const std::string_view word = std::string_view(token.text).substr(eq + 1);
            Assign(record, form, key, word, number);
        }
        if (form != nullptr && positional != form->positional.size())
            throw AsmError(number, std::string(form->keyword) + " needs " +
                                       std::to_string(form->positional.size()) + " numbers");

        if (record.kind() == rkSection) {
            if (record.u8(sec::kNumber) == 0 && !sectionNumberGiven_)
                record.setU8(sec::kNumber, static_cast<int>(script_.sections.size() + 1) & 0xFF);
            sectionNumberGiven_ = false;
            Section section;
            section.header = record;
            script_.sections.push_back(std::move(section));
            lines_.push_back({number});
            return;
        }
        if (script_.sections.empty()) throw AsmError(number, "a record before the first section");
        script_.sections.back().records.push_back(std::move(record));
        lines_.back().push_back(number);
    }

    void Continue(const std::vector<Token>& tokens, int number) {
        if (script_.sections.empty() || script_.sections.back().records.empty() ||
            !script_.sections.back().records.back().hasText)
            throw AsmError(number, "a string continues no text");
        for (const Token& token : tokens) {
            if (token.kind != Token::String)
                throw AsmError(number, "a continued text holds only strings");
            script_.sections.back().records.back().text += token.text;
        }
    }

    void Assign(Record& record, const RecordForm* form, std::string_view key, std::string_view word,
                int number) {
        if (key.starts_with("byte")) {
            const auto at = ParseInt(key.substr(4));
            const auto value = ParseInt(word);
            if (!at || *at < 1 || *at >= static_cast<int>(kRecordSize))
                throw AsmError(number, "no byte " + std::string(key.substr(4)));
            if (!value) throw AsmError(number, "'" + std::string(word) + "' is not a number");
            Put(record, static_cast<std::size_t>(*at), 1, *value, number, std::string(word));
            return;
        }
        if (form == nullptr) throw AsmError(number, "unknown operand " + std::string(key));
        for (const Operand& op : form->operands) {
            if (op.name != key) continue;
            if (form->kind == rkSection && key == "number") sectionNumberGiven_ = true;
            Put(record, op.offset, op.width, ValueOf(op.value, word, number), number,
                std::string(word));
            return;
        }
        throw AsmError(number, std::string(form->keyword) + " has no operand " + std::string(key));
    }

    static int ValueOf(Value kind, std::string_view word, int number) {
        if (auto n = ParseInt(word)) return *n;
        std::optional<int> value;
        switch (kind) {
        case Value::Int:
            break;
        case Value::Tag:
        case Value::Condition:
            value = TagOfName(word);
            if (!value) throw AsmError(number, "no tag is named " + std::string(word));
            break;
        case Value::Placement:
            value = LookUp(kPlacements, word);
            break;
        case Value::Face:
            value = LookUp(kFaces, word);
            break;
        case Value::Align:
            value = LookUp(kAligns, word);
            break;
        case Value::BrushStyle:
            value = LookUp(kBrushStyles, word);
            break;
        case Value::PenStyle:
            value = LookUp(kPenStyles, word);
            break;
        case Value::Type:
            value = LookUp(kTypes, word);
            break;
        case Value::Style: {
            int bits = 0;
            std::size_t start = 0;
            while (start <= word.size()) {
                std::size_t end = word.find('+', start);
                if (end == std::string_view::npos) end = word.size();
                const auto bit = LookUp(kStyleBits, word.substr(start, end - start));
                if (!bit) throw AsmError(number, "unknown style " + std::string(word));
                bits |= *bit;
                start = end + 1;
            }
            value = bits;
            break;
        }
        }
        if (!value) throw AsmError(number, "'" + std::string(word) + "' is not a value here");
        return *value;
    }

    static void Put(Record& record, std::size_t at, int width, int value, int number,
                    const std::string& written) {
        if (width == 1) {
            if (value < 0 || value > 255)
                throw AsmError(number, written + " does not fit one byte (0 to 255)");
            record.setU8(at, value);
        } else {
            if (value < -32768 || value > 32767)
                throw AsmError(number, written + " does not fit 16 bits");
            record.setI16(at, value);
        }
    }

    // A text record needs a text; a repeat carries one exactly when a text comes before it.
    void CheckTexts() const {
        for (std::size_t s = 0; s < script_.sections.size(); ++s) {
            bool afterText = false;
            const auto& records = script_.sections[s].records;
            for (std::size_t r = 0; r < records.size(); ++r) {
                const char kind = records[r].kind();
                const bool reads = kind == rkText || (kind == rkRepeat && afterText);
                const int line = lines_[s][r + 1];
                if (reads && !records[r].hasText)
                    throw AsmError(line, kind == rkText ? "text needs its string"
                                                        : "a repeat after a text needs its text");
                if (!reads && records[r].hasText)
                    throw AsmError(line, "this record carries no text");
                afterText = kind == rkText || (afterText && KeepsTextRepeat(kind));
            }
        }
    }

    // The block structure and sizes, checked by the reader on the written form.
    void CheckStructure() const {
        std::vector<std::uint8_t> binary;
        try {
            binary = WriteScript(script_);
            ReadScript(binary);
        } catch (const ScriptError& e) {
            throw AsmError(LineOfOffset(e.offset()), e.what());
        }
    }

    int LineOfOffset(std::size_t offset) const {
        std::size_t at = 0;
        int line = lines_.empty() ? 0 : lines_.front().front();
        for (std::size_t s = 0; s < script_.sections.size(); ++s) {
            const auto& records = script_.sections[s].records;
            if (at > offset) return line;
            line = lines_[s][0];
            at += kRecordSize;
            bool afterText = false;
            for (std::size_t r = 0; r < records.size(); ++r) {
                if (at > offset) return line;
                line = lines_[s][r + 1];
                at += kRecordSize;
                const char kind = records[r].kind();
                if (kind == rkText || (kind == rkRepeat && afterText))
                    at += 3 + records[r].text.size();
                afterText = kind == rkText || (afterText && KeepsTextRepeat(kind));
            }
        }
        return line;
    }

    Script script_;
    std::vector<std::vector<int>> lines_; // per section: the header's line, then each record's
    bool sectionNumberGiven_ = false;
};

// ---- Disassembling -------------------------------------------------------------------------

std::string Escaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else if (c >= 0x80) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// The text as quoted pieces, one after each line break.
std::vector<std::string> TextPieces(std::string_view text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t brk = text.find("\r\n", start);
        if (brk == std::string_view::npos) {
            if (start < text.size() || pieces.empty())
                pieces.push_back("\"" + Escaped(text.substr(start)) + "\"");
            return pieces;
        }
        pieces.push_back("\"" + Escaped(text.substr(start, brk + 2 - start)) + "\"");
        start = brk + 2;
    }
}

class Disassembler {
public:
    explicit Disassembler(std::string_view preferred) : preferred_(preferred) {}

    std::string Run(const Script& script) {
        for (std::size_t s = 0; s < script.sections.size(); ++s) {
            if (s > 0) out_ += "\n";
            Section(script.sections[s], static_cast<int>(s + 1));
        }
        return out_;
    }

private:
    void Section(const report::Section& section, int ordinal) {
        const Record& h = section.header;
        std::string line = "section";
        if (h.u8(sec::kNumber) != (ordinal & 0xFF))
            line += " number=" + std::to_string(h.u8(sec::kNumber));
        line += " condition=" + Condition(h.i16(sec::kCondition));
        line += " placement=" + NameOr(kPlacements, h.u8(sec::kPlacement));
        line += " height=" + std::to_string(h.i16(sec::kHeight));
        if (h.i16(sec::kSecondHeight) != 0)
            line += " second=" + std::to_string(h.i16(sec::kSecondHeight));
        line += Bytes(h, *FormOfKind(rkSection));
        out_ += line + "\n";
        int depth = 1;
        bool afterText = false;
        for (const Record& record : section.records) {
            const RecordForm* form = FormOfKind(record.kind());
            if (form != nullptr && form->indent < 0) --depth;
            const std::string indent(static_cast<std::size_t>(depth) * 4, ' ');
            std::string text = indent + RecordLine(record, form);
            const bool reads = record.kind() == rkText || (record.kind() == rkRepeat && afterText);
            if (reads) {
                const auto pieces = TextPieces(record.text);
                text += " " + pieces.front();
                for (std::size_t i = 1; i < pieces.size(); ++i)
                    text += "\n" + indent + "    " + pieces[i];
            }
            out_ += text + "\n";
            if (form != nullptr && form->indent > 0) ++depth;
            afterText = record.kind() == rkText || (afterText && KeepsTextRepeat(record.kind()));
        }
    }

    std::string RecordLine(const Record& record, const RecordForm* form) {
        if (form == nullptr) {
            constexpr char kHex[] = "0123456789ABCDEF";
            std::string line = "record 0x";
            line += kHex[record.u8(0) >> 4];
            line += kHex[record.u8(0) & 15];
            for (std::size_t i = 1; i < kRecordSize; ++i)
                if (record.u8(i) != 0)
                    line += " byte" + std::to_string(i) + "=" + std::to_string(record.u8(i));
            return line;
        }
        std::string line(form->keyword);
        for (std::uint8_t at : form->positional)
            line += " " + std::to_string(record.i16(at));
        for (const Operand& op : form->operands) {
            const int value = op.width == 1 ? record.u8(op.offset) : record.i16(op.offset);
            if (value == 0) continue;
            line += " " + std::string(op.name) + "=" + Format(op.value, value);
        }
        return line + Bytes(record, *form);
    }

    // byteN=V for every non-zero byte that no operand covers.
    static std::string Bytes(const Record& record, const RecordForm& form) {
        std::array<bool, kRecordSize> covered{};
        covered[0] = true;
        for (std::uint8_t at : form.positional)
            covered[at] = covered[at + 1u] = true;
        for (const Operand& op : form.operands)
            for (int i = 0; i < op.width; ++i)
                covered[op.offset + static_cast<std::size_t>(i)] = true;
        if (form.kind == rkSection) covered[sec::kCount] = covered[sec::kCount + 1] = true;
        std::string line;
        for (std::size_t i = 1; i < kRecordSize; ++i)
            if (!covered[i] && record.u8(i) != 0)
                line += " byte" + std::to_string(i) + "=" + std::to_string(record.u8(i));
        return line;
    }

    std::string Format(Value kind, int value) const {
        switch (kind) {
        case Value::Int:
            return std::to_string(value);
        case Value::Tag:
            return TagName(value);
        case Value::Condition:
            return Condition(value);
        case Value::Placement:
            return NameOr(kPlacements, value);
        case Value::Face:
            return NameOr(kFaces, value);
        case Value::Align:
            return NameOr(kAligns, value);
        case Value::BrushStyle:
            return NameOr(kBrushStyles, value);
        case Value::PenStyle:
            return NameOr(kPenStyles, value);
        case Value::Type:
            return NameOr(kTypes, value);
        case Value::Style: {
            if (value > 7) return std::to_string(value);
            std::string out;
            for (const auto& [name, bit] : kStyleBits)
                if (value & bit) out += (out.empty() ? "" : "+") + std::string(name);
            return out;
        }
        }
        return std::to_string(value);
    }

    std::string Condition(int value) const {
        if (value <= 1 || value == 9999) return std::to_string(value);
        return TagName(value);
    }

    std::string TagName(int number) const {
        const NamedTag* found = nullptr;
        for (const NamedTag& t : NamedTags()) {
            if (t.number != number) continue;
            if (found == nullptr || (t.group == preferred_ && found->group != preferred_))
                found = &t;
        }
        if (found == nullptr) return std::to_string(number);
        return std::string(found->group) + "." + std::string(found->name);
    }

    static std::string NameOr(const Names& names, int value) {
        for (const auto& [name, v] : names)
            if (v == value) return std::string(name);
        return std::to_string(value);
    }

    std::string_view preferred_;
    std::string out_;
};

} // namespace

AsmError::AsmError(int line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}

Script AssembleScript(std::string_view source) {
    return Assembler().Run(source);
}

std::string DisassembleScript(const Script& script, std::string_view preferredGroup) {
    return Disassembler(preferredGroup).Run(script);
}

} // namespace cgt::report
