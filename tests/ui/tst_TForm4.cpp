// The AutoCompile prompt: its window and every way out of it.
#include "RecordingDialogs.h"
#include "WatchingWindows.h"
#include "app/ProgramFont.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <map>
#include <memory>

class tst_TForm4 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(programFont()); }
    void window();
    void waysOut_data();
    void waysOut();
};

void tst_TForm4::window()
{
    RecordingDialogs dialogs;
    WatchingWindows w(dialogs);
    const TForm4& form4 = w.form4;
    QCOMPARE(form4.windowTitle(), QStringLiteral("Brushwright AutoCompile"));
    QCOMPARE(form4.size(), QSize(273, 120));
    QVERIFY(!(form4.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // Word-wrapped, the whole text fits the label's fixed 257 x 33.
    QCOMPARE(form4.Label1->size(), QSize(257, 33));
    QVERIFY(form4.Label1->heightForWidth(257) <= 33);
}

void tst_TForm4::waysOut_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("verifyResult"); // 0: no verification window
    QTest::addColumn<bool>("closeOnCompile");
    QTest::addColumn<int>("starts");
    QTest::addColumn<bool>("watching");

    QTest::newRow("compile") << "Button1" << 0 << false << 1 << true;
    QTest::newRow("compile, verified") << "Button1" << 1 << false << 1 << true;
    QTest::newRow("compile, verification cancelled") << "Button1" << 2 << false << 0 << true;
    QTest::newRow("compile, close on compile") << "Button1" << 0 << true << 1 << true;
    // Restored on at start-up, AutoCompile watches before any map is chosen:
    // "compile" is still disabled then and compiles nothing.
    QTest::newRow("compile, no map selected") << "Button1 (no map)" << 0 << false << 0 << true;
    QTest::newRow("open") << "Button2" << 0 << false << 0 << true;
    QTest::newRow("turn off") << "Button4" << 0 << false << 0 << false;
    QTest::newRow("close box") << "close" << 0 << false << 0 << true;
}

void tst_TForm4::waysOut()
{
    QFETCH(QString, way);
    QFETCH(int, verifyResult);
    QFETCH(bool, closeOnCompile);
    QFETCH(int, starts);
    QFETCH(bool, watching);
    RecordingDialogs dialogs;
    WatchingWindows w(dialogs);
    TForm1& form1 = w.form1;
    TForm4& form4 = w.form4;
    form1.CheckBox29->setChecked(verifyResult != 0);
    form1.CheckBox28->setChecked(closeOnCompile);
    form1.Button3->setEnabled(!way.contains(QLatin1String("no map")));
    QList<bool> mainShownDuringVerify;
    dialogs.modalAnswers.push_back([&](QDialog&) {
        mainShownDuringVerify << form1.isVisible();
        return verifyResult;
    });
    QSignalSpy ended(&form1, &TForm1::endRequested);
    saveMap(w.mapFile(), QTime(13, 47, 0));
    form1.Timer1Timer();
    QVERIFY(form4.isVisible());

    const std::map<QString, QPushButton*> buttons{
        {"Button1", form4.Button1}, {"Button2", form4.Button2}, {"Button4", form4.Button4}};
    if (way == QLatin1String("close"))
        form4.close();
    else
        buttons.at(way.section(QLatin1Char(' '), 0, 0))->click();

    QCOMPARE(mainShownDuringVerify, verifyResult != 0 ? QList<bool>{false} : QList<bool>{});
    QCOMPARE(w.starts.runs(starts), starts);
    QVERIFY(!form4.isVisible());
    QVERIFY(form1.isVisible());
    QCOMPARE(form1.CheckBox35->isChecked(), watching);
    QCOMPARE(form1.Timer1->isActive(), watching);
    // "close on compile" ends the program through the shut-down.
    QCOMPARE(ended.count(), closeOnCompile ? 1 : 0);
    QCOMPARE(QFile::exists(w.path(QStringLiteral("settings.builtin"))), closeOnCompile);

    // A later save is shown again only while watching.
    saveMap(w.mapFile(), QTime(13, 49, 0));
    QCOMPARE(QTest::qWaitFor([&form4] { return form4.isVisible(); }, 1000), watching);
}

QTEST_MAIN(tst_TForm4)
#include "tst_TForm4.moc"
