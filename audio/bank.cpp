// The bank of sounds: synthesised once, levelled by their momentary loudness, panned
// into stereo. A device opened again finds them made.
#include "audio/bank.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/loudness.h"

namespace {

// Every variant of every sound, stereo, once made.
struct Bank {
    std::vector<float> pcm[SoundCount][Variants];
    bool made = false;
};
Bank bank;

// Stereo at the plan's pan, scaled so that the loudest 400 ms reach the plan's loudness.
void level(Sound sound, const Wave& mono, std::vector<float>& out) {
    const SoundPlan& plan = soundPlans[sound];
    out.resize(2 * mono.size());
    for (size_t i = 0; i < mono.size(); ++i) {
        out[2 * i] = mono[i] * plan.left;
        out[2 * i + 1] = mono[i] * plan.right;
    }
    const double now = momentaryMax(out.data(), mono.size(), 2);
    if (!std::isfinite(now)) return;
    const auto gain = static_cast<float>(std::pow(10.0, (plan.loudness - now) / 20.0));
    std::transform(out.begin(), out.end(), out.begin(), [gain](float s) { return s * gain; });
}

}  // namespace

void makeBank() {
    if (bank.made) return;
    Wave mono;
    for (int s = 0; s < SoundCount; ++s) {
        for (int v = 0; v < soundPlans[s].variants; ++v) {
            makeSound(static_cast<Sound>(s), v, mono);
            level(static_cast<Sound>(s), mono, bank.pcm[s][v]);
        }
    }
    bank.made = true;
}

Pcm bankSound(Sound sound, int variant) {
    const std::vector<float>& pcm = bank.pcm[sound][variant];
    return {pcm.data(), pcm.size() / 2};
}

// ---------------------------------------------------------------------------------
// Variation
// ---------------------------------------------------------------------------------

namespace {

// xorshift32: small, fast, and nobody else's.
uint32_t nextRandom(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

constexpr float VariationRangeDb = 2.0f;

}  // namespace

int Variation::pick(Sound sound) {
    const int count = soundPlans[sound].variants;
    if (count < 2) return 0;
    // One of the others, evenly: a step of 1 to count - 1 from the last.
    const int step = 1 + static_cast<int>(nextRandom(state) % static_cast<uint32_t>(count - 1));
    last[sound] = (last[sound] + step) % count;
    return last[sound];
}

float Variation::gain() {
    const float unit = static_cast<float>(nextRandom(state) >> 8) / 16777216.0f;
    return std::pow(10.0f, -VariationRangeDb * unit / 20.0f);
}
