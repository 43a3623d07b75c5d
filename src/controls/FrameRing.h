#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// One ring of a bevel: top and left lines in one colour, right and bottom in
// the other. The top-right and bottom-left corner pixels take the second
// colour. Returns the rectangle inside the ring.
QRect drawFrameRing(QPainter& painter, const QRect& rect, const QColor& topLeft,
                    const QColor& bottomRight);

// The raised 3-D edge of the classic look: two rings, outer highlight and
// button text, inner 3-D light and shadow. Returns the rectangle inside.
QRect drawRaised3DEdge(QPainter& painter, const QRect& rect);
