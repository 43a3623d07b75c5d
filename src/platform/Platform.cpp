#include "platform/Platform.h"

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
    // The command interpreter splits an unquoted path at its blanks.
    const QString commandLine =
        path.contains(QLatin1Char(' ')) ? QLatin1Char('"') + path + QLatin1Char('"') : path;
    return WinExec(commandLine.toLocal8Bit().constData(), SW_SHOW) > 31;
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
    return QProcess::startDetached(
        QStringLiteral("wine"),
        {QStringLiteral("start"), QStringLiteral("/unix"), localPath(path)});
}

#endif

} // namespace platform
