#include "ui/ViewLibrary.h"

#include "platform/Failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace viewlibrary {

namespace {

QFunctionPointer resolve(const char* symbol)
{
    static QLibrary library;
    if (!library.isLoaded()) {
        const QDir folder(QCoreApplication::applicationDirPath());
        // Beside the program (the build, the Windows program), then where
        // the installed program keeps it.
        const QStringList places = {
            folder.filePath(QLatin1String(view::libraryName)),
            QDir::cleanPath(folder.filePath(QStringLiteral(BRUSHWRIGHT_VIEW_DIR "/") +
                                            QLatin1String(view::libraryName)))};
        QStringList problems;
        for (const QString& place : places) {
            library.setFileName(place);
            if (library.load())
                break;
            problems << library.errorString();
        }
        if (!library.isLoaded())
            throw Failure(QStringLiteral("The 3D view could not be loaded: %1")
                              .arg(problems.join(QStringLiteral("; "))));
    }
    const QFunctionPointer function = library.resolve(symbol);
    if (!function)
        throw Failure(QStringLiteral("The 3D view's library %1 lacks %2")
                          .arg(library.fileName(), QLatin1String(symbol)));
    return function;
}

} // namespace

std::unique_ptr<view::MapViewer> createViewer()
{
    std::unique_ptr<view::MapViewer> viewer;
    reinterpret_cast<view::CreateViewer>(resolve(view::createViewerSymbol))(viewer);
    return viewer;
}

int runCommand(const QStringList& arguments)
{
    return reinterpret_cast<view::RunCommand>(resolve(view::runCommandSymbol))(arguments);
}

} // namespace viewlibrary
