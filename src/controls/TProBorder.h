#pragma once

#include <QWidget>

// Draws the raised edge of the borderless main window and nothing else:
// what lies inside shows through.
class TProBorder : public QWidget {
    Q_OBJECT
public:
    explicit TProBorder(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
