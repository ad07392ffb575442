// The animation driver: a 166 ms timer keeps the idle callback on while an animation
// runs; the idle callback runs the steps the clock has made due (120 a second) and asks
// for a frame only when they changed the picture. What a step moves is in steps.cpp.
#include <GL/glut.h>

#include <algorithm>

#include "app/game_state.h"
#include "audio/audio.h"
#include "game/play.h"
#include "render/render.h"

using StepTime = std::chrono::steady_clock::time_point;
using StepCount = std::chrono::duration<int64_t, std::ratio<1, StepsPerSecond>>;

StepClock stepClock = std::chrono::steady_clock::now;

// ---------------------------------------------------------------------------------
// Timer chain
// ---------------------------------------------------------------------------------

// One chain re-arms itself for the rest of the run. Every arming after the first only
// marks the chain so that its next firing acts as if it had been armed with 1: the
// idle callback runs as it would with one chain per arming, but timers never pile up.
static bool chainLive = false;
static bool chainBoosted = false;
// The chain's word at its last firing: the idle callback on (true) or off.
static bool stepsWanted = false;

// The step clock: runs while something moves. Step k (from 0) falls due `k` steps
// after the origin; the first is due the moment the clock starts.
static bool clockRunning = false;
static StepTime clockOrigin;
static int64_t stepsTaken = 0;
static bool wakeArmed = false;  // an onStepDue is pending

void armAnimationTimer() {
    if (!chainLive) {
        chainLive = true;
        glutTimerFunc(TimerPeriodMs, onTimer, 1);
    } else {
        chainBoosted = true;
        wakeAnimation();  // while the chain has the idle callback on, a request needs no wait
    }
}

void resetAnimationTimer() {
    chainLive = false;
    chainBoosted = false;
    stepsWanted = false;
    clockRunning = false;
    stepsTaken = 0;
    wakeArmed = false;
    forgetStepSounds();
}

void wakeAnimation() {
    if (stepsWanted) glutIdleFunc(onIdle);
}

void onTimer(int value) {
    if (chainBoosted) {
        value = 1;
        chainBoosted = false;
    }
    // No redisplay of its own: the steps ask for the frames they change.
    stepsWanted = value == 1;
    if (!stepsWanted) clockRunning = false;
    glutIdleFunc(stepsWanted ? onIdle : nullptr);
    glutTimerFunc(TimerPeriodMs, onTimer, game.animating);
    pollAudio();  // a device that came (a spin's reels are heard again) or went
}

void onStepDue(int /*value*/) {
    wakeArmed = false;
    if (stepsWanted) glutIdleFunc(onIdle);
}

// ---------------------------------------------------------------------------------
// Idle callback
// ---------------------------------------------------------------------------------

// Whether a step would move anything drawn: the machine until its animation is over
// (a settled machine's steps change nothing), the ball where it is drawn, on a
// winner's prize counter. Nothing moves on the token counter.
static bool stepsShow() {
    if (game.screen == ScreenMachine) return game.animating != 0;
    if (game.screen == ScreenPrize) return game.tickets >= WinnerTickets;
    return false;
}

// What the steps can change of the picture: the machine's moving parts and the face
// its marquee shows, the ball, and the winnings the status bar has yet to catch up on.
struct Picture {
    float lever, marquee, reel[3], ball;
    bool settled, barBehind;
};

static Picture picture() {
    const bool barBehind =
        game.animating == 0 && (game.shownCredits != game.credits || game.shownTickets != game.tickets);
    return {game.leverAngle,
            game.marqueeAngle,
            {game.reelAngle[0], game.reelAngle[1], game.reelAngle[2]},
            game.ballHeight,
            game.machinePhase == PhaseSettled,
            barBehind};
}

static bool samePicture(const Picture& a, const Picture& b) {
    return a.lever == b.lever && a.marquee == b.marquee && a.reel[0] == b.reel[0] && a.reel[1] == b.reel[1] &&
           a.reel[2] == b.reel[2] && a.ball == b.ball && a.settled == b.settled && a.barBehind == b.barBehind;
}

// The time step k of the running clock falls due, rounded up to the clock's tick.
static StepTime stepDue(int64_t k) { return clockOrigin + std::chrono::ceil<StepTime::duration>(StepCount(k)); }

static void animationStep() {
    if (game.screen == ScreenMachine)
        machineStep();
    else
        ballStep();
}

void onIdle() {
    // Off the idle list until the next step falls due (onStepDue) or the chain fires:
    // with no step due the callback must not keep the processor busy.
    glutIdleFunc(nullptr);
    if (game.screen != ScreenMachine) hearReels();  // the machine stands still while another screen is shown
    if (!stepsShow()) {
        clockRunning = false;  // when something moves again its first step comes at once
        return;
    }
    const StepTime now = stepClock();
    if (!clockRunning) {
        clockRunning = true;
        clockOrigin = now;
        stepsTaken = 0;
    }
    const int64_t due = std::chrono::duration_cast<StepCount>(now - clockOrigin).count() + 1;
    const int64_t run = std::min<int64_t>(due - stepsTaken, MaxCatchUpSteps);
    const Picture before = picture();
    for (int64_t i = 0; i < run && stepsShow(); ++i) animationStep();
    // The steps past the bound are dropped: after a stall the timeline goes on from
    // where it stood instead of racing through what it missed.
    stepsTaken = due;
    if (!samePicture(picture(), before)) requestFrame();

    if (!stepsShow()) {
        clockRunning = false;
    } else if (stepsWanted && !wakeArmed) {
        wakeArmed = true;
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(stepDue(stepsTaken) - now);
        glutTimerFunc(static_cast<unsigned>(std::max<int64_t>(wait.count(), 1)), onStepDue, 0);
    }
}
