// The wrapped glutTimerFunc and glutIdleFunc behind glut_spy.h.
#include "tests/stress/glut_spy.h"

#include <GL/freeglut.h>

namespace {
int pending = 0;
long firings = 0;
void (*timerTarget)(int) = nullptr;
void (*idleCallback)() = nullptr;

void countedFiring(int value) {
    --pending;
    ++firings;
    if (timerTarget) timerTarget(value);
}
}  // namespace

// The linker fixes the __real_ and __wrap_ names.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" {
void __real_glutTimerFunc(unsigned int ms, void (*callback)(int), int value);
void __real_glutIdleFunc(void (*callback)());

// The game arms one callback only (onTimer); every arming goes through countedFiring.
void __wrap_glutTimerFunc(unsigned int ms, void (*callback)(int), int value) {
    ++pending;
    timerTarget = callback;
    __real_glutTimerFunc(ms, countedFiring, value);
}

void __wrap_glutIdleFunc(void (*callback)()) {
    idleCallback = callback;
    __real_glutIdleFunc(callback);
}
}
// NOLINTEND(bugprone-reserved-identifier)

int pendingTimers() { return pending; }

long timerFirings() { return firings; }

void runLoopOnce() {
    glutMainLoopEvent();
    if (idleCallback) idleCallback();
}
