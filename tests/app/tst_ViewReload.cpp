// The 3D view follows the compiles of its map: the real program compiles
// the test box with q2tool in its compile window, "view map" opens the
// view, the camera is flown and the mode changed, and a second compile
// with a weaker light reloads the view, which keeps both.
#include "GameFolder.h"
#include "TestEnvironment.h"
#include "VirtualDisplay.h"
#include "platform/TextFile.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString viewTitle = QStringLiteral("Brushwright view");

// The view's picture as the display shows it.
double meanBrightness(const VirtualDisplay& display, const QString& window, const QString& path)
{
    QProcess import;
    import.setProcessEnvironment(display.environment());
    import.start(QStringLiteral("import"), {"-window", window, path});
    import.waitForFinished(20000);
    const QImage image(path);
    // The picture above the lines of text.
    double sum = 0;
    const int bottom = image.height() * 3 / 4;
    for (int y = 0; y < bottom; y += 4) {
        for (int x = 0; x < image.width(); x += 4)
            sum += qGray(image.pixel(x, y));
    }
    return sum / (double(bottom / 4) * (image.width() / 4));
}

// The line that starts so: the status line ("x "), the file line ("box.bsp").
QString labelStarting(const QStringList& labels, const QString& start)
{
    for (const QString& label : labels) {
        if (label.startsWith(start))
            return label;
    }
    return {};
}

} // namespace

class tst_ViewReload : public QObject {
    Q_OBJECT

private slots:
    void reloadAfterCompile();
};

void tst_ViewReload::reloadAfterCompile()
{
#ifdef _WIN32
    QSKIP("drives the program with Xvfb, xdotool and the accessibility bus");
#endif
    if (gamefolder::compilersFolder().isEmpty())
        QSKIP("no real compilers: ../shared/compilers is missing");
    VirtualDisplay display;
    QVERIFY2(display.isRunning(), "Xvfb could not be started");
    QTemporaryDir dir;
    const QString maps = gamefolder::makeGame(dir.filePath(QStringLiteral("Jörg & 100%")));
    const QString game = QFileInfo(QFileInfo(maps).path()).path();
    const QByteArray box =
        gamefolder::readFile(gamefolder::compilersFolder() + QStringLiteral("/testmap/box.map"));
    gamefolder::writeFile(maps + QStringLiteral("/box.map"), box);

    // The program beside its view library, its settings beside it: no game
    // run, pause after compiling on (the compile window stays), q2tool.
    const QString bin = QFileInfo(qEnvironmentVariable("BRUSHWRIGHT_EXE")).path();
    const QString exe = dir.filePath(QStringLiteral("brushwright"));
    QVERIFY(QFile::copy(bin + QStringLiteral("/brushwright"), exe));
    QVERIFY(QFile::copy(bin + QStringLiteral("/brushwright_view.so"),
                        dir.filePath(QStringLiteral("brushwright_view.so"))));
    textfile::writeLines(dir.filePath(QStringLiteral("settings.builtin")),
                         {"1", "0", "0", "0", "0", "0", game, "1", "0", "0"});
    QStringList lastUsed =
        optionSetLines({"0", "0", "100", "40", "100", "0", "196", "1", "1", "1"});
    const QString checked = QStringLiteral("1010011100110000010000001");
    for (int i = 0; i < checked.size(); ++i)
        lastUsed[i + 1] = checked.at(i);
    textfile::writeLines(dir.filePath(QStringLiteral("lastused.builtin")), lastUsed);
    textfile::writeLines(dir.filePath(QStringLiteral("brushwright.ini")),
                         {"[compilers]", "suite=q2tools",
                          "folder=" + gamefolder::compilersFolder() + "/linux", "[compile]",
                          "way=window"});

    QProcess program;
    program.setProcessEnvironment(display.environment());
    program.start(exe, {QStringLiteral("box")});
    QVERIFY(program.waitForStarted(5000));
    const QString mainWindow = display.waitForWindow(QStringLiteral("Brushwright"));
    QVERIFY2(!mainWindow.isEmpty(), "the main window did not appear");
    display.click(mainWindow, 356, 20); // "compile"
    const QPoint viewMap = display.buttonCentre(QStringLiteral("Brushwright compile"),
                                                QStringLiteral("view map"), 60000);
    QVERIFY2(!viewMap.isNull(), "no \"view map\" after the compile");
    display.clickAt(viewMap);
    const QString view = display.waitForWindow(viewTitle);
    QVERIFY2(!view.isEmpty(), "the view did not open");
    QTRY_VERIFY_WITH_TIMEOUT(
        labelStarting(display.labels(viewTitle), QStringLiteral("x ")).startsWith("x 0  y 0  z 54"),
        15000);

    // Back with S for a moment, then the lightmap mode.
    display.xdotool({"windowfocus", "--sync", view});
    display.xdotool({"keydown", "s"});
    QTest::qWait(400);
    display.xdotool({"keyup", "s"});
    display.xdotool({"key", "2"});
    QStringList labels;
    QTRY_VERIFY_WITH_TIMEOUT(
        (labels = display.labels(viewTitle), labelStarting(labels, "x ").endsWith("lightmap")),
        10000);
    const QString flown = labelStarting(labels, QStringLiteral("x "));
    const QString firstRead = labelStarting(labels, QStringLiteral("box.bsp"));
    QVERIFY2(!flown.startsWith(QStringLiteral("x 0  y 0 ")), qPrintable(flown));
    const double bright = meanBrightness(display, view, dir.filePath(QStringLiteral("a.png")));

    // A quarter of the light, compiled again from the main window; the
    // view's "read at" moves on by a second at least.
    QTest::qWait(1100);
    QByteArray weaker = box;
    weaker.replace("\"light\" \"400\"", "\"light\" \"100\"");
    gamefolder::writeFile(maps + QStringLiteral("/box.map"), weaker);
    // No window manager here: the view lies over the main window.
    display.xdotool({"windowraise", mainWindow});
    display.click(mainWindow, 356, 20);
    QTRY_VERIFY_WITH_TIMEOUT((labels = display.labels(viewTitle),
                              labelStarting(labels, QStringLiteral("box.bsp")) != firstRead),
                             60000);
    QCOMPARE(labelStarting(labels, QStringLiteral("x ")), flown);
    const double dim = meanBrightness(display, view, dir.filePath(QStringLiteral("b.png")));
    QVERIFY2(dim < 0.8 * bright, qPrintable(QStringLiteral("%1 then %2").arg(bright).arg(dim)));

    QVERIFY(display.closeWindow(view));
    display.xdotool({"windowraise", mainWindow});
    display.click(mainWindow, 304, 20); // "cancel" ends the program
    QVERIFY(program.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(tst_ViewReload)
#include "tst_ViewReload.moc"
