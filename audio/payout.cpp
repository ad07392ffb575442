// Counting out a payout: the beats of the count, and the coins and tickets mixed onto them.
#include "audio/payout.h"

#include <algorithm>

namespace {

// Adds one sound at `at` seconds with `gain`, cut at the end of the payout.
void mixIn(Pcm pcm, double at, float gain, float* out) {
    const auto first = static_cast<size_t>(at * SampleRate);
    if (first >= PayoutFrames) return;
    const size_t count = std::min(pcm.count, PayoutFrames - first);
    float* to = out + 2 * first;
    for (size_t i = 0; i < 2 * count; ++i) to[i] += gain * pcm.frames[i];
}

void mixItem(Sound sound, double at, Variation& variation, float* out) {
    mixIn(bankSound(sound, variation.pick(sound)), at, variation.gain(), out);
}

}  // namespace

bool renderPayout(int tokens, int tickets, bool threeOfAKind, Variation& variation, float* out) {
    tokens = std::max(tokens, 0);
    tickets = std::max(tickets, 0);
    const int beats = std::min(std::max(tokens, tickets), PayoutMaxBeats);
    if (beats == 0) return false;
    // Round figures: a count past the beats is heard as the beats' worth.
    tokens = std::min(tokens, beats);
    tickets = std::min(tickets, beats);
    const double beat = beats > 1 ? std::min(PayoutBeat, PayoutSpan / (beats - 0.5)) : PayoutBeat;
    std::fill(out, out + 2 * PayoutFrames, 0.0f);
    const Sound tick = threeOfAKind ? SoundTickBright : SoundTick;
    const double tickLag = tokens > 0 ? 0.5 * beat : 0.0;  // between the coins, when there are any
    for (int k = 0; k < beats; ++k) {
        if (k < tokens) mixItem(SoundClink, k * beat, variation, out);
        if (k < tickets) mixItem(tick, k * beat + tickLag, variation, out);
    }
    return true;
}
