// The contrast of text on its background: the measure against published
// figures, and a text moved only as far as it must, toward black or white.
#include "Contrast.h"

#include <gtest/gtest.h>

#include <random>

using app::Rgb;

TEST(Contrast, RatiosAreThoseTheGuidelinesPublish)
{
    EXPECT_NEAR(app::contrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
    EXPECT_NEAR(app::contrastRatio({255, 255, 255}, {255, 255, 255}), 1.0, 1e-9);
    EXPECT_NEAR(app::contrastRatio({118, 118, 118}, {255, 255, 255}), 4.54, 0.01); // the lightest grey that passes
    EXPECT_NEAR(app::contrastRatio({255, 255, 255}, {48, 140, 198}), 3.7, 0.05);    // Qt's own selection
    EXPECT_NEAR(app::contrastRatio({255, 0, 0}, {255, 255, 255}), 4.0, 0.01);
}

TEST(Contrast, ALegibleTextStaysAndAnIllegibleOneMovesJustEnough)
{
    EXPECT_EQ(app::legibleOn({0, 0, 0}, {255, 255, 128}), (Rgb{0, 0, 0}));
    const Rgb redOnGreen = app::legibleOn({255, 0, 0}, {0, 255, 0});
    EXPECT_GE(app::contrastRatio(redOnGreen, {0, 255, 0}), app::kLegibleContrast);
    EXPECT_GT(redOnGreen.red, 0) << "still a red";
    EXPECT_EQ(redOnGreen.green, 0);
    const Rgb greyOnBlack = app::legibleOn({80, 80, 80}, {0, 0, 0});
    EXPECT_GT(greyOnBlack.red, 80) << "lighter on black";
    EXPECT_LT(app::contrastRatio(greyOnBlack, {0, 0, 0}), 4.7) << "no lighter than it must";
    const Rgb blackOnBlack = app::legibleOn({0, 0, 0}, {0, 0, 0});
    EXPECT_GE(app::contrastRatio(blackOnBlack, {0, 0, 0}), app::kLegibleContrast);
    EXPECT_EQ(blackOnBlack.red, blackOnBlack.blue) << "a grey";
    // Any pair at all ends legible, the middle greys included.
    std::mt19937 random(3);
    for (int i = 0; i < 20000; ++i) {
        const Rgb text{int(random() % 256), int(random() % 256), int(random() % 256)};
        const Rgb back{int(random() % 256), int(random() % 256), int(random() % 256)};
        ASSERT_GE(app::contrastRatio(app::legibleOn(text, back), back), app::kLegibleContrast)
            << text.red << "," << text.green << "," << text.blue << " on " << back.red << "," << back.green << "," << back.blue;
    }
    for (int grey = 0; grey < 256; ++grey)
        ASSERT_GE(app::contrastRatio(app::legibleOn({grey, grey, grey}, {grey, grey, grey}), {grey, grey, grey}),
                  app::kLegibleContrast);
}
