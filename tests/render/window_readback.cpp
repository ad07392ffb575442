// The window's pixels as the X server holds them, fetched with XGetImage on the GL's
// current drawable and turned into bottom-up RGB rows.
#include "tests/render/window_readback.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

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

// An image in memory shared with the X server, which fills it without a copy through
// the connection: kept for the next read of a window of the same size.
struct SharedImage {
    XImage* image = nullptr;
    XShmSegmentInfo segment{};
};

SharedImage shared;

void releaseShared(Display* display) {
    if (!shared.image) return;
    XShmDetach(display, &shared.segment);
    XDestroyImage(shared.image);
    shmdt(shared.segment.shmaddr);
    shared.image = nullptr;
}

bool makeShared(Display* display, Window window, int width, int height) {
    XWindowAttributes attributes;
    if (!XShmQueryExtension(display) || !XGetWindowAttributes(display, window, &attributes)) return false;
    XImage* image =
        XShmCreateImage(display, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap, nullptr,
                        &shared.segment, static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!image) return false;
    const size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(image->height);
    shared.segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (shared.segment.shmid < 0) {
        XDestroyImage(image);
        return false;
    }
    void* memory = shmat(shared.segment.shmid, nullptr, 0);
    shared.segment.shmaddr = image->data = static_cast<char*>(memory);
    shared.segment.readOnly = False;
    const bool mapped = reinterpret_cast<intptr_t>(memory) != -1;  // shmat's failure
    const bool attached = mapped && XShmAttach(display, &shared.segment);
    XSync(display, False);
    shmctl(shared.segment.shmid, IPC_RMID, nullptr);  // gone once both sides let go
    if (!attached) {
        XDestroyImage(image);
        return false;
    }
    shared.image = image;
    return true;
}

// The window's pixels in an image of 32 bits a pixel: the shared one where the server
// offers it, else one of its own (`own`), which the caller destroys.
XImage* windowImage(int width, int height, bool* own) {
    *own = false;
    Display* display = glXGetCurrentDisplay();
    if (!display) return nullptr;
    const Window window = glXGetCurrentDrawable();
    if (!wholeWindowOnScreen(display, window, width, height)) return nullptr;
    if (shared.image && (shared.image->width != width || shared.image->height != height)) releaseShared(display);
    XImage* image = nullptr;
    if ((shared.image || makeShared(display, window, width, height)) &&
        XShmGetImage(display, window, shared.image, 0, 0, AllPlanes)) {
        image = shared.image;
    } else {
        image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes,
                          ZPixmap);
        *own = image != nullptr;
    }
    if (image && image->bits_per_pixel != 32) {
        if (*own) XDestroyImage(image);
        *own = false;
        return nullptr;
    }
    return image;
}

// Row `y` of the image as the GL counts rows, from the bottom (X counts from the top).
const uint32_t* glRow(const XImage* image, int height, int y) {
    const size_t xRow = static_cast<size_t>(height - 1 - y);
    return reinterpret_cast<const uint32_t*>(image->data + xRow * static_cast<size_t>(image->bytes_per_line));
}

}  // namespace

bool readWindowPixels(int width, int height, unsigned char* rgb) {
    bool own = false;
    XImage* image = windowImage(width, height, &own);
    if (!image) return false;
    const int rs = maskShift(image->red_mask);
    const int gs = maskShift(image->green_mask);
    const int bs = maskShift(image->blue_mask);
    const size_t w = static_cast<size_t>(width);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = glRow(image, height, y);
        unsigned char* out = rgb + static_cast<size_t>(y) * w * 3;
        for (size_t x = 0; x < w; ++x) {
            const unsigned long p = row[x];
            out[x * 3 + 0] = static_cast<unsigned char>((p & image->red_mask) >> rs);
            out[x * 3 + 1] = static_cast<unsigned char>((p & image->green_mask) >> gs);
            out[x * 3 + 2] = static_cast<unsigned char>((p & image->blue_mask) >> bs);
        }
    }
    if (own) XDestroyImage(image);
    return true;
}

bool readWindowColours(int width, int height, uint32_t* colours) {
    bool own = false;
    XImage* image = windowImage(width, height, &own);
    if (!image) return false;
    const bool direct = image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 && image->blue_mask == 0xFF;
    const int rs = maskShift(image->red_mask);
    const int gs = maskShift(image->green_mask);
    const int bs = maskShift(image->blue_mask);
    const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = glRow(image, height, y);
        uint32_t* out = colours + static_cast<size_t>(y) * static_cast<size_t>(width);
        if (direct) {
            for (int x = 0; x < width; ++x) out[x] = row[x] & 0xFFFFFFu;
        } else {
            for (int x = 0; x < width; ++x)
                out[x] = static_cast<uint32_t>((((row[x] & masks[0]) >> rs) << 16) |
                                               (((row[x] & masks[1]) >> gs) << 8) | ((row[x] & masks[2]) >> bs));
        }
    }
    if (own) XDestroyImage(image);
    return true;
}

}  // namespace rt
