#include "run/Launch.h"

#include "map/MapName.h"
#include "platform/PathMapping.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace run {

namespace {

bool hasFolder(const QString& program)
{
    return program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\'));
}

bool isWindowsProgram(const QString& path)
{
    if (path.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

QStringList candidates(const CompileStep& step, const Places& places)
{
    QStringList names;
    QString program = step.program;
    if (hasFolder(program)) {
        names << platform::localPath(program);
    } else {
        QStringList folders;
        if (step.kind == CompileStep::Kind::Game) {
            folders << places.gameFolder;
        } else {
            if (!places.compilersFolder.isEmpty())
                folders << places.compilersFolder;
            folders << places.mapsFolder;
        }
        folders << places.searchPath;
        for (const QString& folder : std::as_const(folders)) {
            if (!folder.isEmpty())
                names << QDir(folder).filePath(program);
        }
    }
    if (program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        return names;
    QStringList withExe;
    for (const QString& name : std::as_const(names))
        withExe << name << name + QStringLiteral(".exe");
    return withExe;
}

#ifndef _WIN32
QString findWine(const QStringList& searchPath)
{
    for (const QString& folder : searchPath) {
        const QFileInfo wine(QDir(folder).filePath(QStringLiteral("wine")));
        if (wine.isFile() && wine.isExecutable())
            return wine.filePath();
    }
    return {};
}
#endif

} // namespace

Places placesFor(const QString& gameDirectory, const QString& compilersFolder, const QString& mod)
{
    const QString maps = map::mapsFolder(gameDirectory, mod);
    return {compilersFolder.isEmpty() ? QString() : platform::localPath(compilersFolder),
            platform::localPath(maps), platform::localPath(gameDirectory),
            platform::windowsPath(maps),
            qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts)};
}

Launch launchFor(const CompileStep& step, const Places& places)
{
    Launch launch;
    launch.workingFolder =
        step.kind == CompileStep::Kind::Game ? places.gameFolder : places.mapsFolder;
    launch.arguments = step.arguments;
    QString found;
    QString notExecutable;
    for (const QString& candidate : candidates(step, places)) {
        launch.looked << candidate;
        const QFileInfo info(candidate);
        if (!info.isFile())
            continue;
        launch.windowsProgram = isWindowsProgram(candidate);
        if (launch.windowsProgram || info.isExecutable()) {
            found = candidate;
            break;
        }
        if (notExecutable.isEmpty())
            notExecutable = candidate;
    }
    if (found.isEmpty()) {
        launch.windowsProgram = false;
        launch.problem = notExecutable.isEmpty()
                             ? step.program + QStringLiteral(" was not found")
                             : notExecutable + QStringLiteral(" is not executable");
        return launch;
    }
    launch.program = found;
#ifndef _WIN32
    if (!launch.windowsProgram)
        return launch;
    launch.underWine = true;
    launch.program = findWine(places.searchPath);
    if (launch.program.isEmpty()) {
        launch.problem = found + QStringLiteral(" is a Windows program, and wine was not found");
        return launch;
    }
    // The map by its full Windows path: Wine's current folder may name the
    // maps folder through another drive than the one the user typed.
    if (step.kind != CompileStep::Kind::Game && !launch.arguments.isEmpty())
        launch.arguments.last() =
            places.windowsMapsFolder + QLatin1Char('\\') + launch.arguments.last();
    launch.arguments.prepend(found);
#endif
    return launch;
}

QString displayCommand(const QString& program, const QStringList& arguments)
{
    QStringList parts;
    for (const QString& part : QStringList(program) + arguments) {
        const bool quote = part.isEmpty() || part.contains(QLatin1Char(' '));
        parts << (quote ? QLatin1Char('"') + part + QLatin1Char('"') : part);
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace run
