#include "Contrast.h"

#include <algorithm>
#include <cmath>

namespace app {

namespace {

double linear(int channel)
{
    const double c = std::clamp(channel, 0, 255) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Rgb mixed(Rgb from, Rgb to, double share)
{
    const auto mix = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return {mix(from.red, to.red), mix(from.green, to.green), mix(from.blue, to.blue)};
}

// The least share of `toward` (in steps of a hundredth) that makes text legible; above 1 when none does.
double shareNeeded(Rgb text, Rgb toward, Rgb background, double least)
{
    for (int step = 1; step <= 100; ++step)
        if (contrastRatio(mixed(text, toward, step / 100.0), background) >= least)
            return step / 100.0;
    return 2;
}

} // namespace

double relativeLuminance(Rgb color)
{
    return 0.2126 * linear(color.red) + 0.7152 * linear(color.green) + 0.0722 * linear(color.blue);
}

double contrastRatio(Rgb a, Rgb b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb legibleOn(Rgb text, Rgb background, double least)
{
    if (contrastRatio(text, background) >= least)
        return text;
    const Rgb black{0, 0, 0};
    const Rgb white{255, 255, 255};
    const double darker = shareNeeded(text, black, background, least);
    const double lighter = shareNeeded(text, white, background, least);
    if (darker > 1 && lighter > 1) // no background is that; but should one be, the better of the two
        return contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
    return darker <= lighter ? mixed(text, black, darker) : mixed(text, white, lighter);
}

} // namespace app
