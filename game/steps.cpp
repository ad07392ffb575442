// The steps of the animation: one step of the lever, reels and marquee, or of the prize
// ball, and the sounds each step cues: the lever's ratchet and clack, the runs of the
// reels turning, their knocks, the result, the payout as the winnings land, a bounce.
#include "app/game_state.h"
#include "audio/audio.h"
#include "game/play.h"

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

// What the steps have made heard: whether the reels' runs sound, and which reels have
// landed (knocked) since the reels began to turn.
static bool reelsHeard = false;
static bool reelLanded[3] = {false, false, false};
// Steps until the result is heard after the right reel has landed; 0 when none is due.
static int resultDue = 0;

// The winnings booked by the spins shown, not yet landed in the status bar.
static int32_t pendingTokens = 0;
static int32_t pendingTickets = 0;
static bool pendingTriple = false;

void forgetStepSounds() {
    reelsHeard = false;
    reelLanded[0] = reelLanded[1] = reelLanded[2] = false;
    resultDue = 0;
    pendingTokens = pendingTickets = 0;
    pendingTriple = false;
}

void bookWinnings(int32_t tokens, int32_t tickets, bool threeOfAKind) {
    pendingTokens += tokens > 0 ? tokens : 0;
    pendingTickets += tickets > 0 ? tickets : 0;
    pendingTriple = pendingTriple || threeOfAKind;
}

// ---------------------------------------------------------------------------------
// The machine
// ---------------------------------------------------------------------------------

// The reels are heard turning on the machine screen from the lever's full pull until
// the last lands; they pause on another screen or at a new pull, and resume.
void hearReels() {
    const bool allLanded = reelLanded[0] && reelLanded[1] && reelLanded[2];
    const bool turning = game.screen == ScreenMachine && game.reelsSettling && !allLanded;
    if (turning == reelsHeard) return;
    // A landing ends the runs through the knocks; the cue is for every other stop.
    if (!turning && !allLanded) playCue(CueReelsPause);
    if (turning) playCue(CueReelsResume);
    reelsHeard = turning;
}

// The lever rises one step: it leaves its rest, passes a tooth of its ratchet every
// few degrees, and clacks against its stop at full pull.
static void raiseLever() {
    game.leverAngle += LeverStep;
    if (game.leverAngle == LeverStep)
        playCue(CuePull);
    else if (!(game.leverAngle < LeverFullPull))
        playCue(CueClack);
    else if (static_cast<int>(game.leverAngle) % RatchetTooth == 0)
        playCue(CueRatchet);
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

// The result is heard a moment after the right reel's knock, while the spin stays
// settled: a new pull before then leaves it unheard.
static void announceResult() {
    if (game.machinePhase != PhaseSettled) resultDue = 0;
    if (resultDue == 0 || --resultDue > 0) return;
    if (game.winKind == 1) playCue(CueChime);
    if (game.winKind == 2) playCue(CueFanfare);
}

void landWinnings() {
    if (pendingTokens > 0 || pendingTickets > 0) playPayout(pendingTokens, pendingTickets, pendingTriple);
    pendingTokens = pendingTickets = 0;
    pendingTriple = false;
}

void machineStep() {
    announceResult();
    if (game.leverAngle < LeverFullPull && !game.reelsSettling) {
        raiseLever();
    } else {
        if (!game.reelsSettling) {
            game.reelAngle[0] = game.reelAngle[1] = game.reelAngle[2] = 0.0f;
            reelLanded[0] = reelLanded[1] = reelLanded[2] = false;
            playCue(CueReelsStart);
            reelsHeard = true;
        }
        game.reelsSettling = true;
        game.leverAngle -= LeverStep;
        if (game.leverAngle < LeverRest) game.leverAngle = LeverRest;
        runReel(0);
        runReel(1);
        const bool rightLanding = !(game.reelAngle[2] < ReelRunLimit[2]);
        if (runReel(2)) resultDue = ResultDelaySteps;
        if (rightLanding) game.machinePhase = PhaseSettled;
    }
    hearReels();

    if (game.machinePhase == PhaseSpinning) {
        if (game.marqueeAngle > MarqueeFirstTurn)
            game.marqueeAngle -= MarqueeStep;
        else
            game.machinePhase = PhaseIdle;
    } else if (game.machinePhase == PhaseSettled) {
        if (game.marqueeAngle > MarqueeSecondTurn) {
            game.marqueeAngle -= MarqueeStep;
        } else {
            game.animating = 0;
            landWinnings();
        }
    }
}

// ---------------------------------------------------------------------------------
// The prize ball
// ---------------------------------------------------------------------------------

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
