// The view library's two entry points, looked up by name by the program
// that loads it.
#include "view/ViewPlugin.h"

#include "view/MapViewWindow.h"
#include "view/ViewCommand.h"

#include <QtGlobal>

extern "C" {

Q_DECL_EXPORT void brushwright_createViewer(std::unique_ptr<view::MapViewer>& viewer)
{
    viewer = std::make_unique<MapViewWindow>();
}

Q_DECL_EXPORT int brushwright_runViewCommand(const QStringList& arguments)
{
    return view::runViewCommand(arguments);
}
}
