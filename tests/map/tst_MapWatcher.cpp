// The AutoCompile watcher on a real map file whose time stamp the test sets
// on disk, as a map editor's save would.
#include "map/MapWatcher.h"
#include "platform/FileAge.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_MapWatcher : public QObject {
    Q_OBJECT

private slots:
    void saves_data();
    void saves();
};

namespace {

// Writes the map with the given last-write time (today, local time); with
// a temporary name and a rename when `replace` is set, as some editors save.
bool save(const QString& path, const QTime& time, bool replace)
{
    const QString target = replace ? path + QStringLiteral(".tmp") : path;
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write("{\n}\n") < 0 || !file.flush() ||
        !file.setFileTime(QDateTime(QDate(2024, 5, 17), time), QFileDevice::FileModificationTime))
        return false;
    file.close();
    return !replace || (QFile::remove(path) && QFile::rename(target, path));
}

} // namespace

void tst_MapWatcher::saves_data()
{
    // Steps: "save HH:MM:SS", "replace HH:MM:SS" (save by renaming),
    // "delete" and "tick". The map is there from 13:45:30 before the first.
    QTest::addColumn<QStringList>("steps");
    // What each tick reports: 1 a change, 0 nothing.
    QTest::addColumn<QString>("reports");

    QTest::newRow("untouched") << QStringList{"tick", "tick"} << "00";
    QTest::newRow("one save, reported once")
        << QStringList{"save 13:45:32", "tick", "tick"} << "10";
    QTest::newRow("two saves in one two-second step")
        << QStringList{"save 13:45:32", "tick", "save 13:45:33", "tick"} << "10";
    QTest::newRow("saves in two steps")
        << QStringList{"save 13:45:33", "tick", "save 13:45:34", "tick"} << "11";
    QTest::newRow("saved by renaming") << QStringList{"replace 13:47:00", "tick", "tick"} << "10";
    QTest::newRow("deleted and restored")
        << QStringList{"delete", "tick", "tick", "save 13:45:30", "tick"} << "101";
}

void tst_MapWatcher::saves()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, reports);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("base1.map"));
    QVERIFY(save(path, QTime(13, 45, 30), false));
    qint32 timestamp = platform::fileAge(path);
    QCOMPARE(timestamp, platform::packDosDateTime(2024, 5, 17, 13, 45, 30));

    QString seen;
    for (const QString& step : steps) {
        const QString verb = step.section(QLatin1Char(' '), 0, 0);
        const QTime time = QTime::fromString(step.section(QLatin1Char(' '), 1), "HH:mm:ss");
        if (verb == QLatin1String("tick")) {
            bool reported = false;
            map::watchTick(
                timestamp, [&path] { return platform::fileAge(path); },
                [&reported] { reported = true; });
            seen += reported ? QLatin1Char('1') : QLatin1Char('0');
        } else if (verb == QLatin1String("delete")) {
            QVERIFY(QFile::remove(path));
        } else {
            QVERIFY(save(path, time, verb == QLatin1String("replace")));
        }
    }
    QCOMPARE(seen, reports);
}

QTEST_GUILESS_MAIN(tst_MapWatcher)
#include "tst_MapWatcher.moc"
