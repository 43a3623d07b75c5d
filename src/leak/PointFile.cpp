#include "leak/PointFile.h"

#include "platform/Failure.h"
#include "platform/TextFile.h"

#include <array>
#include <charconv>
#include <cmath>

namespace leak {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

// Three finite, bounded numbers and nothing else; nullopt for anything else.
std::optional<map::Vec3> pointOf(const char* p, const char* end)
{
    std::array<double, 3> v{};
    for (double& value : v) {
        while (p != end && isBlank(*p))
            ++p;
        const auto [next, error] = std::from_chars(p, end, value);
        if (error != std::errc() || next == p || !std::isfinite(value) ||
            std::abs(value) > maxCoordinate)
            return std::nullopt;
        p = next;
        if (p != end && !isBlank(*p))
            return std::nullopt;
    }
    while (p != end && isBlank(*p))
        ++p;
    if (p != end)
        return std::nullopt;
    return map::Vec3{v[0], v[1], v[2]};
}

} // namespace

PointFile parsePointFile(const QByteArray& bytes)
{
    PointFile file;
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    while (p != end) {
        const char* lineEnd = p;
        while (lineEnd != end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        const char* first = p;
        while (first != lineEnd && isBlank(*first))
            ++first;
        if (first != lineEnd) {
            if (const auto point = pointOf(first, lineEnd))
                file.points.append(*point);
            else
                ++file.skipped;
        }
        p = lineEnd == end ? end : lineEnd + 1;
    }
    return file;
}

PointFile readPointFile(const QString& path)
{
    return parsePointFile(textfile::readBytes(path));
}

} // namespace leak
