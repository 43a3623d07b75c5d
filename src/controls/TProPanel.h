#pragma once

#include "controls/TProCustomPanel.h"

// The framed panel with its properties exposed, for forms to set.
class TProPanel : public TProCustomPanel {
    Q_OBJECT
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(bool BevelCtl3D READ BevelCtl3D WRITE setBevelCtl3D)
    Q_PROPERTY(TBevelCut BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
    Q_PROPERTY(TSides BevelSides READ BevelSides WRITE setBevelSides)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE setBevelWidth)
    Q_PROPERTY(TColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(TColor Color READ Color WRITE setColor)
    Q_PROPERTY(
        TVerticalAlignment VerticalAlignment READ VerticalAlignment WRITE setVerticalAlignment)
public:
    using TProCustomPanel::TProCustomPanel;

    using TProCustomPanel::Alignment;
    using TProCustomPanel::BevelCtl3D;
    using TProCustomPanel::BevelInner;
    using TProCustomPanel::BevelOuter;
    using TProCustomPanel::BevelSides;
    using TProCustomPanel::BevelWidth;
    using TProCustomPanel::BorderColor;
    using TProCustomPanel::BorderStyle;
    using TProCustomPanel::BorderWidth;
    using TProCustomPanel::Caption;
    using TProCustomPanel::Color;
    using TProCustomPanel::OnMouseEnter;
    using TProCustomPanel::OnMouseLeave;
    using TProCustomPanel::setAlignment;
    using TProCustomPanel::setBevelCtl3D;
    using TProCustomPanel::setBevelInner;
    using TProCustomPanel::setBevelOuter;
    using TProCustomPanel::setBevelSides;
    using TProCustomPanel::setBevelWidth;
    using TProCustomPanel::setBorderColor;
    using TProCustomPanel::setBorderStyle;
    using TProCustomPanel::setBorderWidth;
    using TProCustomPanel::setCaption;
    using TProCustomPanel::setColor;
    using TProCustomPanel::setOnMouseEnter;
    using TProCustomPanel::setOnMouseLeave;
    using TProCustomPanel::setVerticalAlignment;
    using TProCustomPanel::VerticalAlignment;
};
