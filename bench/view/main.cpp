// The 3D view's figures on generated maps (bench/view/GeneratedMaps):
//   - a 30 MB QBSP read and its scene built, then read, built, uploaded and
//     its first frame drawn at 1280 x 720;
//   - 20,000 lit faces flown over at 1280 x 720: the time of each frame,
//     finished (glFinish), while the camera moves.
// brushwright_viewbench FOLDER   (the maps are written there; needs an X
// display: Mesa's software renderer on Xvfb is what the figures are for)
#include "GeneratedMaps.h"
#include "report/TextureLookup.h"
#include "scene/SceneBuilder.h"
#include "scene/VisibleSet.h"
#include "view/SceneRenderer.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::size_t(double(values.size() - 1) * p)];
}

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

scene::Scene read(const QString& path)
{
    return scene::readScene(path, report::TextureLookup::gameFoldersOf(path));
}

class Context {
public:
    Context()
    {
        context_.create();
        surface_.setFormat(context_.format());
        surface_.create();
        context_.makeCurrent(&surface_);
    }
    ~Context() { context_.doneCurrent(); }
    QString renderer()
    {
        return QString::fromLatin1(
            reinterpret_cast<const char*>(context_.functions()->glGetString(GL_RENDERER)));
    }
    void finish() { context_.functions()->glFinish(); }

private:
    QOpenGLContext context_;
    QOffscreenSurface surface_;
};

const QSize frameSize(1280, 720);

// The visible set found on entering a cluster, at points across the map;
// then every cluster's count and the ten heaviest, as "show heaviest" and
// the map report make them.
void visibleSets(const scene::Scene& built)
{
    std::vector<double> finds;
    std::size_t faces = 0;
    for (int i = 0; i < 200; ++i) {
        const float x = built.mins.x + (built.maxs.x - built.mins.x) * float((i * 37) % 200) / 200;
        const float y = built.mins.y + (built.maxs.y - built.mins.y) * float((i * 91) % 200) / 200;
        QElapsedTimer timer;
        timer.start();
        const scene::VisibleSet set = scene::visibleFrom(built, {x, y, 64});
        finds.push_back(msSince(timer));
        faces += set.worldFaces.size();
    }
    std::printf("  %d clusters; visible set on entering a cluster: median %.2f ms, worst %.2f ms "
                "of 200 (%zu faces on average)\n",
                built.pvs.visibility().clusters(), median(finds), percentile(finds, 1),
                faces / 200);
    std::vector<double> counts;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        const scene::PvsFigures figures = built.pvs.figures();
        counts.push_back(msSince(timer));
        if (run == 0)
            std::printf("  heaviest cluster %d: %d faces; mean %.0f\n", figures.worst[0].cluster,
                        figures.worst[0].faces, figures.meanFaces);
    }
    std::printf("  every cluster counted, the ten heaviest listed: median %.0f ms of 3\n",
                median(counts));
}

void bigMap(const QString& path)
{
    std::printf("%s: %.1f MB\n", qPrintable(QFileInfo(path).fileName()),
                double(QFileInfo(path).size()) / 1e6);
    std::vector<double> builds, firsts;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const scene::Scene built = read(path);
        builds.push_back(msSince(timer));
        if (run == 0)
            std::printf("  %zu faces, %d lightmap pages, %zu textures\n", built.faces.size(),
                        built.lightmaps.pages, built.textures.size());
    }
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        const scene::Scene built = read(path);
        Context context;
        QOpenGLFramebufferObject frame(frameSize, QOpenGLFramebufferObject::CombinedDepthStencil);
        frame.bind();
        view::SceneRenderer renderer;
        renderer.initialize(nullptr);
        renderer.upload(built);
        renderer.draw(built.start, view::ViewMode::Lit, frameSize);
        context.finish();
        firsts.push_back(msSince(timer));
        renderer.release();
    }
    std::printf("  read and built: median %.0f ms of 5\n", median(builds));
    visibleSets(read(path));
    std::printf("  read, built, uploaded, first frame at 1280 x 720: median %.0f ms of 3\n",
                median(firsts));
}

void flight(const QString& path)
{
    const scene::Scene built = read(path);
    Context context;
    std::printf("%s: %zu faces, %d lightmap pages; %s\n", qPrintable(QFileInfo(path).fileName()),
                built.faces.size(), built.lightmaps.pages, qPrintable(context.renderer()));
    QOpenGLFramebufferObject frame(frameSize, QOpenGLFramebufferObject::CombinedDepthStencil);
    frame.bind();
    view::SceneRenderer renderer;
    renderer.initialize(nullptr);
    renderer.upload(built);
    // Across the field at a pillar's height and above, turning slowly.
    std::vector<double> times, drawn;
    const int frames = 240;
    for (int i = 0; i < frames; ++i) {
        const float along = float(i) / frames;
        scene::Camera camera;
        camera.position = {-3000 + 6000 * along, -2500 + 4000 * along, 100 + 300 * along};
        camera.yaw = 35 + 40 * std::sin(along * 6.28f);
        camera.pitch = 5 + 20 * along;
        QElapsedTimer timer;
        timer.start();
        drawn.push_back(renderer.draw(camera, view::ViewMode::Lit, frameSize));
        context.finish();
        times.push_back(msSince(timer));
    }
    std::printf("  flying at 1280 x 720, %d frames: median %.1f ms, 90th percentile %.1f ms, "
                "worst %.1f ms; median %.0f faces drawn\n",
                frames, median(times), percentile(times, 0.9), percentile(times, 1), median(drawn));
    renderer.release();
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: brushwright_viewbench FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    generated::writeTinyMap(folder + QStringLiteral("/tiny"));
    flight(generated::writeFieldMap(folder + QStringLiteral("/field")));
    bigMap(generated::writeBigMap(folder + QStringLiteral("/big")));
    return 0;
}
