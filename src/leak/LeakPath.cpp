#include "leak/LeakPath.h"

#include "leak/PointFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

namespace leak {

namespace {

// An entity "at" an end of the path: the compilers start the flood at the
// origin exactly; a unit allows for rounding in the file.
constexpr double nearEnough = 1.0;

double distance(const map::Vec3& a, const map::Vec3& b)
{
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

QString withoutSuffix(const QString& path, const QString& suffix)
{
    return path.endsWith(suffix, Qt::CaseInsensitive) ? path.chopped(suffix.size()) : path;
}

const map::MapEntity* entityAt(const map::MapFile& map, const map::Vec3& point,
                               const QString& classname = {})
{
    for (const map::MapEntity& entity : map.entities) {
        const auto origin = entity.origin();
        if (origin && distance(*origin, point) <= nearEnough &&
            (classname.isEmpty() || entity.classname() == classname))
            return &entity;
    }
    return nullptr;
}

QString number(double value)
{
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

// Whether the path, as the file has it, starts at the entity.
bool entityFirst(const map::MapFile& map, const QList<map::Vec3>& points,
                 const std::optional<Occupant>& occupant)
{
    if (occupant)
        return distance(points.first(), occupant->origin) <=
               distance(points.last(), occupant->origin);
    // id's tools and q2tool, the common case, end at the entity.
    return !entityAt(map, points.last()) && entityAt(map, points.first());
}

} // namespace

std::optional<QString> pointFileFor(const QString& mapPath, const QString& bspPath)
{
    const QString base = withoutSuffix(mapPath, QStringLiteral(".map"));
    QStringList candidates{base + QStringLiteral(".lin"), base + QStringLiteral(".pts")};
    if (!bspPath.isEmpty())
        candidates << withoutSuffix(bspPath, QStringLiteral(".bsp")) + QStringLiteral(".pts");
    const QDateTime mapTime = QFileInfo(mapPath).lastModified();
    std::optional<QString> newest;
    QDateTime newestTime;
    for (const QString& candidate : candidates) {
        const QFileInfo info(candidate);
        if (!info.isFile() || info.lastModified() < mapTime)
            continue;
        if (!newest || info.lastModified() > newestTime) {
            newest = info.absoluteFilePath();
            newestTime = info.lastModified();
        }
    }
    return newest;
}

std::optional<Occupant> parseOccupant(const QString& line)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"re(Reached occupant "([^"]*)" at \(([^ ()]+) ([^ ()]+) ([^ ()]+)\))re"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok[3] = {};
    const map::Vec3 origin{match.captured(2).toDouble(&ok[0]), match.captured(3).toDouble(&ok[1]),
                           match.captured(4).toDouble(&ok[2])};
    if (!ok[0] || !ok[1] || !ok[2])
        return std::nullopt;
    return Occupant{match.captured(1), origin};
}

LeakPath traceLeak(const map::MapFile& map, const QString& pointFile, const QString& occupantLine)
{
    const PointFile file = readPointFile(pointFile);
    LeakPath path;
    path.report.file = QFileInfo(pointFile).absoluteFilePath();
    path.report.skipped = file.skipped;
    path.report.points = int(file.points.size());
    path.points = file.points;
    if (path.points.isEmpty())
        return path;
    const std::optional<Occupant> occupant = parseOccupant(occupantLine);
    if (!entityFirst(map, path.points, occupant))
        std::reverse(path.points.begin(), path.points.end());
    for (qsizetype i = 1; i < path.points.size(); ++i)
        path.report.length += distance(path.points[i - 1], path.points[i]);
    path.report.voidEnd = path.points.last();
    path.report.origin = path.points.first();
    if (const map::MapEntity* entity =
            entityAt(map, path.points.first(), occupant ? occupant->classname : QString())) {
        path.report.entity = entity->classname();
        path.report.origin = *entity->origin();
    } else if (occupant) {
        path.report.entity = occupant->classname;
        path.report.origin = occupant->origin;
    }
    return path;
}

std::optional<report::LeakReport> findLeak(const map::MapFile& map, const QString& mapPath,
                                           const QString& bspPath, const QString& occupantLine)
{
    const std::optional<QString> file = pointFileFor(mapPath, bspPath);
    if (!file)
        return std::nullopt;
    return traceLeak(map, *file, occupantLine).report;
}

QString pointText(const map::Vec3& point)
{
    return QStringLiteral("(%1 %2 %3)").arg(number(point.x), number(point.y), number(point.z));
}

QString leakSentence(const report::LeakReport& leak)
{
    if (leak.points == 0)
        return QStringLiteral("The map leaks, but its point file holds no points.");
    const QString from = leak.entity.isEmpty()
                             ? pointText(leak.origin)
                             : leak.entity + QStringLiteral(" at ") + pointText(leak.origin);
    return QStringLiteral("The map leaks from %1 out to %2.").arg(from, pointText(leak.voidEnd));
}

} // namespace leak
