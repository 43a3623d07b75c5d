// The real program on a display of its own, used as a mapper would: it is
// installed into a fresh folder with the files that ship with it.
#include "StartRecorder.h"
#include "TestEnvironment.h"
#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class tst_ProgramRun : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void compileFromCommandLine();
    void firstStartOpensMapDialog();
    void firstCompileOfFreshInstall();
    void patchQuestionEndsProgram_data();
    void patchQuestionEndsProgram();
    void boxesInTurn_data();
    void boxesInTurn();
    void autocompilePromptLeavesForMainWindow_data();
    void autocompilePromptLeavesForMainWindow();
    void autocompileDuringStartUpMapDialog();

private:
    void install();
    void start(const QStringList& arguments);
    bool waitForExit(int timeoutMs = 10000);
    QString programFile(const QString& name) const { return dir_->filePath(name); }

    std::unique_ptr<VirtualDisplay> display_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<StartRecorder> starts_;
    std::unique_ptr<QProcess> program_;
};

void tst_ProgramRun::initTestCase()
{
#ifdef _WIN32
    QSKIP("drives the program with Xvfb and xdotool, which a Windows program cannot start; "
          "the Windows program is run under Wine by windows_compile_run instead");
#endif
    QVERIFY2(!qEnvironmentVariable("BRUSHWRIGHT_EXE").isEmpty(), "run through CTest");
    display_ = std::make_unique<VirtualDisplay>();
    QVERIFY2(display_->isRunning(), "Xvfb could not be started");
    QVERIFY2(!display_->xdotool({"version"}).isEmpty(), "xdotool is missing");
}

void tst_ProgramRun::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    starts_ = std::make_unique<StartRecorder>(dir_->filePath("quake2/baseq2/maps"));
    install();
}

void tst_ProgramRun::cleanup()
{
    if (QTest::currentTestFailed() && program_)
        qWarning("program output: %s", program_->readAll().constData());
    if (program_ && program_->state() != QProcess::NotRunning) {
        program_->kill();
        program_->waitForFinished(5000);
    }
    program_.reset();
    starts_.reset();
    dir_.reset();
}

void tst_ProgramRun::install()
{
    QVERIFY(QFile::copy(qEnvironmentVariable("BRUSHWRIGHT_EXE"), programFile("brushwright")));
    QFile(programFile("brushwright"))
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QDir data(qEnvironmentVariable("BRUSHWRIGHT_DATA"));
    for (const QString& name : data.entryList(QDir::Files))
        QVERIFY(QFile::copy(data.filePath(name), programFile(name)));
}

void tst_ProgramRun::start(const QStringList& arguments)
{
    program_ = std::make_unique<QProcess>();
    QProcessEnvironment environment = display_->environment();
    environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    program_->setProcessEnvironment(environment);
    program_->setProcessChannelMode(QProcess::MergedChannels);
    // Started from another folder: it must still find its own files.
    program_->setWorkingDirectory(QDir::tempPath());
    program_->start(programFile("brushwright"), arguments);
    QVERIFY(program_->waitForStarted(5000));
}

bool tst_ProgramRun::waitForExit(int timeoutMs)
{
    return program_->waitForFinished(timeoutMs) && program_->exitStatus() == QProcess::NormalExit &&
           program_->exitCode() == 0;
}

void tst_ProgramRun::compileFromCommandLine()
{
    const QString game = dir_->filePath("quake2");
    QVERIFY(QDir().mkpath(game + "/baseq2/maps"));
    writeBytes(programFile("settings.builtin"),
               crlf({"1", "0", "0", "0", "0", "0", game, "0", "0", "0"}));
    start({"base1.map"});
    const QString window = display_->waitForWindow("Brushwright");
    QVERIFY2(!window.isEmpty(), "the main window did not appear");

    display_->click(window, 356, 20); // "compile"
    const QList<QStringList> calls = starts_->calls();
    const QString batch = game + "/baseq2/maps/Brushwright.bat";
    QCOMPARE(calls, QList<QStringList>{StartRecorder::wineStart(batch)});
    const QByteArray text = readBytes(batch);
    QVERIFY(text.startsWith("cls\r\n@echo off\r\necho brushwright v1.02\r\n"));
    QVERIFY(text.contains("\r\nqbsp3 base1\r\nqvis3 base1\r\n"));
    QVERIFY(text.contains("qrad3 -scale 1 -direct 0.4 -entity 1 -ambient 0 -maxlight 196 base1"));

    // "compilers..." in its own modal loop: the next suite, then OK.
    display_->click(window, 200, 20);  // "menu"
    display_->click(window, 268, 188); // "compilers..."
    const QString dialog = display_->waitForWindow("compilers");
    QVERIFY2(!dialog.isEmpty(), "the compilers dialog did not open");
    display_->key(dialog, "Down");
    display_->key(dialog, "Return");
    QTRY_VERIFY(readBytes(programFile("brushwright.ini")).contains("suite=q2tools"));
    display_->click(window, 356, 20); // "compile"
    QTRY_VERIFY(readBytes(batch).contains("\r\nq2tool -bsp base1\r\nq2tool -vis base1\r\n"));

    display_->click(window, 304, 20); // "cancel"
    QVERIFY(waitForExit());
    QCOMPARE(readBytes(programFile("settings.builtin")),
             crlf({"1", "0", "0", "0", "0", "0", game, "0", "0", "0"}));
}

void tst_ProgramRun::firstStartOpensMapDialog()
{
    start({});
    const QString dialog = display_->waitForWindow("load uncompiled map");
    QVERIFY2(!dialog.isEmpty(), "the map dialog did not open");
    // No error box came before it (its caption would be the program's).
    QCOMPARE(display_->xdotool({"search", "--onlyvisible", "--name", "^Brushwright$"}), QString());

    display_->key(dialog, "Escape");
    const QString window = display_->waitForWindow("Brushwright");
    QVERIFY2(!window.isEmpty(), "the main window did not appear");
    display_->click(window, 304, 20); // "cancel"
    QVERIFY(waitForExit());
    QVERIFY(readBytes(programFile("lastused.builtin")).startsWith("Modify at your own risk!\r\n"));
}

void tst_ProgramRun::firstCompileOfFreshInstall()
{
    // The shipped settings name the game's own folder, C:\Quake2: in a Wine
    // prefix that has never run, its drive_c.
    const QString prefix = dir_->filePath("prefix");
    const QString batch = prefix + "/drive_c/Quake2/baseq2/maps/Brushwright.bat";
    QVERIFY(QDir().mkpath(prefix + "/drive_c/Quake2/baseq2/maps"));
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    start({"base1"});
    qunsetenv("WINEPREFIX");
    const QString window = display_->waitForWindow("Brushwright");
    QVERIFY2(!window.isEmpty(), "the main window did not appear");
    display_->click(window, 356, 20); // "compile"
    QCOMPARE(starts_->calls(), QList<QStringList>{StartRecorder::wineStart(batch)});
    QVERIFY(readBytes(batch).contains("\r\nC:\r\ncd\\Quake2\\baseq2\\maps\r\nqbsp3 "));
}

void tst_ProgramRun::patchQuestionEndsProgram_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("patched");
    QTest::newRow("Yes (Return)") << "Return" << true;
    QTest::newRow("No (Escape)") << "Escape" << false;
}

void tst_ProgramRun::patchQuestionEndsProgram()
{
    QFETCH(QString, key);
    QFETCH(bool, patched);
    const QByteArray seven = crlf({"1", "0", "0", "0", "0", "0", "C:\\Quake2"});
    writeBytes(programFile("settings.builtin"), seven);
    const QByteArray lastUsed = readBytes(programFile("lastused.builtin"));
    start({"base1"});
    const QString question = display_->waitForWindow("Confirm");
    QVERIFY2(!question.isEmpty(), "the patch question did not appear");
    display_->key(question, key);

    // The program ends by itself, without the shut-down writes.
    QVERIFY(waitForExit());
    QCOMPARE(readBytes(programFile("lastused.builtin")), lastUsed);
    QCOMPARE(readBytes(programFile("settings.builtin")),
             patched ? crlf({"1", "0", "0", "0", "0", "0", "C:\\Quake2", "0", "0", "0"}) : seven);
}

namespace {

// One box as the user meets it: title, text ({P} for the program folder)
// and the key that answers it.
struct Box {
    QString title, text, key;
};

const QString patchText = QStringLiteral(
    "Error loading {P}%1. This is most likely a version incompatability. Patch {P}%1?");

Box patchQuestion(const QString& file, const QString& key)
{
    return {"Confirm", patchText.arg(file), key};
}

Box errorBox(const QString& text)
{
    return {"Brushwright", text, "Return"};
}

QByteArray optionSetOfLength(int count, const QString& scale = QStringLiteral("100"))
{
    return crlf(
        optionSetLines({"0", "0", scale, "40", "100", "0", "196", "1", "1", "1"}).mid(0, count));
}

QByteArray settingsOfLength(int count)
{
    return crlf(
        QStringList{"1", "0", "0", "0", "0", "0", "C:\\Quake2", "0", "0", "0"}.mid(0, count));
}

} // namespace

Q_DECLARE_METATYPE(Box)

void tst_ProgramRun::boxesInTurn_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("lastUsed");
    QTest::addColumn<QByteArray>("preset");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QList<Box>>("boxes");
    QTest::addColumn<QString>("patched");
    QTest::addColumn<bool>("ends");

    const QByteArray settings = settingsOfLength(10);
    const Box lastUsedNo = patchQuestion("lastused.builtin", "Escape");
    const Box lastUsedYes = patchQuestion("lastused.builtin", "Return");
    const Box settingsNo = patchQuestion("settings.builtin", "Escape");
    QTest::newRow("30 lines, No") << settings << optionSetOfLength(30) << QByteArray() << ""
                                  << QList<Box>{lastUsedNo,
                                                errorBox("List index out of bounds (30)")}
                                  << "" << true;
    QTest::newRow("20 lines, Yes")
        << settings << optionSetOfLength(20) << QByteArray() << ""
        << QList<Box>{lastUsedYes, errorBox("List index out of bounds (26)")} << "lastused.builtin"
        << true;
    QTest::newRow("short settings, no lastused")
        << settingsOfLength(7) << QByteArray() << QByteArray() << ""
        << QList<Box>{settingsNo, errorBox("Cannot open file {P}lastused.builtin.")} << "" << true;
    QTest::newRow("short settings, short option set")
        << settingsOfLength(7) << optionSetOfLength(33) << QByteArray() << ""
        << QList<Box>{settingsNo, lastUsedYes} << "lastused.builtin" << true;
    QTest::newRow("invalid slider line")
        << settings << optionSetOfLength(33, "40 ") << QByteArray() << ""
        << QList<Box>{lastUsedNo, errorBox("'40 ' is not a valid integer value.")} << "" << true;
    QTest::newRow("load default settings")
        << settings << optionSetOfLength(36) << optionSetOfLength(30) << "default"
        << QList<Box>{patchQuestion("default.builtin", "Escape"),
                      errorBox("List index out of bounds (30)")}
        << "" << true;
    // Bad files: each box shows its text as it is, and soon.
    QTest::newRow("markup in a slider line")
        << settings << optionSetOfLength(36, "<b>5</b>") << QByteArray() << ""
        << QList<Box>{errorBox("'<b>5</b>' is not a valid integer value.")} << "" << false;
    QTest::newRow("2,000,000 digits")
        << settings << optionSetOfLength(36, QString(2'000'000, '1')) << QByteArray() << ""
        << QList<Box>{errorBox("'" + QString(100, '1') + QChar(0x2026) + QString(100, '1') +
                               "' is not a valid integer value.")}
        << "" << false;
    QTest::newRow("pipe as lastused.builtin")
        << settings << QByteArray("<pipe>") << QByteArray() << ""
        << QList<Box>{errorBox("Cannot open file {P}lastused.builtin.")} << "" << false;
    QTest::newRow("load preset") << settings << optionSetOfLength(36) << optionSetOfLength(20)
                                 << "preset"
                                 << QList<Box>{patchQuestion("short.preset", "Return"),
                                               errorBox("List index out of bounds (26)")}
                                 << "short.preset" << true;
}

void tst_ProgramRun::boxesInTurn()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, lastUsed);
    QFETCH(QByteArray, preset);
    QFETCH(QString, action);
    QFETCH(QList<Box>, boxes);
    QFETCH(QString, patched);
    QFETCH(bool, ends);
    writeBytes(programFile("settings.builtin"), settings);
    QVERIFY(QFile::remove(programFile("lastused.builtin")));
    if (lastUsed == "<pipe>")
        QVERIFY(makePipe(programFile("lastused.builtin")));
    else if (!lastUsed.isEmpty())
        writeBytes(programFile("lastused.builtin"), lastUsed);
    if (action == "default")
        writeBytes(programFile("default.builtin"), preset);
    if (action == "preset")
        writeBytes(programFile("short.preset"), preset);

    start({"base1"});
    if (!action.isEmpty()) {
        const QString window = display_->waitForWindow("Brushwright");
        QVERIFY2(!window.isEmpty(), "the main window did not appear");
        if (action == "default") {
            display_->click(window, 100, 452); // "load default settings"
        } else {
            display_->click(window, 150, 428); // "load preset..."
            const QString dialog = display_->waitForWindow("load preset");
            QVERIFY2(!dialog.isEmpty(), "the preset dialog did not open");
            display_->type(dialog, programFile("short.preset"));
            display_->key(dialog, "Return");
        }
    }
    for (const Box& box : boxes) {
        const QStringList seen = display_->answerBox(box.key);
        QString text = box.text;
        text.replace("{P}", dir_->path() + QLatin1Char('/'));
        QCOMPARE(seen, (QStringList{box.title, text}));
    }
    if (!ends) {
        QVERIFY2(!display_->waitForWindow("Brushwright").isEmpty(), "the main window is missing");
        QCOMPARE(program_->state(), QProcess::Running);
        return;
    }
    // After the last box the program ends by itself, unsaved.
    QVERIFY(waitForExit());
    if (!patched.isEmpty())
        QVERIFY(readBytes(programFile(patched))
                    .startsWith("Modify at your own risk! (Patched, v1.02)\r\n"));
    if (!lastUsed.isEmpty() && patched != "lastused.builtin" && lastUsed != "<pipe>")
        QCOMPARE(readBytes(programFile("lastused.builtin")), lastUsed);
}

void tst_ProgramRun::autocompilePromptLeavesForMainWindow_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Open Brushwright") << false;
    QTest::newRow("close box") << true;
}

void tst_ProgramRun::autocompilePromptLeavesForMainWindow()
{
    QFETCH(bool, closeBox);
    const QString game = dir_->filePath("quake2");
    const QString map = game + "/baseq2/maps/base1.map";
    writeBytes(map, "{\n}\n");
    const QByteArray settings = crlf({"1", "0", "0", "0", "0", "0", game, "0", "0", "1"});
    writeBytes(programFile("settings.builtin"), settings);
    start({"base1"});
    const QString window = display_->waitForWindow("Brushwright");
    QVERIFY2(!window.isEmpty(), "the main window did not appear");

    // Saved by the editor: within a tick the prompt is up, and the main
    // window is gone.
    stampFile(map, QDateTime::currentDateTime().addSecs(-3600));
    QElapsedTimer saved;
    saved.start();
    const QString prompt = display_->waitForWindow("Brushwright AutoCompile", 1000);
    QVERIFY2(!prompt.isEmpty(), "no prompt within a second of the save");
    qInfo("prompt after %lld ms", saved.elapsed());
    QCOMPARE(display_->xdotool({"search", "--onlyvisible", "--name", "^Brushwright$"}), QString());

    // Hiding the main window, then closing the last window shown, must not
    // end the program.
    if (closeBox)
        QVERIFY(display_->closeWindow(prompt));
    else
        display_->click(prompt, 136, 76); // "Open Brushwright"
    QVERIFY2(!display_->waitForWindow("Brushwright").isEmpty(), "the main window did not return");
    QCOMPARE(display_->xdotool({"search", "--onlyvisible", "--name", "^Brushwright AutoCompile$"}),
             QString());
    QCOMPARE(program_->state(), QProcess::Running);

    // Closed by "cancel" or by the window system, the main window ends it.
    if (closeBox)
        QVERIFY(display_->closeWindow(window));
    else
        display_->click(window, 304, 20); // "cancel"
    QVERIFY(waitForExit());
    QCOMPARE(readBytes(programFile("settings.builtin")), settings);
}

void tst_ProgramRun::autocompileDuringStartUpMapDialog()
{
    // AutoCompile restored on watches the file of the empty map name while
    // the start-up map dialog is open, before the prompt exists.
    const QString game = dir_->filePath("quake2");
    writeBytes(programFile("settings.builtin"),
               crlf({"1", "0", "0", "0", "0", "0", game, "0", "0", "1"}));
    start({});
    const QString dialog = display_->waitForWindow("load uncompiled map");
    QVERIFY2(!dialog.isEmpty(), "the map dialog did not open");
    writeBytes(game + "/baseq2/maps/.map", "{\n}\n");
    QTest::qWait(1200);
    QCOMPARE(program_->state(), QProcess::Running);

    display_->key(dialog, "Escape");
    const QString window = display_->waitForWindow("Brushwright");
    QVERIFY2(!window.isEmpty(), "the main window did not appear");
    // The change came while the dialog was open: it was taken, not shown.
    QVERIFY(display_->waitForWindow("Brushwright AutoCompile", 1200).isEmpty());
    display_->click(window, 304, 20); // "cancel"
    QVERIFY(waitForExit());
}

QTEST_GUILESS_MAIN(tst_ProgramRun)
#include "tst_ProgramRun.moc"
