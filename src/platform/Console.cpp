#include "platform/Console.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace platform {

namespace {

void write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

#ifdef _WIN32
// A stream with no handle of its own (not redirected) goes to the console.
void reopenUnlessRedirected(DWORD which, std::FILE* stream)
{
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        GetFileType(handle) == FILE_TYPE_UNKNOWN) {
        if (!std::freopen("CONOUT$", "w", stream))
            return;
    }
}
#endif

} // namespace

void attachParentConsole()
{
#ifdef _WIN32
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    SetConsoleOutputCP(CP_UTF8);
    reopenUnlessRedirected(STD_OUTPUT_HANDLE, stdout);
    reopenUnlessRedirected(STD_ERROR_HANDLE, stderr);
#endif
}

void writeStandardOutput(const QString& text)
{
    write(stdout, text);
}

void writeStandardError(const QString& text)
{
    write(stderr, text);
}

} // namespace platform

namespace platform {

namespace {

bool isTerminal(std::FILE* stream)
{
#ifdef _WIN32
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), &mode) != 0;
#else
    return isatty(fileno(stream)) == 1;
#endif
}

} // namespace

bool standardOutputIsTerminal()
{
    return isTerminal(stdout);
}

bool standardErrorIsTerminal()
{
    return isTerminal(stderr);
}

} // namespace platform
