#include "scene/VisibleSet.h"

#include <QLocale>

namespace scene {

namespace {

void everything(const Scene& scene, VisibleSet& set, VisibleSet::Reach reach)
{
    set.reach = reach;
    for (std::uint32_t f = 0; f < scene.faces.size(); ++f) {
        if (scene.faces[f].model == 0)
            set.worldFaces.push_back(f);
    }
}

} // namespace

VisibleSet visibleFrom(const Scene& scene, const Vec3& point)
{
    VisibleSet set;
    const int leaf = scene.tree.leafAt(point);
    if (leaf >= 0) {
        set.cluster = scene.tree.leafs()[std::size_t(leaf)].cluster;
        set.area = scene.tree.leafs()[std::size_t(leaf)].area;
    }
    const Visibility::State vis = scene.pvs.visibility().state();
    if (vis == Visibility::State::None) {
        everything(scene, set, VisibleSet::Reach::NoVis);
        return set;
    }
    if (vis == Visibility::State::Damaged) {
        everything(scene, set, VisibleSet::Reach::VisDamaged);
        return set;
    }
    if (!scene.pvs.knows(set.cluster)) {
        everything(scene, set, VisibleSet::Reach::OutsideMap);
        return set;
    }
    set.reach = VisibleSet::Reach::Clusters;
    set.worldFaces = scene.pvs.facesFrom(set.cluster);
    set.drawable.assign(scene.faces.size(), 0);
    for (const std::uint32_t f : set.worldFaces)
        set.drawable[f] = 1;
    // A brush model is drawn where one of the clusters it touches is seen;
    // one the tree puts in none stays drawn.
    const std::vector<std::uint8_t> row = scene.pvs.visibility().row(set.cluster);
    std::vector<std::uint8_t> modelSeen(scene.modelClusters.size(), 0);
    for (std::size_t m = 1; m < scene.modelClusters.size(); ++m) {
        bool seen = scene.modelClusters[m].empty();
        for (const int c : scene.modelClusters[m])
            seen = seen || (c >= 0 && c < scene.pvs.visibility().clusters() && rowHas(row, c));
        modelSeen[m] = seen;
    }
    for (std::size_t f = 0; f < scene.faces.size(); ++f) {
        const int m = scene.faces[f].model;
        if (m > 0 && std::size_t(m) < modelSeen.size() && modelSeen[std::size_t(m)])
            set.drawable[f] = 1;
    }
    return set;
}

int facesInView(const Scene& scene, const VisibleSet& set, const Frustum& frustum)
{
    int count = 0;
    for (const std::uint32_t f : set.worldFaces) {
        const Face& face = scene.faces[f];
        if (!frustum.excludes(face.mins, face.maxs))
            ++count;
    }
    return count;
}

QString visibleSetText(const VisibleSet& set, int inView)
{
    const QLocale c = QLocale::c();
    QString counts = QStringLiteral("%1 faces in the visible set · %2 in the view")
                         .arg(c.toString(qlonglong(set.worldFaces.size())), c.toString(inView));
    switch (set.reach) {
    case VisibleSet::Reach::Clusters:
        return counts + QStringLiteral(" · cluster %1 · area %2").arg(set.cluster).arg(set.area);
    case VisibleSet::Reach::NoVis:
        return QStringLiteral("no vis: everything drawn · ") + counts;
    case VisibleSet::Reach::VisDamaged:
        return QStringLiteral("vis damaged: everything drawn · ") + counts;
    case VisibleSet::Reach::OutsideMap:
        break;
    }
    return QStringLiteral("outside the map: everything drawn · ") + counts;
}

} // namespace scene
