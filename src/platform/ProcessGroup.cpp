#include "platform/ProcessGroup.h"

#ifdef _WIN32
#include <QStringList>
#else
#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef _WIN32

void startInOwnGroup(QProcess&) {}

void endProcessTree(qint64 pid)
{
    // taskkill ends the tree the program started; the process itself too.
    QProcess::execute(QStringLiteral("taskkill"), {QStringLiteral("/F"), QStringLiteral("/T"),
                                                   QStringLiteral("/PID"), QString::number(pid)});
}

#else

namespace {

// The process group of a process, from /proc/<pid>/stat; -1 if gone.
pid_t groupOf(const QString& pid)
{
    QFile stat(QStringLiteral("/proc/") + pid + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // The command name in brackets may hold blanks: count from its end.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 2 ? pid_t(fields.at(2).toLong()) : -1;
}

// A program of Wine's own, run from the prefix's Windows folder.
bool isWineSystemProgram(const QString& pid)
{
    QFile commandLine(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline"));
    if (!commandLine.open(QIODevice::ReadOnly))
        return false;
    const QByteArray first = commandLine.readAll().split('\0').value(0).toLower();
    return first.startsWith("c:\\windows\\");
}

} // namespace

void startInOwnGroup(QProcess& process)
{
    process.setChildProcessModifier([] {
        ::setpgid(0, 0);
        // Only async-signal-safe calls here: fcntl is one.
        ::fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20);
    });
}

void endProcessTree(qint64 pid)
{
    const pid_t group = pid_t(pid);
    ::kill(group, SIGKILL);
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool number = false;
        const pid_t other = pid_t(entry.toInt(&number));
        if (number && other != group && groupOf(entry) == group && !isWineSystemProgram(entry))
            ::kill(other, SIGKILL);
    }
}

#endif

} // namespace platform
