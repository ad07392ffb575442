// The audio device: opened by a helper thread that does nothing else, opened again
// whenever it is lost, and handed over to the main thread ready to play, so that the
// game never waits for a device or a sound server. Closed at exit with a bounded wait.
#include <al.h>
#include <alc.h>
#include <alext.h>
#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "app/game_state.h"
#include "audio/audio.h"
#include "audio/openal_library.h"
#include "audio/voices.h"

namespace {

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

struct Device {
    ALCdevice* device;
    ALCcontext* context;
    bool canTellDisconnect;
};

constexpr Device NoDevice = {nullptr, nullptr, false};

// The main thread's alone: the device the cues are played on.
Device playing = NoDevice;
bool helperStarted = false;
bool closeArmed = false;
pthread_t helper;

// Between the main thread and the helper, under `lock`.
std::mutex lock;
std::condition_variable helperWake;  // there is something for the helper to do
std::condition_variable helperDone;  // the helper has stopped
bool wanted = false;                 // the main thread plays on no device and wants one
Device ready = NoDevice;             // opened by the helper, not yet taken over
Device letGo = NoDevice;             // given back by the main thread, for the helper to close
bool ending = false;                 // the game quits: close everything and stop
bool ended = false;
// Follows `ready`, for the main thread to look at without taking the lock.
std::atomic<bool> readyWaiting{false};

// The helper's alone: the library's devices that are open, ready or played on.
int devicesOpen = 0;

// ---------------------------------------------------------------------------------
// Keeping the console quiet
// ---------------------------------------------------------------------------------

// ALSA's error handler type: file, line, function, error number, then a printf format.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);

void ignoreAlsaError(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/, const char* /*format*/,
                     ...) {}

// Without a device, OpenAL Soft logs its failures to standard error and ALSA prints its
// own through one handler for the whole process. OpenAL Soft reads its log level each
// time it is loaded; ALSA's handler is set on our load of libasound, which is the very
// library OpenAL Soft loads. The handle is kept so the library, and its handler, stay
// (and OpenAL Soft's loads and unloads do not load ALSA afresh each time).
void quietLibraries() {
    setenv("ALSOFT_LOGLEVEL", "0", 0);  // a level the user chose stands
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return;
    using SetHandler = int (*)(AlsaErrorHandler);
    auto setHandler = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler) setHandler(ignoreAlsaError);
}

// ---------------------------------------------------------------------------------
// The helper thread
// ---------------------------------------------------------------------------------

// Closes a device the main thread does not play on; with the last one the library goes,
// so that the next try loads it afresh.
void closeDevice(const Device& d) {
    if (d.context) {
        if (setThreadContext(d.context)) {
            releaseVoices();
            setThreadContext(nullptr);
        }
        alcDestroyContext(d.context);
    }
    if (d.device) {
        alcCloseDevice(d.device);
        --devicesOpen;
    }
    if (devicesOpen == 0) unloadOpenAL();
}

// Opens the default device with a context and makes the voices on it, the context
// current on this thread alone; NoDevice when anything fails. May wait as long as a
// sound server keeps it waiting.
Device openDevice() {
    if (!loadOpenAL()) return NoDevice;
    Device d = NoDevice;
    d.device = alcOpenDevice(nullptr);
    if (d.device) {
        ++devicesOpen;
        d.context = alcCreateContext(d.device, nullptr);
        if (d.context && setThreadContext(d.context)) {
            const bool made = makeVoices();
            setThreadContext(nullptr);
            if (made) {
                d.canTellDisconnect = alcIsExtensionPresent(d.device, "ALC_EXT_disconnect") == ALC_TRUE;
                return d;
            }
        }
    }
    closeDevice(d);
    return NoDevice;
}

// The helper: closes what the main thread gives back, opens a device whenever the main
// thread has none (trying again every AudioRetryMs while none opens), and at the end
// closes everything and stops.
void* runHelper(void* /*unused*/) {
    std::unique_lock<std::mutex> held(lock);
    for (;;) {
        Device closing = NoDevice;
        if (letGo.device) {
            closing = letGo;
            letGo = NoDevice;
        } else if (ending && ready.device) {
            closing = ready;
            ready = NoDevice;
            readyWaiting.store(false, std::memory_order_relaxed);
        }
        if (closing.device) {
            held.unlock();
            closeDevice(closing);
            held.lock();
            continue;
        }
        if (ending) break;
        if (wanted && !ready.device) {
            held.unlock();
            const Device opened = openDevice();
            held.lock();
            if (opened.device) {
                ready = opened;
                readyWaiting.store(true, std::memory_order_release);
            } else {
                helperWake.wait_for(held, std::chrono::milliseconds(AudioRetryMs), [] { return ending; });
            }
            continue;
        }
        helperWake.wait(held);
    }
    unloadOpenAL();
    ended = true;
    helperDone.notify_all();
    return nullptr;
}

// ---------------------------------------------------------------------------------
// The main thread's side
// ---------------------------------------------------------------------------------

// Stops playing on the device and gives it to the helper to close; the helper then
// looks for a new one.
void giveBack() {
    alcMakeContextCurrent(nullptr);
    {
        std::lock_guard<std::mutex> held(lock);
        letGo = playing;
        wanted = true;
    }
    playing = NoDevice;
    helperWake.notify_one();
}

// Plays from now on on the device the helper has made ready.
void takeOver() {
    {
        std::lock_guard<std::mutex> held(lock);
        playing = ready;
        ready = NoDevice;
        wanted = false;
        readyWaiting.store(false, std::memory_order_relaxed);
    }
    if (!playing.context) return;  // the helper has closed it for the quit
    if (alcMakeContextCurrent(playing.context) != ALC_TRUE) {
        giveBack();
        return;
    }
    restoreVoices();
}

void closeAudioAtExit() { closeAudio(); }

}  // namespace

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

bool deviceLive() {
    if (!playing.context) {
        if (!readyWaiting.load(std::memory_order_acquire)) return false;
        takeOver();
        if (!playing.context) return false;
    }
    if (playing.canTellDisconnect) {
        ALCint connected = ALC_TRUE;
        alcGetIntegerv(playing.device, ALC_CONNECTED, 1, &connected);
        if (connected == ALC_FALSE) {
            giveBack();
            return false;
        }
    }
    return true;
}

void openAudio() {
    if (helperStarted) return;
    quietLibraries();
    {
        std::lock_guard<std::mutex> held(lock);
        wanted = true;
        ending = false;
        ended = false;
    }
    if (pthread_create(&helper, nullptr, runHelper, nullptr) != 0) return;  // no helper: no sound
    pthread_setname_np(helper, "slot-audio");
    if (!std::exchange(closeArmed, true)) std::atexit(closeAudioAtExit);
    helperStarted = true;
}

bool pollAudio() { return deviceLive(); }

bool closeAudio() {
    if (!helperStarted) return true;
    if (playing.context) alcMakeContextCurrent(nullptr);
    std::unique_lock<std::mutex> held(lock);
    if (playing.device) letGo = playing;  // the helper had nothing else to close
    playing = NoDevice;
    ending = true;
    helperWake.notify_one();
    if (!helperDone.wait_for(held, std::chrono::milliseconds(AudioCloseWaitMs), [] { return ended; })) return false;
    held.unlock();
    pthread_join(helper, nullptr);
    helperStarted = false;
    return true;
}
