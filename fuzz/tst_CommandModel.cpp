// The model that the batch fuzz target checks the batch file against: it must
// see every way a line can hold syntax, or the target proves nothing.
#include "CommandModel.h"

#include <QTest>

class tst_CommandModel : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void tst_CommandModel::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("text"); // null: the line holds syntax

    QTest::newRow("plain") << "qbsp3 -v base1"
                           << "qbsp3 -v base1";
    QTest::newRow("escaped operators") << "a ^& b ^| c ^< d ^> e"
                                       << "a & b | c < d > e";
    QTest::newRow("escaped caret") << "a^^b"
                                   << "a^b";
    QTest::newRow("doubled percent") << "50%% %%OS%%"
                                     << "50% %OS%";
    QTest::newRow("quoted operators") << "\"a & b ^ c\" d"
                                      << "\"a & b ^ c\" d";
    QTest::newRow("percent inside quotes") << "\"50%%\""
                                           << "\"50%\"";
    QTest::newRow("caret, then quoted") << "^^\"a & b\""
                                        << "^\"a & b\"";
    QTest::newRow("ampersand") << "a & b" << QString();
    QTest::newRow("pipe") << "a | b" << QString();
    QTest::newRow("redirection") << "a > b" << QString();
    QTest::newRow("after closing quote") << "\"a\" & b" << QString();
    QTest::newRow("lone percent") << "50% done" << QString();
    QTest::newRow("variable") << "%OS%" << QString();
    QTest::newRow("argument") << "%1" << QString();
    QTest::newRow("caret at the end") << "a ^" << QString();
    QTest::newRow("escaped quote opens nothing") << "^\"a & b\"" << QString();
    QTest::newRow("escaped caret, then percent") << "^%%"
                                                 << "%";
    QTest::newRow("line feed") << "a\nb" << QString();
}

void tst_CommandModel::parse()
{
    QFETCH(QString, line);
    QFETCH(QString, text);
    const ParsedCommand parsed = parseBatchLine(line);
    QCOMPARE(parsed.ok(), !text.isNull());
    if (parsed.ok())
        QCOMPARE(parsed.text, text);
}

QTEST_APPLESS_MAIN(tst_CommandModel)
#include "tst_CommandModel.moc"
