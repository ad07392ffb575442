// The window's pixels as the X server holds them, fetched with XGetImage on the GL's
// current drawable and turned into bottom-up RGB rows.
#include "tests/render/window_readback.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstddef>
#include <cstdint>

namespace rt {

namespace {

int maskShift(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// XGetImage fails with an X error, which ends the process, unless the whole rectangle
// is on the screen and the window is mapped.
bool wholeWindowOnScreen(Display* display, Window window, int width, int height) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return false;
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child);
    return x >= 0 && y >= 0 && x + width <= WidthOfScreen(attributes.screen) &&
           y + height <= HeightOfScreen(attributes.screen);
}

}  // namespace

bool readWindowPixels(int width, int height, unsigned char* rgb) {
    Display* display = glXGetCurrentDisplay();
    if (!display) return false;
    const Window window = glXGetCurrentDrawable();
    if (!wholeWindowOnScreen(display, window, width, height)) return false;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image) return false;
    if (image->bits_per_pixel != 32) {
        XDestroyImage(image);
        return false;
    }
    const int rs = maskShift(image->red_mask);
    const int gs = maskShift(image->green_mask);
    const int bs = maskShift(image->blue_mask);
    const size_t w = static_cast<size_t>(width);
    for (int y = 0; y < height; ++y) {
        // X counts rows from the top, the GL from the bottom.
        const size_t xRow = static_cast<size_t>(height - 1 - y);
        const auto* row =
            reinterpret_cast<const uint32_t*>(image->data + xRow * static_cast<size_t>(image->bytes_per_line));
        unsigned char* out = rgb + static_cast<size_t>(y) * w * 3;
        for (size_t x = 0; x < w; ++x) {
            const unsigned long p = row[x];
            out[x * 3 + 0] = static_cast<unsigned char>((p & image->red_mask) >> rs);
            out[x * 3 + 1] = static_cast<unsigned char>((p & image->green_mask) >> gs);
            out[x * 3 + 2] = static_cast<unsigned char>((p & image->blue_mask) >> bs);
        }
    }
    XDestroyImage(image);
    return true;
}

}  // namespace rt
