#include "render/gl/picture_renderer.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include "render/gl/gl_functions.h"
#include "render/gl/renderer.h"
#include "render/gl/scene_drawer.h"

namespace vokta {

PictureRenderer::PictureRenderer() = default;

PictureRenderer::~PictureRenderer()
{
    if (context_ && drawer_ && context_->makeCurrent(surface_.get())) {
        drawer_->release();
        context_->doneCurrent();
    }
}

bool PictureRenderer::create()
{
    surface_ = std::make_unique<QOffscreenSurface>();
    surface_->setFormat(Renderer::surfaceFormat());
    surface_->create();
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(Renderer::surfaceFormat());
    if (!context_->create() || !context_->makeCurrent(surface_.get())) {
        error_ = "no OpenGL 3.3 context";
        return false;
    }
    gl_ = std::make_unique<GlFunctions>();
    if (const std::string missing = loadQtGlFunctions(*gl_, *context_); !missing.empty()) {
        error_ = "the OpenGL 3.3 core functions are missing: " + missing;
        return false;
    }
    drawer_ = std::make_unique<SceneDrawer>(*gl_);
    return drawer_->initialize(error_);
}

QImage PictureRenderer::render(Scene& scene, QSize size, int samples)
{
    if (!drawer_ || !context_->makeCurrent(surface_.get()))
        return {};
    QOpenGLFramebufferObjectFormat format;
    format.setSamples(samples);
    format.setAttachment(QOpenGLFramebufferObject::Depth);
    QOpenGLFramebufferObject target(size, format);
    target.bind();
    scene.setViewSize(size.width(), size.height());
    drawer_->draw(*scene.sceneFrame(), scene.viewport(), scene.background(), size.width(), size.height());
    target.release();
    // A multisampled buffer cannot be read directly; toImage resolves it.
    return target.toImage();
}

}  // namespace vokta
