#include "map/BrushGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace map {

namespace {

// As qbsp: a point this near a plane is on it.
constexpr double onEpsilon = 0.01;
// Half the side of the polygon first laid on a plane: past any map.
constexpr double hugeSide = 4.0 * 1024 * 1024;
// Normals this near are the same plane, twice.
constexpr double sameNormal = 1.0 - 1e-9;

Vec3 operator-(const Vec3& a, const Vec3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator+(const Vec3& a, const Vec3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator*(const Vec3& a, double s)
{
    return {a.x * s, a.y * s, a.z * s};
}
double dot(const Vec3& a, const Vec3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

bool finite(const Vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// qbsp's BaseWindingForPlane: a square on the plane, hugeSide from its centre.
QList<Vec3> baseWinding(const Plane& plane)
{
    const Vec3& n = plane.normal;
    const double ax = std::abs(n.x), ay = std::abs(n.y), az = std::abs(n.z);
    const Vec3 up = az >= ax && az >= ay ? Vec3{1, 0, 0} : Vec3{0, 0, 1};
    Vec3 vup = up - n * dot(up, n);
    vup = vup * (1.0 / std::sqrt(dot(vup, vup)));
    const Vec3 right = cross(vup, n) * hugeSide;
    vup = vup * hugeSide;
    const Vec3 org = n * plane.dist;
    return {org - right + vup, org + right + vup, org + right - vup, org - right - vup};
}

// Keeps the part of the polygon behind the plane (qbsp's ChopWinding).
QList<Vec3> clip(const QList<Vec3>& polygon, const Plane& plane)
{
    const qsizetype n = polygon.size();
    QList<double> side(n);
    bool anyFront = false, anyBack = false;
    for (qsizetype i = 0; i < n; ++i) {
        side[i] = dot(polygon[i], plane.normal) - plane.dist;
        anyFront = anyFront || side[i] > onEpsilon;
        anyBack = anyBack || side[i] < -onEpsilon;
    }
    if (!anyFront)
        return polygon;
    if (!anyBack)
        return {};
    QList<Vec3> kept;
    kept.reserve(n + 1);
    for (qsizetype i = 0; i < n; ++i) {
        const Vec3& p = polygon[i];
        const qsizetype j = (i + 1) % n;
        const double d = side[i];
        const double next = side[j];
        if (d <= onEpsilon)
            kept.append(p);
        if ((d > onEpsilon && next < -onEpsilon) || (d < -onEpsilon && next > onEpsilon)) {
            const double t = d / (d - next);
            kept.append(p + (polygon[j] - p) * t);
        }
    }
    return kept.size() >= 3 ? kept : QList<Vec3>();
}

bool samePlane(const Plane& a, const Plane& b)
{
    return dot(a.normal, b.normal) > sameNormal && std::abs(a.dist - b.dist) < onEpsilon;
}

void grow(Solid& solid, const Vec3& p)
{
    solid.mins = {std::min(solid.mins.x, p.x), std::min(solid.mins.y, p.y),
                  std::min(solid.mins.z, p.z)};
    solid.maxs = {std::max(solid.maxs.x, p.x), std::max(solid.maxs.y, p.y),
                  std::max(solid.maxs.z, p.z)};
}

} // namespace

std::optional<Plane> planeFrom(const std::array<Vec3, 3>& points)
{
    const Vec3 normal = cross(points[0] - points[1], points[2] - points[1]);
    const double length = std::sqrt(dot(normal, normal));
    if (!std::isfinite(length) || length < 1e-9)
        return std::nullopt;
    const Vec3 unit = normal * (1.0 / length);
    const Plane plane{unit, dot(points[0], unit)};
    if (!finite(plane.normal) || !std::isfinite(plane.dist))
        return std::nullopt;
    return plane;
}

std::optional<Solid> solidOf(const QList<Plane>& planes)
{
    if (planes.size() < 4 || planes.size() > maxPlanes)
        return std::nullopt;
    Solid solid;
    const double inf = std::numeric_limits<double>::infinity();
    solid.mins = {inf, inf, inf};
    solid.maxs = {-inf, -inf, -inf};
    for (qsizetype i = 0; i < planes.size(); ++i) {
        // A plane written twice gives its face once. Clipped by all the
        // others, even one nearly the same: far out, nearly is not the same.
        const auto twice = std::find_if(planes.cbegin(), planes.cbegin() + i,
                                        [&](const Plane& p) { return samePlane(p, planes[i]); });
        if (twice != planes.cbegin() + i)
            continue;
        QList<Vec3> polygon = baseWinding(planes[i]);
        for (qsizetype j = 0; j < planes.size() && !polygon.isEmpty(); ++j) {
            if (j != i)
                polygon = clip(polygon, planes[j]);
        }
        if (polygon.isEmpty())
            continue;
        for (const Vec3& p : polygon)
            grow(solid, p);
        solid.faces.append(polygon);
    }
    if (solid.faces.size() < 4 || volume(solid) < 1e-3)
        return std::nullopt;
    return solid;
}

double volume(const Solid& solid)
{
    // Divergence theorem over the faces' triangle fans.
    if (solid.faces.isEmpty())
        return 0;
    // Measured from a corner: far from the origin the sum loses less.
    const Vec3 corner = solid.faces[0][0];
    double sum = 0;
    for (const QList<Vec3>& face : solid.faces) {
        for (qsizetype i = 1; i + 1 < face.size(); ++i)
            sum += dot(face[0] - corner, cross(face[i] - corner, face[i + 1] - corner));
    }
    return std::abs(sum) / 6.0;
}

MapGeometry geometryOf(const MapFile& map)
{
    MapGeometry geometry;
    for (qsizetype e = 0; e < map.entities.size(); ++e) {
        const MapEntity& entity = map.entities[e];
        if (const auto origin = entity.origin())
            geometry.pointEntities.append({entity.classname(), *origin});
        for (const MapBrush& brush : entity.brushes) {
            QList<Plane> planes;
            planes.reserve(brush.faces.size());
            bool broken = false;
            for (const MapFace& face : brush.faces) {
                const auto plane = planeFrom(face.points);
                broken = broken || !plane;
                if (plane)
                    planes.append(*plane);
            }
            auto solid = broken ? std::nullopt : solidOf(planes);
            if (solid)
                geometry.brushes.append({std::move(*solid), int(e)});
            else
                ++geometry.skipped;
        }
    }
    return geometry;
}

} // namespace map
