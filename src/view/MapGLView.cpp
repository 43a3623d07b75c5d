#include "view/MapGLView.h"

#include "leak/LeakPath.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr float slowest = 16, fastest = 8192;
// A wheel notch changes the speed by this factor.
constexpr float notch = 1.25f;

enum Held { Forward, Back, Right, Left, Up, Down };

} // namespace

MapGLView::MapGLView(QWidget* parent) : QOpenGLWidget(parent), corner_(new QLabel(this))
{
    corner_->setObjectName(QStringLiteral("corner"));
    corner_->setStyleSheet(
        QStringLiteral("color: white; background: rgba(0, 0, 0, 150); padding: 3px"));
    corner_->move(6, 6);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 200);
    // About sixty moves a second while a key is held, none otherwise.
    stepTimer_.setInterval(16);
    stepTimer_.setTimerType(Qt::PreciseTimer);
    connect(&stepTimer_, &QTimer::timeout, this, &MapGLView::step);
}

MapGLView::~MapGLView()
{
    // The renderer's buffers and textures belong to this widget's context.
    makeCurrent();
    renderer_.reset();
    doneCurrent();
}

void MapGLView::setScene(std::shared_ptr<const scene::Scene> scene, bool keepCamera)
{
    scene_ = std::move(scene);
    // A new file's clusters and faces are not the old one's.
    set_ = {};
    setLeaf_ = -2;
    if (!keepCamera && scene_)
        setCamera(scene_->start);
    updateVisibleSet();
    pendingUpload_ = true;
    update();
}

void MapGLView::setCamera(const scene::Camera& camera)
{
    if (camera == camera_)
        return;
    camera_ = camera;
    updateVisibleSet();
    emit cameraChanged();
    update();
}

void MapGLView::setMode(view::ViewMode mode)
{
    if (mode == mode_)
        return;
    mode_ = mode;
    emit modeChanged();
    update();
}

void MapGLView::setLocked(bool locked)
{
    if (locked == locked_)
        return;
    locked_ = locked;
    lockedAt_ = camera_.position;
    setLeaf_ = -2;
    updateVisibleSet();
    update();
}

void MapGLView::setLeakPath(std::vector<scene::Vec3> path)
{
    leakPath_ = std::move(path);
    update();
}

// Found again only when the camera enters another leaf: a new cluster's
// set is read from its row, as the engine does on r_viewcluster's change.
void MapGLView::updateVisibleSet()
{
    if (!scene_)
        return;
    const scene::Vec3 at = locked_ ? lockedAt_ : camera_.position;
    const int leaf = scene_->tree.leafAt(at);
    if (leaf == setLeaf_)
        return;
    const int cluster = leaf >= 0 ? scene_->tree.leafs()[std::size_t(leaf)].cluster : -1;
    const int area = leaf >= 0 ? scene_->tree.leafs()[std::size_t(leaf)].area : -1;
    setLeaf_ = leaf;
    if (cluster == set_.cluster && set_.reach == scene::VisibleSet::Reach::Clusters &&
        !set_.drawable.empty()) {
        set_.area = area;
        return;
    }
    set_ = scene::visibleFrom(*scene_, at);
}

QString MapGLView::cornerText() const
{
    if (!scene_)
        return {};
    const qreal ratio = devicePixelRatioF();
    const float aspect = float(width() * ratio) / float(std::max(1.0, height() * ratio));
    QString text = scene::visibleSetText(
        set_, scene::facesInView(*scene_, set_, scene::Frustum(camera_, aspect)));
    if (locked_)
        text += QStringLiteral("\nlocked at %1 (L unlocks)")
                    .arg(leak::pointText({lockedAt_.x, lockedAt_.y, lockedAt_.z}));
    return text;
}

std::vector<view::SceneRenderer::Lines> MapGLView::overlay() const
{
    std::vector<view::SceneRenderer::Lines> lines;
    if (leakPath_.size() >= 2)
        lines.push_back({leakPath_, QColor(230, 30, 30), true});
    if (locked_)
        lines.push_back(view::SceneRenderer::lockMark(lockedAt_));
    return lines;
}

void MapGLView::initializeGL()
{
    renderer_ = std::make_unique<view::SceneRenderer>();
    if (!renderer_->initialize(&problem_)) {
        renderer_.reset();
        return;
    }
    pendingUpload_ = true;
}

void MapGLView::uploadPending()
{
    if (!pendingUpload_ || !renderer_)
        return;
    pendingUpload_ = false;
    if (scene_)
        renderer_->upload(*scene_);
    else
        renderer_->release();
}

void MapGLView::paintGL()
{
    if (!renderer_)
        return;
    uploadPending();
    const qreal ratio = devicePixelRatioF();
    facesDrawn_ =
        renderer_->draw(camera_, mode_, QSize(int(width() * ratio), int(height() * ratio)),
                        set_.drawable, overlay());
    corner_->setText(cornerText());
    corner_->adjustSize();
}

bool MapGLView::setKey(int key, bool down)
{
    int held = -1;
    switch (key) {
    case Qt::Key_W:
    case Qt::Key_Up:
        held = Forward;
        break;
    case Qt::Key_S:
    case Qt::Key_Down:
        held = Back;
        break;
    case Qt::Key_D:
    case Qt::Key_Right:
        held = Right;
        break;
    case Qt::Key_A:
    case Qt::Key_Left:
        held = Left;
        break;
    case Qt::Key_Space:
        held = Up;
        break;
    case Qt::Key_C:
        held = Down;
        break;
    default:
        return false;
    }
    keys_[held] = down ? 1 : 0;
    motion_.forward = keys_[Forward] - keys_[Back];
    motion_.side = keys_[Right] - keys_[Left];
    motion_.up = keys_[Up] - keys_[Down];
    if (motion_.any() && !stepTimer_.isActive()) {
        sinceStep_.start();
        stepTimer_.start();
    } else if (!motion_.any()) {
        stepTimer_.stop();
    }
    return true;
}

void MapGLView::keyPressEvent(QKeyEvent* event)
{
    motion_.fast = event->modifiers() & Qt::ShiftModifier;
    if (setKey(event->key(), true))
        return;
    switch (event->key()) {
    case Qt::Key_1:
        setMode(view::ViewMode::Lit);
        break;
    case Qt::Key_2:
        setMode(view::ViewMode::Lightmap);
        break;
    case Qt::Key_3:
        setMode(view::ViewMode::Fullbright);
        break;
    case Qt::Key_L:
        setLocked(!locked_);
        emit cameraChanged();
        break;
    default:
        QOpenGLWidget::keyPressEvent(event);
    }
}

void MapGLView::keyReleaseEvent(QKeyEvent* event)
{
    motion_.fast = event->modifiers() & Qt::ShiftModifier;
    if (event->isAutoRepeat() || !setKey(event->key(), false))
        QOpenGLWidget::keyReleaseEvent(event);
}

void MapGLView::focusOutEvent(QFocusEvent* event)
{
    // A key let go in another window never reaches this one.
    std::fill(std::begin(keys_), std::end(keys_), 0);
    motion_ = {};
    stepTimer_.stop();
    looking_ = false;
    QOpenGLWidget::focusOutEvent(event);
}

void MapGLView::step()
{
    const float seconds = std::min(float(sinceStep_.restart()) / 1000, 0.1f);
    setCamera(scene::moved(camera_, motion_, seconds, speed_));
}

void MapGLView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton)
        return QOpenGLWidget::mousePressEvent(event);
    looking_ = true;
    lastMouse_ = event->position();
    setFocus();
}

void MapGLView::mouseMoveEvent(QMouseEvent* event)
{
    if (!looking_)
        return QOpenGLWidget::mouseMoveEvent(event);
    const QPointF delta = event->position() - lastMouse_;
    lastMouse_ = event->position();
    setCamera(scene::turned(camera_, float(delta.x()), float(delta.y())));
}

void MapGLView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        looking_ = false;
    QOpenGLWidget::mouseReleaseEvent(event);
}

void MapGLView::wheelEvent(QWheelEvent* event)
{
    const float notches = float(event->angleDelta().y()) / 120;
    speed_ = std::clamp(speed_ * std::pow(notch, notches), slowest, fastest);
    emit cameraChanged();
}
