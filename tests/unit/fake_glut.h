// A recording stand-in for the few freeglut calls the game logic makes: timers run on
// a simulated clock, which is also the clock the steps keep to; the idle callback is
// only remembered; redisplays, buffer swaps and fullscreen toggles are counted, and the
// fullscreen state is kept. Linked in place of freeglut by the unit tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace fakeglut {

using TimerFn = void (*)(int);
using IdleFn = void (*)();

struct Timer {
    std::chrono::nanoseconds due;  // simulated time at which it fires
    unsigned delay;                // milliseconds, as passed to glutTimerFunc
    TimerFn fn;
    int value;
    uint64_t seq;  // order of arming, breaks ties between timers due together
};

// Forgets every timer and callback, zeroes the counters and puts the clock at 0.
void reset();

// Simulated time in whole milliseconds.
uint64_t now();
// The simulated time as the steady clock's time: what the game's step clock reads.
std::chrono::steady_clock::time_point clock();
// Timers armed and not yet fired, in the order they were armed.
const std::vector<Timer>& pending();
// How many of the pending timers call `fn`.
int pendingOf(TimerFn fn);
// Moves the clock on, firing every timer that falls due on the way (also ones armed
// by a firing), earliest first; the clock stands at each one's time while it runs.
void advance(uint64_t ms);
void advanceBy(std::chrono::nanoseconds span);

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
// Clock times, in milliseconds, of the window redisplays posted from inside a firing timer.
const std::vector<uint64_t>& timerRedisplayTimes();
// Clock times, in milliseconds, at which timers calling `fn` fired.
std::vector<uint64_t> firingTimes(TimerFn fn);

}  // namespace fakeglut
