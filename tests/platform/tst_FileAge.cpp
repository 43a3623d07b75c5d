#include "platform/FileAge.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>

namespace {

void resetZone()
{
#ifdef _WIN32
    _tzset();
#else
    tzset();
#endif
}

} // namespace

class TestFileAge : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void packDosDateTime_data();
    void packDosDateTime();
    void fileAge_data();
    void fileAge();
    void twoSecondSteps_data();
    void twoSecondSteps();
    void notAFile();
    void throughWinePrefix_data();
    void throughWinePrefix();

private:
    void touch(const QString& path, const QDateTime& time);

    QTemporaryDir dir;
    QByteArray previousZone;
};

void TestFileAge::initTestCase()
{
    // A zone far from UTC with a half-hour offset: a file age taken in UTC,
    // or with the offset cut to whole hours, shows up as a wrong value.
    previousZone = qgetenv("TZ");
    qputenv("TZ", "BWT-5:30");
    resetZone();
    QCOMPARE(QDateTime(QDate(2020, 6, 15), QTime(12, 0)).offsetFromUtc(), 5 * 3600 + 1800);
}

void TestFileAge::cleanupTestCase()
{
    if (previousZone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", previousZone);
    resetZone();
}

void TestFileAge::packDosDateTime_data()
{
    QTest::addColumn<QList<int>>("when");
    QTest::addColumn<qint64>("packed");

    QTest::newRow("first day") << QList<int>{1980, 1, 1, 0, 0, 0} << qint64(0x00210000);
    QTest::newRow("every field") << QList<int>{2020, 6, 15, 13, 45, 30} << qint64(0x50CF6DAF);
    QTest::newRow("odd second rounds down")
        << QList<int>{2020, 6, 15, 13, 45, 31} << qint64(0x50CF6DAF);
    QTest::newRow("second 1") << QList<int>{1980, 1, 1, 0, 0, 1} << qint64(0x00210000);
    QTest::newRow("end of day") << QList<int>{1999, 12, 31, 23, 59, 59} << qint64(0x279FBF7D);
    QTest::newRow("last year") << QList<int>{2107, 12, 31, 23, 59, 59} << qint64(-6307971);
    QTest::newRow("last year start") << QList<int>{2107, 1, 1, 0, 0, 0} << qint64(-31391744);
    QTest::newRow("before 1980") << QList<int>{1979, 12, 31, 23, 59, 58} << qint64(-1);
    QTest::newRow("after 2107") << QList<int>{2108, 1, 1, 0, 0, 0} << qint64(-1);
    QTest::newRow("1975") << QList<int>{1975, 6, 1, 12, 0, 0} << qint64(-1);
}

void TestFileAge::packDosDateTime()
{
    QFETCH(QList<int>, when);
    QFETCH(qint64, packed);
    QCOMPARE(
        qint64(platform::packDosDateTime(when[0], when[1], when[2], when[3], when[4], when[5])),
        packed);
}

void TestFileAge::touch(const QString& path, const QDateTime& time)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

void TestFileAge::fileAge_data()
{
    QTest::addColumn<QDateTime>("modified");
    QTest::addColumn<qint64>("age");

    // Local times; the packed value holds them as the clock showed them.
    QTest::newRow("afternoon") << QDateTime(QDate(2020, 6, 15), QTime(13, 45, 31))
                               << qint64(0x50CF6DAF);
    QTest::newRow("just after midnight")
        << QDateTime(QDate(2021, 1, 1), QTime(0, 10, 0)) << qint64(0x52210140);
    QTest::newRow("first step") << QDateTime(QDate(1980, 1, 1), QTime(0, 0, 1, 900))
                                << qint64(0x00210000);
    QTest::newRow("1975") << QDateTime(QDate(1975, 6, 1), QTime(12, 0)) << qint64(-1);
    QTest::newRow("before 1980 by a second")
        << QDateTime(QDate(1979, 12, 31), QTime(23, 59, 59)) << qint64(-1);
    QTest::newRow("after 2107") << QDateTime(QDate(2108, 3, 1), QTime(12, 0)) << qint64(-1);
}

void TestFileAge::fileAge()
{
    QFETCH(QDateTime, modified);
    QFETCH(qint64, age);
    const QString path = dir.filePath("age.map");
    touch(path, modified);
    QCOMPARE(qint64(platform::fileAge(path)), age);
}

void TestFileAge::twoSecondSteps_data()
{
    QTest::addColumn<QTime>("first");
    QTest::addColumn<QTime>("second");
    QTest::addColumn<bool>("same");

    QTest::newRow("same step") << QTime(10, 0, 0) << QTime(10, 0, 1, 999) << true;
    QTest::newRow("next step") << QTime(10, 0, 1, 999) << QTime(10, 0, 2) << false;
    QTest::newRow("next minute") << QTime(10, 0, 59) << QTime(10, 1, 0) << false;
}

void TestFileAge::twoSecondSteps()
{
    QFETCH(QTime, first);
    QFETCH(QTime, second);
    QFETCH(bool, same);
    const QDate day(2024, 2, 29);
    const QString path = dir.filePath("steps.map");
    touch(path, QDateTime(day, first));
    const qint32 before = platform::fileAge(path);
    touch(path, QDateTime(day, second));
    const qint32 after = platform::fileAge(path);
    QVERIFY(before != -1);
    QCOMPARE(before == after, same);
}

void TestFileAge::notAFile()
{
    QCOMPARE(platform::fileAge(dir.path()), -1);
    QCOMPARE(platform::fileAge(dir.filePath("missing.map")), -1);
    QCOMPARE(platform::fileAge(dir.filePath("missing/x.map")), -1);
    QCOMPARE(platform::fileAge(QString()), -1);
}

void TestFileAge::throughWinePrefix_data()
{
#ifdef _WIN32
    QSKIP("the Windows program reads Windows paths as they are");
#endif
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("found");

    // Drive links as Wine makes them, an absolute one, one whose folder is
    // gone, and a prefix that Wine has not run in yet (no links at all).
    QDir root(dir.path());
    for (const char* folder : {"wine/dosdevices", "wine/drive_c/Quake2/maps", "games/q2/maps",
                               "fresh/drive_c/Quake2/maps"})
        QVERIFY(root.mkpath(folder));
    QVERIFY(QFile::link("../drive_c", dir.filePath("wine/dosdevices/c:")));
    QVERIFY(QFile::link(dir.filePath("games/q2"), dir.filePath("wine/dosdevices/d:")));
    QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("wine/dosdevices/e:")));
    QVERIFY(QFile::link("/", dir.filePath("wine/dosdevices/z:")));
    const QDateTime when(QDate(2020, 6, 15), QTime(13, 45, 31));
    for (const char* file : {"wine/drive_c/Quake2/maps/a.map", "games/q2/maps/b.map",
                             "fresh/drive_c/Quake2/maps/a.map"})
        touch(dir.filePath(file), when);

    const QString wine = dir.filePath("wine");
    const QString fresh = dir.filePath("fresh");
    QString rooted = dir.filePath("games/q2/maps/b.map");
    rooted.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QTest::newRow("relative link") << wine << "C:\\Quake2\\maps\\a.map" << true;
    QTest::newRow("absolute link") << wine << "d:\\maps\\b.map" << true;
    QTest::newRow("root drive") << wine << "Z:" + rooted << true;
    QTest::newRow("missing file") << wine << "C:\\Quake2\\maps\\none.map" << false;
    QTest::newRow("folder") << wine << "C:\\Quake2\\maps" << false;
    QTest::newRow("drive folder gone") << wine << "E:\\maps\\b.map" << false;
    QTest::newRow("no such drive") << wine << "F:\\a.map" << false;
    QTest::newRow("new prefix, C:") << fresh << "C:\\Quake2\\maps\\a.map" << true;
    QTest::newRow("new prefix, Z:") << fresh << "Z:" + rooted << true;
    QTest::newRow("new prefix, D:") << fresh << "D:\\maps\\b.map" << false;
}

void TestFileAge::throughWinePrefix()
{
    QFETCH(QString, prefix);
    QFETCH(QString, path);
    QFETCH(bool, found);
    const QByteArray previous = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", prefix.toLocal8Bit());
    const qint32 age = platform::fileAge(path);
    if (previous.isNull())
        qunsetenv("WINEPREFIX");
    else
        qputenv("WINEPREFIX", previous);
    QCOMPARE(qint64(age), found ? qint64(0x50CF6DAF) : qint64(-1));
}

QTEST_GUILESS_MAIN(TestFileAge)
#include "tst_FileAge.moc"
