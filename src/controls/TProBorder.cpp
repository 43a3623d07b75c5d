#include "controls/TProBorder.h"

#include "controls/FrameRing.h"

#include <QPainter>

TProBorder::TProBorder(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TProBorder::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawRaised3DEdge(painter, rect());
}
