// The about window and the main window's "about...".
#include "RecordingDialogs.h"
#include "app/ProgramFont.h"
#include "ui/QtDialogs.h"
#include "ui/TForm1.h"
#include "ui/TForm3.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class tst_TForm3 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(programFont()); }
    void window();
    void aboutTwiceShowsTheSameWindow_data();
    void aboutTwiceShowsTheSameWindow();
    void waysOut_data();
    void waysOut();
};

void tst_TForm3::window()
{
    TForm3 form3;
    QCOMPARE(form3.windowTitle(), QStringLiteral("about"));
    QCOMPARE(form3.size(), QSize(201, 153));
    QVERIFY(!(form3.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(form3.Label2->text(), QStringLiteral("v1.02"));
    // Every line sized to its text, as it is shown, and whole inside the window.
    form3.show();
    for (const QLabel* label : form3.findChildren<QLabel*>()) {
        QCOMPARE(label->size(), label->sizeHint());
        QVERIFY2(label->geometry().right() < 201 - 4, qPrintable(label->text()));
    }
}

void tst_TForm3::aboutTwiceShowsTheSameWindow_data()
{
    QTest::addColumn<bool>("madeOnUse");
    QTest::newRow("given") << false;
    // As the program runs: no about window until the first "about...".
    QTest::newRow("made on use") << true;
}

void tst_TForm3::aboutTwiceShowsTheSameWindow()
{
    QFETCH(bool, madeOnUse);
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    TForm1 form1(dialogs, dir.path() + QLatin1Char('/'));
    TForm3 given;
    if (madeOnUse)
        form1.makeWindowsOnUse();
    else
        form1.setAboutWindow(&given);
    QList<QDialog*> shown;
    QStringList versions;
    for (int i = 0; i < 2; ++i)
        dialogs.modalAnswers.push_back([&](QDialog& dialog) {
            shown << &dialog;
            const auto* form3 = qobject_cast<TForm3*>(&dialog);
            versions << (form3 ? form3->Label2->text() : QString());
            return 0;
        });
    form1.Button5->click();
    form1.Button5->click();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1), shown.at(0));
    QCOMPARE(shown.at(0) == &given, !madeOnUse);
    QCOMPARE(versions, (QStringList{"v1.02", "v1.02"}));
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_TForm3::waysOut_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("ok") << false;
    QTest::newRow("close box") << true;
}

void tst_TForm3::waysOut()
{
    QFETCH(bool, closeBox);
    TForm3 form3;
    QtDialogs dialogs;
    bool wasModal = false;
    QTimer::singleShot(100, &form3, [&] {
        wasModal = QApplication::activeModalWidget() == &form3;
        if (closeBox)
            form3.close();
        else
            form3.Button1->click();
    });
    QTimer::singleShot(5000, &form3, [&form3] { form3.done(-1); }); // rather than hang
    QVERIFY(dialogs.execModal(form3) != -1);
    QVERIFY(wasModal);
    QVERIFY(form3.isHidden());
}

QTEST_MAIN(tst_TForm3)
#include "tst_TForm3.moc"
