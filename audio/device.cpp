// The audio device: opened quietly through OpenAL Soft, watched for going away, and
// closed at exit.
#include <al.h>
#include <alc.h>
#include <alext.h>
#include <dlfcn.h>

#include <cstdlib>

#include "audio/audio.h"
#include "audio/voices.h"

namespace {

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

ALCdevice* device = nullptr;
ALCcontext* context = nullptr;
bool canTellDisconnect = false;
bool deviceLost = false;
bool closeArmed = false;

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

}  // namespace

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

// A device that has gone away (unplugged, its server ended) stays lost: OpenAL Soft
// has stopped its voices and we leave it be.
bool deviceLive() {
    if (!context || deviceLost) return false;
    if (canTellDisconnect) {
        ALCint connected = ALC_TRUE;
        alcGetIntegerv(device, ALC_CONNECTED, 1, &connected);
        if (connected == ALC_FALSE) deviceLost = true;
    }
    return !deviceLost;
}

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
        releaseVoices();
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        context = nullptr;
    }
    if (device) {
        alcCloseDevice(device);
        device = nullptr;
    }
}
