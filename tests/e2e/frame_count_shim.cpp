// Preloaded into the game by the end-to-end tests: counts the frames it shows. After
// every buffer swap the count is written, as one line, over the start of the file named
// by SLOT_FRAME_COUNT_FILE.
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

using SwapFunction = void (*)(Display*, GLXDrawable);

// The file, opened at the first swap; -1 when none is named or it cannot be opened.
int countFile() {
    static const int fd = [] {
        const char* path = std::getenv("SLOT_FRAME_COUNT_FILE");
        return path && *path ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600) : -1;
    }();
    return fd;
}

}  // namespace

// Stands in for libGL's glXSwapBuffers; freeglut's glutSwapBuffers calls it by name.
extern "C" __attribute__((visibility("default"))) void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static const auto realSwap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    static unsigned long long swaps = 0;
    if (realSwap) realSwap(display, drawable);
    ++swaps;
    const int fd = countFile();
    if (fd < 0) return;
    // Fixed width, so each write covers the last whole and a reader sees one number.
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%20llu\n", swaps);
    // A count that cannot be written reads as stale: the test sees no frame at all.
    if (length > 0 && pwrite(fd, line, static_cast<size_t>(length), 0) != length) return;
}
