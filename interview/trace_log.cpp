#include "interview/trace_log.h"

#include <ios>

#include <QCoreApplication>
#include <QDateTime>

// The build sets CGT_FILE_TRACER to 1 to trace into a file; absent, the silent tracer is used.
#ifndef CGT_FILE_TRACER
#define CGT_FILE_TRACER 0
#endif

namespace {

constexpr bool kFileTracerBuild = CGT_FILE_TRACER != 0;

// The process's tracer, freed when the library is unloaded.
std::unique_ptr<TCustomTracer>& TracerSlot() {
    static std::unique_ptr<TCustomTracer> tracer;
    return tracer;
}

} // namespace

// TCustomTracer

TCustomTracer::TCustomTracer() = default;

TCustomTracer::~TCustomTracer() = default;

QString TCustomTracer::LevelLabel(TTraceLevel level) {
    switch (level) {
    case TTraceLevel::Enter:
        return QStringLiteral("ENTER");
    case TTraceLevel::Exit:
        return QStringLiteral("EXIT");
    case TTraceLevel::Error:
        return QStringLiteral("ERROR");
    case TTraceLevel::Warn:
        return QStringLiteral("WARN");
    case TTraceLevel::Info:
        return QStringLiteral("INFO");
    }
    return QString();
}

QString TCustomTracer::FormatLine(TTraceLevel level, const QString& text) const {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")) +
           QLatin1String(" | ") + LevelLabel(level).rightJustified(5) + QLatin1String(" | ") +
           QString(2 * fStack.size(), QLatin1Char(' ')) + text;
}

void TCustomTracer::Log(TTraceLevel level, const QString& text) {
    Write(FormatLine(level, text));
}

void TCustomTracer::Enter(const QString& text) {
    fStack.append(text);
    Log(TTraceLevel::Enter, QLatin1String(">> ") + fStack.last());
}

void TCustomTracer::Leave() {
    const QString top = fStack.isEmpty() ? QString() : fStack.last();
    Log(TTraceLevel::Exit, QLatin1String("<< ") + top);
    if (!fStack.isEmpty()) fStack.removeLast();
}

// TNullTracer

void TNullTracer::Write(const QString&) {}

// TFileTracer

TFileTracer::TFileTracer() : TFileTracer(DefaultFileName()) {}

TFileTracer::TFileTracer(const QString& fileName) : fFileName(fileName), fFile(fileName) {
    if (!fFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        throw std::ios_base::failure(QStringLiteral("Cannot create file \"%1\". %2")
                                         .arg(fFileName, fFile.errorString())
                                         .toStdString());
}

TFileTracer::~TFileTracer() {
    fFile.close();
}

void TFileTracer::Write(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    if (fFile.write(bytes) != bytes.size() || !fFile.flush())
        throw std::ios_base::failure(QStringLiteral("Cannot write file \"%1\". %2")
                                         .arg(fFileName, fFile.errorString())
                                         .toStdString());
}

QString TFileTracer::DefaultFileName() {
    return ChangeFileExt(QCoreApplication::applicationFilePath(), QStringLiteral("_trace.txt"));
}

QString TFileTracer::ChangeFileExt(const QString& fileName, const QString& ext) {
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const qsizetype cut = dot > slash ? dot : fileName.size();
    return fileName.left(cut) + ext;
}

namespace cgt {

bool FileTracerBuild() {
    return kFileTracerBuild;
}

TCustomTracer& Tracer() {
    auto& tracer = TracerSlot();
    if (!tracer) {
        if constexpr (kFileTracerBuild)
            tracer = std::make_unique<TFileTracer>();
        else
            tracer = std::make_unique<TNullTracer>();
    }
    return *tracer;
}

std::unique_ptr<TCustomTracer> SetTracerForTesting(std::unique_ptr<TCustomTracer> tracer) {
    std::swap(TracerSlot(), tracer);
    return tracer;
}

void TraceEnter(const QString& text) {
    Tracer().Enter(text);
}

void TraceLeave() {
    Tracer().Leave();
}

void TraceInfo(const QString& text) {
    Tracer().Log(TTraceLevel::Info, text);
}

TraceScope::TraceScope(const QString& text) : fUncaught(std::uncaught_exceptions()) {
    TraceEnter(text);
}

TraceScope::~TraceScope() noexcept(false) {
    if (std::uncaught_exceptions() > fUncaught) {
        try {
            TraceLeave();
        } catch (...) {
        }
        return;
    }
    TraceLeave();
}

} // namespace cgt
