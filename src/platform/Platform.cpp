#include "platform/Platform.h"

#include "platform/CodePage.h"
#include "platform/PathMapping.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

QStringList batchStartCommand(const QString& fileName)
{
    return {QStringLiteral("cmd"), QStringLiteral("/c"),
            QLatin1Char('"') + fileName + QLatin1Char('"')};
}

#ifdef _WIN32

QChar decimalSeparator()
{
    wchar_t buffer[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) < 2)
        return QLatin1Char('.');
    return QChar(buffer[0]);
}

QString programFolder()
{
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    const QString file = QString::fromWCharArray(buffer.data(), int(length));
    return file.left(file.lastIndexOf(QLatin1Char('\\')) + 1);
}

bool startBatchFile(const QString& path)
{
    const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
    const std::wstring folder = path.left(cut + 1).toStdWString();
    std::wstring previous(32768, L'\0');
    previous.resize(GetCurrentDirectoryW(DWORD(previous.size()), previous.data()));
    // WinExec takes the current folder from the program: the interpreter
    // starts in the file's folder, which it is not given to read.
    if (cut < 0 || !SetCurrentDirectoryW(folder.c_str()))
        return false;
    // WinExec reads the ANSI code page: a name it lacks is no file to start.
    const QString commandLine = QStringLiteral("cmd /c \"%1\"").arg(path.mid(cut + 1));
    const std::optional<QByteArray> command =
        encodeExactly(commandLine, codePageNumber(CodePage::Ansi));
    const UINT result = command ? WinExec(command->constData(), SW_SHOW) : 0;
    SetCurrentDirectoryW(previous.c_str());
    return result > 31;
}

#else

QChar decimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

QString programFolder()
{
    QString file = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (file.isEmpty())
        file = QCoreApplication::applicationFilePath();
    return QFileInfo(file).absolutePath() + QLatin1Char('/');
}

bool startBatchFile(const QString& path)
{
    // Wine's start expands %NAME% in a path it is given: it starts the
    // interpreter instead, in a console window of its own, in the file's
    // folder.
    const QFileInfo local(localPath(path));
    return QProcess::startDetached(
        QStringLiteral("wine"),
        {QStringLiteral("start"), QStringLiteral("cmd"), QStringLiteral("/c"), local.fileName()},
        local.absolutePath());
}

#endif

} // namespace platform
