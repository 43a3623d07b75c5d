#include "platform/FileAge.h"

#include "platform/PathMapping.h"

#include <QFile>
#include <QString>

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#include <sys/stat.h>
#endif

namespace platform {

qint32 packDosDateTime(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1980 || year > 2107)
        return -1;
    const quint32 date = quint32(year - 1980) << 9 | quint32(month) << 5 | quint32(day);
    const quint32 time = quint32(hour) << 11 | quint32(minute) << 5 | quint32(second / 2);
    return qint32(date << 16 | time);
}

#ifdef _WIN32

qint32 fileAge(const QString& path)
{
    const std::wstring local = platform::localPath(path).toStdWString();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(local.c_str(), GetFileExInfoStandard, &data))
        return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return -1;
    FILETIME localTime;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &localTime) ||
        !FileTimeToSystemTime(&localTime, &st))
        return -1;
    return packDosDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

#else

namespace {

bool statPath(const QString& local, struct stat& info)
{
    return ::stat(QFile::encodeName(local).constData(), &info) == 0;
}

// AutoCompile looks the map up twice a tick: one call each, through the
// prefix's drive entry. Where that entry exists its answer is final; only a
// prefix that Wine has not run in yet, which has none, takes the mapping's
// defaults.
bool lookUp(const QString& path, struct stat& info)
{
    const QString prefix = platform::winePrefix();
    const QString entry = platform::wineDriveEntry(path, prefix);
    if (!entry.isEmpty()) {
        if (statPath(platform::wineLinkPath(path, prefix), info))
            return true;
        struct stat entryInfo {};
        if (::lstat(QFile::encodeName(entry).constData(), &entryInfo) == 0)
            return false;
    }
    return statPath(platform::wineLocalPath(path, prefix), info);
}

} // namespace

qint32 fileAge(const QString& path)
{
    struct stat info {};
    if (!lookUp(path, info))
        return -1;
    if (S_ISDIR(info.st_mode))
        return -1;
    std::tm local{};
    const std::time_t seconds = info.st_mtime;
    if (!localtime_r(&seconds, &local))
        return -1;
    return packDosDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec);
}

#endif

} // namespace platform
