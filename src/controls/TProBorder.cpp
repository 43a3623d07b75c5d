#include "controls/TProBorder.h"

#include <QPainter>
#include <algorithm>

TProBorder::TProBorder(QWidget* parent) : QWidget(parent)
{
    // Unlike the panel, the border is lowered unless a form says otherwise.
    frame_.bevelOuter = bvLowered;
    resize(50, 50);
}

template <typename T> void TProBorder::assign(T FrameStyle::*field, T value)
{
    if (frame_.*field == value)
        return;
    frame_.*field = value;
    update();
}

void TProBorder::setBevelCtl3D(bool on)
{
    if (frame_.bevelCtl3D == on)
        return;
    frame_.bevelCtl3D = on;
    frame_.bevelWidth = on ? 2 : 1;
    update();
}

void TProBorder::setBevelInner(TBevelCut kind)
{
    assign(&FrameStyle::bevelInner, kind);
}

void TProBorder::setBevelOuter(TBevelCut kind)
{
    assign(&FrameStyle::bevelOuter, kind);
}

void TProBorder::setBevelSides(TSides sides)
{
    assign(&FrameStyle::bevelSides, sides);
}

void TProBorder::setBevelWidth(int width)
{
    if (!frame_.bevelCtl3D)
        assign(&FrameStyle::bevelWidth, std::max(width, 1));
}

void TProBorder::setBorderColor(TColor color)
{
    assign(&FrameStyle::borderColor, color);
}

void TProBorder::setBorderWidth(int width)
{
    assign(&FrameStyle::borderWidth, std::max(width, 0));
}

void TProBorder::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    FrameRect interior = FrameRect::of(rect());
    drawFrame(canvas, interior, frame_);
}

void TProBorder::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    DoMouseEnter();
}

void TProBorder::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    DoMouseLeave();
}

void TProBorder::DoMouseEnter()
{
    if (onMouseEnter_)
        onMouseEnter_(this);
}

void TProBorder::DoMouseLeave()
{
    if (onMouseLeave_)
        onMouseLeave_(this);
}
