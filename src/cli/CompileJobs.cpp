#include "cli/CompileJobs.h"

#include "batch/BatchScript.h"
#include "platform/Failure.h"
#include "run/Launch.h"
#include "settings/CompilerSettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace cli {

namespace {

const std::pair<const char*, settings::Suite> suiteNames[] = {{"id", settings::Suite::Id},
                                                              {"q2tools", settings::Suite::Q2tools},
                                                              {"ericw", settings::Suite::Ericw}};

std::optional<settings::Suite> suiteNamed(const QString& name)
{
    for (const auto& [text, suite] : suiteNames) {
        if (name == QLatin1String(text))
            return suite;
    }
    return std::nullopt;
}

[[noreturn]] void refuse(const QString& map, const QString& what)
{
    throw Failure(QStringLiteral("%1: %2").arg(map, what));
}

// The map's place as the compile window knows it: <game>/<baseq2 or
// mod>/maps/<name>.map.
struct MapPlace {
    QString path, name, gameDirectory, mod;
};

MapPlace placeOf(const QString& given, settings::Suite suite)
{
    const QFileInfo file(given);
    if (!file.exists())
        refuse(given, QStringLiteral("no such file"));
    if (file.isDir())
        refuse(given, QStringLiteral("a folder, not a .map file"));
    if (!file.isFile())
        refuse(given, QStringLiteral("not a regular file"));
    if (file.suffix().compare(QLatin1String("map"), Qt::CaseInsensitive) != 0)
        refuse(given, QStringLiteral("not a .map file"));
    MapPlace place;
    place.path = QDir::cleanPath(file.absoluteFilePath());
    place.name = file.completeBaseName();
    if (place.name.contains(QLatin1Char('.')))
        refuse(given, QStringLiteral("the compilers would take the name up to its first point"));
    const QDir maps = file.absoluteDir();
    if (maps.dirName().compare(QLatin1String("maps"), Qt::CaseInsensitive) != 0)
        refuse(given, QStringLiteral("not in a folder named maps (<game>/baseq2/maps or "
                                     "<game>/<mod>/maps), where the compilers and the map "
                                     "report find the game's files"));
    QDir gameFolder = maps;
    gameFolder.cdUp();
    const QString folderName = gameFolder.dirName();
    place.mod = folderName.compare(QLatin1String("baseq2"), Qt::CaseInsensitive) == 0 ? QString()
                                                                                      : folderName;
    gameFolder.cdUp();
    place.gameDirectory = QDir::toNativeSeparators(gameFolder.absolutePath());
    // id's tools find the game from a folder whose name starts with quake2.
    if (suite == settings::Suite::Id &&
        !place.path.contains(QLatin1String("/quake2"), Qt::CaseInsensitive))
        refuse(given, QStringLiteral("id's tools need a folder named quake2... in the map's "
                                     "path (\"SetQdirFromPath: no 'quake2'\")"));
    return place;
}

} // namespace

std::variant<CompileArguments, QString> parseCompileArguments(const QStringList& arguments)
{
    CompileArguments parsed;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--compile")) {
            continue;
        } else if (a == QLatin1String("--json")) {
            parsed.json = true;
        } else if (a == QLatin1String("--full")) {
            parsed.full = true;
        } else if (a == QLatin1String("--suite") || a == QLatin1String("--engine")) {
            if (i + 1 >= arguments.size())
                return QStringLiteral("%1 needs a value").arg(a);
            const QString value = arguments.at(++i);
            if (a == QLatin1String("--suite")) {
                parsed.suite = suiteNamed(value);
                if (!parsed.suite)
                    return QStringLiteral("unknown suite \"%1\" (id, q2tools, ericw)").arg(value);
            } else {
                parsed.engine = report::engineNamed(value);
                if (!parsed.engine)
                    return QStringLiteral("unknown engine \"%1\"").arg(value);
            }
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown switch \"%1\"").arg(a);
        } else {
            parsed.maps << a;
        }
    }
    if (parsed.maps.isEmpty())
        return QStringLiteral("--compile needs at least one .map file");
    return parsed;
}

QList<MapJob> compileJobs(const CompileArguments& arguments, const StoredSettings& stored,
                          const QString& cacheFolder)
{
    settings::CompilerSettings compilers = stored.compilers;
    compilers.suite = arguments.suite.value_or(compilers.suite);
    QList<MapJob> jobs;
    QSet<QString> seen;
    for (const QString& given : arguments.maps) {
        const MapPlace place = placeOf(given, compilers.suite);
        if (seen.contains(place.path))
            refuse(given, QStringLiteral("named twice"));
        seen.insert(place.path);
        compilers.mod = place.mod;
        const run::Places places = run::placesFor(place.gameDirectory, compilers.folder, place.mod);
        MapJob job;
        job.mapPath = place.path;
        job.suite = settings::suiteName(compilers.suite);
        for (const CompileStep& step : batch::compileSteps(
                 batchOptionsFor(stored, place.gameDirectory, place.name), compilers)) {
            const run::Launch launch = run::launchFor(step, places);
            if (!launch.problem.isEmpty())
                refuse(given, launch.problem + QStringLiteral("; looked in: ") +
                                  launch.looked.join(QStringLiteral(", ")));
            job.steps << run::RunStep{step.kind, launch, place.name};
        }
        job.runner.stopAtFirstFailure = compilers.stopAtFirstFailure;
        if (!cacheFolder.isEmpty()) {
            run::VisReuseSettings reuse{cacheFolder, place.path, job.suite, {}};
            if (arguments.full)
                reuse.forced = QStringLiteral("--full");
            else if (!compilers.reuseVis)
                reuse.forced = QStringLiteral("always run vis");
            job.runner.visReuse = reuse;
        }
        job.logPath = places.mapsFolder + QStringLiteral("/Brushwright.log");
        job.engine = arguments.engine.value_or(compilers.engine);
        jobs << job;
    }
    return jobs;
}

} // namespace cli
