#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The program's files are 8-bit text in a Windows code page: its settings
// and option-set files in the ANSI code page, as every Windows program
// writes them, and its batch files in the OEM code page, in which the
// command interpreter reads them. Off Windows the code pages are those that
// Wine takes for the user's locale, so the files travel to and from the
// Windows program and the batch file reaches folders with accented names.
namespace platform {

enum class CodePage { Ansi, Oem };

struct LocaleCodePages {
    int oem;
    int ansi;

    bool operator==(const LocaleCodePages&) const = default;
};

// The code pages Wine takes for a POSIX locale name such as
// "sr_RS.UTF-8@latin": those of the Windows locale it names, modifier
// included; US English's for "C", "POSIX", an empty name and any that Wine
// has no Windows locale for. A Unicode-only locale's pages are UTF-8's
// (65001).
LocaleCodePages localeCodePages(const QString& localeName);

// The number of the code page in use: GetACP or GetOEMCP on Windows, else
// from the locale (LC_ALL, LC_CTYPE, LANG), as Wine takes it.
int codePageNumber(CodePage page);

// The text's bytes in the code page; nothing when a character would not
// come back from them (no "best fit" look-alikes).
std::optional<QByteArray> encodeExactly(const QString& text, int codePage);
// The first character (a surrogate pair is one) that the code page cannot
// write; empty when it writes them all.
QString firstUnwritable(const QString& text, int codePage);

// A character the code page lacks becomes "?", as Windows writes it: what
// a program receives, never what a file of the program's holds.
QByteArray encodeText(const QString& text, int codePage);
QString decodeText(const QByteArray& bytes, int codePage);

// ANSI text is written in the ANSI code page when it reads back from it
// as written, else in UTF-8: nothing typed is lost. OEM text (a batch
// file) that the code page cannot write throws Failure naming the first
// character it lacks.
QByteArray encodeText(const QString& text, CodePage page);
// ANSI text that is valid UTF-8 with bytes above 127 is read as UTF-8.
QString decodeText(const QByteArray& bytes, CodePage page);

} // namespace platform
