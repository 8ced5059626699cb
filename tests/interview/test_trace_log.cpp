// The trace log: line format, nesting, the file and the silent tracer.

#include <ios>
#include <stdexcept>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "interview/navigator_data.h"
#include "interview/navigator_frame.h"
#include "interview/trace_log.h"

// Readable failure messages for texts.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

QStringList ReadLines(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {QStringLiteral("<cannot open>")};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

class TraceLogTest : public ::testing::Test {
protected:
    void TearDown() override {
        cgt::SetTracerForTesting(nullptr);
        TNavigatorData::Release();
    }
    QTemporaryDir dir;
};

TEST_F(TraceLogTest, FileTracerWritesNestedLinesInItsFormat) {
    ASSERT_TRUE(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("tesmo_trace.txt"));
    {
        QFile old(fileName); // an older log is replaced
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old line\nanother\n");
    }
    cgt::SetTracerForTesting(std::make_unique<TFileTracer>(fileName));
    const QDateTime before = QDateTime::currentDateTime().addMSecs(-1);
    cgt::TraceEnter(QStringLiteral("Outer"));
    cgt::TraceEnter(QStringLiteral("Inner"));
    cgt::TraceInfo(QStringLiteral("a note"));
    cgt::Tracer().Log(TTraceLevel::Warn, QStringLiteral("careful"));
    cgt::Tracer().Log(TTraceLevel::Error, QStringLiteral("broken"));
    cgt::TraceLeave();
    // Each line is in the file as soon as it is written.
    EXPECT_EQ(ReadLines(fileName).size(), 6);
    cgt::TraceLeave();
    cgt::TraceLeave(); // nothing left to leave
    const QDateTime after = QDateTime::currentDateTime().addMSecs(1);

    const QStringList lines = ReadLines(fileName);
    const QStringList expected = {
        "ENTER |   >> Outer", "ENTER |     >> Inner", " INFO |     a note", " WARN |     careful",
        "ERROR |     broken", " EXIT |     << Inner", " EXIT |   << Outer", " EXIT | << ",
    };
    ASSERT_EQ(lines.size(), expected.size());
    const QRegularExpression format(
        QStringLiteral(R"(^(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}) \| (.*)$)"));
    for (int i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i].toStdString());
        const auto match = format.match(lines[i]);
        ASSERT_TRUE(match.hasMatch());
        const QDateTime stamp =
            QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
        EXPECT_TRUE(stamp >= before && stamp <= after);
        EXPECT_EQ(match.captured(2), expected[i]);
    }
}

TEST_F(TraceLogTest, ScopeLeavesAlsoWhenAnErrorPassesThrough) {
    const QString fileName = dir.filePath(QStringLiteral("scope_trace.txt"));
    cgt::SetTracerForTesting(std::make_unique<TFileTracer>(fileName));
    try {
        cgt::TraceScope outer(QStringLiteral("Outer"));
        cgt::TraceScope inner(QStringLiteral("Inner"));
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(cgt::Tracer().Stack().isEmpty());
    QStringList texts;
    for (const QString& line : ReadLines(fileName))
        texts.append(line.section(QStringLiteral(" | "), 1));
    EXPECT_EQ(texts.join(QLatin1Char('\n')).toStdString(),
              "ENTER |   >> Outer\nENTER |     >> Inner\n EXIT |     << Inner\n EXIT |   << Outer");
}

TEST_F(TraceLogTest, FileErrorsAreRaised) {
    EXPECT_THROW(TFileTracer(dir.filePath(QStringLiteral("missing/folder/x_trace.txt"))),
                 std::ios_base::failure);
    if (!QFile::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full";
    cgt::SetTracerForTesting(std::make_unique<TFileTracer>(QStringLiteral("/dev/full")));
    EXPECT_THROW(cgt::TraceEnter(QStringLiteral("Operation")), std::ios_base::failure);
}

TEST_F(TraceLogTest, FileNameIsTheHostProgramsWithTraceExtension) {
    const struct {
        const char* program;
        const char* log;
    } cases[] = {
        {"/opt/tax/tesmo", "/opt/tax/tesmo_trace.txt"},
        {"/opt/tax/tesmo.bin", "/opt/tax/tesmo_trace.txt"},
        {"/opt/tax.2004/tesmo", "/opt/tax.2004/tesmo_trace.txt"},
        {"/opt/tax/tesmo.old.exe", "/opt/tax/tesmo.old_trace.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TFileTracer::ChangeFileExt(c.program, QStringLiteral("_trace.txt")), c.log);
    EXPECT_EQ(TFileTracer::DefaultFileName(),
              TFileTracer::ChangeFileExt(QCoreApplication::applicationFilePath(),
                                         QStringLiteral("_trace.txt")));
}

TEST_F(TraceLogTest, BuiltTracerIsSilentAndKeepsTheNesting) {
    if (cgt::FileTracerBuild()) GTEST_SKIP() << "built with the file tracer";
    const QString defaultLog = TFileTracer::DefaultFileName();
    QFile::remove(defaultLog);
    cgt::SetTracerForTesting(nullptr);
    ASSERT_NE(dynamic_cast<TNullTracer*>(&cgt::Tracer()), nullptr);

    // The navigator behaves the same: a click is reported, three traced calls deep.
    TNavigatorData& data = TNavigatorData::Instance();
    TNavigatorFrame frame;
    frame.resize(240, 420);
    frame.Initialise(&data);
    QStringList stackAtReport;
    int reports = 0;
    frame.SetOnSelectItem([&](TNavigatorFrame*, TNavigatorItem*) {
        ++reports;
        stackAtReport = cgt::Tracer().Stack();
    });
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QTreeWidget* tree = frame.navigatorTreeView();
    const QRect row = tree->visualItemRect(tree->topLevelItem(3));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(reports, 1);
    ASSERT_EQ(stackAtReport.size(), 3);
    EXPECT_EQ(stackAtReport[1], "TNavigatorFrame.navigatorTreeViewClick");
    EXPECT_TRUE(cgt::Tracer().Stack().isEmpty());
    EXPECT_FALSE(QFile::exists(defaultLog));
}

} // namespace
