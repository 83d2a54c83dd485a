#include "render/gl/scene_drawer.h"

#include <algorithm>
#include <array>

namespace vokta {

namespace {

// Colour = face colour x (ambient + sum of max(0, -L.N) x light colour),
// clamped; the lighting is worked out per corner, which for flat faces (one
// normal at every corner) and directional lights is the same as per face.
// Both shaders follow kShaderPrelude, which names the language they are in.
constexpr const char* kVertexShader = R"(const int kMaxLights = 8;
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec4 colour;
uniform mat4 model;
uniform mat4 viewProjection;
uniform mat3 normalMatrix;
uniform bool lit;
uniform vec3 ambient;
uniform int lightCount;
uniform vec3 lightDirections[kMaxLights];
uniform vec3 lightColours[kMaxLights];
out vec4 shade;
void main()
{
    gl_Position = viewProjection * (model * vec4(position, 1.0));
    if (!lit) {
        shade = colour;
        return;
    }
    vec3 worldNormal = normalMatrix * normal;
    float normalLength = length(worldNormal);
    vec3 light = ambient;
    if (normalLength > 0.0) {
        worldNormal /= normalLength;
        for (int i = 0; i < lightCount; ++i)
            light += max(0.0, -dot(lightDirections[i], worldNormal)) * lightColours[i];
    }
    shade = vec4(clamp(colour.rgb * light, 0.0, 1.0), colour.a);
}
)";

constexpr const char* kFragmentShader = R"(in vec4 shade;
out vec4 fragmentColour;
void main()
{
    fragmentColour = shade;
}
)";

constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kNormalAttribute = 1;
constexpr GLuint kColourAttribute = 2;

float determinant3(const Matrix4& m)
{
    return m.at(0, 0) * (m.at(1, 1) * m.at(2, 2) - m.at(1, 2) * m.at(2, 1)) -
        m.at(0, 1) * (m.at(1, 0) * m.at(2, 2) - m.at(1, 2) * m.at(2, 0)) +
        m.at(0, 2) * (m.at(1, 0) * m.at(2, 1) - m.at(1, 1) * m.at(2, 0));
}

float channel(Colour colour, int shift)
{
    return static_cast<float>((colour >> shift) & 0xFF) / 255.0f;
}

}  // namespace

Matrix4 viewProjection(const Viewport& viewport)
{
    const float front = Viewport::kFrontPlane;
    const float back = Viewport::kBackPlane;
    Matrix4 projection;
    projection.at(0, 0) = 2.0f * viewport.pixelScale() / static_cast<float>(viewport.width());
    projection.at(1, 1) = 2.0f * viewport.pixelScale() / static_cast<float>(viewport.height());
    projection.at(2, 2) = (back + front) / (back - front);
    projection.at(2, 3) = 1.0f;
    projection.at(3, 2) = -2.0f * back * front / (back - front);
    projection.at(3, 3) = 0.0f;
    return viewport.view() * projection;
}

SceneDrawer::SceneDrawer(const GlFunctions& gl) : gl_(gl) {}

SceneDrawer::~SceneDrawer() = default;

bool SceneDrawer::initialize(std::string& error)
{
    const auto compile = [this, &error](GLenum type, const char* source) -> GLuint {
        const GLuint shader = gl_.glCreateShader(type);
        const char* const sources[] = {kShaderPrelude, source};
        gl_.glShaderSource(shader, 2, sources, nullptr);
        gl_.glCompileShader(shader);
        GLint compiled = GL_FALSE;
        gl_.glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
        if (compiled == GL_TRUE)
            return shader;
        std::array<char, 1024> log{};
        gl_.glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
        error = std::string("the graphics driver refused a shader: ") + log.data();
        gl_.glDeleteShader(shader);
        return 0;
    };
    const GLuint vertexShader = compile(GL_VERTEX_SHADER, kVertexShader);
    if (!vertexShader)
        return false;
    const GLuint fragmentShader = compile(GL_FRAGMENT_SHADER, kFragmentShader);
    if (!fragmentShader) {
        gl_.glDeleteShader(vertexShader);
        return false;
    }
    program_ = gl_.glCreateProgram();
    gl_.glAttachShader(program_, vertexShader);
    gl_.glAttachShader(program_, fragmentShader);
    gl_.glLinkProgram(program_);
    gl_.glDeleteShader(vertexShader);
    gl_.glDeleteShader(fragmentShader);
    GLint linked = GL_FALSE;
    gl_.glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        std::array<char, 1024> log{};
        gl_.glGetProgramInfoLog(program_, static_cast<GLsizei>(log.size()), nullptr, log.data());
        error = std::string("the graphics driver refused the shader program: ") + log.data();
        gl_.glDeleteProgram(program_);
        program_ = 0;
        return false;
    }
    uniforms_.model = gl_.glGetUniformLocation(program_, "model");
    uniforms_.viewProjection = gl_.glGetUniformLocation(program_, "viewProjection");
    uniforms_.normalMatrix = gl_.glGetUniformLocation(program_, "normalMatrix");
    uniforms_.lit = gl_.glGetUniformLocation(program_, "lit");
    uniforms_.ambient = gl_.glGetUniformLocation(program_, "ambient");
    uniforms_.lightCount = gl_.glGetUniformLocation(program_, "lightCount");
    uniforms_.lightDirections = gl_.glGetUniformLocation(program_, "lightDirections");
    uniforms_.lightColours = gl_.glGetUniformLocation(program_, "lightColours");
    return true;
}

void SceneDrawer::draw(const Frame& root, const Viewport& viewport, Colour background, int deviceWidth,
                       int deviceHeight)
{
    gl_.glViewport(0, 0, deviceWidth, deviceHeight);
    gl_.glClearColor(channel(background, 16), channel(background, 8), channel(background, 0), 1.0f);
    gl_.glDepthMask(GL_TRUE);
    gl_.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!program_)
        return;

    gl_.glEnable(GL_DEPTH_TEST);
    gl_.glDepthFunc(GL_LEQUAL);
    gl_.glEnable(GL_CULL_FACE);
    gl_.glCullFace(GL_BACK);
    // Faces are pushed back a little so that wire edges lying on a solid's
    // surface (the task figure around a placed piece) stay visible.
    gl_.glPolygonOffset(1.0f, 1.0f);
    gl_.glUseProgram(program_);

    collectDrawList(root, drawList_);
    const Matrix4 projection = viewProjection(viewport);
    gl_.glUniformMatrix4fv(uniforms_.viewProjection, 1, GL_FALSE, projection.m.data());
    setLighting(drawList_.lighting);

    for (auto& [mesh, buffers] : meshes_)
        buffers.usedThisFrame = false;
    std::vector<const MeshBuffers*> drawn;
    drawn.reserve(drawList_.items.size());
    for (const DrawItem& item : drawList_.items)
        drawn.push_back(&buffersFor(item.mesh));

    for (std::size_t i = 0; i < drawList_.items.size(); ++i)
        drawItem(drawList_.items[i], *drawn[i], false);

    // Half-transparent faces go last, over everything opaque, without
    // hiding what lies behind them from each other.
    gl_.glEnable(GL_BLEND);
    gl_.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl_.glDepthMask(GL_FALSE);
    for (std::size_t i = 0; i < drawList_.items.size(); ++i)
        drawItem(drawList_.items[i], *drawn[i], true);
    gl_.glDepthMask(GL_TRUE);
    gl_.glDisable(GL_BLEND);
    gl_.glBindVertexArray(0);

    // Meshes no longer in the scene give their buffers back.
    for (auto it = meshes_.begin(); it != meshes_.end();) {
        if (it->second.usedThisFrame) {
            ++it;
        } else {
            deleteBuffers(it->second);
            it = meshes_.erase(it);
        }
    }
}

void SceneDrawer::release()
{
    for (auto& [mesh, buffers] : meshes_)
        deleteBuffers(buffers);
    meshes_.clear();
    if (program_)
        gl_.glDeleteProgram(program_);
    program_ = 0;
}

SceneDrawer::MeshBuffers& SceneDrawer::buffersFor(const std::shared_ptr<MeshBuilder>& mesh)
{
    MeshBuffers& buffers = meshes_[mesh.get()];
    // A new mesh may have been given the address of one that has gone.
    if (buffers.mesh.lock() != mesh) {
        deleteBuffers(buffers);
        buffers = MeshBuffers{};
        buffers.mesh = mesh;
    }
    if (!buffers.vertexArray) {
        createBuffers(buffers);
        uploadShape(buffers, *mesh);
        uploadColours(buffers, *mesh);
    } else if (buffers.shapeRevision != mesh->shapeRevision() || buffers.quality != mesh->quality()) {
        uploadShape(buffers, *mesh);
        uploadColours(buffers, *mesh);
    } else if (buffers.revision != mesh->revision()) {
        uploadColours(buffers, *mesh);
    }
    buffers.usedThisFrame = true;
    return buffers;
}

void SceneDrawer::createBuffers(MeshBuffers& buffers)
{
    gl_.glGenVertexArrays(1, &buffers.vertexArray);
    gl_.glGenBuffers(1, &buffers.cornerBuffer);
    gl_.glGenBuffers(1, &buffers.colourBuffer);
    gl_.glGenBuffers(1, &buffers.indexBuffer);

    gl_.glBindVertexArray(buffers.vertexArray);
    gl_.glBindBuffer(GL_ARRAY_BUFFER, buffers.cornerBuffer);
    const GLsizei stride = sizeof(MeshGeometry::CornerVertex);
    gl_.glEnableVertexAttribArray(kPositionAttribute);
    gl_.glVertexAttribPointer(kPositionAttribute, 3, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(offsetof(MeshGeometry::CornerVertex, position)));
    gl_.glEnableVertexAttribArray(kNormalAttribute);
    gl_.glVertexAttribPointer(kNormalAttribute, 3, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(offsetof(MeshGeometry::CornerVertex, normal)));
    gl_.glBindBuffer(GL_ARRAY_BUFFER, buffers.colourBuffer);
    gl_.glEnableVertexAttribArray(kColourAttribute);
    gl_.glVertexAttribPointer(kColourAttribute, 4, GL_UNSIGNED_BYTE, GL_TRUE, 0, nullptr);
    gl_.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers.indexBuffer);
    gl_.glBindVertexArray(0);
}

void SceneDrawer::uploadShape(MeshBuffers& buffers, const MeshBuilder& mesh)
{
    static_assert(sizeof(MeshGeometry::CornerVertex) == 6 * sizeof(float), "corners are uploaded as they lie");
    buffers.geometry = buildMeshGeometry(mesh);
    buffers.shapeRevision = mesh.shapeRevision();
    buffers.quality = mesh.quality();
    gl_.glBindBuffer(GL_ARRAY_BUFFER, buffers.cornerBuffer);
    gl_.glBufferData(GL_ARRAY_BUFFER,
                     static_cast<GLsizeiptr>(buffers.geometry.corners.size() * sizeof(MeshGeometry::CornerVertex)),
                     buffers.geometry.corners.data(), GL_STATIC_DRAW);
}

void SceneDrawer::uploadColours(MeshBuffers& buffers, const MeshBuilder& mesh)
{
    const std::vector<std::uint8_t> colours = cornerColours(mesh, buffers.geometry);
    gl_.glBindBuffer(GL_ARRAY_BUFFER, buffers.colourBuffer);
    gl_.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(colours.size()), colours.data(), GL_DYNAMIC_DRAW);

    MeshIndices indices = buildMeshIndices(mesh, buffers.geometry);
    buffers.opaqueCount = static_cast<GLsizei>(indices.opaque.size());
    buffers.translucentCount = static_cast<GLsizei>(indices.translucent.size());
    indices.opaque.insert(indices.opaque.end(), indices.translucent.begin(), indices.translucent.end());
    // The element buffer belongs to the vertex array; bind that first.
    gl_.glBindVertexArray(buffers.vertexArray);
    gl_.glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.opaque.size() * sizeof(std::uint32_t)),
                     indices.opaque.data(), GL_DYNAMIC_DRAW);
    gl_.glBindVertexArray(0);
    buffers.revision = mesh.revision();
}

void SceneDrawer::deleteBuffers(MeshBuffers& buffers)
{
    if (!buffers.vertexArray)
        return;
    gl_.glDeleteVertexArrays(1, &buffers.vertexArray);
    const GLuint names[] = {buffers.cornerBuffer, buffers.colourBuffer, buffers.indexBuffer};
    gl_.glDeleteBuffers(3, names);
    buffers.vertexArray = buffers.cornerBuffer = buffers.colourBuffer = buffers.indexBuffer = 0;
}

void SceneDrawer::setLighting(const SceneLighting& lighting)
{
    const int count = std::min(static_cast<int>(lighting.directional.size()), kMaxLights);
    std::array<float, 3 * kMaxLights> directions{};
    std::array<float, 3 * kMaxLights> colours{};
    for (int i = 0; i < count; ++i) {
        const DirectionalLight& light = lighting.directional[static_cast<std::size_t>(i)];
        const std::size_t at = static_cast<std::size_t>(3 * i);
        directions[at] = light.direction.x;
        directions[at + 1] = light.direction.y;
        directions[at + 2] = light.direction.z;
        colours[at] = light.colour.x;
        colours[at + 1] = light.colour.y;
        colours[at + 2] = light.colour.z;
    }
    gl_.glUniform3f(uniforms_.ambient, lighting.ambient.x, lighting.ambient.y, lighting.ambient.z);
    gl_.glUniform1i(uniforms_.lightCount, count);
    gl_.glUniform3fv(uniforms_.lightDirections, kMaxLights, directions.data());
    gl_.glUniform3fv(uniforms_.lightColours, kMaxLights, colours.data());
}

void SceneDrawer::drawItem(const DrawItem& item, const MeshBuffers& buffers, bool translucent)
{
    const GLsizei count = translucent ? buffers.translucentCount : buffers.opaqueCount;
    if (count == 0)
        return;
    const std::uintptr_t firstByte = translucent ? static_cast<std::uintptr_t>(buffers.opaqueCount) * 4 : 0;

    gl_.glUniformMatrix4fv(uniforms_.model, 1, GL_FALSE, item.toWorld.m.data());
    // Normals go through the inverse of the frame's rotation and scale; its
    // rows, read as columns, are what the shader multiplies by.
    const Matrix4 inverse = affineInverse(item.toWorld);
    const float normalMatrix[9] = {inverse.at(0, 0), inverse.at(0, 1), inverse.at(0, 2),
                                   inverse.at(1, 0), inverse.at(1, 1), inverse.at(1, 2),
                                   inverse.at(2, 0), inverse.at(2, 1), inverse.at(2, 2)};
    gl_.glUniformMatrix3fv(uniforms_.normalMatrix, 1, GL_TRUE, normalMatrix);
    gl_.glUniform1i(uniforms_.lit, buffers.geometry.lines ? 0 : 1);
    // Front faces run clockwise on screen; a mirroring transform turns them round.
    gl_.glFrontFace(determinant3(item.toWorld) < 0.0f ? GL_CCW : GL_CW);

    gl_.glBindVertexArray(buffers.vertexArray);
    const void* first = reinterpret_cast<const void*>(firstByte);
    if (buffers.geometry.lines) {
        gl_.glDrawElements(GL_LINES, count, GL_UNSIGNED_INT, first);
    } else {
        gl_.glEnable(GL_POLYGON_OFFSET_FILL);
        gl_.glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, first);
        gl_.glDisable(GL_POLYGON_OFFSET_FILL);
    }
}

}  // namespace vokta
