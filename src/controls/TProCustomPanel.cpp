#include "controls/TProCustomPanel.h"

#include <QChildEvent>
#include <QLayout>
#include <QPainter>
#include <QScopedValueRollback>
#include <algorithm>

TProCustomPanel::TProCustomPanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(185, 41);
    realign();
}

// Properties -------------------------------------------------------------

template <typename T> void TProCustomPanel::assign(T FrameStyle::*field, T value)
{
    if (frame_.*field == value)
        return;
    frame_.*field = value;
    update();
}

template <typename T> void TProCustomPanel::assignAndRealign(T FrameStyle::*field, T value)
{
    frame_.*field = value;
    realign();
    update();
}

void TProCustomPanel::setBevelCtl3D(bool on)
{
    if (frame_.bevelCtl3D == on)
        return;
    frame_.bevelCtl3D = on;
    // Switching off always leaves width 1, whatever it was before.
    setBevelWidth(on ? 2 : 1);
    update();
}

void TProCustomPanel::setBevelSides(TSides sides)
{
    assign(&FrameStyle::bevelSides, sides);
}

void TProCustomPanel::setBorderColor(TColor color)
{
    assign(&FrameStyle::borderColor, color);
}

void TProCustomPanel::setVerticalAlignment(TVerticalAlignment alignment)
{
    if (verticalAlignment_ == alignment)
        return;
    verticalAlignment_ = alignment;
    update();
}

void TProCustomPanel::setAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    update();
}

void TProCustomPanel::setBevelInner(TBevelCut kind)
{
    assignAndRealign(&FrameStyle::bevelInner, kind);
}

void TProCustomPanel::setBevelOuter(TBevelCut kind)
{
    assignAndRealign(&FrameStyle::bevelOuter, kind);
}

void TProCustomPanel::setBevelWidth(int width)
{
    assignAndRealign(&FrameStyle::bevelWidth, std::max(width, 1));
}

void TProCustomPanel::setBorderWidth(int width)
{
    assignAndRealign(&FrameStyle::borderWidth, std::max(width, 0));
}

void TProCustomPanel::setBorderStyle(TBorderStyle style)
{
    if (borderStyle_ == style)
        return;
    borderStyle_ = style;
    realign();
    update();
}

void TProCustomPanel::setCaption(const QString& caption)
{
    if (caption_ == caption)
        return;
    caption_ = caption;
    update();
}

void TProCustomPanel::setColor(TColor color)
{
    if (color_ == color)
        return;
    color_ = color;
    update();
}

// Layout -----------------------------------------------------------------

void TProCustomPanel::realign()
{
    // A pass asked for inside a pass (the width setter below asks for one)
    // is dropped: the running pass already uses the new values.
    if (aligning_)
        return;
    const QScopedValueRollback<bool> aligning(aligning_, true);
    AlignControls();
}

void TProCustomPanel::AlignControls()
{
    if (frame_.bevelCtl3D)
        setBevelWidth(2);
    const int margin = frameInset(frame_) + (borderStyle_ == bsSingle ? 1 : 0);
    setContentsMargins(margin, margin, margin, margin);
    // Aligned children are placed again even when the margins stayed.
    if (QLayout* const children = layout()) {
        children->invalidate();
        children->activate();
    }
}

void TProCustomPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    realign();
}

// Painting ---------------------------------------------------------------

QRect TProCustomPanel::clientRect() const
{
    // A single border is a flat line around the panel, outside what it paints.
    return borderStyle_ == bsSingle ? rect().adjusted(1, 1, -1, -1) : rect();
}

void TProCustomPanel::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    if (borderStyle_ == bsSingle) {
        FrameRect window = FrameRect::of(rect());
        const QColor line = toQColor(clWindowFrame);
        FrameSides(canvas, window, allSides, line, line, 1);
    }
    FrameRect interior = FrameRect::of(clientRect());
    drawFrame(canvas, interior, frame_);
    if (!interior.isEmpty())
        canvas.fillRect(interior.toQRect(), toQColor(color_));
    drawCaption(canvas, interior);
}

void TProCustomPanel::drawCaption(QPainter& canvas, FrameRect rect) const
{
    // The caption is clipped to its rectangle; with no width that is nothing.
    if (rect.width() <= 0)
        return;
    int flags = Qt::TextWordWrap | Qt::TextExpandTabs | Qt::TextShowMnemonic;
    flags |= alignment_ == taLeftJustify    ? Qt::AlignLeft
             : alignment_ == taRightJustify ? Qt::AlignRight
                                            : Qt::AlignHCenter;
    canvas.setFont(font());
    canvas.setPen(palette().color(QPalette::WindowText));
    if (verticalAlignment_ != vaTop) {
        const int height =
            canvas.fontMetrics().boundingRect(rect.toQRect(), flags, caption_).height();
        rect = captionRect(rect, height, verticalAlignment_);
    }
    canvas.setClipRect(rect.toQRect());
    canvas.drawText(rect.toQRect(), flags | Qt::AlignTop, caption_);
}

// Pointer ----------------------------------------------------------------
//
// The events follow the control straight under the pointer, as the classic
// toolkit's do: moving from the panel onto a child leaves the panel and
// enters the child, and both are raised here because a child's notifications
// count as the panel's own. Qt instead keeps a parent "entered" while the
// pointer is over its children, so the panel watches its descendants' enter
// and leave events and, once Qt has sent them all, works out which widget of
// its own is under the pointer now.

bool TProCustomPanel::event(QEvent* event)
{
    notice(event);
    return QWidget::event(event);
}

bool TProCustomPanel::eventFilter(QObject* watched, QEvent* event)
{
    notice(event);
    return QWidget::eventFilter(watched, event);
}

void TProCustomPanel::notice(const QEvent* event)
{
    if (event->type() == QEvent::ChildAdded)
        watchPointer(static_cast<const QChildEvent*>(event)->child());
    else if (event->type() == QEvent::Enter || event->type() == QEvent::Leave)
        pointerMayHaveMoved();
}

void TProCustomPanel::watchPointer(QObject* object)
{
    object->installEventFilter(this);
    for (QObject* const child : object->children())
        watchPointer(child);
}

void TProCustomPanel::pointerMayHaveMoved()
{
    if (pointerCheckQueued_)
        return;
    pointerCheckQueued_ = true;
    QMetaObject::invokeMethod(this, &TProCustomPanel::checkPointer, Qt::QueuedConnection);
}

void TProCustomPanel::checkPointer()
{
    pointerCheckQueued_ = false;
    QWidget* const now = widgetUnderPointer();
    if (now == pointerOver_ && (now != nullptr) == pointerInside_)
        return;
    const bool wasInside = pointerInside_;
    pointerOver_ = now;
    pointerInside_ = now != nullptr;
    if (wasInside)
        DoMouseLeave();
    if (now)
        DoMouseEnter();
}

QWidget* TProCustomPanel::widgetUnderPointer()
{
    if (!underMouse())
        return nullptr;
    QWidget* deepest = this;
    for (bool deeper = true; deeper;) {
        deeper = false;
        for (QObject* const object : deepest->children()) {
            auto* const child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && child->isVisible() && child->underMouse()) {
                deepest = child;
                deeper = true;
                break;
            }
        }
    }
    return deepest;
}

void TProCustomPanel::DoMouseEnter()
{
    if (onMouseEnter_)
        onMouseEnter_(this);
}

void TProCustomPanel::DoMouseLeave()
{
    if (onMouseLeave_)
        onMouseLeave_(this);
}
