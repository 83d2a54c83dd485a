#pragma once

#include <QWindow>

#include "puzzle/controller/window_message.h"
#include "render/gl/renderer.h"
#include "render/scene.h"
#include "shell/keys.h"

namespace vokta {

// Where the view's input goes: the window, which hands it to the shell.
class ViewInput {
public:
    virtual ~ViewInput() = default;
    virtual void keyDown(const KeyStroke& stroke) = 0;
    virtual void keyUp(const KeyStroke& stroke) = 0;
    // The view lost the keyboard.
    virtual void keyboardLost() = 0;
    virtual void mouse(const WindowMessage& message) = 0;
};

// The 3D view: a native window drawn straight by the renderer, filling the
// main window. It turns its window-system events into the shell's terms:
// expose paints, a resize rebuilds the viewport, keys become key strokes and
// the mouse the game's window messages, in logical client pixels.
class GameView : public QWindow {
    Q_OBJECT

public:
    GameView(Scene& scene, ViewInput& input);
    ~GameView() override;

    Renderer& renderer() { return renderer_; }

    // Draws the scene as it stands now; false when nothing could be drawn.
    // With VOKTA_FRAME_LOG set, writes one line per frame to standard output.
    bool drawFrame();

    // Draws at once and marks the scene as drawn, whether or not it succeeded.
    void OnPaint();
    // Fits the viewport to the client area.
    void OnSize();

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

    Scene& scene_;
    ViewInput& input_;
    Renderer renderer_;
    bool frameLog_ = false;
};

}  // namespace vokta
