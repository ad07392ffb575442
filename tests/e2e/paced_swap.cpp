// Preloaded into the game by the sound test: after each buffer swap, waits for the next
// tick of a 60 Hz clock, as a monitor's refresh would. Under Xvfb nothing else paces the
// frames, and the animation then runs as fast as the frames are drawn.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <unistd.h>

#include <ctime>

namespace {

using SwapFunction = void (*)(Display*, GLXDrawable);

constexpr long long Refresh = 1000000000LL / 60;  // nanoseconds

long long nanosNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

}  // namespace

// Stands in for libGL's glXSwapBuffers; freeglut's glutSwapBuffers calls it by name.
extern "C" __attribute__((visibility("default"))) void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static const auto realSwap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    if (!realSwap) _exit(97);
    realSwap(display, drawable);
    const long long next = (nanosNow() / Refresh + 1) * Refresh;
    const timespec until{static_cast<time_t>(next / 1000000000LL), static_cast<long>(next % 1000000000LL)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) != 0) {
    }
}
