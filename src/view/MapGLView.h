#pragma once

#include "scene/Camera.h"
#include "scene/Scene.h"
#include "scene/VisibleSet.h"
#include "view/SceneRenderer.h"

#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QTimer>
#include <memory>

class QLabel;

// The compiled map in 3D, flown through with the keys mappers know from
// their editors: the right mouse button held looks, W A S D or the arrows
// move, Space and C go up and down, Shift goes faster, the wheel sets the
// speed; 1, 2 and 3 choose the lit, lightmap and fullbright modes. It
// draws what the engine draws from the camera's place (the visible set),
// which L locks where the camera stands, and says how much in its corner.
// The leak's path, where there is one, is drawn over it in red.
class MapGLView : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit MapGLView(QWidget* parent = nullptr);
    ~MapGLView() override;

    // Takes the scene to draw; the camera goes to its start unless kept.
    void setScene(std::shared_ptr<const scene::Scene> scene, bool keepCamera);
    const scene::Camera& camera() const { return camera_; }
    void setCamera(const scene::Camera& camera);
    view::ViewMode mode() const { return mode_; }
    void setMode(view::ViewMode mode);
    float speed() const { return speed_; }
    // Faces drawn in the last frame.
    int facesDrawn() const { return facesDrawn_; }
    const scene::VisibleSet& visibleSet() const { return set_; }
    // What the corner says.
    QString cornerText() const;
    bool isLocked() const { return locked_; }
    void setLocked(bool locked);
    // The leak's path, its entity's end first; empty: none.
    void setLeakPath(std::vector<scene::Vec3> path);
    // What went wrong making the OpenGL context or the shaders; empty if nothing.
    const QString& problem() const { return problem_; }

signals:
    void cameraChanged();
    void modeChanged();

protected:
    void initializeGL() override;
    void paintGL() override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool setKey(int key, bool down);
    void step();
    void uploadPending();
    void updateVisibleSet();
    std::vector<view::SceneRenderer::Lines> overlay() const;

    std::unique_ptr<view::SceneRenderer> renderer_;
    std::shared_ptr<const scene::Scene> scene_;
    bool pendingUpload_ = false;
    scene::Camera camera_;
    view::ViewMode mode_ = view::ViewMode::Lit;
    float speed_ = 320; // the player's running speed, units a second
    scene::Motion motion_;
    int keys_[6] = {}; // forward, back, right, left, up, down held
    QTimer stepTimer_;
    QElapsedTimer sinceStep_;
    bool looking_ = false;
    QPointF lastMouse_;
    int facesDrawn_ = 0;
    QString problem_;
    scene::VisibleSet set_;
    bool locked_ = false;
    scene::Vec3 lockedAt_;
    int setLeaf_ = -2; // the leaf set_ was found in; -2: none yet
    std::vector<scene::Vec3> leakPath_;
    QLabel* corner_;
};
