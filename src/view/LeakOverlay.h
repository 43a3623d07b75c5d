#pragma once

#include "scene/Vec3.h"
#include "view/ViewPlugin.h"

#include <QString>
#include <vector>

// The leak's path drawn over the map: from the compile's point file, or
// the newest beside the .map (not older than it), its entity's end first.
struct LeakOverlay {
    std::vector<scene::Vec3> points;
    QString note; // the leak's sentence, or why it cannot be shown; empty: no leak
};

LeakOverlay leakOverlayFor(const view::OpenRequest& request);
