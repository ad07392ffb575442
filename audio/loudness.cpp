// BS.1770 loudness: the two biquads of the K-weighting (a high shelf for the head, a
// high-pass for the ear), designed for our sample rate, and the 400 ms momentary window.
#include "audio/loudness.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "audio/synth.h"

namespace {

// The filters of the standard, from their analogue prototypes, so that they hold at
// any sample rate (the standard tabulates them at 48 kHz only).
Biquad headShelf() {
    const double f0 = 1681.974450955533;
    const double gainDb = 3.999843853973347;
    const double q = 0.7071752369554196;
    const double k = std::tan(Pi * f0 / SampleRate);
    const double vh = std::pow(10.0, gainDb / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    Biquad f;
    f.b0 = (vh + vb * k / q + k * k) / a0;
    f.b1 = 2.0 * (k * k - vh) / a0;
    f.b2 = (vh - vb * k / q + k * k) / a0;
    f.a1 = 2.0 * (k * k - 1.0) / a0;
    f.a2 = (1.0 - k / q + k * k) / a0;
    return f;
}

Biquad earHighPass() {
    const double f0 = 38.13547087602444;
    const double q = 0.5003270373238773;
    const double k = std::tan(Pi * f0 / SampleRate);
    const double a0 = 1.0 + k / q + k * k;
    Biquad f;
    f.b0 = 1.0;
    f.b1 = -2.0;
    f.b2 = 1.0;
    f.a1 = 2.0 * (k * k - 1.0) / a0;
    f.a2 = (1.0 - k / q + k * k) / a0;
    return f;
}

constexpr size_t BlockFrames = SampleRate / 10;  // 100 ms
constexpr size_t WindowBlocks = 4;               // 400 ms

}  // namespace

double momentaryMax(const float* frames, size_t count, int channels) {
    // Sums of K-weighted squares per 100 ms block, over the sound and one window of
    // silence after it, in which the filters ring out.
    const size_t blocks = (count + BlockFrames - 1) / BlockFrames + WindowBlocks;
    std::vector<double> energy(blocks, 0.0);
    for (int c = 0; c < channels; ++c) {
        Biquad shelf = headShelf();
        Biquad pass = earHighPass();
        for (size_t i = 0; i < blocks * BlockFrames; ++i) {
            const double x = i < count ? frames[i * static_cast<size_t>(channels) + static_cast<size_t>(c)] : 0.0;
            const double y = pass.step(shelf.step(x));
            energy[i / BlockFrames] += y * y;
        }
    }
    // A window may begin before the sound: blocks before the first count as silence.
    double loudest = 0.0;
    double window = 0.0;
    for (size_t b = 0; b < blocks; ++b) {
        window += energy[b];
        if (b >= WindowBlocks) window -= energy[b - WindowBlocks];
        loudest = std::max(loudest, window);
    }
    if (loudest <= 0.0) return -std::numeric_limits<double>::infinity();
    return -0.691 + 10.0 * std::log10(loudest / static_cast<double>(WindowBlocks * BlockFrames));
}
