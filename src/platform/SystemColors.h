#pragma once

#include <QColor>

namespace platform {

// The Windows system colour indices the program draws with.
enum SystemColorIndex {
    ColorWindowFrame = 6,
    ColorWindowText = 8,
    ColorBtnFace = 15,
    ColorBtnShadow = 16,
    ColorBtnText = 18,
    ColorBtnHighlight = 20,
    Color3DLight = 22,
};

// The system colour of that index: from the system on Windows, from the
// application's palette elsewhere.
QColor systemColor(SystemColorIndex index);

} // namespace platform
