#include "ui/LimitBar.h"

#include <QPainter>
#include <algorithm>

LimitBar::LimitBar(const report::LimitRow& limit, QWidget* parent) : QWidget(parent), limit_(limit)
{
    setMinimumWidth(80);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QColor LimitBar::colour() const
{
    switch (limit_.state) {
    case report::LimitState::Over:
        return QColor(0xd0, 0x30, 0x30);
    case report::LimitState::Near:
        return QColor(0xe8, 0xa0, 0x00);
    case report::LimitState::Ok:
        break;
    }
    return palette().color(QPalette::Mid);
}

void LimitBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 1, -1, -2);
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRect(frame);
    if (!limit_.max || *limit_.max <= 0)
        return;
    // Over the maximum the bar is full: how far over is in the figures.
    const double share = std::clamp(double(limit_.count) / double(*limit_.max), 0.0, 1.0);
    QRect filled = frame.adjusted(1, 1, 0, 0);
    filled.setWidth(int(share * filled.width()));
    painter.fillRect(filled, colour());
}
