// A recording stand-in for the audio: the cues the game emits, in order, with the
// animation step each came at. Linked in place of the real audio by the unit tests.
#pragma once

#include <vector>

#include "audio/audio.h"

namespace fakeaudio {

// What `cue` holds for a payout, which playPayout emits.
constexpr int HeardPayout = -1;

struct Heard {
    int step;  // animation steps taken when the cue came (see step())
    int cue;   // a Cue, or HeardPayout
    int tokens = 0;
    int tickets = 0;
    bool threeOfAKind = false;
};

// Forgets the cues heard and puts the step count at 0.
void reset();
// Counts one animation step; the cues after it are marked with the new count.
void step();
const std::vector<Heard>& heard();
// How often the mute was toggled.
int mutes();

}  // namespace fakeaudio
