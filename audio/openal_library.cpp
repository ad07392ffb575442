// OpenAL Soft loaded at run time. A linked OpenAL Soft picks its back ends once, at its
// first call, and keeps them for the whole run: a sound server that was not there then
// (started later, or restarting) is never used. A copy loaded afresh picks again. Every
// AL and ALC function the headers declare is defined here and passes the call on.
#include "audio/openal_library.h"

#include <al.h>
#include <alc.h>
#include <alext.h>
#include <dlfcn.h>

#include <atomic>

namespace {

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

constexpr const char* OpenALSoname = "libopenal.so.1";

// Where each function of the library loaded now is. A member named after its function.
struct EntryPoints {
#define OPENAL_ENTRY(result, name, parameters, arguments) \
    decltype(&::name) name;  // NOLINT(bugprone-macro-parentheses): a name declared, no expression
#include "audio/openal_entries.h"
#undef OPENAL_ENTRY
    PFNALCSETTHREADCONTEXTPROC alcSetThreadContext;
};

// The library loaded now and where its functions are.
struct OpenALLoad {
    void* library = nullptr;  // the helper thread's alone
    EntryPoints entries{};    // filled before `loaded` points to it, cleared after
    // What the forwarding functions call: null while no library is loaded.
    std::atomic<const EntryPoints*> loaded{nullptr};
};
OpenALLoad openAL;

template <typename Function>
bool resolve(Function& slot, const char* name) {
    slot = reinterpret_cast<Function>(dlsym(openAL.library, name));
    return slot != nullptr;
}

// The answer of a function called while no library is loaded.
template <typename Result>
Result none() {
    return Result();
}

}  // namespace

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

bool loadOpenAL() {
    if (openAL.library) return true;
    openAL.library = dlopen(OpenALSoname, RTLD_NOW | RTLD_LOCAL);
    if (!openAL.library) return false;
    bool complete = resolve(openAL.entries.alcSetThreadContext, "alcSetThreadContext");
#define OPENAL_ENTRY(result, name, parameters, arguments) complete = resolve(openAL.entries.name, #name) && complete;
#include "audio/openal_entries.h"
#undef OPENAL_ENTRY
    if (!complete) {
        unloadOpenAL();
        return false;
    }
    openAL.loaded.store(&openAL.entries, std::memory_order_release);
    return true;
}

void unloadOpenAL() {
    if (!openAL.library) return;
    openAL.loaded.store(nullptr, std::memory_order_release);
    openAL.entries = EntryPoints{};
    dlclose(openAL.library);
    openAL.library = nullptr;
}

bool setThreadContext(ALCcontext* context) {
    const EntryPoints* al = openAL.loaded.load(std::memory_order_acquire);
    return al && al->alcSetThreadContext(context) == ALC_TRUE;
}

// The functions the headers declare (with C linkage), each passing the call on.
#define OPENAL_ENTRY(result, name, parameters, arguments)                      \
    result AL_APIENTRY name parameters {                                       \
        const EntryPoints* al = openAL.loaded.load(std::memory_order_acquire); \
        return al ? al->name arguments : none<result>();                       \
    }
#include "audio/openal_entries.h"
#undef OPENAL_ENTRY
