// The sounds of the machine, made by code: their names, the voice each one plays on,
// the loudness and the place it is heard at, and the synthesis that writes one out.
#pragma once

#include "audio/synth.h"

// ---------------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------------

enum Sound : int {
    SoundTooth,    // one tooth of the lever's ratchet
    SoundClack,    // the lever at full pull
    SoundRunLeft,  // a reel turning: a loop of detents and whirr, one per reel
    SoundRunCentre,
    SoundRunRight,
    SoundKnockLeft,  // a reel landing on its stop
    SoundKnockCentre,
    SoundKnockRight,
    SoundChime,       // a pair
    SoundFanfare,     // three of a kind
    SoundCoin,        // tokens bought: two coins into the tray
    SoundClink,       // one coin of a payout
    SoundTick,        // one ticket of a payout
    SoundTickBright,  // one ticket of three of a kind's payout
    SoundBuzz,        // a refusal
    SoundBounce,      // the prize ball on the counter
    SoundCount
};

// The groups of sources the sounds play on. A voice holds two sources: a sound starts
// on the free one while the one before it rings out. The reels' runs have one looping
// source each.
enum Voice : int {
    VoiceLever,
    VoiceRunLeft,
    VoiceRunCentre,
    VoiceRunRight,
    VoiceKnock,
    VoiceResult,
    VoicePayout,
    VoiceAction,
    VoiceBounce,
    VoiceCount
};

struct SoundPlan {
    Voice voice;     // a payout's coins and ticks are mixed by code onto VoicePayout
    float loudness;  // the largest momentary loudness it is levelled to, LUFS
    float trim;      // dB taken off its sharpest peaks as it is made
    float left;      // the channels' gains, the louder one 1
    float right;
    int variants;  // repeated sounds come in several, a little apart in pitch
};

// ---------------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------------

constexpr int Variants = 6;

// The lever stands right of the reels; the runs and knocks are heard where their reels are.
constexpr SoundPlan soundPlans[SoundCount] = {
    {VoiceLever, -36.0f, 4.0f, 0.7f, 1.0f, Variants},   // tooth: forty a second as the lever rises
    {VoiceLever, -19.0f, 7.0f, 0.7f, 1.0f, 1},          // clack
    {VoiceRunLeft, -24.5f, 7.0f, 1.0f, 0.6f, 1},        // run, left reel
    {VoiceRunCentre, -24.5f, 7.0f, 1.0f, 1.0f, 1},      // run, centre reel
    {VoiceRunRight, -24.5f, 7.0f, 0.6f, 1.0f, 1},       // run, right reel
    {VoiceKnock, -22.0f, 6.0f, 1.0f, 0.6f, Variants},   // knock, left reel
    {VoiceKnock, -22.0f, 6.0f, 1.0f, 1.0f, Variants},   // knock, centre reel
    {VoiceKnock, -21.0f, 6.0f, 0.6f, 1.0f, Variants},   // knock, right reel: the last
    {VoiceResult, -14.0f, 0.0f, 1.0f, 1.0f, 1},         // chime
    {VoiceResult, -11.5f, 0.0f, 1.0f, 1.0f, 1},         // fanfare
    {VoiceAction, -22.0f, 2.0f, 1.0f, 1.0f, Variants},  // coin
    {VoicePayout, -22.0f, 2.0f, 1.0f, 0.8f, Variants},  // clink
    {VoicePayout, -26.0f, 6.0f, 0.8f, 1.0f, Variants},  // tick
    {VoicePayout, -24.0f, 4.0f, 0.8f, 1.0f, Variants},  // bright tick
    {VoiceAction, -26.0f, 0.0f, 1.0f, 1.0f, 1},         // buzz
    {VoiceBounce, -30.0f, 4.0f, 0.8f, 1.0f, Variants},  // bounce
};

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

// Writes one variant of a sound, in one channel at its synthesised level, into `out`,
// replacing what it held. The same samples on every call.
void makeSound(Sound sound, int variant, Wave& out);
