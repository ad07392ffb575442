// The sounds as the device plays them: every variant synthesised once, levelled to its
// loudness, panned, and kept for every device the game opens; and the variation that
// picks how a repeated sound plays each time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/sounds.h"

// ---------------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------------

// Interleaved stereo frames at SampleRate.
struct Pcm {
    const float* frames;
    size_t count;  // frames, two samples each
};

// How a repeated sound plays this time: another variant than the last, a little
// quieter or not. Its own generator: the reels' stops never depend on a sound.
struct Variation {
    uint32_t state = 0x9E3779B9u;
    int last[SoundCount] = {};
    int pick(Sound sound);  // a variant, never the one picked last for this sound
    float gain();           // between -2 dB and 0 dB
};

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

// Synthesises and levels every sound the first time; later calls return at once.
// Pure computation: call it from one thread, before any other thread reads the bank.
void makeBank();

// One variant of a sound from the bank (made by makeBank).
Pcm bankSound(Sound sound, int variant);
