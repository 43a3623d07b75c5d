#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QThread>

VirtualDisplay::VirtualDisplay()
{
    // Xvfb picks a free display and writes its number to the given file
    // descriptor, here its standard output. Without -noreset the server
    // resets whenever its last client leaves, and refuses the next program
    // that connects meanwhile.
    server_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1024x768x24",
                                           "-nolisten", "tcp", "-noreset"});
    if (!server_.waitForStarted(5000))
        return;
    QByteArray number;
    const QDeadlineTimer deadline(10000);
    while (!number.contains('\n') && !deadline.hasExpired()) {
        server_.waitForReadyRead(200);
        number += server_.readAllStandardOutput();
    }
    if (number.trimmed().isEmpty())
        return;
    name_ = QLatin1Char(':') + QString::fromLatin1(number.trimmed());

    bus_.start(QStringLiteral("dbus-daemon"),
               {"--session", "--nofork", "--nosyslog", "--print-address=1"});
    if (bus_.waitForStarted(5000) && bus_.waitForReadyRead(5000))
        busAddress_ = QString::fromLatin1(bus_.readLine().trimmed());
}

VirtualDisplay::~VirtualDisplay()
{
    bus_.terminate();
    bus_.waitForFinished(5000);
    server_.terminate();
    server_.waitForFinished(5000);
}

QProcessEnvironment VirtualDisplay::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), name_);
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress_);
    environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    return environment;
}

QString VirtualDisplay::xdotool(const QStringList& arguments) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QString VirtualDisplay::waitForWindow(const QString& title, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QString found = xdotool(
            {"search", "--onlyvisible", "--name", QLatin1Char('^') + title + QLatin1Char('$')});
        if (!found.isEmpty())
            return found.split(QLatin1Char('\n')).constFirst();
        QThread::msleep(100);
    }
    return {};
}

void VirtualDisplay::click(const QString& window, int x, int y) const
{
    xdotool({"mousemove", "--window", window, QString::number(x), QString::number(y)});
    xdotool({"click", "1"});
}

void VirtualDisplay::type(const QString& window, const QString& text) const
{
    xdotool({"windowfocus", "--sync", window});
    xdotool({"type", "--delay", "5", text});
}

void VirtualDisplay::key(const QString& window, const QString& keys) const
{
    xdotool({"windowfocus", "--sync", window});
    xdotool({"key", keys});
}

bool VirtualDisplay::closeWindow(const QString& window) const
{
    QProcess helper;
    helper.setProcessEnvironment(environment());
    helper.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(CLOSE_WINDOW_SCRIPT), window});
    return helper.waitForFinished(10000) && helper.exitStatus() == QProcess::NormalExit &&
           helper.exitCode() == 0;
}

QStringList VirtualDisplay::answerBox(const QString& key, int timeoutMs) const
{
    QProcess helper;
    helper.setProcessEnvironment(environment());
    helper.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments{QStringLiteral(BOXES_SCRIPT), QStringLiteral("Brushwright"),
                          QString::number(timeoutMs / 1000.0)};
    if (!key.isEmpty())
        arguments << key;
    helper.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!helper.waitForFinished(timeoutMs + 15000))
        return {QStringLiteral("the box helper did not finish")};
    QStringList lines = QString::fromUtf8(helper.readAll()).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    if (helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0)
        lines.prepend(QStringLiteral("failed:"));
    return lines;
}

QStringList VirtualDisplay::widgets(const QStringList& arguments, int timeoutMs) const
{
    QProcess helper;
    helper.setProcessEnvironment(environment());
    helper.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral(WIDGETS_SCRIPT), QStringLiteral("Brushwright"),
                             QString::number(timeoutMs / 1000.0)} +
                     arguments);
    if (!helper.waitForFinished(timeoutMs + 15000) || helper.exitStatus() != QProcess::NormalExit ||
        helper.exitCode() != 0)
        return {};
    QStringList lines = QString::fromUtf8(helper.readAllStandardOutput()).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList VirtualDisplay::labels(const QString& title, int timeoutMs) const
{
    return widgets({title, QStringLiteral("labels")}, timeoutMs);
}

QPoint VirtualDisplay::buttonCentre(const QString& title, const QString& caption,
                                    int timeoutMs) const
{
    const QStringList found = widgets({title, QStringLiteral("button"), caption}, timeoutMs);
    const QStringList xy = found.isEmpty() ? QStringList() : found[0].split(QLatin1Char(' '));
    return xy.size() == 2 ? QPoint(xy[0].toInt(), xy[1].toInt()) : QPoint();
}

void VirtualDisplay::clickAt(const QPoint& point) const
{
    xdotool({"mousemove", QString::number(point.x()), QString::number(point.y())});
    xdotool({"click", "1"});
}
