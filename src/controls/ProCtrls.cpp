#include "controls/ProCtrls.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {

// Widths up to the largest int are allowed. Coordinates and insets that come
// of them are clamped here, far outside any canvas, instead of overflowing.
constexpr qint64 farAway = 1 << 24;

int moved(int coordinate, qint64 by)
{
    return int(std::clamp(coordinate + by, -farAway, farAway));
}

// A line along one axis as the platform draws it: from `from` toward `to`
// in either direction, leaving out the end point.
void horizontalLine(QPainter& canvas, int from, int to, int y, const QColor& color)
{
    if (from != to)
        canvas.fillRect(QRect(std::min(from, to + 1), y, std::abs(to - from), 1), color);
}

void verticalLine(QPainter& canvas, int x, int from, int to, const QColor& color)
{
    if (from != to)
        canvas.fillRect(QRect(x, std::min(from, to + 1), 1, std::abs(to - from)), color);
}

// Rings past this many lie wholly outside the canvas: each drawn side moves
// one pixel further out of it per ring.
qint64 visibleRings(const FrameRect& rect, TSides sides, const QPaintDevice* canvas)
{
    const qint64 width = canvas ? canvas->width() : 0;
    const qint64 height = canvas ? canvas->height() : 0;
    qint64 rings = 0;
    if (sides & sdLeft)
        rings = std::max(rings, width - rect.left);
    if (sides & sdTop)
        rings = std::max(rings, height - rect.top);
    if (sides & sdRight)
        rings = std::max(rings, qint64(rect.right));
    if (sides & sdBottom)
        rings = std::max(rings, qint64(rect.bottom));
    return rings;
}

void drawRing(QPainter& canvas, const FrameRect& r, TSides sides, const QColor& c1,
              const QColor& c2)
{
    if (sides & sdLeft)
        verticalLine(canvas, r.left, r.top, r.bottom, c1);
    if (sides & sdTop)
        horizontalLine(canvas, r.left, r.right, r.top, c1);
    if (sides & sdRight)
        verticalLine(canvas, r.right - 1, r.top, r.bottom, c2);
    if (sides & sdBottom)
        horizontalLine(canvas, r.left, r.right, r.bottom - 1, c2);
}

void shrink(FrameRect& rect, TSides sides, qint64 by)
{
    if (sides & sdLeft)
        rect.left = moved(rect.left, by);
    if (sides & sdTop)
        rect.top = moved(rect.top, by);
    if (sides & sdRight)
        rect.right = moved(rect.right, -by);
    if (sides & sdBottom)
        rect.bottom = moved(rect.bottom, -by);
}

void drawBevel(QPainter& canvas, FrameRect& rect, TBevelCut kind, const FrameStyle& style)
{
    if (kind == bvNone)
        return;
    const TBevelColors colors = BevelColors(kind, style.bevelCtl3D);
    if (style.bevelCtl3D) {
        FrameSides(canvas, rect, style.bevelSides, toQColor(colors.c1), toQColor(colors.c2), 1);
        FrameSides(canvas, rect, style.bevelSides, toQColor(colors.c3), toQColor(colors.c4), 1);
    } else {
        FrameSides(canvas, rect, style.bevelSides, toQColor(colors.c1), toQColor(colors.c2),
                   style.bevelWidth);
    }
}

} // namespace

QColor toQColor(TColor color)
{
    if (color.value & 0x80000000u)
        return platform::systemColor(platform::SystemColorIndex(color.value & 0xff));
    return QColor(int(color.value & 0xff), int(color.value >> 8 & 0xff),
                  int(color.value >> 16 & 0xff));
}

TBevelColors BevelColors(TBevelCut kind, bool ctl3D)
{
    switch (kind) {
    case bvLowered:
        return {clBtnShadow, clBtnHighlight, clBtnText, cl3DLight};
    case bvRaised:
        return {clBtnHighlight, ctl3D ? clBtnText : clBtnShadow, cl3DLight, clBtnShadow};
    case bvNone:
    case bvSpace:
        break;
    }
    // A spacer takes room without a visible edge: a band of the face colour.
    return {clBtnFace, clBtnFace, clBtnFace, clBtnFace};
}

void FrameSides(QPainter& canvas, FrameRect& rect, TSides sides, const QColor& c1, const QColor& c2,
                int count)
{
    if (count <= 0)
        return;
    const qint64 drawn = std::min<qint64>(count, visibleRings(rect, sides, canvas.device()));
    for (qint64 ring = 0; ring < drawn; ++ring) {
        drawRing(canvas, rect, sides, c1, c2);
        shrink(rect, sides, 1);
    }
    shrink(rect, sides, count - drawn);
}

void drawFrame(QPainter& canvas, FrameRect& rect, const FrameStyle& style)
{
    drawBevel(canvas, rect, style.bevelOuter, style);
    const QColor border = toQColor(style.borderColor);
    FrameSides(canvas, rect, style.bevelSides, border, border, style.borderWidth);
    drawBevel(canvas, rect, style.bevelInner, style);
}

int frameInset(const FrameStyle& style)
{
    qint64 inset = style.borderWidth;
    for (const TBevelCut bevel : {style.bevelOuter, style.bevelInner}) {
        if (bevel != bvNone)
            inset += style.bevelWidth;
    }
    return int(std::min(inset, farAway));
}

FrameRect captionRect(const FrameRect& interior, int textHeight, TVerticalAlignment alignment)
{
    if (alignment == vaTop)
        return interior;
    const int spare = interior.height() - textHeight;
    const int offset = alignment == vaCenter ? spare / 2 : spare;
    return {interior.left, interior.top + offset, interior.right,
            interior.top + textHeight + offset};
}
