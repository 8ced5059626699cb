#pragma once
// The trace log: nested enter/leave lines from the interview's traced operations. One tracer
// serves the process. The build picks it: a silent tracer (the default) or, with the
// CGT_FILE_TRACER build option, a file tracer writing "<host program>_trace.txt" beside the host.
//
// Line format: "yyyy-mm-dd hh:nn:ss.zzz | LEVEL | " with the level right-aligned in five
// characters, two blanks per entered operation, then the text.

#include <exception>
#include <memory>

#include <QFile>
#include <QString>
#include <QStringList>

enum class TTraceLevel { Enter = 0, Exit = 1, Error = 2, Warn = 3, Info = 4 };

class TCustomTracer {
public:
    TCustomTracer();
    virtual ~TCustomTracer();
    TCustomTracer(const TCustomTracer&) = delete;
    TCustomTracer& operator=(const TCustomTracer&) = delete;

    virtual void Write(const QString& line) = 0;

    void Enter(const QString& text);
    void Leave();
    void Log(TTraceLevel level, const QString& text);

    static QString LevelLabel(TTraceLevel level);
    // The formatted line for the current stack depth (without the line end).
    QString FormatLine(TTraceLevel level, const QString& text) const;
    const QStringList& Stack() const { return fStack; }

private:
    QStringList fStack; // names of the entered operations, newest last
};

// Keeps the nesting, writes nothing.
class TNullTracer : public TCustomTracer {
public:
    void Write(const QString& line) override;
};

// Writes every line to a text file, flushed at once. Throws std::ios_base::failure when the
// file cannot be created or written.
class TFileTracer : public TCustomTracer {
public:
    TFileTracer(); // the host program's file name with "_trace.txt" as its extension
    explicit TFileTracer(const QString& fileName);
    ~TFileTracer() override;

    void Write(const QString& line) override;
    const QString& FileName() const { return fFileName; }

    static QString DefaultFileName();
    // fileName with its extension (from the last dot of the last path part) replaced by ext.
    static QString ChangeFileExt(const QString& fileName, const QString& ext);

private:
    QString fFileName;
    QFile fFile;
};

namespace cgt {

// True when the module is built with the file tracer.
bool FileTracerBuild();

// The process's tracer, created on first use.
TCustomTracer& Tracer();
// Replaces the process's tracer (nullptr: the next use creates the built one) and returns the
// previous one.
std::unique_ptr<TCustomTracer> SetTracerForTesting(std::unique_ptr<TCustomTracer> tracer);

// Pushes text and writes ">> " + text at level ENTER, indented by the new depth.
void TraceEnter(const QString& text);
// Writes "<< " + the newest entry at level EXIT, then pops it.
void TraceLeave();
void TraceInfo(const QString& text);

// TraceEnter on construction, TraceLeave on destruction. While an exception unwinds, an error of
// the leave is swallowed so that the first error goes on.
class TraceScope {
public:
    explicit TraceScope(const QString& text);
    ~TraceScope() noexcept(false);
    TraceScope(const TraceScope&) = delete;
    TraceScope& operator=(const TraceScope&) = delete;

private:
    int fUncaught;
};

} // namespace cgt
