#include "ui/CompileWindow.h"

#include "platform/Failure.h"
#include "report/CompileReport.h"
#include "report/TextureLookup.h"
#include "run/CompileOutput.h"
#include "ui/LeakWindow.h"
#include "ui/MapReportView.h"
#include "ui/ViewLibrary.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

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
        return QStringLiteral("game");
    }
    return {};
}

} // namespace

CompileWindow::CompileWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), runner_(new run::StepRunner), steps_(new QTreeWidget(this)),
      output_(new QPlainTextEdit(this)), status_(new QLabel(this)),
      texturesWarning_(new QLabel(this)), mapPart_(new MapReportView(this)),
      flushTimer_(new QTimer(this)), clockTimer_(new QTimer(this)), autoClose_(new QTimer(this))
{
    setObjectName(QStringLiteral("CompileWindow"));
    setWindowTitle(QStringLiteral("Brushwright compile"));
    resize(720, 520);

    steps_->setColumnCount(4);
    steps_->setHeaderLabels({QStringLiteral("step"), QStringLiteral("state"),
                             QStringLiteral("time"), QStringLiteral("")});
    steps_->setRootIsDecorated(false);
    steps_->setFixedHeight(112);
    steps_->header()->setStretchLastSection(true);
    steps_->setColumnWidth(0, 70);
    steps_->setColumnWidth(1, 330);
    steps_->setColumnWidth(2, 90);

    output_->setReadOnly(true);
    output_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    output_->setLineWrapMode(QPlainTextEdit::NoWrap);
    output_->setMaximumBlockCount(viewLines);
    output_->setUndoRedoEnabled(false);
    status_->setWordWrap(true);
    texturesWarning_->setWordWrap(true);
    texturesWarning_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    texturesWarning_->setStyleSheet(QStringLiteral("color: #b02020"));
    texturesWarning_->hide();
    mapPart_->hide();

    continueButton = new QPushButton(QStringLiteral("continue"), this);
    cancelButton = new QPushButton(QStringLiteral("cancel"), this);
    closeButton = new QPushButton(QStringLiteral("close"), this);
    showLeakButton = new QPushButton(QStringLiteral("show leak"), this);
    showLeakButton->hide();
    viewMapButton = new QPushButton(QStringLiteral("view map"), this);
    viewMapButton->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(viewMapButton);
    buttons->addWidget(showLeakButton);
    buttons->addWidget(continueButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(texturesWarning_);
    layout->addWidget(steps_);
    layout->addWidget(mapPart_);
    layout->addWidget(output_, 1);
    layout->addLayout(buttons);

    // Output is shown in batches: a compiler that writes fast costs the view
    // one append per tick, not one per line.
    flushTimer_->setInterval(50);
    clockTimer_->setInterval(100);
    // "A moment after": long enough to see that every step is done.
    autoClose_->setInterval(1500);
    autoClose_->setSingleShot(true);
    connect(autoClose_, &QTimer::timeout, this, &QWidget::close);
    connect(flushTimer_, &QTimer::timeout, this, &CompileWindow::flushOutput);
    connect(clockTimer_, &QTimer::timeout, this, &CompileWindow::tick);
    connect(continueButton, &QPushButton::clicked, this, &CompileWindow::proceed);
    connect(cancelButton, &QPushButton::clicked, this, &CompileWindow::cancel);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(showLeakButton, &QPushButton::clicked, this, &CompileWindow::showLeak);
    connect(viewMapButton, &QPushButton::clicked, this, &CompileWindow::viewMap);
    connect(runner_, &run::StepRunner::stepStarted, this, &CompileWindow::stepStarted);
    connect(runner_, &run::StepRunner::stepFinished, this, &CompileWindow::stepFinished);
    connect(runner_, &run::StepRunner::stepNote, this, &CompileWindow::stepNote);
    connect(runner_, &run::StepRunner::waitingToProceed, this, &CompileWindow::waitingToProceed);
    runner_->moveToThread(&worker_);
    worker_.setObjectName(QStringLiteral("compile"));
    worker_.start();
}

CompileWindow::~CompileWindow()
{
    // The runner ends what still runs, on its own thread.
    QMetaObject::invokeMethod(
        runner_,
        [runner = runner_, output = compileOutput_] {
            delete runner;
            delete output;
        },
        Qt::BlockingQueuedConnection);
    worker_.quit();
    worker_.wait();
}

void CompileWindow::start(const QList<run::RunStep>& steps, const Options& options)
{
    if (running_)
        return;
    running_ = true;
    pauseAfter_ = options.pauseAfter;
    mapPath_ = options.mapPath;
    engine_ = options.engine;
    startedAt_ = QDateTime::currentMSecsSinceEpoch();
    leak_.reset();
    delete leakWindow_;
    leakWindow_ = nullptr;
    leakStep_ = -1;
    pointFile_.clear();
    occupantLine_.clear();
    texturesWarning_->hide();
    mapPart_->hide();
    showLeakButton->hide();
    viewMapButton->hide();
    bspPath_.clear();
    autoClose_->stop();
    steps_->clear();
    notes_.clear();
    QStringList names;
    for (const run::RunStep& step : steps) {
        auto* item = new QTreeWidgetItem(steps_);
        item->setText(0, stepName(step.kind));
        item->setText(1, run::stateText(run::StepState::Waiting));
        names << item->text(0);
    }
    output_->clear();
    unfinishedShown_ = false;
    // The last compile's output goes on its own thread, where it may still
    // be returning from its last call.
    if (compileOutput_)
        compileOutput_->deleteLater();
    compileOutput_ = new run::CompileOutput(names, options.logPath, linesPerTick, bytesPerTick);
    compileOutput_->moveToThread(&worker_);
    run::CompileOutput* sink = compileOutput_;
    // Directly, on the runner's thread: the output never queues up here.
    connect(runner_, &run::StepRunner::stepStarted, sink, &run::CompileOutput::stepStarted,
            Qt::DirectConnection);
    connect(runner_, &run::StepRunner::stepNote, sink, &run::CompileOutput::stepNote,
            Qt::DirectConnection);
    connect(runner_, &run::StepRunner::linesRead, sink, &run::CompileOutput::linesRead,
            Qt::DirectConnection);
    connect(runner_, &run::StepRunner::stepFinished, sink, &run::CompileOutput::stepFinished,
            Qt::DirectConnection);
    connect(runner_, &run::StepRunner::finished, sink, &run::CompileOutput::finished,
            Qt::DirectConnection);
    connect(sink, &run::CompileOutput::done, this, &CompileWindow::done, Qt::QueuedConnection);
    const QString problem = sink->logProblem();
    status_->setText(problem.isEmpty() ? QString()
                                       : problem + QStringLiteral("; the compile runs."));
    continueButton->setEnabled(false);
    cancelButton->setEnabled(true);
    flushTimer_->start();
    // The textures are looked up on the compile thread too, before the
    // first step; what is missing never stops the compile.
    QMetaObject::invokeMethod(
        runner_, [this, runner = runner_, steps, options = options.runner, mapPath = mapPath_] {
            if (!mapPath.isEmpty()) {
                QStringList missing;
                QString problem;
                try {
                    missing = report::texturesMissingFrom(mapPath);
                } catch (const Failure& failure) {
                    problem = failure.text();
                }
                QMetaObject::invokeMethod(
                    this, [this, missing, problem] { showMissingTextures(missing, problem); });
            }
            runner->start(steps, options);
        });
}

void CompileWindow::bringToFront()
{
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void CompileWindow::stepStarted(int index, const QString& commandLine)
{
    runningStep_ = index;
    runningSince_ = QDateTime::currentMSecsSinceEpoch();
    setState(index, run::stateText(run::StepState::Running));
    steps_->topLevelItem(index)->setText(3, commandLine);
    clockTimer_->start();
}

void CompileWindow::stepNote(int index, const QString& note)
{
    notes_.insert(index, note);
    if (index == runningStep_)
        setState(index, run::stateText(run::StepState::Running));
}

void CompileWindow::stepFinished(int index, const run::StepResult& result)
{
    QTreeWidgetItem* item = steps_->topLevelItem(index);
    item->setText(1, run::resultText(result, notes_.value(index)));
    if (result.state == run::StepState::Reused)
        item->setText(2, run::secondsText(result.saved) + QStringLiteral(" saved"));
    else if (result.state != run::StepState::Skipped)
        item->setText(2, run::secondsText(result.milliseconds));
    if (result.state == run::StepState::Failed &&
        result.reason.startsWith(QStringLiteral("leak"))) {
        leakStep_ = index;
        pointFile_ = result.pointFile;
        occupantLine_ = result.occupant;
    }
    if (index == runningStep_) {
        runningStep_ = -1;
        clockTimer_->stop();
    }
}

void CompileWindow::waitingToProceed(int nextIndex)
{
    setState(nextIndex, QStringLiteral("waiting for continue"));
    continueButton->setEnabled(true);
    continueButton->setFocus();
}

void CompileWindow::proceed()
{
    continueButton->setEnabled(false);
    QMetaObject::invokeMethod(runner_, &run::StepRunner::proceed);
}

void CompileWindow::cancel()
{
    QMetaObject::invokeMethod(runner_, &run::StepRunner::cancel);
}

void CompileWindow::done(bool allSucceeded, const QString& logProblem)
{
    running_ = false;
    continueButton->setEnabled(false);
    cancelButton->setEnabled(false);
    flushOutput();
    flushTimer_->stop();
    QString text =
        allSucceeded ? QStringLiteral("Compile done.") : QStringLiteral("The compile failed.");
    if (!logProblem.isEmpty())
        text += QLatin1Char(' ') + logProblem;
    else
        text += QStringLiteral(" Output in ") +
                QDir::toNativeSeparators(compileOutput_->logPath()) + QLatin1Char('.');
    status_->setText(text);
    closeButton->setFocus();
    // Never after a failure: its messages stay to be read.
    if (allSucceeded && !pauseAfter_)
        autoClose_->start();
    if (mapPath_.isEmpty())
        return;
    QMetaObject::invokeMethod(runner_, [this, request = compileReportRequest()] {
        report::MapReport made;
        QString problem;
        try {
            made = report::reportAfterCompile(request);
        } catch (const Failure& failure) {
            problem = failure.text();
        }
        QMetaObject::invokeMethod(this, [this, made, problem] { showReport(made, problem); });
    });
}

report::CompileReportRequest CompileWindow::compileReportRequest() const
{
    report::CompileReportRequest request;
    request.mapPath = mapPath_;
    request.engine = engine_;
    request.since = QDateTime::fromMSecsSinceEpoch(startedAt_);
    request.pointFile = pointFile_;
    request.occupantLine = occupantLine_;
    return request;
}

void CompileWindow::showMissingTextures(const QStringList& missing, const QString& problem)
{
    if (!problem.isEmpty())
        texturesWarning_->setText(QStringLiteral("Textures not checked: ") + problem);
    else if (!missing.isEmpty())
        texturesWarning_->setText(
            QStringLiteral("The game lacks %1 texture%2 the map names (the compilers drop "
                           "their flags): %3")
                .arg(missing.size())
                .arg(missing.size() == 1 ? QString() : QStringLiteral("s"))
                .arg(missing.join(QStringLiteral(", "))));
    texturesWarning_->setVisible(!problem.isEmpty() || !missing.isEmpty());
}

void CompileWindow::showReport(const report::MapReport& made, const QString& problem)
{
    if (problem.isEmpty())
        mapPart_->setReport(made);
    else
        mapPart_->setProblem(problem);
    mapPart_->show();
    leak_ = made.leak;
    showLeakButton->setVisible(leak_.has_value());
    // A .bsp this compile wrote (the report leaves out an older one), or
    // on a leak the last one, under the leak's path.
    bspPath_ = problem.isEmpty() ? made.bspPath : QString();
    earlierBsp_ = false;
    if (bspPath_.isEmpty() && leak_) {
        const QFileInfo map(mapPath_);
        const QString last =
            map.path() + QLatin1Char('/') + map.completeBaseName() + QStringLiteral(".bsp");
        earlierBsp_ = QFileInfo::exists(last);
        bspPath_ = earlierBsp_ ? last : QString();
    }
    viewMapButton->setVisible(!bspPath_.isEmpty());
    reloadView();
    if (leak_ && leakStep_ >= 0)
        setState(leakStep_, run::stateText(run::StepState::Failed) +
                                QStringLiteral(": leak from ") + report::leakEndText(*leak_));
}

void CompileWindow::showLeak()
{
    if (!leak_)
        return;
    if (!leakWindow_) {
        try {
            // Owned by this window as its child: it goes with it.
            leakWindow_ =
                LeakWindow::fromFiles(mapPath_, leak_->file, occupantLine_, this).release();
        } catch (const Failure& failure) {
            status_->setText(failure.text());
            return;
        }
    }
    leakWindow_->show();
    leakWindow_->raise();
    leakWindow_->activateWindow();
}

void CompileWindow::viewMap()
{
    if (bspPath_.isEmpty())
        return;
    try {
        if (!viewer_)
            viewer_ = viewlibrary::createViewer();
    } catch (const Failure& failure) {
        status_->setText(failure.text());
        return;
    }
    // A closed view was not kept up to date: it reads the file again.
    if (!viewer_->isVisible() || viewer_->bspPath() != bspPath_)
        viewer_->open(viewRequest());
    viewer_->bringToFront();
}

view::OpenRequest CompileWindow::viewRequest() const
{
    return {bspPath_,      report::TextureLookup::gameFoldersOf(bspPath_),
            mapPath_,      leak_ ? leak_->file : QString(),
            occupantLine_, earlierBsp_,
            true};
}

// An open view of this map follows every compile of it, keeping its camera.
void CompileWindow::reloadView()
{
    if (viewer_ && viewer_->isVisible() && !bspPath_.isEmpty() && viewer_->bspPath() == bspPath_)
        viewer_->open(viewRequest());
}

void CompileWindow::flushOutput()
{
    const std::optional<run::ViewUpdate> update =
        compileOutput_ ? compileOutput_->take() : std::nullopt;
    if (!update)
        return;
    showOutput(*update);
    if (update->step != runningStep_ || runningStep_ < 0)
        return;
    const QString running = run::stateText(run::StepState::Running);
    setState(runningStep_, update->percent < 0
                               ? running
                               : running + QStringLiteral(" %1 %").arg(update->percent));
}

// The line being written is the view's last block, replaced at each look: a
// progress line rewritten thousands of times costs the view one block.
void CompileWindow::showOutput(const run::ViewUpdate& update)
{
    QString text = update.text;
    if (!update.unfinished.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + update.unfinished;
    if (text.isEmpty() && !unfinishedShown_)
        return;
    QScrollBar* bar = output_->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    QTextCursor cursor(output_->document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    if (unfinishedShown_)
        cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    else if (!output_->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    unfinishedShown_ = !update.unfinished.isEmpty();
    if (atEnd)
        bar->setValue(bar->maximum());
}

void CompileWindow::tick()
{
    if (runningStep_ >= 0)
        steps_->topLevelItem(runningStep_)
            ->setText(2, run::secondsText(QDateTime::currentMSecsSinceEpoch() - runningSince_));
}

// A running step's state, with why it runs as it does.
void CompileWindow::setState(int index, const QString& state)
{
    QTreeWidgetItem* item = steps_->topLevelItem(index);
    if (!item)
        return;
    const QString note = index == runningStep_ ? notes_.value(index) : QString();
    item->setText(1,
                  note.isEmpty() ? state : state + QStringLiteral(" (") + note + QLatin1Char(')'));
}

void CompileWindow::closeEvent(QCloseEvent* event)
{
    // Closing ends the compile: nothing runs on unseen.
    cancel();
    event->accept();
    emit closed();
}
