// The built-in task solved in the real window by real input events: the
// plans of tests/play/solve-*.play (checked headless by vokta-play) played
// as key and mouse events, until the success message appears after the
// fanfare.

#include <gtest/gtest.h>

#include <tuple>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStringList>
#include <QTimer>

#include "app/game_view.h"
#include "app/main_window.h"
#include "play/runner.h"
#include "play/script.h"
#include "puzzle/controller/game_tick.h"
#include "puzzle/controller/progress.h"
#include "puzzle/rules/task_file.h"
#include "window_test_support.h"

namespace vokta::testing {
namespace {

using play::Action;

// The view size the plans' pixels are for (vokta-play's default).
constexpr QSize kPlanView{play::kDefaultWidth, play::kDefaultHeight};
constexpr int kMessageTimeoutMs = 20000;

int qtKey(const Action& action)
{
    switch (action.key) {
    case Key::Left: return Qt::Key_Left;
    case Key::Right: return Qt::Key_Right;
    case Key::Up: return Qt::Key_Up;
    case Key::Down: return Qt::Key_Down;
    case Key::PageUp: return Qt::Key_PageUp;
    case Key::PageDown: return Qt::Key_PageDown;
    case Key::Enter: return Qt::Key_Return;
    case Key::Escape: return Qt::Key_Escape;
    case Key::H: return Qt::Key_H;
    case Key::Home: return Qt::Key_Home;
    case Key::Other: break;
    }
    return QChar(action.character).toUpper().unicode();
}

Qt::MouseButtons qtButtons(int keys)
{
    Qt::MouseButtons buttons;
    buttons.setFlag(Qt::LeftButton, keys & kMouseLeft);
    buttons.setFlag(Qt::RightButton, keys & kMouseRight);
    buttons.setFlag(Qt::MiddleButton, keys & kMouseMiddle);
    return buttons;
}

Qt::KeyboardModifiers qtModifiers(int keys)
{
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ShiftModifier, keys & kMouseShift);
    modifiers.setFlag(Qt::ControlModifier, keys & kMouseControl);
    return modifiers;
}

class SolvedInTheWindow : public ::testing::Test {
protected:
    // Plays the script's player actions into a window started with its seed.
    void play(const char* name)
    {
        QFile file(QStringLiteral(VOKTA_PLAY_SCRIPTS "/") + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const play::Script script = play::parseScript(file.readAll().toStdString());
        ASSERT_EQ(script.error, "") << name << ":" << script.errorLine;
        ASSERT_FALSE(script.actions.empty());
        ASSERT_EQ(script.actions.front().kind, Action::Kind::Setup);

        window_ = std::make_unique<MainWindow>(VOKTA_RUNTIME_DIR, SettingsStore(testSettingsFile(), progressFile()));
        ASSERT_TRUE(window_->StartGame(script.actions.front().number));
        QString why;
        if (!recording_.isEmpty()) {
            ASSERT_TRUE(window_->StartRecording(recording_, why)) << why.toStdString();
        }
        view_ = window_->view();
        timer_ = window_->findChild<QTimer*>(QStringLiteral("gameTimer"));
        ASSERT_NE(timer_, nullptr);
        // Ticks come only when the plan says: the timer runs while waiting for them.
        timer_->stop();
        QObject::connect(window_.get(), &MainWindow::soundRequested, [this](Cue cue) { cues_.push_back(cue); });
        QObject::connect(timer_, &QTimer::timeout, [this] {
            if (++ticksSeen_ >= ticksWanted_)
                timer_->stop();
        });
        window_->resize(window_->size() + kPlanView - view_->size());
        ASSERT_TRUE(runUntil([&] { return view_->size() == kPlanView; }, 5000)) << "the view cannot be made 1280 x 800";

        for (std::size_t i = 1; i < script.actions.size(); ++i)
            perform(script.actions[i]);
    }

    void perform(const Action& action)
    {
        using Kind = Action::Kind;
        switch (action.kind) {
        case Kind::Tick:
            ticksSeen_ = 0;
            ticksWanted_ = static_cast<int>(action.number);
            timer_->start();
            ASSERT_TRUE(pump([&] { return ticksSeen_ >= ticksWanted_; }, 10000 + 200 * ticksWanted_));
            break;
        case Kind::KeyDown: key(QEvent::KeyPress, action); break;
        case Kind::KeyUp: key(QEvent::KeyRelease, action); break;
        case Kind::Key:
            key(QEvent::KeyPress, action);
            key(QEvent::KeyRelease, action);
            break;
        case Kind::Press: mouse(QEvent::MouseButtonPress, {action.x, action.y}, action.keys); break;
        case Kind::Move: mouse(QEvent::MouseMove, {action.x, action.y}, action.keys); break;
        case Kind::Release: mouse(QEvent::MouseButtonRelease, {action.x, action.y}, action.keys); break;
        case Kind::DoubleClick: mouse(QEvent::MouseButtonDblClick, {action.x, action.y}, action.keys); break;
        case Kind::ClickPiece:
        case Kind::DoubleClickPiece:
        case Kind::ClickRoller: {
            const std::optional<play::Pixel> pixel = play::objectPixel(*window_->game(), action);
            ASSERT_TRUE(pixel) << "line " << action.line;
            const int button = action.shift ? kMouseRight : kMouseLeft;
            for (int click = 0; click < (action.kind == Kind::DoubleClickPiece ? 2 : 1); ++click) {
                mouse(click == 0 ? QEvent::MouseButtonPress : QEvent::MouseButtonDblClick, *pixel, button, button);
                mouse(QEvent::MouseButtonRelease, *pixel, 0, button);
            }
            break;
        }
        case Kind::State:
        case Kind::Expect: break;  // checked headless
        default: FAIL() << "line " << action.line << " is no player's action";
        }
    }

    void key(QEvent::Type type, const Action& action)
    {
        const QString text = action.character ? QString(QChar(action.character)) : QString();
        QKeyEvent event(type, qtKey(action), action.shift ? Qt::ShiftModifier : Qt::NoModifier, text);
        QCoreApplication::sendEvent(view_, &event);
    }

    // keys: what is held after the event; button: the one that changed
    // (for presses and double clicks, the first one held).
    void mouse(QEvent::Type type, play::Pixel pixel, int keys, int button = 0)
    {
        if (button == 0 && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
            button = keys & kMouseLeft ? kMouseLeft : keys & kMouseRight ? kMouseRight : kMouseMiddle;
        if (button == 0 && type == QEvent::MouseButtonRelease)
            button = kMouseLeft;
        const Qt::MouseButton changed = button == kMouseRight ? Qt::RightButton
            : button == kMouseMiddle                          ? Qt::MiddleButton
            : type == QEvent::MouseMove                       ? Qt::NoButton
                                                              : Qt::LeftButton;
        const QPointF at(pixel.x + 0.5, pixel.y + 0.5);
        QMouseEvent event(type, at, view_->mapToGlobal(at), changed, qtButtons(keys), qtModifiers(keys));
        QCoreApplication::sendEvent(view_, &event);
    }

    // Runs the event loop until done() holds. A message box that comes up
    // meanwhile opens a loop of its own: it is read, noted with the number
    // of sounds asked for before it, and closed, so that the wait goes on.
    bool pump(const std::function<bool()>& done, int timeoutMs)
    {
        return runUntil(
            [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    messages_.push_back(box->windowTitle() + QLatin1Char('|') + box->text());
                    messageAfterCues_ = static_cast<int>(cues_.size());
                    box->accept();
                }
                return done();
            },
            timeoutMs);
    }

    // The success message: shown once the last tick's fanfare has played.
    QString successMessage()
    {
        pump([&] { return !messages_.empty(); }, kMessageTimeoutMs);
        return messages_.empty() ? QString() : messages_.back();
    }

    // Plays the plan; the success message comes once, at the end, after the
    // fanfare, and every one of heard was asked for on the way.
    void expectSolvedBy(const char* plan, std::initializer_list<Cue> heard)
    {
        play(plan);
        EXPECT_EQ(successMessage(), QStringLiteral("Success|Task completed.\nCongratulations!"));
        EXPECT_EQ(messages_.size(), 1) << "reported once, at the end";
        ASSERT_GE(messageAfterCues_, 1);
        EXPECT_EQ(cues_[static_cast<std::size_t>(messageAfterCues_ - 1)], Cue::Fanfare) << "the fanfare comes first";
        for (const Cue cue : heard)
            EXPECT_NE(std::find(cues_.begin(), cues_.end(), cue), cues_.end()) << static_cast<int>(cue);
    }

    static QString progressFile()
    {
        return QDir::temp().filePath(
            QStringLiteral("vokta-solve-progress-%1.txt").arg(QCoreApplication::applicationPid()));
    }

    // Where the pieces stand, turned and falling, in a game.
    static std::vector<PieceState> pieces(const Game& game)
    {
        const GameState& state = game.state();
        return {state.pieces.begin(), state.pieces.begin() + state.inPlay()};
    }

    // When set, the window records the game to this file.
    QString recording_;
    std::unique_ptr<MainWindow> window_;
    GameView* view_ = nullptr;
    QTimer* timer_ = nullptr;
    int ticksSeen_ = 0;
    int ticksWanted_ = 0;
    std::vector<Cue> cues_;
    QStringList messages_;
    int messageAfterCues_ = -1;
};

TEST_F(SolvedInTheWindow, WithTheKeyboardAlone)
{
    expectSolvedBy("solve-keyboard.play", {Cue::Refusal, Cue::Fanfare});
}

TEST_F(SolvedInTheWindow, WithTheMouseAlone)
{
    expectSolvedBy("solve-mouse.play", {Cue::Step, Cue::Refusal, Cue::Fanfare});
}

// The keyboard solve recorded in the window: vokta-play plays the recording
// to the same pieces and completes the task once, the window replays it at
// the game's pace and completes it too, and the player's progress holds the
// cube with the moves the plan took.
TEST_F(SolvedInTheWindow, ARecordedGamePlaysBackToTheSameEnd)
{
    recording_ =
        QDir::temp().filePath(QStringLiteral("vokta-recording-%1.play").arg(QCoreApplication::applicationPid()));
    QFile::remove(progressFile());
    expectSolvedBy("solve-keyboard.play", {Cue::Fanfare});
    const auto solved = pieces(*window_->game());
    const int moves = window_->game()->run().moves;
    window_.reset();

    QFile file(recording_);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const play::Script script = play::parseScript(file.readAll().toStdString());
    ASSERT_EQ(script.error, "") << script.errorLine;
    ASSERT_EQ(MainWindow::unreplayable(script), QString());
    play::Runner runner(VOKTA_RUNTIME_DIR, play::kDefaultWidth, play::kDefaultHeight);
    std::string output;
    for (const Action& action : script.actions)
        ASSERT_EQ(runner.run(action, output).status, play::Runner::Status::Ok) << "line " << action.line;
    EXPECT_EQ(runner.completionCount(), 1u);
    EXPECT_EQ(pieces(runner.game()), solved);

    window_ = std::make_unique<MainWindow>(VOKTA_RUNTIME_DIR, SettingsStore(testSettingsFile(), progressFile()));
    EXPECT_EQ(window_->progress().find(taskKey(builtInTask())), (TaskRecord{moves, 63 * kTickMs}))
        << "kept across a restart";
    ASSERT_TRUE(window_->StartGame(script.actions.front().number));
    messages_.clear();
    window_->StartReplay(script.actions);
    EXPECT_TRUE(pump([&] { return !window_->replaying(); }, 30000));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("Success|Task completed.\nCongratulations!")});
    EXPECT_EQ(pieces(*window_->game()), solved);
    QFile::remove(recording_);
    QFile::remove(progressFile());
}

}  // namespace
}  // namespace vokta::testing
