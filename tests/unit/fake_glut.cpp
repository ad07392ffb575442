// The recording fake of freeglut: the GLUT entry points the game calls, over a
// simulated clock, plus the helpers the tests use to drive and inspect them.
#include "tests/unit/fake_glut.h"

#include <GL/freeglut.h>

#include <algorithm>

namespace fakeglut {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

struct Firing {
    nanoseconds at;
    TimerFn fn;
};

struct Record {
    nanoseconds clock{0};
    uint64_t nextSeq = 0;
    std::vector<Timer> timers;
    IdleFn idle = nullptr;
    bool firing = false;
    int timerArmings = 0;
    int idleRegistrations = 0;
    int windowRedisplays = 0;
    int lastWindow = -1;
    int plainRedisplays = 0;
    int swaps = 0;
    int fullScreenToggles = 0;
    bool fullScreen = false;
    std::vector<uint64_t> timerRedisplayTimes;
    std::vector<Firing> firings;
};

Record& rec() {
    static Record r;
    return r;
}

uint64_t inMs(nanoseconds t) { return static_cast<uint64_t>(std::chrono::duration_cast<milliseconds>(t).count()); }

}  // namespace

void reset() { rec() = Record{}; }
uint64_t now() { return inMs(rec().clock); }
std::chrono::steady_clock::time_point clock() { return std::chrono::steady_clock::time_point(rec().clock); }
const std::vector<Timer>& pending() { return rec().timers; }

int pendingOf(TimerFn fn) {
    const auto& timers = rec().timers;
    return static_cast<int>(std::count_if(timers.begin(), timers.end(), [fn](const Timer& t) { return t.fn == fn; }));
}

void advanceBy(nanoseconds span) {
    Record& r = rec();
    const nanoseconds end = r.clock + span;
    for (;;) {
        auto next = std::min_element(r.timers.begin(), r.timers.end(), [](const Timer& a, const Timer& b) {
            return a.due != b.due ? a.due < b.due : a.seq < b.seq;
        });
        if (next == r.timers.end() || next->due > end) break;
        const Timer t = *next;
        r.timers.erase(next);  // one-shot, as in GLUT: a chain re-arms itself
        r.clock = t.due;
        r.firings.push_back({t.due, t.fn});
        r.firing = true;
        t.fn(t.value);
        r.firing = false;
    }
    r.clock = end;
}

void advance(uint64_t ms) { advanceBy(milliseconds(ms)); }

IdleFn idle() { return rec().idle; }
int timerArmings() { return rec().timerArmings; }
int idleRegistrations() { return rec().idleRegistrations; }
int windowRedisplays() { return rec().windowRedisplays; }
int lastRedisplayWindow() { return rec().lastWindow; }
int plainRedisplays() { return rec().plainRedisplays; }
int swaps() { return rec().swaps; }
int fullScreenToggles() { return rec().fullScreenToggles; }
bool fullScreen() { return rec().fullScreen; }
const std::vector<uint64_t>& timerRedisplayTimes() { return rec().timerRedisplayTimes; }

std::vector<uint64_t> firingTimes(TimerFn fn) {
    std::vector<uint64_t> times;
    std::for_each(rec().firings.begin(), rec().firings.end(), [fn, &times](const Firing& f) {
        if (f.fn == fn) times.push_back(inMs(f.at));
    });
    return times;
}

}  // namespace fakeglut

using fakeglut::rec;

void glutTimerFunc(unsigned int time, void (*callback)(int), int value) {
    auto& r = rec();
    r.timers.push_back({r.clock + std::chrono::milliseconds(time), time, callback, value, r.nextSeq++});
    ++r.timerArmings;
}

void glutIdleFunc(void (*callback)(void)) {
    rec().idle = callback;
    ++rec().idleRegistrations;
}

void glutPostWindowRedisplay(int window) {
    auto& r = rec();
    ++r.windowRedisplays;
    r.lastWindow = window;
    if (r.firing) r.timerRedisplayTimes.push_back(fakeglut::inMs(r.clock));
}

void glutPostRedisplay(void) { ++rec().plainRedisplays; }
void glutSwapBuffers(void) { ++rec().swaps; }
void glutFullScreenToggle(void) {
    ++rec().fullScreenToggles;
    rec().fullScreen = !rec().fullScreen;
}

// As freeglut: leaving fullscreen is a toggle where the window is fullscreen, else nothing.
void glutLeaveFullScreen(void) {
    if (rec().fullScreen) glutFullScreenToggle();
}

int glutGet(GLenum query) { return query == GLUT_FULL_SCREEN ? rec().fullScreen : 0; }
