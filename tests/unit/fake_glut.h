// A recording stand-in for the few freeglut calls the game logic makes: timers run on
// a simulated millisecond clock, the idle callback is only remembered, redisplays,
// buffer swaps and fullscreen toggles are counted, and the fullscreen state is kept. Linked in place of freeglut by the
// unit tests.
#pragma once

#include <cstdint>
#include <vector>

namespace fakeglut {

using TimerFn = void (*)(int);
using IdleFn = void (*)();

struct Timer {
    uint64_t due;    // simulated time at which it fires
    unsigned delay;  // as passed to glutTimerFunc
    TimerFn fn;
    int value;
    uint64_t seq;  // order of arming, breaks ties between timers due together
};

// Forgets every timer and callback, zeroes the counters and puts the clock at 0.
void reset();

uint64_t now();
// Timers armed and not yet fired, in the order they were armed.
const std::vector<Timer>& pending();
// Moves the clock on by ms, firing every timer that falls due on the way (also ones
// armed by a firing), earliest first; the clock stands at each one's time while it runs.
void advance(uint64_t ms);

// The idle callback registered now (null when none).
IdleFn idle();

int timerArmings();
int idleRegistrations();  // glutIdleFunc calls, with or without a callback
int windowRedisplays();
int lastRedisplayWindow();  // window of the latest glutPostWindowRedisplay, -1 before any
int plainRedisplays();      // glutPostRedisplay
int swaps();
int fullScreenToggles();  // glutFullScreenToggle and glutLeaveFullScreen calls that changed it
bool fullScreen();        // as glutGet(GLUT_FULL_SCREEN) reports it
// Clock times of the window redisplays posted from inside a firing timer.
const std::vector<uint64_t>& timerRedisplayTimes();

}  // namespace fakeglut
