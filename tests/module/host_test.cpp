// The host program's command line: bad use ends it with one line on standard error.

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(HostProgram, BadOptionsGiveOneLineOnStandardErrorAndStatusTwo) {
    const struct {
        QStringList arguments;
        const char* mentions;
    } cases[] = {
        {{}, "--data"},
        {{"--id", "123 456 782"}, "--data"},
        {{"--data", "x.dat"}, "--id"},
        {{"--data", "x.dat", "--id"}, "--id"},
        {{"--data", "x.dat", "--id", "1", "--start", "twenty"}, "--start"},
        {{"--data", "x.dat", "--id", "1", "--width=wide"}, "--width"},
        {{"--data", "x.dat", "--id", "1", "--colour", "red"}, "--colour"},
        {{"--data", "x.dat", "--id", "1", "extra"}, "extra"},
        // The module's words pass the host's parsing; the missing module then stops it.
        {{"TECHMODE", "--data", "x.dat", "/v", "--id", "1", "--module", "/nonexistent/lib.so"},
         "module"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QProcess host;
        host.start(QStringLiteral(CGT_HOST_PROGRAM), c.arguments);
        ASSERT_TRUE(host.waitForFinished(30000));
        EXPECT_EQ(host.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(host.exitCode(), 2);
        const QString error = QString::fromLocal8Bit(host.readAllStandardError());
        EXPECT_EQ(error.count(QLatin1Char('\n')), 1) << error.toStdString();
        EXPECT_TRUE(error.endsWith(QLatin1Char('\n')));
        EXPECT_TRUE(error.contains(QLatin1String(c.mentions))) << error.toStdString();
        EXPECT_TRUE(host.readAllStandardOutput().isEmpty());
    }
}

} // namespace
