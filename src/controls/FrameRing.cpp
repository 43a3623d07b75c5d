#include "controls/FrameRing.h"

#include "platform/SystemColors.h"

#include <QPainter>

QRect drawFrameRing(QPainter& painter, const QRect& rect, const QColor& topLeft,
                    const QColor& bottomRight)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return rect;
    const int x0 = rect.left();
    const int y0 = rect.top();
    const int x1 = rect.right();
    const int y1 = rect.bottom();
    painter.fillRect(QRect(x0, y0, x1 - x0, 1), topLeft);
    painter.fillRect(QRect(x0, y0 + 1, 1, y1 - y0), topLeft);
    painter.fillRect(QRect(x1, y0, 1, y1 - y0 + 1), bottomRight);
    painter.fillRect(QRect(x0, y1, x1 - x0 + 1, 1), bottomRight);
    return rect.adjusted(1, 1, -1, -1);
}

QRect drawRaised3DEdge(QPainter& painter, const QRect& rect)
{
    using namespace platform;
    const QRect inner =
        drawFrameRing(painter, rect, systemColor(ColorBtnHighlight), systemColor(ColorBtnText));
    return drawFrameRing(painter, inner, systemColor(Color3DLight), systemColor(ColorBtnShadow));
}
