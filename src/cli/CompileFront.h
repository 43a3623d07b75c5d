#pragma once

#include "cli/CompileJobs.h"
#include "cli/CompileSummary.h"
#include "cli/OutputPrinter.h"
#include "run/StepRunner.h"

#include <QDateTime>
#include <QObject>
#include <memory>

namespace run {
class CompileOutput;
}

namespace cli {

// Compiles the maps one after another with the compile window's runner
// and report, on the event loop's thread, and prints as it goes: the
// steps' command lines and output, each map's report, and at the end the
// table (or, with json, one JSON object on standard output, all else on
// standard error).
class CompileFront : public QObject {
    Q_OBJECT
public:
    CompileFront(QList<MapJob> jobs, bool json, QObject* parent = nullptr);
    ~CompileFront() override;

    void start();
    // Ends the running compiler and everything it started, and the run
    // with it.
    void interrupt();
    int exitCode() const { return exitCode_; }

signals:
    void finished();

private:
    void nextMap();
    void stepStarted(int index, const QString& commandLine);
    void stepFinished(int index, const run::StepResult& result);
    void mapFinished();
    void end();

    QList<MapJob> jobs_;
    bool json_;
    OutputPrinter compilerOutput_; // standard output, or error with json
    run::StepRunner runner_;
    std::unique_ptr<run::CompileOutput> log_;
    QList<MapResult> results_;
    qsizetype current_ = -1;
    QDateTime mapStarted_;
    QString pointFile_, occupantLine_;
    bool interrupted_ = false;
    int exitCode_ = 0;
};

} // namespace cli
