#pragma once

#include <cstddef>
#include <string>

namespace vokta {

// The parts of the model file the game copies many times (the pieces' cube
// 28 times, the figure's 27, the roller 7) may each hold at most this much,
// so that no model file can make the game's memory grow beyond bounds.
inline constexpr std::size_t kMaxPartVertices = 2048;
inline constexpr std::size_t kMaxPartFaces = 512;
inline constexpr std::size_t kMaxPartCorners = 2048;

// Checks that the model file at path loads, holds every frame and mesh the
// game looks up, and that none of them is too large to copy; otherwise says
// what is wrong, naming the file (and the line, for a part too large).
std::string verifyModelFile(const std::string& path);

}  // namespace vokta
