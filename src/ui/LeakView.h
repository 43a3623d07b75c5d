#pragma once

#include "leak/LeakPath.h"
#include "leak/ViewTransform.h"
#include "map/BrushGeometry.h"

#include <QLineF>
#include <QList>
#include <QWidget>
#include <memory>

// What the leak window shows, read once: the map's solids and the path.
struct LeakScene {
    map::MapGeometry geometry;
    leak::LeakPath path;
};

// One orthographic view of the map's brushes (outlines), its point
// entities and the leak path. The wheel zooms about the cursor, a drag pans.
class LeakView : public QWidget {
    Q_OBJECT
public:
    LeakView(std::shared_ptr<const LeakScene> scene, leak::ViewAxis axis,
             QWidget* parent = nullptr);

    leak::ViewAxis axis() const { return axis_; }
    const leak::ViewTransform& transform() const { return transform_; }
    // The path and the brushes about it in view; again on each resize
    // until the mapper moves the view.
    void fitToLeak();
    // Centred on the path's point; -1: none marked.
    void setFocusPoint(int index);
    // Everything a paint draws, into any device of the view's size.
    void render(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // A brush's outline as this view sees it: its lines in lines_.
    struct Outline {
        QRectF bounds;
        qsizetype first = 0;
        qsizetype count = 0;
        bool world = true;
    };

    void buildOutlines();
    void drawGrid(QPainter& painter) const;
    void drawBrushes(QPainter& painter) const;
    void drawPointEntities(QPainter& painter) const;
    void drawPath(QPainter& painter) const;
    QRectF leakBounds() const;

    std::shared_ptr<const LeakScene> scene_;
    leak::ViewAxis axis_;
    leak::ViewTransform transform_;
    QList<Outline> outlines_;
    QList<QLineF> lines_; // in the view's plane
    int focus_ = -1;
    bool moved_ = false; // by the mapper: no refit on resize
    QPointF lastMouse_;
};
