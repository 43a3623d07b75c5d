#include "settings/SettingsText.h"

#include <QTest>

class tst_SettingsText : public QObject {
    Q_OBJECT

private slots:
    void flags_data();
    void flags();
    void integers_data();
    void integers();
};

void tst_SettingsText::flags_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("on");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("yes") << "yes" << true;
    QTest::newRow("false") << "false" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("0 and blank") << "0 " << true;
    QTest::newRow("blank and 0") << " 0" << true;
    QTest::newRow("00") << "00" << true;
}

void tst_SettingsText::flags()
{
    QFETCH(QString, line);
    QFETCH(bool, on);
    QCOMPARE(settings::flagFromLine(line), on);
    QCOMPARE(settings::flagFromLine(settings::flagLine(on)), on);
}

void tst_SettingsText::integers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("250") << "250" << true << 250;
    QTest::newRow("-5") << "-5" << true << -5;
    QTest::newRow("+7") << "+7" << true << 7;
    QTest::newRow("leading blank") << " 40" << true << 40;
    QTest::newRow("leading blanks") << "   0" << true << 0;
    QTest::newRow("trailing blank") << "40 " << false << 0;
    QTest::newRow("$1F") << "$1F" << true << 31;
    QTest::newRow("$1f") << "$1f" << true << 31;
    QTest::newRow("0x10") << "0x10" << true << 16;
    QTest::newRow("0X10") << "0X10" << true << 16;
    QTest::newRow("x10") << "x10" << true << 16;
    QTest::newRow("-$10") << "-$10" << true << -16;
    QTest::newRow("$FFFFFFFF") << "$FFFFFFFF" << true << -1;
    QTest::newRow("$100000000") << "$100000000" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blank") << " " << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("$ only") << "$" << false << 0;
    QTest::newRow("0x only") << "0x" << false << 0;
    QTest::newRow("99999999999") << "99999999999" << false << 0;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("past max") << "2147483648" << false << 0;
    QTest::newRow("min") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("past min") << "-2147483649" << false << 0;
    QTest::newRow("hex digit in decimal") << "1F" << false << 0;
    QTest::newRow("decimal point") << "1.5" << false << 0;
    QTest::newRow("0 then x after digits") << "10x" << false << 0;
    QTest::newRow("tab before") << "\t5" << false << 0;
    QTest::newRow("leading zeros") << "007" << true << 7;
}

void tst_SettingsText::integers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const std::optional<qint32> parsed = settings::integerFromText(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

QTEST_APPLESS_MAIN(tst_SettingsText)
#include "tst_SettingsText.moc"
