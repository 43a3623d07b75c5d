#include "leak/ViewTransform.h"

#include <algorithm>

namespace leak {

namespace {

// From a whole continent of a map to a tenth of a unit a pixel... and back.
constexpr double minScale = 1.0 / 4096;
constexpr double maxScale = 64;
constexpr double fitMargin = 0.9;

} // namespace

QPointF project(const map::Vec3& point, ViewAxis axis)
{
    switch (axis) {
    case ViewAxis::Top:
        return {point.x, point.y};
    case ViewAxis::Front:
        return {point.x, point.z};
    case ViewAxis::Side:
        return {point.y, point.z};
    }
    return {};
}

QPointF ViewTransform::toPlane(QPointF screen) const
{
    return {centre.x() + (screen.x() - size.width() / 2) / scale,
            centre.y() - (screen.y() - size.height() / 2) / scale};
}

QRectF ViewTransform::visiblePlane() const
{
    const QPointF a = toPlane({0, 0});
    const QPointF b = toPlane({size.width(), size.height()});
    return QRectF(a, b).normalized();
}

void ViewTransform::zoomAbout(QPointF screen, double factor)
{
    const QPointF held = toPlane(screen);
    scale = std::clamp(scale * factor, minScale, maxScale);
    const QPointF moved = toPlane(screen);
    centre += held - moved;
}

void ViewTransform::panBy(QPointF screenDelta)
{
    centre += QPointF(-screenDelta.x() / scale, screenDelta.y() / scale);
}

void ViewTransform::fit(const QRectF& plane)
{
    centre = plane.center();
    const double w = std::max(plane.width(), 1.0);
    const double h = std::max(plane.height(), 1.0);
    const double fitted = fitMargin * std::min(size.width() / w, size.height() / h);
    scale = std::clamp(fitted > 0 ? fitted : 1.0, minScale, maxScale);
}

} // namespace leak
