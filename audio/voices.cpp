// The voices of the machine: the bank's sounds in buffers, two sources per voice and
// one looping source per reel, the cues dispatched to them, and the mute kept for
// whichever device is open; which reels' runs should sound is read from the game's
// record. OpenAL Soft ramps a gain change over one mixing period: every fade here is a
// gain set to 0.
#include <al.h>
#include <alc.h>
#include <alext.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "app/game_state.h"
#include "audio/audio.h"
#include "audio/bank.h"
#include "audio/payout.h"
#include "audio/voices.h"

namespace {

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

constexpr int SourcesPerVoice = 2;

// The buffers and sources made on the device played now, and what sounds the same
// whatever the device: the mute, the draws of the variation, the payout's scratch.
struct Voices {
    ALuint buffers[SoundCount][Variants];
    ALuint payoutBuffers[SourcesPerVoice];
    ALuint sources[VoiceCount][SourcesPerVoice];
    int newest[VoiceCount];  // which of its sources a voice started last
    bool made;
    std::atomic<bool> muted{false};  // also read by the helper thread, which fades out before a close
    Variation variation;
    std::vector<float> payoutScratch;
};
Voices voices;

// A run's source: the first of its voice.
ALuint runSource(int reel) { return voices.sources[VoiceRunLeft + reel][0]; }

// The device first: once it is live (taken over from the helper thread), what that
// thread made for it is ours to read.
bool live() { return deviceLive() && voices.made; }

bool isPlaying(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void applyMute() { alListenerf(AL_GAIN, voices.muted ? 0.0f : 1.0f); }

// ---------------------------------------------------------------------------------
// Starting and ending sounds
// ---------------------------------------------------------------------------------

// Silent within the device's next mixing period; the source plays on unheard to its end.
void fadeOut(ALuint source) { alSourcef(source, AL_GAIN, 0.0f); }

// The source a new sound on the voice starts on, stopped and free to take a buffer. A
// sound the device has not yet begun to play is simply replaced; one that sounds fades
// out while the new one starts on the other source, which has been silent since its
// own fade.
ALuint freeSource(Voice voice) {
    ALuint* pair = voices.sources[voice];
    int& newest = voices.newest[voice];
    const ALuint current = pair[newest];
    if (!isPlaying(current)) return current;
    ALint heard = 0;
    alGetSourcei(current, AL_SAMPLE_OFFSET, &heard);
    if (heard == 0) {
        alSourceStop(current);
        return current;
    }
    fadeOut(current);
    newest = 1 - newest;
    const ALuint next = pair[newest];
    alSourceStop(next);
    return next;
}

void start(ALuint source, ALuint buffer, float gain) {
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(source, AL_LOOPING, AL_FALSE);
    alSourcef(source, AL_GAIN, gain);
    alSourcePlay(source);
}

void playSound(Sound sound) {
    const bool varied = soundPlans[sound].variants > 1;
    const int variant = varied ? voices.variation.pick(sound) : 0;
    start(freeSource(soundPlans[sound].voice), voices.buffers[sound][variant], varied ? voices.variation.gain() : 1.0f);
}

// The game's word: the reels are heard turning, and this one has not landed.
bool runSounds(int reel) { return game.cues.reelsHeard && !game.cues.reelLanded[reel]; }

// The runs wanted and not playing: a run that is fading comes back from where it is;
// stopped ones start together from the top, which lies on a zero crossing. Runs always
// stop together too (their loops are equally long), so they keep in step.
void startRuns() {
    ALuint stopped[3];
    ALsizei count = 0;
    for (int reel = 0; reel < 3; ++reel) {
        if (!runSounds(reel)) continue;
        const ALuint source = runSource(reel);
        alSourcei(source, AL_LOOPING, AL_TRUE);
        alSourcef(source, AL_GAIN, 1.0f);
        if (!isPlaying(source)) stopped[count++] = source;
    }
    // One call, so that the device starts them in the same mixing period.
    if (count > 0) alSourcePlayv(count, stopped);
}

// Fades the run out and lets it end silently at the end of its loop; a run that does
// not play is left as it is.
void haltRun(int reel) {
    const ALuint source = runSource(reel);
    if (!isPlaying(source)) return;
    fadeOut(source);
    alSourcei(source, AL_LOOPING, AL_FALSE);
}

// Whether anything can be heard now, before the device goes.
bool audible() {
    if (voices.muted) return false;
    for (int voice = 0; voice < VoiceCount; ++voice) {
        for (ALuint source : voices.sources[voice]) {
            ALfloat gain = 0.0f;
            alGetSourcef(source, AL_GAIN, &gain);
            if (gain > 0.0f && isPlaying(source)) return true;
        }
    }
    return false;
}

// Waits for two of the device's mixing periods: time enough for a gain ramp to finish.
void waitForRamps() {
    ALCdevice* device = alcGetContextsDevice(alcGetCurrentContext());
    ALCint refresh = 0;
    if (device) alcGetIntegerv(device, ALC_REFRESH, 1, &refresh);
    const int ms = refresh > 0 ? std::min(100, 2 * 1000 / refresh + 1) : 100;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

constexpr int NoSound = -1;
// The sound each cue plays on its voice. The pull and the reels' cues change what
// plays instead, and the knocks also end their reels' runs.
constexpr int soundOfCue[] = {
    NoSound,     // pull
    SoundTooth,  // ratchet
    SoundClack,  // clack
    NoSound,     // reels start
    NoSound,     // reels pause
    NoSound,     // reels resume
    SoundKnockLeft, SoundKnockCentre, SoundKnockRight, SoundChime, SoundFanfare, SoundCoin, SoundBuzz, SoundBounce,
};
static_assert(sizeof(soundOfCue) / sizeof(soundOfCue[0]) == CueBounce + 1, "a cue without its sound");

}  // namespace

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

bool makeVoices() {
    if (alIsExtensionPresent("AL_EXT_FLOAT32") != AL_TRUE) return false;
    makeBank();
    voices.payoutScratch.resize(2 * PayoutFrames);
    alDistanceModel(AL_NONE);
    alGenBuffers(SoundCount * Variants, &voices.buffers[0][0]);
    alGenBuffers(SourcesPerVoice, voices.payoutBuffers);
    alGenSources(VoiceCount * SourcesPerVoice, &voices.sources[0][0]);
    if (alGetError() != AL_NO_ERROR) return false;

    for (int s = 0; s < SoundCount; ++s) {
        if (soundPlans[s].voice == VoicePayout) continue;  // mixed into a payout by code
        for (int v = 0; v < soundPlans[s].variants; ++v) {
            const Pcm pcm = bankSound(static_cast<Sound>(s), v);
            alBufferData(voices.buffers[s][v], AL_FORMAT_STEREO_FLOAT32, pcm.frames,
                         static_cast<ALsizei>(pcm.count * 2 * sizeof(float)), SampleRate);
        }
    }
    // Stereo sent straight to the speakers: no panning or distance changes the levels
    // the sounds were made at, so the mix stays within its headroom.
    const bool direct = alIsExtensionPresent("AL_SOFT_direct_channels") == AL_TRUE;
    for (int voice = 0; voice < VoiceCount; ++voice) {
        for (ALuint source : voices.sources[voice]) {
            alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
            if (direct) alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
        }
    }
    for (int reel = 0; reel < 3; ++reel)
        alSourcei(runSource(reel), AL_BUFFER, static_cast<ALint>(voices.buffers[SoundRunLeft + reel][0]));
    std::fill(std::begin(voices.newest), std::end(voices.newest), 0);
    voices.made = alGetError() == AL_NO_ERROR;
    return voices.made;
}

void restoreVoices() {
    if (!live()) return;
    applyMute();  // toggled, perhaps, while the device was being made
    startRuns();
}

void releaseVoices() {
    if (voices.made && audible()) {
        alListenerf(AL_GAIN, 0.0f);
        waitForRamps();
    }
    alSourceStopv(VoiceCount * SourcesPerVoice, &voices.sources[0][0]);
    alDeleteSources(VoiceCount * SourcesPerVoice, &voices.sources[0][0]);
    alDeleteBuffers(SourcesPerVoice, voices.payoutBuffers);
    alDeleteBuffers(SoundCount * Variants, &voices.buffers[0][0]);
    voices.made = false;
}

void playCue(Cue cue) {
    switch (cue) {
    case CuePull:
        // A new pull moves on from the last spin: its result or its payout stops.
        if (live())
            for (Voice voice : {VoiceResult, VoicePayout})
                for (ALuint source : voices.sources[voice]) fadeOut(source);
        return;
    case CueReelsStart:
    case CueReelsResume:
        if (live()) startRuns();
        return;
    case CueReelsPause:
        if (live())
            for (int reel = 0; reel < 3; ++reel) haltRun(reel);
        return;
    case CueKnockLeft:
    case CueKnockCentre:
    case CueKnockRight:
        if (live()) haltRun(cue - CueKnockLeft);
        break;
    default: break;
    }
    if (live()) playSound(static_cast<Sound>(soundOfCue[cue]));
}

void playPayout(int tokens, int tickets, bool threeOfAKind) {
    std::vector<float>& scratch = voices.payoutScratch;
    if (!live() || !renderPayout(tokens, tickets, threeOfAKind, voices.variation, scratch.data())) return;
    const ALuint source = freeSource(VoicePayout);
    const ALuint buffer = voices.payoutBuffers[source == voices.sources[VoicePayout][0] ? 0 : 1];
    // A buffer takes new data only while no source holds it.
    alSourcei(source, AL_BUFFER, 0);
    alBufferData(buffer, AL_FORMAT_STEREO_FLOAT32, scratch.data(), static_cast<ALsizei>(scratch.size() * sizeof(float)),
                 SampleRate);
    start(source, buffer, 1.0f);
}

void toggleMute() {
    voices.muted = !voices.muted;
    if (live()) applyMute();
}
