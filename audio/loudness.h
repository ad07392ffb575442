// Loudness as a listener hears it (ITU-R BS.1770): the K-weighting filter and the
// momentary loudness of 400 ms windows, which the sounds are levelled by.
#pragma once

#include <cstddef>

// The largest momentary loudness (LUFS) of interleaved frames at SampleRate: the
// K-weighted mean square over every 400 ms window, in steps of 100 ms, counting
// silence before and after the sound. -inf for silence.
double momentaryMax(const float* frames, size_t count, int channels);
