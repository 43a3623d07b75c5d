#pragma once

#include <QtGlobal>
#include <functional>

namespace map {

// One tick of the AutoCompile watcher. The map file's age is looked up
// twice, each time afresh: when the first look-up differs from the stored
// timestamp the change is reported; then the second look-up is stored, so
// the next tick compares with what the file holds now and each change is
// reported once. A missing file has the age -1 like any other value:
// deleting the map is a change, and so is its return.
void watchTick(qint32& timestamp, const std::function<qint32()>& mapFileAge,
               const std::function<void()>& reportChange);

} // namespace map
