#include "run/CompileOutput.h"

#include <QLocale>
#include <QMutexLocker>

namespace run {

CompileOutput::CompileOutput(const QStringList& stepNames, const QString& logPath, int linesPerLook,
                             qsizetype bytesPerLook)
    : log_(logPath), logPath_(logPath), linesPerLook_(linesPerLook), bytesPerLook_(bytesPerLook),
      stepNames_(stepNames), logProblem_(log_.problem())
{
    for (qsizetype i = 0; i < stepNames.size(); ++i) {
        stepStates_ << stateText(StepState::Waiting);
        stepNotes_ << QString();
    }
}

void CompileOutput::stepNote(int index, const QString& note)
{
    stepNotes_[index] = note;
}

void CompileOutput::stepStarted(int index, const QString& commandLine)
{
    log_.heading(commandLine);
    QMutexLocker lock(&mutex_);
    sealTail();
    unfinished_.clear();
    step_ = index;
    changed_ = true;
    if (headed_)
        ready_ << QString();
    headed_ = true;
    ready_ << QStringLiteral("> ") + commandLine;
}

void CompileOutput::linesRead(const Lines& lines)
{
    // The log is UTF-8 throughout: a Windows program's text in its code page
    // is decoded for it (plain ASCII is the same in both).
    if (lines.windowsProgram && !isPlainAscii(lines.bytes))
        log_.write(decodeLines(lines.bytes, true).toUtf8() + '\n');
    else
        log_.write(lines.bytes);
    QMutexLocker lock(&mutex_);
    changed_ = true;
    unfinished_ = lines.unfinished;
    unfinishedFromWindows_ = lines.windowsProgram;
    if (lines.count == 0)
        return;
    tail_ << lines;
    tailLines_ += lines.count;
    // What one look would not show is not kept for it.
    while (tail_.size() > 1 && tailLines_ - tail_.first().count > linesPerLook_) {
        tailLines_ -= tail_.first().count;
        omitted_ += tail_.first().count;
        tail_.removeFirst();
    }
}

void CompileOutput::stepFinished(int index, const StepResult& result)
{
    const QString state = resultText(result, stepNotes_.at(index));
    QString line; // what the view and the log say of it, besides the list
    switch (result.state) {
    case StepState::Skipped:
        stepStates_[index] = state;
        return;
    case StepState::Reused:
        stepStates_[index] =
            state + QStringLiteral(", ") + secondsText(result.saved) + QStringLiteral(" saved");
        line = stepNames_.at(index) + QLatin1Char(' ') + stepStates_.at(index);
        break;
    case StepState::Failed:
        stepStates_[index] = state + QStringLiteral(" in ") + secondsText(result.milliseconds);
        line = QStringLiteral("*** ") + stepNames_.at(index) + QStringLiteral(" failed: ") +
               result.reason;
        break;
    default:
        stepStates_[index] = state + QStringLiteral(" in ") + secondsText(result.milliseconds);
        return;
    }
    // A reused step stands where its output would: apart, as a heading.
    const bool apart = result.state == StepState::Reused;
    log_.write((apart ? QByteArrayLiteral("\n") : QByteArray()) + line.toUtf8() + '\n');
    QMutexLocker lock(&mutex_);
    sealTail();
    if (apart && std::exchange(headed_, true))
        ready_ << QString();
    ready_ << line;
    changed_ = true;
}

void CompileOutput::finished(bool allSucceeded)
{
    // The step list closes the log, as the window shows it.
    log_.write("\n");
    for (qsizetype i = 0; i < stepNames_.size(); ++i)
        log_.write((stepNames_.at(i) + QStringLiteral(": ") + stepStates_.at(i) + '\n').toUtf8());
    log_.finish();
    QString problem;
    {
        QMutexLocker lock(&mutex_);
        logProblem_ = problem = log_.problem();
    }
    emit done(allSucceeded, problem);
}

std::optional<ViewUpdate> CompileOutput::take()
{
    QMutexLocker lock(&mutex_);
    if (!std::exchange(changed_, false))
        return std::nullopt;
    sealTail();
    return ViewUpdate{std::exchange(ready_, {}).join(QLatin1Char('\n')),
                      decodeLines(unfinished_, unfinishedFromWindows_), step_,
                      progressIn(unfinished_)};
}

QString CompileOutput::logProblem() const
{
    QMutexLocker lock(&mutex_);
    return logProblem_;
}

// Laying out text is what costs the view: a look shows at most the last
// linesPerLook lines and about bytesPerLook bytes of what came since the
// last one, and says how many it left to the log.
void CompileOutput::sealTail()
{
    if (tail_.isEmpty())
        return;
    int omitted = 0;
    const QString text = lastLines(tail_, linesPerLook_, bytesPerLook_, omitted);
    omitted_ += omitted;
    if (omitted_ > 0)
        ready_ << QStringLiteral("[... %1 lines not shown here: all are in the log]")
                      .arg(QLocale().toString(omitted_));
    ready_ << text;
    tail_.clear();
    tailLines_ = 0;
    omitted_ = 0;
}

QString resultText(const StepResult& result, const QString& note)
{
    QString text = stateText(result.state);
    if (!result.reason.isEmpty())
        text += QStringLiteral(": ") + result.reason;
    if (!note.isEmpty() && result.state != StepState::Reused)
        text += QStringLiteral(" (") + note + QLatin1Char(')');
    return text;
}

QString secondsText(qint64 milliseconds)
{
    return QString::number(double(milliseconds) / 1000.0, 'f', 1) + QStringLiteral(" s");
}

} // namespace run
