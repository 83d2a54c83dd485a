#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "render/frame.h"
#include "render/model/xfile.h"

namespace vokta {

// Model files, each read and parsed once, turned into scene frames on request.
class ModelLibrary {
public:
    // The parsed file, or null when it is missing or malformed (see error()).
    const xfile::Document* document(const std::string& path);
    // Why document(path) is null: names the file and the problem; empty when it loaded.
    std::string error(const std::string& path);

    // A new frame tree copied from the first frame named frameName in the file
    // (depth first, parents before children); null when the file or the frame is missing.
    std::shared_ptr<Frame> loadFrame(const std::string& path, std::string_view frameName);
    // A new frame tree copied from the file's first top-level frame; null when there is none.
    std::shared_ptr<Frame> loadFirstFrame(const std::string& path);

private:
    struct Entry {
        std::optional<xfile::Document> document;
        std::string error;
    };
    const Entry& entry(const std::string& path);

    std::map<std::string, Entry, std::less<>> files_;
};

// A scene mesh with the file mesh's name, geometry, normals and face colours.
std::shared_ptr<MeshBuilder> meshFromFile(const xfile::Mesh& mesh);
// A scene frame tree with the file frame's name, transform, meshes and children.
std::shared_ptr<Frame> frameFromFile(const xfile::Frame& frame);

}  // namespace vokta
