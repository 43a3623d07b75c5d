// A typed character that the console code page lacks is found, with the
// text that holds it, before anything is written.
#include "batch/UserTexts.h"

#include <QTest>

class tst_UserTexts : public QObject {
    Q_OBJECT

private slots:
    void firstUnwritable_data();
    void firstUnwritable();
};

void tst_UserTexts::firstUnwritable_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("what"); // empty: all written
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("mod");
    // The game folder "C:\Quake2 Šćž", then the map name, then the field
    // "threads to use" "4€".
    const QString game = QStringLiteral("The game folder"), map = QStringLiteral("The map name");
    const QString field = QStringLiteral("The field \"threads to use\"");
    QTest::newRow("850 lacks \u0160")
        << 850 << "box" << game << QStringLiteral("\u0160") << QString() << QString();
    QTest::newRow("852 lacks \u20ac")
        << 852 << "box" << field << QStringLiteral("\u20ac") << QString() << QString();
    QTest::newRow("no look-alike")
        << 852 << "a\uff06" << map << QStringLiteral("\uff06") << QString() << QString();
    QTest::newRow("surrogate pair")
        << 852 << "\U0001f600" << map << QStringLiteral("\U0001f600") << QString() << QString();
    QTest::newRow("game program, last")
        << 1250 << "box" << QStringLiteral("The game program") << QStringLiteral("\u10e5")
        << QStringLiteral("C:\\Games\\\u10e5\\quake2.exe") << QString();
    QTest::newRow("mod folder, after the game program")
        << 1250 << "box" << QStringLiteral("The mod folder") << QStringLiteral("\u10e5")
        << QString() << QStringLiteral("jam\u10e5");
    QTest::newRow("UTF-8 writes all")
        << 65001 << "\U0001f600" << QString() << QString() << QString() << QString();
}

void tst_UserTexts::firstUnwritable()
{
    QFETCH(int, codePage);
    QFETCH(QString, map);
    QFETCH(QString, what);
    QFETCH(QString, character);
    QFETCH(QString, program);
    QFETCH(QString, mod);
    BatchOptions options;
    options.gameDirectory = QStringLiteral("C:\\Quake2 \u0160\u0107\u017e");
    options.mapName = map;
    options.edit3 = QStringLiteral("4\u20ac");
    settings::CompilerSettings compilers;
    compilers.gameProgram = program;
    compilers.mod = mod;
    const std::optional<batch::UnwritableText> found =
        batch::firstUnwritable(batch::userTexts(options, compilers), codePage);
    QCOMPARE(found.has_value(), !what.isEmpty());
    if (found) {
        QCOMPARE(found->what, what);
        QCOMPARE(found->character, character);
    }
}

QTEST_GUILESS_MAIN(tst_UserTexts)
#include "tst_UserTexts.moc"
