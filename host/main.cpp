// tesmo: the host program. Loads the CGT module library, starts a module run on a data file
// and, when the module says the interview ended, shuts the run down and prints its results.

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "host/host_options.h"
#include "host/host_window.h"
#include "module/module_api.h"
#include "store/data_file.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"

namespace {

constexpr int kExitBadUse = 2;
constexpr int kExitFailed = 1;
constexpr int kMaxShortString = 255;

// The results the module leaves in the store for the host.
struct ResultTag {
    int tag;
    const char* meaning;
};
constexpr std::array<ResultTag, 4> kResultTags{{
    {cgt::tag::kTotalCurrentYearGains, "total current-year capital gains"},
    {cgt::tag::kNetCapitalGain, "net capital gain"},
    {cgt::tag::kLossesCarriedForward, "unapplied net capital losses carried forward"},
    {cgt::tag::kTotalCurrentYearLosses, "total current-year capital losses"},
}};

// The folder of the running program, before the application object exists.
QString ProgramFolder(const char* argv0) {
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists()) return QFileInfo(self.canonicalFilePath()).absolutePath();
    return QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath();
}

int Fail(int status, const QString& text) {
    std::fprintf(stderr, "tesmo: %s\n", text.toLocal8Bit().constData());
    return status;
}

// A length-prefixed text: one length byte, then the bytes.
std::array<unsigned char, kMaxShortString + 1> ShortString(const QByteArray& bytes) {
    std::array<unsigned char, kMaxShortString + 1> out{};
    const auto n = static_cast<unsigned char>(qMin<qsizetype>(bytes.size(), kMaxShortString));
    out[0] = n;
    for (unsigned char i = 0; i < n; ++i)
        out[i + 1u] = static_cast<unsigned char>(bytes[i]);
    return out;
}

struct ModuleExports {
    cgt::RunCGTModuleFn run = nullptr;
    cgt::CheckVersionFn checkVersion = nullptr;
    cgt::GetFailedScreenIndexFn failedScreenIndex = nullptr;
    cgt::FreeDLLResourcesFn freeResources = nullptr;
};

// A result in whole dollars, nothing as 0 once the module has worked the results out (it keeps
// the digest of what it worked them out from); empty when it has not.
std::string ResultText(int tag) {
    const bool workedOut = !cgt::GetFieldStr(cgt::tag::kChoiceSourcesDigest).empty();
    if (!workedOut && cgt::FieldIsEmpty(tag)) return {};
    return std::to_string(std::llround(cgt::GetFieldVal(tag)));
}

// Prints the results the module left in the data file. False when the file cannot be read.
bool PrintResults(const std::string& dataPath, const std::string& identifier) {
    cgt::ResetModuleRun();
    cgt::Run().HostIdentifier = identifier;
    try {
        cgt::LoadDataFile(dataPath);
    } catch (const cgt::DataFileError& e) {
        Fail(kExitFailed, QStringLiteral("cannot read %1: %2")
                              .arg(QFile::decodeName(QByteArray::fromStdString(dataPath)),
                                   QString::fromLatin1(e.what())));
        return false;
    }
    for (const ResultTag& result : kResultTags)
        std::printf("tag %d %s: %s\n", result.tag, result.meaning, ResultText(result.tag).c_str());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    // Options first, so that bad use is told before the window system is touched.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    tesmo::HostOptions options;
    QString error;
    if (!tesmo::ParseHostOptions(arguments, options, error)) return Fail(kExitBadUse, error);
    if (options.help) {
        std::fputs(tesmo::HostUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }

    const QByteArray dataPath = QFile::encodeName(options.dataPath);
    const QByteArray identifier = options.identifier.toLatin1();
    if (dataPath.size() > kMaxShortString)
        return Fail(kExitBadUse, QStringLiteral("the data file path is longer than 255 bytes"));
    if (identifier.size() > kMaxShortString)
        return Fail(kExitBadUse, QStringLiteral("the identifier is longer than 255 characters"));

    const QString modulePath =
        options.modulePath.isEmpty()
            ? QDir(ProgramFolder(argv[0])).filePath(QStringLiteral("libcgtmodule.so"))
            : options.modulePath;
    QLibrary library(modulePath);
    if (!library.load())
        return Fail(kExitBadUse,
                    QStringLiteral("cannot load the module: %1").arg(library.errorString()));
    ModuleExports module;
    module.run = reinterpret_cast<cgt::RunCGTModuleFn>(library.resolve("RunCGTModule"));
    module.checkVersion = reinterpret_cast<cgt::CheckVersionFn>(library.resolve("CheckVersion"));
    module.failedScreenIndex =
        reinterpret_cast<cgt::GetFailedScreenIndexFn>(library.resolve("GetFailedScreenIndex"));
    module.freeResources =
        reinterpret_cast<cgt::FreeDLLResourcesFn>(library.resolve("FreeDLLResources"));
    if (!module.run || !module.checkVersion || !module.failedScreenIndex || !module.freeResources)
        return Fail(kExitBadUse, QStringLiteral("%1 is not the CGT module").arg(modulePath));
    if (module.checkVersion(1) != 0)
        return Fail(kExitBadUse, QStringLiteral("the module does not support interface version 1"));

    QApplication app(argc, argv);
    // The module's window hides when it closes; the run ends on its message, not then.
    QApplication::setQuitOnLastWindowClosed(false);

    bool finished = false;
    tesmo::HostWindow hostWindow([&](int message) {
        if (finished || (message != cgt::kMsgInterviewLeft && message != cgt::kMsgInterviewClosed))
            return;
        finished = true;
        const std::int32_t failedScreen = module.failedScreenIndex();
        const bool saved = module.freeResources() != 0;
        std::printf("%s\n", message == cgt::kMsgInterviewClosed ? "interview closed (1132)"
                                                                : "interview left (1131)");
        std::printf("failed screen: %d\n", static_cast<int>(failedScreen));
        std::printf("save: %s\n", saved ? "ok" : "failed");
        const bool read = PrintResults(dataPath.toStdString(), identifier.toStdString());
        std::fflush(stdout);
        QCoreApplication::exit(read ? 0 : kExitFailed);
    });

    const auto data = ShortString(dataPath);
    const auto id = ShortString(identifier);
    const auto commandLine =
        ShortString(QCoreApplication::arguments().join(QLatin1Char(' ')).toLocal8Bit());
    try {
        module.run(reinterpret_cast<quintptr>(&app), reinterpret_cast<quintptr>(&hostWindow),
                   data.data(), id.data(), commandLine.data(), options.startScreen, options.left,
                   options.top, options.width, options.height, options.maximised ? 1 : 0,
                   options.minimised ? 1 : 0);
    } catch (const std::exception& e) {
        library.unload();
        return Fail(
            kExitFailed,
            QStringLiteral("the module could not start: %1").arg(QString::fromLocal8Bit(e.what())));
    }

    const int status = QApplication::exec();
    // Events the module posted are objects of the library: drop them before it goes.
    QCoreApplication::removePostedEvents(nullptr);
    library.unload();
    return status;
}
