// The keyboard after menus, dialogs and message boxes, with real key presses
// and clicks sent through the X server (xdotool), the way a player's input
// arrives: Qt's own synthetic events reach a widget without going through
// the keyboard focus and would hide a view that has lost it.

#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include "app/game_view.h"
#include "app/main_window.h"
#include "app/task_code_dialogs.h"
#include "puzzle/controller/commands.h"
#include "puzzle/controller/window_message.h"
#include "puzzle/rules/task_code.h"
#include "window_test_support.h"

namespace vokta::testing {
namespace {

constexpr int kStepTimeoutMs = 10000;

bool popupShown()
{
    return QApplication::activePopupWidget() != nullptr;
}

bool modalShown()
{
    return QApplication::activeModalWidget() != nullptr;
}

bool nothingOpen()
{
    return !popupShown() && !modalShown();
}

// The dialog of that kind open over the game once it has the keyboard, so
// that keys typed and clicks go to it; null until then.
template <class Dialog> Dialog* focusedDialog()
{
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    return dialog && dialog->isActiveWindow() ? dialog : nullptr;
}

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = std::make_unique<MainWindow>(VOKTA_RUNTIME_DIR, testStore());
        ASSERT_TRUE(window_->StartGame(kSeed));
        window_->ApplyLanguage(QStringLiteral("English"));
        game_ = window_->game();
        ASSERT_TRUE(runUntil([&] { return window_->isActiveWindow(); }, kStepTimeoutMs));
        // Pieces at rest, so that every digit selects a piece that stays put.
        ASSERT_TRUE(runUntil([&] { return allResting(); }, 20000));
    }

    bool allResting() const
    {
        const GameState& state = game_->state();
        return std::none_of(state.pieces.begin(), state.pieces.begin() + state.inPlay(),
                            [](const PieceState& piece) { return piece.falling; });
    }

    static std::size_t play(const std::vector<Step>& steps) { return playSteps(steps, kStepTimeoutMs); }

    static Step key(const char* keys, std::function<bool()> until)
    {
        return {[keys] { xdotool({QStringLiteral("key"), QString::fromLatin1(keys)}); }, std::move(until)};
    }

    // A key held down, as a player holds it for a moment, and let go.
    static Step keyDown(const char* keys, std::function<bool()> until)
    {
        return {[keys] { xdotool({QStringLiteral("keydown"), QString::fromLatin1(keys)}); }, std::move(until)};
    }
    static Step keyUp(const char* keys, std::function<bool()> until)
    {
        return {[keys] { xdotool({QStringLiteral("keyup"), QString::fromLatin1(keys)}); }, std::move(until)};
    }

    Step clickAt(std::function<QPoint()> where, std::function<bool()> until, int button = 1)
    {
        return {[where, button] {
                    const QPoint at = where();
                    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                             QStringLiteral("click"), QString::number(button)});
                },
                std::move(until)};
    }

    // The middle of a menu title, of an item of the open popup, and of the
    // sky above the floor, on the screen.
    QPoint titleCentre(int popup) const
    {
        QMenuBar* bar = window_->menuBar();
        return bar->mapToGlobal(bar->actionGeometry(bar->actions()[popup]).center());
    }
    static QPoint itemCentre(Command command)
    {
        QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        for (QAction* item : popup ? popup->actions() : QList<QAction*>{}) {
            if (item->data().toInt() == static_cast<int>(command))
                return popup->mapToGlobal(popup->actionGeometry(item).center());
        }
        ADD_FAILURE() << "no item " << static_cast<int>(command) << " in an open popup";
        return {};
    }
    QPoint sky() const { return window_->mapToGlobal(QPoint(window_->width() / 2, window_->menuBar()->height() + 8)); }

    // A click on empty sky: the view has the keyboard and nothing is selected.
    Step startInTheView()
    {
        return clickAt([this] { return sky(); }, [this] { return game_->state().selected < 0; });
    }

    Step digitSelects(char digit)
    {
        const int piece = kDigitKeyPieces[static_cast<std::size_t>(digit - '1')];
        return key(digitName(digit), [this, piece] { return game_->state().selected == piece; });
    }

    static const char* digitName(char digit)
    {
        static constexpr const char* kNames[] = {"1", "2", "3", "4", "5", "6", "7"};
        return kNames[digit - '1'];
    }

    std::unique_ptr<MainWindow> window_;
    Game* game_ = nullptr;
};

// Each way of opening and closing something, then a digit that must select
// its piece.
TEST_F(Keyboard, ReturnsToTheGameWheneverAMenuOrDialogCloses)
{
    const auto titleOf = [this](int popup) { return [this, popup] { return titleCentre(popup); }; };
    const auto item = [](Command command) { return [command] { return itemCentre(command); }; };
    const auto menuBarIdle = [this] { return nothingOpen() && !window_->menuBar()->activeAction(); };
    struct Row {
        const char* what;
        std::vector<Step> steps;
        char digit;
    };
    const std::vector<Row> rows = {
        {"Alt+T, Escape, Escape",
         {key("alt+t", popupShown), key("Escape", [] { return !popupShown(); }), key("Escape", menuBarIdle)},
         '2'},
        {"a click on Task, Escape",
         {clickAt(titleOf(0), popupShown), key("Escape", [] { return !popupShown(); })},
         '3'},
        {"two clicks on Task", {clickAt(titleOf(0), popupShown), clickAt(titleOf(0), nothingOpen)}, '4'},
        {"Retry by Alt+T, Down, Enter",
         {key("alt+t", popupShown), key("Down", popupShown), key("Return", nothingOpen)},
         '5'},
        {"Retry by mouse", {clickAt(titleOf(0), popupShown), clickAt(item(Command::Retry), nothingOpen)}, '6'},
        {"About, closed by a key",
         {key("alt+h", popupShown), key("Return", modalShown), key("Escape", nothingOpen)},
         '7'},
        {"the Library dialog, closed by Escape",
         {clickAt(titleOf(0), popupShown), clickAt(item(Command::Library), modalShown), key("Escape", nothingOpen)},
         '1'},
        {"Load..., cancelled",
         {clickAt(titleOf(0), popupShown), clickAt(item(Command::Load), modalShown), key("Escape", nothingOpen)},
         '2'},
        {"a hint's message box",
         {{[this] { game_->handle({.kind = WindowMessage::Kind::Command, .command = Command::New}); },
           [this] { return allResting(); }},
          key("h", modalShown),
          key("Return", nothingOpen)},
         '3'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<Step> steps{startInTheView()};
        steps.insert(steps.end(), row.steps.begin(), row.steps.end());
        steps.push_back(digitSelects(row.digit));
        ASSERT_EQ(play(steps), steps.size()) << "the step that waited in vain, counting the first click as 0";
    }
}

// Counts the releases of one key that reach the game's view: a key sent
// after others marks when those have been handled, the X server keeping
// their order.
class ReleaseCounter : public QObject {
public:
    explicit ReleaseCounter(int key) : key_(key) {}
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(event)->key() == key_)
            ++count;
        return false;
    }

private:
    int key_;
};

// Enter and Escape let the selected piece go when they come up in the
// game; one whose press chose a menu item, closed a menu, About or a
// message box comes up in the game too, and must let nothing go.
TEST_F(Keyboard, AKeyWhosePressClosedAMenuOrDialogLetsNoPieceGo)
{
    ReleaseCounter marks(Qt::Key_F12);
    window_->view()->installEventFilter(&marks);
    struct Row {
        const char* what;
        std::vector<Step> steps;
    };
    // The key that closes is held until what it closed has gone, as a
    // player's is: its release comes up in the game (on a desktop once the
    // game has the keyboard back; under a bare X server, in the window
    // under the pointer).
    const auto inTheGame = [this] { return nothingOpen() && QGuiApplication::focusWindow() == window_->view(); };
    const std::vector<Row> rows = {
        {"Move Right chosen with Enter from the Vokta menu",
         {key("alt+v", popupShown), key("Down", popupShown), keyDown("Return", inTheGame),
          keyUp("Return", [] { return true; })}},
        {"the Task menu opened by a click and closed with Escape",
         {clickAt([this] { return titleCentre(0); }, popupShown), keyDown("Escape", inTheGame),
          keyUp("Escape", [] { return true; })}},
        {"About opened and closed with Enter",
         {key("alt+h", popupShown), key("Return", modalShown), keyDown("Return", nothingOpen),
          keyUp("Return", [] { return true; })}},
        {"About opened with Enter and closed with Escape",
         {key("alt+h", popupShown), key("Return", modalShown), keyDown("Escape", nothingOpen),
          keyUp("Escape", [] { return true; })}},
        {"a message box closed with Enter",
         {key("h", modalShown), keyDown("Return", nothingOpen), keyUp("Return", [] { return true; })}},
    };
    // A free build, so that H answers with a message box.
    game_->handle({.kind = WindowMessage::Kind::Command, .command = Command::New});
    ASSERT_TRUE(runUntil([&] { return allResting(); }, 20000));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<Step> steps{startInTheView(), digitSelects('4')};
        steps.insert(steps.end(), row.steps.begin(), row.steps.end());
        const int before = marks.count;
        steps.push_back(key("F12", [&] { return marks.count > before; }));
        ASSERT_EQ(play(steps), steps.size()) << "the step that waited in vain, counting the first click as 0";
        EXPECT_EQ(game_->state().selected, kDigitKeyPieces[3]) << "the piece is still selected";
    }
    // Its own Enter, pressed in the game, lets it go.
    ASSERT_EQ(play({key("Return", [this] { return game_->state().selected < 0; })}), 1u);
}

// Keys held with Alt and mouse buttons other than left, right and middle do
// nothing in the game: the selected piece stays where it is and nothing is
// let go.
TEST_F(Keyboard, AltKeysAndExtraMouseButtonsDoNothing)
{
    ASSERT_EQ(play({startInTheView(), digitSelects('2')}), 2u);
    const PieceState& red = game_->state().piece(game_->state().selected);
    const Cell where = red.position;
    const std::size_t steps = game_->stepsToUndo();
    ASSERT_EQ(play({key("alt+Left", [] { return true; }), key("alt+Prior", [] { return true; }),
                    key("alt+4", [] { return true; }), key("alt+Return", [] { return true; }),
                    clickAt([this] { return sky(); }, [] { return true; }, 8),
                    clickAt([this] { return sky(); }, [] { return true; }, 9), digitSelects('3')}),
              7u);
    EXPECT_EQ(red.position, where);
    EXPECT_EQ(game_->stepsToUndo(), steps + 1) << "only selecting piece 3 let the red piece go";
}

// Ctrl+Z, Ctrl+Y (and Ctrl+Shift+Z) and Home as the keyboard sends them: a
// move undone and redone, and the camera, turned by a held arrow, back at
// its start.
TEST_F(Keyboard, CtrlZUndoesCtrlYRedoesAndHomeBringsTheViewBack)
{
    ASSERT_EQ(play({startInTheView(), digitSelects('2')}), 2u);
    const PieceState& red = game_->state().piece(game_->state().selected);
    const Cell start = red.position;
    const Cell up = start + Cell{0, 0, 10};
    EXPECT_EQ(
        play({key("Prior", [&] { return red.position == up; }), key("ctrl+z", [&] { return red.position == start; }),
              key("ctrl+y", [&] { return red.position == up; }), key("ctrl+shift+z", [] { return true; }),
              key("ctrl+z", [&] { return red.position == start; }),
              key("ctrl+shift+z", [&] { return red.position == up; })}),
        6u);

    const Vec3 home = game_->view().camera.position();
    const auto still = [this] { return game_->view().camera.yawSpeed == 0.0f; };
    EXPECT_EQ(play({key("Escape", [this] { return game_->state().selected < 0; }),
                    {[] {
                         xdotool({QStringLiteral("keydown"), QStringLiteral("Left")});
                     },
                     [&] { return game_->view().camera.position() != home; }},
                    {[] {
                         xdotool({QStringLiteral("keyup"), QStringLiteral("Left")});
                     },
                     still},
                    key("Home", [&] { return game_->view().camera.position() == home; })}),
              4u);
    EXPECT_EQ(game_->view().camera.position(), (Vec3{100, 100, 100}));
}

// Share task... and Open task code... chosen from the Task menu with real
// clicks and keys: the code of the task on show, copied by its button; a
// code typed into the dialog opens its task as a step Undo takes back; a
// bad one is refused in a message box, and the task stays as it was.
TEST_F(Keyboard, ATaskTravelsAsItsCodeThroughTheTaskMenu)
{
    const auto titleOfTask = [this] { return titleCentre(0); };
    const auto item = [](Command command) { return [command] { return itemCentre(command); }; };
    const auto copyButton = [] {
        QPushButton* copy = focusedDialog<ShareTaskDialog>()->findChild<QPushButton*>(QStringLiteral("copy"));
        return copy->mapToGlobal(copy->rect().center());
    };
    const auto typeInto = [](const char* text) {
        return Step{[text] {
                        xdotool({QStringLiteral("type"), QString::fromLatin1(text)});
                    },
                    [text] {
                        const auto* asked = focusedDialog<OpenTaskCodeDialog>();
                        return asked && asked->findChild<QLineEdit*>()->text() == QLatin1String(text);
                    }};
    };
    const auto task = [this] { return taskKey(*currentTask(game_->state())); };
    const TaskFileRead bed = readTaskFile(VOKTA_RUNTIME_DIR "/tasks/bed.tsk");
    ASSERT_TRUE(bed.task);
    QGuiApplication::clipboard()->clear();

    // A dialog's own event loop runs inside a step: each play below opens
    // its dialog and closes it again.
    QString code;
    ASSERT_EQ(play({startInTheView()}), 1u);
    ASSERT_EQ(
        play({clickAt(titleOfTask, popupShown),
              clickAt(item(Command::ShareTask), [] { return focusedDialog<ShareTaskDialog>() != nullptr; }),
              {[&] {
                   code = focusedDialog<ShareTaskDialog>()->findChild<QLineEdit*>(QStringLiteral("taskCode"))->text();
               },
               [] { return true; }},
              clickAt(copyButton, [] { return QGuiApplication::clipboard()->text() == QStringLiteral("1vAs____-"); }),
              key("Return", nothingOpen)}),
        5u);
    EXPECT_EQ(code, QStringLiteral("1vAs____-"));

    const auto askForCode = [&](const char* text, std::function<bool()> answered) {
        return std::vector<Step>{
            clickAt(titleOfTask, popupShown),
            clickAt(item(Command::OpenTaskCode), [] { return focusedDialog<OpenTaskCodeDialog>() != nullptr; }),
            typeInto(text), key("Return", std::move(answered))};
    };
    ASSERT_EQ(play(askForCode("1uX9IaSx_dA003W001m000G", nothingOpen)), 4u);
    EXPECT_EQ(task(), taskKey(*bed.task));

    QString said;
    std::vector<Step> steps = askForCode("1vAs___", [&] {
        const QMessageBox* box = focusedDialog<QMessageBox>();
        said = box ? box->text() : QString();
        return box != nullptr;
    });
    steps.push_back(key("Return", nothingOpen));
    ASSERT_EQ(play(steps), 5u);
    EXPECT_EQ(said,
              QStringLiteral("The task code 1vAs___ cannot be opened: it ends before its task does: part of "
                             "it is missing."));
    EXPECT_EQ(task(), taskKey(*bed.task)) << "the refused code changed nothing";

    ASSERT_EQ(play({key("ctrl+z", [&] { return task() == taskKey(builtInTask()); })}), 1u);
}

}  // namespace
}  // namespace vokta::testing
