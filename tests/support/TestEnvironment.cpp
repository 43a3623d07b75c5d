#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
rlimit savedLimit{};
}
#endif

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QStringList optionSetLines(const QStringList& fromLine26, const QString& header)
{
    QStringList lines{header};
    for (int line = 1; line <= 25; ++line)
        lines << QStringLiteral("0");
    return lines + fromLine26;
}

QByteArray crlf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLocal8Bit() + "\r\n";
    return bytes;
}

bool makePipe(const QString& path)
{
#ifdef _WIN32
    Q_UNUSED(path);
    return false;
#else
    return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
#endif
}

void stampFile(const QString& path, const QDateTime& time)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) ||
        !file.setFileTime(time, QFileDevice::FileModificationTime))
        qFatal("cannot stamp %s", qPrintable(path));
}

WriteFailure::WriteFailure(const QString& path) : path_(path)
{
#ifdef _WIN32
    QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::ReadUser);
#else
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &savedLimit);
    rlimit limit = savedLimit;
    limit.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &limit);
#endif
}

WriteFailure::~WriteFailure()
{
#ifdef _WIN32
    QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                     QFileDevice::ReadUser | QFileDevice::WriteUser);
#else
    setrlimit(RLIMIT_FSIZE, &savedLimit);
#endif
}
