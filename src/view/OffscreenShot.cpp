#include "view/OffscreenShot.h"

#include "platform/Failure.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

namespace view {

QImage renderShot(const scene::Scene& scene, const ShotRequest& request)
{
    QOpenGLContext context;
    if (!context.create())
        throw Failure(QStringLiteral("No OpenGL context could be made for the picture"));
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.makeCurrent(&surface))
        throw Failure(QStringLiteral("The OpenGL context could not be used for the picture"));
    QImage image;
    {
        QOpenGLFramebufferObject frame(request.size,
                                       QOpenGLFramebufferObject::CombinedDepthStencil);
        SceneRenderer renderer;
        QString log;
        if (!frame.isValid() || !frame.bind() || !renderer.initialize(&log)) {
            context.doneCurrent();
            throw Failure(QStringLiteral("The picture could not be drawn: %1")
                              .arg(log.isEmpty() ? QStringLiteral("no framebuffer") : log));
        }
        renderer.upload(scene);
        renderer.draw(request.camera, request.mode, request.size, request.drawable, request.lines);
        image = frame.toImage();
        renderer.release();
        frame.release();
    }
    context.doneCurrent();
    return image;
}

} // namespace view
