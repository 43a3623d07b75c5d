#pragma once

#include "scene/Vec3.h"

#include <QString>
#include <array>
#include <optional>

// Where the view looks from, in map units and the game's degrees: yaw
// counter-clockwise from +X as an entity's "angle", pitch positive looking
// down. The matrices and the frustum the view draws with, and the fly keys'
// moves, as plain functions of it.
namespace scene {

struct Camera {
    Vec3 position;
    float yaw = 0;
    float pitch = 0;
    bool operator==(const Camera&) const = default;

    Vec3 forward() const;
    Vec3 right() const;
    Vec3 up() const;
};

// Column-major, as OpenGL takes it.
using Matrix = std::array<float, 16>;

// The game's projection: 90 degrees across, the height's angle from the
// aspect (width / height); near plane at 4 units as the game's.
Matrix viewProjection(const Camera& camera, float aspect);

// The four side planes of the view, as the engine culls with them.
class Frustum {
public:
    Frustum(const Camera& camera, float aspect);
    // Whether the box lies wholly outside a plane.
    bool excludes(const Vec3& mins, const Vec3& maxs) const;

private:
    Vec3 origin_;
    std::array<Vec3, 4> normals_; // pointing inwards
};

// The fly keys held: each -1, 0 or 1.
struct Motion {
    int forward = 0; // W / S
    int side = 0;    // D / A
    int up = 0;      // Space / C
    bool fast = false;
    bool any() const { return forward != 0 || side != 0 || up != 0; }
};

inline constexpr float fastFactor = 4;
// Forward and sideways as the camera looks, up and down along the world's z.
Camera moved(const Camera& camera, const Motion& motion, float seconds, float speed);
// Turned by a mouse move of dx, dy pixels; the pitch stays within 89 degrees.
Camera turned(const Camera& camera, float dx, float dy);

// At a, looking towards b.
Camera lookingFrom(const Vec3& a, const Vec3& b);

// "X Y Z YAW PITCH", as --camera takes it; none when it is not five numbers.
std::optional<Camera> parseCamera(const QString& text);
// "x 0  y 0  z 54  yaw 90  pitch 0": the view's status line.
QString cameraText(const Camera& camera);

} // namespace scene
