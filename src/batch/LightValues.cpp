#include "batch/LightValues.h"

#include "batch/BatchScript.h"

#include <cmath>

namespace light {

namespace {

constexpr int maxLightSlider = 4;
constexpr int ambientSlider = 3;

// A whole number of hundredths as the general form writes it: "1", "0.4",
// "1.05".
QString hundredthsText(qint64 hundredths, QChar separator)
{
    const QString sign = hundredths < 0 ? QStringLiteral("-") : QString();
    const qint64 magnitude = hundredths < 0 ? -hundredths : hundredths;
    QString text = sign + QString::number(magnitude / 100);
    const qint64 fraction = magnitude % 100;
    if (fraction == 0)
        return text;
    text += separator + QString::number(fraction / 10);
    if (fraction % 10 != 0)
        text += QString::number(fraction % 10);
    return text;
}

} // namespace

double value(int slider, int position)
{
    return slider == maxLightSlider ? double(position) : double(position) / 100.0;
}

QString readout(int slider, double value, QChar separator)
{
    if (slider == maxLightSlider)
        return QString::number(qint64(value));
    // Slider values are whole hundredths: written without the floating-point
    // formatter, whose tables start-up would otherwise page in.
    const double hundredths = std::nearbyint(value * 100);
    if (std::fabs(hundredths) < 1e15 && hundredths / 100.0 == value)
        return hundredthsText(qint64(hundredths), separator);
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
