#include "window_test_support.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace vokta::testing {

namespace {

constexpr int kPollMs = 10;

bool zero(int channel)
{
    return channel <= 3;
}

bool same(int a, int b)
{
    return std::abs(a - b) <= 3;
}

}  // namespace

QString testSettingsFile()
{
    return QDir::temp().filePath(QStringLiteral("vokta-window-test-%1.ini").arg(QCoreApplication::applicationPid()));
}

QString testProgressFile()
{
    return QDir::temp().filePath(
        QStringLiteral("vokta-window-test-%1-progress.txt").arg(QCoreApplication::applicationPid()));
}

SettingsStore testStore()
{
    return SettingsStore(testSettingsFile(), testProgressFile());
}

bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(kPollMs);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void xdotool(const QStringList& arguments)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << arguments.join(' ').toStdString();
}

std::size_t playSteps(const std::vector<Step>& steps, int stepTimeoutMs)
{
    std::size_t next = 0;
    bool acted = false;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (next == steps.size())
            return;
        if (!acted) {
            acted = true;
            steps[next].act();
        } else if (steps[next].until()) {
            ++next;
            acted = false;
        }
    });
    driver.start(20);
    runUntil([&] { return next == steps.size(); }, stepTimeoutMs * static_cast<int>(steps.size()));
    if (next < steps.size())
        ADD_FAILURE() << "waited in vain for step " << next << ": " << steps[next].what;
    return next;
}

Shade classify(QRgb pixel)
{
    const int r = qRed(pixel);
    const int g = qGreen(pixel);
    const int b = qBlue(pixel);
    if (zero(r) && zero(b) && g >= 125 && g <= 130)
        return Shade::Background;
    if (std::min({r, g, b}) >= 200 && std::max({r, g, b}) - std::min({r, g, b}) <= 30)
        return Shade::Wire;
    if (zero(b) && same(r, g) && r >= 40) {
        // The floor (0.8 yellow) never lights up to full; a piece's lit top does.
        if (r == 255 && g == 255)
            return Shade::Yellow;
        if (r >= 170)
            return Shade::Floor;
        if (r <= 140)
            return Shade::Shadow;
        return Shade::Other;
    }
    if (zero(g) && same(r, b) && r >= 40)
        return Shade::Magenta;
    if (zero(r) && same(g, b) && g >= 40)
        return Shade::Cyan;
    if (zero(g) && zero(b) && r >= 40)
        return Shade::Red;
    if (zero(r) && zero(g) && b >= 40)
        return Shade::Blue;
    if (zero(r) && zero(b) && g >= 40)
        return Shade::Green;
    if (g >= 20 && same(g, b) && std::abs(r - 2 * g) <= 6)
        return Shade::Pink;
    return Shade::Other;
}

std::map<Shade, int> census(const QImage& image, const QRect& area)
{
    std::map<Shade, int> counts;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[classify(image.pixel(x, y))];
    }
    return counts;
}

QRect boundsOf(const QImage& image, std::initializer_list<Shade> shades)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Shade shade = classify(image.pixel(x, y));
            if (std::find(shades.begin(), shades.end(), shade) != shades.end())
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

double differingShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    long differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 8 || std::abs(qGreen(p) - qGreen(q)) > 8 ||
                std::abs(qBlue(p) - qBlue(q)) > 8)
                ++differing;
        }
    }
    return static_cast<double>(differing) / (static_cast<double>(a.width()) * a.height());
}

QImage grabScreen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

GameProcess::GameProcess(const QString& program, const QStringList& extra, const QString& dataFolder,
                         const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Never the player's own progress or kept game.
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataFolder.isEmpty() ? ownData_.path() : dataFolder);
    environment.insert(QStringLiteral("VOKTA_SOUND"), QStringLiteral("off"));
    environment.insert(QStringLiteral("VOKTA_FRAME_LOG"), QStringLiteral("1"));
    environment.insert(QStringLiteral("VOKTA_SEED"), QString::number(kSeed));
    environment.insert(QStringLiteral("VOKTA_START"), QStringLiteral("1"));
    for (const QString& entry : extra) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        environment.insert(entry.left(equals), entry.mid(equals + 1));
    }
    process_.setProcessEnvironment(environment);
    process_.start(program, arguments);
}

GameProcess::~GameProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
}

int GameProcess::framesLogged()
{
    output_ += process_.readAllStandardOutput();
    return static_cast<int>(output_.count("frame "));
}

bool GameProcess::waitForFrames(int count, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (framesLogged() < count) {
        if (clock.elapsed() > timeoutMs || process_.state() == QProcess::NotRunning)
            return false;
        process_.waitForReadyRead(kPollMs);
    }
    return true;
}

bool GameProcess::waitForRest()
{
    QElapsedTimer clock;
    clock.start();
    int frames = framesLogged();
    qint64 lastChange = 0;
    while (clock.elapsed() < kRestTimeoutMs && process_.state() != QProcess::NotRunning) {
        process_.waitForReadyRead(kPollMs);
        const int now = framesLogged();
        if (now != frames) {
            frames = now;
            lastChange = clock.elapsed();
        }
        if (frames > 0 && clock.elapsed() - lastChange >= kQuietMs)
            return true;
    }
    return false;
}

int GameProcess::waitForExit(int timeoutMs)
{
    if (!process_.waitForFinished(timeoutMs) || process_.exitStatus() != QProcess::NormalExit)
        return -1;
    return process_.exitCode();
}

void GameProcess::killNow()
{
    process_.kill();
    process_.waitForFinished();
}

QString GameProcess::errorOutput()
{
    return QString::fromLocal8Bit(process_.readAllStandardError());
}

}  // namespace vokta::testing
