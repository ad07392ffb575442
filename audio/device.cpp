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

// What the two threads hand each other, under `lock`: the main thread asks for a device
// and gives back one that is lost, the helper hands over one it has made ready.
struct Handoff {
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
};

struct AudioDevice {
    // The main thread's alone: the device the cues are played on, and the helper.
    Device current = NoDevice;
    bool helperStarted = false;
    bool closeAtExitArmed = false;
    pthread_t helper{};
    Handoff handoff;
    // The helper's alone: the library's devices that are open, ready or played on.
    int devicesOpen = 0;
};
AudioDevice audioDevice;

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
        --audioDevice.devicesOpen;
    }
    if (audioDevice.devicesOpen == 0) unloadOpenAL();
}

// Opens the default device with a context and makes the voices on it, the context
// current on this thread alone; NoDevice when anything fails. May wait as long as a
// sound server keeps it waiting.
Device openDevice() {
    if (!loadOpenAL()) return NoDevice;
    Device d = NoDevice;
    d.device = alcOpenDevice(nullptr);
    if (d.device) {
        ++audioDevice.devicesOpen;
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
    Handoff& h = audioDevice.handoff;
    std::unique_lock<std::mutex> locked(h.lock);
    for (;;) {
        Device closing = NoDevice;
        if (h.letGo.device) {
            closing = std::exchange(h.letGo, NoDevice);
        } else if (h.ending && h.ready.device) {
            closing = std::exchange(h.ready, NoDevice);
            h.readyWaiting.store(false, std::memory_order_relaxed);
        }
        if (closing.device) {
            locked.unlock();
            closeDevice(closing);
            locked.lock();
            continue;
        }
        if (h.ending) break;
        if (h.wanted && !h.ready.device) {
            locked.unlock();
            const Device opened = openDevice();
            locked.lock();
            if (opened.device) {
                h.ready = opened;
                h.readyWaiting.store(true, std::memory_order_release);
            } else {
                h.helperWake.wait_for(locked, std::chrono::milliseconds(AudioRetryMs), [&h] { return h.ending; });
            }
            continue;
        }
        h.helperWake.wait(locked);
    }
    unloadOpenAL();
    h.ended = true;
    h.helperDone.notify_all();
    return nullptr;
}

// ---------------------------------------------------------------------------------
// The main thread's side
// ---------------------------------------------------------------------------------

// Stops playing on the device and gives it to the helper to close; the helper then
// looks for a new one.
void giveBack() {
    Handoff& h = audioDevice.handoff;
    alcMakeContextCurrent(nullptr);
    {
        std::lock_guard<std::mutex> locked(h.lock);
        h.letGo = std::exchange(audioDevice.current, NoDevice);
        h.wanted = true;
    }
    h.helperWake.notify_one();
}

// Plays from now on on the device the helper has made ready.
void takeOver() {
    {
        Handoff& h = audioDevice.handoff;
        std::lock_guard<std::mutex> locked(h.lock);
        audioDevice.current = std::exchange(h.ready, NoDevice);
        h.wanted = false;
        h.readyWaiting.store(false, std::memory_order_relaxed);
    }
    if (!audioDevice.current.context) return;  // the helper has closed it for the quit
    if (alcMakeContextCurrent(audioDevice.current.context) != ALC_TRUE) {
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
    const Device& current = audioDevice.current;
    if (!current.context) {
        if (!audioDevice.handoff.readyWaiting.load(std::memory_order_acquire)) return false;
        takeOver();
        if (!current.context) return false;
    }
    if (current.canTellDisconnect) {
        ALCint connected = ALC_TRUE;
        alcGetIntegerv(current.device, ALC_CONNECTED, 1, &connected);
        if (connected == ALC_FALSE) {
            giveBack();
            return false;
        }
    }
    return true;
}

void openAudio() {
    if (audioDevice.helperStarted) return;
    quietLibraries();
    {
        Handoff& h = audioDevice.handoff;
        std::lock_guard<std::mutex> locked(h.lock);
        h.wanted = true;
        h.ending = false;
        h.ended = false;
    }
    if (pthread_create(&audioDevice.helper, nullptr, runHelper, nullptr) != 0) return;  // no helper: no sound
    pthread_setname_np(audioDevice.helper, "slot-audio");
    if (!std::exchange(audioDevice.closeAtExitArmed, true)) std::atexit(closeAudioAtExit);
    audioDevice.helperStarted = true;
}

bool pollAudio() { return deviceLive(); }

bool closeAudio() {
    if (!audioDevice.helperStarted) return true;
    if (audioDevice.current.context) alcMakeContextCurrent(nullptr);
    Handoff& h = audioDevice.handoff;
    std::unique_lock<std::mutex> locked(h.lock);
    if (audioDevice.current.device) h.letGo = audioDevice.current;  // the helper had nothing else to close
    audioDevice.current = NoDevice;
    h.ending = true;
    h.helperWake.notify_one();
    if (!h.helperDone.wait_for(locked, std::chrono::milliseconds(AudioCloseWaitMs), [&h] { return h.ended; }))
        return false;
    locked.unlock();
    pthread_join(audioDevice.helper, nullptr);
    audioDevice.helperStarted = false;
    return true;
}
