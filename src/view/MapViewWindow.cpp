#include "view/MapViewWindow.h"

#include "platform/Failure.h"
#include "scene/SceneBuilder.h"
#include "view/MapGLView.h"

#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace {

const QString keysText = QStringLiteral(
    "right button: look · W A S D, arrows: move · Space, C: up, down · Shift: faster · wheel: "
    "speed · 1 lit · 2 lightmap · 3 fullbright");

QString plural(int count, const QString& one, const QString& many)
{
    return QStringLiteral("%1 %2").arg(QLocale::c().toString(count), count == 1 ? one : many);
}

} // namespace

MapViewWindow::MapViewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), view_(new MapGLView(this)), file_(new QLabel(this)),
      status_(new QLabel(this))
{
    setObjectName(QStringLiteral("MapViewWindow"));
    setWindowTitle(QStringLiteral("Brushwright view"));
    file_->setWordWrap(true);
    file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setObjectName(QStringLiteral("status"));
    auto* keys = new QLabel(keysText, this);
    keys->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(view_, 1);
    layout->addWidget(file_);
    layout->addWidget(status_);
    layout->addWidget(keys);
    connect(view_, &MapGLView::cameraChanged, this, &MapViewWindow::showStatus);
    connect(view_, &MapGLView::modeChanged, this, &MapViewWindow::showStatus);
    resize(1024, 720);
    showStatus();
}

MapViewWindow::~MapViewWindow() = default;

void MapViewWindow::open(const view::OpenRequest& request)
{
    try {
        showScene(request, std::make_shared<const scene::Scene>(
                               scene::readScene(request.bspPath, request.gameFolders)));
    } catch (const Failure& failure) {
        request_ = request;
        showFile(nullptr, failure.text());
    }
}

void MapViewWindow::showScene(const view::OpenRequest& request,
                              std::shared_ptr<const scene::Scene> scene)
{
    const bool same = request.bspPath == request_.bspPath && loadedAt_.isValid();
    request_ = request;
    loadedAt_ = QDateTime::currentDateTime();
    showFile(scene.get(), QString());
    view_->setScene(std::move(scene), same);
    showStatus();
}

void MapViewWindow::bringToFront()
{
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    view_->setFocus();
}

void MapViewWindow::showFile(const scene::Scene* scene, const QString& problem)
{
    QStringList parts{QFileInfo(request_.bspPath).fileName()};
    if (!problem.isEmpty()) {
        parts << problem;
        if (loadedAt_.isValid())
            parts << QStringLiteral("the view shows the file as read at %1")
                         .arg(loadedAt_.toString(QStringLiteral("HH:mm:ss")));
    }
    if (scene) {
        parts << QStringLiteral("read at %1").arg(loadedAt_.toString(QStringLiteral("HH:mm:ss")))
              << plural(int(scene->faces.size()), QStringLiteral("face"), QStringLiteral("faces"))
              << plural(scene->lightmaps.pages, QStringLiteral("lightmap page"),
                        QStringLiteral("lightmap pages"));
        if (scene->missingTextures > 0)
            parts << plural(scene->missingTextures, QStringLiteral("texture not found"),
                            QStringLiteral("textures not found")) +
                         QStringLiteral(" (checker)");
        if (scene->brokenTextures > 0)
            parts << plural(scene->brokenTextures, QStringLiteral("texture broken"),
                            QStringLiteral("textures broken")) +
                         QStringLiteral(" (checker)");
        if (scene->facesWithoutLight > 0)
            parts << plural(scene->facesWithoutLight, QStringLiteral("face"),
                            QStringLiteral("faces")) +
                         QStringLiteral(" with a lightmap past the lighting lump, drawn unlit");
        if (scene->facesPastPages > 0)
            parts << plural(scene->facesPastPages, QStringLiteral("face"),
                            QStringLiteral("faces")) +
                         QStringLiteral(" on lightmap pages past the view's %1, drawn unlit")
                             .arg(scene::LightmapAtlas::maxPages);
        if (scene->facesTooLarge > 0)
            parts << plural(scene->facesTooLarge, QStringLiteral("face"), QStringLiteral("faces")) +
                         QStringLiteral(" too large for a lightmap page");
        parts << scene->problems;
    }
    file_->setText(parts.join(QStringLiteral(" · ")));
}

void MapViewWindow::showStatus()
{
    QString text = scene::cameraText(view_->camera()) + QStringLiteral("  ·  speed %1  ·  %2")
                                                            .arg(std::lround(view_->speed()))
                                                            .arg(view::modeName(view_->mode()));
    if (!view_->problem().isEmpty())
        text += QStringLiteral("  ·  OpenGL: ") + view_->problem();
    status_->setText(text);
}
