#include "platform/SystemColors.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <QGuiApplication>
#include <QPalette>
#endif

namespace platform {

#ifdef _WIN32

QColor systemColor(SystemColorIndex index)
{
    const DWORD color = GetSysColor(int(index));
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

#else

QColor systemColor(SystemColorIndex index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case ColorWindowFrame:
    case ColorWindowText:
        return palette.color(QPalette::WindowText);
    case ColorBtnFace:
        return palette.color(QPalette::Button);
    case ColorBtnShadow:
        return palette.color(QPalette::Dark);
    case ColorBtnText:
        return palette.color(QPalette::ButtonText);
    case ColorBtnHighlight:
        return palette.color(QPalette::Light);
    case Color3DLight:
        return palette.color(QPalette::Midlight);
    }
    return palette.color(QPalette::Window);
}

#endif

} // namespace platform
