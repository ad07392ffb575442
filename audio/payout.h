// The payout heard as the winnings land in the status bar: a coin for each token and a
// tick for each ticket, counted out by code into one buffer from the bank's sounds.
#pragma once

#include <cstddef>

#include "audio/bank.h"

// ---------------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------------

// A payout counts one coin and one ticket at a time, the tick half a beat after the coin.
constexpr double PayoutBeat = 0.1;  // seconds
// The last coin or ticket starts within this of the first: a long count goes faster.
constexpr double PayoutSpan = 0.9;
// Beyond this many beats a payout is counted in round figures.
constexpr int PayoutMaxBeats = 24;
// Long enough for the last coin to ring out 40 dB.
constexpr double PayoutSeconds = 1.55;
constexpr size_t PayoutFrames = static_cast<size_t>(PayoutSeconds * SampleRate);

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

// Mixes the payout into `out`, PayoutFrames interleaved stereo frames, which it
// overwrites: `tokens` clinks and `tickets` ticks, bright ones for three of a kind.
// False, and `out` untouched, when there is nothing to count. Allocates nothing.
bool renderPayout(int tokens, int tickets, bool threeOfAKind, Variation& variation, float* out);
