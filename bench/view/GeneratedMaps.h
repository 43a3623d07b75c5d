#pragma once

#include <QByteArray>
#include <QString>

// Compiled maps written for the view's bench: a QBSP of about 30 MB of
// lit floor tiles, and a field of 20,000 lit faces (pillars on a floor) to
// fly over; both in a game folder with eight textures in a pak.
namespace generated {

// game/baseq2/maps/<name>.bsp under root, with the pak beside; its path.
QString writeBigMap(const QString& root);
QString writeFieldMap(const QString& root);
// One lit tile: what the view costs with next to no map.
QString writeTinyMap(const QString& root);

} // namespace generated
