#include "cli/CompileFront.h"

#include "platform/Console.h"
#include "platform/Failure.h"
#include "report/CompileReport.h"
#include "report/ReportText.h"
#include "run/CompileOutput.h"

#include <QDir>

namespace cli {

namespace {

QString stepName(CompileStep::Kind kind)
{
    switch (kind) {
    case CompileStep::Kind::Bsp:
        return QStringLiteral("bsp");
    case CompileStep::Kind::Vis:
        return QStringLiteral("vis");
    case CompileStep::Kind::Light:
        return QStringLiteral("light");
    case CompileStep::Kind::Game:
        break;
    }
    return QStringLiteral("game");
}

} // namespace

CompileFront::CompileFront(QList<MapJob> jobs, bool json, QObject* parent)
    : QObject(parent), jobs_(std::move(jobs)), json_(json),
      compilerOutput_(json ? &platform::writeStandardError : &platform::writeStandardOutput,
                      json ? platform::standardErrorIsTerminal()
                           : platform::standardOutputIsTerminal())
{
    connect(&runner_, &run::StepRunner::stepStarted, this, &CompileFront::stepStarted);
    connect(&runner_, &run::StepRunner::linesRead, this,
            [this](const run::Lines& lines) { compilerOutput_.output(lines); });
    connect(&runner_, &run::StepRunner::stepFinished, this, &CompileFront::stepFinished);
    connect(&runner_, &run::StepRunner::finished, this, &CompileFront::mapFinished,
            Qt::QueuedConnection);
}

CompileFront::~CompileFront() = default;

void CompileFront::start()
{
    nextMap();
}

void CompileFront::interrupt()
{
    if (interrupted_)
        return;
    interrupted_ = true;
    compilerOutput_.text(QStringLiteral("\n*** interrupted: ending the compile\n"));
    if (runner_.isRunning())
        runner_.cancel();
    else
        QMetaObject::invokeMethod(this, &CompileFront::end, Qt::QueuedConnection);
}

void CompileFront::nextMap()
{
    ++current_;
    if (current_ >= jobs_.size() || interrupted_) {
        end();
        return;
    }
    const MapJob& job = jobs_.at(current_);
    MapResult result;
    result.mapPath = job.mapPath;
    result.suite = job.suite;
    QStringList names;
    for (const run::RunStep& step : job.steps) {
        StepRecord record;
        record.step = stepName(step.kind);
        const bool wine = step.launch.underWine && !step.launch.arguments.isEmpty();
        record.program = wine ? step.launch.arguments.first() : step.launch.program;
        record.arguments = wine ? step.launch.arguments.mid(1) : step.launch.arguments;
        result.steps << record;
        names << record.step;
    }
    results_ << result;
    mapStarted_ = QDateTime::currentDateTime();
    pointFile_.clear();
    occupantLine_.clear();
    compilerOutput_.text(QStringLiteral("%1== %2 (%3) ==\n")
                             .arg(current_ > 0 ? QStringLiteral("\n") : QString(),
                                  QDir::toNativeSeparators(job.mapPath), job.suite));
    // The log as the compile window writes it.
    log_ = std::make_unique<run::CompileOutput>(names, job.logPath, 1, 1);
    connect(&runner_, &run::StepRunner::stepStarted, log_.get(), &run::CompileOutput::stepStarted);
    connect(&runner_, &run::StepRunner::stepNote, log_.get(), &run::CompileOutput::stepNote);
    connect(&runner_, &run::StepRunner::linesRead, log_.get(), &run::CompileOutput::linesRead);
    connect(&runner_, &run::StepRunner::stepFinished, log_.get(),
            &run::CompileOutput::stepFinished);
    connect(&runner_, &run::StepRunner::finished, log_.get(), &run::CompileOutput::finished);
    if (!log_->logProblem().isEmpty())
        compilerOutput_.text(log_->logProblem() + QStringLiteral("; the compile runs.\n"));
    runner_.start(job.steps, job.runner);
}

void CompileFront::stepStarted(int, const QString& commandLine)
{
    compilerOutput_.text(QStringLiteral("\n> ") + commandLine + QLatin1Char('\n'));
}

void CompileFront::stepFinished(int index, const run::StepResult& result)
{
    StepRecord& record = results_.last().steps[index];
    record.result = result;
    if (result.state == run::StepState::Reused)
        compilerOutput_.text(
            QStringLiteral("\n%1 %2, %3 saved\n")
                .arg(record.step, run::resultText(result), run::secondsText(result.saved)));
    else if (result.state == run::StepState::Failed)
        compilerOutput_.text(QStringLiteral("*** %1 failed: %2\n").arg(record.step, result.reason));
    if (result.state == run::StepState::Failed && result.reason.startsWith(QLatin1String("leak"))) {
        pointFile_ = result.pointFile;
        occupantLine_ = result.occupant;
    }
}

void CompileFront::mapFinished()
{
    MapResult& result = results_.last();
    result.interrupted = interrupted_;
    const QString logProblem = log_->logProblem();
    log_.reset();
    if (!logProblem.isEmpty())
        compilerOutput_.text(logProblem + QLatin1Char('\n'));
    report::CompileReportRequest request;
    request.mapPath = result.mapPath;
    request.engine = jobs_.at(current_).engine;
    request.since = mapStarted_;
    request.pointFile = pointFile_;
    request.occupantLine = occupantLine_;
    try {
        result.report = report::reportAfterCompile(request);
    } catch (const Failure& failure) {
        result.reportProblem = failure.text();
    }
    // The report as --report prints it, where a person reads.
    const QString text =
        result.report ? report::reportText(*result.report)
                      : QStringLiteral("brushwright: ") + result.reportProblem + QLatin1Char('\n');
    compilerOutput_.text(QLatin1Char('\n') + text);
    nextMap();
}

void CompileFront::end()
{
    exitCode_ = exitCodeOf(results_, interrupted_);
    const QString table = QStringLiteral("\n") + summaryTable(results_);
    if (json_) {
        platform::writeStandardError(table);
        platform::writeStandardOutput(summaryJson(results_));
    } else {
        compilerOutput_.text(table);
    }
    emit finished();
}

} // namespace cli
