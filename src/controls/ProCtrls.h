#pragma once

// The vocabulary and drawing rules shared by the framed panel and the framed
// border: which sides a frame is drawn on, the bevel kinds, colours as a form
// description stores them, and the routines that draw the nested frame.

#include "platform/SystemColors.h"

#include <QColor>
#include <QFlags>
#include <QRect>
#include <functional>

class QObject;
class QPainter;

enum TSide : quint8 { sdLeft = 0x1, sdTop = 0x2, sdRight = 0x4, sdBottom = 0x8 };
Q_DECLARE_FLAGS(TSides, TSide)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSides)
inline constexpr TSides allSides = sdLeft | sdTop | sdRight | sdBottom;

enum TBevelCut : quint8 { bvNone, bvLowered, bvRaised, bvSpace };
enum TAlignment : quint8 { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment : quint8 { vaTop, vaCenter, vaBottom };
enum TBorderStyle : quint8 { bsNone, bsSingle };

// 0x00BBGGRR, or 0x80000000 plus a system colour's index, looked up each time
// it is drawn so that the frame follows the system's colours.
struct TColor {
    quint32 value = 0;
    friend constexpr bool operator==(TColor, TColor) = default;
};

constexpr TColor rgbColor(int red, int green, int blue)
{
    return {quint32(red) | quint32(green) << 8 | quint32(blue) << 16};
}
constexpr TColor sysColor(platform::SystemColorIndex index)
{
    return {0x80000000u | quint32(index)};
}

inline constexpr TColor clBtnFace = sysColor(platform::ColorBtnFace);
inline constexpr TColor clBtnShadow = sysColor(platform::ColorBtnShadow);
inline constexpr TColor clBtnText = sysColor(platform::ColorBtnText);
inline constexpr TColor clBtnHighlight = sysColor(platform::ColorBtnHighlight);
inline constexpr TColor cl3DLight = sysColor(platform::Color3DLight);
inline constexpr TColor clWindowFrame = sysColor(platform::ColorWindowFrame);
inline constexpr TColor clRed = rgbColor(255, 0, 0);

QColor toQColor(TColor color);

// An event handler; the sender is the control that raises it.
using TNotifyEvent = std::function<void(QObject* Sender)>;

// A rectangle as the frame routines take it: right and bottom exclusive.
struct FrameRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static FrameRect of(const QRect& rect)
    {
        return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    QRect toQRect() const { return QRect(left, top, width(), height()); }
    friend bool operator==(const FrameRect&, const FrameRect&) = default;
};

// The colours of one bevel: c1 top-left and c2 bottom-right for the outer
// ring, c3 and c4 for the inner ring that only the 3-D look draws.
struct TBevelColors {
    TColor c1, c2, c3, c4;
};
TBevelColors BevelColors(TBevelCut kind, bool ctl3D);

// Draws count rings on the given sides, each one pixel wide: c1 on the left
// and top, then c2 on the right and bottom, and moves those sides of rect one
// pixel inward per ring. Lines leave out their end points, so the top-right
// and bottom-left corners take c2.
void FrameSides(QPainter& canvas, FrameRect& rect, TSides sides, const QColor& c1, const QColor& c2,
                int count);

// Everything both framed controls draw around their interior: the outer
// bevel, the border band and the inner bevel, nested from the outside in.
// The setters keep the widths in range: a bevel at least 1, a band at least 0.
struct FrameStyle {
    bool bevelCtl3D = false;
    TBevelCut bevelInner = bvNone;
    TBevelCut bevelOuter = bvRaised;
    TSides bevelSides = allSides;
    int bevelWidth = 1;
    TColor borderColor = clBtnFace;
    int borderWidth = 0;
};

// Draws the frame on rect and leaves rect as the interior.
void drawFrame(QPainter& canvas, FrameRect& rect, const FrameStyle& style);

// How far aligned children stay from every edge: the border band and each
// bevel that is drawn, whatever sides the frame is limited to.
int frameInset(const FrameStyle& style);

// Where a caption of textHeight goes inside interior. Halving the spare
// height drops the fraction toward zero, so an odd pixel goes below the text,
// also when the text is taller than the interior.
FrameRect captionRect(const FrameRect& interior, int textHeight, TVerticalAlignment alignment);
