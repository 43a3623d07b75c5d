// The option-set file's line layout.
#include "platform/Failure.h"
#include "settings/OptionSetFile.h"

#include <QTest>

class tst_OptionSetFile : public QObject {
    Q_OBJECT

private slots:
    void optionSetLines();
    void guardedBlockOrder();
    void lineFailures_data();
    void lineFailures();
};

void tst_OptionSetFile::optionSetLines()
{
    settings::OptionSet set;
    set.options[0] = set.options[24] = true;
    set.texts = {" 240", ""};
    set.positions = {0, 40, 200, 100, 255};
    set.compilers = {true, false, true};
    QStringList expected{"head", "1"};
    for (int line = 2; line <= 24; ++line)
        expected << "0";
    expected << "1"
             << " 240"
             << ""
             << "0"
             << "40"
             << "200"
             << "100"
             << "255"
             << "1"
             << "0"
             << "1";
    QCOMPARE(settings::optionSetLines("head", set), expected);
}

void tst_OptionSetFile::guardedBlockOrder()
{
    // The 25 option boxes, then the three compiler switches from the end.
    QStringList read;
    for (const settings::GuardedLine& entry : settings::guardedBlock())
        read << QString("%1>%2").arg(entry.line).arg(entry.checkBox);
    QCOMPARE(read.mid(23), (QStringList{"24>24", "25>25", "33>30", "34>31", "35>32"}));
    QCOMPARE(read.size(), 28);
}

void tst_OptionSetFile::lineFailures_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QString>("line28");
    QTest::addColumn<QString>("failure");
    QTest::newRow("short") << 28 << ""
                           << "List index out of bounds (28)";
    QTest::newRow("no integer") << 36 << "40 "
                                << "'40 ' is not a valid integer value";
    QTest::newRow("clamped later") << 36 << "-5"
                                   << "-5";
}

void tst_OptionSetFile::lineFailures()
{
    QFETCH(int, lineCount);
    QFETCH(QString, line28);
    QFETCH(QString, failure);
    QStringList lines(36, "0");
    lines[28] = line28;
    QString result;
    try {
        result = QString::number(settings::positionAt(lines.mid(0, lineCount), 28));
    } catch (const Failure& error) {
        result = error.text();
    }
    QCOMPARE(result, failure);
}

QTEST_GUILESS_MAIN(tst_OptionSetFile)
#include "tst_OptionSetFile.moc"
