// The steps a spin's timeline is known by, from the constants of the steps: for the
// logic tests and for the tests that draw a spin's frames.
#pragma once

#include "app/game_state.h"

// The steps a timeline is known by, counted from its first: the lever's full pull; the
// step at which each reel lands on its stop, the one after it reaches its limit; the
// step at which the marquee completes its first turn; and the step at which the
// animation ends, the one after the marquee completes its second turn, which it turns
// from `marqueeAtLanding` when the right reel lands (the end of its first turn after a
// spin; 0 where the prize key alone set the machine going).
struct Timeline {
    int fullPull;
    int reelLands[3];
    int firstTurn;
    int ends;
};

constexpr Timeline timeline(float marqueeAtLanding = MarqueeFirstTurn) {
    Timeline t{};
    t.fullPull = static_cast<int>(LeverFullPull / LeverStep);
    for (int i = 0; i < 3; ++i) t.reelLands[i] = t.fullPull + static_cast<int>(ReelRunLimit[i] / ReelStep) + 1;
    t.firstTurn = static_cast<int>(-MarqueeFirstTurn / MarqueeStep);
    t.ends = t.reelLands[2] + static_cast<int>((marqueeAtLanding - MarqueeSecondTurn) / MarqueeStep);
    return t;
}

// The timeline of a spin.
constexpr Timeline Spin = timeline();
