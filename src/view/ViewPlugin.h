#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// What the program calls in the view's library, which it loads when the
// view is first opened, so that start-up loads neither the view's code nor
// Qt's OpenGL libraries. The same compiler and Qt build both sides.
namespace view {

struct OpenRequest {
    QString bspPath;
    QStringList gameFolders; // textures and the palette: a mod's, then baseq2
    // A leak to draw: the .map, the point file the bsp step wrote and
    // ericw-tools' occupant line. Without a point file, one beside the .map
    // newer than it is drawn.
    QString mapPath;
    QString pointFile;
    QString occupantLine;
    // The .bsp is an earlier compile's (q2tool writes none on a leak).
    bool earlierBsp = false;
    // From a compile, which knows whether it leaked: no point file is no
    // leak, whatever lies beside the .map.
    bool fromCompile = false;
    bool operator==(const OpenRequest&) const = default;
};

// One view window, made by the library. The program keeps it; deleting it
// closes the window.
class MapViewer {
public:
    virtual ~MapViewer() = default;
    // Reads the .bsp anew; the camera and the mode stay where they are when
    // the path is the one shown. A file that cannot be read is named in the
    // window, and the scene shown before stays.
    virtual void open(const OpenRequest& request) = 0;
    virtual QString bspPath() const = 0;
    virtual bool isVisible() const = 0;
    // Shows the window in front.
    virtual void bringToFront() = 0;
};

using CreateViewer = void (*)(std::unique_ptr<MapViewer>& viewer);
// --view PATH [--shot ...]: the program's arguments, its name first; the
// exit code. Needs a QApplication.
using RunCommand = int (*)(const QStringList& arguments);

inline constexpr char libraryName[] = "brushwright_view";
inline constexpr char createViewerSymbol[] = "brushwright_createViewer";
inline constexpr char runCommandSymbol[] = "brushwright_runViewCommand";

} // namespace view
