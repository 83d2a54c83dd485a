#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <vector>

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "app/settings.h"

namespace vokta::testing {

// The seed every window test scatters with: all seven pieces land in view.
inline constexpr unsigned kSeed = 4;
// A moving scene draws a frame every tick (66 ms); this long without one means it is at rest.
inline constexpr int kQuietMs = 1000;
inline constexpr int kRestTimeoutMs = 20000;

// Where window tests keep their settings and progress, away from the build
// tree's and the player's own.
QString testSettingsFile();
QString testProgressFile();
SettingsStore testStore();

// Runs a real event loop, like the game's own, so that the idle renderer
// runs (a bare processEvents() never reaches it), until done() holds or
// timeoutMs have passed. True when done() held.
bool runUntil(const std::function<bool()>& done, int timeoutMs);
void runFor(int ms);

// Input sent through the X server, as a player's keyboard and mouse send it.
void xdotool(const QStringList& arguments);

// One step a player takes, and what shows that it has taken effect.
struct Step {
    std::function<void()> act;
    std::function<bool()> until;
    const char* what = "";
};

// Runs the steps from inside the event loop, so that a step may close a
// dialog whose own loop the previous step opened, each given stepTimeoutMs.
// How many were done: all of them, unless one waited in vain (which fails
// the test, naming it).
std::size_t playSteps(const std::vector<Step>& steps, int stepTimeoutMs);

// What a pixel of the 3D view shows, told apart by colour alone. Lit faces
// keep their hue, so a piece is known by the ratios of its channels.
enum class Shade { Other, Background, Floor, Shadow, Wire, Magenta, Cyan, Red, Yellow, Green, Pink, Blue };

Shade classify(QRgb pixel);
// How many pixels of each shade the area holds.
std::map<Shade, int> census(const QImage& image, const QRect& area);
// The smallest rectangle holding every pixel of the given shades.
QRect boundsOf(const QImage& image, std::initializer_list<Shade> shades);
// Share of pixels of two same-sized pictures that differ visibly.
double differingShare(const QImage& a, const QImage& b);

// The whole screen as the X server shows it.
QImage grabScreen();

// The game binary run as a player would, with the frame log on, its data
// folder (progress, the kept game) a test's own: dataFolder, or a fresh one.
class GameProcess {
public:
    // extra: environment entries added to the test's own; arguments: its command line.
    explicit GameProcess(const QString& program, const QStringList& extra = {}, const QString& dataFolder = {},
                         const QStringList& arguments = {});
    ~GameProcess();

    // Lines "frame N ..." written so far.
    int framesLogged();
    bool waitForFrames(int count, int timeoutMs);
    // Until frames have been drawn and then none for kQuietMs.
    bool waitForRest();
    // Until the process ends; its exit code, or -1 on a time-out or crash.
    int waitForExit(int timeoutMs);
    QString errorOutput();
    // Ends it at once, as a power cut or SIGKILL would: nothing of its own runs.
    void killNow();
    qint64 processId() const { return process_.processId(); }

private:
    QTemporaryDir ownData_;
    QProcess process_;
    QByteArray output_;
};

}  // namespace vokta::testing
