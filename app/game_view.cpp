#include "app/game_view.h"

#include <cstdio>

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QtMath>

#include "app/input_routing.h"
#include "puzzle/controller/game.h"
#include "puzzle/controller/routing.h"

namespace vokta {

namespace {

// Client pixel of a mouse event: the logical pixel holding the pointer.
int clientPixel(qreal coordinate)
{
    return qFloor(coordinate);
}

// The camera keys stand together in Key, from Left to PageDown.
bool isCameraKey(Key key)
{
    return key >= Key::Left && key <= Key::PageDown;
}

}  // namespace

GameView::GameView(Game& game)
    : game_(game), renderer_(game.view.scene), frameLog_(!qEnvironmentVariableIsEmpty("VOKTA_FRAME_LOG"))
{
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(Renderer::surfaceFormat());
}

GameView::~GameView()
{
    renderer_.teardown();
}

bool GameView::drawFrame()
{
    QElapsedTimer clock;
    clock.start();
    const bool drawn = renderer_.renderFrame();
    if (drawn && frameLog_) {
        std::printf("frame %llu %.3f ms\n", static_cast<unsigned long long>(renderer_.framesDrawn()),
                    static_cast<double>(clock.nsecsElapsed()) / 1e6);
        std::fflush(stdout);
    }
    if (drawn)
        emit frameDrawn();
    return drawn;
}

void GameView::OnPaint()
{
    drawFrame();
    game_.view.scene.sceneDirty = false;
}

void GameView::OnSize()
{
    renderer_.resize(width(), height());
    // The whole client area is drawn again at the new size; a shrinking
    // window gets no expose of its own.
    requestUpdate();
}

bool GameView::event(QEvent* event)
{
    if (event->type() == QEvent::UpdateRequest) {
        if (isExposed())
            OnPaint();
        return true;
    }
    return QWindow::event(event);
}

void GameView::exposeEvent(QExposeEvent*)
{
    if (isExposed())
        OnPaint();
}

void GameView::resizeEvent(QResizeEvent*)
{
    OnSize();
}

void GameView::keyPressEvent(QKeyEvent* event)
{
    // Keys held with Alt are the menu bar's, or nobody's.
    if (event->modifiers().testFlag(Qt::AltModifier))
        return;
    if (const std::optional<Command> command = shortcutCommand(event->key(), event->modifiers())) {
        deliver({.kind = WindowMessage::Kind::Command, .command = *command});
        return;
    }
    // Auto-repeated presses go through as well: a held key repeats a piece
    // command, and for the camera a repeat only sets the same speed again.
    const Key key = keyFromQt(event->key());
    if (isCameraKey(key))
        held_[static_cast<std::size_t>(key)] = true;
    WindowMessage down{.kind = WindowMessage::Kind::KeyDown, .key = key};
    down.shift = event->modifiers().testFlag(Qt::ShiftModifier);
    deliver(down);
    const QString text = event->text();
    if (text.size() == 1 && text.front().unicode() < 0x80) {
        const WindowMessage typed{.kind = WindowMessage::Kind::Char,
                                  .character = static_cast<char>(text.front().unicode())};
        deliver(typed);
    }
}

void GameView::keyReleaseEvent(QKeyEvent* event)
{
    // The window system reports a held key's repeats as release and press
    // pairs; only the real release ends the key.
    if (event->isAutoRepeat())
        return;
    const Key key = keyFromQt(event->key());
    // With Alt only a held camera key is let go: an Enter released with Alt
    // lets no piece go.
    if (event->modifiers().testFlag(Qt::AltModifier) && !(isCameraKey(key) && held_[static_cast<std::size_t>(key)]))
        return;
    if (isCameraKey(key))
        held_[static_cast<std::size_t>(key)] = false;
    deliver({.kind = WindowMessage::Kind::KeyUp, .key = key});
}

void GameView::setRouter(std::function<void(const WindowMessage&)> router)
{
    router_ = std::move(router);
}

void GameView::deliver(const WindowMessage& message)
{
    if (router_)
        router_(message);
    else
        MainWndProc(game_, message);
}

void GameView::route(const QMouseEvent& event, WindowMessage::Kind kind)
{
    // Only the left, right and middle buttons play; back and forward do nothing.
    if (kind != WindowMessage::Kind::MouseMove &&
        !(event.button() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)))
        return;
    WindowMessage message{.kind = kind};
    message.x = clientPixel(event.position().x());
    message.y = clientPixel(event.position().y());
    message.keys = mouseKeysFromQt(event.buttons(), event.modifiers());
    message.button = mouseKeysFromQt(event.button(), {});
    deliver(message);
}

void GameView::mousePressEvent(QMouseEvent* event)
{
    // The second press of a double click is no plain press: it neither picks
    // nor changes the recorded mouse state. The double click follows.
    if (event->flags() & Qt::MouseEventCreatedDoubleClick)
        return;
    route(*event, WindowMessage::Kind::ButtonDown);
}

void GameView::mouseReleaseEvent(QMouseEvent* event)
{
    route(*event, WindowMessage::Kind::ButtonUp);
}

void GameView::mouseMoveEvent(QMouseEvent* event)
{
    route(*event, WindowMessage::Kind::MouseMove);
}

void GameView::mouseDoubleClickEvent(QMouseEvent* event)
{
    route(*event, WindowMessage::Kind::DoubleClick);
}

void GameView::focusOutEvent(QFocusEvent*)
{
    for (std::size_t k = 0; k < held_.size(); ++k) {
        if (held_[k]) {
            held_[k] = false;
            deliver({.kind = WindowMessage::Kind::KeyUp, .key = static_cast<Key>(k)});
        }
    }
}

}  // namespace vokta
