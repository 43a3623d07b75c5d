#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text files are 8-bit text in the locale's encoding, every line ended by
// CR LF when written. Paths are the program's own (Windows) paths; errors
// name them as given.
namespace textfile {

// CR LF, a lone CR or a lone LF end a line; a last line without an end still
// counts; a zero byte ends the text.
QStringList splitLines(const QByteArray& bytes);
QByteArray joinLines(const QStringList& lines);

// Throws Failure "Cannot open file %s".
QByteArray readFile(const QString& path);
QStringList readLines(const QString& path);

// Replaces the file whole: a temporary file beside it, then a rename, so a
// failure at any point leaves the old file as it was. Throws Failure
// "Cannot create file %s".
void writeFile(const QString& path, const QByteArray& bytes);
void writeLines(const QString& path, const QStringList& lines);

} // namespace textfile
