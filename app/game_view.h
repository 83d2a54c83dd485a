#pragma once

#include <array>
#include <functional>

#include <QWindow>

#include "puzzle/controller/routing.h"
#include "render/gl/renderer.h"

namespace vokta {

class Game;

// The 3D view: a native window drawn straight by the renderer, filling the
// main window. It turns its window-system events into the game's calls:
// expose paints, a resize rebuilds the viewport, keys and the mouse become the
// game's window messages (puzzle/routing.h), in logical client pixels.
class GameView : public QWindow {
    Q_OBJECT

public:
    explicit GameView(Game& game);
    ~GameView() override;

    Renderer& renderer() { return renderer_; }

    // Draws the scene as it stands now; false when nothing could be drawn.
    // With VOKTA_FRAME_LOG set, writes one line per frame to standard output.
    bool drawFrame();

    // Draws at once and marks the scene as drawn, whether or not it succeeded.
    void OnPaint();
    // Fits the viewport to the client area.
    void OnSize();

    // Where the view's messages go instead of straight to the routing (the
    // window records or holds them back).
    void setRouter(std::function<void(const WindowMessage&)> router);

signals:
    void frameDrawn();

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void route(const QMouseEvent& event, WindowMessage::Kind kind);
    void deliver(const WindowMessage& message);

    Game& game_;
    Renderer renderer_;
    bool frameLog_ = false;
    std::function<void(const WindowMessage&)> router_;
    // Camera keys held down: when the view loses the keyboard their
    // releases go elsewhere, so the view releases them itself.
    std::array<bool, static_cast<std::size_t>(Key::PageDown) + 1> held_{};
};

}  // namespace vokta
