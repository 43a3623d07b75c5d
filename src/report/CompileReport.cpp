#include "report/CompileReport.h"

#include "leak/LeakPath.h"
#include "map/MapReader.h"
#include "platform/PathMapping.h"
#include "report/ReportFile.h"
#include "report/TextureLookup.h"

#include <QFileInfo>

namespace report {

namespace {

// Written by this compile: a file from a former one says nothing of it.
bool writtenSince(const QString& path, const QDateTime& since)
{
    const QFileInfo file(platform::localPath(path));
    return file.isFile() && (!since.isValid() || file.lastModified() >= since);
}

} // namespace

QStringList texturesMissingFrom(const QString& mapPath)
{
    return missingTextures(map::readMapFile(mapPath), mapPath);
}

MapReport reportAfterCompile(const CompileReportRequest& request)
{
    MapReport report;
    report.engine = request.engine;
    report.mapPath = QFileInfo(request.mapPath).absoluteFilePath();
    const map::MapFile mapFile = map::readMapFile(request.mapPath);
    report.missingTextures = missingTextures(mapFile, request.mapPath);

    const QFileInfo mapInfo(report.mapPath);
    const QString bspPath =
        mapInfo.path() + QLatin1Char('/') + mapInfo.completeBaseName() + QStringLiteral(".bsp");
    // q2tool writes no .bsp on a leak: the one beside the map is older.
    if (writtenSince(bspPath, request.since)) {
        addBsp(report, bspPath);
    }
    if (!request.pointFile.isEmpty())
        report.leak = leak::traceLeak(mapFile, request.pointFile, request.occupantLine).report;
    return report;
}

QString leakEndText(const LeakReport& leak)
{
    return leak.entity + QStringLiteral(" at ") + leak::pointText(leak.origin);
}

} // namespace report
