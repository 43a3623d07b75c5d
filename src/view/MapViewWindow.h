#pragma once

#include "view/ViewPlugin.h"

#include <QDateTime>
#include <QWidget>
#include <memory>

class MapGLView;
class QLabel;

namespace scene {
struct Scene;
}

// "Brushwright view": the compiled map lit and textured as the game shows
// it, with a line at the bottom giving the camera's place and the keys.
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

private:
    void showStatus();
    void showFile(const scene::Scene* scene, const QString& problem);

    MapGLView* view_;
    QLabel* file_;
    QLabel* status_;
    view::OpenRequest request_;
    QDateTime loadedAt_;
};
