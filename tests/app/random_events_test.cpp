// The real window under a storm of random input: keys, clicks, drags, menu
// commands, and the dialogs they open closed again. The game stays alive,
// answers, and keeps drawing.

#include <gtest/gtest.h>

#include <random>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWhatsThis>

#include "app/game_view.h"
#include "app/main_window.h"
#include "puzzle/controller/commands.h"
#include "window_test_support.h"

namespace vokta::testing {
namespace {

constexpr int kEvents = 5000;
constexpr int kCommands[] = {40001, 40002, 40003, 40004, 40005, 40006, 40007, 40008, 40009, 40010, 40011, 40012, 40013,
                             40014, 40015, 40016, 40017, 40018, 40019, 40020, 40021, 40022, 40025, 40026, 40027, 57666};
constexpr Qt::Key kKeys[] = {Qt::Key_Left,   Qt::Key_Right,  Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown,
                             Qt::Key_Return, Qt::Key_Escape, Qt::Key_1,  Qt::Key_4,    Qt::Key_7,      Qt::Key_A};

TEST(RandomEvents, TheWindowSurvivesFiveThousandAndKeepsDrawing)
{
    MainWindow window(VOKTA_RUNTIME_DIR, testStore());
    ASSERT_TRUE(window.StartGame(kSeed));
    window.ApplyLanguage(QStringLiteral("English"));
    GameView* view = window.view();
    // Whatever a command opens is closed again soon after.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        QWhatsThis::hideText();
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->isWindow() && qobject_cast<QDialog*>(widget))
                widget->close();
        }
    });
    closer.start(20);

    std::mt19937 random(11);
    const auto below = [&random](int bound) { return static_cast<int>(random() % static_cast<unsigned>(bound)); };
    Qt::MouseButtons held;
    for (int i = 0; i < kEvents; ++i) {
        const QPointF at(below(view->width()), below(view->height()));
        const int kind = below(10);
        if (kind < 4) {
            const Qt::Key key = kKeys[below(static_cast<int>(std::size(kKeys)))];
            const Qt::KeyboardModifiers shift = below(3) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
            const QString text = key >= Qt::Key_0 && key <= Qt::Key_Z ? QString(QChar(key)) : QString();
            QKeyEvent press(QEvent::KeyPress, key, shift, text);
            QKeyEvent release(QEvent::KeyRelease, key, shift, text);
            QCoreApplication::sendEvent(view, &press);
            QCoreApplication::sendEvent(view, &release);
        } else if (kind < 8) {
            const Qt::MouseButton button = below(4) == 0 ? Qt::RightButton : Qt::LeftButton;
            const QEvent::Type type = kind == 4 ? QEvent::MouseButtonPress
                : kind == 5                     ? QEvent::MouseButtonRelease
                : kind == 6                     ? QEvent::MouseMove
                                                : QEvent::MouseButtonDblClick;
            if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
                held |= button;
            else if (type == QEvent::MouseButtonRelease)
                held &= ~button;
            QMouseEvent event(type, at, view->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                              below(5) == 0 ? Qt::ShiftModifier : Qt::NoModifier);
            QCoreApplication::sendEvent(view, &event);
        } else if (kind == 8) {
            window.OnMenuCommand(static_cast<Command>(kCommands[below(static_cast<int>(std::size(kCommands)))]));
        } else {
            runFor(below(40));
        }
    }
    closer.stop();
    QWhatsThis::hideText();

    // It answers: a queued call runs at once.
    bool answered = false;
    QTimer::singleShot(0, [&] { answered = true; });
    EXPECT_TRUE(runUntil([&] { return answered; }, 5000));
    // And draws: Retry scatters the pieces, and new frames show them falling.
    const std::uint64_t frames = view->renderer().framesDrawn();
    window.OnMenuCommand(Command::Retry);
    EXPECT_TRUE(runUntil([&] { return view->renderer().framesDrawn() > frames + 3; }, 5000));
}

}  // namespace
}  // namespace vokta::testing
