// Sizing the window for the desktop's scale, and fitting it into the screen's work area
// with the window manager's frame.
#include "app/window_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/game_state.h"

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

ScreenRect scaleForDesktop(const ScreenRect& wanted, const std::string& xftDpi) {
    const char* text = xftDpi.c_str();
    char* end = nullptr;
    const double dpi = std::strtod(text, &end);
    while (*end == ' ' || *end == '\t') ++end;
    if (end == text || *end != '\0' || !std::isfinite(dpi) || dpi <= 0.0) return wanted;
    const double scale = std::clamp(dpi, MinDpi, MaxDpi) / BaseDpi;
    auto side = [scale](int length) { return std::max(1, static_cast<int>(std::lround(length * scale))); };
    return {wanted.x, wanted.y, side(wanted.width), side(wanted.height)};
}

std::string glutDisplayOption(int argc, const char* const* argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-display") == 0) return argv[i + 1];
    return "";
}
