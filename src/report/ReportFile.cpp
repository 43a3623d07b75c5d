#include "report/ReportFile.h"

#include "bsp/BspFile.h"
#include "leak/LeakPath.h"
#include "map/MapReader.h"
#include "platform/Failure.h"
#include "platform/PathMapping.h"
#include "report/EngineLimits.h"
#include "report/ReportText.h"
#include "report/TextureLookup.h"
#include "scene/SceneBuilder.h"
#include "settings/CompilerSettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace report {

void addBsp(MapReport& report, const QString& bspPath)
{
    const bsp::BspInfo info = bsp::readBspFile(bspPath);
    report.bspPath = bspPath;
    report.format = info.format;
    report.formatSupported = formatSupported(info.format, report.engine);
    report.limits = limitRows(info, report.engine);
    report.pvs = scene::pvsFiguresOf(bspPath, &report.pvsProblem);
}

namespace {

const QString usage = QStringLiteral(
    "Usage: brushwright --report PATH [--engine vanilla|yamagi|q2pro|rerelease] [--json]\n"
    "  PATH     a .bsp, or a .map (its textures and the .bsp of its name beside it)\n"
    "  --engine the engine players load the map in; default: [game] engine= of\n"
    "           brushwright.ini, else vanilla\n"
    "  --json   one JSON object instead of the table\n"
    "Exit: 0 all within the engine's limits, 1 something over, an unsupported\n"
    "format, a missing texture or a leak, 2 a file that cannot be read or bad usage.\n");

CommandResult usageError(const QString& what)
{
    return {2, QString(), QStringLiteral("brushwright: %1\n").arg(what) + usage};
}

} // namespace

MapReport reportOf(const QString& path, Engine engine)
{
    MapReport report;
    report.engine = engine;
    const QFileInfo file(platform::localPath(path));
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (file.suffix().compare(QStringLiteral("map"), Qt::CaseInsensitive) != 0) {
        addBsp(report, absolute);
        return report;
    }
    const map::MapFile mapFile = map::readMapFile(absolute);
    report.mapPath = absolute;
    report.missingTextures = missingTextures(mapFile, absolute);
    const QString bspPath = QFileInfo(absolute).path() + QLatin1Char('/') +
                            QFileInfo(absolute).completeBaseName() + QStringLiteral(".bsp");
    if (QFileInfo::exists(platform::localPath(bspPath)))
        addBsp(report, bspPath);
    report.leak = leak::findLeak(mapFile, absolute, bspPath);
    return report;
}

Engine configuredEngine(const QString& iniPath)
{
    return settings::readCompilerSettings(iniPath).engine;
}

bool isReportCommand(const QStringList& arguments)
{
    return arguments.mid(1).contains(QStringLiteral("--report"));
}

CommandResult runReportCommand(const QStringList& arguments, const QString& iniPath)
{
    QString path;
    std::optional<Engine> engine;
    bool json = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QStringLiteral("--json")) {
            json = true;
        } else if (a == QStringLiteral("--report") || a == QStringLiteral("--engine")) {
            if (i + 1 >= arguments.size())
                return usageError(QStringLiteral("%1 needs a value").arg(a));
            const QString value = arguments[++i];
            if (a == QStringLiteral("--report")) {
                path = value;
            } else {
                engine = engineNamed(value);
                if (!engine)
                    return usageError(QStringLiteral("unknown engine \"%1\"").arg(value));
            }
        } else {
            return usageError(QStringLiteral("unknown argument \"%1\"").arg(a));
        }
    }
    if (path.isEmpty())
        return usageError(QStringLiteral("--report needs a .bsp or .map file"));
    try {
        const MapReport report = reportOf(path, engine.value_or(configuredEngine(iniPath)));
        // Information, never an exit code of its own.
        const QString warning =
            report.pvsProblem.isEmpty()
                ? QString()
                : QStringLiteral("brushwright: warning: %1: no visible-set figures\n")
                      .arg(report.pvsProblem);
        return {exitCode(report), json ? reportJson(report) : reportText(report), warning};
    } catch (const Failure& failure) {
        return {2, QString(), QStringLiteral("brushwright: %1\n").arg(failure.text())};
    }
}

} // namespace report
