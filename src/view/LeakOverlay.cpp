#include "view/LeakOverlay.h"

#include "leak/LeakPath.h"
#include "platform/Failure.h"
#include "platform/PathMapping.h"

#include <QFileInfo>
#include <optional>

namespace {

QString mapBeside(const QString& bspPath)
{
    const QFileInfo bsp(bspPath);
    const QString map =
        bsp.path() + QLatin1Char('/') + bsp.completeBaseName() + QStringLiteral(".map");
    return QFileInfo::exists(platform::localPath(map)) ? map : QString();
}

} // namespace

LeakOverlay leakOverlayFor(const view::OpenRequest& request)
{
    LeakOverlay leak;
    const QString map = request.mapPath.isEmpty() ? mapBeside(request.bspPath) : request.mapPath;
    try {
        std::optional<QString> pointFile;
        if (!request.pointFile.isEmpty())
            pointFile = request.pointFile;
        else if (!map.isEmpty() && !request.fromCompile)
            pointFile = leak::pointFileFor(map, request.bspPath);
        if (!pointFile)
            return leak;
        const leak::LeakPath path =
            leak::traceLeak(map::readMapFile(map), *pointFile, request.occupantLine);
        for (const map::Vec3& p : path.points)
            leak.points.push_back({float(p.x), float(p.y), float(p.z)});
        leak.note = leak::leakSentence(path.report);
    } catch (const Failure& failure) {
        leak.points.clear();
        leak.note = QStringLiteral("the leak cannot be shown: ") + failure.text();
    }
    return leak;
}
