#include "ColorCombinations.h"

#include <array>
#include <QCoreApplication>

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
    {QT_TRANSLATE_NOOP("appearance", "Monochrome"), {{{255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}}}},
    {QT_TRANSLATE_NOOP("appearance", "Gray Mist"), {{{192, 192, 192}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}}}},
    {QT_TRANSLATE_NOOP("appearance", "Midnight Black"), {{{0, 0, 0}, {192, 192, 192}, {255, 255, 255}, {127, 127, 127}, {0, 0, 0}, {255, 255, 255}}}},
    {QT_TRANSLATE_NOOP("appearance", "Desert Sunset"), {{{255, 255, 128}, {0, 0, 0}, {0, 0, 0}, {255, 255, 0}, {0, 0, 0}, {0, 0, 0}}}},
    {QT_TRANSLATE_NOOP("appearance", "Easter Pastel"), {{{255, 128, 255}, {0, 0, 255}, {0, 0, 0}, {128, 0, 128}, {0, 255, 255}, {0, 0, 0}}}},
    {QT_TRANSLATE_NOOP("appearance", "Ocean Blue"), {{{0, 255, 255}, {255, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 128}, {0, 0, 0}}}},
    {QT_TRANSLATE_NOOP("appearance", "Fiery Red"), {{{255, 0, 0}, {0, 0, 128}, {0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 0}}}},
    {QT_TRANSLATE_NOOP("appearance", "Christmas Season"), {{{0, 255, 0}, {255, 255, 255}, {255, 0, 0}, {255, 0, 0}, {255, 255, 255}, {255, 0, 0}}}},
    {QT_TRANSLATE_NOOP("appearance", "Wine"), {{{128, 0, 64}, {255, 0, 0}, {255, 0, 255}, {128, 0, 128}, {255, 0, 0}, {255, 0, 255}}}},
    {QT_TRANSLATE_NOOP("appearance", "More Pastels"), {{{0, 255, 128}, {255, 0, 255}, {128, 0, 128}, {0, 255, 255}, {0, 0, 255}, {128, 0, 128}}}},
    {QT_TRANSLATE_NOOP("appearance", "Green Glow"), {{{0, 0, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 0, 0}, {0, 255, 0}}}},
    {QT_TRANSLATE_NOOP("appearance", "Camouflage"), {{{128, 128, 0}, {0, 128, 0}, {127, 127, 127}, {0, 128, 128}, {192, 192, 192}, {127, 127, 127}}}},
}};

// The six colors of a set made whole, as every combination makes it.
app::ColorSet completed(app::ColorSet out)
{
    // The others follow: lists and combo boxes look like edit boxes, radio
    // buttons and check boxes sit on the window's background.
    out[app::ComboBackground] = out[app::ListBoxBackground] = out[app::EditBackground];
    out[app::ComboText] = out[app::ListBoxText] = out[app::EditText];
    out[app::RadioBackground] = out[app::CheckBackground] = out[app::MainBackground];
    out[app::CheckText] = out[app::RadioText];
    return out;
}

app::ColorSet fromSix(const app::ColorSet& set, const std::array<Rgb, 6>& c)
{
    app::ColorSet out = set;
    out[app::MainBackground] = c[0].setting();
    out[app::MajorTitle] = c[1].setting();
    out[app::MinorTitle] = c[2].setting();
    out[app::EditBackground] = c[3].setting();
    out[app::EditText] = c[4].setting();
    out[app::RadioText] = c[5].setting();
    return completed(out);
}

// Dark and light sets for a desktop preference the system palette does not match.
const std::array<Rgb, 6> kDark = {{{45, 45, 48}, {255, 255, 255}, {220, 220, 220}, {30, 30, 30}, {235, 235, 235}, {235, 235, 235}}};
const std::array<Rgb, 6> kLight = {{{240, 240, 240}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}}};

bool darkBackground(int setting)
{
    const int red = setting % 256, green = setting / 256 % 256, blue = setting / 65536 % 256;
    return red * 299 + green * 587 + blue * 114 < 128 * 1000;
}

} // namespace

QStringList combinationNames()
{
    QStringList names{QString()};
    for (const Combination& c : kCombinations)
        names << QCoreApplication::translate("appearance", c.name);
    return names << QCoreApplication::translate("appearance", "Follow the Desktop");
}

app::ColorSet desktopColorSet(DesktopScheme scheme, const app::ColorSet& systemPalette)
{
    if (scheme == DesktopScheme::Dark)
        return fromSix(systemPalette, kDark);
    if (scheme == DesktopScheme::Light && darkBackground(systemPalette[app::MainBackground]))
        return fromSix(systemPalette, kLight);
    return completed(systemPalette);
}

app::ColorSet applyCombination(const app::ColorSet& set, int index)
{
    if (index < 1 || index > static_cast<int>(kCombinations.size()))
        return set;
    return fromSix(set, kCombinations[static_cast<size_t>(index - 1)].colors);
}

} // namespace appearance
