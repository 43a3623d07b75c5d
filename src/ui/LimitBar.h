#pragma once

#include "report/MapReport.h"

#include <QWidget>

// A limit's count against its maximum: amber when near, red when over.
class LimitBar : public QWidget {
    Q_OBJECT
public:
    explicit LimitBar(const report::LimitRow& limit, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {140, 12}; }
    QColor colour() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    report::LimitRow limit_;
};
