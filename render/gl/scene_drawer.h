#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "render/gl/draw_list.h"
#include "render/gl/gl_functions.h"
#include "render/gl/mesh_geometry.h"
#include "render/viewport.h"

namespace vokta {

// Draws a scene graph with OpenGL 3.3 core or WebGL 2 through a Viewport, so the picture
// and the CPU picking use one projection. Each mesh is uploaded once and
// updated only when it changes: its geometry when its shape or render quality
// changes, only its colours and face order when just the colours do.
//
// Every call must come with the drawer's context current.
class SceneDrawer {
public:
    // At most this many directional lights are applied; the scene set-up makes two.
    static constexpr int kMaxLights = 8;

    // gl must outlive the drawer.
    explicit SceneDrawer(const GlFunctions& gl);
    // Leaves GPU objects alone: call release() first, while the context is current.
    ~SceneDrawer();

    SceneDrawer(const SceneDrawer&) = delete;
    SceneDrawer& operator=(const SceneDrawer&) = delete;

    // Builds the shader program; false with the driver's reason when it refuses it.
    [[nodiscard]] bool initialize(std::string& error);

    // Clears to the background and draws everything below root. The viewport
    // is in logical pixels; the framebuffer has deviceWidth x deviceHeight pixels.
    void draw(const Frame& root, const Viewport& viewport, Colour background, int deviceWidth, int deviceHeight);

    // Frees every GPU object the drawer made.
    void release();

private:
    struct MeshBuffers {
        std::weak_ptr<MeshBuilder> mesh;
        std::uint64_t shapeRevision = 0;
        std::uint64_t revision = 0;
        RenderQuality quality = RenderQuality::Gouraud;
        MeshGeometry geometry;
        GLuint vertexArray = 0;
        GLuint cornerBuffer = 0;
        GLuint colourBuffer = 0;
        GLuint indexBuffer = 0;
        GLsizei opaqueCount = 0;
        GLsizei translucentCount = 0;
        bool usedThisFrame = false;
    };

    MeshBuffers& buffersFor(const std::shared_ptr<MeshBuilder>& mesh);
    void createBuffers(MeshBuffers& buffers);
    void uploadShape(MeshBuffers& buffers, const MeshBuilder& mesh);
    void uploadColours(MeshBuffers& buffers, const MeshBuilder& mesh);
    void deleteBuffers(MeshBuffers& buffers);
    void setLighting(const SceneLighting& lighting);
    void drawItem(const DrawItem& item, const MeshBuffers& buffers, bool translucent);

    const GlFunctions& gl_;
    GLuint program_ = 0;
    struct Uniforms {
        GLint model = -1;
        GLint viewProjection = -1;
        GLint normalMatrix = -1;
        GLint lit = -1;
        GLint ambient = -1;
        GLint lightCount = -1;
        GLint lightDirections = -1;
        GLint lightColours = -1;
    } uniforms_;
    std::unordered_map<const MeshBuilder*, MeshBuffers> meshes_;
    DrawList drawList_;
};

// The projection of viewport as a matrix for row vectors: world coordinates
// to clip coordinates, whose x / w and y / w run from -1 to 1 across the
// client area (y up) and whose z / w runs from -1 at the front plane to 1 at
// the back plane.
Matrix4 viewProjection(const Viewport& viewport);

}  // namespace vokta
