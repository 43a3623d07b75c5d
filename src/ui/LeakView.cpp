#include "ui/LeakView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

const QColor background(30, 30, 34);
const QColor gridColor(48, 48, 54);
const QColor axisColor(70, 70, 80);
const QColor worldColor(160, 160, 160);
const QColor entityColor(90, 170, 255);
const QColor markColor(100, 210, 100);
const QColor pathColor(235, 40, 40);
const QColor focusColor(255, 220, 60);

// A brush smaller than this on screen is drawn as a dot.
constexpr double dotPixels = 2.5;
// Past the path's extent, so that the walls it passes through are seen.
constexpr double leakMargin = 128;

QString axisName(leak::ViewAxis axis)
{
    switch (axis) {
    case leak::ViewAxis::Top:
        return QStringLiteral("Top (X Y)");
    case leak::ViewAxis::Front:
        return QStringLiteral("Front (X Z)");
    case leak::ViewAxis::Side:
        return QStringLiteral("Side (Y Z)");
    }
    return {};
}

// Lines of a projection, each once, either way round.
void addUnique(QList<QLineF>& lines, qsizetype first, QPointF a, QPointF b)
{
    if (a == b)
        return;
    if (b.x() < a.x() || (b.x() == a.x() && b.y() < a.y()))
        std::swap(a, b);
    const QLineF line(a, b);
    for (qsizetype i = first; i < lines.size(); ++i) {
        if (lines[i] == line)
            return;
    }
    lines.append(line);
}

} // namespace

LeakView::LeakView(std::shared_ptr<const LeakScene> scene, leak::ViewAxis axis, QWidget* parent)
    : QWidget(parent), scene_(std::move(scene)), axis_(axis)
{
    setMinimumSize(160, 120);
    setAttribute(Qt::WA_OpaquePaintEvent);
    buildOutlines();
}

void LeakView::buildOutlines()
{
    // Projected once: a paint only moves and culls them.
    for (const map::GeometryBrush& brush : scene_->geometry.brushes) {
        Outline outline;
        outline.first = lines_.size();
        outline.world = brush.entity == 0;
        const QPointF a = leak::project(brush.solid.mins, axis_);
        const QPointF b = leak::project(brush.solid.maxs, axis_);
        outline.bounds = QRectF(a, b).normalized();
        for (const QList<map::Vec3>& face : brush.solid.faces) {
            for (qsizetype i = 0; i < face.size(); ++i)
                addUnique(lines_, outline.first, leak::project(face[i], axis_),
                          leak::project(face[(i + 1) % face.size()], axis_));
        }
        outline.count = lines_.size() - outline.first;
        outlines_.append(outline);
    }
}

QRectF LeakView::leakBounds() const
{
    const QList<map::Vec3>& points = scene_->path.points;
    if (points.isEmpty()) {
        QRectF all;
        for (const Outline& outline : outlines_)
            all |= outline.bounds;
        return all;
    }
    QPointF low = leak::project(points.first(), axis_);
    QPointF high = low;
    for (const map::Vec3& point : points) {
        const QPointF p = leak::project(point, axis_);
        low = {std::min(low.x(), p.x()), std::min(low.y(), p.y())};
        high = {std::max(high.x(), p.x()), std::max(high.y(), p.y())};
    }
    const QRectF path =
        QRectF(low, high).adjusted(-leakMargin, -leakMargin, leakMargin, leakMargin);
    // The brushes it passes, but not a floor under the whole map.
    const double largest = 2 * std::max({path.width(), path.height(), 4 * leakMargin});
    QRectF bounds = path;
    for (const Outline& outline : outlines_) {
        if (outline.bounds.intersects(path) && outline.bounds.width() <= largest &&
            outline.bounds.height() <= largest)
            bounds |= outline.bounds;
    }
    return bounds;
}

void LeakView::fitToLeak()
{
    transform_.size = size();
    transform_.fit(leakBounds());
    moved_ = false;
    update();
}

void LeakView::setFocusPoint(int index)
{
    focus_ = index;
    if (index >= 0 && index < scene_->path.points.size()) {
        transform_.centre = leak::project(scene_->path.points[index], axis_);
        moved_ = true;
    }
    update();
}

void LeakView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    render(painter);
}

void LeakView::render(QPainter& painter) const
{
    painter.fillRect(QRectF(QPointF(0, 0), transform_.size), background);
    drawGrid(painter);
    drawBrushes(painter);
    drawPointEntities(painter);
    drawPath(painter);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(6, 16), axisName(axis_));
}

void LeakView::drawGrid(QPainter& painter) const
{
    // Powers of two, as the editors' grids, no closer than 16 pixels.
    double step = 1;
    while (step * transform_.scale < 16)
        step *= 2;
    const QRectF visible = transform_.visiblePlane();
    QList<QLineF> grid;
    for (double x = std::floor(visible.left() / step) * step; x <= visible.right(); x += step)
        grid.append(QLineF(transform_.toScreen({x, visible.top()}),
                           transform_.toScreen({x, visible.bottom()})));
    for (double y = std::floor(visible.top() / step) * step; y <= visible.bottom(); y += step)
        grid.append(QLineF(transform_.toScreen({visible.left(), y}),
                           transform_.toScreen({visible.right(), y})));
    painter.setPen(gridColor);
    painter.drawLines(grid);
    painter.setPen(axisColor);
    const QPointF origin = transform_.toScreen({0, 0});
    painter.drawLine(QPointF(origin.x(), 0), QPointF(origin.x(), transform_.size.height()));
    painter.drawLine(QPointF(0, origin.y()), QPointF(transform_.size.width(), origin.y()));
}

void LeakView::drawBrushes(QPainter& painter) const
{
    const QRectF visible = transform_.visiblePlane();
    const double s = transform_.scale;
    const QPointF shift = transform_.toScreen({0, 0});
    // One buffer for each colour: few large drawLines calls are fast.
    QList<QLineF> lines[2];
    QList<QPointF> dots[2];
    for (const Outline& outline : outlines_) {
        if (!outline.bounds.intersects(visible))
            continue;
        const int colour = outline.world ? 0 : 1;
        if (outline.bounds.width() * s < dotPixels && outline.bounds.height() * s < dotPixels) {
            dots[colour].append(transform_.toScreen(outline.bounds.center()));
            continue;
        }
        for (qsizetype i = outline.first; i < outline.first + outline.count; ++i) {
            const QLineF& line = lines_[i];
            lines[colour].append(QLineF(shift.x() + line.x1() * s, shift.y() - line.y1() * s,
                                        shift.x() + line.x2() * s, shift.y() - line.y2() * s));
        }
    }
    for (const int colour : {0, 1}) {
        painter.setPen(colour == 0 ? worldColor : entityColor);
        painter.drawLines(lines[colour]);
        painter.drawPoints(dots[colour]);
    }
}

void LeakView::drawPointEntities(QPainter& painter) const
{
    const QRectF visible = transform_.visiblePlane();
    // An entity's box is 16 units or more; far out a mark must not hide the brushes.
    const double half = std::clamp(8 * transform_.scale, 0.5, 3.0);
    painter.setPen(markColor);
    for (const map::PointEntity& entity : scene_->geometry.pointEntities) {
        const QPointF p = leak::project(entity.origin, axis_);
        if (visible.contains(p))
            painter.drawRect(
                QRectF(transform_.toScreen(p) - QPointF(half, half), QSizeF(2 * half, 2 * half)));
    }
}

void LeakView::drawPath(QPainter& painter) const
{
    const QList<map::Vec3>& points = scene_->path.points;
    if (points.isEmpty())
        return;
    QPolygonF line;
    line.reserve(points.size());
    for (const map::Vec3& point : points)
        line.append(transform_.toScreen(leak::project(point, axis_)));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(pathColor, 2));
    painter.drawPolyline(line);
    // The entity's end ringed and named; the void's end crossed.
    painter.drawEllipse(line.first(), 6, 6);
    const QPointF out = line.last();
    painter.drawLine(out + QPointF(-5, -5), out + QPointF(5, 5));
    painter.drawLine(out + QPointF(-5, 5), out + QPointF(5, -5));
    painter.setPen(Qt::white);
    const QString name = scene_->path.report.entity;
    painter.drawText(line.first() + QPointF(9, -9), name.isEmpty() ? tr("entity end") : name);
    if (focus_ >= 0 && focus_ < line.size()) {
        painter.setPen(QPen(focusColor, 2));
        painter.drawEllipse(line[focus_], 9, 9);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void LeakView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    transform_.size = size();
    if (!moved_)
        fitToLeak();
}

void LeakView::wheelEvent(QWheelEvent* event)
{
    transform_.zoomAbout(event->position(), std::pow(1.0015, event->angleDelta().y()));
    moved_ = true;
    update();
}

void LeakView::mousePressEvent(QMouseEvent* event)
{
    lastMouse_ = event->position();
}

void LeakView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & (Qt::LeftButton | Qt::MiddleButton | Qt::RightButton)))
        return;
    transform_.panBy(event->position() - lastMouse_);
    lastMouse_ = event->position();
    moved_ = true;
    update();
}
