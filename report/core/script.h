#pragma once
// Report scripts: the compiled drawing records of a printout. A script is a sequence of 18-byte
// records with no header; 16-bit numbers are little-endian and signed. A text record, and a
// repeat record that follows one, is followed by its text: a 16-bit length, then that many
// bytes of 8-bit text ending in NUL (the length counts the NUL). The records are grouped into
// sections, each opened by a section header that counts the records after it.
//
// The reader is strict: a script cut short, a length running past the end, a section count
// that lies, a block left open or closed twice is a ScriptError naming the byte offset.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace cgt::report {

inline constexpr std::size_t kRecordSize = 18;

// Record kinds: byte 0 of a record.
enum RecordKind : char {
    rkSection = '!',
    rkFrame = '#',
    rkRectangle = 'R',
    rkLine = 'L',
    rkEllipse = 'C',
    rkRoundRect = 'D',
    rkCaution = '1',
    rkTriangle = 'P',
    rkAttributes = 'A',
    rkFont = 'F',
    rkText = 'T',
    rkRepeat = '@',
    rkField = 'S',
    rkEditField = 'E',
    rkJump = 'J',
    rkPageBlock = 'B',
    rkPageBlockEnd = 'b',
    rkHeader = 'H',
    rkHeaderEnd = 'h',
    rkLoop = 'G',
    rkLoopEnd = 'g',
    rkFooter = 'K',
    rkFooterEnd = 'k',
};

// Byte offsets of the fields of each record kind.
namespace sec {
inline constexpr std::size_t kNumber = 2; // byte
inline constexpr std::size_t kCount = 3;
inline constexpr std::size_t kCondition = 5;
inline constexpr std::size_t kPlacement = 7; // 'A' absolute, 'R' relative
inline constexpr std::size_t kHeight = 8;
inline constexpr std::size_t kSecondHeight = 10;
} // namespace sec
namespace box { // frame, rectangle, line, ellipse, rounded rectangle, caution sign, triangle
inline constexpr std::size_t kX1 = 2;
inline constexpr std::size_t kY1 = 4;
inline constexpr std::size_t kX2 = 6;
inline constexpr std::size_t kY2 = 8;
} // namespace box
namespace attr { // bytes
inline constexpr std::size_t kBrushColour = 2;
inline constexpr std::size_t kBrushStyle = 3;
inline constexpr std::size_t kPenColour = 4;
inline constexpr std::size_t kPenWidth = 5; // tenths of a unit
inline constexpr std::size_t kPenStyle = 6;
} // namespace attr
namespace font {
inline constexpr std::size_t kBackground = 2; // bytes 2..7
inline constexpr std::size_t kFace = 3;
inline constexpr std::size_t kSize = 4; // points
inline constexpr std::size_t kStyle = 5;
inline constexpr std::size_t kColour = 6;
inline constexpr std::size_t kAlign = 7;
inline constexpr std::size_t kSpacing = 8; // 16-bit
} // namespace font
namespace txt {
inline constexpr std::size_t kJump = 2;      // alignment 2
inline constexpr std::size_t kOffsetX = 2;   // alignment 6
inline constexpr std::size_t kOffsetY = 4;   // alignment 6
inline constexpr std::size_t kReference = 6; // 6..9: the loaded text's reference in memory
inline constexpr std::size_t kBoxFlags = 10;
} // namespace txt
namespace rep {
inline constexpr std::size_t kDx = 2;
inline constexpr std::size_t kDy = 4;
} // namespace rep
namespace fld {                         // field and editable field
inline constexpr std::size_t kSize = 2; // byte: characters, or cells per row of a list
inline constexpr std::size_t kTag = 3;
inline constexpr std::size_t kColumn = 5; // 9999: not printed
inline constexpr std::size_t kType = 7;   // byte: display type
inline constexpr std::size_t kBoxFlags = 8;
inline constexpr std::size_t kRowSlot = 9;
inline constexpr int kColumnNotPrinted = 9999;
inline constexpr int kFooterRow = 255;
} // namespace fld
namespace jmp {
inline constexpr std::size_t kNumber = 2;
} // namespace jmp
namespace blk { // header and footer blocks
inline constexpr std::size_t kHeight = 3;
} // namespace blk
namespace loop {
inline constexpr std::size_t kRowHeight = 3;
inline constexpr std::size_t kTag = 5;
inline constexpr std::size_t kColumns = 7;
inline constexpr std::size_t kMinRows = 9;
inline constexpr std::size_t kConditionTag = 11;
} // namespace loop

// Field display types with a meaning of their own; every other type prints the field's
// display text.
enum DisplayType : int {
    dispSign = 7,       // "L" for a negative amount, a blank otherwise
    dispList = 8,       // every line of the list
    dispListColumn = 9, // one column of a list of cells: one line per row, or the loop's row
    dispRowText = 32,   // in a worksheet loop: the row's value of the tag
    dispRowAmount = 33, // in a list loop: the row's cell in whole dollars; footer: the total
    dispRowCents = 34,  // as 33 with cents
};

// One record; a text record keeps its text beside the 18 bytes.
struct Record {
    std::array<std::uint8_t, kRecordSize> bytes{};
    std::string text; // 8-bit, without the NUL
    bool hasText = false;
    std::uint32_t offset = 0; // where it stood in its script
    // Set by the page loader for a record copied in a worksheet loop: the loop's list or
    // worksheet tag, and the row from 0 (kFooterRow in the footer block, kNoRow outside).
    int loopTag = 0;
    int loopRow = kNoRow;
    static constexpr int kNoRow = -1;
    static constexpr int kFooterRow = -2;

    char kind() const { return static_cast<char>(bytes[0]); }
    std::uint8_t u8(std::size_t at) const { return bytes[at]; }
    std::int16_t i16(std::size_t at) const {
        return static_cast<std::int16_t>(bytes[at] | (bytes[at + 1] << 8));
    }
    void setU8(std::size_t at, int value) { bytes[at] = static_cast<std::uint8_t>(value); }
    void setI16(std::size_t at, int value) {
        bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    }
    bool operator==(const Record& other) const {
        return bytes == other.bytes && text == other.text && hasText == other.hasText;
    }
};

Record MakeRecord(char kind);

// Kinds that set the current rectangle.
bool IsFrameLike(char kind);
// Kinds that keep a following repeat record reading a text.
bool KeepsTextRepeat(char kind);
bool IsFieldKind(char kind);
// The end mark of a block start, or 0 for a kind that starts no block.
char BlockEnd(char start);
bool IsBlockEnd(char kind);

struct Section {
    Record header;
    std::vector<Record> records;

    int condition() const { return header.i16(sec::kCondition); }
    char placement() const { return static_cast<char>(header.u8(sec::kPlacement)); }
    int height() const { return header.i16(sec::kHeight); }
    // The second height, the height when 0.
    int secondHeight() const {
        const int h2 = header.i16(sec::kSecondHeight);
        return h2 == 0 ? height() : h2;
    }
};

struct Script {
    std::vector<Section> sections;
};

class ScriptError : public std::runtime_error {
public:
    ScriptError(std::size_t offset, const std::string& what);
    std::size_t offset() const { return offset_; }

private:
    std::size_t offset_;
};

// Reads a whole script; throws ScriptError.
Script ReadScript(std::span<const std::uint8_t> data);
// The binary form; each header's count is its section's record count. Throws ScriptError for
// a text that does not fit its 16-bit length or holds a NUL.
std::vector<std::uint8_t> WriteScript(const Script& script);

} // namespace cgt::report
