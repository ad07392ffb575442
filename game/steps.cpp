// The steps of the animation: one step of the lever, reels and marquee, or of the prize
// ball, what of the picture they change, and the sounds each step cues: the lever's
// ratchet and clack, the runs of the reels turning, their knocks, the result, the
// payout as the winnings land, a bounce. What they have cued is game.cues.
#include <algorithm>
#include <tuple>
#include <utility>

#include "app/game_state.h"
#include "audio/audio.h"
#include "game/play.h"

// ---------------------------------------------------------------------------------
// Running steps
// ---------------------------------------------------------------------------------

// Whether a step would move anything drawn: the machine until its animation is over
// (a settled machine's steps change nothing), the ball where it is drawn, on a
// winner's prize counter. Nothing moves on the token counter.
bool stepsShow() {
    if (game.screen == ScreenMachine) return game.animating != 0;
    if (game.screen == ScreenPrize) return game.tickets >= WinnerTickets;
    return false;
}

// What the steps can change of the picture: the machine's moving parts and the face
// its marquee shows, the ball, and whether the status bar has winnings to catch up on.
static auto stepPicture() {
    const bool barBehind =
        game.animating == 0 && (game.shownCredits != game.credits || game.shownTickets != game.tickets);
    return std::make_tuple(game.leverAngle, game.marqueeAngle, game.reelAngle[0], game.reelAngle[1], game.reelAngle[2],
                           game.ballHeight, game.machinePhase == PhaseSettled, barBehind);
}

bool runSteps(int64_t count) {
    const auto before = stepPicture();
    for (int64_t i = 0; i < count && stepsShow(); ++i) {
        if (game.screen == ScreenMachine)
            machineStep();
        else
            ballStep();
    }
    return stepPicture() != before;
}

// ---------------------------------------------------------------------------------
// Winnings
// ---------------------------------------------------------------------------------

void bookWinnings(int32_t tokens, int32_t tickets, bool threeOfAKind) {
    Winnings& payout = game.cues.payout;
    payout.tokens += std::max(tokens, 0);
    payout.tickets += std::max(tickets, 0);
    payout.threeOfAKind = payout.threeOfAKind || threeOfAKind;
}

void landWinnings() {
    const Winnings payout = std::exchange(game.cues.payout, Winnings{});
    if (payout.tokens > 0 || payout.tickets > 0) playPayout(payout.tokens, payout.tickets, payout.threeOfAKind);
}

// ---------------------------------------------------------------------------------
// The machine
// ---------------------------------------------------------------------------------

// The reels are heard turning on the machine screen from the lever's full pull until
// the last lands; they pause on another screen or at a new pull, and resume.
void hearReels() {
    StepCues& cues = game.cues;
    const bool allLanded = cues.reelLanded[0] && cues.reelLanded[1] && cues.reelLanded[2];
    const bool turning = game.screen == ScreenMachine && game.reelsSettling && !allLanded;
    if (turning == cues.reelsHeard) return;
    cues.reelsHeard = turning;  // before the cue: the sound reads it
    // A landing ends the runs through the knocks; the cue is for every other stop.
    if (!turning && !allLanded) playCue(CueReelsPause);
    if (turning) playCue(CueReelsResume);
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

// At full pull the reels set off together from 0, each heard running until it lands.
static void startReels() {
    game.reelAngle[0] = game.reelAngle[1] = game.reelAngle[2] = 0.0f;
    game.reelsSettling = true;
    StepCues& cues = game.cues;
    cues.reelLanded[0] = cues.reelLanded[1] = cues.reelLanded[2] = false;
    cues.reelsHeard = true;
    playCue(CueReelsStart);
}

// Runs one reel towards its limit; past it the reel lands on its stop plus whole turns,
// with a knock the first time. True at the step it lands.
static bool runReel(int i) {
    if (game.reelAngle[i] < ReelRunLimit[i]) {
        game.reelAngle[i] += ReelStep;
        return false;
    }
    game.reelAngle[i] = static_cast<float>(game.reelStop[i]) + ReelRunLimit[i];
    if (game.cues.reelLanded[i]) return false;
    game.cues.reelLanded[i] = true;
    playCue(static_cast<Cue>(CueKnockLeft + i));
    return true;
}

// The result is heard a moment after the right reel's knock, while the spin stays
// settled: a new pull before then leaves it unheard.
static void announceResult() {
    int32_t& due = game.cues.resultDue;
    if (game.machinePhase != PhaseSettled) due = 0;
    if (due == 0 || --due > 0) return;
    if (game.winKind == WinPair) playCue(CueChime);
    if (game.winKind == WinTriple) playCue(CueFanfare);
}

void machineStep() {
    announceResult();
    if (game.leverAngle < LeverFullPull && !game.reelsSettling) {
        raiseLever();
    } else {
        if (!game.reelsSettling) startReels();
        game.leverAngle -= LeverStep;
        if (game.leverAngle < LeverRest) game.leverAngle = LeverRest;
        runReel(0);
        runReel(1);
        const bool rightLanding = !(game.reelAngle[2] < ReelRunLimit[2]);
        if (runReel(2)) game.cues.resultDue = ResultDelaySteps;
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
