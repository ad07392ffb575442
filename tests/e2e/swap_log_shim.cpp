// Preloaded by the frame-counting test and bench/refresh.py: holds each frame shown to
// the next tick of an emulated display refresh of SLOT_REFRESH_HZ (none when unset or
// 0), as a swap tied to a monitor's refresh would wait, and logs every frame to the file
// named by SLOT_SWAP_LOG: the monotonic time in microseconds once it was shown, the
// frame's number, and a hash of each window region listed in SLOT_WATCH ("x,y,w,h;..."
// in GL window pixels, origin bottom left), read from the frame before it is shown.
// A frame is shown by a buffer swap, or by the copies of rectangles of the back buffer
// to the front that follow the drawing of a frame (the glClear calls it begins with).
#include <GL/gl.h>
#include <GL/glx.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <numeric>
#include <vector>

#include "tests/e2e/present_hooks.h"

namespace {

using SwapFunction = void (*)(Display*, GLXDrawable);

struct Watched {
    int x, y, width, height;
};

struct Setup {
    int64_t periodNs = 0;  // 0: no refresh to wait for
    std::FILE* log = nullptr;
    std::vector<Watched> regions;
};

int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

const Setup& setup() {
    static const Setup s = [] {
        Setup out;
        if (const char* hz = std::getenv("SLOT_REFRESH_HZ")) {
            const double rate = std::atof(hz);
            if (rate > 0.0) out.periodNs = static_cast<int64_t>(1e9 / rate);
        }
        if (const char* path = std::getenv("SLOT_SWAP_LOG")) out.log = std::fopen(path, "w");
        if (const char* watch = std::getenv("SLOT_WATCH")) {
            Watched r{};
            int used = 0;
            while (std::sscanf(watch, "%d,%d,%d,%d%n", &r.x, &r.y, &r.width, &r.height, &used) == 4) {
                if (r.width > 0 && r.height > 0) out.regions.push_back(r);
                watch += used;
                if (*watch != ';') break;
                ++watch;
            }
        }
        return out;
    }();
    return s;
}

// FNV-1a over the region's RGB bytes in the buffer about to be shown.
uint64_t regionHash(const Watched& r) {
    static std::vector<unsigned char> pixels;
    pixels.resize(static_cast<size_t>(r.width) * static_cast<size_t>(r.height) * 3);
    glReadPixels(r.x, r.y, r.width, r.height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return std::accumulate(pixels.begin(), pixels.end(), 1469598103934665603ULL,
                           [](uint64_t hash, unsigned char byte) { return (hash ^ byte) * 1099511628211ULL; });
}

// Sleeps until the next tick of the emulated refresh.
void waitForRefresh(int64_t periodNs) {
    const int64_t next = (monotonicNs() / periodNs + 1) * periodNs;
    const timespec until{static_cast<time_t>(next / 1000000000LL), static_cast<long>(next % 1000000000LL)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) != 0) {
    }
}

// The frames shown so far, and whether one was drawn since the last was shown.
struct Frames {
    unsigned long long shown = 0;
    bool drawn = true;
};

Frames frames;

// The hashes of the watched regions of the frame about to be shown, then the wait for
// the refresh.
std::vector<uint64_t> beforeShowing() {
    const Setup& s = setup();
    std::vector<uint64_t> hashes;
    if (s.log && !s.regions.empty()) {
        GLint alignment = 4;
        glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        hashes.resize(s.regions.size());
        std::transform(s.regions.begin(), s.regions.end(), hashes.begin(), regionHash);
        glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    }
    if (s.periodNs > 0) waitForRefresh(s.periodNs);
    return hashes;
}

void logShown(const std::vector<uint64_t>& hashes) {
    ++frames.shown;
    frames.drawn = false;
    const Setup& s = setup();
    if (!s.log) return;
    std::fprintf(s.log, "%lld %llu", static_cast<long long>(monotonicNs() / 1000), frames.shown);
    for (uint64_t h : hashes) std::fprintf(s.log, " %016llx", static_cast<unsigned long long>(h));
    std::fputc('\n', s.log);
    std::fflush(s.log);
}

}  // namespace

// Stands in for libGL's glXSwapBuffers; freeglut's glutSwapBuffers calls it by name.
extern "C" __attribute__((visibility("default"))) void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static const auto realSwap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    const std::vector<uint64_t> hashes = beforeShowing();
    if (realSwap) realSwap(display, drawable);
    logShown(hashes);
}

// Every frame is drawn from a clear: the copies after one show one frame.
extern "C" __attribute__((visibility("default"))) void glClear(GLbitfield mask) {
    static const auto realClear = reinterpret_cast<void (*)(GLbitfield)>(dlsym(RTLD_NEXT, "glClear"));
    frames.drawn = true;
    if (realClear) realClear(mask);
}

void copiedSubBuffer(Display* display, GLXDrawable drawable, int x, int y, int width, int height,
                     CopySubBufferFunction copy) {
    const bool first = frames.drawn;
    std::vector<uint64_t> hashes;
    if (first) hashes = beforeShowing();
    if (copy) copy(display, drawable, x, y, width, height);
    if (first) logShown(hashes);
}
