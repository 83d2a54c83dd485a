// Measures what only a running window shows: the time to draw and present a
// frame, the time from process start to the first frame, the processor time
// the game takes while nothing moves, the sound's latency on the audio
// device, and the time the task library takes to open. Frame time and
// start-up are each set against a floor taken in the same run (a bare OpenGL
// window that only clears), so the ratios mean the same on any machine. Run
// it with a display (or under xvfb-run); see bench/README for the commands
// and the figures.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QOpenGLContext>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLVersionFunctionsFactory>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "app/game_view.h"
#include "app/library.h"
#include "app/main_window.h"
#include "music/fluid_synthesizer.h"
#include "music/sdl_audio_output.h"
#include "music/synth_midi_stream.h"
#include "music/tune_player.h"
#include "music/tune_sounds.h"
#include "play/headless.h"
#include "puzzle/controller/kept_game.h"
#include "render/gl/renderer.h"

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
    environment.insert(QStringLiteral("VOKTA_START"), QStringLiteral("1"));
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

// The floor under every frame: a window of the game view's kind that only
// clears and presents.
class BareWindow : public QWindow {
public:
    BareWindow()
    {
        setSurfaceType(QSurface::OpenGLSurface);
        setFormat(vokta::Renderer::surfaceFormat());
    }

    bool begin()
    {
        context_.setFormat(format());
        if (!context_.create() || !context_.makeCurrent(this))
            return false;
        gl_ = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(&context_);
        return gl_ && gl_->initializeOpenGLFunctions();
    }

    // Clears, presents and waits until the frame has reached the window.
    void frame()
    {
        context_.makeCurrent(this);
        gl_->glClearColor(0.0f, 0.5f, 0.0f, 1.0f);
        gl_->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        context_.swapBuffers(this);
        gl_->glFinish();
    }

private:
    QOpenGLContext context_;
    QOpenGLFunctions_3_3_Core* gl_ = nullptr;
};

// The same frames in a bare window of the same size; the median, or a
// negative number when it cannot be drawn.
double floorFrameMedian(int frames, QSize size)
{
    BareWindow window;
    window.resize(size);
    window.show();
    QElapsedTimer clock;
    clock.start();
    while (!window.isExposed() && clock.elapsed() < kRestTimeoutMs)
        runFor(20);
    if (!window.begin())
        return -1.0;
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        QElapsedTimer frame;
        frame.start();
        window.frame();
        times.push_back(static_cast<double>(frame.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    return summarize(times).median;
}

// The start-up floor's own process: a bare OpenGL window that announces its
// first frame as the game does, then ends.
int runBareWindow()
{
    BareWindow window;
    window.resize(1024, 768);
    window.show();
    QElapsedTimer clock;
    clock.start();
    while (!window.isExposed() && clock.elapsed() < kRestTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    if (!window.begin())
        return 1;
    window.frame();
    std::printf("frame 1\n");
    std::fflush(stdout);
    return 0;
}

int measureFrameTime(int frames, int width, int height)
{
    // The floor first: closing the game's window ends the application's loop.
    const double floor = floorFrameMedian(frames, QSize(width, height));
    qputenv("VOKTA_SOUND", "off");
    vokta::MainWindow window(QCoreApplication::applicationDirPath().toStdString(),
                             vokta::SettingsStore(QDir::temp().filePath(QStringLiteral("vokta-measure.ini")),
                                                  QDir::temp().filePath(QStringLiteral("vokta-measure-progress.txt"))));
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
    const QSize size = view.size();
    window.close();
    std::printf("frame time at %d x %d over %d frames: median %.2f ms, mean %.2f ms, 95%% within %.2f ms\n",
                size.width(), size.height(), frames, summary.median, summary.mean, summary.worst95);
    if (floor <= 0.0) {
        std::fprintf(stderr, "vokta-measure: the bare window could not be drawn\n");
        return 1;
    }
    std::printf("floor (a bare window that only clears): median %.2f ms; the game's frame is %.2fx its floor\n", floor,
                summary.median / floor);
    return 0;
}

// Medians of the time from process start to the first frame of program
// (with arguments), over runs; a negative number when it drew none.
double startUpMedian(const QString& program, const QStringList& arguments, int runs,
                     const QProcessEnvironment& environment = gameEnvironment())
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QProcess game;
        game.setProcessEnvironment(environment);
        QByteArray output;
        QElapsedTimer clock;
        clock.start();
        game.start(program, arguments);
        while (framesLogged(game, output) == 0 && clock.elapsed() < kRestTimeoutMs)
            game.waitForReadyRead(5);
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        game.kill();
        game.waitForFinished();
        if (output.count("frame ") == 0) {
            std::fprintf(stderr, "vokta-measure: %s drew no frame: %s\n", qPrintable(program),
                         game.readAllStandardError().constData());
            return -1.0;
        }
        times.push_back(ms);
    }
    const Summary summary = summarize(times);
    std::printf("  median %.1f ms, mean %.1f ms, 95%% within %.1f ms\n", summary.median, summary.mean, summary.worst95);
    return summary.median;
}

int measureStartUp(int runs)
{
    std::printf("process start to first frame over %d runs, the game:\n", runs);
    const double game = startUpMedian(gameBinary(), {}, runs);
    std::printf("the floor, a bare Qt window with an OpenGL 3.3 surface:\n");
    const double floor = startUpMedian(QCoreApplication::applicationFilePath(), {QStringLiteral("bare-window")}, runs);
    if (game <= 0.0 || floor <= 0.0)
        return 1;
    std::printf("the game's start-up is %.2fx its floor\n", game / floor);
    return 0;
}

// From the moment a refusal is asked for to its first sound leaving the
// synthesizer's stream for the audio device (SDL's dummy driver where there
// is no sound card), over runs.
int measureSoundLatency(int runs)
{
    using Clock = std::chrono::steady_clock;
    qputenv("SDL_AUDIODRIVER", qgetenv("SDL_AUDIODRIVER").isEmpty() ? "dummy" : qgetenv("SDL_AUDIODRIVER"));
    std::string why;
    const std::string soundfont = vokta::findSoundfont(why);
    vokta::FluidSynthesizer synth(vokta::SdlAudioOutput::kSampleRate);
    if (soundfont.empty() || !(why = synth.loadSoundfont(soundfont)).empty()) {
        std::fprintf(stderr, "vokta-measure: %s\n", why.c_str());
        return 1;
    }
    vokta::SynthMidiStream stream(synth, vokta::SdlAudioOutput::kSampleRate);
    std::atomic<bool> waiting{false};
    std::atomic<Clock::rep> heardAt{0};
    std::atomic<bool> silent{true};
    vokta::SdlAudioOutput device;
    why = device.open(stream, [&](const float* samples, int frames) {
        const bool sounding = std::any_of(samples, samples + 2 * frames, [](float s) { return std::abs(s) > 1e-4f; });
        silent = !sounding;
        if (sounding && waiting.exchange(false))
            heardAt = Clock::now().time_since_epoch().count();
    });
    if (!why.empty()) {
        std::fprintf(stderr, "vokta-measure: %s\n", why.c_str());
        return 1;
    }
    vokta::TunePlayer player;
    vokta::TuneSounds sounds(player);
    player.open(stream);

    std::vector<double> latencies;
    for (int run = 0; run < runs; ++run) {
        // Start each one from silence, at a different point of the device's period.
        while (!silent)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::microseconds(1000 + 3700 * run % 11000));
        heardAt = 0;
        waiting = true;
        const Clock::time_point asked = Clock::now();
        sounds.play(vokta::Cue::Refusal);
        const Clock::time_point deadline = asked + std::chrono::seconds(2);
        while (heardAt == 0 && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (heardAt == 0) {
            std::fprintf(stderr, "vokta-measure: the refusal was never heard\n");
            return 1;
        }
        const Clock::time_point heard{Clock::duration(heardAt.load())};
        latencies.push_back(std::chrono::duration<double, std::milli>(heard - asked).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(400));  // the sound dies away
    }
    const Summary summary = summarize(latencies);
    std::printf("refusal asked for to first sound for the device over %d runs: median %.1f ms, mean %.1f ms, "
                "95%% within %.1f ms, worst %.1f ms\n",
                runs, summary.median, summary.mean, summary.worst95,
                *std::max_element(latencies.begin(), latencies.end()));
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

// Opening the task library: reading its index and every task file and
// drawing each figure's picture, until the dialog could be shown.
int measureLibrary(int runs)
{
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tasks"));
    std::vector<double> times;
    int offered = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const std::vector<vokta::LibraryEntry> tasks =
            vokta::readLibrary(folder.toStdString(), vokta::Language::English, vokta::Progress());
        vokta::LibraryDialog library(nullptr, tasks, QCoreApplication::applicationDirPath().toStdString(),
                                     vokta::libraryCaption(vokta::Language::English),
                                     vokta::kOriginalPalette.background);
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        offered = library.list()->count();
    }
    const Summary summary = summarize(times);
    std::printf("library of %d tasks opened in: median %.1f ms, 95%% within %.1f ms\n", offered, summary.median,
                summary.worst95);
    return offered > 0 ? 0 : 1;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: vokta-measure frame-time [frames [width height]]\n"
                 "       vokta-measure start-up [runs]\n"
                 "       vokta-measure continue [runs]\n"
                 "       vokta-measure idle [seconds]\n"
                 "       vokta-measure sound-latency [runs]\n"
                 "       vokta-measure library [runs]\n");
    return 2;
}

}  // namespace

// Start-up to the first frame of a game that continues a kept one with a
// full history: 1,000 steps, each a Retry, which moves all seven pieces.
int measureContinue(int runs)
{
    QTemporaryDir data;
    vokta::play::HeadlessGame headless(QCoreApplication::applicationDirPath().toStdString(), kSeed, 1280, 800);
    for (std::size_t step = 0; step < vokta::History::kLimit; ++step)
        headless.shell.choose(vokta::Command::Retry);
    const std::vector<unsigned char> kept = vokta::encodeKeptGame(headless.game().kept());
    QDir().mkpath(QDir(data.path()).filePath(QStringLiteral("Vokta")));
    QFile file(QDir(data.path()).filePath(QStringLiteral("Vokta/game.kept")));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(kept.data()), static_cast<qint64>(kept.size())) < 0)
        return 1;
    file.close();
    QProcessEnvironment environment = gameEnvironment();
    environment.remove(QStringLiteral("VOKTA_SEED"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    std::printf("process start to first frame over %d runs, continuing a kept game of %zu steps (%zu bytes):\n", runs,
                vokta::History::kLimit, kept.size());
    const double median = startUpMedian(gameBinary(), {}, runs, environment);
    std::printf("a fresh game, for comparison:\n");
    const double fresh = startUpMedian(gameBinary(), {}, runs);
    return median > 0.0 && fresh > 0.0 ? 0 : 1;
}

int main(int argc, char* argv[])
{
    // The sound needs no display.
    if (argc > 1 && std::string(argv[1]) == "sound-latency" && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
    if (what == QLatin1String("continue"))
        return measureContinue(number(1, 10));
    if (what == QLatin1String("idle"))
        return measureIdle(number(1, 10));
    if (what == QLatin1String("sound-latency"))
        return measureSoundLatency(number(1, 50));
    if (what == QLatin1String("library"))
        return measureLibrary(number(1, 10));
    if (what == QLatin1String("bare-window"))
        return runBareWindow();
    return usage();
}
