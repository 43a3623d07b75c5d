// Brush solids from planes the bytes give: each plane from three points of
// small whole numbers, as an editor writes them. Whatever the planes: no
// NaN, every corner behind every plane, and a solid only from four or more.
#include "FuzzSupport.h"
#include "map/BrushGeometry.h"

#include <cmath>

namespace {

// Far enough for the 4096-unit maps and past them.
double coordinate(const std::uint8_t* p)
{
    return double(std::int16_t(std::uint16_t(p[0]) | std::uint16_t(p[1]) << 8)) / 4;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t planeBytes = 18;
    QList<map::Plane> planes;
    for (std::size_t at = 0; at + planeBytes <= size && planes.size() < 64; at += planeBytes) {
        std::array<map::Vec3, 3> points;
        for (int k = 0; k < 3; ++k)
            points[k] = {coordinate(data + at + 6 * k), coordinate(data + at + 6 * k + 2),
                         coordinate(data + at + 6 * k + 4)};
        if (const auto plane = map::planeFrom(points))
            planes.append(*plane);
    }
    const auto solid = map::solidOf(planes);
    if (!solid)
        return 0;
    fuzz::check(planes.size() >= 4 && solid->faces.size() >= 4, "a solid has four faces or more");
    const double v = map::volume(*solid);
    fuzz::check(std::isfinite(v) && v > 0, "a solid has a volume", QString::number(v));
    for (const QList<map::Vec3>& face : solid->faces) {
        fuzz::check(face.size() >= 3, "faces are polygons");
        for (const map::Vec3& p : face) {
            fuzz::check(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z), "no NaN");
            for (const map::Plane& plane : planes) {
                const double d =
                    plane.normal.x * p.x + plane.normal.y * p.y + plane.normal.z * p.z - plane.dist;
                fuzz::check(d < 0.05, "every corner behind every plane", QString::number(d));
            }
        }
    }
    return 0;
}
