#pragma once

#include <QChar>
#include <QString>

// What the program needs of the system it runs on, apart from file age and
// path mapping.
namespace platform {

// The user locale's decimal separator; a point where the locale names none.
QChar decimalSeparator();

// The folder of the running program file, ending in a folder separator,
// whatever the current folder is.
QString programFolder();

// Starts a batch file in a console window of its own and does not wait:
// the command interpreter, started in the file's folder, is given only the
// file's name. It reads its command line as its own syntax (%NAME%
// expanded, & splitting), which the folder must not meet. On Windows
// through WinExec; elsewhere through Wine ("wine start"). False when it
// could not be started.
bool startBatchFile(const QString& path);

} // namespace platform
