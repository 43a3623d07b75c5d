#include "platform/InterruptNotifier.h"

#include <QSocketNotifier>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

InterruptNotifier* current = nullptr;

#ifdef _WIN32
BOOL WINAPI consoleHandler(DWORD event)
{
    if (!current || (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT))
        return FALSE;
    QMetaObject::invokeMethod(current, &InterruptNotifier::interrupted, Qt::QueuedConnection);
    return TRUE;
}
#else
// A signal handler may do little: it writes a byte, which the event loop
// reads.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}
#endif

} // namespace

InterruptNotifier::InterruptNotifier(QObject* parent) : QObject(parent)
{
    current = this;
#ifdef _WIN32
    SetConsoleCtrlHandler(consoleHandler, TRUE);
#else
    if (::pipe(signalPipe) != 0)
        return;
    for (const int fd : signalPipe) {
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &InterruptNotifier::readSignal);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

InterruptNotifier::~InterruptNotifier()
{
#ifdef _WIN32
    SetConsoleCtrlHandler(consoleHandler, FALSE);
#else
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    delete notifier_;
    for (int& fd : signalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
#endif
    current = nullptr;
}

void InterruptNotifier::readSignal()
{
#ifndef _WIN32
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
#endif
    emit interrupted();
}

} // namespace platform
