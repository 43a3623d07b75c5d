#pragma once

#include <QString>

// The command line's output. A Windows program of the GUI subsystem has no
// console: the one it was started from is taken over, so that what it
// prints reaches it (standard output and error that were redirected stay
// as they are). Elsewhere nothing changes.
namespace platform {

void attachParentConsole();

// Writes the text in UTF-8 and flushes.
void writeStandardOutput(const QString& text);
void writeStandardError(const QString& text);

// Whether standard output (or error) is a terminal or console, not a pipe
// or a file.
bool standardOutputIsTerminal();
bool standardErrorIsTerminal();

} // namespace platform
