// Fitting the window into the screen's work area with the window manager's frame.
#include "app/window_fit.h"

#include <algorithm>
#include <cstring>

// Places one side: `wanted` where the span fits there, else as near to it as the area
// allows, else at the area's start.
static int placeSpan(int wanted, int span, int areaStart, int areaLength) {
    const int last = areaStart + areaLength - span;
    return std::max(areaStart, std::min(wanted, last));
}

ScreenRect fitWindow(const ScreenRect& wanted, const ScreenRect& area, const FrameExtents& frame) {
    const int frameWidth = frame.left + frame.right;
    const int frameHeight = frame.top + frame.bottom;
    const bool holds = wanted.x >= area.x && wanted.y >= area.y &&
                       wanted.x + wanted.width + frameWidth <= area.x + area.width &&
                       wanted.y + wanted.height + frameHeight <= area.y + area.height;
    if (holds) return wanted;

    ScreenRect place = wanted;
    const int widest = area.width - frameWidth;
    const int tallest = area.height - frameHeight;
    if (wanted.width > widest || wanted.height > tallest) {
        const int side = std::max(1, std::min({wanted.width, wanted.height, widest, tallest}));
        place.width = side;
        place.height = side;
    }
    place.x = placeSpan(wanted.x, place.width + frameWidth, area.x, area.width);
    place.y = placeSpan(wanted.y, place.height + frameHeight, area.y, area.height);
    return place;
}

std::string glutDisplayOption(int argc, const char* const* argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-display") == 0) return argv[i + 1];
    return "";
}
