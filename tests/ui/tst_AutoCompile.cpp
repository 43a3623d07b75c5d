// AutoCompile in the windows: the main window's watcher and the prompt it
// brings up, on a real map file whose time stamp the test sets.
#include "RecordingDialogs.h"
#include "StartRecorder.h"
#include "TestEnvironment.h"
#include "app/ProgramFont.h"
#include "platform/FileAge.h"
#include "ui/QtDialogs.h"
#include "ui/TForm1.h"
#include "ui/TForm2.h"
#include "ui/TForm3.h"
#include "ui/TForm4.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <map>
#include <memory>

class tst_AutoCompile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(programFont()); }
    void init();
    void cleanup();

    void prompt();
    void detection_data();
    void detection();
    void timerBringsPromptBack();
    void waysOut_data();
    void waysOut();
    void ticksInsideModalWindows_data();
    void ticksInsideModalWindows();
    void tickBeforePromptExists();

private:
    void makeWindows(Dialogs& dialogs);
    QString mapFile(const QString& game = QStringLiteral("q2")) const
    {
        return dir_->filePath(game + QStringLiteral("/baseq2/maps/base1.map"));
    }

    std::unique_ptr<QTemporaryDir> dir_;
    RecordingDialogs dialogs_;
    QtDialogs realDialogs_;
    std::unique_ptr<StartRecorder> starts_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm4> form4_;
};

namespace {

// A save as an editor makes it: the file written, then stamped with a time
// on 17 May 2024 (the file age keeps two-second steps).
void save(const QString& path, const QTime& time)
{
    writeBytes(path, "{\n}\n");
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) ||
        !file.setFileTime(QDateTime(QDate(2024, 5, 17), time), QFileDevice::FileModificationTime))
        qFatal("cannot stamp %s", qPrintable(path));
}

} // namespace

void tst_AutoCompile::init()
{
    dialogs_ = RecordingDialogs();
    dir_ = std::make_unique<QTemporaryDir>();
    starts_ = std::make_unique<StartRecorder>(dir_->filePath(QStringLiteral("q2/baseq2/maps")));
    save(mapFile(), QTime(13, 45, 30));
}

void tst_AutoCompile::makeWindows(Dialogs& dialogs)
{
    // As the program makes them, with base1 selected and AutoCompile then
    // switched on.
    form1_ = std::make_unique<TForm1>(dialogs, dir_->path() + QLatin1Char('/'));
    form2_ = std::make_unique<TForm2>();
    form3_ = std::make_unique<TForm3>();
    form4_ = std::make_unique<TForm4>(*form1_);
    form1_->setVerifyWindow(form2_.get());
    form1_->setAboutWindow(form3_.get());
    form1_->setPrompt(form4_.get());
    form1_->Edit4->setText(QDir::toNativeSeparators(dir_->filePath(QStringLiteral("q2"))));
    form1_->mapName = QStringLiteral("base1");
    form1_->Button3->setEnabled(true);
    form1_->CheckBox35->setChecked(true); // takes the map's timestamp
    form1_->show();
}

void tst_AutoCompile::cleanup()
{
    form4_.reset();
    form3_.reset();
    form2_.reset();
    form1_.reset();
    starts_.reset();
    dir_.reset();
}

void tst_AutoCompile::prompt()
{
    makeWindows(dialogs_);
    QCOMPARE(form4_->windowTitle(), QStringLiteral("Brushwright AutoCompile"));
    QCOMPARE(form4_->size(), QSize(273, 120));
    QVERIFY(
        !(form4_->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // Word-wrapped, the whole text fits the label's fixed 257 x 33.
    QCOMPARE(form4_->Label1->size(), QSize(257, 33));
    QVERIFY(form4_->Label1->heightForWidth(257) <= 33);
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
    makeWindows(dialogs_);
    for (const QString& step : action.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("save")) {
            save(mapFile(), QTime(13, 47, 0));
        } else if (step == QLatin1String("delete")) {
            QVERIFY(QFile::remove(mapFile()));
        } else if (step == QLatin1String("off") || step == QLatin1String("on")) {
            form1_->CheckBox35->setChecked(step == QLatin1String("on"));
        } else if (step == QLatin1String("select other")) {
            save(dir_->filePath(QStringLiteral("q2/baseq2/maps/other.map")), QTime(9, 0, 0));
            dialogs_.fileAnswers.push_back(QStringLiteral("C:\\q2\\baseq2\\maps\\other.map"));
            form1_->SpeedButton1->click();
        } else {
            // The same map under another game directory, saved at another time.
            save(mapFile(QStringLiteral("q2b")), QTime(9, 0, 0));
            form1_->Edit4->setText(dir_->filePath(QStringLiteral("q2b")));
        }
    }
    form1_->Timer1Timer();
    QCOMPARE(form4_->isVisible(), prompted);
    QCOMPARE(form1_->isVisible(), !prompted);
    QCOMPARE(bool(form4_->windowFlags() & Qt::WindowStaysOnTopHint), prompted);
    QVERIFY(dialogs_.messages.isEmpty());
}

void tst_AutoCompile::timerBringsPromptBack()
{
    makeWindows(dialogs_);
    QVERIFY(form1_->Timer1->isActive());
    save(mapFile(), QTime(13, 47, 0));
    QVERIFY(QTest::qWaitFor([this] { return form4_->isVisible(); }, 1000));
    QVERIFY(!form1_->isVisible());
    // Still watching while the prompt is up: a further save brings it back
    // where the user put it (once the window system has placed it first).
    QTest::qWait(50);
    form4_->hide();
    form4_->move(20, 30);
    save(mapFile(), QTime(13, 48, 0));
    QVERIFY(QTest::qWaitFor([this] { return form4_->isVisible(); }, 1000));
    QCOMPARE(form4_->pos(), QPoint(20, 30));
    QVERIFY(!form1_->isVisible());
}

void tst_AutoCompile::waysOut_data()
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

void tst_AutoCompile::waysOut()
{
    QFETCH(QString, way);
    QFETCH(int, verifyResult);
    QFETCH(bool, closeOnCompile);
    QFETCH(int, starts);
    QFETCH(bool, watching);
    makeWindows(dialogs_);
    form1_->CheckBox29->setChecked(verifyResult != 0);
    form1_->CheckBox28->setChecked(closeOnCompile);
    form1_->Button3->setEnabled(!way.contains(QLatin1String("no map")));
    QList<bool> mainShownDuringVerify;
    dialogs_.modalAnswers.push_back([&](QDialog&) {
        mainShownDuringVerify << form1_->isVisible();
        return verifyResult;
    });
    QSignalSpy ended(form1_.get(), &TForm1::endRequested);
    save(mapFile(), QTime(13, 47, 0));
    form1_->Timer1Timer();
    QVERIFY(form4_->isVisible());

    const std::map<QString, QPushButton*> buttons{
        {"Button1", form4_->Button1}, {"Button2", form4_->Button2}, {"Button4", form4_->Button4}};
    if (way == QLatin1String("close"))
        form4_->close();
    else
        buttons.at(way.section(QLatin1Char(' '), 0, 0))->click();

    QCOMPARE(mainShownDuringVerify, verifyResult != 0 ? QList<bool>{false} : QList<bool>{});
    QCOMPARE(starts_->runs(starts), starts);
    QVERIFY(!form4_->isVisible());
    QVERIFY(form1_->isVisible());
    QCOMPARE(form1_->CheckBox35->isChecked(), watching);
    QCOMPARE(form1_->Timer1->isActive(), watching);
    // "close on compile" ends the program through the shut-down.
    QCOMPARE(ended.count(), closeOnCompile ? 1 : 0);
    QCOMPARE(QFile::exists(dir_->filePath(QStringLiteral("settings.builtin"))), closeOnCompile);

    // A later save is shown again only while watching.
    save(mapFile(), QTime(13, 49, 0));
    QCOMPARE(QTest::qWaitFor([this] { return form4_->isVisible(); }, 1000), watching);
}

void tst_AutoCompile::ticksInsideModalWindows_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("verification window") << "Form2";
    QTest::newRow("about window") << "Form3";
}

void tst_AutoCompile::ticksInsideModalWindows()
{
    QFETCH(QString, window);
    // The real modal loops, where the timer must go on ticking.
    makeWindows(realDialogs_);
    form1_->CheckBox29->setChecked(true);
    bool promptedInside = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (QFileInfo(mapFile()).lastModified().time() != QTime(13, 47, 0))
            save(mapFile(), QTime(13, 47, 0));
        promptedInside = form4_->isVisible() && !form1_->isVisible();
        if (promptedInside)
            modal->close();
    });
    poll.start(50);
    QTimer safety; // closes the window rather than hang
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, this, [] { QApplication::activeModalWidget()->close(); });
    safety.start(5000);
    const bool verify = window == QLatin1String("Form2");
    (verify ? form1_->Button3 : form1_->Button5)->click();
    QVERIFY(promptedInside);
    if (verify)
        QCOMPARE(starts_->runs(0), 0); // closing it cancelled the compile
}

void tst_AutoCompile::tickBeforePromptExists()
{
    // Start-up's map dialog: AutoCompile restored on, no prompt made yet.
    TForm1 form1(dialogs_, dir_->path() + QLatin1Char('/'));
    form1.Edit4->setText(dir_->filePath(QStringLiteral("q2")));
    form1.mapName = QStringLiteral("base1");
    form1.CheckBox35->setChecked(true);
    form1.show();
    save(mapFile(), QTime(13, 47, 0));
    form1.Timer1Timer();
    QVERIFY(form1.isVisible());
    QCOMPARE(form1.mapTimestamp, platform::packDosDateTime(2024, 5, 17, 13, 47, 0));
}

QTEST_MAIN(tst_AutoCompile)
#include "tst_AutoCompile.moc"
