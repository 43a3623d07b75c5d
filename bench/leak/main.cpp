// The leak window's figures on a generated map of some 20,000 brushes:
// reading the .map and building its solids, and a paint of the top view
// while panning, fitted to the leak and with the whole map in view.
// brushwright_leak [screenshot.png]; runs on the offscreen platform.
#include "leak/LeakPath.h"
#include "map/BrushGeometry.h"
#include "map/MapReader.h"
#include "ui/LeakView.h"
#include "ui/LeakWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

QByteArray num(double v)
{
    return QByteArray::number(v, 'g', 10);
}

// The six faces of a box, as editors write them, turned about z.
void box(QByteArray& text, double x0, double y0, double z0, double x1, double y1, double z1,
         double turn = 0)
{
    const double c = std::cos(turn), s = std::sin(turn);
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    auto p = [&](double x, double y, double z) {
        const double rx = cx + c * (x - cx) - s * (y - cy);
        const double ry = cy + s * (x - cx) + c * (y - cy);
        return "( " + num(std::round(rx)) + ' ' + num(std::round(ry)) + ' ' + num(z) + " ) ";
    };
    const QByteArray faces[6][3] = {{p(x0, y1, z1), p(x1, y0, z1), p(x0, y0, z1)},
                                    {p(x0, y0, z0), p(x1, y0, z0), p(x0, y1, z0)},
                                    {p(x1, y0, z1), p(x1, y1, z0), p(x1, y0, z0)},
                                    {p(x0, y0, z0), p(x0, y1, z0), p(x0, y0, z1)},
                                    {p(x0, y1, z0), p(x1, y1, z0), p(x0, y1, z1)},
                                    {p(x0, y0, z1), p(x1, y0, z0), p(x0, y0, z0)}};
    text += "{\n";
    for (const auto& face : faces)
        text += face[0] + face[1] + face[2] + "e1u1/wall1_1 0 0 0 1 1\n";
    text += "}\n";
}

// 100 x 50 rooms of four brushes each, every tenth room's pillar a door.
QByteArray generatedMap()
{
    QByteArray world = "{\n\"classname\" \"worldspawn\"\n";
    QByteArray entities;
    for (int i = 0; i < 100; ++i) {
        for (int j = 0; j < 50; ++j) {
            const double x = i * 256 - 12800, y = j * 256 - 6400;
            box(world, x, y, -16, x + 256, y + 256, 0);
            box(world, x, y, 0, x + 16, y + 160, 128 + (i * j) % 64);
            box(world, x + 16, y, 0, x + 200, y + 16, 128);
            QByteArray& holder = (i + j) % 10 == 0 ? entities : world;
            if (&holder == &entities)
                entities += "{\n\"classname\" \"func_door\"\n";
            box(holder, x + 96, y + 96, 0, x + 160, y + 160, 96, (i + j) * 0.1);
            if (&holder == &entities)
                entities += "}\n";
            entities += "{\n\"classname\" \"light\"\n\"origin\" \"" + num(x + 64) + ' ' +
                        num(y + 64) + " 64\"\n}\n";
        }
    }
    return world + "}\n" + entities +
           "{\n\"classname\" \"info_player_start\"\n\"origin\" \"40 40 24\"\n}\n";
}

leak::LeakPath snakingPath()
{
    leak::LeakPath path;
    for (int k = 0; k < 40; ++k)
        path.points.append({40.0 + k * 96, 40.0 + (k % 2) * 200, 24.0 + k * 4});
    path.report.entity = QStringLiteral("info_player_start");
    path.report.origin = path.points.first();
    path.report.voidEnd = path.points.last();
    path.report.points = int(path.points.size());
    return path;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Each paint after a drag of a few pixels, as a pan does it.
QList<double> panPaints(LeakView& view, int paints)
{
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    QList<double> times;
    QPointF at(view.width() / 2.0, view.height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, view.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(&view, &press);
    for (int i = 0; i < paints; ++i) {
        at += QPointF(i % 40 < 20 ? 7 : -7, 3 * (i % 2 ? 1 : -1));
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(&view, &move);
        QElapsedTimer clock;
        clock.start();
        QPainter painter(&image);
        view.render(painter);
        painter.end();
        times.append(clock.nsecsElapsed() / 1e6);
    }
    return times;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const QString mapPath = dir.filePath("big.map");
    QFile file(mapPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(generatedMap()) < 0)
        return 1;
    file.close();

    QList<double> readTimes;
    map::MapGeometry geometry;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        clock.start();
        geometry = map::geometryOf(map::readMapFile(mapPath));
        readTimes.append(clock.nsecsElapsed() / 1e6);
    }
    std::printf("map: %.1f MB, %lld brushes (%d skipped), %lld point entities\n",
                QFileInfo(mapPath).size() / 1e6, qlonglong(geometry.brushes.size()),
                geometry.skipped, qlonglong(geometry.pointEntities.size()));
    std::printf("read and build solids: median %.0f ms, best %.0f ms of 5\n", median(readTimes),
                *std::min_element(readTimes.begin(), readTimes.end()));

    QElapsedTimer windowClock;
    windowClock.start();
    LeakWindow window(std::move(geometry), snakingPath());
    window.resize(1600, 1000);
    window.show();
    QApplication::processEvents();
    std::printf("window built and shown: %.0f ms\n", windowClock.nsecsElapsed() / 1e6);
    LeakView& top = *window.views().first();
    if (argc > 1)
        window.grab().save(QString::fromLocal8Bit(argv[1]));

    const QList<double> fitted = panPaints(top, 100);
    std::printf("top view %dx%d, fitted to the leak: paint median %.1f ms, worst %.1f ms\n",
                top.width(), top.height(), median(fitted),
                *std::max_element(fitted.begin(), fitted.end()));
    // Out until the whole map is in view.
    while (top.transform().visiblePlane().width() < 26000) {
        QWheelEvent wheel(QPointF(top.width() / 2.0, top.height() / 2.0), QPointF(), {}, {0, -120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&top, &wheel);
    }
    const QList<double> whole = panPaints(top, 100);
    std::printf("whole map in view: paint median %.1f ms, worst %.1f ms\n", median(whole),
                *std::max_element(whole.begin(), whole.end()));
    if (argc > 2)
        window.grab().save(QString::fromLocal8Bit(argv[2]));
    return 0;
}
