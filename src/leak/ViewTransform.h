#pragma once

#include "map/MapReader.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// The three views editors show a map in, and how one maps its plane onto
// the screen: plane x to the right, plane y up.
namespace leak {

enum class ViewAxis { Top, Front, Side };

// Top: x, y. Front: x, z. Side: y, z.
QPointF project(const map::Vec3& point, ViewAxis axis);

struct ViewTransform {
    QPointF centre;   // the plane point in the middle of the view
    double scale = 1; // pixels a unit
    QSizeF size;      // of the view, in pixels

    QPointF toScreen(QPointF plane) const
    {
        return {(plane.x() - centre.x()) * scale + size.width() / 2,
                size.height() / 2 - (plane.y() - centre.y()) * scale};
    }
    QPointF toPlane(QPointF screen) const;
    QRectF visiblePlane() const;
    // Keeps the plane point under the screen point where it is.
    void zoomAbout(QPointF screen, double factor);
    void panBy(QPointF screenDelta);
    // The whole rectangle in view, with a margin.
    void fit(const QRectF& plane);
};

} // namespace leak
