#pragma once

#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

// An Xvfb display of its own for tests that need a real X server, with a
// session bus on which programs publish their windows to screen readers,
// and the xdotool calls that act on it as a user would.
class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool isRunning() const { return !name_.isEmpty(); }
    QString name() const { return name_; }
    QProcessEnvironment environment() const;

    // Runs xdotool on this display; its standard output, trimmed.
    QString xdotool(const QStringList& arguments) const;
    // The first visible window with exactly this title, waiting for it.
    QString waitForWindow(const QString& title, int timeoutMs = 15000) const;
    void click(const QString& window, int x, int y) const;
    void key(const QString& window, const QString& keys) const;
    void type(const QString& window, const QString& text) const;
    // What a window manager's close box does: asks the window to close.
    bool closeWindow(const QString& window) const;
    // The next message box the program shows, found through its
    // accessibility tree: {title, text}, then answered with the key (none:
    // left open). On failure, what went wrong.
    QStringList answerBox(const QString& key, int timeoutMs = 15000) const;
    // Read through the accessibility tree as a screen reader reads them:
    // the texts of the labels of the window with this title, and where on
    // the screen the middle of its push button with this caption is (an
    // empty list, a null point: none in time).
    QStringList labels(const QString& title, int timeoutMs = 15000) const;
    QPoint buttonCentre(const QString& title, const QString& caption, int timeoutMs = 15000) const;
    void clickAt(const QPoint& point) const;

private:
    QStringList widgets(const QStringList& arguments, int timeoutMs) const;

    QProcess server_;
    QProcess bus_;
    QString name_;
    QString busAddress_;
};
