#include "platform/Failure.h"

#include <QTest>

class TestFailure : public QObject {
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void errorBoxText_data();
    void errorBoxText();
};

void TestFailure::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("open") << Failure::cannotOpen("C:\\Quake2\\x.map").text()
                          << "Cannot open file C:\\Quake2\\x.map";
    QTest::newRow("create") << Failure::cannotCreate("C:\\Quake2\\x.bat").text()
                            << "Cannot create file C:\\Quake2\\x.bat";
    QTest::newRow("start") << Failure::cannotStart("C:\\Quake2\\x.bat").text()
                           << "Cannot start file C:\\Quake2\\x.bat";
    QTest::newRow("index") << Failure::listIndexOutOfBounds(30).text()
                           << "List index out of bounds (30)";
    QTest::newRow("negative index")
        << Failure::listIndexOutOfBounds(-1).text() << "List index out of bounds (-1)";
    QTest::newRow("integer") << Failure::notAnInteger("12a").text()
                             << "'12a' is not a valid integer value";
    QTest::newRow("empty integer")
        << Failure::notAnInteger("").text() << "'' is not a valid integer value";
    // A box would lay out millions of digits for seconds: only the ends.
    const QString digits = QString(150, '1') + QString(2'000'000, '5') + QString(150, '9');
    QTest::newRow("huge integer line") << Failure::notAnInteger(digits).text()
                                       << "'" + QString(100, '1') + QChar(0x2026) +
                                              QString(100, '9') + "' is not a valid integer value";
    QTest::newRow("300 characters kept")
        << Failure::notAnInteger(QString(300, '7')).text()
        << "'" + QString(300, '7') + "' is not a valid integer value";
    // Argument text must not be read as a placeholder.
    QTest::newRow("placeholder in path") << Failure::cannotOpen("C:\\%1\\%2 100%.map").text()
                                         << "Cannot open file C:\\%1\\%2 100%.map";
    QTest::newRow("placeholder in value")
        << Failure::notAnInteger("%1").text() << "'%1' is not a valid integer value";
    QTest::newRow("what") << QString::fromLocal8Bit(Failure::cannotCreate("C:\\é.bat").what())
                          << "Cannot create file C:\\é.bat";
}

void TestFailure::texts()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void TestFailure::errorBoxText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("path") << "Cannot open file C:\\x"
                          << "Cannot open file C:\\x.";
    QTest::newRow("bracket") << "List index out of bounds (30)"
                             << "List index out of bounds (30)";
    QTest::newRow("quote") << "'a' is not a valid integer value"
                           << "'a' is not a valid integer value.";
    QTest::newRow("ends in point") << "Done."
                                   << "Done.";
    QTest::newRow("ends in slash") << "C:/"
                                   << "C:/.";
    QTest::newRow("ends in digit") << "file 1"
                                   << "file 1.";
    QTest::newRow("ends in blank") << "a "
                                   << "a ";
    QTest::newRow("ends in comma") << "a,"
                                   << "a,";
    QTest::newRow("empty") << ""
                           << "";
}

void TestFailure::errorBoxText()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(::errorBoxText(text), shown);
}

QTEST_GUILESS_MAIN(TestFailure)
#include "tst_Failure.moc"
