#include "ui/LeakWindow.h"

#include "ui/LeakView.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

LeakWindow::LeakWindow(map::MapGeometry geometry, leak::LeakPath path, QWidget* parent)
    : QWidget(parent, Qt::Window),
      scene_(std::make_shared<const LeakScene>(LeakScene{std::move(geometry), std::move(path)}))
{
    setWindowTitle(tr("Brushwright leak"));
    auto* sentence = new QLabel(leak::leakSentence(scene_->path.report), this);
    sentence->setObjectName(QStringLiteral("sentence"));
    sentence->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = sentence->font();
    bold.setBold(true);
    sentence->setFont(bold);

    where_ = new QLabel(this);
    where_->setObjectName(QStringLiteral("where"));
    auto* copy = new QPushButton(tr("copy point file path"), this);
    copy->setToolTip(scene_->path.report.file);
    connect(copy, &QPushButton::clicked, this, &LeakWindow::copyPointFilePath);
    auto* row = new QHBoxLayout;
    row->addWidget(where_, 1);
    row->addWidget(copy);

    // As the editors arrange them: the top view large, front and side beside it.
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    const leak::ViewAxis axes[] = {leak::ViewAxis::Top, leak::ViewAxis::Front,
                                   leak::ViewAxis::Side};
    for (const leak::ViewAxis axis : axes)
        views_.append(new LeakView(scene_, axis, this));
    grid->addWidget(views_[0], 0, 0, 2, 1);
    grid->addWidget(views_[1], 0, 1);
    grid->addWidget(views_[2], 1, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sentence);
    layout->addLayout(row);
    layout->addLayout(grid, 1);

    auto* next = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+K")), this);
    connect(next, &QShortcut::activated, this, &LeakWindow::nextPoint);
    auto* previous = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+L")), this);
    connect(previous, &QShortcut::activated, this, &LeakWindow::previousPoint);
    focusOn(-1);
    resize(1100, 760);
}

LeakWindow::~LeakWindow() = default;

std::unique_ptr<LeakWindow> LeakWindow::fromFiles(const QString& mapPath, const QString& pointFile,
                                                  const QString& occupantLine, QWidget* parent)
{
    const map::MapFile map = map::readMapFile(mapPath);
    leak::LeakPath path = leak::traceLeak(map, pointFile, occupantLine);
    return std::make_unique<LeakWindow>(map::geometryOf(map), std::move(path), parent);
}

void LeakWindow::nextPoint()
{
    focusOn(std::min(focus_ + 1, int(scene_->path.points.size()) - 1));
}

void LeakWindow::previousPoint()
{
    focusOn(std::max(focus_ - 1, 0));
}

void LeakWindow::focusOn(int index)
{
    const QList<map::Vec3>& points = scene_->path.points;
    focus_ = index < points.size() ? index : -1;
    if (focus_ < 0) {
        where_->setText(tr("%1 %2 from the entity to the void; Ctrl+Shift+K, Ctrl+Shift+L: next "
                           "and previous point")
                            .arg(points.size())
                            .arg(points.size() == 1 ? tr("point") : tr("points")));
    } else {
        where_->setText(tr("Point %1 of %2 at %3")
                            .arg(focus_ + 1)
                            .arg(points.size())
                            .arg(leak::pointText(points[focus_])));
    }
    for (LeakView* view : views_)
        view->setFocusPoint(focus_);
}

void LeakWindow::copyPointFilePath()
{
    QGuiApplication::clipboard()->setText(scene_->path.report.file);
}
