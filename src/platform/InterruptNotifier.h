#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

// Tells the event loop that the user asked a command-line run to stop:
// Ctrl+C or SIGTERM off Windows, Ctrl+C or Ctrl+Break in a Windows console.
// One at a time; while it lives, those no longer end the program at once.
class InterruptNotifier : public QObject {
    Q_OBJECT
public:
    explicit InterruptNotifier(QObject* parent = nullptr);
    ~InterruptNotifier() override;

signals:
    void interrupted();

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace platform
