// What the program takes from the system: its own folder and the start of a
// batch file in a window of its own.
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_Platform : public QObject {
    Q_OBJECT

private slots:
    void programFolderIgnoresCurrentFolder();
    void startBatchFileWithBlanksInPath();
    void startFailsWithoutInterpreter();
};

namespace {

bool waitForFile(const QString& path)
{
    const QDeadlineTimer deadline(20000);
    while (!QFile::exists(path) && !deadline.hasExpired())
        QTest::qWait(100);
    return QFile::exists(path);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

} // namespace

void tst_Platform::programFolderIgnoresCurrentFolder()
{
    const QString before = QDir::currentPath();
    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    const QString folder = platform::programFolder();
    QDir::setCurrent(before);
    QCOMPARE(folder,
             QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator());
}

void tst_Platform::startBatchFileWithBlanksInPath()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("maps folder"));
    const QString batch = QDir::toNativeSeparators(dir.filePath("maps folder/Brushwright.bat"));
    const QString marker = dir.filePath("maps folder/ran.txt");
#ifdef _WIN32
    // The batch file really runs in the command interpreter.
    writeFile(batch, "@echo off\r\necho ran> \"%~dp0ran.txt\"\r\n");
#else
    // A stand-in wine records how it was asked to start the file.
    const QByteArray oldPath = qgetenv("PATH");
    writeFile(dir.filePath("wine"),
              "#!/bin/sh\nprintf '%s|' \"$@\" > \"" + QFile::encodeName(marker) + "\"\n");
    qputenv("PATH", QFile::encodeName(dir.path()) + ':' + oldPath);
#endif
    const bool started = platform::startBatchFile(batch);
#ifndef _WIN32
    qputenv("PATH", oldPath);
#endif
    QVERIFY(started);
    QVERIFY2(waitForFile(marker), "the batch file was not run");
#ifndef _WIN32
    QFile file(marker);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLocal8Bit(file.readAll()),
             QStringLiteral("start|/unix|") + dir.filePath("maps folder/Brushwright.bat") + '|');
#endif
}

void tst_Platform::startFailsWithoutInterpreter()
{
#ifdef _WIN32
    QSKIP("WinExec finds the command interpreter wherever Windows is: it cannot be taken away");
#else
    QTemporaryDir empty;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(empty.path()));
    const bool started = platform::startBatchFile(QStringLiteral("C:\\Quake2\\x.bat"));
    qputenv("PATH", oldPath);
    QVERIFY(!started);
#endif
}

QTEST_GUILESS_MAIN(tst_Platform)
#include "tst_Platform.moc"
