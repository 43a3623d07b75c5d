#pragma once

#include "run/StepRunner.h"

#include <QStringList>
#include <QWidget>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace run {
class CompileLog;
}

// "Brushwright compile": runs a compile's steps and shows them, each with
// its state and time, and all their output in one view, which keeps the
// last lines (the log file in the maps folder keeps all).
class CompileWindow : public QWidget {
    Q_OBJECT
public:
    struct Options {
        run::StepRunner::Options runner;
        bool pauseAfter = false; // stay open after a compile that succeeded
        QString logPath;
    };

    static constexpr int viewLines = 5000;
    static constexpr int linesPerTick = 200;
    static constexpr qsizetype bytesPerTick = 20000;

    explicit CompileWindow(QWidget* parent = nullptr);
    ~CompileWindow() override;

    void start(const QList<run::RunStep>& steps, const Options& options);
    bool isRunning() const { return runner_->isRunning(); }
    void bringToFront();

    QTreeWidget* stepList() const { return steps_; }
    QPlainTextEdit* outputView() const { return output_; }
    QPushButton *cancelButton, *continueButton, *closeButton;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void stepStarted(int index, const QString& commandLine);
    void linesRead(const run::Lines& lines);
    void stepFinished(int index, const run::StepResult& result);
    void waitingToProceed(int nextIndex);
    void finished(bool allSucceeded);
    void proceed();
    void flushOutput();
    void tick();
    void setState(int index, const QString& state);

    run::StepRunner* runner_;
    QTreeWidget* steps_;
    QPlainTextEdit* output_;
    QLabel* status_;
    QTimer* flushTimer_;
    QTimer* clockTimer_;
    QTimer* autoClose_;
    QList<run::Lines> pending_; // lines not yet shown
    int pendingLines_ = 0;
    int omitted_ = 0; // lines left to the log since the last tick
    std::unique_ptr<run::CompileLog> log_;
    QString logProblem_;
    bool pauseAfter_ = false;
    int running_ = -1;
    qint64 runningSince_ = 0;
};
