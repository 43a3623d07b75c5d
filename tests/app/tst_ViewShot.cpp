// The real program's pictures of the compiled test box (--view --shot), from
// info_player_start, compiled by each suite in a game folder with blanks,
// "&", "%" and accents in its path, the textures in a pak: light falls off
// from under the light, the wall's colours show, the lightmap mode is grey.
#include "GameFolder.h"
#include "ProgramRun.h"
#include "VirtualDisplay.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <array>

namespace {

// The median brightness of the 9 x 9 pixels around (x, y): the texture's
// lines are thin.
int brightness(const QImage& image, int x, int y)
{
    std::vector<int> values;
    for (int dy = -4; dy <= 4; ++dy) {
        for (int dx = -4; dx <= 4; ++dx) {
            const QRgb p = image.pixel(std::clamp(x + dx, 0, image.width() - 1),
                                       std::clamp(y + dy, 0, image.height() - 1));
            values.push_back(qRed(p) + qGreen(p) + qBlue(p));
        }
    }
    std::nth_element(values.begin(), values.begin() + 40, values.end());
    return values[40];
}

std::array<double, 3> meanColour(const QImage& image, const QRect& area)
{
    std::array<double, 3> sum{};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            sum[0] += qRed(p);
            sum[1] += qGreen(p);
            sum[2] += qBlue(p);
        }
    }
    for (double& channel : sum)
        channel /= double(area.width()) * area.height();
    return sum;
}

} // namespace

class tst_ViewShot : public QObject {
    Q_OBJECT

private slots:
    void pictures_data();
    void pictures();
};

void tst_ViewShot::pictures_data()
{
    QTest::addColumn<QString>("suite");
    QTest::newRow("id's tools") << QStringLiteral("id");
    QTest::newRow("q2tools-220") << QStringLiteral("q2tools");
    QTest::newRow("ericw-tools") << QStringLiteral("ericw");
}

void tst_ViewShot::pictures()
{
    QFETCH(QString, suite);
#ifdef _WIN32
    QSKIP("draws on an X display of its own");
#endif
    if (gamefolder::compilersFolder().isEmpty())
        QSKIP("no real compilers: ../shared/compilers is missing");
    VirtualDisplay display;
    QVERIFY2(display.isRunning(), "Xvfb could not be started");
    QTemporaryDir dir;
    const QString maps = gamefolder::makeGame(dir.filePath(QStringLiteral("Jörg & 100%")));
    const QString bsp = gamefolder::compile(
        maps, suite,
        gamefolder::readFile(gamefolder::compilersFolder() + QStringLiteral("/testmap/box.map")),
        QStringLiteral("box"));
    QVERIFY(!bsp.isEmpty());

    const QString litPath = dir.filePath(QStringLiteral("lit.png"));
    const ProgramRun lit = runProgram(display.environment(), {"--view", bsp, "--shot", litPath});
    QVERIFY2(lit.exitCode == 0, qPrintable(lit.err));
    QVERIFY2(lit.out.contains(QStringLiteral("800 x 600, lit, x 0  y 0  z 54  yaw 90  pitch 0")),
             qPrintable(lit.out));
    const QImage picture(litPath);
    QCOMPARE(picture.size(), QSize(800, 600));
    // Looking along +Y from the player's eye: the floor at the bottom's
    // middle lies near the spot under the light, the wall's feet at the
    // picture's edges are the floor's far corners.
    const int underLight = brightness(picture, 400, 590);
    QVERIFY2(underLight > 1.3 * brightness(picture, 6, 392) &&
                 underLight > 1.3 * brightness(picture, 793, 392),
             qPrintable(QStringLiteral("%1 under the light, %2 and %3 in the corners")
                            .arg(underLight)
                            .arg(brightness(picture, 6, 392))
                            .arg(brightness(picture, 793, 392))));
    // The wall texture is of the palette's red hue, the floor's of its blue.
    const std::array<double, 3> wall = meanColour(picture, QRect(250, 80, 300, 150));
    const std::array<double, 3> floor = meanColour(picture, QRect(250, 480, 300, 100));
    QVERIFY2(wall[0] > 2.5 * wall[2] && floor[2] > 1.5 * floor[0],
             qPrintable(QStringLiteral("wall %1 %2 %3").arg(wall[0]).arg(wall[1]).arg(wall[2])));

    const QString greyPath = dir.filePath(QStringLiteral("lightmap.png"));
    const ProgramRun grey = runProgram(display.environment(),
                                       {"--view", bsp, "--shot", greyPath, "--mode", "lightmap"});
    QVERIFY2(grey.exitCode == 0, qPrintable(grey.err));
    // Light alone: no texture's colour (ericw-tools' bounced light tints it
    // a little), and as bright in the middle as around it where lit.
    const QImage light(greyPath);
    const std::array<double, 3> mean = meanColour(light, light.rect());
    const auto [low, high] = std::minmax({mean[0], mean[1], mean[2]});
    QVERIFY2(high > 20 && high < 1.1 * low,
             qPrintable(QStringLiteral("mean %1 %2 %3").arg(mean[0]).arg(mean[1]).arg(mean[2])));

    // A broken file: exit 2, the reader's message naming it, no picture.
    const QString broken = maps + QStringLiteral("/broken.bsp");
    gamefolder::writeFile(broken, gamefolder::readFile(bsp).left(100));
    const QString none = dir.filePath(QStringLiteral("none.png"));
    const ProgramRun failed = runProgram(display.environment(), {"--view", broken, "--shot", none});
    QCOMPARE(failed.exitCode, 2);
    QVERIFY2(
        failed.err.contains(broken + QStringLiteral(": 100 bytes, shorter than a .bsp header")),
        qPrintable(failed.err));
    QVERIFY(!QFile::exists(none));

    // No display: a usage error saying what to do, not Qt's abort.
    QProcessEnvironment noDisplay = display.environment();
    noDisplay.remove(QStringLiteral("DISPLAY"));
    const ProgramRun headless = runProgram(noDisplay, {"--view", bsp, "--shot", none});
    QCOMPARE(headless.exitCode, 2);
    QVERIFY2(headless.err.contains(QStringLiteral("xvfb-run")), qPrintable(headless.err));
    QVERIFY(!QFile::exists(none));
}

QTEST_GUILESS_MAIN(tst_ViewShot)
#include "tst_ViewShot.moc"
