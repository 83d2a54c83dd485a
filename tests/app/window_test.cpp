// The real main window run inside the test, driven with Qt's synthetic input
// and judged by the pixels the X server shows.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QtMath>

#include "app/game_view.h"
#include "app/main_window.h"
#include "render/scene_object.h"
#include "window_test_support.h"

namespace vokta::testing {
namespace {

// The shade a piece of this colour shows.
Shade shadeOf(Colour colour)
{
    return classify(qRgb(static_cast<int>(colour >> 16 & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                         static_cast<int>(colour & 0xFF)));
}

bool isPiece(Shade shade)
{
    return shade >= Shade::Magenta && shade != Shade::Yellow;
}

class RunningGame : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = std::make_unique<MainWindow>(VOKTA_RUNTIME_DIR, testStore());
        ASSERT_TRUE(window_->StartGame(kSeed));
        view_ = window_->view();
        timer_ = window_->findChild<QTimer*>(QStringLiteral("gameTimer"));
        ASSERT_NE(timer_, nullptr);
        ASSERT_TRUE(waitForRest());
    }

    Renderer& renderer() { return view_->renderer(); }

    bool waitForRest()
    {
        std::uint64_t frames = renderer().framesDrawn();
        QElapsedTimer sinceChange;
        sinceChange.start();
        return runUntil(
            [&] {
                if (renderer().framesDrawn() != frames) {
                    frames = renderer().framesDrawn();
                    sinceChange.restart();
                }
                return frames > 0 && sinceChange.elapsed() >= kQuietMs;
            },
            kRestTimeoutMs);
    }

    bool waitForFrameAfter(std::uint64_t frames)
    {
        return runUntil([&] { return renderer().framesDrawn() > frames; }, 5000);
    }

    // Waits for a frame after frames, then until none has come for a while,
    // so that input handled in several passes has all reached the picture.
    bool settleAfter(std::uint64_t frames)
    {
        if (!waitForFrameAfter(frames))
            return false;
        constexpr int kSettleMs = 300;
        std::uint64_t seen = renderer().framesDrawn();
        QElapsedTimer sinceChange;
        sinceChange.start();
        return runUntil(
            [&] {
                if (renderer().framesDrawn() != seen) {
                    seen = renderer().framesDrawn();
                    sinceChange.restart();
                }
                return sinceChange.elapsed() >= kSettleMs;
            },
            5000);
    }

    // Delivers a key straight to the view, at once, as the window system would.
    void sendKey(QEvent::Type type, Qt::Key key)
    {
        QKeyEvent event(type, key, Qt::NoModifier);
        QCoreApplication::sendEvent(view_, &event);
    }

    // The view's pixels as the X server shows them.
    QImage grabView() { return view_->screen()->grabWindow(view_->winId()).toImage(); }

    // Presses key, lets exactly ticks game ticks pass and releases it, then
    // waits for the frame that shows the result.
    void holdKey(Qt::Key key, int ticks)
    {
        const std::uint64_t frames = renderer().framesDrawn();
        int seen = -1;
        const QMetaObject::Connection counting = QObject::connect(timer_, &QTimer::timeout, [&] {
            // Connected after the window's own tick, so this runs just after it.
            if (seen < 0)
                sendKey(QEvent::KeyPress, key);
            if (++seen == ticks)
                sendKey(QEvent::KeyRelease, key);
        });
        runUntil([&] { return seen >= ticks; }, 10000);
        QObject::disconnect(counting);
        ASSERT_EQ(seen, ticks);
        ASSERT_TRUE(settleAfter(frames));
    }

    void drag(Qt::MouseButton button, QPoint from, QPoint to)
    {
        const std::uint64_t frames = renderer().framesDrawn();
        QTest::mousePress(view_, button, {}, from);
        constexpr int kSteps = 10;
        for (int step = 1; step <= kSteps; ++step)
            QTest::mouseMove(view_, from + (to - from) * step / kSteps);
        QTest::mouseRelease(view_, button, {}, to);
        ASSERT_TRUE(settleAfter(frames));
    }

    // Every pixel well inside a piece's picture picks that piece, and every
    // pixel well inside the floor or the background picks none. The picture
    // has device pixels; picking, like the mouse, takes logical ones.
    void expectPickingMatchesThePicture()
    {
        const QImage picture = grabView();
        const qreal ratio = view_->devicePixelRatio();
        ASSERT_EQ(picture.size(), view_->size() * ratio);
        int piecePixels = 0;
        constexpr int kStep = 6;
        for (int y = 2; y < picture.height() - 2; y += kStep) {
            for (int x = 2; x < picture.width() - 2; x += kStep) {
                const Shade shade = classify(picture.pixel(x, y));
                bool uniform = true;
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx)
                        uniform = uniform && classify(picture.pixel(x + dx, y + dy)) == shade;
                if (!uniform)
                    continue;
                const SceneObject* picked = renderer().pickObject(qFloor(x / ratio), qFloor(y / ratio), "x3ds_vokta");
                if (isPiece(shade)) {
                    ++piecePixels;
                    ASSERT_NE(picked, nullptr) << "at " << x << ", " << y;
                    EXPECT_EQ(shadeOf(picked->colour()), shade) << picked->name() << " at " << x << ", " << y;
                } else if (shade == Shade::Background) {
                    EXPECT_EQ(picked, nullptr) << picked->name() << " at " << x << ", " << y;
                } else if (shade == Shade::Floor && picked) {
                    // The yellow piece's lit sides have the floor's colour.
                    EXPECT_EQ(shadeOf(picked->colour()), Shade::Yellow) << picked->name() << " at " << x << ", " << y;
                }
            }
        }
        EXPECT_GT(piecePixels, 100);
    }

    std::unique_ptr<MainWindow> window_;
    GameView* view_ = nullptr;
    QTimer* timer_ = nullptr;
};

TEST_F(RunningGame, TheViewFillsTheWindowAndHoldsTheKeyboard)
{
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Vokta"));
    EXPECT_EQ(view_->size(), window_->size());
    EXPECT_TRUE(runUntil([&] { return QGuiApplication::focusWindow() == view_; }, 5000));
    EXPECT_EQ(timer_->interval(), 66);
    EXPECT_EQ(timer_->timerType(), Qt::PreciseTimer);
}

TEST_F(RunningGame, PickingHitsWhatThePictureShows)
{
    expectPickingMatchesThePicture();
}

TEST_F(RunningGame, AResizedWindowIsDrawnAndPickedAtItsNewSize)
{
    const std::uint64_t frames = renderer().framesDrawn();
    window_->resize(700, 460);
    ASSERT_TRUE(runUntil([&] { return view_->size() == QSize(700, 460); }, 5000));
    ASSERT_TRUE(waitForFrameAfter(frames));
    ASSERT_TRUE(waitForRest());
    EXPECT_EQ(renderer().viewport().width(), 700);
    EXPECT_EQ(renderer().viewport().height(), 460);
    expectPickingMatchesThePicture();
}

TEST_F(RunningGame, CameraKeysTurnTheViewAndTheOppositeKeysTurnItBack)
{
    const QImage home = grabView();
    const std::pair<Qt::Key, Qt::Key> pairs[] = {{Qt::Key_Left, Qt::Key_Right},
                                                 {Qt::Key_Up, Qt::Key_Down},
                                                 {Qt::Key_PageUp, Qt::Key_PageDown}};
    for (const auto& [key, opposite] : pairs) {
        holdKey(key, 4);
        EXPECT_GT(differingShare(home, grabView()), 0.05) << "key " << key;
        holdKey(opposite, 4);
        EXPECT_LT(differingShare(home, grabView()), 0.002) << "key " << opposite;
    }
    // Once released, the camera stays put: no more frames.
    const std::uint64_t frames = renderer().framesDrawn();
    runFor(500);
    EXPECT_EQ(renderer().framesDrawn(), frames);
}

TEST_F(RunningGame, MouseDragsOrbitAndMoveTheCamera)
{
    const QImage home = grabView();
    const QPoint centre(view_->width() / 2, view_->height() / 2);
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        drag(button, centre, centre + QPoint(100, 60));
        EXPECT_GT(differingShare(home, grabView()), 0.05) << "button " << button;
        drag(button, centre + QPoint(100, 60), centre);
        EXPECT_LT(differingShare(home, grabView()), 0.002) << "button " << button;
    }
}

TEST_F(RunningGame, ADragWithShiftHeldLeavesTheCameraAlone)
{
    const std::uint64_t frames = renderer().framesDrawn();
    const QPoint centre(view_->width() / 2, view_->height() / 2);
    QTest::mousePress(view_, Qt::LeftButton, Qt::ShiftModifier, centre);
    const QPointF to = centre + QPoint(80, 0);
    QMouseEvent move(QEvent::MouseMove, to, view_->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(view_, &move);
    QTest::mouseRelease(view_, Qt::LeftButton, Qt::ShiftModifier, to.toPoint());
    runFor(300);
    EXPECT_EQ(renderer().framesDrawn(), frames);
}

TEST_F(RunningGame, NothingIsDrawnWhileNothingChangesAndABurstOfInputDrawsOneFrame)
{
    const std::uint64_t frames = renderer().framesDrawn();
    int ticks = 0;
    const QMetaObject::Connection counting = QObject::connect(timer_, &QTimer::timeout, [&] { ++ticks; });
    runUntil([&] { return ticks >= 15; }, 5000);
    QObject::disconnect(counting);
    EXPECT_GE(ticks, 15);
    EXPECT_EQ(renderer().framesDrawn(), frames);

    // Thirty pointer moves waiting at once turn the camera thirty times, but
    // the view is drawn once, when they have all been handled.
    const QPoint start(100, 100);
    QTest::mousePress(view_, Qt::LeftButton, {}, start);
    for (int i = 1; i <= 30; ++i) {
        const QPointF at(start.x() + 2 * i, start.y());
        QCoreApplication::postEvent(view_,
                                    new QMouseEvent(QEvent::MouseMove, at, view_->mapToGlobal(at), Qt::NoButton,
                                                    Qt::LeftButton, Qt::NoModifier));
    }
    runFor(300);
    EXPECT_EQ(renderer().framesDrawn(), frames + 1);
    QTest::mouseRelease(view_, Qt::LeftButton, {}, start + QPoint(60, 0));
}

TEST_F(RunningGame, LosingTheKeyboardReleasesHeldCameraKeys)
{
    sendKey(QEvent::KeyPress, Qt::Key_Left);
    QFocusEvent focusLost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(view_, &focusLost);
    runFor(200);  // the last tick's frame
    const std::uint64_t frames = renderer().framesDrawn();
    runFor(500);
    EXPECT_EQ(renderer().framesDrawn(), frames);
}

TEST_F(RunningGame, ClosingTheWindowEndsTheLoopWithZeroAndStopsEverything)
{
    QEventLoop loop;
    QTimer::singleShot(100, window_.get(), &QWidget::close);
    QTimer::singleShot(5000, &loop, [&loop] { loop.exit(99); });
    EXPECT_EQ(loop.exec(), 0);
    EXPECT_FALSE(renderer().ready());
    EXPECT_FALSE(timer_->isActive());
}

}  // namespace
}  // namespace vokta::testing
