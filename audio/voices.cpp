// The voices of the machine: one buffer per sound and a fixed set of sources made once
// per device, and the cues dispatched to them.
#include <al.h>
#include <alext.h>

#include <vector>

#include "audio/audio.h"
#include "audio/sounds.h"
#include "audio/voices.h"

namespace {

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

ALuint buffers[SoundCount];
ALuint sources[VoiceCount];
bool muted = false;
bool reelsWanted = false;  // the last reels cue was a run: a device that comes picks it up

// What each cue plays; the reels' stop plays nothing.
constexpr int NoSound = -1;
constexpr int soundOfCue[] = {
    SoundLever, SoundReels,   NoSound,   SoundKnockLeft, SoundKnockCentre, SoundKnockRight,
    SoundChime, SoundFanfare, SoundCoin, SoundBuzz,      SoundBounce,
};
static_assert(sizeof(soundOfCue) / sizeof(soundOfCue[0]) == CueBounce + 1, "a cue without its sound");

void applyMute() { alListenerf(AL_GAIN, muted ? 0.0f : 1.0f); }

}  // namespace

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

bool makeVoices() {
    alDistanceModel(AL_NONE);
    alGenBuffers(SoundCount, buffers);
    alGenSources(VoiceCount, sources);
    if (alGetError() != AL_NO_ERROR) return false;

    std::vector<int16_t> frames;
    for (int s = 0; s < SoundCount; ++s) {
        makeSound(static_cast<Sound>(s), frames);
        alBufferData(buffers[s], AL_FORMAT_STEREO16, frames.data(), static_cast<ALsizei>(frames.size() * 2),
                     SampleRate);
    }
    // Stereo sent straight to the speakers: no panning or distance changes the levels
    // the sounds were made at, so the mix stays under its ceiling.
    const bool direct = alIsExtensionPresent("AL_SOFT_direct_channels") == AL_TRUE;
    for (ALuint source : sources) {
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        if (direct) alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    }
    alSourcei(sources[VoiceReels], AL_BUFFER, static_cast<ALint>(buffers[SoundReels]));
    alSourcei(sources[VoiceReels], AL_LOOPING, AL_TRUE);
    return alGetError() == AL_NO_ERROR;
}

void releaseVoices() {
    alSourceStopv(VoiceCount, sources);
    alDeleteSources(VoiceCount, sources);
    alDeleteBuffers(SoundCount, buffers);
}

void restoreVoices() {
    applyMute();
    if (reelsWanted) alSourcePlay(sources[VoiceReels]);
}

void playCue(Cue cue) {
    if (cue == CueReelsRun || cue == CueReelsStop) reelsWanted = cue == CueReelsRun;
    if (!deviceLive()) return;
    if (cue == CueReelsStop) {
        alSourceStop(sources[VoiceReels]);
        return;
    }
    const int sound = soundOfCue[cue];
    const ALuint source = sources[soundPlans[sound].voice];
    if (cue != CueReelsRun) {
        // A source takes another buffer only when stopped; a sound that still plays is cut.
        alSourceStop(source);
        alSourcei(source, AL_BUFFER, static_cast<ALint>(buffers[sound]));
    }
    alSourcePlay(source);
}

void toggleMute() {
    muted = !muted;
    if (deviceLive()) applyMute();
}
