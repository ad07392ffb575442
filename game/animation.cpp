// The animation driver: a 166 ms timer keeps the idle callback registered while an
// animation runs, and each idle call moves the lever, reels and marquee, or the ball,
// and cues the sounds of the step: the reels' run, their knocks, the result, a bounce.
#include <GL/glut.h>

#include "app/game_state.h"
#include "audio/audio.h"
#include "game/play.h"

// ---------------------------------------------------------------------------------
// Timer chain
// ---------------------------------------------------------------------------------

// One chain re-arms itself for the rest of the run. Every arming after the first only
// marks the chain so that its next firing acts as if it had been armed with 1: the
// idle callback runs as it would with one chain per arming, but timers never pile up.
static bool chainLive = false;
static bool chainBoosted = false;

// What the steps have made heard: whether the reels' run sounds, and which reels have
// landed (knocked) since the reels began to turn.
static bool reelsHeard = false;
static bool reelLanded[3] = {false, false, false};

void armAnimationTimer() {
    if (!chainLive) {
        chainLive = true;
        glutTimerFunc(TimerPeriodMs, onTimer, 1);
    } else {
        chainBoosted = true;
    }
}

void resetAnimationTimer() {
    chainLive = false;
    chainBoosted = false;
    reelsHeard = false;
}

void onTimer(int value) {
    if (chainBoosted) {
        value = 1;
        chainBoosted = false;
    }
    glutPostWindowRedisplay(game.windowId);
    glutIdleFunc(value == 1 ? onIdle : nullptr);
    glutTimerFunc(TimerPeriodMs, onTimer, game.animating);
    pollAudio();  // a device that came (a spin's reels are heard again) or went
}

// ---------------------------------------------------------------------------------
// Idle steps
// ---------------------------------------------------------------------------------

void hearReels(bool running) {
    if (running == reelsHeard) return;
    reelsHeard = running;
    playCue(running ? CueReelsRun : CueReelsStop);
}

void onIdle() {
    if (game.screen == ScreenMachine) {
        machineStep();
    } else {
        hearReels(false);  // the machine stands still while another screen is shown
        if (game.screen == ScreenPrize) ballStep();
    }
    glutPostWindowRedisplay(game.windowId);
}

// Runs one reel towards its limit; past it the reel lands on its stop plus whole turns,
// with a knock the first time. True at the step it lands.
static bool runReel(int i) {
    if (game.reelAngle[i] < ReelRunLimit[i]) {
        game.reelAngle[i] += ReelStep;
        return false;
    }
    game.reelAngle[i] = static_cast<float>(game.reelStop[i]) + ReelRunLimit[i];
    if (reelLanded[i]) return false;
    reelLanded[i] = true;
    playCue(static_cast<Cue>(CueKnockLeft + i));
    return true;
}

// The right reel has landed: the reels fall silent and the result is heard.
static void announceResult() {
    hearReels(false);
    if (game.winKind == 1) playCue(CueChime);
    if (game.winKind == 2) playCue(CueFanfare);
}

void machineStep() {
    // Until the right reel lands the machine is in motion, also when it resumes after
    // another screen was shown.
    if (game.machinePhase != PhaseSettled) hearReels(true);
    if (game.leverAngle < LeverFullPull && !game.reelsSettling) {
        game.leverAngle += LeverStep;
    } else {
        if (!game.reelsSettling) {
            game.reelAngle[0] = game.reelAngle[1] = game.reelAngle[2] = 0.0f;
            reelLanded[0] = reelLanded[1] = reelLanded[2] = false;
        }
        game.reelsSettling = true;
        game.leverAngle -= LeverStep;
        if (game.leverAngle < LeverRest) game.leverAngle = LeverRest;
        runReel(0);
        runReel(1);
        const bool rightLanding = !(game.reelAngle[2] < ReelRunLimit[2]);
        if (runReel(2)) announceResult();
        if (rightLanding) game.machinePhase = PhaseSettled;
    }

    if (game.machinePhase == PhaseSpinning) {
        if (game.marqueeAngle > MarqueeFirstTurn)
            game.marqueeAngle -= MarqueeStep;
        else
            game.machinePhase = PhaseIdle;
    } else if (game.machinePhase == PhaseSettled) {
        if (game.marqueeAngle > MarqueeSecondTurn)
            game.marqueeAngle -= MarqueeStep;
        else
            game.animating = 0;
    }
}

// The height is a float, its steps are doubles: each sum is formed in double and
// rounded when stored, which is what makes the ball dip just below zero.
void ballStep() {
    if (static_cast<double>(game.ballHeight) < BallTop && game.ballRising) {
        game.ballHeight = static_cast<float>(static_cast<double>(game.ballHeight) + BallRiseStep);
    } else {
        game.ballHeight = static_cast<float>(static_cast<double>(game.ballHeight) - BallFallStep);
        game.ballRising = false;
        if (static_cast<double>(game.ballHeight) < BallBottom) {
            game.ballRising = true;
            if (game.tickets >= WinnerTickets) playCue(CueBounce);  // only the winner's ball is drawn
        }
    }
}
