#pragma once

#include "batch/CompileStep.h"
#include "run/Launch.h"
#include "run/LineSplitter.h"
#include "run/VisReuse.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QProcess>
#include <memory>
#include <optional>

namespace run {

// One step as the runner starts it.
struct RunStep {
    CompileStep::Kind kind = CompileStep::Kind::Bsp;
    Launch launch;
    QString mapName; // for the point files a leak leaves
};

enum class StepState { Waiting, Running, Done, Failed, Skipped, Reused };

struct StepResult {
    StepState state = StepState::Waiting;
    QString reason; // why it failed or was skipped; empty when done
    qint64 milliseconds = 0;
    QString pointFile; // on a leak: the point file the step wrote, absolute
    QString occupant;  // ericw-tools' 'Reached occupant "light" at (0 0 160)'
    qint64 saved = 0;  // reused: how long the step took when it ran
};

// Runs the steps of a compile one after another, each as a child process
// with its argument list (no shell), and reports what happens. The game is
// started and not waited for. A step fails when it cannot start, exits
// non-zero, is ended by a signal, or when its output says it failed though
// it exits 0: a leak in the bsp step, a bad switch for ericw-tools.
class StepRunner : public QObject {
    Q_OBJECT
public:
    struct Options {
        bool stopAtFirstFailure = true;
        bool pauseBetween = false; // wait for proceed() after each compiler
        // Vis reused where what it depends on is unchanged; none: vis runs.
        std::optional<VisReuseSettings> visReuse;
    };

    explicit StepRunner(QObject* parent = nullptr) : QObject(parent) {}
    ~StepRunner() override;

    void start(const QList<RunStep>& steps, const Options& options);
    // Goes on to the next step after waitingToProceed.
    void proceed();
    // Ends the running step and all it started; the rest are skipped.
    void cancel();
    bool isRunning() const { return running_; }

signals:
    void stepStarted(int index, const QString& commandLine);
    // Why a step runs as it does: "portals changed" for a vis not reused.
    void stepNote(int index, const QString& note);
    // Lines completed by the output read, and the line being written.
    void linesRead(const run::Lines& lines);
    void stepFinished(int index, const run::StepResult& result);
    void waitingToProceed(int nextIndex);
    void finished(bool allSucceeded);

private:
    void next();
    void startStep();
    bool reuseVis();
    void noteStepEnd(const StepResult& result);
    void startGame(const RunStep& step);
    void readOutput();
    void processFinished(int exitCode, QProcess::ExitStatus status);
    void processError(QProcess::ProcessError error);
    void endStep(StepResult result);
    void checkLines(const QByteArray& bytes);
    QString pointFileWritten() const;

    QList<RunStep> steps_;
    Options options_;
    int current_ = -1;
    bool running_ = false;
    bool waiting_ = false;
    bool cancelled_ = false;
    bool allSucceeded_ = true;
    std::unique_ptr<QProcess> process_;
    LineSplitter splitter_;
    QByteArray buffer_;
    QElapsedTimer clock_;
    QString failureInOutput_;
    QHash<QString, QDateTime> pointFilesBefore_;
    QString occupant_;
    std::optional<VisReuse> visReuse_;
};

// "done", "failed", "reused", ...: a state as the window shows it.
QString stateText(StepState state);

} // namespace run
