// OpenAL Soft, loaded at run time while the game needs it instead of linked: a copy
// loaded afresh looks again for the sound servers and devices there are now.
#pragma once

#include <alc.h>

// Loads the library unless it is loaded; false when it cannot be had. Called by the
// audio's helper thread only, like unloadOpenAL.
bool loadOpenAL();
// Lets the library go. Only while none of its devices is open and no thread is inside
// it: its AL and ALC functions do nothing (and answer zero) until it is loaded again.
void unloadOpenAL();
// Makes `context` current on the calling thread alone (ALC_EXT_thread_local_context),
// or none with null; the context current for the process stays as it is.
bool setThreadContext(ALCcontext* context);
