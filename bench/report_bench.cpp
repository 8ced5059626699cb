// Drawing and printing reports: a page of the CGT worksheet drawn by the report engine beside
// the same texts, lines and rectangles drawn directly with QPainter on the same device (the
// floor), and the worksheet and the four-page schedule written as PDF.
//
// The worksheet holds an event with 20 cost elements; the device is an A4 image at 300 dots an
// inch, as a printer page. After the run the program prints draw/direct, pdf-worksheet/direct
// and pdf-schedule/direct; the targets are 2, 10 and 24 (a PDF embeds its fonts once per
// file, which a one-page file pays in full).

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "bench/ratio_reporter.h"
#include "bench/silent_dialogs.h"
#include "report/core/fill.h"
#include "report/engine/pdf_output.h"
#include "report/engine/qt_text.h"
#include "report/engine/xreport.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/worksheet_rows.h"

namespace {

using namespace cgt;
using namespace cgt::report;

constexpr int kElements = 20;

void FillEvent() {
    using namespace tag::event;
    ResetModuleRun();
    SetFieldStr(tag::kHostTaxpayerName, "Jane Citizen");
    SetFieldStr(tag::kIdentifier, "123 456 782");
    SetFieldStr(kName, "Wattle Mining ordinary shares");
    SetFieldStr(kAssetType, "SN");
    StringList sheet;
    for (int e = 0; e < kElements; ++e)
        sheet.insert(sheet.end(), {"20/03/1998", "Brokerage " + std::to_string(e + 1), "50.00", "",
                                   "50.00", "", "67.40", "141.30", "2.096", "105", "", "50.00"});
    SetFieldLst(kWorksheetGrid, std::make_shared<StringList>(sheet));
    for (int t :
         {kCostBaseNonIndexed, kCostBaseIndexed, kReducedCostBase, kIndexedProceeds,
          kIndexedCostBase, kIndexedGain, kDiscountProceeds, kDiscountCostBase, kDiscountGain})
        SetFieldVal(t, 1000 + t);
    SetFieldStr(kSecondMessage, "Later in the interview you will be required to choose between "
                                "the indexed and discount gain.");
    ZeroFillScratchTags();
    SetFieldVal(tag::schedule::kNetGainTotal, 21415);
    SetFieldVal(tag::schedule::kTotalGainsIndex, 1415);
    PutRow(wkSchedule, 1);
    // The event again, open as on its gain screen.
    SetFieldStr(kName, "Wattle Mining ordinary shares");
    SetFieldStr(kAssetType, "SN");
    SetFieldLst(kWorksheetGrid, std::make_shared<StringList>(sheet));
    for (int t :
         {kCostBaseNonIndexed, kCostBaseIndexed, kReducedCostBase, kIndexedProceeds,
          kIndexedCostBase, kIndexedGain, kDiscountProceeds, kDiscountCostBase, kDiscountGain})
        SetFieldVal(t, 1000 + t);
}

QImage PrinterPage() {
    QImage image(2480, 3508, QImage::Format_RGB32);
    image.setDotsPerMeterX(11811); // 300 dots an inch
    image.setDotsPerMeterY(11811);
    image.fill(Qt::white);
    return image;
}

std::unique_ptr<TXReport> Filled(const char* script) {
    auto report = std::make_unique<TXReport>();
    PrepareForPrinting(*report);
    report->LoadScript(script, 1, kAllSections);
    FillForm(report->Pages());
    return report;
}

void BM_DrawWorksheetPage(benchmark::State& state) {
    const auto report = Filled("CGTWSHT");
    QImage image = PrinterPage();
    for (auto _ : state) {
        QPainter painter(&image);
        report->DrawPage(1, &painter, false, 1.0, true);
    }
}

// The same page's texts, lines and rectangles, fonts and strings made beforehand.
void BM_DrawSameDirectly(benchmark::State& state) {
    const auto report = Filled("CGTWSHT");
    QImage image = PrinterPage();
    struct Text {
        QFont font;
        QColor colour;
        QPoint at;
        QString text;
    };
    std::vector<Text> texts;
    std::vector<QLine> lines;
    std::vector<QRect> boxes;
    for (const DrawOp& op : report->LayOutPage(1, image, 1.0, true)) {
        if (op.kind == DrawOp::Kind::Text) {
            const QFont font = ToQFont(op.font);
            const int ascent = QFontMetrics(font, &image).ascent();
            texts.push_back({font, QColor(op.font.colour.r, op.font.colour.g, op.font.colour.b),
                             QPoint(op.x, op.y + ascent), QString::fromLatin1(op.text)});
        } else if (op.kind == DrawOp::Kind::Line) {
            lines.emplace_back(op.box.left, op.box.top, op.box.right, op.box.bottom);
        } else if (op.kind == DrawOp::Kind::Rectangle || op.kind == DrawOp::Kind::Fill) {
            boxes.emplace_back(op.box.left, op.box.top, op.box.width(), op.box.height());
        }
    }
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setBrush(Qt::white);
        for (const QRect& box : boxes)
            painter.drawRect(box);
        for (const QLine& line : lines)
            painter.drawLine(line);
        for (const Text& t : texts) {
            painter.setFont(t.font);
            painter.setPen(t.colour);
            painter.drawText(t.at, t.text);
        }
    }
    state.counters["texts"] = static_cast<double>(texts.size());
}

QTemporaryDir& Folder() {
    static QTemporaryDir folder;
    return folder;
}

void BM_PdfWorksheet(benchmark::State& state) {
    const auto report = Filled("CGTWSHT");
    const QString path = Folder().filePath("worksheet.pdf");
    for (auto _ : state)
        WritePdf(*report, path, {1}, "CGT worksheet");
}

void BM_PdfSchedule(benchmark::State& state) {
    FetchRow(wkSchedule, 1);
    const auto report = Filled("SCHEDCGT");
    const QString path = Folder().filePath("schedule.pdf");
    for (auto _ : state)
        WritePdf(*report, path, {1, 2, 3, 4}, "CGT schedule");
    FillEvent();
}

BENCHMARK(BM_DrawSameDirectly)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_DrawWorksheetPage)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_PdfWorksheet)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_PdfSchedule)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::SilentDialogs dialogs("report_bench");
    SetDialogService(&dialogs);
    FillEvent();

    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // Wall-clock ratios against the same texts and lines drawn directly.
    const bench::RatioStyle style{bench::Clock::Real, 0, 2, nullptr};
    for (const auto& [label, name, target] :
         {std::tuple{"draw/direct", "BM_DrawWorksheetPage", 2},
          std::tuple{"pdf-worksheet/direct", "BM_PdfWorksheet", 10},
          std::tuple{"pdf-schedule/direct", "BM_PdfSchedule", 24}})
        bench::PrintRatio(reporter, label, name, "BM_DrawSameDirectly", target, "<=", style);
    SetDialogService(nullptr);
    return 0;
}
