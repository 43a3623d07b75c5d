#include "batch/LightValues.h"

#include "batch/BatchScript.h"

#include <cmath>

namespace light {

namespace {
constexpr int maxLightSlider = 4;
constexpr int ambientSlider = 3;
} // namespace

double value(int slider, int position)
{
    return slider == maxLightSlider ? double(position) : double(position) / 100.0;
}

QString readout(int slider, double value, QChar separator)
{
    if (slider == maxLightSlider)
        return QString::number(qint64(value));
    return batch::formatDecimal(value, separator);
}

int grey(int slider, double value)
{
    if (slider == maxLightSlider)
        return int(qint64(value) & 0xFF);
    const double scale = slider == ambientSlider ? 255.0 : 127.0;
    // nearbyint rounds in the default mode: to nearest, ties to even.
    return int(qint64(std::nearbyint(value * scale)) & 0xFF);
}

} // namespace light
