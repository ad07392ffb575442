// The window, the quiet console and the between-step checks shared by the stress
// tests and the benchmarks.
#include "tests/stress/gl_session.h"

#include <GL/freeglut.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/game_state.h"
#include "render/render.h"

#ifndef SLOT_STAGE_DIR
#define SLOT_STAGE_DIR "."
#endif

namespace {

int pinModule(dl_phdr_info* info, size_t, void*) {
    if (info->dlpi_name && info->dlpi_name[0]) dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}

// Mesa unloads its driver at exit, before the leak checker runs, and the leaks of a
// module that is gone can neither be named nor suppressed. Pinned, every library the
// window brought in stays mapped, and what it keeps matches tests/lsan.supp by name,
// while a leak of ours still shows.
void pinLoadedModules() {
    if (UnderSanitizer) dl_iterate_phdr(pinModule, nullptr);
}

}  // namespace

void openGameWindow(int width, int height) {
    // freeglut starts once per process: a second session shares the first's window.
    static bool opened = false;
    if (opened) {
        QuietStdout quiet;
        onReshape(width, height);
        return;
    }
    opened = true;
    static char name[] = "slot-session";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(width, height);
    glutInitWindowPosition(WindowX, WindowY);
    game.windowId = glutCreateWindow(WindowTitle);

    const char* pictures = std::getenv("SLOT_PICTURE_DIR");
    if (!pictures || !*pictures) pictures = SLOT_STAGE_DIR;
    if (chdir(pictures) != 0) {
        std::fprintf(stderr, "cannot enter the pictures' folder %s\n", pictures);
        std::exit(2);
    }
    {
        QuietStdout quiet;
        startGame();
        // The window system's first reshape arrives once the window is mapped.
        for (int i = 0; i < 200 && game.windowWidth == 0; ++i) {
            glutMainLoopEvent();
            if (game.windowWidth == 0) usleep(1000);
        }
        onReshape(width, height);
    }
    pinLoadedModules();
}

void pumpEvents() { glutMainLoopEvent(); }

QuietStdout::QuietStdout() : saved_(-1) {
    std::fflush(stdout);
    const int sink = open("/dev/null", O_WRONLY);
    if (sink < 0) return;
    saved_ = dup(STDOUT_FILENO);
    dup2(sink, STDOUT_FILENO);
    close(sink);
}

QuietStdout::~QuietStdout() {
    std::fflush(stdout);
    if (saved_ < 0) return;
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
}

size_t residentBytes() {
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    unsigned long pages = 0;
    unsigned long resident = 0;
    const int read = std::fscanf(statm, "%lu %lu", &pages, &resident);
    std::fclose(statm);
    if (read != 2) return 0;
    return static_cast<size_t>(resident) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

bool projectionFinite() {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    for (double v : m)
        if (!std::isfinite(v)) return false;
    return true;
}

const char* stateViolation() {
    if (game.credits < 0) return "credits below zero";
    if (game.bet != 0 && game.bet != StakeOne && game.bet != StakeFive) return "a stake other than 0, 1 or 5";
    for (int32_t stop : game.reelStop) {
        bool known = stop == 0;
        for (int32_t s : ReelStops) known = known || stop == s;
        if (!known) return "a reel stop that is none of the four";
    }
    return nullptr;
}

bool windowPointOf(double x, double y, double z, int* windowX, int* windowY) {
    GLdouble modelView[16];
    GLdouble projection[16];
    GLint viewport[4];
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    applyDisplayCamera();
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glPopMatrix();
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx = 0;
    GLdouble wy = 0;
    GLdouble wz = 0;
    if (gluProject(x, y, z, modelView, projection, viewport, &wx, &wy, &wz) != GL_TRUE) return false;
    *windowX = static_cast<int>(std::lround(wx));
    *windowY = viewport[3] - static_cast<int>(std::lround(wy));
    return true;
}

bool leverKnobPoint(int* windowX, int* windowY) {
    // The lever's frame is scaled by 1.5 and moved to (1.35, -0.65); the knob sits 1.5
    // up the shaft, which stands upright at rest.
    const double scale = 1.5;
    return windowPointOf(scale * 1.35, scale * (-0.65 + 1.5), 0.0, windowX, windowY);
}
