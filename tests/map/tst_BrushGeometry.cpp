// Brushes as the editors write them become the solids they stand for: known
// shapes by their volume, broken ones passed over and counted.
#include "map/BrushGeometry.h"
#include "map/MapReader.h"

#include <QTest>
#include <cmath>

class tst_BrushGeometry : public QObject {
    Q_OBJECT

private slots:
    void solids_data();
    void solids();
};

namespace {

using Triple = std::array<map::Vec3, 3>;

// The six faces of an axis-aligned box in the winding editors write (as in
// the test maps), each turned by the angle about the z axis.
QList<Triple> box(map::Vec3 a, map::Vec3 b, double degrees = 0)
{
    QList<Triple> faces{{{{a.x, b.y, b.z}, {b.x, a.y, b.z}, {a.x, a.y, b.z}}},
                        {{{a.x, a.y, a.z}, {b.x, a.y, a.z}, {a.x, b.y, a.z}}},
                        {{{b.x, a.y, b.z}, {b.x, b.y, a.z}, {b.x, a.y, a.z}}},
                        {{{a.x, a.y, a.z}, {a.x, b.y, a.z}, {a.x, a.y, b.z}}},
                        {{{a.x, b.y, a.z}, {b.x, b.y, a.z}, {a.x, b.y, b.z}}},
                        {{{a.x, a.y, b.z}, {b.x, a.y, a.z}, {a.x, a.y, a.z}}}};
    const double c = std::cos(degrees * M_PI / 180), s = std::sin(degrees * M_PI / 180);
    for (Triple& face : faces) {
        for (map::Vec3& p : face)
            p = {c * p.x - s * p.y, s * p.x + c * p.y, p.z};
    }
    return faces;
}

QByteArray brushText(const QList<Triple>& faces)
{
    QByteArray text = "{\n\"classname\" \"worldspawn\"\n{\n";
    for (const Triple& face : faces) {
        for (const map::Vec3& p : face)
            text += QByteArray("( ") + QByteArray::number(p.x, 'f', 6) + ' ' +
                    QByteArray::number(p.y, 'f', 6) + ' ' + QByteArray::number(p.z, 'f', 6) + " ) ";
        text += "e1u1/wall1_1 0 0 0 1 1\n";
    }
    return text + "}\n}\n";
}

} // namespace

void tst_BrushGeometry::solids_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("volume"); // 0: no solid, skipped
    QTest::addColumn<int>("faces");

    const QList<Triple> cube = box({-32, -32, 0}, {32, 32, 64});
    QTest::newRow("cube") << brushText(cube) << 64.0 * 64 * 64 << 6;
    QTest::newRow("slab of the test map")
        << brushText(box({-272, -272, -16}, {272, 272, 0})) << 544.0 * 544 * 16 << 6;
    QTest::newRow("turned 30 degrees")
        << brushText(box({-32, -32, 0}, {32, 32, 64}, 30)) << 64.0 * 64 * 64 << 6;
    // The top replaced by x + z <= 64 over a 64 unit box: half of it.
    QList<Triple> wedge = box({0, 0, 0}, {64, 64, 64});
    wedge[0] = {{{64, 64, 0}, {64, 0, 0}, {0, 0, 64}}};
    QTest::newRow("wedge") << brushText(wedge) << 64.0 * 64 * 32 << 5;
    QTest::newRow("a face written twice")
        << brushText(cube + cube.mid(0, 1)) << 64.0 * 64 * 64 << 6;

    QTest::newRow("three planes") << brushText(cube.mid(0, 3)) << 0.0 << 0;
    // Bottom above top: the planes face away from each other with nothing between.
    QList<Triple> apart = cube;
    apart[1] = box({-32, -32, 80}, {32, 32, 96})[1];
    QTest::newRow("parallel planes apart") << brushText(apart) << 0.0 << 0;
    QList<Triple> flat = box({-32, -32, 0}, {32, 32, 0});
    QTest::newRow("no thickness") << brushText(flat) << 0.0 << 0;
    QList<Triple> inLine = cube;
    inLine[2] = {{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}};
    QTest::newRow("points in a line") << brushText(inLine) << 0.0 << 0;
}

void tst_BrushGeometry::solids()
{
    QFETCH(QByteArray, text);
    QFETCH(double, volume);
    QFETCH(int, faces);

    const map::MapFile file = map::parseMap(text);
    const map::MapGeometry geometry = map::geometryOf(file);
    QCOMPARE(geometry.skipped, volume == 0 ? 1 : 0);
    QCOMPARE(geometry.brushes.size(), volume == 0 ? 0 : 1);
    if (volume == 0)
        return;
    const map::Solid& solid = geometry.brushes[0].solid;
    QVERIFY2(std::abs(map::volume(solid) - volume) < volume * 1e-6,
             qPrintable(QString::number(map::volume(solid))));
    QCOMPARE(solid.faces.size(), faces);
    // Every corner behind every face's plane.
    for (const auto& face : file.entities[0].brushes[0].faces) {
        const auto plane = map::planeFrom(face.points);
        QVERIFY(plane);
        for (const auto& polygon : solid.faces) {
            for (const map::Vec3& p : polygon) {
                const double d = plane->normal.x * p.x + plane->normal.y * p.y +
                                 plane->normal.z * p.z - plane->dist;
                QVERIFY2(d < 0.02, qPrintable(QString::number(d)));
            }
        }
    }
}

QTEST_GUILESS_MAIN(tst_BrushGeometry)
#include "tst_BrushGeometry.moc"
