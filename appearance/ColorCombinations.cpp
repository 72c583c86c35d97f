#include "ColorCombinations.h"

#include <array>

namespace appearance {

namespace {

struct Rgb {
    int red, green, blue;
    int setting() const { return red + 256 * green + 65536 * blue; }
};

// Main background, major title, minor title, edit background, edit text, radio text.
struct Combination {
    const char* name;
    std::array<Rgb, 6> colors;
};

const std::array<Combination, 12> kCombinations = {{
    {"Monochrome", {{{255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}}}},
    {"Gray Mist", {{{192, 192, 192}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}}}},
    {"Midnight Black", {{{0, 0, 0}, {192, 192, 192}, {255, 255, 255}, {127, 127, 127}, {0, 0, 0}, {255, 255, 255}}}},
    {"Desert Sunset", {{{255, 255, 128}, {0, 0, 0}, {0, 0, 0}, {255, 255, 0}, {0, 0, 0}, {0, 0, 0}}}},
    {"Easter Pastel", {{{255, 128, 255}, {0, 0, 255}, {0, 0, 0}, {128, 0, 128}, {0, 255, 255}, {0, 0, 0}}}},
    {"Ocean Blue", {{{0, 255, 255}, {255, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 128}, {0, 0, 0}}}},
    {"Fiery Red", {{{255, 0, 0}, {0, 0, 128}, {0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 0}}}},
    {"Christmas Season", {{{0, 255, 0}, {255, 255, 255}, {255, 0, 0}, {255, 0, 0}, {255, 255, 255}, {255, 0, 0}}}},
    {"Wine", {{{128, 0, 64}, {255, 0, 0}, {255, 0, 255}, {128, 0, 128}, {255, 0, 0}, {255, 0, 255}}}},
    {"More Pastels", {{{0, 255, 128}, {255, 0, 255}, {128, 0, 128}, {0, 255, 255}, {0, 0, 255}, {128, 0, 128}}}},
    {"Green Glow", {{{0, 0, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 0, 0}, {0, 255, 0}}}},
    {"Camouflage", {{{128, 128, 0}, {0, 128, 0}, {127, 127, 127}, {0, 128, 128}, {192, 192, 192}, {127, 127, 127}}}},
}};

} // namespace

QStringList combinationNames()
{
    QStringList names{QString()};
    for (const Combination& c : kCombinations)
        names << QString::fromLatin1(c.name);
    return names;
}

app::ColorSet applyCombination(const app::ColorSet& set, int index)
{
    if (index < 1 || index > static_cast<int>(kCombinations.size()))
        return set;
    const std::array<Rgb, 6>& c = kCombinations[static_cast<size_t>(index - 1)].colors;
    app::ColorSet out = set;
    out[app::MainBackground] = c[0].setting();
    out[app::MajorTitle] = c[1].setting();
    out[app::MinorTitle] = c[2].setting();
    out[app::EditBackground] = c[3].setting();
    out[app::EditText] = c[4].setting();
    out[app::RadioText] = c[5].setting();
    // The others follow: lists and combo boxes look like edit boxes, radio
    // buttons and check boxes sit on the window's background.
    out[app::ComboBackground] = out[app::ListBoxBackground] = out[app::EditBackground];
    out[app::ComboText] = out[app::ListBoxText] = out[app::EditText];
    out[app::RadioBackground] = out[app::CheckBackground] = out[app::MainBackground];
    out[app::CheckText] = out[app::RadioText];
    return out;
}

} // namespace appearance
