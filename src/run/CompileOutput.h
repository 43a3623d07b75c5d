#pragma once

#include "run/CompileLog.h"
#include "run/LineSplitter.h"
#include "run/StepRunner.h"

#include <QMutex>
#include <QObject>
#include <QStringList>
#include <optional>

namespace run {

// What came since the last look at the view.
struct ViewUpdate {
    // Complete lines: they take the place of the unfinished line the view
    // shows, if any.
    QString text;
    // The line being written, shown last until the next look; empty: none.
    QString unfinished;
    // The running step, and how far its output says it is (-1: no telling).
    int step = -1;
    int percent = -1;
};

// Where a compile's output goes: all of it into the log as it comes, and as
// much of it as one look at the view shows to whoever takes it. Fed on the
// runner's thread, taken on the window's, so that the window's thread never
// handles the bulk of the output however fast a compiler writes.
class CompileOutput : public QObject {
    Q_OBJECT
public:
    CompileOutput(const QStringList& stepNames, const QString& logPath, int linesPerLook,
                  qsizetype bytesPerLook);

    // Connected directly to the runner's signals.
    void stepStarted(int index, const QString& commandLine);
    void stepNote(int index, const QString& note);
    void linesRead(const run::Lines& lines);
    void stepFinished(int index, const run::StepResult& result);
    void finished(bool allSucceeded);

    // What came since the last call, as the view shows it, if anything;
    // from any thread.
    std::optional<ViewUpdate> take();
    // Why the log cannot be written; empty while it can.
    QString logProblem() const;
    QString logPath() const { return logPath_; }

signals:
    // The compile has ended and its log is complete, or logProblem says why not.
    void done(bool allSucceeded, const QString& logProblem);

private:
    void addText(const QString& text);
    void sealTail();

    CompileLog log_;
    const QString logPath_;
    const int linesPerLook_;
    const qsizetype bytesPerLook_;
    QStringList stepNames_;
    QStringList stepStates_; // the log's closing list
    QStringList stepNotes_;

    mutable QMutex mutex_;
    QStringList ready_; // whole paragraphs for the next look
    QList<Lines> tail_; // the latest lines, as far as one look shows
    QByteArray unfinished_;
    bool unfinishedFromWindows_ = false;
    int step_ = -1;
    bool changed_ = false;
    int tailLines_ = 0;
    int omitted_ = 0; // lines since the last look that only the log has
    bool headed_ = false;
    QString logProblem_;
};

// "1.2 s"
QString secondsText(qint64 milliseconds);
// "reused: portals unchanged since 14:02", "failed: leak", "done (portals
// changed)": a step's end as the step list and the log name it.
QString resultText(const StepResult& result, const QString& note = {});

} // namespace run
