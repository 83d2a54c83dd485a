// The distinct palette checked as people see it: the colours converted to
// CIELAB, for normal vision and as Machado, Oliveira and Fernandes (2009)
// simulate the three dichromacies at severity 1.0 in linear RGB, and compared
// by CIEDE2000.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "puzzle/rules/palette.h"

namespace vokta {
namespace {

using Matrix3 = std::array<std::array<double, 3>, 3>;

struct Vision {
    const char* name;
    Matrix3 simulation;
};

const Vision kVisions[] = {
    {"normal", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
    {"protanopia",
     {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}}},
    {"deuteranopia",
     {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}}},
    {"tritanopia",
     {{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}}},
};

struct Lab {
    double l, a, b;
};

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

double degrees(double radians)
{
    return radians * 180.0 / std::numbers::pi;
}

// A hue angle in degrees, 0 to 360.
double hueAngle(double b, double a)
{
    const double angle = degrees(std::atan2(b, a));
    return angle < 0 ? angle + 360.0 : angle;
}

double toLinear(int channel)
{
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

// The colour (its alpha ignored) as a viewer of vision sees it, in CIELAB
// under D65.
Lab toLab(Colour colour, const Vision& vision)
{
    const double rgb[] = {toLinear(colour >> 16 & 0xFF), toLinear(colour >> 8 & 0xFF), toLinear(colour & 0xFF)};
    double seen[3];
    for (int i = 0; i < 3; ++i) {
        const auto& row = vision.simulation[static_cast<std::size_t>(i)];
        seen[i] = std::clamp(row[0] * rgb[0] + row[1] * rgb[1] + row[2] * rgb[2], 0.0, 1.0);
    }
    const double x = 0.4124564 * seen[0] + 0.3575761 * seen[1] + 0.1804375 * seen[2];
    const double y = 0.2126729 * seen[0] + 0.7151522 * seen[1] + 0.0721750 * seen[2];
    const double z = 0.0193339 * seen[0] + 0.1191920 * seen[1] + 0.9503041 * seen[2];
    const auto f = [](double t) {
        constexpr double kDelta = 6.0 / 29.0;
        return t > kDelta * kDelta * kDelta ? std::cbrt(t) : t / (3 * kDelta * kDelta) + 4.0 / 29.0;
    };
    const double fx = f(x / 0.95047), fy = f(y), fz = f(z / 1.08883);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

// CIEDE2000 as Sharma, Wu and Dalal (2005) set it out.
double deltaE2000(Lab one, Lab two)
{
    const double c7 = std::pow((std::hypot(one.a, one.b) + std::hypot(two.a, two.b)) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(c7 / (c7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * one.a, a2 = (1 + g) * two.a;
    const double c1 = std::hypot(a1, one.b), c2 = std::hypot(a2, two.b);
    const double h1 = c1 == 0 ? 0 : hueAngle(one.b, a1), h2 = c2 == 0 ? 0 : hueAngle(two.b, a2);
    double dh = 0;
    if (c1 * c2 != 0) {
        dh = h2 - h1;
        if (dh > 180)
            dh -= 360;
        else if (dh < -180)
            dh += 360;
    }
    const double dL = two.l - one.l, dC = c2 - c1;
    const double dH = 2 * std::sqrt(c1 * c2) * std::sin(radians(dh / 2));
    const double meanL = (one.l + two.l) / 2, meanC = (c1 + c2) / 2;
    double meanH = h1 + h2;
    if (c1 * c2 != 0)
        meanH = std::abs(h1 - h2) <= 180 ? (h1 + h2) / 2 : (h1 + h2 + (h1 + h2 < 360 ? 360 : -360)) / 2;
    const double t = 1 - 0.17 * std::cos(radians(meanH - 30)) + 0.24 * std::cos(radians(2 * meanH)) +
        0.32 * std::cos(radians(3 * meanH + 6)) - 0.20 * std::cos(radians(4 * meanH - 63));
    const double rotation = 30 * std::exp(-std::pow((meanH - 275) / 25, 2));
    const double meanC7 = std::pow(meanC, 7);
    const double rC = 2 * std::sqrt(meanC7 / (meanC7 + std::pow(25.0, 7)));
    const double sL = 1 + 0.015 * (meanL - 50) * (meanL - 50) / std::sqrt(20 + (meanL - 50) * (meanL - 50));
    const double sC = 1 + 0.045 * meanC, sH = 1 + 0.015 * meanC * t;
    const double rT = -std::sin(radians(2 * rotation)) * rC;
    return std::sqrt(std::pow(dL / sL, 2) + std::pow(dC / sC, 2) + std::pow(dH / sH, 2) + rT * (dC / sC) * (dH / sH));
}

// The ten colours a player must tell apart, named for the messages.
std::vector<std::pair<std::string, Colour>> tenColours(const Palette& palette)
{
    std::vector<std::pair<std::string, Colour>> colours;
    for (const PieceColour& piece : palette.pieces)
        colours.emplace_back(std::string(piece.name), piece.colour);
    colours.emplace_back("selection", palette.selection);
    colours.emplace_back("floor", palette.floor);
    colours.emplace_back("background", palette.background);
    return colours;
}

// The smallest difference of any two of the ten in any vision.
double smallestDifference(const Palette& palette)
{
    const auto colours = tenColours(palette);
    double smallest = 1e9;
    for (const Vision& vision : kVisions) {
        for (std::size_t i = 0; i < colours.size(); ++i) {
            for (std::size_t j = i + 1; j < colours.size(); ++j)
                smallest =
                    std::min(smallest, deltaE2000(toLab(colours[i].second, vision), toLab(colours[j].second, vision)));
        }
    }
    return smallest;
}

double hueOf(Colour colour)
{
    const Lab lab = toLab(colour, kVisions[0]);
    return hueAngle(lab.b, lab.a);
}

TEST(PaletteTest, CiedeTwoThousandMatchesPublishedPairs)
{
    // Sharma, Wu and Dalal (2005), table 1, pairs 1, 7, 9, 17 and 25.
    struct Pair {
        Lab one, two;
        double difference;
    };
    const Pair pairs[] = {
        {{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
        {{50, 0, 0}, {50, -1, 2}, 2.3669},
        {{50, 2.49, -0.001}, {50, -2.49, 0.0009}, 7.1792},
        {{50, 2.5, 0}, {73, 25, -18}, 27.1492},
        {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
    };
    for (const Pair& pair : pairs) {
        EXPECT_NEAR(deltaE2000(pair.one, pair.two), pair.difference, 1e-4);
        EXPECT_NEAR(deltaE2000(pair.two, pair.one), pair.difference, 1e-4);
    }
}

TEST(PaletteTest, TheDistinctColoursStayApartInEveryVisionAndTheFloorHasAHueOfItsOwn)
{
    constexpr double kLeastDifference = 12;
    constexpr double kLeastHueGap = 30;
    const auto colours = tenColours(kDistinctPalette);
    for (const Vision& vision : kVisions) {
        for (std::size_t i = 0; i < colours.size(); ++i) {
            for (std::size_t j = i + 1; j < colours.size(); ++j) {
                EXPECT_GE(deltaE2000(toLab(colours[i].second, vision), toLab(colours[j].second, vision)),
                          kLeastDifference)
                    << colours[i].first << " and " << colours[j].first << ", " << vision.name;
            }
        }
    }
    for (const PieceColour& piece : kDistinctPalette.pieces) {
        const double gap = std::abs(hueOf(kDistinctPalette.floor) - hueOf(piece.colour));
        EXPECT_GE(std::min(gap, 360 - gap), kLeastHueGap) << piece.name;
    }
    const Colour selection = kDistinctPalette.selection;
    EXPECT_TRUE((selection >> 16 & 0xFF) == (selection & 0xFF) && (selection >> 8 & 0xFF) == (selection & 0xFF))
        << "a grey";
    EXPECT_EQ(selection >> 24, kOriginalPalette.selection >> 24) << "as transparent as ever";

    // The checks can fail: the original colours do, reds and greens run
    // together, and the yellow piece lies on a yellow floor.
    EXPECT_LT(smallestDifference(kOriginalPalette), kLeastDifference);
    EXPECT_LT(std::abs(hueOf(kOriginalPalette.floor) - hueOf(kOriginalPalette.pieces[3].colour)), 1.0);

    for (const Palette* palette : {&kOriginalPalette, &kDistinctPalette}) {
        std::set<std::string_view> names;
        for (const PieceColour& piece : palette->pieces)
            names.insert(piece.name);
        EXPECT_EQ(names.size(), palette->pieces.size()) << "every piece has a name of its own";
    }
}

TEST(PaletteTest, NumbersAreInkedBlackOrWhiteWhicheverStandsOutMore)
{
    // Relative luminance 0.179 has equal contrast with both inks.
    const std::pair<Colour, Colour> inks[] = {
        {0xFFFFFF00, 0xFF000000},  // yellow, luminance 0.93
        {0xFF0000FF, 0xFFFFFFFF},  // blue, 0.07
        {0xFF767676, 0xFF000000},  // grey 118, 0.181
        {0xFF757575, 0xFFFFFFFF},  // grey 117, 0.178
        {0xFFFF0000, 0xFF000000},  // red, 0.213
        {0xFF000000, 0xFFFFFFFF},
    };
    for (const auto& [colour, ink] : inks)
        EXPECT_EQ(numberInk(colour), ink) << std::hex << colour;
}

}  // namespace
}  // namespace vokta
