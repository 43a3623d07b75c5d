#include "map/MapWatcher.h"

namespace map {

void watchTick(qint32& timestamp, const std::function<qint32()>& mapFileAge,
               const std::function<void()>& reportChange)
{
    if (mapFileAge() != timestamp)
        reportChange();
    timestamp = mapFileAge();
}

} // namespace map
