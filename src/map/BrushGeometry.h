#pragma once

#include "map/MapReader.h"

#include <QList>
#include <QString>
#include <optional>

// The shapes of a .map's brushes, for drawing: each brush is the convex
// solid behind all of its faces' planes, found as qbsp does it: a large
// polygon on each plane, clipped by every other plane.
namespace map {

// The solid lies where dot(normal, p) <= dist.
struct Plane {
    Vec3 normal;
    double dist = 0;
};

// From three points as qbsp's map loader takes them: normal =
// (p0 - p1) x (p2 - p1), normalised; none when the points are in a line or
// not finite.
std::optional<Plane> planeFrom(const std::array<Vec3, 3>& points);

struct Solid {
    QList<QList<Vec3>> faces; // polygons, each with three corners or more
    Vec3 mins, maxs;
};

// Beyond this many planes a brush is not clipped (the work grows with the
// square of the count); editors write a few dozen at most.
inline constexpr int maxPlanes = 1024;

// None when the planes leave no volume, are fewer than four or more than
// maxPlanes.
std::optional<Solid> solidOf(const QList<Plane>& planes);

double volume(const Solid& solid);

struct GeometryBrush {
    Solid solid;
    int entity = 0; // index in the map's entities; 0 is the world
};

struct PointEntity {
    QString classname;
    Vec3 origin;
};

struct MapGeometry {
    QList<GeometryBrush> brushes;
    QList<PointEntity> pointEntities; // entities with an origin
    int skipped = 0;                  // brushes that give no solid
};

MapGeometry geometryOf(const MapFile& map);

} // namespace map
