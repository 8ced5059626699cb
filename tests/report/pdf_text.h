#pragma once
// Reading PDF files back with poppler-utils (pdfinfo, pdftotext), as a person would check them.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace cgt::test {

inline QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The page count, or -1 when the file is no PDF.
inline int PdfPageCount(const QString& path) {
    const QString info = RunTool("pdfinfo", {path});
    const auto match = QRegularExpression(R"(Pages:\s+(\d+))").match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The text of one page (or of all pages with page 0), in reading order, trimmed.
inline std::string PdfText(const QString& path, int page = 0) {
    QStringList arguments{"-layout"};
    if (page > 0) arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    arguments << path << "-";
    return RunTool("pdftotext", arguments).trimmed().toStdString();
}

struct PdfWord {
    std::string text;
    double xMin, yMin, xMax, yMax; // points from the page's top-left corner
};

// The words of one page with their boxes.
inline std::vector<PdfWord> PdfWords(const QString& path, int page) {
    const QString html = RunTool("pdftotext", {"-bbox", "-f", QString::number(page), "-l",
                                               QString::number(page), path, "-"});
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<PdfWord> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(5).toStdString(), m.captured(1).toDouble(),
                         m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble()});
    }
    return words;
}

} // namespace cgt::test
