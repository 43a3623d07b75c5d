#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

namespace run {

// Turns a program's output, which comes in chunks of any size, into lines:
// a line ends at LF, CR or CR LF; the partial last line is kept for the next
// chunk. Each line is decoded once, when it is complete: as UTF-8, or, from
// a Windows program, in the ANSI code page (UTF-8 where it is valid). Bytes
// that are no text (invalid sequences, control characters) show as U+FFFD,
// never as some other character. A line that grows past maxLineBytes without
// an end is passed on in pieces, so no output holds on to memory.
class LineSplitter {
public:
    static constexpr qsizetype maxLineBytes = 4096;

    explicit LineSplitter(bool windowsProgram = false) : windowsProgram_(windowsProgram) {}

    QStringList add(QByteArrayView chunk);
    // The partial last line, once the output has ended.
    QStringList finish();

    QString decode(QByteArrayView line) const;

private:
    QByteArray pending_;
    bool windowsProgram_;
    bool afterCr_ = false;
};

} // namespace run
