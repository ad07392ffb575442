// Game play: the rules of a spin and its payout, the timer-and-idle animation driver,
// and the picking that turns mouse presses into game actions.
#pragma once

#include <chrono>
#include <cstdint>

// ---------------------------------------------------------------------------------
// Spin and payout
// ---------------------------------------------------------------------------------

// The game's own linear congruential generator, the only source of reel stops.
int gameRand();

int randomReelStop();
void startSpin();
void resolveSpin();
void pullLever();
void betOne();
void betFive();
void buyTokens(int amount);

// ---------------------------------------------------------------------------------
// Animation driver
// ---------------------------------------------------------------------------------

// The clock the steps keep to: the steady clock in the game; the unit tests put their
// simulated clock here.
using StepClock = std::chrono::steady_clock::time_point (*)();
extern StepClock stepClock;

// Arms the 166 ms animation timer. At most one timer chain is ever live: an arming
// while one runs makes that chain's next firing act as a fresh arming with 1.
void armAnimationTimer();
// Brings the idle callback back at once where the chain has it on, for a screen on
// which something may move again rather than at the chain's next firing.
void wakeAnimation();
void onTimer(int value);
// Runs the steps that have fallen due (at most a quarter second's) and asks for a frame
// when they changed the picture; then waits for the next step off the idle list.
void onIdle();
// One-shot timer the idle callback arms for the time the next step falls due.
void onStepDue(int value);

// The steps themselves, and the sounds they cue.
void machineStep();
void ballStep();
// Whether a step on the screen shown would move anything drawn.
bool stepsShow();
// Runs up to `count` steps on the screen shown, fewer where nothing moves any more; true
// when they changed the picture.
bool runSteps(int64_t count);
// Cues the pause of the reels' runs when the reels stop turning without landing, and
// their return when they turn again; a call that changes nothing is silent.
void hearReels();
// Books winnings for the payout heard when the animation ends and the status bar
// shows them; amounts below zero count as none.
void bookWinnings(int32_t tokens, int32_t tickets, bool threeOfAKind);
// The status bar shows the winnings booked (the animation is over, or a new spin is
// asked for): they are counted out, and forgotten.
void landWinnings();

// ---------------------------------------------------------------------------------
// Picking
// ---------------------------------------------------------------------------------

enum PickMode { PickModeAuto, PickModeQuery, PickModeSelect };

// Which way pickAt finds hits: occlusion queries where the GL has them (Auto), or
// forced to one path. Only tests change it.
extern PickMode pickMode;

void onMouse(int button, int state, int x, int y);
void pickAt();
void processHits(int32_t hitCount, const uint32_t* buffer);
