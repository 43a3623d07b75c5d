#pragma once

#include "leak/LeakPath.h"
#include "map/BrushGeometry.h"

#include <QList>
#include <QWidget>
#include <memory>

class LeakView;
class QLabel;
struct LeakScene;

// Where a map leaks, drawn: the map from the top, the front and the side,
// the path in red from the entity the flood reached out to the void, and
// the sentence that says so. Ctrl+Shift+K and Ctrl+Shift+L step along the
// path, as in the editors.
class LeakWindow : public QWidget {
    Q_OBJECT
public:
    LeakWindow(map::MapGeometry geometry, leak::LeakPath path, QWidget* parent = nullptr);
    ~LeakWindow() override;

    // Reads the .map and the point file; throws Failure where one cannot be
    // read.
    static std::unique_ptr<LeakWindow> fromFiles(const QString& mapPath, const QString& pointFile,
                                                 const QString& occupantLine = {},
                                                 QWidget* parent = nullptr);

    // The path's point the views are centred on; -1 before the first step.
    int focusedPoint() const { return focus_; }
    const QList<LeakView*>& views() const { return views_; }

    void nextPoint();
    void previousPoint();

private:
    void focusOn(int index);
    void copyPointFilePath();

    std::shared_ptr<const LeakScene> scene_;
    QList<LeakView*> views_;
    QLabel* where_ = nullptr;
    int focus_ = -1;
};
