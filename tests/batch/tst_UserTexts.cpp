// A typed character that the console code page lacks is found, with the
// text that holds it, before anything is written.
#include "batch/UserTexts.h"
#include "platform/Failure.h"

#include <QTest>

class tst_UserTexts : public QObject {
    Q_OBJECT

private slots:
    void firstUnwritable_data();
    void firstUnwritable();
    void errorText();
};

using Found = std::optional<batch::UnwritableText>;
Q_DECLARE_METATYPE(Found)

void tst_UserTexts::firstUnwritable_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("game");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("threads");
    QTest::addColumn<Found>("found");
    const QString serbian = QStringLiteral("C:\\Quake2 \u0160\u0107\u017e");
    const QString game = QStringLiteral("The game folder");
    QTest::newRow("all written") << 850 << QStringLiteral("C:\\J\u00f6rg %OS% & co") << "box"
                                 << "4" << Found();
    QTest::newRow("850 lacks \u0160") << 850 << serbian << "box"
                                      << "4" << Found({{game, serbian, QStringLiteral("\u0160")}});
    QTest::newRow("852 has it") << 852 << serbian << "box"
                                << "4" << Found();
    // No look-alike counts: a fullwidth ampersand is not "&".
    QTest::newRow("fullwidth &") << 437 << "C:\\q2" << QStringLiteral("a\uff06b") << "4"
                                 << Found({{QStringLiteral("The map name"),
                                            QStringLiteral("a\uff06b"), QStringLiteral("\uff06")}});
    // A character outside the basic plane is named whole.
    const QString emoji = QStringLiteral("box\U0001f600");
    QTest::newRow("surrogate pair")
        << 932 << "C:\\q2" << emoji << "4"
        << Found({{QStringLiteral("The map name"), emoji, QStringLiteral("\U0001f600")}});
    QTest::newRow("the first input")
        << 437 << QStringLiteral("C:\\\u20ac") << "box" << QStringLiteral("\u20ac")
        << Found({{game, QStringLiteral("C:\\\u20ac"), QStringLiteral("\u20ac")}});
    QTest::newRow("a field") << 866 << QStringLiteral("C:\\\u041a\u0432\u0430\u043a") << "box"
                             << QStringLiteral("4\u00e9")
                             << Found({{QStringLiteral("The field \"threads to use\""),
                                        QStringLiteral("4\u00e9"), QStringLiteral("\u00e9")}});
    QTest::newRow("UTF-8 writes all") << 65001 << serbian << emoji << "4" << Found();
}

void tst_UserTexts::firstUnwritable()
{
    QFETCH(int, codePage);
    QFETCH(QString, game);
    QFETCH(QString, map);
    QFETCH(QString, threads);
    QFETCH(Found, found);
    BatchOptions options;
    options.gameDirectory = game;
    options.mapName = map;
    options.edit3 = threads;
    QCOMPARE(batch::firstUnwritable(batch::userTexts(options), codePage), found);
}

void tst_UserTexts::errorText()
{
    const QString serbian = QStringLiteral("C:\\Quake2 \u0160\u0107\u017e");
    try {
        batch::checkWritable({{QStringLiteral("The game folder"), serbian}}, 850);
        QFAIL("no failure");
    } catch (const Failure& failure) {
        QCOMPARE(errorBoxText(failure.text()),
                 QStringLiteral("The game folder \"%1\" holds \"\u0160\", which this system's "
                                "console code page (850) cannot write.")
                     .arg(serbian));
    }
}

QTEST_GUILESS_MAIN(tst_UserTexts)
#include "tst_UserTexts.moc"
