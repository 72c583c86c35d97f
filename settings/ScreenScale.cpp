#include "ScreenScale.h"

namespace app {

namespace {
int heightFor(int size)
{
    switch (size) {
    case 800: return 600;
    case 1024: return 768;
    case 1280: return 1024;
    default: return 0;
    }
}
} // namespace

double scaleFactorOf(int size)
{
    switch (size) {
    case 800: return 1.25;
    case 1024: return 1.6;
    case 1280: return 2.0;
    default: return 1.0;
    }
}

bool screenFits(int size, int screenWidth, int screenHeight)
{
    if (size == 640)
        return true;
    const int height = heightFor(size);
    return height > 0 && screenWidth >= size && screenHeight >= height;
}

ScreenScale screenScaleFor(int windowSize, int screenWidth, int screenHeight)
{
    if (windowSize != 640 && screenFits(windowSize, screenWidth, screenHeight))
        return {scaleFactorOf(windowSize), windowSize};
    return {1.0, 640};
}

} // namespace app
