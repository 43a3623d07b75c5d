// Builds and writes the compile batch file many times, as "compile" does,
// and writes the same bytes as often with a plain buffered write: what the
// program's way of writing costs (code page, a temporary file and a
// rename) beside the least any program pays for those bytes.
//
//     brushwright_batchtext FOLDER [COUNT]
//
// Prints one line of figures, "name=value" pairs.
#include "batch/BatchScript.h"
#include "platform/TextFile.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

// The shipped option set with a map, as a first compile sends it.
BatchOptions shippedOptions()
{
    BatchOptions options;
    for (const int number : {1, 3, 6, 7, 8, 11, 12, 18, 25, 30, 31, 32})
        options.checkBox[std::size_t(number)] = true;
    options.edit1 = QStringLiteral("240");
    options.edit2 = QStringLiteral("8");
    options.edit3 = QStringLiteral("0");
    options.light = {1, 0.4, 1, 0, 196};
    options.gameDirectory = QStringLiteral("C:\\Quake2");
    options.mapName = QStringLiteral("base1");
    return options;
}

// Microseconds per round.
double timed(int count, const std::function<void()>& round)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i)
        round();
    return double(timer.nsecsElapsed()) / 1000.0 / count;
}

bool writePlain(const QByteArray& path, const QByteArray& bytes)
{
    std::FILE* file = std::fopen(path.constData(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), file) ==
                         std::size_t(bytes.size());
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [COUNT]\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int count = argc > 2 ? std::atoi(argv[2]) : 10000;
    const QString path = folder + QStringLiteral("/Brushwright.bat");
    const QString plainPath = folder + QStringLiteral("/plain.bat");
    const BatchOptions options = shippedOptions();
    const QByteArray bytes =
        textfile::joinLines(batch::batchLines(options), platform::CodePage::Oem);

    const double build = timed(count, [&options] {
        const QByteArray text =
            textfile::joinLines(batch::batchLines(options), platform::CodePage::Oem);
        if (text.isEmpty())
            std::abort();
    });
    const double program = timed(count, [&options, &path] {
        textfile::writeLines(path, batch::batchLines(options), platform::CodePage::Oem);
    });
    const QByteArray plainLocal = plainPath.toLocal8Bit();
    bool plainWritten = true;
    const double plain = timed(count, [&plainLocal, &bytes, &plainWritten] {
        plainWritten = writePlain(plainLocal, bytes) && plainWritten;
    });
    if (!plainWritten || textfile::readFile(path) != bytes ||
        textfile::readFile(plainPath) != bytes) {
        std::fprintf(stderr, "the files written differ from the batch text\n");
        return 1;
    }
    std::printf("count=%d bytes=%lld build_us=%.2f program_us=%.2f plain_us=%.2f\n", count,
                static_cast<long long>(bytes.size()), build, program, plain);
    return 0;
}
