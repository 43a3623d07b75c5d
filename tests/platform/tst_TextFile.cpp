#include "platform/Failure.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The Failure text thrown by the call, or "<none>".
QString failureOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Failure& failure) {
        return failure.text();
    }
    return "<none>";
}

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    void splitLines_data();
    void splitLines();
    void joinLines();
    void readLines();
    void readFailure_data();
    void readFailure();
    void readStopsEarly_data();
    void readStopsEarly();
    void writeReplacesWhole();
    void writeFailure_data();
    void writeFailure();
    void writeFailsHalfWay();
    void windowsPathsGoThroughWine();

private:
    QTemporaryDir dir;
};

void TestTextFile::splitLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("one line end") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("lone LF") << QByteArray("\n") << QStringList{""};
    QTest::newRow("no line end") << QByteArray("a") << QStringList{"a"};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("last line unended") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty line kept") << QByteArray("a\r\n\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("LF then CR") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("mixed") << QByteArray("a\nb\rc\r\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("blanks kept") << QByteArray(" a \r\n\t") << QStringList{" a ", "\t"};
    QTest::newRow("zero byte ends text")
        << QByteArray("a\r\nb\0c\r\nd", 9) << QStringList{"a", "b"};
    QTest::newRow("zero byte first") << QByteArray("\0a", 2) << QStringList();
}

void TestTextFile::splitLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(textfile::splitLines(bytes), lines);
}

void TestTextFile::joinLines()
{
    QCOMPARE(textfile::joinLines({}), QByteArray());
    QCOMPARE(textfile::joinLines({""}), QByteArray("\r\n"));
    QCOMPARE(textfile::joinLines({"a", "", "b c"}), QByteArray("a\r\n\r\nb c\r\n"));
}

void TestTextFile::readLines()
{
    const QString path = dir.filePath("read.txt");
    put(path, "qbsp3 m\r\npause\nlast");
    QCOMPARE(textfile::readLines(path), (QStringList{"qbsp3 m", "pause", "last"}));
    QCOMPARE(textfile::readFile(path), QByteArray("qbsp3 m\r\npause\nlast"));
    // A map reader says where a stray zero byte is; the text readers stop.
    put(path, QByteArray("{\n\0}\n", 5));
    QCOMPARE(textfile::readBytes(path), QByteArray("{\n\0}\n", 5));
    QCOMPARE(textfile::readFile(path), QByteArray("{\n"));
}

void TestTextFile::readFailure_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing") << dir.filePath("missing.txt");
    QTest::newRow("missing folder") << dir.filePath("none/x.txt");
    QTest::newRow("folder") << dir.path();
#ifndef _WIN32
    // Opening a pipe would wait for a writer for good; a device has no end.
    const QString fifo = dir.filePath("settings.builtin");
    if (!QFile::exists(fifo))
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QTest::newRow("pipe") << fifo;
    const QString zero = dir.filePath("lastused.builtin");
    if (!QFile::exists(zero))
        QVERIFY(QFile::link("/dev/zero", zero));
    QTest::newRow("link to a device") << zero;
#endif
}

void TestTextFile::readFailure()
{
    QFETCH(QString, path);
    const QString expected = "Cannot open file " + path;
    QCOMPARE(failureOf([&] { textfile::readFile(path); }), expected);
    QCOMPARE(failureOf([&] { textfile::readLines(path); }), expected);
    QCOMPARE(failureOf([&] { textfile::readBytes(path); }), expected);
}

void TestTextFile::readStopsEarly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<QStringList>("lines");
    // Large enough that reading all of it would show: 64 MiB of zero bytes
    // after a line, or as many lines of text after those wanted.
    const QByteArray zeros(64 << 20, '\0');
    QByteArray tail;
    for (int i = 0; i < 1 << 20; ++i)
        tail += "garbage line that no reader wants\r\n";
    QTest::newRow("zero bytes") << "a\r\n" + zeros << -1 << QStringList{"a"};
    QTest::newRow("after the lines wanted") << "a\rb\n" + tail << 2 << QStringList{"a", "b"};
    QTest::newRow("fewer lines") << QByteArray("a\r\nb") << 10 << QStringList{"a", "b"};
}

void TestTextFile::readStopsEarly()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, maxLines);
    QFETCH(QStringList, lines);
    const QString path = dir.filePath("big.builtin");
    put(path, bytes);
    QCOMPARE(textfile::readLines(path, maxLines), lines);
    QVERIFY(textfile::readFile(path, maxLines).size() < 1 << 20);
}

void TestTextFile::writeReplacesWhole()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("x.bat");
    textfile::writeLines(path, {"qbsp3 -chop 240 m", "pause"});
    QCOMPARE(contents(path), QByteArray("qbsp3 -chop 240 m\r\npause\r\n"));
    // A shorter second write must leave no tail of the first.
    textfile::writeFile(path, "cls");
    QCOMPARE(contents(path), QByteArray("cls"));
    textfile::writeFile(path, QByteArray());
    QCOMPARE(contents(path), QByteArray());
    // In pieces and unsynced, with the file's permissions kept.
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(path, permissions));
    textfile::writeFile(path, {"IBSP", "", "&38"}, textfile::Durability::Unsynced);
    QCOMPARE(contents(path), QByteArray("IBSP&38"));
#ifndef _WIN32                                                // only read-only is kept there
    QCOMPARE(QFile::permissions(path) & 0x7077, permissions); // owner, group, others
#endif
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"x.bat"});
}

void TestTextFile::writeFailure_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing folder") << "none/x.bat";
    QTest::newRow("parent is a file") << "old.bat/x.bat";
    QTest::newRow("path is a folder") << "sub";
}

void TestTextFile::writeFailure()
{
    QFETCH(QString, relative);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("sub"));
    const QString old = folder.filePath("old.bat");
    put(old, "keep\r\n");
    const QString path = folder.filePath(relative);
    const QString expected = "Cannot create file " + path;
    QCOMPARE(failureOf([&] { textfile::writeFile(path, "new"); }), expected);
    QCOMPARE(failureOf([&] { textfile::writeLines(path, {"new"}); }), expected);
    QCOMPARE(failureOf([&] { textfile::writeFile(path, {"new"}, textfile::Durability::Unsynced); }),
             expected);
    QCOMPARE(contents(old), QByteArray("keep\r\n"));
    QVERIFY(QDir(folder.filePath("sub"))
                .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{"old.bat", "sub"}));
}

void TestTextFile::writeFailsHalfWay()
{
#ifdef _WIN32
    QSKIP("needs a file-size limit, which Windows does not have");
#else
    // The disk "fills up" after 16 bytes: the old file must stay whole and
    // no truncated file may take its place.
    QTemporaryDir folder;
    const QString path = folder.filePath("settings.builtin");
    put(path, "old settings\r\n");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &limit);
    const QString failure = failureOf([&] { textfile::writeFile(path, QByteArray(4096, 'n')); });
    const QByteArray big(4096, 'n');
    const QString unsynced = failureOf([&] {
        textfile::writeFile(path, {big, big}, textfile::Durability::Unsynced);
    });
    setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(failure, "Cannot create file " + path);
    QCOMPARE(unsynced, failure);
    QCOMPARE(contents(path), QByteArray("old settings\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"settings.builtin"});
#endif
}

void TestTextFile::windowsPathsGoThroughWine()
{
#ifdef _WIN32
    QSKIP("Wine mapping is used off Windows only");
#else
    // Files are named by their Windows paths; errors must show those, not
    // the folder Wine maps them to.
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath("dosdevices"));
    QVERIFY(QDir(prefix.path()).mkpath("drive_c/q2"));
    QVERIFY(QFile::link(prefix.filePath("drive_c"), prefix.filePath("dosdevices/c:")));
    const QByteArray previous = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", prefix.path().toLocal8Bit());

    textfile::writeLines("C:\\q2\\go.bat", {"cls"});
    const QByteArray written = contents(prefix.filePath("drive_c/q2/go.bat"));
    const QStringList read = textfile::readLines("C:\\q2\\go.bat");
    const QString readError = failureOf([] { textfile::readFile("C:\\q2\\no.bat"); });
    const QString writeError = failureOf([] { textfile::writeFile("C:\\none\\x.bat", "x"); });

    if (previous.isNull())
        qunsetenv("WINEPREFIX");
    else
        qputenv("WINEPREFIX", previous);
    QCOMPARE(written, QByteArray("cls\r\n"));
    QCOMPARE(read, QStringList{"cls"});
    QCOMPARE(readError, QString("Cannot open file C:\\q2\\no.bat"));
    QCOMPARE(writeError, QString("Cannot create file C:\\none\\x.bat"));
#endif
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_TextFile.moc"
