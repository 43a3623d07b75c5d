#include "platform/ProcessGroup.h"

#ifdef _WIN32
#include <QList>
// tlhelp32.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on
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

namespace {

struct ProcessLink {
    DWORD id;
    DWORD parent;
};

QList<ProcessLink> allProcesses()
{
    QList<ProcessLink> links;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return links;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry))
        links.append({entry.th32ProcessID, entry.th32ParentProcessID});
    CloseHandle(snapshot);
    return links;
}

// When the process started; 0 if it is gone.
quint64 creationTime(DWORD id)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return 0;
    FILETIME created{};
    FILETIME unused[3]{};
    const BOOL known = GetProcessTimes(process, &created, &unused[0], &unused[1], &unused[2]);
    CloseHandle(process);
    return known ? (quint64(created.dwHighDateTime) << 32) | created.dwLowDateTime : 0;
}

} // namespace

void endProcessTree(qint64 pid)
{
    // The program and, by their parent's id, every process it started. A
    // parent's id may since belong to another process: a child must be
    // younger than its parent. (taskkill /T would do this, but Wine's
    // taskkill lacks /T.)
    const QList<ProcessLink> links = allProcesses();
    QList<DWORD> tree{DWORD(pid)};
    for (qsizetype i = 0; i < tree.size(); ++i) {
        const quint64 parentCreated = creationTime(tree.at(i));
        for (const ProcessLink& link : links) {
            if (link.parent == tree.at(i) && !tree.contains(link.id) &&
                creationTime(link.id) >= parentCreated)
                tree.append(link.id);
        }
    }
    for (const DWORD id : tree) {
        if (const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
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
