#include "ui/CompileWindow.h"

#include "run/CompileLog.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
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

QString seconds(qint64 milliseconds)
{
    return QString::number(double(milliseconds) / 1000.0, 'f', 1) + QStringLiteral(" s");
}

} // namespace

CompileWindow::CompileWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), runner_(new run::StepRunner(this)),
      steps_(new QTreeWidget(this)), output_(new QPlainTextEdit(this)), status_(new QLabel(this)),
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
    steps_->setColumnWidth(1, 230);
    steps_->setColumnWidth(2, 60);

    output_->setReadOnly(true);
    output_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    output_->setLineWrapMode(QPlainTextEdit::NoWrap);
    output_->setMaximumBlockCount(viewLines);
    output_->setUndoRedoEnabled(false);
    status_->setWordWrap(true);

    continueButton = new QPushButton(QStringLiteral("continue"), this);
    cancelButton = new QPushButton(QStringLiteral("cancel"), this);
    closeButton = new QPushButton(QStringLiteral("close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(continueButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(steps_);
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
    connect(cancelButton, &QPushButton::clicked, runner_, &run::StepRunner::cancel);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(runner_, &run::StepRunner::stepStarted, this, &CompileWindow::stepStarted);
    connect(runner_, &run::StepRunner::linesRead, this, &CompileWindow::linesRead);
    connect(runner_, &run::StepRunner::stepFinished, this, &CompileWindow::stepFinished);
    connect(runner_, &run::StepRunner::waitingToProceed, this, &CompileWindow::waitingToProceed);
    connect(runner_, &run::StepRunner::finished, this, &CompileWindow::finished);
}

CompileWindow::~CompileWindow() = default;

void CompileWindow::start(const QList<run::RunStep>& steps, const Options& options)
{
    pauseAfter_ = options.pauseAfter;
    autoClose_->stop();
    steps_->clear();
    for (const run::RunStep& step : steps) {
        auto* item = new QTreeWidgetItem(steps_);
        item->setText(0, stepName(step.kind));
        item->setText(1, run::stateText(run::StepState::Waiting));
    }
    output_->clear();
    pending_.clear();
    pendingLines_ = 0;
    omitted_ = 0;
    log_ = std::make_unique<run::CompileLog>(options.logPath);
    logProblem_ = log_->problem();
    status_->setText(logProblem_.isEmpty() ? QString()
                                           : logProblem_ + QStringLiteral("; the compile runs."));
    continueButton->setEnabled(false);
    cancelButton->setEnabled(true);
    flushTimer_->start();
    runner_->start(steps, options.runner);
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
    running_ = index;
    runningSince_ = QDateTime::currentMSecsSinceEpoch();
    setState(index, run::stateText(run::StepState::Running));
    steps_->topLevelItem(index)->setText(3, commandLine);
    clockTimer_->start();
    flushOutput();
    if (!output_->document()->isEmpty())
        output_->appendPlainText(QString());
    output_->appendPlainText(QStringLiteral("> ") + commandLine);
    log_->heading(commandLine);
}

void CompileWindow::linesRead(const run::Lines& lines)
{
    // The log is UTF-8 throughout: a Windows program's text in its code page
    // is decoded for it (plain ASCII is the same in both).
    if (lines.windowsProgram && !run::isPlainAscii(lines.bytes))
        log_->write(run::decodeLines(lines.bytes, true).toUtf8() + '\n');
    else
        log_->write(lines.bytes);
    pending_ << lines;
    pendingLines_ += lines.count;
    // What one tick would not show is not kept for it.
    while (pending_.size() > 1 && pendingLines_ - pending_.first().count > linesPerTick) {
        pendingLines_ -= pending_.first().count;
        omitted_ += pending_.first().count;
        pending_.removeFirst();
    }
}

void CompileWindow::stepFinished(int index, const run::StepResult& result)
{
    QTreeWidgetItem* item = steps_->topLevelItem(index);
    const QString state = run::stateText(result.state);
    setState(index, result.reason.isEmpty() ? state : state + QStringLiteral(": ") + result.reason);
    if (result.state != run::StepState::Skipped)
        item->setText(2, seconds(result.milliseconds));
    if (result.state == run::StepState::Failed) {
        flushOutput();
        output_->appendPlainText(QStringLiteral("*** ") + item->text(0) +
                                 QStringLiteral(" failed: ") + result.reason);
        log_->write("*** " + item->text(0).toUtf8() + " failed: " + result.reason.toUtf8() + '\n');
    }
    if (index == running_) {
        running_ = -1;
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
    runner_->proceed();
}

void CompileWindow::finished(bool allSucceeded)
{
    continueButton->setEnabled(false);
    cancelButton->setEnabled(false);
    flushOutput();
    flushTimer_->stop();
    // The step list closes the log, as the window shows it.
    log_->write("\n");
    for (int i = 0; i < steps_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = steps_->topLevelItem(i);
        const QString time =
            item->text(2).isEmpty() ? QString() : QStringLiteral(" in ") + item->text(2);
        log_->write((item->text(0) + QStringLiteral(": ") + item->text(1) + time + '\n').toUtf8());
    }
    QString text =
        allSucceeded ? QStringLiteral("Compile done.") : QStringLiteral("The compile failed.");
    if (!log_->finish())
        text += QLatin1Char(' ') + log_->problem();
    else
        text += QStringLiteral(" Output in ") + QDir::toNativeSeparators(log_->path()) +
                QLatin1Char('.');
    status_->setText(text);
    closeButton->setFocus();
    // Never after a failure: its messages stay to be read.
    if (allSucceeded && !pauseAfter_)
        autoClose_->start();
}

// Laying out text is what costs the view: a tick shows at most the last
// linesPerTick lines and about bytesPerTick bytes of what came since
// the last one, and says how many it left to the log.
void CompileWindow::flushOutput()
{
    if (pending_.isEmpty())
        return;
    int omitted = 0;
    QString text = run::lastLines(pending_, linesPerTick, bytesPerTick, omitted);
    omitted_ += omitted;
    if (omitted_ > 0)
        text.prepend(QStringLiteral("[... %1 lines not shown here: all are in the log]\n")
                         .arg(QLocale().toString(omitted_)));
    pending_.clear();
    pendingLines_ = 0;
    omitted_ = 0;
    QScrollBar* bar = output_->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    output_->appendPlainText(text);
    if (atEnd)
        bar->setValue(bar->maximum());
}

void CompileWindow::tick()
{
    if (running_ >= 0)
        steps_->topLevelItem(running_)->setText(
            2, seconds(QDateTime::currentMSecsSinceEpoch() - runningSince_));
}

void CompileWindow::setState(int index, const QString& state)
{
    if (QTreeWidgetItem* item = steps_->topLevelItem(index))
        item->setText(1, state);
}

void CompileWindow::closeEvent(QCloseEvent* event)
{
    // Closing ends the compile: nothing runs on unseen.
    runner_->cancel();
    event->accept();
    emit closed();
}
