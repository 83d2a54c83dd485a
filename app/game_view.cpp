#include "app/game_view.h"

#include <cstdio>

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QtMath>

#include "app/input_routing.h"

namespace vokta {

namespace {

// Client pixel of a mouse event: the logical pixel holding the pointer.
int clientPixel(qreal coordinate)
{
    return qFloor(coordinate);
}

}  // namespace

GameView::GameView(Scene& scene, ViewInput& input)
    : scene_(scene), input_(input), renderer_(scene), frameLog_(!qEnvironmentVariableIsEmpty("VOKTA_FRAME_LOG"))
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
    scene_.sceneDirty = false;
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
    // Auto-repeated presses go through as well: a held key repeats a piece
    // command, and for the camera a repeat only sets the same speed again.
    input_.keyDown(keyStrokeFromQt(event->key(), event->modifiers(), event->text()));
}

void GameView::keyReleaseEvent(QKeyEvent* event)
{
    // The window system reports a held key's repeats as release and press
    // pairs; only the real release ends the key.
    if (event->isAutoRepeat())
        return;
    input_.keyUp(keyStrokeFromQt(event->key(), event->modifiers(), event->text()));
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
    input_.mouse(message);
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
    input_.keyboardLost();
}

}  // namespace vokta
