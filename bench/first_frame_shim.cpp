// Preloaded into a program by bench/first_frame.sh: when the first frame is shown (by a
// buffer swap, or by a copy of the back buffer to the front), once it is drawn and the
// X server holds it, writes the wall-clock time in microseconds to the file named by
// SLOT_FIRST_FRAME_FILE and ends the process.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "tests/e2e/present_hooks.h"

namespace {

const char* const StampFileVariable = "SLOT_FIRST_FRAME_FILE";
const int FailedStatus = 97;  // the harness reads a missing stamp as a failed start

using SwapFunction = void (*)(Display*, GLXDrawable);

// Writes the time as decimal microseconds since the epoch, the clock bash's
// EPOCHREALTIME reads before the harness starts the program.
bool writeStamp(const char* path) {
    timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    char text[32];
    const long long micros = static_cast<long long>(now.tv_sec) * 1000000LL + now.tv_nsec / 1000;
    const int length = std::snprintf(text, sizeof text, "%lld\n", micros);
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool written = length > 0 && write(fd, text, static_cast<size_t>(length)) == length;
    return close(fd) == 0 && written;
}

// Shows the first frame with `show`, then notes the time and ends the process; later
// frames (there are none while a stamp is asked for) are shown as they come.
template <typename Show>
void showFirstFrame(Display* display, Show show) {
    const char* path = std::getenv(StampFileVariable);
    if (!path || !*path) return show();
    glFinish();  // every piece of the frame rasterized before it is shown
    show();
    XSync(display, False);  // the server has put the picture in the window
    _exit(writeStamp(path) ? 0 : FailedStatus);
}

}  // namespace

// Stands in for libGL's glXSwapBuffers; freeglut's glutSwapBuffers calls it by name.
extern "C" __attribute__((visibility("default"))) void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static const auto realSwap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    if (!realSwap) _exit(FailedStatus);
    showFirstFrame(display, [&] { realSwap(display, drawable); });
}

void copiedSubBuffer(Display* display, GLXDrawable drawable, int x, int y, int width, int height,
                     CopySubBufferFunction copy) {
    if (!copy) _exit(FailedStatus);
    showFirstFrame(display, [&] { copy(display, drawable, x, y, width, height); });
}
