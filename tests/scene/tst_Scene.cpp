// The scene the view draws, built from the real compilers' output: faces,
// lightmap pages as the map report counts them, textures from a pak in the
// game's palette; damaged files and folders; the camera's conventions.
#include "../support/GameFolder.h"
#include "bsp/BspFile.h"
#include "platform/Failure.h"
#include "report/TextureLookup.h"
#include "scene/Lightmaps.h"
#include "scene/SceneBuilder.h"
#include "scene/Visibility.h"

#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstring>
#include <functional>

namespace {

QByteArray boxMap()
{
    return gamefolder::readFile(gamefolder::compilersFolder() + QStringLiteral("/testmap/box.map"));
}

std::uint32_t packed(const std::array<int, 3>& c)
{
    return std::uint32_t(c[0]) | std::uint32_t(c[1]) << 8 | std::uint32_t(c[2]) << 16 | 0xff000000u;
}

const scene::Texture* textureNamed(const scene::Scene& scene, const QString& name)
{
    for (const scene::Texture& texture : scene.textures) {
        if (texture.name == name)
            return &texture;
    }
    return nullptr;
}

// Bounded, as the sanitizers' build checks a read of Qt's empty array.
// Byte by byte: GCC 12 at -O3 takes a bounded memcpy for a read past Qt's
// empty array.
qint32 intAt(const QByteArray& bytes, qint64 at)
{
    if (at < 0 || at + 4 > bytes.size())
        return 0;
    quint32 value = 0;
    for (qint64 i = at + 3; i >= at; --i)
        value = value << 8 | quint8(bytes.at(qsizetype(i)));
    return qint32(value);
}

// The first face whose block the lighting lump holds: its lightofs' place.
qint64 firstLitFaceLightofs(const QByteArray& ibsp)
{
    const qint64 faces = intAt(ibsp, 8 + 8 * bsp::Faces),
                 count = intAt(ibsp, 12 + 8 * bsp::Faces) / 20;
    for (qint64 f = 0; f < count; ++f) {
        if (intAt(ibsp, faces + 20 * f + 16) >= 0)
            return faces + 20 * f + 16;
    }
    return -1;
}

} // namespace

class TestScene : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void realCompilers_data();
    void realCompilers();
    void badInput_data();
    void badInput();
    void camera_data();
    void camera();
    void rows_data();
    void rows();

private:
    QTemporaryDir folder_;
    QByteArray box_; // q2tool's box.bsp
};

void TestScene::initTestCase()
{
    // The tables of rows and cameras need no compiler.
    if (gamefolder::compilersFolder().isEmpty())
        return;
    const QString maps = gamefolder::makeGame(folder_.filePath(QStringLiteral("first")));
    box_ = gamefolder::readFile(
        gamefolder::compile(maps, QStringLiteral("q2tools"), boxMap(), QStringLiteral("box")));
    QVERIFY(!box_.isEmpty());
}

void TestScene::realCompilers_data()
{
    QTest::addColumn<QString>("suite");
    QTest::addColumn<bool>("tight"); // the blocks fill the lighting lump exactly
    QTest::newRow("id qbsp3 qvis3 qrad3") << QStringLiteral("id") << true;
    QTest::newRow("q2tool") << QStringLiteral("q2tools") << true;
    QTest::newRow("ericw-tools") << QStringLiteral("ericw") << false;
}

void TestScene::realCompilers()
{
    QFETCH(QString, suite);
    QFETCH(bool, tight);
    if (box_.isEmpty())
        QSKIP("no real compilers: BRUSHWRIGHT_COMPILERS lacks linux/q2tool");
    const QString maps = gamefolder::makeGame(folder_.filePath(suite));
    const QString bsp = gamefolder::compile(maps, suite, boxMap(), QStringLiteral("box"));
    QVERIFY(!bsp.isEmpty());
    const bsp::BspInfo info = bsp::readBspFile(bsp);
    const scene::Scene scene = scene::readScene(bsp, report::TextureLookup::gameFoldersOf(bsp));

    QCOMPARE(qint64(scene.faces.size()), info.counts[bsp::Faces]);
    QCOMPARE(scene.lightmaps.pages, info.lightmapPages);
    // Every lit face has its block, within its page and apart from the
    // others on it; the blocks add up to the lighting lump.
    qint64 bytes = 0;
    QList<QRect> placed;
    for (const scene::Face& face : scene.faces) {
        if (face.look != scene::Look::Lit)
            continue;
        QVERIFY(face.lightRead);
        const QRect block(face.page * 1000 + face.lightX, face.lightY, face.lightWidth,
                          face.lightHeight);
        QVERIFY(face.lightX + face.lightWidth <= 128 && face.lightY + face.lightHeight <= 128);
        for (const QRect& other : placed)
            QVERIFY(!other.intersects(block));
        placed << block;
        bytes += scene::blockBytes(face);
    }
    // Every face of the box is a lit wall, floor or ceiling.
    QCOMPARE(placed.size(), qsizetype(scene.faces.size()));
    QVERIFY(tight ? bytes == info.counts[bsp::Lighting] : bytes <= info.counts[bsp::Lighting]);

    QCOMPARE(scene.missingTextures + scene.brokenTextures, 0);
    QCOMPARE(scene.problems, QStringList());
    const scene::Texture* wall = textureNamed(scene, QStringLiteral("e1u1/wall1_1"));
    QVERIFY(wall && wall->found);
    QCOMPARE(wall->image.rgba[1 * 64 + 1],
             packed(gamefolder::colour(16 * gamefolder::wallHue + 8)));
    QCOMPARE(wall->image.rgba[0], packed(gamefolder::colour(16 * gamefolder::wallHue + 2)));
    QCOMPARE(scene.start, (scene::Camera{{0, 0, 54}, 90, 0}));
}

void TestScene::badInput_data()
{
    using Change = std::function<void(QByteArray & bsp, const QString& game)>;
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("withoutLight");
    QTest::addColumn<bool>("wallFound");
    QTest::addColumn<bool>("greyPalette");
    QTest::addColumn<QString>("said"); // in the problems or the failure
    QTest::newRow("lightofs runs past the lump") << Change([](QByteArray& b, const QString&) {
        const qint64 at = firstLitFaceLightofs(b);
        const qint32 end = intAt(b, 12 + 8 * bsp::Lighting) - 3;
        std::memcpy(b.data() + at, &end, 4);
    }) << 1 << true << false << QString();
    QTest::newRow("negative lightofs") << Change([](QByteArray& b, const QString&) {
        const qint32 below = -5;
        std::memcpy(b.data() + firstLitFaceLightofs(b), &below, 4);
    }) << 1 << true << false << QString();
    QTest::newRow(".wal shorter than its size") << Change([](QByteArray&, const QString& game) {
        gamefolder::writeFile(game + QStringLiteral("/textures/e1u1/wall1_1.wal"),
                              gamefolder::wal("e1u1/wall1_1", 1).left(3000));
    }) << 0 << false << false << QString();
    QTest::newRow("colormap.pcx is no PCX") << Change([](QByteArray&, const QString& game) {
        gamefolder::writeFile(game + QStringLiteral("/pics/colormap.pcx"), QByteArray(2000, 'x'));
    }) << 0 << true << true << QStringLiteral("pics/colormap.pcx is not an 8-bit PCX picture");
    QTest::newRow("no colormap.pcx") << Change([](QByteArray&, const QString& game) {
        QFile::remove(game + QStringLiteral("/pics/colormap.pcx"));
    }) << 0 << true << true << QStringLiteral("no pics/colormap.pcx");
    QTest::newRow("broken .bsp") << Change([](QByteArray& b, const QString&) {
        b.truncate(100);
    }) << 0 << false << false << QStringLiteral("box.bsp: 100 bytes, shorter than a .bsp header");
}

void TestScene::badInput()
{
    using Change = std::function<void(QByteArray & bsp, const QString& game)>;
    QFETCH(Change, change);
    QFETCH(int, withoutLight);
    QFETCH(bool, wallFound);
    QFETCH(bool, greyPalette);
    QFETCH(QString, said);
    if (box_.isEmpty())
        QSKIP("no real compilers: BRUSHWRIGHT_COMPILERS lacks linux/q2tool");
    QTemporaryDir root;
    const QString maps = gamefolder::makeGame(root.path());
    QByteArray bytes = box_;
    change(bytes, QFileInfo(maps).path());
    const QString bsp = maps + QStringLiteral("/box.bsp");
    gamefolder::writeFile(bsp, bytes);
    try {
        const scene::Scene scene = scene::readScene(bsp, report::TextureLookup::gameFoldersOf(bsp));
        QCOMPARE(scene.facesWithoutLight, withoutLight);
        const scene::Texture* wall = textureNamed(scene, QStringLiteral("e1u1/wall1_1"));
        QCOMPARE(wall->found, wallFound);
        QCOMPARE(wall->image.rgba.empty(), !wallFound);
        const std::uint32_t texel = wallFound ? wall->image.rgba[1 * 64 + 1] : 0;
        const bool grey =
            (texel & 0xff) == (texel >> 8 & 0xff) && (texel & 0xff) == (texel >> 16 & 0xff);
        QCOMPARE(wallFound && grey, greyPalette);
        QCOMPARE(scene.brokenTextures, wallFound ? 0 : 1);
        QVERIFY2(said.isEmpty() ? scene.problems.isEmpty()
                                : scene.problems.join(' ').contains(said),
                 qPrintable(scene.problems.join(' ')));
    } catch (const Failure& failure) {
        QVERIFY2(!said.isEmpty() && failure.text().contains(said), qPrintable(failure.text()));
    }
}

void TestScene::camera_data()
{
    QTest::addColumn<QString>("camera"); // as --camera takes it
    QTest::addColumn<scene::Vec3>("point");
    QTest::addColumn<QPointF>("onScreen"); // -1 .. 1 across and up; NaN: off it
    const QPointF off(qQNaN(), qQNaN());
    QTest::newRow("yaw 90 looks along +Y")
        << "0 0 0 90 0" << scene::Vec3{0, 100, 0} << QPointF(0, 0);
    QTest::newRow("+X on the right") << "0 0 0 90 0" << scene::Vec3{50, 100, 0} << QPointF(0.5, 0);
    QTest::newRow("yaw 0 looks along +X")
        << "0 0 0 0 0" << scene::Vec3{100, 0, 50} << QPointF(0, 0.5 * 4 / 3);
    QTest::newRow("pitch down: ahead shows high")
        << "0 0 0 0 30" << scene::Vec3{100, 0, 0} << QPointF(0, std::tan(M_PI / 6) * 4 / 3);
    QTest::newRow("pitch down: below shows centred")
        << "0 0 0 0 45" << scene::Vec3{100, 0, -100} << QPointF(0, 0);
    QTest::newRow("behind the camera") << "10 20 30 180 0" << scene::Vec3{100, 20, 30} << off;
    QTest::newRow("not five numbers") << "1 2 3 4" << scene::Vec3{} << off;
    QTest::newRow("not numbers") << "a b c d e" << scene::Vec3{} << off;
}

void TestScene::camera()
{
    QFETCH(QString, camera);
    QFETCH(scene::Vec3, point);
    QFETCH(QPointF, onScreen);
    const std::optional<scene::Camera> parsed = scene::parseCamera(camera);
    QCOMPARE(parsed.has_value(),
             !QTest::currentDataTag() || !QByteArray(QTest::currentDataTag()).startsWith("not "));
    if (!parsed)
        return;
    // A 4:3 picture: 90 degrees across, tan = 3/4 up and down.
    const float aspect = 4.0f / 3;
    const scene::Matrix m = scene::viewProjection(*parsed, aspect);
    float clip[4];
    for (int row = 0; row < 4; ++row)
        clip[row] = m[row] * point.x + m[4 + row] * point.y + m[8 + row] * point.z + m[12 + row];
    const bool excluded = scene::Frustum(*parsed, aspect).excludes(point, point);
    QCOMPARE(excluded, qIsNaN(onScreen.x()));
    if (excluded) {
        QVERIFY(clip[3] <= 0);
        return;
    }
    QVERIFY(qAbs(clip[0] / clip[3] - onScreen.x()) < 1e-4);
    QVERIFY(qAbs(clip[1] / clip[3] - onScreen.y()) < 1e-4);

    // Flying: W along the view, Space up the world's z, Shift faster.
    scene::Motion forward;
    forward.forward = 1;
    const scene::Camera flown = scene::moved(*parsed, forward, 0.5f, 100);
    QVERIFY(qAbs(scene::length(flown.position - parsed->position) - 50) < 1e-3);
    QVERIFY(scene::dot(flown.position - parsed->position, parsed->forward()) > 49.9f);
    scene::Motion up;
    up.up = 1;
    up.fast = true;
    QCOMPARE(scene::moved(*parsed, up, 1, 10).position - parsed->position,
             (scene::Vec3{0, 0, 10 * scene::fastFactor}));
}

void TestScene::rows_data()
{
    QTest::addColumn<QByteArray>("lump"); // the row at offset 0, unless the lump
    QTest::addColumn<int>("offset");      // starts with its own header (offset -2)
    QTest::addColumn<int>("clusters");
    QTest::addColumn<QByteArray>("row"); // empty: damaged
    QTest::newRow("bytes as they are")
        << QByteArray("\x05\x80", 2) << 0 << 16 << QByteArray("\x05\x80", 2);
    QTest::newRow("a run of zeros")
        << QByteArray("\x01\x00\x02\x80", 4) << 0 << 32 << QByteArray("\x01\x00\x00\x80", 4);
    QTest::newRow("a run of none")
        << QByteArray("\x00\x00\x07", 3) << 0 << 8 << QByteArray("\x07", 1);
    QTest::newRow("a run past the row, cut")
        << QByteArray("\x00\x09", 2) << 0 << 16 << QByteArray(2, '\0');
    QTest::newRow("nine clusters, two bytes")
        << QByteArray("\xff\x01", 2) << 0 << 9 << QByteArray("\xff\x01", 2);
    QTest::newRow("at an offset") << QByteArray("\xaa\xbb\x03", 3) << 2 << 8
                                  << QByteArray("\x03", 1);
    QTest::newRow("row past the end") << QByteArray("\x05", 1) << 0 << 16 << QByteArray();
    QTest::newRow("a zero without its count")
        << QByteArray("\x05\x00", 2) << 0 << 24 << QByteArray();
    QTest::newRow("offset past the end") << QByteArray("\x05", 1) << 2 << 8 << QByteArray();
    QTest::newRow("offset before the lump") << QByteArray("\x05", 1) << -1 << 8 << QByteArray();
    // Whole lumps: 2 clusters, each {pvs, phs}, then the rows; clusters is
    // the tree's leafs here.
    QTest::newRow("lump: rows read") << QByteArray("\x02\0\0\0\x14\0\0\0\0\0\0\0"
                                                   "\x15\0\0\0\0\0\0\0\x01\x03",
                                                   22)
                                     << -2 << 2 << QByteArray("\x03", 1);
    QTest::newRow("lump: offsets past its end")
        << QByteArray("\x09\0\0\0\x14\0\0\0", 8) << -2 << 9 << QByteArray();
    QTest::newRow("lump: more clusters than leafs")
        << QByteArray("\x02\0\0\0\x14\0\0\0\0\0\0\0\x15\0\0\0\0\0\0\0\x01\x03", 22) << -2 << 1
        << QByteArray();
    QTest::newRow("lump: a row past its end")
        << QByteArray("\x02\0\0\0\x14\0\0\0\0\0\0\0\x40\0\0\0\0\0\0\0\x01", 21) << -2 << 2
        << QByteArray();
}

void TestScene::rows()
{
    QFETCH(QByteArray, lump);
    QFETCH(int, offset);
    QFETCH(int, clusters);
    QFETCH(QByteArray, row);
    const std::string_view bytes(lump.constData(), std::size_t(lump.size()));
    std::optional<std::vector<std::uint8_t>> decoded;
    if (offset == -2) {
        // The second cluster's row, as the lump's header places it.
        const scene::Visibility vis = scene::Visibility::read(bytes, clusters);
        QCOMPARE(vis.state(), row.isEmpty() ? scene::Visibility::State::Damaged
                                            : scene::Visibility::State::Present);
        QCOMPARE(vis.problem().isEmpty(), !row.isEmpty());
        if (vis.state() == scene::Visibility::State::Present)
            decoded = vis.row(1);
    } else {
        decoded = scene::decodeRow(bytes, offset, clusters);
    }
    QCOMPARE(decoded.has_value(), !row.isEmpty());
    if (decoded)
        QCOMPARE(
            QByteArray(reinterpret_cast<const char*>(decoded->data()), qsizetype(decoded->size())),
            row);
}

QTEST_GUILESS_MAIN(TestScene)
#include "tst_Scene.moc"
