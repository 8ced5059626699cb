// Reports written as PDF: by `cgt print`, run as a separate process on a saved return, and read
// back with poppler-utils: page counts, the texts, and where the text lands on the paper.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "known_return.h"
#include "pdf_text.h"
#include "store/data_file.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

namespace cgt::test {
namespace {

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

Result RunCgt(const QStringList& arguments) {
    QProcess process;
    process.start(CGT_TOOL_PATH, arguments);
    process.waitForFinished(120000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class CgtPrint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        FillKnownReturn();
        returnPath_ = folder_.filePath("known.TAX");
        ASSERT_EQ(SaveDataFile(returnPath_.toStdString()), SaveStatus::Saved);
    }
    void TearDown() override { ResetModuleRun(); }

    Result Print(const QString& report, const QString& pdf, QStringList more = {}) {
        QStringList arguments{"print",    returnPath_, "--id",  kKnownIdentifier,
                              "--report", report,      "--pdf", pdf};
        return RunCgt(arguments + more);
    }

    QTemporaryDir folder_;
    QString returnPath_;
};

TEST_F(CgtPrint, WritesTheScheduleAsFourPages) {
    const QString pdf = folder_.filePath("schedule.pdf");
    const Result r = Print("SCHEDCGT", pdf);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "") << "nothing on standard error when all is well";
    EXPECT_EQ(PdfPageCount(pdf), 4);
    const std::string text = PdfText(pdf);
    for (const char* part : {"Part A", "Part B", "Part D", "Part E", "Part F", "Part G", "Part H",
                             "Part I", "Part J", "Part K", "Capital gains tax (CGT) schedule 2004",
                             kKnownTaxpayer, "21415", "Net capital gains"})
        EXPECT_TRUE(Contains(text, part)) << part;
    EXPECT_FALSE(Contains(text, "Part C"));
}

// The event's worksheet: the asset's name, its gains and the titles, and the name standing
// where the layout puts it: 15 mm margin + 40 mm from the left, 11 mm margin + 19 mm down.
TEST_F(CgtPrint, WritesAnEventsWorksheet) {
    const QString pdf = folder_.filePath("worksheet.pdf");
    const Result r = Print("CGTWSHT", pdf, {"--worksheet", "451", "--row", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PdfPageCount(pdf), 1);
    const std::string text = PdfText(pdf);
    for (const char* part : {"Capital gains tax worksheet", kKnownAsset, "1415", "6950",
                             "Indexed gain", "Discount gain", "Description of expenditure",
                             "Capital gains transferred from non-assessable payments worksheet"})
        EXPECT_TRUE(Contains(text, part)) << part;

    constexpr double kPointsPerMM = 72 / 25.4;
    bool found = false;
    for (const PdfWord& word : PdfWords(pdf, 1)) {
        if (word.text != "Wattle") continue;
        found = true;
        EXPECT_NEAR(word.xMin, (15 + 40.0) * kPointsPerMM, 1.5);
        EXPECT_NEAR(word.yMin, (11 + 19.0) * kPointsPerMM, 3.0);
    }
    EXPECT_TRUE(found);
}

TEST_F(CgtPrint, PrintsEveryReport) {
    for (const auto& [name, pages] : std::vector<std::pair<QString, int>>{{"CGTASSET", 1},
                                                                          {"CGTNASS", 1},
                                                                          {"CGTCHOICE", 1},
                                                                          {"CGTCHOICEOLD", 1},
                                                                          {"CGTDISEV", 1}}) {
        SCOPED_TRACE(name.toStdString());
        const QString pdf = folder_.filePath(name + ".pdf");
        const Result r = Print(name, pdf, {"--worksheet", "451", "--row", "1"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(PdfPageCount(pdf), pages);
        EXPECT_TRUE(Contains(PdfText(pdf), "Do NOT lodge") || name == "CGTNASS" ||
                    name == "CGTDISEV");
    }
}

// A return as the screens leave it keeps an event's inputs and results, not its grids: the
// asset register and the worksheet are worked out again for the printout.
TEST_F(CgtPrint, AnEventsGridsAreWorkedOutAgainForItsPrintout) {
    ResetModuleRun();
    cgt::Run().HostIdentifier = kKnownIdentifier;
    SetFieldStr(tag::kIdentifier, kKnownIdentifier);
    SetFieldStr(tag::event::kName, "Banksia shares");
    SetFieldStr(tag::event::kAssetType, "SN");
    SetFieldStr(tag::event::kAcquisitionDate, "15/03/1995");
    SetFieldLst(tag::event::kCostElements, MakeList({"1 - Purchase/Acquisition cost", "15/03/1995",
                                                     "", "Parcel of 500", "10000", "", "", ""}));
    SetFieldStr(tag::event::kEventDate, "10/02/2004");
    SetFieldVal(tag::event::kCapitalProceeds, 16000);
    PutRow(wkShares, 1);
    const QString saved = folder_.filePath("screens.TAX");
    ASSERT_EQ(SaveDataFile(saved.toStdString()), SaveStatus::Saved);
    ASSERT_FALSE(WorksheetOf(wkShares)->items().empty());

    for (const char* name : {"CGTASSET", "CGTWSHT"}) {
        SCOPED_TRACE(name);
        const QString pdf = folder_.filePath(QString::fromLatin1(name) + ".pdf");
        const Result r = RunCgt({"print", saved, "--id", kKnownIdentifier, "--report", name,
                                 "--pdf", pdf, "--worksheet", "451", "--row", "1"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::string text = PdfText(pdf);
        EXPECT_TRUE(Contains(text, "Parcel of 500")) << text;
        // The register's proceeds row.
        if (std::string(name) == "CGTASSET") {
            EXPECT_TRUE(Contains(text, "16000")) << text;
        }
    }
}

TEST_F(CgtPrint, RefusesWhatItCannotPrint) {
    const QString pdf = folder_.filePath("out.pdf");
    struct Case {
        QStringList more;
        QString report;
        const char* says;
    };
    const Case cases[] = {
        {{}, "NOSUCH", "no report named 'NOSUCH'"},
        {{}, "CGTWSHT", "name its --worksheet and --row"},
        {{"--worksheet", "451"}, "CGTWSHT", "--worksheet and --row go together"},
        {{"--worksheet", "451", "--row", "7"}, "CGTWSHT", "no row 7 in worksheet 451"},
        {{"--worksheet", "451", "--row", "x"}, "CGTWSHT", "whole number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        const Result r = Print(c.report, pdf, c.more);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(Contains(r.err, c.says)) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(QFile::exists(pdf));
    }
    ASSERT_EQ(Print("SCHEDCGT", pdf).exitCode, 0);
    const Result again = Print("SCHEDCGT", pdf);
    EXPECT_EQ(again.exitCode, 2);
    EXPECT_TRUE(Contains(again.err, "already exists; use --force")) << again.err;
    EXPECT_EQ(Print("SCHEDCGT", pdf, {"--force"}).exitCode, 0);
    const Result misplaced = RunCgt({"stat", returnPath_, "--id", kKnownIdentifier, "--pdf", pdf});
    EXPECT_TRUE(Contains(misplaced.err, "--pdf applies to print only")) << misplaced.err;
}

} // namespace
} // namespace cgt::test
