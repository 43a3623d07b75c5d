#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace run {

// Complete lines of output as a terminal shows them, each ending in LF, and
// the line still being written.
struct Lines {
    QByteArray bytes;
    int count = 0;
    bool windowsProgram = false;
    // As it stands now, without its end; empty when the last line ended.
    QByteArray unfinished;
};

// Turns a program's output, which comes in chunks of any size, into lines,
// as a terminal does: a line ends at LF; a CR returns to the line's start,
// so that what follows overwrites it (a progress bar that updates in place
// gives one line, in its last state; CR LF is a plain line end). A line
// that grows past maxLineBytes without an end is passed on in pieces, so no
// output holds on to memory. A compiler may write half a million lines,
// most of which nobody reads before the next ones push them out of the
// view: lines stay bytes, one block per chunk, and are decoded once, when
// they are shown (decodeLines).
class LineSplitter {
public:
    static constexpr qsizetype maxLineBytes = 4096;

    explicit LineSplitter(bool windowsProgram = false) : windowsProgram_(windowsProgram) {}

    Lines add(QByteArrayView chunk);
    // The partial last line, once the output has ended.
    Lines finish();

private:
    void write(Lines& lines, QByteArrayView text);
    void overwrite(Lines& lines, QByteArrayView text);

    QByteArray current_; // the line being written
    qsizetype column_ = 0;
    bool windowsProgram_;
};

// Lines ending in LF as text, without the last LF: as UTF-8, or, from a
// Windows program, in the ANSI code page (UTF-8 where it is valid). Bytes
// that are no text (invalid sequences, control characters) show as U+FFFD,
// never as some other character.
QString decodeLines(QByteArrayView bytes, bool windowsProgram);

bool isPlainAscii(QByteArrayView bytes);

// How far a compiler says it is with the pass this line shows, in per cent,
// or -1: ericw-tools' "[ 47%]  est: 00:00:03", id's and q2tool's
// "0...1...2..." (each digit a tenth done).
int progressIn(QByteArrayView line);

// How often c occurs, and whether text does, in bytes: fast enough for
// everything a compiler writes.
qsizetype countOf(QByteArrayView bytes, char c);
bool holds(QByteArrayView bytes, QByteArrayView text);

// The last lines of the blocks, at most maxLines and about maxBytes,
// decoded; omitted is set to the number of lines left out before them.
QString lastLines(const QList<Lines>& blocks, int maxLines, qsizetype maxBytes, int& omitted);

} // namespace run
