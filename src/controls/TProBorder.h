#pragma once

#include "controls/ProCtrls.h"

#include <QWidget>
#include <utility>

// A frame and nothing else: outer bevel, border band and inner bevel around
// an interior it does not paint, so whatever lies under it shows through.
// It takes no keyboard focus and holds no children.
class TProBorder : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool BevelCtl3D READ BevelCtl3D WRITE setBevelCtl3D)
    Q_PROPERTY(TBevelCut BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
    Q_PROPERTY(TSides BevelSides READ BevelSides WRITE setBevelSides)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE setBevelWidth)
    Q_PROPERTY(TColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
public:
    explicit TProBorder(QWidget* parent = nullptr);

    // Setters repaint only on a real change.
    bool BevelCtl3D() const { return frame_.bevelCtl3D; }
    void setBevelCtl3D(bool on);
    TBevelCut BevelInner() const { return frame_.bevelInner; }
    void setBevelInner(TBevelCut kind);
    TBevelCut BevelOuter() const { return frame_.bevelOuter; }
    void setBevelOuter(TBevelCut kind);
    TSides BevelSides() const { return frame_.bevelSides; }
    void setBevelSides(TSides sides);
    // Held at 2 while BevelCtl3D is on.
    int BevelWidth() const { return frame_.bevelWidth; }
    void setBevelWidth(int width);
    TColor BorderColor() const { return frame_.borderColor; }
    void setBorderColor(TColor color);
    int BorderWidth() const { return frame_.borderWidth; }
    void setBorderWidth(int width);
    const TNotifyEvent& OnMouseEnter() const { return onMouseEnter_; }
    void setOnMouseEnter(TNotifyEvent handler) { onMouseEnter_ = std::move(handler); }
    const TNotifyEvent& OnMouseLeave() const { return onMouseLeave_; }
    void setOnMouseLeave(TNotifyEvent handler) { onMouseLeave_ = std::move(handler); }

protected:
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    template <typename T> void assign(T FrameStyle::*field, T value);

    FrameStyle frame_;
    TNotifyEvent onMouseEnter_;
    TNotifyEvent onMouseLeave_;
};
