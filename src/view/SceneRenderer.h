#pragma once

#include "scene/Camera.h"
#include "scene/Scene.h"

#include <QColor>
#include <QOpenGLBuffer>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QSize>
#include <memory>
#include <optional>
#include <vector>

class QOpenGLTexture;

namespace view {

enum class ViewMode { Lit, Lightmap, Fullbright };

// "lit", "lightmap", "fullbright"; none for another word.
std::optional<ViewMode> modeNamed(const QString& name);
QString modeName(ViewMode mode);

// Draws a scene as the game's GL renderer looks, with OpenGL 2.1 and GLSL
// 1.20 (what Mesa's software renderer and Wine give): the texture brightened
// as the game brightens it, times the lightmap; sky flat; water, slime, lava
// and the translucent unlit, the translucent blended; NODRAW left out. Each
// frame draws the faces the filter lets through that lie in the view's
// frustum. Every call needs the context current.
class SceneRenderer : protected QOpenGLFunctions {
public:
    SceneRenderer();
    ~SceneRenderer();
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    // Compiles the shaders; false (with the log) where the context cannot.
    bool initialize(QString* log);
    // Replaces what was uploaded. The scene is not kept.
    void upload(const scene::Scene& scene);
    // Lines over the map: the leak's path, the mark of a locked visible
    // set. Each a strip of points in one colour.
    struct Lines {
        std::vector<scene::Vec3> points;
        QColor colour;
        bool strip = true; // else pairs of points
    };
    // Clears and draws into the bound framebuffer of that size in pixels:
    // the faces whose flag in drawable is set (all where it is empty), then
    // the lines. Returns the faces drawn.
    int draw(const scene::Camera& camera, ViewMode mode, QSize pixels,
             const std::vector<std::uint8_t>& drawable = {}, const std::vector<Lines>& lines = {});
    // Frees what was uploaded.
    void release();

    // The mark of a locked visible set: a cross of three arms.
    static Lines lockMark(const scene::Vec3& at);

private:
    enum class Pass { Opaque, Sky, Blended };
    struct Batch {
        Pass pass = Pass::Opaque;
        std::int32_t texture = -1;
        float alpha = 1;
        std::size_t first = 0, end = 0; // into order_
        int indexStart = 0, indexCount = 0;
        float nearest = 0; // of its faces in this frame, along the view
    };
    struct FaceBounds {
        scene::Vec3 mins, maxs;
        scene::Vec3 normal;
        float distance = 0;
        std::uint32_t firstVertex = 0, vertexCount = 0;
    };

    // Its index among the uploaded textures.
    int uploadTexture(const scene::Image& image);
    void buildBatches(const scene::Scene& scene);
    int collectIndices(const scene::Camera& camera, const scene::Frustum& frustum,
                       const std::vector<std::uint8_t>& drawable);
    void drawBatch(const Batch& batch);
    void drawLines(const std::vector<Lines>& lines);

    QOpenGLShaderProgram program_;
    QOpenGLBuffer vertices_{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer indices_{QOpenGLBuffer::IndexBuffer};
    QOpenGLBuffer linePoints_{QOpenGLBuffer::VertexBuffer};
    std::vector<std::unique_ptr<QOpenGLTexture>> textures_;
    std::vector<QSize> textureSizes_;
    std::vector<int> textureIndex_; // the scene's texture -> uploaded; the checker first
    std::unique_ptr<QOpenGLTexture> lightmaps_;
    QSize lightmapSize_;
    std::vector<FaceBounds> faces_;
    std::vector<std::uint32_t> order_; // faces by batch
    std::vector<Batch> batches_;
    std::vector<std::uint32_t> frameIndices_;
    std::vector<std::pair<float, std::uint32_t>> nearFaces_;
    std::vector<std::size_t> drawOrder_;
};

} // namespace view
