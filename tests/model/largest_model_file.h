#pragma once

// The largest model file the game accepts, made up from the limits alone:
// every part the game copies (the pieces' cube, the figure's cube, the roller
// and the direction marker) at the part limits, and a frame of bulk geometry,
// materials and frames that brings the file to every limit of the reader at
// once. Shared by the memory test and the load benchmark.

#include <string>

#include "puzzle/scene/model_check.h"
#include "render/model/xfile.h"

namespace vokta::testing {

// A mesh of vertices on a grid inside a cube of edge 10 and faces of four
// corners over it, each face with its own four normals when withNormals.
inline std::string gridMesh(const std::string& name, std::size_t vertices, std::size_t faces, bool withNormals)
{
    std::string text = "Mesh " + name + " {\n" + std::to_string(vertices) + ";\n";
    const std::size_t side = 64;
    for (std::size_t v = 0; v < vertices; ++v) {
        text += std::to_string(static_cast<double>(v % side) * 10.0 / side - 5.0) + ";" +
            std::to_string(static_cast<double>(v / side % side) * 10.0 / side - 5.0) + ";" +
            std::to_string(static_cast<int>(v / (side * side)) - 5) + (v + 1 == vertices ? ";;\n" : ";,\n");
    }
    text += std::to_string(faces) + ";\n";
    for (std::size_t f = 0; f < faces; ++f) {
        // Quads of the grid, row by row: corners v, v+1, v+side+1, v+side.
        const std::size_t v = (f % (side - 1)) + (f / (side - 1)) * side;
        text += "4;" + std::to_string(v % vertices) + "," + std::to_string((v + 1) % vertices) + "," +
            std::to_string((v + side + 1) % vertices) + "," + std::to_string((v + side) % vertices) +
            (f + 1 == faces ? ";;\n" : ";,\n");
    }
    if (withNormals) {
        text += "MeshNormals {\n1;\n0;0;1;;\n" + std::to_string(faces) + ";\n";
        for (std::size_t f = 0; f < faces; ++f)
            text += f + 1 == faces ? "4;0,0,0,0;;\n" : "4;0,0,0,0;,\n";
        text += "}\n";
    }
    return text + "}\n";
}

inline std::string largestModelFile()
{
    std::string text = "xof 0302txt 0032\n";
    const struct {
        const char* frame;
        const char* mesh;
    } parts[] = {{"x3ds_cubes", "cubes"}, {"x3ds_cube", "cube"}, {"x3ds_roller", "roller"}, {"x3ds_dir", "arrow"}};
    for (const auto& part : parts) {
        text += std::string("Frame ") + part.frame + " {\n" +
            gridMesh(part.mesh, kMaxPartVertices, kMaxPartCorners / 4, true) + "}\n";
    }
    const std::size_t partCount = std::size(parts);
    const std::size_t vertices = xfile::kMaxVertices - partCount * kMaxPartVertices;
    const std::size_t faces = (xfile::kMaxCorners - partCount * kMaxPartCorners) / 4;

    // The bulk: the rest of every limit, in as few bytes as the format allows.
    text += "Frame bulk {\nMesh bulk {\n" + std::to_string(vertices) + ";\n";
    for (std::size_t v = 0; v < vertices; ++v)
        text += v + 1 == vertices ? "0;0;0;;\n" : "0;0;0;,";
    text += std::to_string(faces) + ";\n";
    for (std::size_t f = 0; f < faces; ++f)
        text += f + 1 == faces ? "4;0,1,2,3;;\n" : "4;0,1,2,3;,";
    text += "MeshNormals {\n" + std::to_string(xfile::kMaxVertices - 4) + ";\n";
    for (std::size_t n = 0; n < xfile::kMaxVertices - 4; ++n)
        text += n + 5 == xfile::kMaxVertices ? "0;0;1;;\n" : "0;0;1;,";
    text += std::to_string(faces) + ";\n";
    for (std::size_t f = 0; f < faces; ++f)
        text += f + 1 == faces ? "4;0,1,2,3;;\n" : "4;0,1,2,3;,";
    text += "}\nMeshVertexColors {\n" + std::to_string(xfile::kMaxVertices) + ";\n";
    for (std::size_t c = 0; c < xfile::kMaxVertices; ++c)
        text += c + 1 == xfile::kMaxVertices ? "0;1;1;1;1;;\n" : "0;1;1;1;1;,";
    text += "}\nMeshMaterialList {\n" + std::to_string(xfile::kMaxMaterials) + ";1;0;;\n";
    for (std::size_t m = 0; m < xfile::kMaxMaterials; ++m)
        text += "Material{1;1;1;1;;1;0;0;0;;0;0;0;;}";
    text += "}\n}\n";
    // Frames: the parts' four, bulk, and the rest inside bulk.
    for (std::size_t f = partCount + 1; f < xfile::kMaxFrames; ++f)
        text += "Frame{}";
    return text + "}\n";
}

}  // namespace vokta::testing
