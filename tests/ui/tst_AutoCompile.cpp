// The main window's AutoCompile watcher, on a real map file whose time stamp
// the test sets: what a tick finds and where ticks run.
#include "RecordingDialogs.h"
#include "WatchingWindows.h"
#include "app/ProgramFont.h"
#include "platform/FileAge.h"
#include "ui/CompileWindow.h"
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

class tst_AutoCompile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(programFont()); }
    void init();
    void cleanup() { w_.reset(); }

    void detection_data();
    void detection();
    void timerBringsPromptBack();
    void ticksInsideModalWindows_data();
    void ticksInsideModalWindows();
    void tickBeforePromptExists();
    void compileWindowTakesRepeats();

private:
    RecordingDialogs dialogs_;
    QtDialogs realDialogs_;
    std::unique_ptr<WatchingWindows> w_;
};

void tst_AutoCompile::init()
{
    dialogs_ = RecordingDialogs();
    w_ = std::make_unique<WatchingWindows>(dialogs_);
}

void tst_AutoCompile::detection_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("prompted");
    QTest::newRow("untouched") << "" << false;
    QTest::newRow("saved") << "save" << true;
    QTest::newRow("deleted") << "delete" << true;
    QTest::newRow("switched off and on after a save") << "save, off, on" << false;
    QTest::newRow("another map selected") << "save, select other" << false;
    QTest::newRow("game directory edited") << "edit game directory" << true;
}

void tst_AutoCompile::detection()
{
    QFETCH(QString, action);
    QFETCH(bool, prompted);
    TForm1& form1 = w_->form1;
    for (const QString& step : action.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("save")) {
            saveMap(w_->mapFile(), QTime(13, 47, 0));
        } else if (step == QLatin1String("delete")) {
            QVERIFY(QFile::remove(w_->mapFile()));
        } else if (step == QLatin1String("off") || step == QLatin1String("on")) {
            form1.CheckBox35->setChecked(step == QLatin1String("on"));
        } else if (step == QLatin1String("select other")) {
            saveMap(w_->path(QStringLiteral("q2/baseq2/maps/other.map")), QTime(9, 0, 0));
            dialogs_.fileAnswers.push_back(QStringLiteral("C:\\q2\\baseq2\\maps\\other.map"));
            form1.SpeedButton1->click();
        } else {
            // The same map under another game directory, saved at another time.
            saveMap(w_->mapFile(QStringLiteral("q2b")), QTime(9, 0, 0));
            form1.Edit4->setText(w_->path(QStringLiteral("q2b")));
        }
    }
    form1.Timer1Timer();
    QCOMPARE(w_->form4.isVisible(), prompted);
    QCOMPARE(form1.isVisible(), !prompted);
    QCOMPARE(bool(w_->form4.windowFlags() & Qt::WindowStaysOnTopHint), prompted);
    QVERIFY(dialogs_.messages.isEmpty());
}

void tst_AutoCompile::timerBringsPromptBack()
{
    TForm4& form4 = w_->form4;
    QVERIFY(w_->form1.Timer1->isActive());
    saveMap(w_->mapFile(), QTime(13, 47, 0));
    QVERIFY(QTest::qWaitFor([&form4] { return form4.isVisible(); }, 1000));
    QVERIFY(!w_->form1.isVisible());
    // Still watching while the prompt is up: a further save brings it back
    // where the user put it (once the window system has placed it first).
    QTest::qWait(50);
    form4.hide();
    form4.move(20, 30);
    saveMap(w_->mapFile(), QTime(13, 48, 0));
    QVERIFY(QTest::qWaitFor([&form4] { return form4.isVisible(); }, 1000));
    QCOMPARE(form4.pos(), QPoint(20, 30));
    QVERIFY(!w_->form1.isVisible());
}

void tst_AutoCompile::ticksInsideModalWindows_data()
{
    QTest::addColumn<bool>("verify");
    QTest::newRow("verification window") << true;
    QTest::newRow("about window") << false;
}

void tst_AutoCompile::ticksInsideModalWindows()
{
    QFETCH(bool, verify);
    // The real modal loops, where the timer must go on ticking.
    w_ = std::make_unique<WatchingWindows>(realDialogs_);
    w_->form1.CheckBox29->setChecked(true);
    bool promptedInside = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (QFileInfo(w_->mapFile()).lastModified().time() != QTime(13, 47, 0))
            saveMap(w_->mapFile(), QTime(13, 47, 0));
        promptedInside = w_->form4.isVisible() && !w_->form1.isVisible();
        if (promptedInside)
            modal->close();
    });
    poll.start(50);
    QTimer safety; // closes the window rather than hang
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, this, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    safety.start(10000);
    (verify ? w_->form1.Button3 : w_->form1.Button5)->click();
    QVERIFY(promptedInside);
    if (verify)
        QCOMPARE(w_->starts.runs(0), 0); // closing it cancelled the compile
}

void tst_AutoCompile::tickBeforePromptExists()
{
    // Start-up's map dialog: AutoCompile restored on, no prompt made yet.
    TForm1 form1(dialogs_, w_->path(QString()));
    form1.Edit4->setText(w_->path(QStringLiteral("q2")));
    form1.mapName = QStringLiteral("base1");
    form1.CheckBox35->setChecked(true);
    form1.show();
    saveMap(w_->mapFile(), QTime(13, 47, 0));
    form1.Timer1Timer();
    QVERIFY(form1.isVisible());
    QCOMPARE(form1.mapTimestamp, platform::packDosDateTime(2024, 5, 17, 13, 47, 0));
}

void tst_AutoCompile::compileWindowTakesRepeats()
{
    if (qEnvironmentVariableIsEmpty("BRUSHWRIGHT_FAKECOMPILER"))
        QSKIP("no stand-in compiler: run through CTest of the Linux build");
    // A bsp compiler that hangs: the compile runs until cancelled.
    const QString tools = w_->path(QStringLiteral("tools"));
    QVERIFY(QDir().mkpath(tools));
    const QString standIn = qEnvironmentVariable("BRUSHWRIGHT_FAKECOMPILER");
    const QString suffix = standIn.endsWith(".exe") ? ".exe" : "";
    for (const char* name : {"qbsp3", "qvis3", "qrad3"})
        QVERIFY(QFile::copy(standIn, tools + QLatin1Char('/') + QLatin1String(name) + suffix));
    qputenv("BRUSHWRIGHT_STANDIN_qbsp3", "hang");
    TForm1& form1 = w_->form1;
    settings::CompilerSettings compilers;
    compilers.folder = tools;
    compilers.way = settings::CompileWay::Window;
    form1.setCompilerSettings(compilers);

    form1.Button3->click();
    const QString childPid = w_->path(QStringLiteral("q2/baseq2/maps/child.pid"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(childPid), 10000);
    CompileWindow* window = form1.compileWindow();
    QVERIFY(window && window->isVisible() && form1.compileInProgress());

    // A second compile, then a save, while it runs: no second compile, no
    // prompt, the running one in front.
    window->hide();
    form1.Button3->click();
    QVERIFY(window->isVisible());
    window->hide();
    saveMap(w_->mapFile(), QTime(13, 47, 0));
    form1.Timer1Timer();
    QVERIFY(window->isVisible());
    QVERIFY(!w_->form4.isVisible());
    QTest::qWait(200);
    QFile calls(tools + QStringLiteral("/calls.log"));
    QVERIFY(calls.open(QIODevice::ReadOnly));
    QCOMPARE(calls.readAll().count("qbsp3"), 1);

    window->cancelButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(!form1.compileInProgress(), 5000);
    QCOMPARE(window->stepList()->topLevelItem(0)->text(1), QString("failed: cancelled"));

    // The next compile runs afresh in the same window.
    qunsetenv("BRUSHWRIGHT_STANDIN_qbsp3");
    form1.Button3->click();
    QTRY_VERIFY_WITH_TIMEOUT(!form1.compileInProgress(), 10000);
    QCOMPARE(window->stepList()->topLevelItem(0)->text(1), QString("done"));
    // The stand-in writes no .bsp: vis runs, and says why.
    QCOMPARE(window->stepList()->topLevelItem(1)->text(1), QString("done (bsp step failed)"));
    QVERIFY(calls.seek(0));
    QCOMPARE(calls.readAll().count("qbsp3"), 2);

    // Shift held: every step runs, whatever was kept.
    QTest::mouseClick(form1.Button3, Qt::LeftButton, Qt::ShiftModifier);
    QTRY_VERIFY_WITH_TIMEOUT(!form1.compileInProgress(), 10000);
    QCOMPARE(window->stepList()->topLevelItem(1)->text(1), QString("done (shift held)"));
}

QTEST_MAIN(tst_AutoCompile)
#include "tst_AutoCompile.moc"
