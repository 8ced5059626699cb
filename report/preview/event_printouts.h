#pragma once
// The printouts the gain calculation screens offer for the event open in the scratch tags, and
// the preview of any report. The screen stores itself to the store first (so the store holds
// its results) and puts the event's row back afterwards.

#include <QString>

#include <memory>
#include <string_view>

#include "report/engine/xreport.h"

class QWidget;

namespace cgt::report {

enum class EventPrintout {
    Worksheet,     // "Print CGT worksheet": CGTWSHT
    AssetRegister, // "Print Asset register": CGTASSET
    NonAssessable, // "Print Non ass worksheet": CGTNASS
};

std::string_view ScriptOf(EventPrintout printout);

// A report of the whole script, its fields filled from the store (FillForm), set up as the
// printouts are (the module's field drawer, no editable fields, units of 0.1 mm, the default
// printer). Throws ReportError or ScriptError.
std::unique_ptr<TXReport> LoadFilledReport(std::string_view script);

// Loads and fills the report with the hourglass cursor, then shows it in the preview, modally,
// maximised, until the user closes it. A script that cannot be loaded is told in an error
// message and nothing is shown.
void PreviewReport(QWidget* owner, std::string_view script);
void PreviewEventPrintout(QWidget* owner, EventPrintout printout);

} // namespace cgt::report
