#pragma once

#include <QString>
#include <QStringList>

// The program's command line beyond the main window: what --help and
// --version print, and brushwright --compile.
namespace cli {

enum class Command { Window, Help, Version, Report, Compile, View };

// What the arguments (the program's name first) ask for.
Command commandOf(int argc, char* argv[]);

QString helpText();
QString versionText();

// Runs --compile with its own event loop and no GUI platform; the exit
// code.
int runCompileCommand(int argc, char* argv[]);

} // namespace cli
