// Measures what only a running window shows: the time to draw and present a
// frame, the time from process start to the first frame, and the processor
// time the game takes while nothing moves. Run it with a display (or under
// xvfb-run); see bench/README for the commands and the figures.

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include "app/game_view.h"
#include "app/main_window.h"

namespace {

constexpr unsigned kSeed = 1;
// A moving scene draws a frame every tick; this long without one means it has come to rest.
constexpr int kQuietMs = 1000;
constexpr int kRestTimeoutMs = 20000;

struct Summary {
    double median;
    double mean;
    double worst95;
};

Summary summarize(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const double mean = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
    const std::size_t p95 = std::min(values.size() - 1, values.size() * 95 / 100);
    return {values[values.size() / 2], mean, values[p95]};
}

// Runs a real event loop (so the idle renderer runs) for ms milliseconds.
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString gameBinary()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vokta"));
}

QProcessEnvironment gameEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VOKTA_SEED"), QString::number(kSeed));
    environment.insert(QStringLiteral("VOKTA_FRAME_LOG"), QStringLiteral("1"));
    return environment;
}

// Lines "frame N ..." the game has written so far.
int framesLogged(QProcess& game, QByteArray& output)
{
    output += game.readAllStandardOutput();
    return static_cast<int>(output.count("frame "));
}

// Processor time of every thread of a process, in nanoseconds.
double processorTimeNs(qint64 pid)
{
    double total = 0.0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (stat.open(QIODevice::ReadOnly))
            total += stat.readAll().split(' ').value(0).toDouble();
    }
    return total;
}

int measureFrameTime(int frames, int width, int height)
{
    qputenv("VOKTA_SOUND", "off");
    vokta::MainWindow window(QCoreApplication::applicationDirPath().toStdString());
    if (!window.StartGame(kSeed))
        return 1;
    window.resize(width, height);
    vokta::GameView& view = *window.view();
    vokta::Renderer& renderer = view.renderer();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kRestTimeoutMs && (view.width() != width || view.height() != height))
        runFor(50);
    runFor(3000);  // the pieces land

    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        QElapsedTimer frame;
        frame.start();
        view.drawFrame();
        renderer.finish();
        times.push_back(static_cast<double>(frame.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    const Summary summary = summarize(times);
    std::printf("frame time at %d x %d over %d frames: median %.2f ms, mean %.2f ms, 95%% within %.2f ms\n",
                view.width(), view.height(), frames, summary.median, summary.mean, summary.worst95);
    window.close();
    return 0;
}

int measureStartUp(int runs)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QProcess game;
        game.setProcessEnvironment(gameEnvironment());
        QByteArray output;
        QElapsedTimer clock;
        clock.start();
        game.start(gameBinary(), {});
        while (framesLogged(game, output) == 0 && clock.elapsed() < kRestTimeoutMs)
            game.waitForReadyRead(5);
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        game.kill();
        game.waitForFinished();
        if (output.count("frame ") == 0) {
            std::fprintf(stderr, "vokta-measure: the game drew no frame: %s\n",
                         game.readAllStandardError().constData());
            return 1;
        }
        times.push_back(ms);
    }
    const Summary summary = summarize(times);
    std::printf("process start to first frame over %d runs: median %.1f ms, mean %.1f ms, 95%% within %.1f ms\n",
                runs, summary.median, summary.mean, summary.worst95);
    return 0;
}

int measureIdle(int seconds)
{
    QProcess game;
    game.setProcessEnvironment(gameEnvironment());
    game.start(gameBinary(), {});
    QByteArray output;
    QElapsedTimer clock;
    clock.start();
    int frames = 0;
    qint64 lastFrameAt = 0;
    while (clock.elapsed() < kRestTimeoutMs) {
        game.waitForReadyRead(20);
        const int now = framesLogged(game, output);
        if (now != frames) {
            frames = now;
            lastFrameAt = clock.elapsed();
        }
        if (frames > 0 && clock.elapsed() - lastFrameAt > kQuietMs)
            break;
    }
    const double before = processorTimeNs(game.processId());
    QElapsedTimer span;
    span.start();
    game.waitForFinished(seconds * 1000);
    const double used = processorTimeNs(game.processId()) - before;
    const double elapsed = static_cast<double>(span.nsecsElapsed());
    const int idleFrames = framesLogged(game, output) - frames;
    game.kill();
    game.waitForFinished();
    std::printf("idle for %d s at rest: %.3f%% of one processor (%.1f ms), %d frames drawn\n", seconds,
                100.0 * used / elapsed, used / 1e6, idleFrames);
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: vokta-measure frame-time [frames [width height]]\n"
                 "       vokta-measure start-up [runs]\n"
                 "       vokta-measure idle [seconds]\n");
    return 2;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty())
        return usage();
    const QString what = arguments.at(0);
    const auto number = [&arguments](int index, int fallback) {
        bool ok = false;
        const int value = arguments.value(index).toInt(&ok);
        return ok && value > 0 ? value : fallback;
    };
    if (what == QLatin1String("frame-time"))
        return measureFrameTime(number(1, 200), number(2, 1280), number(3, 800));
    if (what == QLatin1String("start-up"))
        return measureStartUp(number(1, 10));
    if (what == QLatin1String("idle"))
        return measureIdle(number(1, 10));
    return usage();
}
