#include "run/StepRunner.h"

#include "platform/ProcessGroup.h"

#include <QDir>
#include <QFileInfo>

namespace run {

namespace {

constexpr QByteArrayView leakText("**** leaked ****");
// ericw-tools prints its help and this, then exits 0, on a switch it lacks.
constexpr QByteArrayView badSwitchText("ERROR OCCURRED WHEN TRYING TO PARSE ARGUMENTS");
// ericw-tools names the entity its flood reached; the point file does not.
constexpr QByteArrayView occupantText("Reached occupant \"");

// The line of the bytes that holds the text, without its line end.
QString lineHolding(const QByteArray& bytes, QByteArrayView text)
{
    const qsizetype at = bytes.indexOf(text);
    if (at < 0)
        return {};
    const qsizetype start = bytes.lastIndexOf('\n', at) + 1;
    qsizetype end = bytes.indexOf('\n', at);
    if (end < 0)
        end = bytes.size();
    return QString::fromUtf8(bytes.mid(start, end - start)).trimmed();
}

QStringList pointFileNames(const QString& mapName)
{
    // id's qbsp3 writes <map>.lin, q2tool <map>.pts; ericw-tools <bsp>.pts
    // beside the .bsp, which the steps write in their working folder too.
    return {QStringLiteral("leak.lin"), mapName + QStringLiteral(".lin"),
            mapName + QStringLiteral(".pts")};
}

QString signalName(int signal)
{
    switch (signal) {
    case 6:
        return QStringLiteral(" (abort)");
    case 9:
        return QStringLiteral(" (killed)");
    case 11:
        return QStringLiteral(" (segmentation fault)");
    case 15:
        return QStringLiteral(" (terminated)");
    default:
        return {};
    }
}

// A result without a point file: all but a leak.
StepResult ended(StepState state, const QString& reason, qint64 milliseconds)
{
    StepResult result;
    result.state = state;
    result.reason = reason;
    result.milliseconds = milliseconds;
    return result;
}

} // namespace

StepRunner::~StepRunner()
{
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->disconnect(this);
        platform::endProcessTree(process_->processId());
        process_->waitForFinished(1000);
    }
}

void StepRunner::start(const QList<RunStep>& steps, const Options& options)
{
    if (running_)
        return;
    steps_ = steps;
    options_ = options;
    current_ = -1;
    running_ = true;
    waiting_ = false;
    cancelled_ = false;
    allSucceeded_ = true;
    visReuse_.reset();
    if (options.visReuse)
        visReuse_.emplace(*options.visReuse);
    next();
}

void StepRunner::proceed()
{
    if (!waiting_)
        return;
    waiting_ = false;
    next();
}

void StepRunner::next()
{
    if (!running_ || process_)
        return;
    ++current_;
    if (current_ >= steps_.size()) {
        running_ = false;
        emit finished(allSucceeded_);
        return;
    }
    startStep();
}

void StepRunner::startStep()
{
    const RunStep& step = steps_.at(current_);
    const Launch& launch = step.launch;
    if (reuseVis())
        return;
    emit stepStarted(current_, displayCommand(launch.program, launch.arguments));
    if (step.kind == CompileStep::Kind::Vis && visReuse_)
        emit stepNote(current_, visReuse_->why());
    clock_.start();
    if (!launch.problem.isEmpty()) {
        endStep(ended(StepState::Failed,
                      launch.problem + QStringLiteral("; looked in: ") + launch.looked.join(", "),
                      0));
        return;
    }
    if (step.kind == CompileStep::Kind::Game) {
        startGame(step);
        return;
    }
    splitter_ = LineSplitter(launch.windowsProgram);
    failureInOutput_.clear();
    occupant_.clear();
    pointFilesBefore_.clear();
    const QDir folder(launch.workingFolder);
    for (const QString& name : pointFileNames(step.mapName))
        pointFilesBefore_.insert(name, QFileInfo(folder.filePath(name)).lastModified());

    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->setWorkingDirectory(launch.workingFolder);
    if (launch.underWine && qEnvironmentVariableIsEmpty("WINEDEBUG")) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
        process_->setProcessEnvironment(environment);
    }
    platform::startInOwnGroup(*process_);
    connect(process_.get(), &QProcess::readyReadStandardOutput, this, &StepRunner::readOutput);
    connect(process_.get(), &QProcess::finished, this, &StepRunner::processFinished);
    connect(process_.get(), &QProcess::errorOccurred, this, &StepRunner::processError);
    process_->start(launch.program, launch.arguments);
}

// Ends the vis step with its kept lump written into the new .bsp, where
// nothing vis depends on has changed since.
bool StepRunner::reuseVis()
{
    const RunStep& step = steps_.at(current_);
    if (step.kind != CompileStep::Kind::Vis || !visReuse_ || !step.launch.problem.isEmpty())
        return false;
    const std::optional<StepResult> reused = visReuse_->tryReuse(step.launch);
    if (reused)
        endStep(*reused);
    return reused.has_value();
}

// What the next vis needs of the bsp step, and what a vis that ran wrote.
void StepRunner::noteStepEnd(const StepResult& result)
{
    if (!visReuse_)
        return;
    const RunStep& step = steps_.at(current_);
    if (step.kind == CompileStep::Kind::Bsp) {
        visReuse_->bspEnded(result, step.launch, step.mapName);
    } else if (step.kind == CompileStep::Kind::Vis && result.state == StepState::Done) {
        const QString problem = visReuse_->visEnded(result, step.launch);
        if (!problem.isEmpty())
            emit stepNote(current_, visReuse_->why() + QStringLiteral("; ") + problem);
    }
}

void StepRunner::startGame(const RunStep& step)
{
    QProcess game;
    game.setProgram(step.launch.program);
    game.setArguments(step.launch.arguments);
    game.setWorkingDirectory(step.launch.workingFolder);
    if (!game.startDetached()) {
        endStep(ended(StepState::Failed,
                      QStringLiteral("cannot start ") + step.launch.program + QStringLiteral(": ") +
                          game.errorString(),
                      0));
        return;
    }
    endStep(ended(StepState::Done, QStringLiteral("started"), clock_.elapsed()));
}

void StepRunner::readOutput()
{
    // One buffer for every read: a fresh megabyte per chunk costs more in
    // page faults than the reading itself.
    const qint64 available = process_->bytesAvailable();
    if (available <= 0)
        return;
    if (buffer_.size() < available)
        buffer_.resize(available);
    const qint64 read = process_->read(buffer_.data(), available);
    if (read <= 0)
        return;
    const Lines lines = splitter_.add(QByteArrayView(buffer_.constData(), read));
    checkLines(lines.bytes);
    // The unfinished line changes with any chunk that ends no line.
    if (lines.count > 0 || !lines.unfinished.isEmpty())
        emit linesRead(lines);
}

void StepRunner::checkLines(const QByteArray& bytes)
{
    const bool bsp = steps_.at(current_).kind == CompileStep::Kind::Bsp;
    if (bsp && occupant_.isEmpty() && holds(bytes, occupantText))
        occupant_ = lineHolding(bytes, occupantText);
    if (!failureInOutput_.isEmpty())
        return;
    if (bsp && holds(bytes, leakText))
        failureInOutput_ = QStringLiteral("leak");
    else if (holds(bytes, badSwitchText))
        failureInOutput_ = QStringLiteral("bad switch");
}

QString StepRunner::pointFileWritten() const
{
    // The newest, should a step write two.
    const QDir folder(steps_.at(current_).launch.workingFolder);
    QString written;
    QDateTime writtenTime;
    for (auto it = pointFilesBefore_.cbegin(); it != pointFilesBefore_.cend(); ++it) {
        const QFileInfo after(folder.filePath(it.key()));
        if (after.exists() && after.lastModified() != it.value() &&
            (written.isEmpty() || after.lastModified() > writtenTime)) {
            written = after.absoluteFilePath();
            writtenTime = after.lastModified();
        }
    }
    return written;
}

void StepRunner::processFinished(int exitCode, QProcess::ExitStatus status)
{
    readOutput();
    const Lines last = splitter_.finish();
    checkLines(last.bytes);
    if (last.count > 0)
        emit linesRead(last);

    StepResult result = ended(StepState::Failed, {}, clock_.elapsed());
    const bool bsp = steps_.at(current_).kind == CompileStep::Kind::Bsp;
    const QString pointFile = bsp ? pointFileWritten() : QString();
    if (cancelled_)
        result.reason = QStringLiteral("cancelled");
    else if (status == QProcess::CrashExit)
        result.reason =
            QStringLiteral("ended by signal ") + QString::number(exitCode) + signalName(exitCode);
    else if (exitCode != 0)
        result.reason = QStringLiteral("exit code ") + QString::number(exitCode);
    else if (!failureInOutput_.isEmpty())
        result.reason = failureInOutput_;
    else if (!pointFile.isEmpty())
        result.reason = QStringLiteral("leak (") + QFileInfo(pointFile).fileName() +
                        QStringLiteral(" written)");
    else
        result.state = StepState::Done;
    if (result.reason.startsWith(QStringLiteral("leak"))) {
        result.pointFile = pointFile;
        result.occupant = occupant_;
    }
    process_.release()->deleteLater();
    endStep(result);
}

void StepRunner::processError(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart)
        return;
    const QString text = process_->errorString();
    process_.release()->deleteLater();
    endStep(ended(StepState::Failed, QStringLiteral("cannot start: ") + text, clock_.elapsed()));
}

void StepRunner::endStep(StepResult result)
{
    const bool failed = result.state != StepState::Done && result.state != StepState::Reused;
    noteStepEnd(result);
    emit stepFinished(current_, result);
    if (failed)
        allSucceeded_ = false;
    if (cancelled_ || (failed && options_.stopAtFirstFailure)) {
        const QString reason = cancelled_ ? QStringLiteral("cancelled") : QString();
        for (int i = current_ + 1; i < steps_.size(); ++i)
            emit stepFinished(i, ended(StepState::Skipped, reason, 0));
        current_ = int(steps_.size()) - 1;
    }
    const bool more = current_ + 1 < steps_.size();
    if (more && options_.pauseBetween && steps_.at(current_).kind != CompileStep::Kind::Game) {
        waiting_ = true;
        emit waitingToProceed(current_ + 1);
        return;
    }
    // Queued: a start that fails at once must not recurse through every step.
    QMetaObject::invokeMethod(this, &StepRunner::next, Qt::QueuedConnection);
}

void StepRunner::cancel()
{
    if (!running_ || cancelled_)
        return;
    cancelled_ = true;
    if (process_ && process_->state() != QProcess::NotRunning) {
        platform::endProcessTree(process_->processId());
        return;
    }
    // Between steps: the next one, waiting or queued, is skipped with the rest.
    allSucceeded_ = false;
    for (int i = current_ + 1; i < steps_.size(); ++i)
        emit stepFinished(i, ended(StepState::Skipped, QStringLiteral("cancelled"), 0));
    current_ = int(steps_.size()) - 1;
    if (waiting_) {
        waiting_ = false;
        next();
    }
}

QString stateText(StepState state)
{
    switch (state) {
    case StepState::Waiting:
        return QStringLiteral("waiting");
    case StepState::Running:
        return QStringLiteral("running");
    case StepState::Done:
        return QStringLiteral("done");
    case StepState::Failed:
        return QStringLiteral("failed");
    case StepState::Skipped:
        return QStringLiteral("skipped");
    case StepState::Reused:
        return QStringLiteral("reused");
    }
    return {};
}

} // namespace run
