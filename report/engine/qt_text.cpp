#include "report/engine/qt_text.h"

#include <QtCore/QString>

namespace cgt::report {

QFont ToQFont(const ReportFont& font) {
    QFont f(QString::fromStdString(font.family));
    f.setPointSize(font.pointSize > 0 ? font.pointSize : 1);
    f.setBold((font.style & fsBold) != 0);
    f.setItalic((font.style & fsItalic) != 0);
    f.setUnderline((font.style & fsUnderline) != 0);
    if (font.spacing != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, font.spacing);
    return f;
}

int QtTextMetrics::Width(const ReportFont& font, std::string_view text) {
    return Metrics(font).horizontalAdvance(
        QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

int QtTextMetrics::Height(const ReportFont& font) {
    return Metrics(font).height();
}

int QtTextMetrics::Ascent(const ReportFont& font) {
    return Metrics(font).ascent();
}

const QFontMetrics& QtTextMetrics::Metrics(const ReportFont& font) {
    ReportFont key = font;
    key.colour = {}; // colour does not change metrics
    for (const auto& [known, metrics] : cache_)
        if (known == key) return metrics;
    if (cache_.size() > 32) cache_.clear();
    cache_.emplace_back(key, QFontMetrics(ToQFont(key), device_));
    return cache_.back().second;
}

} // namespace cgt::report
