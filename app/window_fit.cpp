// Sizing the window for the desktop's scale, choosing the monitor it opens on, and fitting
// it into that monitor's share of the work area with the window manager's frame.
#include "app/window_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

ScreenRect intersection(const ScreenRect& a, const ScreenRect& b) {
    const int left = std::max(a.x, b.x);
    const int top = std::max(a.y, b.y);
    const int right = std::min(a.x + a.width, b.x + b.width);
    const int bottom = std::min(a.y + a.height, b.y + b.height);
    if (right <= left || bottom <= top) return {left, top, 0, 0};
    return {left, top, right - left, bottom - top};
}

// How far (x, y) lies from `r`, squared; 0 inside it.
static int64_t distanceSquared(const ScreenRect& r, int x, int y) {
    const int64_t dx = x < r.x ? r.x - x : (x >= r.x + r.width ? x - (r.x + r.width - 1) : 0);
    const int64_t dy = y < r.y ? r.y - y : (y >= r.y + r.height ? y - (r.y + r.height - 1) : 0);
    return dx * dx + dy * dy;
}

ScreenRect monitorAt(const std::vector<ScreenRect>& monitors, int x, int y) {
    const ScreenRect* nearest = &monitors.front();
    for (const ScreenRect& monitor : monitors)
        if (distanceSquared(monitor, x, y) < distanceSquared(*nearest, x, y)) nearest = &monitor;
    return *nearest;
}

ScreenRect fitWindowOnMonitor(const ScreenRect& wanted, const std::vector<ScreenRect>& monitors,
                              const ScreenRect& workArea, const FrameExtents& frame) {
    if (monitors.empty()) return fitWindow(wanted, workArea, frame);
    const ScreenRect monitor = monitorAt(monitors, wanted.x, wanted.y);
    // _NET_WORKAREA is one rectangle for the whole desktop: what it leaves of the monitor.
    const ScreenRect share = intersection(monitor, workArea);
    return fitWindow(wanted, share.width > 0 ? share : monitor, frame);
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
