#include "render/gl/renderer.h"

#include <cmath>

#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QWindow>

#include "render/gl/gl_functions.h"
#include "render/gl/scene_drawer.h"

namespace vokta {

namespace {

constexpr int kMajorVersion = 3;
constexpr int kMinorVersion = 3;
constexpr int kDepthBits = 24;
// Multisampling on graphics hardware; a software rasterizer would spend
// several times the whole frame's time on it.
constexpr int kHardwareSamples = 4;
constexpr const char* kSoftwareRasterizers[] = {"llvmpipe", "softpipe", "Software Rasterizer", "SwiftShader"};

// Samples per pixel: VOKTA_SAMPLES when set (0 or 1 switches multisampling
// off), else multisampling on hardware only.
int chooseSamples(const GlFunctions& gl)
{
    bool given = false;
    const int samples = qEnvironmentVariableIntValue("VOKTA_SAMPLES", &given);
    if (given)
        return samples > 1 ? samples : 0;
    const QByteArray renderer(reinterpret_cast<const char*>(gl.glGetString(GL_RENDERER)));
    for (const char* software : kSoftwareRasterizers) {
        if (renderer.contains(software))
            return 0;
    }
    return kHardwareSamples;
}

}  // namespace

std::string loadQtGlFunctions(GlFunctions& gl, QOpenGLContext& context)
{
    return loadGlFunctions(gl, [&context](const char* name) { return context.getProcAddress(name); });
}

Renderer::Renderer(Scene& scene) : scene_(scene) {}

Renderer::~Renderer() = default;

QSurfaceFormat Renderer::surfaceFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(kMajorVersion, kMinorVersion);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(kDepthBits);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return format;
}

bool Renderer::create(QWindow& window)
{
    teardown();
    error_.clear();
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(window.requestedFormat());
    if (!context->create()) {
        error_ = "the platform offers no OpenGL context";
        return false;
    }
    const QSurfaceFormat got = context->format();
    if (got.renderableType() != QSurfaceFormat::OpenGL || got.version() < qMakePair(kMajorVersion, kMinorVersion)) {
        error_ = "the OpenGL context is version " + std::to_string(got.majorVersion()) + "." +
            std::to_string(got.minorVersion()) + ", 3.3 is needed";
        return false;
    }
    if (!context->makeCurrent(&window)) {
        error_ = "the OpenGL context cannot draw on the window";
        return false;
    }
    auto gl = std::make_unique<GlFunctions>();
    if (const std::string missing = loadQtGlFunctions(*gl, *context); !missing.empty()) {
        error_ = "the OpenGL 3.3 core functions are missing: " + missing;
        context->doneCurrent();
        return false;
    }
    auto drawer = std::make_unique<SceneDrawer>(*gl);
    if (!drawer->initialize(error_)) {
        context->doneCurrent();
        return false;
    }
    samples_ = chooseSamples(*gl);
    gl_ = std::move(gl);
    window_ = &window;
    context_ = std::move(context);
    drawer_ = std::move(drawer);
    scene_.setViewSize(window.width(), window.height());
    framesDrawn_ = 0;
    ready_ = true;
    return true;
}

bool Renderer::renderFrame()
{
    if (!ready_ || !window_->isExposed() || !context_->makeCurrent(window_))
        return false;
    // The surface counts device pixels; the viewport, like the mouse, logical ones.
    const qreal ratio = window_->devicePixelRatio();
    const int deviceWidth = static_cast<int>(std::lround(scene_.viewWidth() * ratio));
    const int deviceHeight = static_cast<int>(std::lround(scene_.viewHeight() * ratio));
    const QSize deviceSize(deviceWidth, deviceHeight);
    if (samples_ > 0 && (!multisampled_ || multisampled_->size() != deviceSize)) {
        multisampled_.reset();
        QOpenGLFramebufferObjectFormat format;
        format.setSamples(samples_);
        format.setAttachment(QOpenGLFramebufferObject::Depth);
        multisampled_ = std::make_unique<QOpenGLFramebufferObject>(deviceSize, format);
    }
    if (multisampled_)
        multisampled_->bind();
    drawer_->draw(*scene_.sceneFrame(), viewport(), scene_.background(), deviceWidth, deviceHeight);
    if (multisampled_) {
        // Resolves the samples into the window's own buffer.
        multisampled_->release();
        QOpenGLFramebufferObject::blitFramebuffer(nullptr, multisampled_.get());
    }
    context_->swapBuffers(window_);
    ++framesDrawn_;
    return true;
}

void Renderer::resize(int width, int height)
{
    scene_.setViewSize(width, height);
}

void Renderer::teardown()
{
    if (context_ && window_ && context_->makeCurrent(window_)) {
        drawer_->release();
        multisampled_.reset();
        context_->doneCurrent();
    }
    drawer_.reset();
    gl_.reset();
    context_.reset();
    window_ = nullptr;
    ready_ = false;
}

Viewport Renderer::viewport() const
{
    return scene_.viewport();
}

SceneObject* Renderer::pickObject(int x, int y, std::string_view prefix) const
{
    return vokta::pickObject(viewport(), *scene_.sceneFrame(), static_cast<float>(x), static_cast<float>(y), prefix);
}

void Renderer::finish()
{
    if (ready_ && context_->makeCurrent(window_))
        gl_->glFinish();
}

}  // namespace vokta
