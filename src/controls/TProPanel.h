#pragma once

#include <QWidget>

// A container that draws its own raised 3-D edge and fills its inside with
// the button face colour.
class TProPanel : public QWidget {
    Q_OBJECT
public:
    explicit TProPanel(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
