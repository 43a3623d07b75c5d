#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>

namespace {
rlimit savedLimit{};
}
#endif

FakeWine::FakeWine() : oldPath_(qgetenv("PATH"))
{
    const QString script = dir_.filePath(QStringLiteral("wine"));
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the stand-in wine");
    file.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"$(dirname "
               "\"$0\")/calls.log\"\n"
               "echo >> \"$(dirname \"$0\")/calls.log\"\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    qputenv("PATH", QFile::encodeName(dir_.path()) + ':' + oldPath_);
}

FakeWine::~FakeWine()
{
    qputenv("PATH", oldPath_);
}

void FakeWine::makeMissing()
{
    QFile::remove(dir_.filePath(QStringLiteral("wine")));
    qputenv("PATH", QFile::encodeName(dir_.path()));
}

QList<QStringList> FakeWine::calls() const
{
    // The stand-in runs detached: give it a moment to write.
    const QString log = dir_.filePath(QStringLiteral("calls.log"));
    QList<QStringList> result;
    for (int attempt = 0; attempt < 50; ++attempt) {
        QFile file(log);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            if (text.endsWith("\n\n"))
                break;
        }
        QTest::qWait(20);
    }
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    QStringList current;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty()) {
            if (!current.isEmpty())
                result.append(current);
            current.clear();
        } else {
            current << QString::fromLocal8Bit(line);
        }
    }
    return result;
}

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

QByteArray crlf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLocal8Bit() + "\r\n";
    return bytes;
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
