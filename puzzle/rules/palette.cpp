#include "puzzle/rules/palette.h"

#include <cmath>

namespace vokta {

namespace {

constexpr Colour kBlackInk = 0xFF000000;
constexpr Colour kWhiteInk = 0xFFFFFFFF;

// A channel of 0xAARRGGBB, from sRGB to linear light.
double linearChannel(Colour colour, int shift)
{
    const double value = static_cast<double>((colour >> shift) & 0xFF) / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

}  // namespace

Colour numberInk(Colour colour)
{
    // The relative luminance; the contrast ratios with black and with white,
    // (L + 0.05) / 0.05 and 1.05 / (L + 0.05), are equal where L is this.
    constexpr double kEvenLuminance = 0.179;
    const double luminance =
        0.2126 * linearChannel(colour, 16) + 0.7152 * linearChannel(colour, 8) + 0.0722 * linearChannel(colour, 0);
    return luminance > kEvenLuminance ? kBlackInk : kWhiteInk;
}

}  // namespace vokta
