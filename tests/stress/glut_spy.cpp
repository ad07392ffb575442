// The wrapped glutTimerFunc and glutIdleFunc behind glut_spy.h.
#include "tests/stress/glut_spy.h"

#include <GL/freeglut.h>

#include <array>
#include <cstdlib>

#include "game/play.h"

namespace {

// Each arming the game makes holds a slot until it fires; freeglut is handed the slot's
// number in place of the game's value, and countedFiring passes the game's on.
struct Arming {
    void (*callback)(int);
    int value;
};
std::array<Arming, 64> armings{};
int chainPending = 0;
int stepPending = 0;
long firings = 0;
void (*idleCallback)() = nullptr;

bool isChain(const Arming& arming) { return arming.callback == onTimer; }

int& pendingOf(const Arming& arming) { return isChain(arming) ? chainPending : stepPending; }

void countedFiring(int slot) {
    const Arming arming = armings[static_cast<size_t>(slot)];
    armings[static_cast<size_t>(slot)].callback = nullptr;
    --pendingOf(arming);
    if (isChain(arming)) ++firings;
    arming.callback(arming.value);
}
}  // namespace

// The linker fixes the __real_ and __wrap_ names.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" {
void __real_glutTimerFunc(unsigned int ms, void (*callback)(int), int value);
void __real_glutIdleFunc(void (*callback)());

void __wrap_glutTimerFunc(unsigned int ms, void (*callback)(int), int value) {
    size_t slot = 0;
    while (slot < armings.size() && armings[slot].callback) ++slot;
    if (slot == armings.size()) std::abort();  // timers piled up beyond any count the checks allow
    armings[slot] = {callback, value};
    ++pendingOf(armings[slot]);
    __real_glutTimerFunc(ms, countedFiring, static_cast<int>(slot));
}

void __wrap_glutIdleFunc(void (*callback)()) {
    idleCallback = callback;
    __real_glutIdleFunc(callback);
}
}
// NOLINTEND(bugprone-reserved-identifier)

int pendingTimers() { return chainPending; }

int pendingStepTimers() { return stepPending; }

long timerFirings() { return firings; }

void runLoopOnce() {
    glutMainLoopEvent();
    if (idleCallback) idleCallback();
}
