#pragma once

#include <memory>
#include <string>

#include <QImage>
#include <QSize>

#include "render/scene.h"

class QOffscreenSurface;
class QOpenGLContext;

namespace vokta {

class SceneDrawer;
struct GlFunctions;

// Draws a scene into a picture, away from any window, with the same drawing
// as the game's view: the game's own pictures are made with it.
class PictureRenderer {
public:
    PictureRenderer();
    ~PictureRenderer();

    PictureRenderer(const PictureRenderer&) = delete;
    PictureRenderer& operator=(const PictureRenderer&) = delete;

    // False, with error() saying why, when no OpenGL 3.3 context can be had.
    [[nodiscard]] bool create();
    const std::string& error() const { return error_; }

    // The scene as its camera sees it, size pixels large, with samples per
    // pixel smoothing the edges.
    QImage render(Scene& scene, QSize size, int samples = 8);

private:
    std::unique_ptr<QOffscreenSurface> surface_;
    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<GlFunctions> gl_;
    std::unique_ptr<SceneDrawer> drawer_;
    std::string error_;
};

}  // namespace vokta
