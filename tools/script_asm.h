#pragma once
// The readable source of the report scripts and its translation to and from the binary form.
//
// One record a line: a keyword, then its operands. Blank lines and text after ";" are ignored.
//
//   section condition=0 placement=relative height=300 [second=N] [number=N]
//   frame X1 Y1 X2 Y2          (also rect, line, ellipse, roundrect, caution, triangle)
//   attributes brush=15 brushstyle=clear pen=1 width=10 penstyle=dash
//   font background=1 face=arial size=10 style=bold+italic colour=1 align=right spacing=0
//   text "Capital proceeds" [jump=N] [y=N] [box=N]
//       "a line that only holds a string continues the text before it"
//   repeat DX DY ["its own text, after a text record"]
//   field tag=event.Name size=40 column=0 type=0 box=1 slot=8      (edit: the same)
//   jump N
//   pageblock / endpageblock
//   header height=N / endheader
//   loop rowheight=N tag=event.WorksheetGrid columns=12 min=0 condition=0 / endloop
//   footer height=N / endfooter
//   record 0x5A                (a kind without a keyword)
//
// Tags are named as in store/tags.h: return.HostTaxpayerName, event.Name,
// schedule.NetGainTotal, worksheet.Shares (the worksheet's item list). byteN=V sets a byte that
// no operand covers. In texts, \n is a line break (CR LF), \r and \xHH single bytes, and a
// backslash before a quote or a backslash keeps it; the source is UTF-8, texts are Latin-1.

#include <stdexcept>
#include <string>
#include <string_view>

#include "report/core/script.h"

namespace cgt::report {

class AsmError : public std::runtime_error {
public:
    AsmError(int line, const std::string& what);
    int line() const { return line_; }

private:
    int line_;
};

// Throws AsmError.
Script AssembleScript(std::string_view source);

// The source of a script. Tags print by name; a number that more than one group names prints
// with the name of `preferredGroup` when it has one, else the first.
std::string DisassembleScript(const Script& script, std::string_view preferredGroup = {});

} // namespace cgt::report
