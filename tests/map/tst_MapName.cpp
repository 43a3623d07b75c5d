#include "map/MapName.h"

#include <QTest>

class TestMapName : public QObject {
    Q_OBJECT

private slots:
    void mapNameRule_data();
    void mapNameRule();
    void fileNamePart_data();
    void fileNamePart();
    void paths();
};

void TestMapName::mapNameRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");

    QTest::newRow("plain") << "base1"
                           << "base1";
    QTest::newRow("extension") << "base1.map"
                               << "base1";
    QTest::newRow("first point") << "dm.test.map"
                                 << "dm";
    QTest::newRow("point first") << ".map"
                                 << "";
    QTest::newRow("point last") << "dm1."
                                << "dm1";
    QTest::newRow("point in folder") << "C:\\q2.old\\maps\\x.map"
                                     << "C:\\q2";
    QTest::newRow("blanks kept") << " my map .map"
                                 << " my map ";
    QTest::newRow("empty") << ""
                           << "";
}

void TestMapName::mapNameRule()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    QCOMPARE(map::mapNameRule(text), name);
}

void TestMapName::fileNamePart_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("part");

    QTest::newRow("full path") << "C:\\quake2\\baseq2\\maps\\base1.map"
                               << "base1.map";
    QTest::newRow("drive, no folder") << "D:a.b.map"
                                      << "a.b.map";
    QTest::newRow("colon after backslash") << "C:\\maps\\x:y.map"
                                           << "y.map";
    QTest::newRow("backslash after colon") << "C:x\\y.map"
                                           << "y.map";
    QTest::newRow("name only") << "base1.map"
                               << "base1.map";
    QTest::newRow("ends in separator") << "C:\\maps\\"
                                       << "";
    QTest::newRow("empty") << ""
                           << "";
#ifdef _WIN32
    QTest::newRow("slash") << "C:/maps/x.map"
                           << "/maps/x.map";
#else
    QTest::newRow("slash") << "/home/me/x.map"
                           << "x.map";
    QTest::newRow("slash after backslash") << "C:\\q2/maps/x.map"
                                           << "x.map";
    QTest::newRow("backslash after slash") << "/home/me\\x.map"
                                           << "x.map";
#endif
}

void TestMapName::fileNamePart()
{
    QFETCH(QString, path);
    QFETCH(QString, part);
    QCOMPARE(map::fileNamePart(path), part);
}

void TestMapName::paths()
{
    QCOMPARE(map::mapFilePath("C:\\Quake2", "base1"),
             QString("C:\\Quake2\\baseq2\\maps\\base1.map"));
    QCOMPARE(map::mapFilePath("", "dm 1"), QString("\\baseq2\\maps\\dm 1.map"));
    QCOMPARE(map::mapsFolder("D:\\Games\\Quake2"), QString("D:\\Games\\Quake2\\baseq2\\maps"));
}

QTEST_GUILESS_MAIN(TestMapName)
#include "tst_MapName.moc"
