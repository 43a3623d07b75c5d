#include "view/MapViewWindow.h"

#include "leak/LeakPath.h"
#include "platform/Failure.h"
#include "platform/PathMapping.h"
#include "scene/SceneBuilder.h"
#include "view/LeakOverlay.h"
#include "view/MapGLView.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString keysText = QStringLiteral(
    "right button: look · W A S D, arrows: move · Space, C: up, down · Shift: faster · wheel: "
    "speed · 1 lit · 2 lightmap · 3 fullbright · L lock the visible set");

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
    heaviestButton = new QPushButton(QStringLiteral("show heaviest"), this);
    heaviestButton->setToolTip(QStringLiteral(
        "The ten clusters whose visible sets hold the most faces; choose one to fly there"));
    leakButton = new QPushButton(QStringLiteral("fly to leak"), this);
    leakButton->hide();
    auto* row = new QHBoxLayout;
    row->addWidget(status_, 1);
    row->addWidget(leakButton);
    row->addWidget(heaviestButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(view_, 1);
    layout->addWidget(file_);
    layout->addLayout(row);
    layout->addWidget(keys);
    connect(view_, &MapGLView::cameraChanged, this, &MapViewWindow::showStatus);
    connect(view_, &MapGLView::modeChanged, this, &MapViewWindow::showStatus);
    connect(heaviestButton, &QPushButton::clicked, this, &MapViewWindow::countHeaviest);
    connect(leakButton, &QPushButton::clicked, this, &MapViewWindow::flyToLeak);
    resize(1024, 720);
    showStatus();
}

MapViewWindow::~MapViewWindow()
{
    // The count holds the scene, not the window; it only has to end.
    if (counting_)
        counting_->wait();
}

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
    scene_ = scene;
    loadedAt_ = QDateTime::currentDateTime();
    loadLeak();
    showFile(scene.get(), QString());
    view_->setScene(std::move(scene), same);
    showStatus();
}

void MapViewWindow::loadLeak()
{
    const LeakOverlay leak = leakOverlayFor(request_);
    leakPath_ = leak.points;
    leakNote_ = leak.note;
    view_->setLeakPath(leakPath_);
    leakButton->setVisible(leakPath_.size() >= 2);
}

void MapViewWindow::flyToLeak()
{
    if (leakPath_.size() >= 2)
        view_->setCamera(scene::lookingFrom(leakPath_[0], leakPath_[1]));
    view_->setFocus();
}

void MapViewWindow::countHeaviest()
{
    if (!scene_ || counting_)
        return;
    heaviestButton->setEnabled(false);
    heaviestButton->setText(QStringLiteral("counting..."));
    auto figures = std::make_shared<scene::PvsFigures>();
    // Off the window's thread: a map of 10,000 clusters takes a while.
    counting_ = QThread::create([scene = scene_, figures] { *figures = scene->pvs.figures(); });
    connect(counting_, &QThread::finished, this, [this, figures] {
        counting_->deleteLater();
        counting_ = nullptr;
        heaviestButton->setEnabled(true);
        heaviestButton->setText(QStringLiteral("show heaviest"));
        showHeaviest(*figures);
    });
    counting_->start(QThread::LowPriority);
}

void MapViewWindow::showHeaviest(const scene::PvsFigures& figures)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (figures.worst.empty())
        menu->addAction(QStringLiteral("no visible sets to count: the map has no vis"))
            ->setEnabled(false);
    for (const scene::PvsFigures::Cluster& c : figures.worst) {
        const QString text =
            QStringLiteral("cluster %1: %2 at %3")
                .arg(c.cluster)
                .arg(plural(c.faces, QStringLiteral("face"), QStringLiteral("faces")),
                     leak::pointText({c.point.x, c.point.y, c.point.z}));
        connect(menu->addAction(text), &QAction::triggered, this, [this, point = c.point] {
            scene::Camera camera = view_->camera();
            camera.position = point;
            view_->setCamera(camera);
            view_->setFocus();
        });
    }
    menu->popup(heaviestButton->mapToGlobal(QPoint(0, 0)));
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
    if (request_.earlierBsp)
        parts << QStringLiteral("the last .bsp, from before this compile (q2tool writes none on a "
                                "leak)");
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
        const std::pair<int, QString> counts[] = {
            {scene->missingTextures, QStringLiteral("not found (checker)")},
            {scene->brokenTextures, QStringLiteral("broken (checker)")},
            {scene->facesWithoutLight, QStringLiteral("with a lightmap past the lighting lump, "
                                                      "drawn unlit")},
            {scene->facesPastPages, QStringLiteral("on lightmap pages past the view's %1, drawn "
                                                   "unlit")
                                        .arg(scene::LightmapAtlas::maxPages)},
            {scene->facesTooLarge, QStringLiteral("too large for a lightmap page")},
            {scene->facesSharingEdges, QStringLiteral("sharing other faces' edges, left out")},
            {scene->pvs.leafsPastClusters(), QStringLiteral("in clusters past the visibility "
                                                            "lump's, passed over")}};
        const QString nouns[] = {QStringLiteral("texture"), QStringLiteral("texture"),
                                 QStringLiteral("face"),    QStringLiteral("face"),
                                 QStringLiteral("face"),    QStringLiteral("face"),
                                 QStringLiteral("leaf")};
        for (std::size_t i = 0; i < std::size(counts); ++i) {
            if (counts[i].first > 0)
                parts << plural(counts[i].first, nouns[i],
                                nouns[i] == QLatin1String("leaf") ? QStringLiteral("leafs")
                                                                  : nouns[i] + u's') +
                             u' ' + counts[i].second;
        }
        if (!scene->pvs.visibility().problem().isEmpty())
            parts << QStringLiteral("vis damaged: ") + scene->pvs.visibility().problem();
        parts << scene->problems;
    }
    if (!leakNote_.isEmpty())
        parts << leakNote_;
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
