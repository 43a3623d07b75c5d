#include "StartRecorder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

QList<QStringList> readCalls(const QString& path)
{
    QFile file(path);
    QList<QStringList> result;
    if (!file.open(QIODevice::ReadOnly))
        return result;
    QStringList current;
    for (QByteArray line : file.readAll().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty()) {
            current << QString::fromLocal8Bit(line);
        } else if (!current.isEmpty()) {
            result.append(current);
            current.clear();
        }
    }
    return result;
}

} // namespace

StartRecorder::StartRecorder(const QString& mapsFolder)
    : mapsFolder_(mapsFolder), oldPath_(qgetenv("PATH"))
{
#ifdef _WIN32
    const QString standIn = QCoreApplication::applicationDirPath() + "/fakecompiler.exe";
    for (const char* name : {"qbsp3.exe", "qvis3.exe", "qrad3.exe"})
        QFile::copy(standIn, QDir(mapsFolder).filePath(QString::fromLatin1(name)));
#else
    QFile script(wineFolder_.filePath(QStringLiteral("wine")));
    if (!script.open(QIODevice::WriteOnly))
        qFatal("cannot write the stand-in wine");
    script.write("#!/bin/sh\n"
                 "{ for a in \"$@\" \"$PWD\"; do printf '%s\\n' \"$a\"; done; echo; }"
                 " >> \"$(dirname \"$0\")/calls.log\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    qputenv("PATH", QFile::encodeName(wineFolder_.path()) + ':' + oldPath_);
#endif
}

StartRecorder::~StartRecorder()
{
    qputenv("PATH", oldPath_);
}

QString StartRecorder::logPath() const
{
#ifdef _WIN32
    return QDir(mapsFolder_).filePath(QStringLiteral("calls.log"));
#else
    return wineFolder_.filePath(QStringLiteral("calls.log"));
#endif
}

QList<QStringList> StartRecorder::calls(int expected, int timeoutMs) const
{
    // The batch file runs detached: give it time to get there.
    const QDeadlineTimer deadline(timeoutMs);
    QList<QStringList> result = readCalls(logPath());
    while (result.size() < qMax(expected, 1) && !deadline.hasExpired()) {
        QTest::qWait(50);
        result = readCalls(logPath());
    }
    return result;
}

int StartRecorder::runs(int expected) const
{
    // Nothing expected: wait long enough for a run that should not come.
    const int timeoutMs = expected == 0 ? 1500 : 10000;
    int count = 0;
    for (const QStringList& call : calls(expected, timeoutMs)) {
#ifdef _WIN32
        count += call.constFirst() == QLatin1String("qbsp3");
#else
        count += call.constFirst() == QLatin1String("start");
#endif
    }
    return count;
}

QStringList StartRecorder::wineStart(const QString& batchFile)
{
    const QFileInfo file(batchFile);
    return {"start", "cmd", "/c", file.fileName(), file.absolutePath()};
}

void StartRecorder::makeStartFail()
{
    QFile::remove(wineFolder_.filePath(QStringLiteral("wine")));
    qputenv("PATH", QFile::encodeName(wineFolder_.path()));
}
