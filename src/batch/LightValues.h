#pragma once

#include <QChar>
#include <QString>

// The five light sliders, in order: light scaling, direct light scaling,
// entity light scaling, ambient light, max light.
namespace light {

constexpr int sliderCount = 5;
// The highest position of each slider; the lowest is 0.
constexpr int maxima[sliderCount] = {200, 200, 200, 100, 255};

// The number a slider position stands for.
double value(int slider, int position);

// The read-out text of a light value, with the locale's decimal separator.
QString readout(int slider, double value, QChar separator);

// The swatch's grey level: the value scaled to 0..255, an exact half going
// to the even neighbour; only the low 8 bits count.
int grey(int slider, double value);

} // namespace light
