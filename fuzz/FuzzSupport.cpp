#include "FuzzSupport.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

void check(bool holds, const char* invariant, const QString& detail)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken invariant: %s\n%s\n", invariant, qUtf8Printable(detail));
    std::abort();
}

QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

QList<QByteArray> rawLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    QByteArray current;
    bool open = false;
    for (qsizetype i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            current += c;
            open = true;
            continue;
        }
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        lines << current;
        current.clear();
        open = false;
    }
    if (open)
        lines << current;
    return lines;
}

int lineCount(const QByteArray& bytes)
{
    return int(rawLines(bytes).size());
}

void startOffscreenApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // QApplication keeps the argument count by reference: it must outlive it.
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

QString workFolder()
{
    static const QTemporaryDir folder;
    return folder.path() + QLatin1Char('/');
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.write(bytes) == bytes.size(),
          "the run's file can be written", path);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace fuzz
