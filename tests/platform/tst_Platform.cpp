// What the program takes from the system: its own folder and the start of a
// batch file in a window of its own.
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_Platform : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void programFolderIgnoresCurrentFolder();
    void startBatchFile_data();
    void startBatchFile();
    void startFailsWithoutInterpreter();

private:
    QTemporaryDir dir_;
};

namespace {

bool waitForFile(const QString& path, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!QFile::exists(path) && !deadline.hasExpired())
        QTest::qWait(100);
    return QFile::exists(path);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The program's own path of a local file: on Windows the native one, else
// the one Wine gives it (its Z: drive is the root).
QString programPath(const QString& local)
{
#ifdef _WIN32
    return QDir::toNativeSeparators(local);
#else
    return QStringLiteral("Z:") + QString(local).replace(QLatin1Char('/'), QLatin1Char('\\'));
#endif
}

} // namespace

void tst_Platform::initTestCase()
{
#ifndef _WIN32
    // The batch file runs in Wine's real interpreter, in a prefix of the
    // test's own that Wine has not started yet.
    QVERIFY2(!QStandardPaths::findExecutable("wine").isEmpty(),
             "wine is missing: scripts/deps.sh installs it");
    qputenv("WINEPREFIX", QFile::encodeName(dir_.filePath("prefix")));
    qputenv("WINEDEBUG", "-all");
#endif
}

void tst_Platform::cleanupTestCase()
{
#ifndef _WIN32
    QProcess::execute("wineserver", {"-k"});
#endif
}

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

void tst_Platform::startBatchFile_data()
{
    // Folders the interpreter would read as its own syntax, were it given
    // the path.
    QTest::addColumn<QString>("folder");
    QTest::newRow("blank") << "maps folder";
    QTest::newRow("%OS%") << "p%OS%x";
    QTest::newRow("& ^ ( )") << "a&b^(c)";
    QTest::newRow("accents") << QStringLiteral("J\u00f6rg \u00e9");
}

void tst_Platform::startBatchFile()
{
    QFETCH(QString, folder);
    QVERIFY(QDir(dir_.path()).mkpath(folder));
    const QString local = dir_.filePath(folder + "/Brushwright.bat");
    const QString marker = dir_.filePath(folder + "/ran.txt");
    // It runs in its own folder.
    writeFile(local, "@echo off\r\necho ran> ran.txt\r\n");
    QVERIFY(platform::startBatchFile(programPath(local)));
    // The first start under Wine makes the prefix.
    QVERIFY2(waitForFile(marker, 90000), "the batch file did not run");
}

void tst_Platform::startFailsWithoutInterpreter()
{
#ifdef _WIN32
    QSKIP("WinExec finds the command interpreter wherever Windows is: it cannot be taken away");
#else
    QTemporaryDir empty;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(empty.path()));
    // The folder exists: only the interpreter is missing.
    const bool started = platform::startBatchFile(programPath(dir_.filePath("x.bat")));
    qputenv("PATH", oldPath);
    QVERIFY(!started);
#endif
}

QTEST_GUILESS_MAIN(tst_Platform)
#include "tst_Platform.moc"
