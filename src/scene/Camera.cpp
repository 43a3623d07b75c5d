#include "scene/Camera.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace scene {

namespace {

constexpr float degrees = std::numbers::pi_v<float> / 180;
constexpr float nearPlane = 4;
constexpr float farPlane = 65536;
constexpr float maxPitch = 89;
// Degrees a pixel of mouse movement turns the view.
constexpr float turnRate = 0.2f;

// tan of half the view's angles: 90 degrees across.
float tanHalfWidth()
{
    return 1;
}

float tanHalfHeight(float aspect)
{
    return tanHalfWidth() / std::max(aspect, 1e-3f);
}

} // namespace

Vec3 Camera::forward() const
{
    const float y = yaw * degrees, p = pitch * degrees;
    return {std::cos(y) * std::cos(p), std::sin(y) * std::cos(p), -std::sin(p)};
}

Vec3 Camera::right() const
{
    const float y = yaw * degrees;
    return {std::sin(y), -std::cos(y), 0};
}

Vec3 Camera::up() const
{
    return cross(right(), forward());
}

Matrix viewProjection(const Camera& camera, float aspect)
{
    const Vec3 r = camera.right(), u = camera.up(), f = camera.forward(), p = camera.position;
    // Eye space: x right, y up, looking down -z.
    const float view[3][4] = {
        {r.x, r.y, r.z, -dot(r, p)}, {u.x, u.y, u.z, -dot(u, p)}, {-f.x, -f.y, -f.z, dot(f, p)}};
    const float sx = 1 / tanHalfWidth(), sy = 1 / tanHalfHeight(aspect);
    const float a = -(farPlane + nearPlane) / (farPlane - nearPlane);
    const float b = -2 * farPlane * nearPlane / (farPlane - nearPlane);
    Matrix m{};
    for (int column = 0; column < 4; ++column) {
        m[std::size_t(column * 4 + 0)] = sx * view[0][column];
        m[std::size_t(column * 4 + 1)] = sy * view[1][column];
        m[std::size_t(column * 4 + 2)] = a * view[2][column] + (column == 3 ? b : 0);
        m[std::size_t(column * 4 + 3)] = -view[2][column];
    }
    return m;
}

Frustum::Frustum(const Camera& camera, float aspect) : origin_(camera.position)
{
    const Vec3 f = camera.forward(), r = camera.right(), u = camera.up();
    const float w = tanHalfWidth(), h = tanHalfHeight(aspect);
    normals_ = {f * w - r, f * w + r, f * h - u, f * h + u};
}

bool Frustum::excludes(const Vec3& mins, const Vec3& maxs) const
{
    for (const Vec3& n : normals_) {
        // The box's corner furthest along the normal.
        const Vec3 corner{n.x >= 0 ? maxs.x : mins.x, n.y >= 0 ? maxs.y : mins.y,
                          n.z >= 0 ? maxs.z : mins.z};
        if (dot(n, corner - origin_) < 0)
            return true;
    }
    return false;
}

Camera moved(const Camera& camera, const Motion& motion, float seconds, float speed)
{
    const float step = speed * seconds * (motion.fast ? fastFactor : 1);
    Camera next = camera;
    next.position = camera.position + camera.forward() * (float(motion.forward) * step) +
                    camera.right() * (float(motion.side) * step) +
                    Vec3{0, 0, float(motion.up) * step};
    return next;
}

Camera turned(const Camera& camera, float dx, float dy)
{
    Camera next = camera;
    next.yaw = std::fmod(camera.yaw - dx * turnRate, 360.0f);
    if (next.yaw < 0)
        next.yaw += 360;
    next.pitch = std::clamp(camera.pitch + dy * turnRate, -maxPitch, maxPitch);
    return next;
}

Camera lookingFrom(const Vec3& a, const Vec3& b)
{
    const Vec3 d = b - a;
    Camera camera;
    camera.position = a;
    camera.yaw = std::atan2(d.y, d.x) / degrees;
    camera.pitch = -std::atan2(d.z, std::hypot(d.x, d.y)) / degrees;
    return turned(camera, 0, 0);
}

std::optional<Camera> parseCamera(const QString& text)
{
    const QStringList fields = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() != 5)
        return std::nullopt;
    float values[5];
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        values[i] = fields[i].toFloat(&ok);
        if (!ok || !std::isfinite(values[i]))
            return std::nullopt;
    }
    Camera camera;
    camera.position = {values[0], values[1], values[2]};
    camera.yaw = values[3];
    camera.pitch = std::clamp(values[4], -maxPitch, maxPitch);
    return camera;
}

QString cameraText(const Camera& camera)
{
    const auto whole = [](float v) { return QString::number(std::lround(v)); };
    return QStringLiteral("x %1  y %2  z %3  yaw %4  pitch %5")
        .arg(whole(camera.position.x), whole(camera.position.y), whole(camera.position.z),
             whole(camera.yaw), whole(camera.pitch));
}

} // namespace scene
