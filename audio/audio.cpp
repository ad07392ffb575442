// The audio device: opened quietly through OpenAL Soft, one buffer per sound and a fixed
// set of sources made once, the cues dispatched to them, and the close at exit.
#include "audio/audio.h"

#include <al.h>
#include <alc.h>
#include <alext.h>
#include <dlfcn.h>

#include <cstdlib>
#include <vector>

#include "audio/sounds.h"

namespace {

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

ALCdevice* device = nullptr;
ALCcontext* context = nullptr;
ALuint buffers[SoundCount];
ALuint sources[VoiceCount];
bool canTellDisconnect = false;
bool deviceLost = false;
bool closeArmed = false;

// What each cue plays; the reels' stop plays nothing.
constexpr int NoSound = -1;
constexpr int soundOfCue[] = {
    SoundLever, SoundReels,   NoSound,   SoundKnockLeft, SoundKnockCentre, SoundKnockRight,
    SoundChime, SoundFanfare, SoundCoin, SoundBuzz,      SoundBounce,
};
static_assert(sizeof(soundOfCue) / sizeof(soundOfCue[0]) == CueBounce + 1, "a cue without its sound");

// ---------------------------------------------------------------------------------
// Keeping the console quiet
// ---------------------------------------------------------------------------------

// ALSA's error handler type: file, line, function, error number, then a printf format.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);

void ignoreAlsaError(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/, const char* /*format*/,
                     ...) {}

// Without a device, OpenAL Soft logs its failures to standard error and ALSA prints its
// own through one handler for the whole process. OpenAL Soft reads its log level at its
// first call; ALSA's handler is set on our load of libasound, which is the very library
// OpenAL Soft loads later. The handle is kept so the library, and its handler, stay.
void quietLibraries() {
    setenv("ALSOFT_LOGLEVEL", "0", 0);  // a level the user chose stands
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return;
    using SetHandler = int (*)(AlsaErrorHandler);
    auto setHandler = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler) setHandler(ignoreAlsaError);
}

// ---------------------------------------------------------------------------------
// Device
// ---------------------------------------------------------------------------------

// True while the device can be played on. A device that has gone away (unplugged, its
// server ended) stays lost: OpenAL Soft has stopped its voices and we leave it be.
bool deviceLive() {
    if (!context || deviceLost) return false;
    if (canTellDisconnect) {
        ALCint connected = ALC_TRUE;
        alcGetIntegerv(device, ALC_CONNECTED, 1, &connected);
        if (connected == ALC_FALSE) deviceLost = true;
    }
    return !deviceLost;
}

// Makes the buffers and the sources; false when the device refuses any of it.
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

}  // namespace

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

bool openAudio() {
    if (device) return true;
    quietLibraries();
    device = alcOpenDevice(nullptr);
    if (!device) return false;
    context = alcCreateContext(device, nullptr);
    if (!context || alcMakeContextCurrent(context) != ALC_TRUE || !makeVoices()) {
        closeAudio();
        return false;
    }
    canTellDisconnect = alcIsExtensionPresent(device, "ALC_EXT_disconnect") == ALC_TRUE;
    deviceLost = false;
    if (!closeArmed) {
        closeArmed = true;
        std::atexit(closeAudio);
    }
    return true;
}

void closeAudio() {
    if (context) {
        alSourceStopv(VoiceCount, sources);
        alDeleteSources(VoiceCount, sources);
        alDeleteBuffers(SoundCount, buffers);
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        context = nullptr;
    }
    if (device) {
        alcCloseDevice(device);
        device = nullptr;
    }
}

void playCue(Cue cue) {
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
