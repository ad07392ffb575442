// The rules: staking a spin, drawing the three reel stops, judging and paying the
// outcome, and buying tokens. A spin is decided and booked the moment it is asked for;
// its winnings are heard when its animation, or the next request, lands them. A
// purchase cues its coins, a refusal its buzz, there and then.
#include "app/game_state.h"
#include "audio/audio.h"
#include "game/play.h"

// ---------------------------------------------------------------------------------
// Random source
// ---------------------------------------------------------------------------------

// Its state is game.randState, never seeded: every run plays the same sequence of stops.
int gameRand() {
    game.randState = game.randState * 214013u + 2531011u;
    return static_cast<int>((game.randState >> 16) & 0x7FFFu);
}

int randomReelStop() {
    const int k = gameRand() % 4;
    return ReelStops[k];
}

// ---------------------------------------------------------------------------------
// A spin
// ---------------------------------------------------------------------------------

void startSpin() {
    game.machinePhase = PhaseSpinning;
    game.marqueeAngle = 0.0f;
    armAnimationTimer();
    game.animating = 1;
}

void resolveSpin() {
    game.leverAngle = 0.0f;
    game.reelsSettling = false;
    // Left, centre, right: the order fixes which stop each reel gets from the sequence.
    game.reelStop[0] = randomReelStop();
    game.reelStop[1] = randomReelStop();
    game.reelStop[2] = randomReelStop();

    const int32_t s0 = game.reelStop[0];
    const int32_t s1 = game.reelStop[1];
    const int32_t s2 = game.reelStop[2];
    const int32_t creditsBefore = game.credits;
    if (s0 == s1 || s0 == s2) {
        if (s1 == s2) {
            // The cap applies before the stake is taken: a triple leaves at most 10 - bet.
            game.credits += 2 * game.bet;
            if (game.credits > CreditCap) game.credits = CreditCap;
            game.winKind = WinTriple;
        } else {
            game.winKind = WinPair;
        }
    } else {
        game.winKind = (s1 == s2) ? WinPair : WinNone;
    }

    game.credits -= game.bet;
    game.shownCredits -= game.bet;  // the stake leaves the status bar at once
    game.tickets += game.winKind * game.bet;
    // What the status bar gains when the animation ends: the triple's tokens (none where
    // the cap takes them) and the tickets.
    bookWinnings(game.credits + game.bet - creditsBefore, game.winKind * game.bet, game.winKind == WinTriple);

    armAnimationTimer();
    game.animating = 1;
}

// ---------------------------------------------------------------------------------
// Requests
// ---------------------------------------------------------------------------------

// A spin at the stake given, or the refusal's buzz when fewer tokens are held.
static void requestSpin(int32_t stake) {
    if (game.credits < stake) {
        playCue(CueBuzz);
        return;
    }
    // Winnings that still wait for the end of an earlier spin's animation land now, in
    // the frame of the press, and are never carried into the new spin: its own wait
    // for its own animation's end.
    game.shownCredits = game.credits;
    game.shownTickets = game.tickets;
    landWinnings();
    game.bet = stake;
    startSpin();
    resolveSpin();
}

void pullLever() { requestSpin(game.bet); }
void betOne() { requestSpin(StakeOne); }
void betFive() { requestSpin(StakeFive); }

void buyTokens(int amount) {
    if (game.credits > BuyLimit) {
        playCue(CueBuzz);
        return;
    }
    game.credits += amount;
    game.shownCredits += amount;  // a purchase shows at once, also while an animation holds the bar
    playCue(CueCoin);
}
