// The game binary run as a player runs it, watched from outside: its frame
// log, its exit code, its messages and the X screen.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

#include <algorithm>
#include <optional>

#include "../model/largest_model_file.h"
#include "puzzle/controller/kept_game.h"
#include "puzzle/rules/task_file.h"
#include "window_test_support.h"

namespace vokta::testing {
namespace {

QString gameBinary()
{
    return QStringLiteral(VOKTA_GAME_BINARY);
}

// Where a failed check leaves the picture it looked at.
QString keepForInspection(const QImage& image, const char* name)
{
    const QString path = QDir::temp().filePath(QString::fromLatin1(name));
    image.save(path);
    return path;
}

TEST(GameBinary, OpensOnTheSceneAndDrawsNothingMoreOnceItIsAtRest)
{
    GameProcess game(gameBinary());
    ASSERT_TRUE(game.waitForFrames(1, kRestTimeoutMs)) << game.errorOutput().toStdString();
    ASSERT_TRUE(game.waitForRest());

    const QImage screen = grabScreen();
    const QRect view = boundsOf(screen, {Shade::Background, Shade::Floor});
    ASSERT_GT(view.width(), 400) << keepForInspection(screen, "vokta-opening.png").toStdString();
    std::map<Shade, int> counts = census(screen, view);
    const int area = view.width() * view.height();
    const QString saved = keepForInspection(screen, "vokta-opening.png");
    EXPECT_GT(counts[Shade::Background], area / 10) << saved.toStdString();
    EXPECT_GT(counts[Shade::Floor], area / 4) << saved.toStdString();
    EXPECT_GT(counts[Shade::Shadow], 30) << "darker cells under the pieces; " << saved.toStdString();
    EXPECT_GT(counts[Shade::Wire], 300) << "the task figure's wires; " << saved.toStdString();
    for (const Shade piece : {Shade::Magenta, Shade::Cyan, Shade::Red, Shade::Green, Shade::Pink, Shade::Blue})
        EXPECT_GT(counts[piece], 200) << "piece shade " << static_cast<int>(piece) << "; " << saved.toStdString();
    EXPECT_GT(counts[Shade::Yellow], 50) << "the yellow piece's lit tops; " << saved.toStdString();

    // The tick keeps running, but with nothing changing no frame is drawn.
    const int frames = game.framesLogged();
    EXPECT_FALSE(game.waitForFrames(frames + 1, 2000));
}

// Where on the screen picture stands, pixel for pixel, if it does.
std::optional<QPoint> find(const QImage& screen, const QImage& picture)
{
    const QImage wanted = picture.convertToFormat(QImage::Format_RGB32);
    const QImage seen = screen.convertToFormat(QImage::Format_RGB32);
    std::vector<QPoint> samples;
    for (int i = 0; i < 40; ++i)
        samples.emplace_back(wanted.width() * (i % 8) / 8 + 3, wanted.height() * (i / 8) / 5 + 3);
    for (int y = 0; y + wanted.height() <= seen.height(); ++y) {
        for (int x = 0; x + wanted.width() <= seen.width(); ++x) {
            const bool all = std::all_of(samples.begin(), samples.end(),
                                         [&](QPoint p) { return seen.pixel(x + p.x(), y + p.y()) == wanted.pixel(p); });
            if (all)
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

TEST(GameBinary, OpensWithTheStartDialogShowingItsPictureAndThreeButtons)
{
    GameProcess game(gameBinary(), {QStringLiteral("VOKTA_START=0")});
    const QImage picture(QStringLiteral(":/pictures/start.png"));
    ASSERT_FALSE(picture.isNull());
    QImage screen;
    std::optional<QPoint> at;
    runUntil(
        [&] {
            screen = grabScreen();
            at = find(screen, picture);
            return at.has_value();
        },
        kRestTimeoutMs);
    const QString saved = keepForInspection(screen, "vokta-start-dialog.png");
    ASSERT_TRUE(at) << "the start picture is not on the screen; " << saved.toStdString();
    // Below it, the three buttons: each third of the row holds a caption's dark letters.
    const QRect row(at->x(), at->y() + picture.height(), picture.width(), 40);
    for (int third = 0; third < 3; ++third) {
        int dark = 0;
        for (int y = row.top(); y <= row.bottom(); ++y) {
            for (int x = row.left() + third * row.width() / 3; x < row.left() + (third + 1) * row.width() / 3; ++x)
                dark += qGray(screen.pixel(x, y)) < 80;
        }
        EXPECT_GT(dark, 20) << "button " << third << "; " << saved.toStdString();
    }
    EXPECT_EQ(game.framesLogged(), 0) << "nothing is drawn before START";
}

// A copy of the game alone in a directory of its own, with the given model
// file beside it, or none.
class LoneCopy {
public:
    explicit LoneCopy(const QByteArray* model = nullptr)
    {
        binary_ = QDir(directory_.path()).filePath(QStringLiteral("vokta"));
        QFile::copy(gameBinary(), binary_);
        if (model) {
            QFile file(modelPath());
            if (file.open(QIODevice::WriteOnly))
                file.write(*model);
        }
    }

    QString binary() const { return binary_; }
    QString modelPath() const { return QDir(directory_.path()).filePath(QStringLiteral("vokta.x")); }

private:
    QTemporaryDir directory_;
    QString binary_;
};

// The offscreen platform has no one to answer a message box, so the game
// only writes its message there.
const QStringList kNoDisplay{QStringLiteral("QT_QPA_PLATFORM=offscreen")};
constexpr int kModelFileExitCode = 2;

TEST(GameBinary, AMissingModelFileIsReportedAndEndsTheGame)
{
    const LoneCopy copy;
    GameProcess game(copy.binary(), kNoDisplay);
    EXPECT_EQ(game.waitForExit(10000), kModelFileExitCode);
    const QString message = game.errorOutput();
    EXPECT_TRUE(message.contains(QStringLiteral("vokta.x is missing"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QFileInfo(copy.binary()).absolutePath())) << message.toStdString();
}

TEST(GameBinary, ABrokenModelFileIsNamedWithWhatIsWrong)
{
    const struct {
        QByteArray content;
        const char* problem;
    } cases[] = {
        {"garbage", "not a DirectX model file"},
        {"xof 0302txt 0032\nFrame x3ds_cube { }\n", "frame \"x3ds_roller\""},
    };
    for (const auto& broken : cases) {
        const LoneCopy copy(&broken.content);
        GameProcess game(copy.binary(), kNoDisplay);
        EXPECT_EQ(game.waitForExit(10000), kModelFileExitCode) << broken.problem;
        const QString message = game.errorOutput();
        EXPECT_TRUE(message.contains(copy.modelPath())) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromLatin1(broken.problem))) << message.toStdString();
    }
}

// The most memory the process has held, from the kernel's count.
qint64 peakKibibytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

TEST(GameBinary, TheLargestModelFileAcceptedKeepsTheGameUnder200MiB)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer holds freed memory back: the game's own figure is measured without it";
#endif
    const QByteArray largest = QByteArray::fromStdString(largestModelFile());
    const LoneCopy copy(&largest);
    GameProcess game(copy.binary());
    ASSERT_TRUE(game.waitForFrames(1, kRestTimeoutMs)) << game.errorOutput().toStdString();
    ASSERT_TRUE(game.waitForRest());
    const qint64 peak = peakKibibytes(game.processId());
    ASSERT_GT(peak, 0);
    EXPECT_LT(peak, 200 * 1024) << "peak " << peak / 1024 << " MiB";
    std::printf("peak memory with the largest model file: %lld MiB\n", static_cast<long long>(peak / 1024));
}

TEST(GameBinary, WithoutOpenGlItSaysSoAndEndsWithCodeOne)
{
    // The minimal platform offers no OpenGL at all.
    GameProcess game(gameBinary(), {QStringLiteral("QT_QPA_PLATFORM=minimal")});
    EXPECT_EQ(game.waitForExit(10000), 1);
    const QString message = game.errorOutput();
    EXPECT_TRUE(message.contains(QStringLiteral("OpenGL 3.3 not found"))) << message.toStdString();
}

// The game in its file as the binary last kept it, once kept holds.
std::optional<KeptGame> waitForKeptGame(const QString& file, const std::function<bool(const KeptGame&)>& kept)
{
    std::optional<KeptGame> game;
    runUntil(
        [&] {
            QFile saved(file);
            if (!saved.open(QIODevice::ReadOnly))
                return false;
            const QByteArray bytes = saved.readAll();
            game = decodeKeptGame({reinterpret_cast<const unsigned char*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size())})
                       .game;
            return game && kept(*game);
        },
        kRestTimeoutMs);
    return game && kept(*game) ? game : std::nullopt;
}

// Killed at once after each step, the game comes back as it was kept: a
// task named on the command line is a new step of the kept game, and Undo
// takes back a step of the earlier session.
TEST(GameBinary, AKilledGameContinuesFromItsLastStep)
{
    QTemporaryDir data;
    const QString kept = QDir(data.path()).filePath(QStringLiteral("Vokta/game.kept"));
    // No seed asked for: the player's own game, kept and continued.
    const QStringList player = {QStringLiteral("VOKTA_SEED=")};
    const QString tasks = QStringLiteral(VOKTA_RUNTIME_DIR "/tasks/");
    const QStringList opened = {tasks + QStringLiteral("castle-wall.tsk"), tasks + QStringLiteral("armchair.tsk")};
    for (int session = 0; session < 2; ++session) {
        GameProcess game(gameBinary(), player, data.path(), {opened[session]});
        ASSERT_TRUE(game.waitForFrames(1, kRestTimeoutMs)) << game.errorOutput().toStdString();
        const std::optional<KeptGame> now =
            waitForKeptGame(kept, [&](const KeptGame& k) { return k.undoable == std::size_t(session) + 1; });
        ASSERT_TRUE(now) << "session " << session;
        game.killNow();
    }
    const std::optional<KeptGame> killed = waitForKeptGame(kept, [](const KeptGame&) { return true; });
    ASSERT_TRUE(killed);
    ASSERT_EQ(killed->steps.size(), 2u);
    const TaskFileRead chair = readTaskFile((tasks + QStringLiteral("armchair.tsk")).toStdString());
    ASSERT_TRUE(chair.task);
    EXPECT_EQ(killed->now.state.cellCount, chair.task->cellCount);

    GameProcess game(gameBinary(), player, data.path());
    ASSERT_TRUE(game.waitForFrames(1, kRestTimeoutMs)) << game.errorOutput().toStdString();
    // The keyboard to the game, with a click on the sky above the floor, then Ctrl+Z.
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                                {QStringLiteral("mousemove"), QStringLiteral("400"), QStringLiteral("60"),
                                 QStringLiteral("click"), QStringLiteral("1"), QStringLiteral("key"),
                                 QStringLiteral("ctrl+z")}),
              0);
    const std::optional<KeptGame> undone = waitForKeptGame(kept, [](const KeptGame& k) { return k.undoable == 1; });
    ASSERT_TRUE(undone) << game.errorOutput().toStdString();
    EXPECT_EQ(undone->now.state.figure, killed->steps[1].first.state.figure) << "back to before the armchair";
    EXPECT_EQ(undone->now.state.pieces, killed->steps[1].first.state.pieces);
}

}  // namespace
}  // namespace vokta::testing
