#pragma once

#include "report/CompileReport.h"
#include "run/StepRunner.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QThread>
#include <QWidget>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QTreeWidget;
class MapReportView;

namespace view {
class MapViewer;
struct OpenRequest;
} // namespace view

namespace run {
class CompileOutput;
struct ViewUpdate;
} // namespace run

// "Brushwright compile": runs a compile's steps and shows them, each with
// its state and time, and all their output in one view, which keeps the
// last lines (the log file in the maps folder keeps all). The steps run,
// and their output is read and logged, on a thread of the window's own.
class CompileWindow : public QWidget {
    Q_OBJECT
public:
    struct Options {
        run::StepRunner::Options runner;
        bool pauseAfter = false; // stay open after a compile that succeeded
        QString logPath;
        // The map the steps compile: its textures are looked up before the
        // first step, and its report made after the last. Empty: neither.
        QString mapPath;
        report::Engine engine = report::Engine::Vanilla;
    };

    static constexpr int viewLines = 5000;
    static constexpr int linesPerTick = 200;
    static constexpr qsizetype bytesPerTick = 20000;

    explicit CompileWindow(QWidget* parent = nullptr);
    ~CompileWindow() override;

    void start(const QList<run::RunStep>& steps, const Options& options);
    bool isRunning() const { return running_; }
    void bringToFront();

    QTreeWidget* stepList() const { return steps_; }
    QPlainTextEdit* outputView() const { return output_; }
    MapReportView* mapPart() const { return mapPart_; }
    QLabel* texturesWarning() const { return texturesWarning_; }
    QPushButton *cancelButton, *continueButton, *closeButton, *showLeakButton, *viewMapButton;
    // The 3D view "view map" opened; none before.
    view::MapViewer* mapViewer() const { return viewer_.get(); }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void stepStarted(int index, const QString& commandLine);
    void stepNote(int index, const QString& note);
    void stepFinished(int index, const run::StepResult& result);
    void waitingToProceed(int nextIndex);
    void done(bool allSucceeded, const QString& logProblem);
    void proceed();
    void cancel();
    void flushOutput();
    void showOutput(const run::ViewUpdate& update);
    void tick();
    void setState(int index, const QString& state);
    void showMissingTextures(const QStringList& missing, const QString& problem);
    void showReport(const report::MapReport& report, const QString& problem);
    void showLeak();
    void viewMap();
    void reloadView();
    view::OpenRequest viewRequest() const;
    report::CompileReportRequest compileReportRequest() const;

    QThread worker_;
    run::StepRunner* runner_; // lives on worker_
    QTreeWidget* steps_;
    QPlainTextEdit* output_;
    QLabel* status_;
    QLabel* texturesWarning_;
    MapReportView* mapPart_;
    QTimer* flushTimer_;
    QTimer* clockTimer_;
    QTimer* autoClose_;
    run::CompileOutput* compileOutput_ = nullptr; // lives on worker_ too
    bool running_ = false;
    bool unfinishedShown_ = false; // the view's last block is the line being written
    bool pauseAfter_ = false;
    QString mapPath_;
    report::Engine engine_ = report::Engine::Vanilla;
    qint64 startedAt_ = 0;
    std::optional<report::LeakReport> leak_;
    int leakStep_ = -1;
    QString pointFile_;
    QString occupantLine_;
    QPointer<QWidget> leakWindow_;
    QHash<int, QString> notes_; // why a step runs as it does
    QString bspPath_;           // the .bsp to view; empty: none
    bool earlierBsp_ = false;   // not this compile's: it leaked and wrote none
    std::unique_ptr<view::MapViewer> viewer_;
    int runningStep_ = -1;
    qint64 runningSince_ = 0;
};
