#pragma once

#include "scene/Vec3.h"
#include "view/ViewPlugin.h"

#include <QDateTime>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class MapGLView;
class QLabel;
class QPushButton;
class QThread;

namespace scene {
struct Scene;
struct PvsFigures;
} // namespace scene

// "Brushwright view": the compiled map lit and textured as the game shows
// it, with a line at the bottom giving the camera's place and the keys.
// "show heaviest" lists the clusters whose visible sets hold the most
// faces; "fly to leak" goes to the leak's entity end, looking along it.
class MapViewWindow : public QWidget, public view::MapViewer {
    Q_OBJECT
public:
    explicit MapViewWindow(QWidget* parent = nullptr);
    ~MapViewWindow() override;

    void open(const view::OpenRequest& request) override;
    // Shows a scene already read from the request's file.
    void showScene(const view::OpenRequest& request, std::shared_ptr<const scene::Scene> scene);
    QString bspPath() const override { return request_.bspPath; }
    bool isVisible() const override { return QWidget::isVisible(); }
    void bringToFront() override;

    MapGLView* mapView() const { return view_; }
    QPushButton *heaviestButton, *leakButton;

private:
    void showStatus();
    void showFile(const scene::Scene* scene, const QString& problem);
    void loadLeak();
    void flyToLeak();
    void countHeaviest();
    void showHeaviest(const scene::PvsFigures& figures);

    MapGLView* view_;
    QLabel* file_;
    QLabel* status_;
    view::OpenRequest request_;
    std::shared_ptr<const scene::Scene> scene_;
    QDateTime loadedAt_;
    QString leakNote_;
    std::vector<scene::Vec3> leakPath_;
    QThread* counting_ = nullptr;
};
