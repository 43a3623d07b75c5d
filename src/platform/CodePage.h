#pragma once

#include <QByteArray>
#include <QString>

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

// The code pages of a POSIX locale name such as "de_DE.UTF-8"; those of
// US English for "C", "POSIX", an empty or an unknown name.
LocaleCodePages localeCodePages(const QString& localeName);

// The number of the code page in use: GetACP or GetOEMCP on Windows, else
// from the locale (LC_ALL, LC_CTYPE, LANG), as Wine takes it.
int codePageNumber(CodePage page);

// A character the code page lacks becomes "?", as Windows writes it.
QByteArray encodeText(const QString& text, int codePage);
QString decodeText(const QByteArray& bytes, int codePage);

QByteArray encodeText(const QString& text, CodePage page);
// Off Windows, ANSI text that is valid UTF-8 with bytes above 127 was
// written by an earlier Linux build, in UTF-8, and is read as such.
QString decodeText(const QByteArray& bytes, CodePage page);

} // namespace platform
