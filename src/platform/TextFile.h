#pragma once

#include "platform/CodePage.h"
#include "platform/FileWriter.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// Text files are 8-bit text in a Windows code page (the ANSI one unless a
// caller says otherwise), every line ended by CR LF when written. Paths are
// the program's own (Windows) paths; errors name them as given.
namespace textfile {

using platform::CodePage;

// CR LF, a lone CR or a lone LF end a line; a last line without an end still
// counts; a zero byte ends the text.
QStringList splitLines(const QByteArray& bytes, CodePage page = CodePage::Ansi);
// Written as platform::encodeText writes the text: an ANSI file in UTF-8
// when the code page lacks a character; an OEM one not at all (Failure).
QByteArray joinLines(const QStringList& lines, CodePage page = CodePage::Ansi);

// The bytes of a regular file up to its first zero byte, reading no more of
// it than the first maxLines lines need (all of it when negative). Anything
// but a regular file (a folder, a pipe, a device) throws Failure "Cannot
// open file %s", as a file that cannot be opened does.
QByteArray readFile(const QString& path, int maxLines = -1);
QStringList readLines(const QString& path, int maxLines = -1);
// Every byte of a regular file, zero bytes too, for readers that report
// where a file goes wrong. Refuses and throws as readFile does.
QByteArray readBytes(const QString& path);

// Replaces the file whole: a temporary file beside it, then a rename, so a
// failure at any point leaves the old file as it was. Throws Failure
// "Cannot create file %s".
void writeFile(const QString& path, const QByteArray& bytes);
// The same, from pieces written one after another (platform::FileWriter).
using platform::Durability;
void writeFile(const QString& path, const QList<QByteArrayView>& pieces,
               Durability durability = Durability::Synced);
void writeLines(const QString& path, const QStringList& lines, CodePage page = CodePage::Ansi);

} // namespace textfile
