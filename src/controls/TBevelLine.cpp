#include "controls/TBevelLine.h"

#include "platform/SystemColors.h"

#include <QPainter>

TBevelLine::TBevelLine(Shape shape, QWidget* parent) : QWidget(parent), shape_(shape)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevelLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int y = shape_ == BottomLine ? height() - 2 : 0;
    painter.fillRect(QRect(0, y, width(), 1), platform::systemColor(platform::ColorBtnShadow));
    painter.fillRect(QRect(0, y + 1, width(), 1),
                     platform::systemColor(platform::ColorBtnHighlight));
}
