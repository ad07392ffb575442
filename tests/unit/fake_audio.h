// A recording stand-in for the audio: the cues the game emits, in order, with the
// animation step each came at. Linked in place of the real audio by the unit tests.
#pragma once

#include <vector>

#include "audio/audio.h"

namespace fakeaudio {

struct Heard {
    int step;  // animation steps taken when the cue came (see step())
    Cue cue;
};

// Forgets the cues heard and puts the step count at 0.
void reset();
// Counts one animation step; the cues after it are marked with the new count.
void step();
const std::vector<Heard>& heard();

}  // namespace fakeaudio
