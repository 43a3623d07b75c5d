#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

// One lump of a .bsp put in the place of another's, everything else kept:
// how a kept visibility lump goes into a new compile's file.
namespace bsp {

// The file's bytes with the lump's contents replaced. Every other lump,
// standard or BSPX, keeps its bytes; those after it move by a multiple of 4
// so that nothing loses its alignment. Throws Failure as readLayout does,
// and for a lump that overlaps another.
QByteArray withLump(const char* data, std::int64_t size, int lump, QByteArrayView contents);

// Replaces the lump in the file at path: a new file in a temporary name
// beside it, renamed over it. Throws Failure naming the file.
void replaceLump(const QString& path, int lump, QByteArrayView contents);

} // namespace bsp
