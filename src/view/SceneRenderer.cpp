#include "view/SceneRenderer.h"

#include <QImage>
#include <QMatrix4x4>
#include <QOpenGLTexture>
#include <QVector2D>
#include <QVector4D>
#include <algorithm>
#include <cstddef>
#include <tuple>

namespace view {

namespace {

// Flat sky, as a mapper's editor shows it.
constexpr float skyColour[3] = {0.36f, 0.50f, 0.72f};
constexpr float voidColour[3] = {0.05f, 0.05f, 0.06f};

const char* const vertexShader = R"(#version 120
attribute vec3 position;
attribute vec2 texturePosition;
attribute vec2 lightPosition;
uniform mat4 matrix;
uniform vec2 textureScale;
uniform vec2 lightScale;
varying vec2 textureCoord;
varying vec2 lightCoord;
void main()
{
    textureCoord = texturePosition * textureScale;
    lightCoord = lightPosition * lightScale;
    gl_Position = matrix * vec4(position, 1.0);
}
)";

// mode 0 lit: the texture doubled as the game's intensity 2 does it at
// upload, at most full, times the lightmap; 1 the lightmap alone; 2 the
// texture alone. flat: the colour alone (sky).
const char* const fragmentShader = R"(#version 120
uniform sampler2D wall;
uniform sampler2D light;
uniform int mode;
uniform bool flat;
uniform vec4 colour;
varying vec2 textureCoord;
varying vec2 lightCoord;
void main()
{
    if (flat) {
        gl_FragColor = colour;
        return;
    }
    vec3 texel = texture2D(wall, textureCoord).rgb;
    vec3 luxel = texture2D(light, lightCoord).rgb;
    vec3 shade = mode == 0 ? min(texel * 2.0, 1.0) * luxel : mode == 1 ? luxel : texel;
    gl_FragColor = vec4(shade, colour.a);
}
)";

} // namespace

std::optional<ViewMode> modeNamed(const QString& name)
{
    for (const ViewMode mode : {ViewMode::Lit, ViewMode::Lightmap, ViewMode::Fullbright}) {
        if (modeName(mode) == name)
            return mode;
    }
    return std::nullopt;
}

QString modeName(ViewMode mode)
{
    switch (mode) {
    case ViewMode::Lightmap:
        return QStringLiteral("lightmap");
    case ViewMode::Fullbright:
        return QStringLiteral("fullbright");
    case ViewMode::Lit:
        break;
    }
    return QStringLiteral("lit");
}

SceneRenderer::SceneRenderer() = default;

SceneRenderer::~SceneRenderer() = default;

bool SceneRenderer::initialize(QString* log)
{
    initializeOpenGLFunctions();
    const bool built = program_.addShaderFromSourceCode(QOpenGLShader::Vertex, vertexShader) &&
                       program_.addShaderFromSourceCode(QOpenGLShader::Fragment, fragmentShader);
    program_.bindAttributeLocation("position", 0);
    program_.bindAttributeLocation("texturePosition", 1);
    program_.bindAttributeLocation("lightPosition", 2);
    if (!built || !program_.link()) {
        if (log)
            *log = program_.log();
        return false;
    }
    vertices_.create();
    indices_.create();
    indices_.setUsagePattern(QOpenGLBuffer::StreamDraw);
    linePoints_.create();
    linePoints_.setUsagePattern(QOpenGLBuffer::StreamDraw);
    return true;
}

void SceneRenderer::upload(const scene::Scene& scene)
{
    release();
    vertices_.bind();
    vertices_.allocate(scene.vertices.data(), int(scene.vertices.size() * sizeof(scene::Vertex)));
    vertices_.release();
    // One checker for every texture not found.
    const int checker = uploadTexture(scene::checker());
    for (const scene::Texture& texture : scene.textures)
        textureIndex_.push_back(texture.image.rgba.empty() ? checker
                                                           : uploadTexture(texture.image));
    const scene::LightmapAtlas& atlas = scene.lightmaps;
    const QImage pages(atlas.rgb.data(), atlas.width, atlas.height, atlas.width * 3,
                       QImage::Format_RGB888);
    lightmaps_ = std::make_unique<QOpenGLTexture>(pages, QOpenGLTexture::DontGenerateMipMaps);
    lightmaps_->setMinMagFilters(QOpenGLTexture::Linear, QOpenGLTexture::Linear);
    lightmaps_->setWrapMode(QOpenGLTexture::ClampToEdge);
    lightmapSize_ = {atlas.width, atlas.height};
    buildBatches(scene);
}

int SceneRenderer::uploadTexture(const scene::Image& image)
{
    const QImage picture(reinterpret_cast<const uchar*>(image.rgba.data()), image.width,
                         image.height, QImage::Format_RGBA8888);
    auto uploaded = std::make_unique<QOpenGLTexture>(picture);
    // The game's default gl_texturemode, GL_LINEAR_MIPMAP_NEAREST.
    uploaded->setMinMagFilters(QOpenGLTexture::LinearMipMapNearest, QOpenGLTexture::Linear);
    uploaded->setWrapMode(QOpenGLTexture::Repeat);
    textures_.push_back(std::move(uploaded));
    textureSizes_.push_back({image.width, image.height});
    return int(textures_.size()) - 1;
}

void SceneRenderer::buildBatches(const scene::Scene& scene)
{
    faces_.reserve(scene.faces.size());
    for (std::uint32_t f = 0; f < scene.faces.size(); ++f) {
        const scene::Face& face = scene.faces[f];
        faces_.push_back({face.mins, face.maxs, face.normal, face.distance, face.firstVertex,
                          face.look == scene::Look::Hidden ? 0 : face.vertexCount});
        if (face.look != scene::Look::Hidden && face.vertexCount >= 3)
            order_.push_back(f);
    }
    const auto key = [this, &scene](std::uint32_t f) {
        const scene::Face& face = scene.faces[f];
        const Pass pass = face.look == scene::Look::Sky ? Pass::Sky
                          : face.alpha() < 1            ? Pass::Blended
                                                        : Pass::Opaque;
        return std::tuple(pass, pass == Pass::Sky ? -1 : textureIndex_[std::size_t(face.texture)],
                          face.alpha());
    };
    std::stable_sort(order_.begin(), order_.end(),
                     [&key](std::uint32_t a, std::uint32_t b) { return key(a) < key(b); });
    for (std::size_t i = 0; i < order_.size(); ++i) {
        const auto [pass, texture, alpha] = key(order_[i]);
        if (batches_.empty() || batches_.back().pass != pass ||
            batches_.back().texture != texture || batches_.back().alpha != alpha)
            batches_.push_back({pass, texture, alpha, i, i, 0, 0});
        batches_.back().end = i + 1;
    }
}

int SceneRenderer::collectIndices(const scene::Camera& camera, const scene::Frustum& frustum,
                                  const std::vector<std::uint8_t>& drawable)
{
    // Faces seen from behind are left out, as the engine leaves them
    // (R_RecursiveWorldNode's BACKFACE_EPSILON).
    constexpr float backfaceEpsilon = 0.01f;
    frameIndices_.clear();
    int drawn = 0;
    const scene::Vec3 forward = camera.forward();
    for (Batch& batch : batches_) {
        batch.indexStart = int(frameIndices_.size());
        nearFaces_.clear();
        for (std::size_t i = batch.first; i < batch.end; ++i) {
            const std::uint32_t f = order_[i];
            const FaceBounds& face = faces_[f];
            if (scene::dot(face.normal, camera.position) - face.distance < -backfaceEpsilon ||
                (!drawable.empty() && !drawable[f]) || frustum.excludes(face.mins, face.maxs))
                continue;
            const scene::Vec3 centre = (face.mins + face.maxs) * 0.5f;
            nearFaces_.push_back({scene::dot(centre - camera.position, forward), f});
        }
        // Nearest first: the rasterizer skips what the depth test hides.
        std::sort(nearFaces_.begin(), nearFaces_.end());
        batch.nearest = nearFaces_.empty() ? 1e30f : nearFaces_.front().first;
        drawn += int(nearFaces_.size());
        for (const auto& [distance, f] : nearFaces_) {
            const FaceBounds& face = faces_[f];
            // A fan, as the polygons are convex.
            for (std::uint32_t k = 1; k + 1 < face.vertexCount; ++k)
                frameIndices_.insert(frameIndices_.end(), {face.firstVertex, face.firstVertex + k,
                                                           face.firstVertex + k + 1});
        }
        batch.indexCount = int(frameIndices_.size()) - batch.indexStart;
    }
    drawOrder_.resize(batches_.size());
    for (std::size_t i = 0; i < batches_.size(); ++i)
        drawOrder_[i] = i;
    std::stable_sort(drawOrder_.begin(), drawOrder_.end(), [this](std::size_t a, std::size_t b) {
        const Batch &x = batches_[a], &y = batches_[b];
        return x.pass != y.pass ? x.pass < y.pass : x.nearest < y.nearest;
    });
    return drawn;
}

int SceneRenderer::draw(const scene::Camera& camera, ViewMode mode, QSize pixels,
                        const std::vector<std::uint8_t>& drawable, const std::vector<Lines>& lines)
{
    glViewport(0, 0, pixels.width(), pixels.height());
    glClearColor(voidColour[0], voidColour[1], voidColour[2], 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (batches_.empty())
        return 0;
    const float aspect = float(pixels.width()) / float(std::max(pixels.height(), 1));
    // A set of another scene's faces would index past these.
    static const std::vector<std::uint8_t> every;
    const int drawn = collectIndices(camera, scene::Frustum(camera, aspect),
                                     drawable.size() == faces_.size() ? drawable : every);

    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    program_.bind();
    const scene::Matrix matrix = scene::viewProjection(camera, aspect);
    program_.setUniformValue("matrix", QMatrix4x4(matrix.data()).transposed());
    program_.setUniformValue("lightScale", QVector2D(1.0f / float(lightmapSize_.width()),
                                                     1.0f / float(lightmapSize_.height())));
    program_.setUniformValue("mode", int(mode));
    program_.setUniformValue("wall", 0);
    program_.setUniformValue("light", 1);
    vertices_.bind();
    const int stride = int(sizeof(scene::Vertex));
    program_.enableAttributeArray(0);
    program_.enableAttributeArray(1);
    program_.enableAttributeArray(2);
    program_.setAttributeBuffer(0, GL_FLOAT, offsetof(scene::Vertex, position), 3, stride);
    program_.setAttributeBuffer(1, GL_FLOAT, offsetof(scene::Vertex, s), 2, stride);
    program_.setAttributeBuffer(2, GL_FLOAT, offsetof(scene::Vertex, u), 2, stride);
    indices_.bind();
    indices_.allocate(frameIndices_.data(), int(frameIndices_.size() * sizeof(std::uint32_t)));
    glActiveTexture(GL_TEXTURE1);
    lightmaps_->bind();
    glActiveTexture(GL_TEXTURE0);
    for (const std::size_t batch : drawOrder_)
        drawBatch(batches_[batch]);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    indices_.release();
    vertices_.release();
    drawLines(lines);
    program_.release();
    return drawn;
}

void SceneRenderer::drawBatch(const Batch& batch)
{
    if (batch.indexCount == 0)
        return;
    const bool blended = batch.pass == Pass::Blended;
    // Translucent faces after the solid ones, tested against their depth
    // but not writing it, as R_DrawAlphaSurfaces draws them.
    glDepthMask(blended ? GL_FALSE : GL_TRUE);
    if (blended) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    const bool sky = batch.pass == Pass::Sky;
    program_.setUniformValue("flat", sky);
    program_.setUniformValue("colour", sky ? QVector4D(skyColour[0], skyColour[1], skyColour[2], 1)
                                           : QVector4D(1, 1, 1, batch.alpha));
    if (!sky) {
        const QSize size = textureSizes_[std::size_t(batch.texture)];
        textures_[std::size_t(batch.texture)]->bind();
        program_.setUniformValue(
            "textureScale", QVector2D(1.0f / float(size.width()), 1.0f / float(size.height())));
    }
    glDrawElements(GL_TRIANGLES, batch.indexCount, GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(std::uintptr_t(batch.indexStart) * 4));
}

// Over everything, whatever lies in front: a path through walls is still
// seen whole.
void SceneRenderer::drawLines(const std::vector<Lines>& lines)
{
    glDisable(GL_DEPTH_TEST);
    glLineWidth(3);
    program_.setUniformValue("flat", true);
    program_.disableAttributeArray(1);
    program_.disableAttributeArray(2);
    linePoints_.bind();
    for (const Lines& line : lines) {
        if (line.points.size() < 2)
            continue;
        linePoints_.allocate(line.points.data(), int(line.points.size() * sizeof(scene::Vec3)));
        program_.setAttributeBuffer(0, GL_FLOAT, 0, 3, int(sizeof(scene::Vec3)));
        program_.setUniformValue("colour", line.colour);
        glDrawArrays(line.strip ? GL_LINE_STRIP : GL_LINES, 0, GLsizei(line.points.size()));
    }
    glLineWidth(1);
    linePoints_.release();
}

SceneRenderer::Lines SceneRenderer::lockMark(const scene::Vec3& at)
{
    constexpr float arm = 24;
    return {{at + scene::Vec3{-arm, 0, 0}, at + scene::Vec3{arm, 0, 0},
             at + scene::Vec3{0, -arm, 0}, at + scene::Vec3{0, arm, 0},
             at + scene::Vec3{0, 0, -arm}, at + scene::Vec3{0, 0, arm}},
            QColor(255, 220, 40),
            false};
}

void SceneRenderer::release()
{
    textures_.clear();
    textureSizes_.clear();
    textureIndex_.clear();
    lightmaps_.reset();
    faces_.clear();
    order_.clear();
    batches_.clear();
}

} // namespace view
