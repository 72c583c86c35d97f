#pragma once

namespace app {

// The screen size chosen in Options, Screen Size (640, 800, 1024 or 1280)
// and the scale factor the other windows use: 1.0, 1.25, 1.6 or 2.0 when the
// screen is at least that large, else 1.0 shown as the 640 x 480 item.
struct ScreenScale {
    double factor = 1.0;
    int tickedSize = 640;
};

ScreenScale screenScaleFor(int windowSize, int screenWidth, int screenHeight);
// The smallest screen a size needs (0 x 0 for 640).
bool screenFits(int size, int screenWidth, int screenHeight);
double scaleFactorOf(int size);

} // namespace app
