#pragma once

#include "batch/BatchOptions.h"
#include "batch/CompileStep.h"
#include "settings/CompilerSettings.h"

#include <QChar>
#include <QStringList>

namespace batch {

// The lines of the compile batch file, without line ends.
QStringList batchLines(const BatchOptions& options,
                       const settings::CompilerSettings& compilers = {});

// The enabled compilers in order, then the game if it is to be started:
// each program as the suite names it (a full Windows path where a
// compilers folder or a game program is set), with the suite's switches.
QList<CompileStep> compileSteps(const BatchOptions& options,
                                const settings::CompilerSettings& compilers = {});

// A step as one command line: the program, quoted where it is a path, then
// its arguments, each followed by one blank but the last. Not yet escaped
// for the interpreter.
QString commandText(const CompileStep& step);

// "C:" for "C:\Quake2", "\\server\share" for a UNC path, else empty.
QString driveText(const QString& gameDirectory);

// The game directory without its drive root: from the fourth character on.
QString directoryTail(const QString& gameDirectory);

// General decimal form: at most 15 significant digits, no trailing zeros, no
// separator for whole numbers, no exponent.
QString formatDecimal(double value, QChar separator);

// Makes a line safe for the command interpreter: outside double quotes a
// caret goes before & | < > and ^; % is doubled everywhere. The programs
// then receive the text as it was typed. A line break (a map file's name
// may hold one) becomes a blank, so that no text adds a line.
QString escapeCommandLine(const QString& line);

} // namespace batch
