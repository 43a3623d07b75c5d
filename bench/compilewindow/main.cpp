// The compile window against a compiler that writes as fast as it can: the
// same stand-in (this program with --flood) runs with its output going to
// /dev/null, then into the compile window, taking turns. Prints the median
// of the stand-in's own running times (from its first line to its output's
// end, as it measures them itself; also into a pipe that cat drains, the
// floor of any reader of its output), of the whole compile in the window (to
// the log written), the longest the window's event loop went without
// running a 10 ms timer, and the peak memory.
//
//     brushwright_compilewindow [LINES] [RUNS] [line|cr]
//
// With "line" the stand-in's output is line-buffered, one write per line, as
// a compiler's that flushes after each line; with "cr" each line ends in a
// CR instead, one line rewritten in place LINES times, as a progress bar.
//
// Needs a display (Xvfb) or QT_QPA_PLATFORM=offscreen.
#include "ui/CompileWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

int flood(long long lines, const char* timeFile, const QByteArray& mode)
{
    if (mode == "line")
        std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    char line[] = "flood line: the quick brown fox jumps over the lazy dog 0123\n";
    if (mode == "cr")
        line[sizeof line - 2] = '\r';
    QElapsedTimer clock;
    clock.start();
    for (long long i = 0; i < lines; ++i)
        std::fwrite(line, 1, sizeof line - 1, stdout);
    if (mode == "cr")
        std::fputc('\n', stdout);
    std::fflush(stdout);
    const qint64 microseconds = clock.nsecsElapsed() / 1000;
    if (FILE* file = std::fopen(timeFile, "w")) {
        std::fprintf(file, "%lld\n", static_cast<long long>(microseconds));
        std::fclose(file);
    }
    return 0;
}

// What the stand-in's last run measured, in milliseconds.
double standInTime(const QString& timeFile)
{
    QFile file(timeFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toDouble() / 1000.0 : -1.0;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

QByteArray status(const QByteArray& field)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return "?";
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).simplified();
    }
    return "?";
}

void toNull(const QString& self, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(self, arguments);
    process.waitForFinished(-1);
}

// The floor of any reader: the same output into a pipe that cat drains.
void toCat(const QString& self, const QStringList& arguments)
{
    QProcess writer;
    QProcess cat;
    writer.setStandardOutputProcess(&cat);
    cat.setStandardOutputFile(QProcess::nullDevice());
    cat.start(QStringLiteral("cat"), {});
    writer.start(self, arguments);
    writer.waitForFinished(-1);
    cat.waitForFinished(-1);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 4 && QByteArray(argv[1]) == "--flood")
        return flood(QByteArray(argv[2]).toLongLong(), argv[3], argc > 4 ? argv[4] : "");
    QApplication application(argc, argv);
    const QString lines = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("500000");
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 5;
    const QString self = QApplication::applicationFilePath();
    QTemporaryDir folder(qEnvironmentVariable("BENCH_TMP", QDir::tempPath()) +
                         QStringLiteral("/bench-XXXXXX"));
    const QString timeFile = folder.filePath(QStringLiteral("time"));
    QStringList arguments = {QStringLiteral("--flood"), lines, timeFile};
    if (argc > 3)
        arguments << QString::fromLocal8Bit(argv[3]);

    CompileWindow window;
    window.show();
    run::Launch launch;
    launch.program = self;
    launch.arguments = arguments;
    launch.workingFolder = folder.path();
    const QList<run::RunStep> steps = {{CompileStep::Kind::Bsp, launch, QStringLiteral("bench")}};
    CompileWindow::Options options;
    options.pauseAfter = true;
    options.logPath = folder.filePath(QStringLiteral("Brushwright.log"));

    QList<double> nullTimes;
    QList<double> catTimes;
    QList<double> windowTimes;
    QList<double> compileTimes;
    qint64 longestGap = 0;
    // A first run, not counted, loads what the view needs once (fonts).
    for (int run = -1; run < runs; ++run) {
        toNull(self, arguments);
        nullTimes << standInTime(timeFile);
        toCat(self, arguments);
        catTimes << standInTime(timeFile);

        QElapsedTimer clock;
        QElapsedTimer sinceTick;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, &window,
                         [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        clock.start();
        sinceTick.start();
        ticker.start();
        window.start(steps, options);
        while (window.isRunning())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ticker.stop();
        if (run < 0) {
            nullTimes.clear();
            catTimes.clear();
            longestGap = 0;
            continue;
        }
        compileTimes << double(clock.elapsed());
        windowTimes << standInTime(timeFile);
    }
    const double toDevNull = median(nullTimes);
    const double toWindow = median(windowTimes);
    std::printf("lines=%s runs=%d to_dev_null_ms=%.1f to_cat_ms=%.1f to_window_ms=%.1f "
                "slower_percent=%.1f compile_ms=%.0f longest_gap_ms=%lld view_lines=%d "
                "log_bytes=%lld peak_rss=%s\n",
                qPrintable(lines), runs, toDevNull, median(catTimes), toWindow,
                100.0 * (toWindow / toDevNull - 1), median(compileTimes), longestGap,
                window.outputView()->blockCount(), QFile(options.logPath).size(),
                status("VmHWM:").constData());
    return 0;
}
