#include "controls/TProPanel.h"

#include "controls/FrameRing.h"
#include "platform/SystemColors.h"

#include <QPainter>

TProPanel::TProPanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TProPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect inside = drawRaised3DEdge(painter, rect());
    painter.fillRect(inside, platform::systemColor(platform::ColorBtnFace));
}
