#pragma once

#include "scene/Scene.h"
#include "view/SceneRenderer.h"

#include <QImage>
#include <QSize>

namespace view {

struct ShotRequest {
    scene::Camera camera;
    ViewMode mode = ViewMode::Lit;
    QSize size{800, 600};
    std::vector<std::uint8_t> drawable; // the visible set's faces; empty: all
    std::vector<SceneRenderer::Lines> lines;
};

// One frame of the scene drawn off screen, with a context of its own;
// Failure where no OpenGL context can be made or the shaders do not build.
QImage renderShot(const scene::Scene& scene, const ShotRequest& request);

} // namespace view
