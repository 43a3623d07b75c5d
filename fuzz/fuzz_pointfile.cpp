// The point-file reader. Whatever the bytes: every point finite and within
// bounds, and each line with text is a point or is counted as skipped.
#include "FuzzSupport.h"
#include "leak/PointFile.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const leak::PointFile file = leak::parsePointFile(bytes);
    for (const map::Vec3& p : file.points) {
        for (const double v : {p.x, p.y, p.z})
            fuzz::check(std::isfinite(v) && std::abs(v) <= leak::maxCoordinate,
                        "points finite and bounded", QString::number(v));
    }
    // Counted apart from the reader: CR and LF end lines, blanks are no text.
    int lines = 0;
    for (const QByteArray& piece : QByteArray(bytes).replace('\r', '\n').split('\n'))
        lines += piece.trimmed().isEmpty() ? 0 : 1;
    fuzz::check(
        file.skipped + file.points.size() == lines, "skipped + points == lines",
        QStringLiteral("%1 + %2, %3 lines").arg(file.skipped).arg(file.points.size()).arg(lines));
    return 0;
}
