#pragma once

#include <QProcess>

// Ending a compiler and whatever it started. Off Windows each program runs
// as the leader of a process group of its own, which its children (and a
// Windows program's own process under Wine, whose loader keeps the group)
// stay in; ending the group ends them all, and nothing of the user's.
namespace platform {

// Before start: the program leads a group of its own; its output pipe is
// made large, so that a fast writer waits less for the reader.
void startInOwnGroup(QProcess& process);

// Kills the started program and every process still in its group, save
// Wine's own programs of the prefix (explorer, services, ...), which the
// first Windows program of a prefix starts for all that come after it. On
// Windows the program and its child processes.
void endProcessTree(qint64 pid);

} // namespace platform
