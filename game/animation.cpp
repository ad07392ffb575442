// The animation driver: a 166 ms timer chain says whether steps may run; the idle
// callback runs the steps the clock has made due (120 a second), asks for a frame where
// they changed the picture, and leaves a one-shot timer to bring it back for the next.
// Its state is game.driver; what a step moves is in steps.cpp.
#include <GL/glut.h>

#include <algorithm>
#include <utility>

#include "app/game_state.h"
#include "audio/audio.h"
#include "game/play.h"
#include "render/render.h"

using StepCount = std::chrono::duration<int64_t, std::ratio<1, StepsPerSecond>>;

StepClock stepClock = std::chrono::steady_clock::now;

// The first request starts the one chain. Later ones have its next firing say "on", as
// a chain of their own would at its first, and need no wait where steps are on already.
void armAnimationTimer() {
    if (!game.driver.chainLive) {
        game.driver.chainLive = true;
        glutTimerFunc(TimerPeriodMs, onTimer, 1);
    } else {
        game.driver.askedSinceFiring = true;
        wakeAnimation();
    }
}

// Every period: steps are on while the chain's value (`animating` at its last firing)
// is 1 or an animation was asked for since. No frame of its own.
void onTimer(int value) {
    AnimationDriver& d = game.driver;
    d.stepsOn = value == 1 || std::exchange(d.askedSinceFiring, false);
    if (!d.stepsOn) d.stepsTaken = 0;  // the step clock stops
    glutIdleFunc(d.stepsOn ? onIdle : nullptr);
    glutTimerFunc(TimerPeriodMs, onTimer, game.animating);
    pollAudio();  // a device that came (a spin's reels are heard again) or went
}

void wakeAnimation() {
    if (game.driver.stepsOn) glutIdleFunc(onIdle);
}

void onStepDue(int /*value*/) {
    game.driver.stepTimerArmed = false;
    wakeAnimation();
}

void onIdle() {
    AnimationDriver& d = game.driver;
    // Off the idle list until the next step falls due or the chain fires: with no step
    // due the callback must not keep the processor busy.
    glutIdleFunc(nullptr);
    if (game.screen != ScreenMachine) hearReels();  // the machine stands still on another screen
    if (!stepsShow()) {
        d.stepsTaken = 0;  // when something moves again its first step comes at once
        return;
    }
    const std::chrono::steady_clock::time_point now = stepClock();
    if (d.stepsTaken == 0) d.clockOrigin = now;
    const int64_t due = std::chrono::duration_cast<StepCount>(now - d.clockOrigin).count() + 1;
    // Steps past the bound are dropped: after a stall the timeline goes on from where it
    // stood instead of racing through what it missed.
    if (runSteps(std::min<int64_t>(due - d.stepsTaken, MaxCatchUpSteps))) requestFrame();
    d.stepsTaken = stepsShow() ? due : 0;
    if (d.stepsTaken > 0 && d.stepsOn && !d.stepTimerArmed) {
        d.stepTimerArmed = true;
        const auto next = d.clockOrigin + std::chrono::ceil<std::chrono::steady_clock::duration>(StepCount(due));
        const int64_t wait = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
        glutTimerFunc(static_cast<unsigned>(std::max<int64_t>(wait, 1)), onStepDue, 0);
    }
}
