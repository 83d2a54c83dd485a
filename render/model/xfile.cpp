#include "render/model/xfile.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <unordered_map>

#include "platform/files.h"
#include "render/model/decimal.h"
#include "render/model/xfile_lexer.h"

namespace vokta::xfile {

namespace {

using detail::describe;
using detail::Lexer;
using detail::Token;
using detail::TokenKind;

// "xof " + version "0302" + format "txt " + float size "0032".
constexpr std::size_t kHeaderSize = 16;

std::string printable(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f)
            c = '?';
    return out;
}

// Empty when the header announces a text file this reader understands.
std::string checkHeader(std::string_view text)
{
    if (text.size() < kHeaderSize || text.substr(0, 4) != "xof ")
        return "not a DirectX model file: it does not start with the 'xof' header";
    const std::string_view version = text.substr(4, 4);
    const std::string_view format = text.substr(8, 4);
    const std::string_view floatSize = text.substr(12, 4);
    if (format == "bin ")
        return "binary .x files are not supported; save the model in the text format";
    if (format == "tzip" || format == "bzip")
        return "compressed .x files are not supported; save the model in the uncompressed text format";
    if (format != "txt ")
        return "unknown .x format '" + printable(format) + "' in the header";
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (version.substr(0, 2) != "03" || !isDigit(version[2]) || !isDigit(version[3]))
        return "unsupported .x version '" + printable(version) + "' (03xx is read)";
    if (floatSize != "0032" && floatSize != "0064")
        return "unsupported float size '" + printable(floatSize) + "' in the header (0032 or 0064)";
    return {};
}

struct BlockHeader {
    std::string_view type;
    std::string_view name;  // empty when the block has none
    int line = 0;           // line of the type name
};

class Parser {
public:
    Parser(std::string_view text, std::string_view fileName) : lexer_(text, kHeaderSize, 1), fileName_(fileName) {}

    [[nodiscard]] bool parseBody(Document& document);
    std::string& error() { return error_; }

private:
    // Names the innermost named object in error messages while it is parsed.
    class Context {
    public:
        Context(Parser& parser, std::string_view kind, std::string_view name)
            : parser_(parser), kind_(parser.contextKind_), name_(parser.contextName_)
        {
            parser.contextKind_ = kind;
            parser.contextName_ = name;
        }
        ~Context()
        {
            parser_.contextKind_ = kind_;
            parser_.contextName_ = name_;
        }
        Context(const Context&) = delete;
        Context& operator=(const Context&) = delete;

    private:
        Parser& parser_;
        std::string_view kind_;
        std::string_view name_;
    };

    bool fail(int line, const std::string& message);
    bool lexError(const Token& token) { return fail(token.line, lexer_.error()); }
    bool unexpected(const Token& token, const std::string& expected);
    bool unterminated(const BlockHeader& header);

    bool readUnsigned(uint32_t& out, const char* what);
    bool readCount(uint32_t& out, const char* what, uint64_t numbersPerItem);
    bool readFloat(float& out, const char* what);
    bool readVector(Vector& out, const char* what);
    bool readRgba(Rgba& out, const char* what);

    bool openBlock(const Token& typeToken, BlockHeader& out);
    bool closeBlock(const BlockHeader& header);
    bool skipBlock(const BlockHeader& header);
    bool readReference(const Token& openBrace, std::string_view& name);
    // Adds amount to what the file holds of one kind; refuses it beyond limit.
    bool charge(std::size_t& used, std::size_t amount, std::size_t limit, int line, const char* what);
    bool chargeMesh(const Mesh& mesh, int line);

    bool parseFrame(Frame& frame, const BlockHeader& header, int depth);
    bool parseMesh(Mesh& mesh, const BlockHeader& header);
    bool parseFaces(Mesh& mesh);
    bool parseNormals(Mesh& mesh, const BlockHeader& header);
    bool parseMaterialList(Mesh& mesh, const BlockHeader& header);
    bool parseMaterial(Material& material, const BlockHeader& header);
    bool parseVertexColors(Mesh& mesh, const BlockHeader& header);

    Lexer lexer_;
    std::string_view fileName_;
    std::string error_;
    std::string_view contextKind_;
    std::string_view contextName_;
    int lastLine_ = 1;  // line of the last number read

    Document* document_ = nullptr;
    std::vector<Material> topMaterials_;
    // Top-level objects by name; the first definition of a name wins.
    std::unordered_map<std::string_view, std::size_t> meshByName_;
    std::unordered_map<std::string_view, std::size_t> materialByName_;

    // What the file holds so far, copies included.
    struct Totals {
        std::size_t vertices = 0;
        std::size_t normals = 0;
        std::size_t colours = 0;
        std::size_t faces = 0;
        std::size_t corners = 0;
        std::size_t normalCorners = 0;
        std::size_t materials = 0;
        std::size_t frames = 0;
        std::size_t copies = 0;
    } totals_;
};

bool Parser::fail(int line, const std::string& message)
{
    error_.assign(fileName_);
    error_ += ':' + std::to_string(line) + ": ";
    if (!contextKind_.empty()) {
        if (contextName_.empty()) {
            error_ += "unnamed ";
            error_ += contextKind_;
        } else {
            error_ += contextKind_;
            error_ += " '" + printable(contextName_.substr(0, 64)) + "'";
        }
        error_ += ": ";
    }
    error_ += message;
    return false;
}

bool Parser::unexpected(const Token& token, const std::string& expected)
{
    if (token.kind == TokenKind::Error)
        return lexError(token);
    return fail(token.line, "expected " + expected + ", found " + describe(token));
}

bool Parser::unterminated(const BlockHeader& header)
{
    return fail(lexer_.line(),
                "file ends inside the " + std::string(header.type) + " block opened on line " +
                    std::to_string(header.line));
}

bool Parser::readUnsigned(uint32_t& out, const char* what)
{
    const Token token = lexer_.next();
    if (token.kind != TokenKind::Number)
        return unexpected(token, what);
    lastLine_ = token.line;
    const char* end = token.text.data() + token.text.size();
    const auto [last, code] = std::from_chars(token.text.data(), end, out);
    if (code == std::errc::result_out_of_range)
        return fail(token.line, std::string(what) + " " + describe(token) + " is too large");
    if (code != std::errc() || last != end)
        return fail(token.line, "expected " + std::string(what) + " (a whole number), found " + describe(token));
    return true;
}

bool Parser::readCount(uint32_t& out, const char* what, uint64_t numbersPerItem)
{
    if (!readUnsigned(out, what))
        return false;
    // Each number takes at least one character and one separator.
    if (out * numbersPerItem * 2 > lexer_.remaining() + 1)
        return fail(lastLine_,
                    std::string(what) + " " + std::to_string(out) + " is more than the rest of the file can hold");
    return true;
}

bool Parser::readFloat(float& out, const char* what)
{
    const Token token = lexer_.next();
    if (token.kind != TokenKind::Number)
        return unexpected(token, what);
    lastLine_ = token.line;
    std::string_view text = token.text;
    if (text.front() == '+')
        text.remove_prefix(1);  // parseDecimal takes no plus sign
    const Decimal<double> number = parseDecimal<double>(text);
    if (number.status == DecimalStatus::Malformed)
        return fail(token.line, "expected " + std::string(what) + ", found malformed " + describe(token));
    if (number.status == DecimalStatus::OutOfRange || std::abs(number.value) > std::numeric_limits<float>::max())
        return fail(token.line, describe(token) + " is out of range");
    out = static_cast<float>(number.value);
    return true;
}

bool Parser::readVector(Vector& out, const char* what)
{
    return readFloat(out.x, what) && readFloat(out.y, what) && readFloat(out.z, what);
}

bool Parser::readRgba(Rgba& out, const char* what)
{
    return readFloat(out.r, what) && readFloat(out.g, what) && readFloat(out.b, what) && readFloat(out.a, what);
}

bool Parser::openBlock(const Token& typeToken, BlockHeader& out)
{
    out.type = typeToken.text;
    out.name = {};
    out.line = typeToken.line;
    Token token = lexer_.next();
    if (token.kind == TokenKind::Name) {
        out.name = token.text;
        token = lexer_.next();
    }
    if (token.kind != TokenKind::OpenBrace)
        return unexpected(token, "'{' after " + std::string(out.type) + (out.name.empty() ? "" : " name"));
    // An object may carry its GUID first; the reader has no use for it.
    if (lexer_.peek().kind == TokenKind::Guid)
        lexer_.next();
    return true;
}

bool Parser::closeBlock(const BlockHeader& header)
{
    const Token token = lexer_.next();
    if (token.kind == TokenKind::CloseBrace)
        return true;
    if (token.kind == TokenKind::End)
        return unterminated(header);
    if (token.kind == TokenKind::Number)
        return fail(token.line, std::string(header.type) + " holds more numbers than its counts call for");
    return unexpected(token, "'}' to close " + std::string(header.type));
}

bool Parser::skipBlock(const BlockHeader& header)
{
    return lexer_.skipBlockBody() || unterminated(header);
}

bool Parser::readReference(const Token& openBrace, std::string_view& name)
{
    Token token = lexer_.next();
    if (token.kind == TokenKind::Guid)
        return fail(token.line, "references by GUID alone are not supported; name the object");
    if (token.kind != TokenKind::Name)
        return unexpected(token, "the name of the referenced object");
    name = token.text;
    token = lexer_.next();
    if (token.kind == TokenKind::Guid)
        token = lexer_.next();
    if (token.kind != TokenKind::CloseBrace)
        return unexpected(token, "'}' to close the reference opened on line " + std::to_string(openBrace.line));
    return true;
}

bool Parser::charge(std::size_t& used, std::size_t amount, std::size_t limit, int line, const char* what)
{
    if (amount > limit - used)
        return fail(line,
                    "the file holds more than " + std::to_string(limit) + " " + what +
                        " in all, the most a model file may hold");
    used += amount;
    return true;
}

bool Parser::chargeMesh(const Mesh& mesh, int line)
{
    std::size_t corners = 0;
    for (const auto& face : mesh.faces)
        corners += face.size();
    std::size_t normalCorners = 0;
    for (const auto& face : mesh.faceNormals)
        normalCorners += face.size();
    return charge(totals_.vertices, mesh.vertices.size(), kMaxVertices, line, "vertices") &&
        charge(totals_.normals, mesh.normals.size(), kMaxVertices, line, "normals") &&
        charge(totals_.colours, mesh.vertexColors.size(), kMaxVertices, line, "vertex colours") &&
        charge(totals_.faces, mesh.faces.size(), kMaxFaces, line, "faces") &&
        charge(totals_.corners, corners, kMaxCorners, line, "face corners") &&
        charge(totals_.normalCorners, normalCorners, kMaxCorners, line, "face normal indices") &&
        charge(totals_.materials, mesh.materials.size(), kMaxMaterials, line, "materials");
}

bool Parser::parseBody(Document& document)
{
    document_ = &document;
    for (;;) {
        const Token token = lexer_.next();
        switch (token.kind) {
        case TokenKind::End: return true;
        case TokenKind::Name: {
            BlockHeader header;
            if (!openBlock(token, header))
                return false;
            if (header.type == "Frame") {
                document.frames.emplace_back();
                if (!parseFrame(document.frames.back(), header, 1))
                    return false;
            } else if (header.type == "Mesh") {
                document.meshes.emplace_back();
                if (!parseMesh(document.meshes.back(), header))
                    return false;
                if (!header.name.empty())
                    meshByName_.emplace(header.name, document.meshes.size() - 1);
            } else if (header.type == "Material") {
                topMaterials_.emplace_back();
                if (!parseMaterial(topMaterials_.back(), header))
                    return false;
                if (!header.name.empty())
                    materialByName_.emplace(header.name, topMaterials_.size() - 1);
            } else if (!skipBlock(header)) {
                return false;  // templates and objects the game has no use for
            }
            break;
        }
        case TokenKind::OpenBrace: return fail(token.line, "a reference must stand inside an object");
        default: return unexpected(token, "an object");
        }
    }
}

bool Parser::parseFrame(Frame& frame, const BlockHeader& header, int depth)
{
    const Context context(*this, "frame", header.name);
    if (!charge(totals_.frames, 1, kMaxFrames, header.line, "frames"))
        return false;
    frame.name = header.name;
    frame.line = header.line;
    frame.transform = kIdentityTransform;
    bool hasTransform = false;
    for (;;) {
        const Token token = lexer_.next();
        switch (token.kind) {
        case TokenKind::CloseBrace: return true;
        case TokenKind::End: return unterminated(header);
        case TokenKind::OpenBrace: {
            std::string_view name;
            if (!readReference(token, name))
                return false;
            const auto found = meshByName_.find(name);
            if (found == meshByName_.end())
                return fail(token.line,
                            "reference to '" + printable(name.substr(0, 64)) +
                                "' names no mesh defined earlier in the file");
            const Mesh& source = document_->meshes[found->second];
            if (!charge(totals_.copies, 1, kMaxCopies, token.line, "copies by reference") ||
                !chargeMesh(source, token.line))
                return false;
            frame.meshes.push_back(source);
            break;
        }
        case TokenKind::Name: {
            BlockHeader child;
            if (!openBlock(token, child))
                return false;
            if (child.type == "Frame") {
                if (depth >= kMaxFrameDepth)
                    return fail(token.line, "frames nested more than " + std::to_string(kMaxFrameDepth) + " deep");
                frame.children.emplace_back();
                if (!parseFrame(frame.children.back(), child, depth + 1))
                    return false;
            } else if (child.type == "FrameTransformMatrix") {
                if (hasTransform)
                    return fail(token.line, "second FrameTransformMatrix in one frame");
                hasTransform = true;
                for (float& element : frame.transform)
                    if (!readFloat(element, "a transform matrix element"))
                        return false;
                if (!closeBlock(child))
                    return false;
            } else if (child.type == "Mesh") {
                frame.meshes.emplace_back();
                if (!parseMesh(frame.meshes.back(), child))
                    return false;
            } else if (!skipBlock(child)) {
                return false;
            }
            break;
        }
        default: return unexpected(token, "an object or '}'");
        }
    }
}

bool Parser::parseMesh(Mesh& mesh, const BlockHeader& header)
{
    const Context context(*this, "mesh", header.name);
    mesh.name = header.name;
    mesh.line = header.line;
    uint32_t vertexCount = 0;
    if (!readCount(vertexCount, "the vertex count", 3) ||
        !charge(totals_.vertices, vertexCount, kMaxVertices, lastLine_, "vertices"))
        return false;
    mesh.vertices.resize(vertexCount);
    for (Vector& vertex : mesh.vertices)
        if (!readVector(vertex, "a vertex coordinate"))
            return false;
    if (!parseFaces(mesh))
        return false;

    bool hasNormals = false;
    bool hasMaterials = false;
    bool hasColors = false;
    for (;;) {
        const Token token = lexer_.next();
        switch (token.kind) {
        case TokenKind::CloseBrace: return true;
        case TokenKind::End: return unterminated(header);
        case TokenKind::Number: return fail(token.line, "more numbers than the vertex and face counts call for");
        case TokenKind::Name: {
            BlockHeader child;
            if (!openBlock(token, child))
                return false;
            bool parsed = true;
            if (child.type == "MeshNormals") {
                if (hasNormals)
                    return fail(token.line, "second MeshNormals in one mesh");
                hasNormals = true;
                parsed = parseNormals(mesh, child);
            } else if (child.type == "MeshMaterialList") {
                if (hasMaterials)
                    return fail(token.line, "second MeshMaterialList in one mesh");
                hasMaterials = true;
                parsed = parseMaterialList(mesh, child);
            } else if (child.type == "MeshVertexColors") {
                if (hasColors)
                    return fail(token.line, "second MeshVertexColors in one mesh");
                hasColors = true;
                parsed = parseVertexColors(mesh, child);
            } else {
                parsed = skipBlock(child);  // texture coordinates, skin weights and the like
            }
            if (!parsed)
                return false;
            break;
        }
        default: return unexpected(token, "MeshNormals, MeshMaterialList, another object or '}'");
        }
    }
}

bool Parser::parseFaces(Mesh& mesh)
{
    const std::size_t vertexCount = mesh.vertices.size();
    uint32_t faceCount = 0;
    // A face is at least a corner count and three indices.
    if (!readCount(faceCount, "the face count", 4) || !charge(totals_.faces, faceCount, kMaxFaces, lastLine_, "faces"))
        return false;
    mesh.faces.resize(faceCount);
    for (std::size_t f = 0; f < faceCount; ++f) {
        std::vector<uint32_t>& face = mesh.faces[f];
        uint32_t corners = 0;
        if (!readCount(corners, "a face's corner count", 1))
            return false;
        if (corners < 3)
            return fail(lastLine_,
                        "face " + std::to_string(f) + " has " + std::to_string(corners) +
                            " corners; a face needs at least 3");
        if (corners > vertexCount)
            return fail(lastLine_,
                        "face " + std::to_string(f) + " has " + std::to_string(corners) +
                            " corners but the mesh has only " + std::to_string(vertexCount) + " vertices");
        if (!charge(totals_.corners, corners, kMaxCorners, lastLine_, "face corners"))
            return false;
        face.resize(corners);
        for (uint32_t& index : face) {
            if (!readUnsigned(index, "a vertex index"))
                return false;
            if (index >= vertexCount)
                return fail(lastLine_,
                            "face " + std::to_string(f) + " uses vertex " + std::to_string(index) +
                                " but the mesh has " + std::to_string(vertexCount) + " vertices");
        }
    }
    return true;
}

bool Parser::parseNormals(Mesh& mesh, const BlockHeader& header)
{
    uint32_t normalCount = 0;
    if (!readCount(normalCount, "the normal count", 3) ||
        !charge(totals_.normals, normalCount, kMaxVertices, lastLine_, "normals"))
        return false;
    mesh.normals.resize(normalCount);
    for (Vector& normal : mesh.normals)
        if (!readVector(normal, "a normal coordinate"))
            return false;

    uint32_t faceCount = 0;
    if (!readUnsigned(faceCount, "the MeshNormals face count"))
        return false;
    if (faceCount != mesh.faces.size())
        return fail(lastLine_,
                    "MeshNormals lists " + std::to_string(faceCount) + " faces but the mesh has " +
                        std::to_string(mesh.faces.size()));
    mesh.faceNormals.resize(faceCount);
    for (std::size_t f = 0; f < faceCount; ++f) {
        uint32_t corners = 0;
        if (!readUnsigned(corners, "a face's normal count"))
            return false;
        if (corners != mesh.faces[f].size())
            return fail(lastLine_,
                        "face " + std::to_string(f) + " has " + std::to_string(mesh.faces[f].size()) +
                            " corners but MeshNormals gives it " + std::to_string(corners) + " normals");
        if (!charge(totals_.normalCorners, corners, kMaxCorners, lastLine_, "face normal indices"))
            return false;
        mesh.faceNormals[f].resize(corners);
        for (uint32_t& index : mesh.faceNormals[f]) {
            if (!readUnsigned(index, "a normal index"))
                return false;
            if (index >= normalCount)
                return fail(lastLine_,
                            "face " + std::to_string(f) + " uses normal " + std::to_string(index) +
                                " but MeshNormals has " + std::to_string(normalCount) + " normals");
        }
    }
    return closeBlock(header);
}

bool Parser::parseMaterialList(Mesh& mesh, const BlockHeader& header)
{
    uint32_t materialCount = 0;
    uint32_t indexCount = 0;
    if (!readCount(materialCount, "the material count", 1))
        return false;
    if (!readUnsigned(indexCount, "the face material count"))
        return false;
    const std::size_t faceCount = mesh.faces.size();
    if (indexCount > faceCount)
        return fail(lastLine_,
                    "MeshMaterialList gives " + std::to_string(indexCount) + " face materials but the mesh has " +
                        std::to_string(faceCount) + " faces");
    if (indexCount == 0 && faceCount > 0)
        return fail(lastLine_, "MeshMaterialList gives no face materials");
    mesh.faceMaterials.resize(indexCount);
    for (std::size_t f = 0; f < indexCount; ++f) {
        uint32_t& index = mesh.faceMaterials[f];
        if (!readUnsigned(index, "a face material index"))
            return false;
        if (index >= materialCount)
            return fail(lastLine_,
                        "face " + std::to_string(f) + " uses material " + std::to_string(index) +
                            " but MeshMaterialList has " + std::to_string(materialCount) + " materials");
    }
    // Exporters may stop the list early; the last index then holds for the
    // remaining faces, as DirectX itself reads it.
    if (indexCount > 0)
        mesh.faceMaterials.resize(faceCount, mesh.faceMaterials.back());

    const auto tooMany = [&](const Token& token) {
        return fail(token.line,
                    "MeshMaterialList holds more than the " + std::to_string(materialCount) + " materials it declares");
    };
    for (;;) {
        const Token token = lexer_.next();
        switch (token.kind) {
        case TokenKind::CloseBrace:
            if (mesh.materials.size() != materialCount)
                return fail(token.line,
                            "MeshMaterialList declares " + std::to_string(materialCount) + " materials but holds " +
                                std::to_string(mesh.materials.size()));
            return true;
        case TokenKind::End: return unterminated(header);
        case TokenKind::Number:
            return fail(token.line, "MeshMaterialList holds more face material indices than its count says");
        case TokenKind::OpenBrace: {
            std::string_view name;
            if (!readReference(token, name))
                return false;
            const auto found = materialByName_.find(name);
            if (found == materialByName_.end())
                return fail(token.line,
                            "reference to '" + printable(name.substr(0, 64)) +
                                "' names no material defined earlier in the file");
            if (mesh.materials.size() == materialCount)
                return tooMany(token);
            const Material& source = topMaterials_[found->second];
            if (!charge(totals_.copies, 1, kMaxCopies, token.line, "copies by reference") ||
                !charge(totals_.materials, 1, kMaxMaterials, token.line, "materials"))
                return false;
            mesh.materials.push_back(source);
            break;
        }
        case TokenKind::Name: {
            BlockHeader child;
            if (!openBlock(token, child))
                return false;
            if (child.type != "Material") {
                if (!skipBlock(child))
                    return false;
                break;
            }
            if (mesh.materials.size() == materialCount)
                return tooMany(token);
            mesh.materials.emplace_back();
            if (!parseMaterial(mesh.materials.back(), child))
                return false;
            break;
        }
        default: return unexpected(token, "a Material or '}'");
        }
    }
}

bool Parser::parseMaterial(Material& material, const BlockHeader& header)
{
    // An unnamed material is reported under the mesh that holds it.
    const Context context(*this, header.name.empty() ? contextKind_ : "material",
                          header.name.empty() ? contextName_ : header.name);
    if (!charge(totals_.materials, 1, kMaxMaterials, header.line, "materials"))
        return false;
    material.name = header.name;
    if (!readRgba(material.faceColor, "a face colour component") || !readFloat(material.power, "the power") ||
        !readVector(material.specular, "a specular colour component") ||
        !readVector(material.emissive, "an emissive colour component"))
        return false;
    for (;;) {
        const Token token = lexer_.next();
        switch (token.kind) {
        case TokenKind::CloseBrace: return true;
        case TokenKind::End: return unterminated(header);
        case TokenKind::Number:
            return fail(token.line, "Material holds more than colour, power, specular and emissive");
        case TokenKind::Name: {
            BlockHeader child;  // TextureFilename and the like: the game draws no textures
            if (!openBlock(token, child) || !skipBlock(child))
                return false;
            break;
        }
        default: return unexpected(token, "TextureFilename or '}'");
        }
    }
}

bool Parser::parseVertexColors(Mesh& mesh, const BlockHeader& header)
{
    uint32_t count = 0;
    if (!readCount(count, "the vertex colour count", 5) ||
        !charge(totals_.colours, count, kMaxVertices, lastLine_, "vertex colours"))
        return false;
    mesh.vertexColors.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        auto& [vertex, color] = mesh.vertexColors[i];
        if (!readUnsigned(vertex, "a vertex index"))
            return false;
        if (vertex >= mesh.vertices.size())
            return fail(lastLine_,
                        "vertex colour " + std::to_string(i) + " names vertex " + std::to_string(vertex) +
                            " but the mesh has " + std::to_string(mesh.vertices.size()) + " vertices");
        if (!readRgba(color, "a vertex colour component"))
            return false;
    }
    return closeBlock(header);
}

const Frame* findIn(const std::vector<Frame>& frames, std::string_view name)
{
    for (const Frame& frame : frames) {
        if (frame.name == name)
            return &frame;
        if (const Frame* found = findIn(frame.children, name))
            return found;
    }
    return nullptr;
}

ParseResult failure(std::string error)
{
    return {std::nullopt, std::move(error)};
}

ParseResult outOfMemory(std::string_view fileName)
{
    return failure(std::string(fileName) + ": out of memory while reading the model");
}

}  // namespace

ParseResult parse(std::string_view text, std::string_view fileName)
{
    try {
        if (std::string problem = checkHeader(text); !problem.empty())
            return failure(std::string(fileName) + ":1: " + problem);
        Parser parser(text, fileName);
        Document document;
        if (!parser.parseBody(document))
            return failure(std::move(parser.error()));
        return {std::move(document), {}};
    } catch (const std::bad_alloc&) {
        return outOfMemory(fileName);
    }
}

ParseResult loadFile(const std::string& path)
{
    try {
        const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(openFile(path, "rb"), &std::fclose);
        if (!file)
            return failure(path + ": cannot open: " + std::strerror(errno));
        std::string text;
        char chunk[1 << 16];
        std::size_t got = 0;
        // Read in chunks rather than trusting a reported size: the cap must hold
        // for pipes and growing files too.
        while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
            if (text.size() + got > kMaxFileBytes)
                return failure(path + ": larger than " + std::to_string(kMaxFileBytes >> 20) +
                               " MiB, too large for a model file");
            text.append(chunk, got);
        }
        if (std::ferror(file.get()))
            return failure(path + ": cannot read: " + std::strerror(errno));
        return parse(text, path);
    } catch (const std::bad_alloc&) {
        return outOfMemory(path);
    }
}

const Frame* findFrame(const Document& document, std::string_view name)
{
    return findIn(document.frames, name);
}

const Mesh* findMesh(const Frame& frame, std::string_view name)
{
    for (const Mesh& mesh : frame.meshes)
        if (mesh.name == name)
            return &mesh;
    return nullptr;
}

}  // namespace vokta::xfile
