#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <QSurfaceFormat>

#include "render/scene.h"
#include "render/viewport.h"

class QOpenGLContext;
class QOpenGLFramebufferObject;
class QWindow;

namespace vokta {

class SceneDrawer;
class SceneObject;
struct GlFunctions;

// Fills gl with the entry points of context, which must be current; the
// names of those it lacks, or empty.
std::string loadQtGlFunctions(GlFunctions& gl, QOpenGLContext& context);

// The game's display device: an OpenGL 3.3 core context on the 3D view's
// window, drawing the scene through the camera straight to the window
// surface. It also answers which scene object lies under a pixel, with the
// same projection the picture uses.
class Renderer {
public:
    explicit Renderer(Scene& scene);
    ~Renderer();

    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // What the 3D view's window must be created with: OpenGL 3.3 core, a depth
    // buffer and double buffering. Multisampling is done off the window, so
    // that it can be left out where it would cost too much.
    static QSurfaceFormat surfaceFormat();

    // Binds a context to window, which must already be shown. False, with
    // error() saying why, when no OpenGL 3.3 context can be had.
    [[nodiscard]] bool create(QWindow& window);
    // Clears to the scene's background, draws the scene and presents it.
    // False, drawing nothing, when not ready or the window is not on screen.
    bool renderFrame();
    // The client area is now width x height logical pixels (the mouse's
    // pixels); the scene's view size follows, so picking agrees.
    void resize(int width, int height);
    // Frees every rendering object; the renderer is then as before create().
    void teardown();

    bool ready() const { return ready_; }
    const std::string& error() const { return error_; }

    // The camera's view on the client area as it stands now, in logical pixels.
    Viewport viewport() const;
    // The scene object under client pixel (x, y) whose name starts with prefix, or null.
    SceneObject* pickObject(int x, int y, std::string_view prefix) const;

    // Frames drawn since create().
    std::uint64_t framesDrawn() const { return framesDrawn_; }
    // Blocks until the last frame has reached the window (for measurements).
    void finish();

private:
    Scene& scene_;
    QWindow* window_ = nullptr;
    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<GlFunctions> gl_;
    std::unique_ptr<SceneDrawer> drawer_;
    // Where the frame is drawn first when multisampling; null when drawing straight to the window.
    std::unique_ptr<QOpenGLFramebufferObject> multisampled_;
    int samples_ = 0;
    bool ready_ = false;
    std::uint64_t framesDrawn_ = 0;
    std::string error_;
};

}  // namespace vokta
