// Today's task, Random task... and the library with the day's task first,
// chosen with real keys and clicks sent through the X server (xdotool), the
// day and the random seeds fixed; the tasks are made on threads of their
// own and the window goes on meanwhile.

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "app/dialogs.h"
#include "app/library.h"
#include "app/main_window.h"
#include "puzzle/rules/generator.h"
#include "window_test_support.h"

namespace vokta::testing {
namespace {

// All the steps together, well within the test's own time limit.
// Each step within this, so that one waiting in vain is named before ctest ends the test.
constexpr int kStepTimeoutMs = 3500;
constexpr Date kToday{2026, 3, 1};
constexpr std::uint32_t kRandomSeed = 77;

template <class T> T* shownWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<T*>(widget); found && found->isVisible())
            return found;
    }
    return nullptr;
}

bool nothingOpen()
{
    return !QApplication::activePopupWidget() && !QApplication::activeModalWidget();
}

class MadeTasks : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = std::make_unique<MainWindow>(VOKTA_RUNTIME_DIR, testStore());
        ASSERT_TRUE(window_->StartGame(kSeed));
        window_->ApplyLanguage(QStringLiteral("English"));
        window_->shell().setToday([] { return kToday; });
        window_->shell().setRandomSeeds([] { return kRandomSeed; });
        ASSERT_TRUE(runUntil([&] { return window_->isActiveWindow(); }, kStepTimeoutMs));
    }

    static std::size_t play(const std::vector<Step>& steps) { return playSteps(steps, kStepTimeoutMs); }

    // keys: one or more, separated by blanks, pressed one after another.
    static Step key(const char* what, const char* keys, std::function<bool()> until)
    {
        return {[keys] { xdotool(QStringList{QStringLiteral("key")} + QString::fromLatin1(keys).split(' ')); },
                std::move(until), what};
    }

    static Step click(const char* what, std::function<QPoint()> where, std::function<bool()> until)
    {
        return {[where] {
                    const QPoint at = where();
                    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                             QStringLiteral("click"), QStringLiteral("1")});
                },
                std::move(until), what};
    }

    QPoint taskTitle() const
    {
        QMenuBar* bar = window_->menuBar();
        return bar->mapToGlobal(bar->actionGeometry(bar->actions()[0]).center());
    }

    static QPoint item(Command command)
    {
        QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        for (QAction* action : popup ? popup->actions() : QList<QAction*>{}) {
            if (action->data().toInt() == static_cast<int>(command))
                return popup->mapToGlobal(popup->actionGeometry(action).center());
        }
        return {};
    }

    std::function<bool()> playing(const Task& task) const
    {
        return [this, key = taskKey(task)] { return nothingOpen() && window_->game()->run().key == key; };
    }

    // The first line of the library's first task, with the dialog up.
    static QString firstInTheLibrary()
    {
        LibraryDialog* library = shownWindow<LibraryDialog>();
        return library ? library->list()->item(0)->text() : QString();
    }

    std::unique_ptr<MainWindow> window_;
};

TEST_F(MadeTasks, TheMenusMakeThemAndTheLibraryShowsTheDaysTaskFirst)
{
    const std::set<FigureShape> library = libraryShapes(VOKTA_RUNTIME_DIR "/tasks");
    const Task todays = *makeTask({.kind = TaskRequest::Kind::Daily, .date = kToday}, library);
    const Task hard = *makeTask({.difficulty = Difficulty::Hard, .seed = kRandomSeed}, library);
    const std::optional<Solution> solution = Solver(todays.cells, todays.pieceCount).first();
    ASSERT_TRUE(solution);
    const auto popupOpen = [] { return QApplication::activePopupWidget() != nullptr; };
    const auto shows = [](const QString& pattern) {
        return [pattern] { return QRegularExpression(pattern).match(firstInTheLibrary()).hasMatch(); };
    };

    const std::vector<Step> steps = {
        key("the Task menu by Alt+T", "alt+t", popupOpen),
        key("down to Today's task", "Down Down Down Down Down Down Down", popupOpen),
        key("Today's task made and loaded", "Return", playing(todays)),
        click(
            "the Task menu by a click", [this] { return taskTitle(); }, popupOpen),
        click(
            "Random task...", [] { return item(Command::RandomTask); },
            [] { return shownWindow<RandomTaskDialog>() != nullptr; }),
        click(
            "Hard made and loaded",
            [] {
                auto* hardButton = shownWindow<RandomTaskDialog>()->findChild<QPushButton*>(QStringLiteral("hard"));
                return hardButton->mapToGlobal(hardButton->rect().center());
            },
            playing(hard)),
        click(
            "the Task menu again", [this] { return taskTitle(); }, popupOpen),
        click(
            "the library with today's task first", [] { return item(Command::Library); },
            shows(QStringLiteral("^Today's task, 2026-03-01\nunique\ndays in a row: 0$"))),
        key("today's task opened from the library by Enter", "Return", playing(todays)),
        {[&] {
             for (const PiecePlace& place : *solution)
                 window_->game()->place(place.piece, place.position, place.offsets, false);
         },
         [] { return QApplication::activeModalWidget() != nullptr; }, "today's task solved"},
        key("the success message closed", "Return", nothingOpen),
        // Without a window manager nothing takes the keyboard back from the
        // message box that closed: the mouse opens the menu.
        click(
            "the Task menu once more", [this] { return taskTitle(); }, popupOpen),
        click(
            "today's task done, a day in a row", [] { return item(Command::Library); },
            shows(QStringLiteral(
                "^\u2714 Today's task, 2026-03-01\nunique\nmoves: \\d+, time: \\d+:\\d\\d\ndays in a row: 1$"))),
        key("the library closed", "Escape", nothingOpen),
    };
    ASSERT_EQ(play(steps), steps.size());
    EXPECT_TRUE(window_->progress().solvedOn(kToday));
}

}  // namespace
}  // namespace vokta::testing
