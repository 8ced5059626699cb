#pragma once
// The page layout's fonts and metrics on a Qt paint device.

#include <QtGui/QFont>
#include <QtGui/QFontMetrics>

#include <vector>

#include "report/core/layout.h"

class QPaintDevice;

namespace cgt::report {

// The QFont of a report font: the family in points, bold, italic, underline and spacing.
QFont ToQFont(const ReportFont& font);

// Text metrics measured for a paint device (its resolution sizes the point sizes).
class QtTextMetrics : public TextMetrics {
public:
    explicit QtTextMetrics(QPaintDevice* device) : device_(device) {}
    int Width(const ReportFont& font, std::string_view text) override;
    int Height(const ReportFont& font) override;
    int Ascent(const ReportFont& font) override;

private:
    const QFontMetrics& Metrics(const ReportFont& font);

    QPaintDevice* device_;
    std::vector<std::pair<ReportFont, QFontMetrics>> cache_;
};

} // namespace cgt::report
