#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <cstdint>

// One lump of a .bsp put in the place of another's, everything else kept:
// how a kept visibility lump goes into a new compile's file.
namespace bsp {

// A part of the new file: a view into the old file or the new lump, or
// bytes of its own (the header, padding, the BSPX directory).
struct FilePiece {
    QByteArrayView view;
    QByteArray own;
    QByteArrayView bytes() const { return own.isEmpty() ? view : QByteArrayView(own); }
};

// The file's bytes with the lump's contents replaced, as pieces to write
// one after another. Every other lump, standard or BSPX, keeps its bytes;
// those after it move by a multiple of 4 so that nothing loses its
// alignment. Throws Failure as readLayout does, and for a lump that
// overlaps another. The pieces view data and contents: they must outlive
// them.
QList<FilePiece> lumpReplaced(const char* data, std::int64_t size, int lump,
                              QByteArrayView contents);

// The same, joined.
QByteArray withLump(const char* data, std::int64_t size, int lump, QByteArrayView contents);

// Replaces the lump in the file at path: a new file in a temporary name
// beside it, renamed over it. Throws Failure naming the file.
void replaceLump(const QString& path, int lump, QByteArrayView contents);

} // namespace bsp
