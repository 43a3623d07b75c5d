#include "view/ViewCommand.h"

#include "platform/Console.h"
#include "platform/Failure.h"
#include "platform/TextFile.h"
#include "report/TextureLookup.h"
#include "scene/SceneBuilder.h"
#include "scene/VisibleSet.h"
#include "view/LeakOverlay.h"
#include "view/MapViewWindow.h"
#include "view/OffscreenShot.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <optional>
#include <variant>

namespace view {

namespace {

const QString usage = QStringLiteral(
    "Usage: brushwright --view PATH.bsp [--shot OUT.png [--size WxH]\n"
    "                   [--camera \"X Y Z YAW PITCH\"] [--mode lit|lightmap|fullbright]\n"
    "                   [--lock \"X Y Z\"]]\n"
    "  --shot    draw one frame off screen into a PNG file, print what it shows, exit\n"
    "  --size    its size in pixels; default 800x600\n"
    "  --camera  map units and the game's degrees: yaw counter-clockwise from +X,\n"
    "            pitch positive looking down; default: info_player_start\n"
    "  --mode    lit (default), lightmap or fullbright\n"
    "  --lock    draw what the engine draws from this point (the visible set locked\n"
    "            there, as the view's L key locks it); default: from the camera\n"
    "Exit: 0 done, 2 a file that cannot be read or written, or bad usage.\n");

struct Command {
    QString bspPath;
    QString shotPath;
    QSize size{800, 600};
    std::optional<scene::Camera> camera;
    ViewMode mode = ViewMode::Lit;
    std::optional<scene::Vec3> lock;
};

std::optional<QSize> parseSize(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    bool w = false, h = false;
    const QSize size = parts.size() == 2 ? QSize(parts[0].toInt(&w), parts[1].toInt(&h)) : QSize();
    if (!w || !h || size.width() < 1 || size.height() < 1 || size.width() > 8192 ||
        size.height() > 8192)
        return std::nullopt;
    return size;
}

// The command, or what is wrong with it.
std::variant<Command, QString> parse(const QStringList& arguments)
{
    Command command;
    bool sized = false, placed = false, moded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const QStringList takesValue = {"--view",   "--shot", "--size",
                                        "--camera", "--mode", "--lock"};
        if (!takesValue.contains(a))
            return QStringLiteral("unknown argument \"%1\"").arg(a);
        if (i + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value").arg(a);
        const QString value = arguments[++i];
        if (a == QStringLiteral("--view")) {
            command.bspPath = value;
        } else if (a == QStringLiteral("--shot")) {
            command.shotPath = value;
        } else if (a == QStringLiteral("--size")) {
            const std::optional<QSize> size = parseSize(value);
            if (!size)
                return QStringLiteral("--size takes WIDTHxHEIGHT, not \"%1\"").arg(value);
            command.size = *size;
            sized = true;
        } else if (a == QStringLiteral("--lock")) {
            const std::optional<scene::Camera> at =
                scene::parseCamera(value + QStringLiteral(" 0 0"));
            if (!at)
                return QStringLiteral("--lock takes \"X Y Z\", not \"%1\"").arg(value);
            command.lock = at->position;
            placed = true;
        } else if (a == QStringLiteral("--camera")) {
            command.camera = scene::parseCamera(value);
            if (!command.camera)
                return QStringLiteral("--camera takes \"X Y Z YAW PITCH\", not \"%1\"").arg(value);
            placed = true;
        } else {
            const std::optional<ViewMode> mode = modeNamed(value);
            if (!mode)
                return QStringLiteral("unknown mode \"%1\"").arg(value);
            command.mode = *mode;
            moded = true;
        }
    }
    if (command.bspPath.isEmpty())
        return QStringLiteral("--view needs a .bsp file");
    if (command.shotPath.isEmpty() && (sized || placed || moded))
        return QStringLiteral("--size, --camera, --mode and --lock go with --shot");
    return command;
}

int usageError(const QString& what)
{
    platform::writeStandardError(QStringLiteral("brushwright: %1\n").arg(what) + usage);
    return 2;
}

QByteArray pngOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

int shoot(const Command& command, const scene::Scene& scene, const OpenRequest& open)
{
    ShotRequest request;
    request.camera = command.camera.value_or(scene.start);
    request.mode = command.mode;
    request.size = command.size;
    const scene::VisibleSet set =
        scene::visibleFrom(scene, command.lock.value_or(request.camera.position));
    request.drawable = set.drawable;
    const LeakOverlay leak = leakOverlayFor(open);
    if (leak.points.size() >= 2)
        request.lines.push_back({leak.points, QColor(230, 30, 30), true});
    if (command.lock)
        request.lines.push_back(SceneRenderer::lockMark(*command.lock));
    const QImage image = renderShot(scene, request);
    textfile::writeFile(command.shotPath, pngOf(image));
    const float aspect = float(image.width()) / float(image.height());
    const int inView = scene::facesInView(scene, set, scene::Frustum(request.camera, aspect));
    QString out = QStringLiteral("%1: %2 x %3, %4, %5\n")
                      .arg(QDir::toNativeSeparators(command.shotPath))
                      .arg(image.width())
                      .arg(image.height())
                      .arg(modeName(command.mode), scene::cameraText(request.camera)) +
                  scene::visibleSetText(set, inView) + u'\n';
    if (!leak.note.isEmpty())
        out += leak.note + u'\n';
    platform::writeStandardOutput(out);
    return 0;
}

int showWindow(const OpenRequest& open, std::shared_ptr<const scene::Scene> scene)
{
    MapViewWindow window;
    window.showScene(open, std::move(scene));
    window.bringToFront();
    return QApplication::exec();
}

} // namespace

int runViewCommand(const QStringList& arguments)
{
    const auto parsed = parse(arguments);
    if (const QString* problem = std::get_if<QString>(&parsed))
        return usageError(*problem);
    const Command& command = std::get<Command>(parsed);
    const QString path = QDir::cleanPath(QFileInfo(command.bspPath).absoluteFilePath());
    const QStringList folders = report::TextureLookup::gameFoldersOf(path);
    try {
        auto scene = std::make_shared<const scene::Scene>(scene::readScene(path, folders));
        for (const QString& problem : scene->problems)
            platform::writeStandardError(QStringLiteral("brushwright: note: %1\n").arg(problem));
        const OpenRequest open{path, folders, {}, {}, {}, false, false};
        if (!command.shotPath.isEmpty())
            return shoot(command, *scene, open);
        return showWindow(open, std::move(scene));
    } catch (const Failure& failure) {
        platform::writeStandardError(QStringLiteral("brushwright: %1\n").arg(failure.text()));
        return 2;
    }
}

} // namespace view
