#pragma once

// Legible text in every color combination: the contrast of two colors as the
// Web Content Accessibility Guidelines measure it, and a text color moved
// just far enough toward black or white to be read on its background.

namespace app {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The contrast a text needs on its background: 4.5 to 1.
constexpr double kLegibleContrast = 4.5;

// The relative luminance of a color, 0 (black) to 1 (white).
double relativeLuminance(Rgb color);
// From 1 (the same color) to 21 (black on white).
double contrastRatio(Rgb a, Rgb b);
// The text color itself when it reaches `least` on the background; else the
// color mixed with black or with white, whichever needs less of it, as little
// as reaches `least` (so a red stays a red, only darker or lighter).
Rgb legibleOn(Rgb text, Rgb background, double least = kLegibleContrast);

} // namespace app
