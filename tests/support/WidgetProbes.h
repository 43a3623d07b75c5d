#pragma once

#include <QEvent>
#include <QList>
#include <QVariant>
#include <QWidget>
#include <utility>

// Counts the paint events a widget gets while it lives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }

    int paints() const { return paints_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints_ += event->type() == QEvent::Paint;
        return false;
    }

private:
    int paints_ = 0;
};

// Properties set in this order through what the object exposes.
using Properties = QList<std::pair<const char*, QVariant>>;

template <typename T> QVariant v(T value)
{
    return QVariant::fromValue(value);
}

inline void setProperties(QObject& object, const Properties& properties)
{
    for (const auto& [name, value] : properties) {
        if (!object.setProperty(name, value))
            qFatal("%s cannot be set", name);
    }
}
