#include "render/seven_segment.h"

#include <array>
#include <cstdint>

namespace vokta {

namespace {

constexpr float kWidth = 0.55f;  // of the height
constexpr float kBar = 0.14f;    // a bar's thickness, of the height

// A bar as a rectangle in units of the height, the digit's centre at (0, 0).
struct Bar {
    float left, bottom, right, top;
};

constexpr float kHalfWidth = kWidth / 2;
// The segments a to g: top, upper right, lower right, bottom, lower left,
// upper left, middle. The bars overlap at the corners.
constexpr std::array<Bar, 7> kBars{{
    {-kHalfWidth, 0.5f - kBar, kHalfWidth, 0.5f},
    {kHalfWidth - kBar, 0.0f, kHalfWidth, 0.5f},
    {kHalfWidth - kBar, -0.5f, kHalfWidth, 0.0f},
    {-kHalfWidth, -0.5f, kHalfWidth, -0.5f + kBar},
    {-kHalfWidth, -0.5f, -kHalfWidth + kBar, 0.0f},
    {-kHalfWidth, 0.0f, -kHalfWidth + kBar, 0.5f},
    {-kHalfWidth, -kBar / 2, kHalfWidth, kBar / 2},
}};

// The lit segments of each digit 0 to 9, bit n for segment a + n.
constexpr std::array<std::uint8_t, 10> kDigitSegments{
    0b0111111,  // 0: a b c d e f
    0b0000110,  // 1: b c
    0b1011011,  // 2: a b d e g
    0b1001111,  // 3: a b c d g
    0b1100110,  // 4: b c f g
    0b1101101,  // 5: a c d f g
    0b1111101,  // 6: a c d e f g
    0b0000111,  // 7: a b c
    0b1111111,  // 8: all
    0b1101111,  // 9: a b c d f g
};

}  // namespace

void addSevenSegmentDigit(MeshBuilder& mesh, int digit, Vec3 centre, Vec3 right, Vec3 up, float height, Colour colour)
{
    if (digit < 0 || digit >= static_cast<int>(kDigitSegments.size()))
        return;
    const auto at = [&](float x, float y) { return mesh.addVertex(centre + right * (x * height) + up * (y * height)); };
    for (std::size_t s = 0; s < kBars.size(); ++s) {
        if (!(kDigitSegments[static_cast<std::size_t>(digit)] >> s & 1))
            continue;
        const Bar& bar = kBars[s];
        // Clockwise on the screen as seen from the front.
        const int corners[] = {at(bar.left, bar.bottom), at(bar.left, bar.top), at(bar.right, bar.top),
                               at(bar.right, bar.bottom)};
        MeshBuilder::Face face;
        face.colour = colour;
        for (const int vertex : corners)
            face.corners.push_back({vertex, -1});
        mesh.addFace(std::move(face));
    }
}

}  // namespace vokta
