#include "cli/OutputPrinter.h"

namespace cli {

void OutputPrinter::closeLine()
{
    // What follows starts on a line of its own.
    if (shown_ >= 0)
        write_(QStringLiteral("\n"));
    shown_ = -1;
}

void OutputPrinter::text(const QString& text)
{
    closeLine();
    write_(text);
}

void OutputPrinter::output(const run::Lines& lines)
{
    QString text;
    if (lines.count > 0)
        text = run::decodeLines(lines.bytes, lines.windowsProgram) + QLatin1Char('\n');
    if (!terminal_) {
        if (!text.isEmpty())
            write_(text);
        return;
    }
    const QString unfinished = run::decodeLines(lines.unfinished, lines.windowsProgram);
    if (text.isEmpty() && unfinished.isEmpty() && shown_ < 0)
        return;
    // Back to the start of the line shown and over it, with blanks where
    // the first line written is shorter.
    QString out = text + unfinished;
    if (shown_ >= 0) {
        qsizetype firstEnd = out.indexOf(QLatin1Char('\n'));
        if (firstEnd < 0)
            firstEnd = out.size();
        if (firstEnd < shown_)
            out.insert(firstEnd, QString(shown_ - firstEnd, QLatin1Char(' ')));
        out.prepend(QLatin1Char('\r'));
    }
    if (text.isEmpty() && unfinished.isEmpty()) {
        // The line was rewritten to nothing: the cursor back at its start.
        out += QLatin1Char('\r');
        shown_ = 0;
    } else {
        shown_ = lines.unfinished.isEmpty() ? -1 : unfinished.size();
    }
    write_(out);
}

} // namespace cli
