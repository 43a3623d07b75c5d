#pragma once

#include <QWidget>

// An etched horizontal line along the top or bottom edge of its rectangle,
// as the group headings of the main window use.
class TBevelLine : public QWidget {
    Q_OBJECT
public:
    enum Shape { BottomLine, TopLine };

    TBevelLine(Shape shape, QWidget* parent);

    Shape shape() const { return shape_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Shape shape_;
};
