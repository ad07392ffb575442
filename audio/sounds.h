// The sounds of the machine, made by code at start-up: their names, the voice each one
// plays on, how loud and where, and the synthesis that writes one out.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// ---------------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------------

enum Sound : int {
    SoundLever,
    SoundReels,
    SoundKnockLeft,
    SoundKnockCentre,
    SoundKnockRight,
    SoundChime,
    SoundFanfare,
    SoundCoin,
    SoundBuzz,
    SoundBounce,
    SoundCount
};

// The fixed set of sources: a sound replaces whatever its voice was playing, so the
// voices bound what can ever sound at once.
enum Voice : int { VoiceAction, VoiceReels, VoiceKnock, VoiceResult, VoiceBounce, VoiceCount };

struct SoundPlan {
    Voice voice;
    float level;  // peak of the louder channel, as a fraction of full scale
    float left;   // the channels' share of that peak, the louder one 1
    float right;
};

// ---------------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------------

constexpr int SampleRate = 44100;

// The lever stands right of the reels, the knocks land where their reels are.
constexpr SoundPlan soundPlans[SoundCount] = {
    {VoiceAction, 0.20f, 0.6f, 1.0f},  // lever
    {VoiceReels, 0.10f, 1.0f, 1.0f},   // reels
    {VoiceKnock, 0.18f, 1.0f, 0.5f},   // knock, left reel
    {VoiceKnock, 0.18f, 1.0f, 1.0f},   // knock, centre reel
    {VoiceKnock, 0.18f, 0.5f, 1.0f},   // knock, right reel
    {VoiceResult, 0.22f, 1.0f, 1.0f},  // chime
    {VoiceResult, 0.24f, 1.0f, 1.0f},  // fanfare
    {VoiceAction, 0.20f, 1.0f, 1.0f},  // coin
    {VoiceAction, 0.22f, 1.0f, 1.0f},  // buzz
    {VoiceBounce, 0.10f, 0.8f, 1.0f},  // bounce
};

// The loudest the mix can get: every voice at the peak of its loudest sound, all at the
// same instant.
constexpr float worstCaseMix() {
    float sum = 0.0f;
    for (int v = 0; v < VoiceCount; ++v) {
        float loudest = 0.0f;
        for (const SoundPlan& plan : soundPlans) loudest = plan.voice == v ? std::max(loudest, plan.level) : loudest;
        sum += loudest;
    }
    return sum;
}

// -1 dBFS is 0.891 of full scale; the rest is headroom for a device that resamples.
constexpr float MixCeiling = 0.85f;
static_assert(worstCaseMix() <= MixCeiling, "the voices together could clip");

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

// Writes the sound as interleaved 16-bit stereo frames at SampleRate into `out`,
// replacing what it held. The same bytes on every call.
void makeSound(Sound sound, std::vector<int16_t>& out);
