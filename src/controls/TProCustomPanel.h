#pragma once

#include "controls/ProCtrls.h"

#include <QPointer>
#include <QWidget>
#include <utility>

class QPainter;

// A container that paints itself completely: a nested frame of outer bevel,
// border band and inner bevel, each limited to chosen sides, then its fill
// and a word-wrapped caption placed by Alignment and VerticalAlignment.
// Aligned children (those a QLayout places) stay inside the frame.
//
// Its properties are protected; TProPanel is the one that exposes them.
class TProCustomPanel : public QWidget {
    Q_OBJECT
public:
    explicit TProCustomPanel(QWidget* parent = nullptr);

protected:
    // Own properties. Their setters repaint only on a real change and leave
    // the children where they are.
    bool BevelCtl3D() const { return frame_.bevelCtl3D; }
    void setBevelCtl3D(bool on);
    TSides BevelSides() const { return frame_.bevelSides; }
    void setBevelSides(TSides sides);
    TColor BorderColor() const { return frame_.borderColor; }
    void setBorderColor(TColor color);
    TVerticalAlignment VerticalAlignment() const { return verticalAlignment_; }
    void setVerticalAlignment(TVerticalAlignment alignment);
    const TNotifyEvent& OnMouseEnter() const { return onMouseEnter_; }
    void setOnMouseEnter(TNotifyEvent handler) { onMouseEnter_ = std::move(handler); }
    const TNotifyEvent& OnMouseLeave() const { return onMouseLeave_; }
    void setOnMouseLeave(TNotifyEvent handler) { onMouseLeave_ = std::move(handler); }

    // The ordinary panel properties the frame is drawn from. The bevel and
    // border setters lay the children out again even when nothing changed.
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment alignment);
    TBevelCut BevelInner() const { return frame_.bevelInner; }
    void setBevelInner(TBevelCut kind);
    TBevelCut BevelOuter() const { return frame_.bevelOuter; }
    void setBevelOuter(TBevelCut kind);
    int BevelWidth() const { return frame_.bevelWidth; }
    void setBevelWidth(int width);
    int BorderWidth() const { return frame_.borderWidth; }
    void setBorderWidth(int width);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void setBorderStyle(TBorderStyle style);
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    TColor Color() const { return color_; }
    void setColor(TColor color);

    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    // One layout pass: keeps the 3-D bevel at width 2, then fits the aligned
    // children into the frame.
    virtual void AlignControls();

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    template <typename T> void assign(T FrameStyle::*field, T value);
    template <typename T> void assignAndRealign(T FrameStyle::*field, T value);
    void realign();
    QRect clientRect() const;
    void drawCaption(QPainter& canvas, FrameRect rect) const;

    void notice(const QEvent* event);
    void watchPointer(QObject* object);
    void pointerMayHaveMoved();
    void checkPointer();
    QWidget* widgetUnderPointer();

    FrameStyle frame_;
    TVerticalAlignment verticalAlignment_ = vaCenter;
    TAlignment alignment_ = taCenter;
    TBorderStyle borderStyle_ = bsNone;
    TColor color_ = clBtnFace;
    QString caption_;
    TNotifyEvent onMouseEnter_;
    TNotifyEvent onMouseLeave_;

    bool aligning_ = false;
    bool pointerCheckQueued_ = false;
    bool pointerInside_ = false;
    QPointer<QWidget> pointerOver_;
};
