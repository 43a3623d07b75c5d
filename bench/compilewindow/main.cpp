// The compile window against a compiler that writes as fast as it can: the
// same stand-in (this program with --flood) runs with its output going to
// /dev/null, then into the compile window, taking turns. Prints the median
// times, the longest the window's event loop went without running a 10 ms
// timer, and the peak memory.
//
//     brushwright_compilewindow [LINES] [RUNS]
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

int flood(long long lines)
{
    static const char line[] = "flood line: the quick brown fox jumps over the lazy dog 0123\n";
    for (long long i = 0; i < lines; ++i)
        std::fwrite(line, 1, sizeof line - 1, stdout);
    return 0;
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

double toNull(const QString& self, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(self, arguments);
    process.waitForFinished(-1);
    return double(clock.elapsed());
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--flood")
        return flood(QByteArray(argv[2]).toLongLong());
    QApplication application(argc, argv);
    const QString lines = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("500000");
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 5;
    const QString self = QApplication::applicationFilePath();
    const QStringList arguments = {QStringLiteral("--flood"), lines};
    QTemporaryDir folder(qEnvironmentVariable("BENCH_TMP", QDir::tempPath()) +
                         QStringLiteral("/bench-XXXXXX"));

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
    QList<double> windowTimes;
    qint64 longestGap = 0;
    // A first run, not counted, loads what the view needs once (fonts).
    for (int run = -1; run < runs; ++run) {
        nullTimes << toNull(self, arguments);

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
            longestGap = 0;
            continue;
        }
        windowTimes << double(clock.elapsed());
    }
    const double toDevNull = median(nullTimes);
    const double toWindow = median(windowTimes);
    std::printf("lines=%s runs=%d to_dev_null_ms=%.0f to_window_ms=%.0f slower_percent=%.1f "
                "longest_gap_ms=%lld view_lines=%d log_bytes=%lld peak_rss=%s\n",
                qPrintable(lines), runs, toDevNull, toWindow, 100.0 * (toWindow / toDevNull - 1),
                longestGap, window.outputView()->blockCount(), QFile(options.logPath).size(),
                status("VmHWM:").constData());
    return 0;
}
