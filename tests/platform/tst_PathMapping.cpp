#include "platform/PathMapping.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPathMapping : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void wineLocalPath_data();
    void wineLocalPath();
    void prefixFromEnvironment();
    void prefixNotStartedYet();

private:
    QTemporaryDir prefix;
};

void TestPathMapping::initTestCase()
{
#ifdef _WIN32
    QSKIP("a Wine prefix's drives are Unix symbolic links, which Windows cannot make "
          "(QFile::link makes shortcut files there); the program maps paths only off Windows");
#endif
    // A Wine prefix as winecfg leaves it: c: relative, z: the root, and
    // drives pointing elsewhere by absolute links.
    QDir root(prefix.path());
    QVERIFY(root.mkpath("dosdevices"));
    QVERIFY(root.mkpath("drive_c"));
    QVERIFY(root.mkpath("games/q2"));
    QVERIFY(QFile::link("../drive_c", prefix.filePath("dosdevices/c:")));
    QVERIFY(QFile::link(prefix.filePath("games/q2/"), prefix.filePath("dosdevices/d:")));
    QVERIFY(QFile::link("/", prefix.filePath("dosdevices/z:")));
    // A drive whose folder is gone, like an unmounted disc.
    QVERIFY(QFile::link(prefix.filePath("gone"), prefix.filePath("dosdevices/e:")));
}

void TestPathMapping::wineLocalPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("local");

    const QString c = prefix.filePath("drive_c");
    const QString d = prefix.filePath("games/q2");
    QTest::newRow("relative link")
        << "C:\\Quake2\\baseq2\\maps\\x.bat" << c + "/Quake2/baseq2/maps/x.bat";
    QTest::newRow("lower-case drive") << "c:\\Quake2" << c + "/Quake2";
    QTest::newRow("absolute link, trailing slash") << "D:\\baseq2\\maps" << d + "/baseq2/maps";
    QTest::newRow("drive root") << "D:\\" << d + "/";
    QTest::newRow("no backslash after drive") << "D:maps\\x.map" << d + "/maps/x.map";
    QTest::newRow("root drive") << "Z:\\home\\me"
                                << "/home/me";
    QTest::newRow("missing folder") << "E:\\x.map" << prefix.filePath("gone/x.map");
    QTest::newRow("root drive, slashes") << "Z:/home/me/"
                                         << "/home/me/";
    QTest::newRow("blanks and point") << "C:\\My Maps\\a b.map" << c + "/My Maps/a b.map";
    QTest::newRow("no drive") << "/home/me/q2\\baseq2"
                              << "/home/me/q2/baseq2";
    QTest::newRow("relative, no drive") << "q2\\baseq2\\maps"
                                        << "q2/baseq2/maps";
    QTest::newRow("share") << "\\\\server\\share\\q2"
                           << "//server/share/q2";
    QTest::newRow("empty") << ""
                           << "";
}

void TestPathMapping::wineLocalPath()
{
    QFETCH(QString, path);
    QFETCH(QString, local);
    QCOMPARE(platform::wineLocalPath(path, prefix.path()), local);
}

void TestPathMapping::prefixFromEnvironment()
{
#ifdef _WIN32
    QSKIP("no Wine prefix on Windows");
#else
    const QByteArray previous = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", prefix.path().toLocal8Bit());
    const QString given = platform::winePrefix();
    const QString mapped = platform::localPath("C:\\Quake2\\x.bat");
    qunsetenv("WINEPREFIX");
    const QString fallback = platform::winePrefix();
    if (!previous.isNull())
        qputenv("WINEPREFIX", previous);

    QCOMPARE(given, prefix.path());
    QCOMPARE(mapped, prefix.filePath("drive_c/Quake2/x.bat"));
    QCOMPARE(fallback, QDir::homePath() + "/.wine");
#endif
}

void TestPathMapping::prefixNotStartedYet()
{
    // Wine makes the drive links when it first runs: until then C: and Z:
    // are where it will put them, other drives stay unmapped.
    QTemporaryDir fresh;
    const QString none = fresh.filePath("never-started");
    QCOMPARE(platform::wineLocalPath("C:\\Quake2\\x.bat", none), none + "/drive_c/Quake2/x.bat");
    QCOMPARE(platform::wineLocalPath("z:\\home\\me", none), QString("/home/me"));
    QCOMPARE(platform::wineLocalPath("D:\\q2", none), none + "/dosdevices/d:/q2");
}

QTEST_GUILESS_MAIN(TestPathMapping)
#include "tst_PathMapping.moc"
