// How a program presents its frames, seen from a library preloaded into it: it swaps
// with glXSwapBuffers, which it calls by name, and copies rectangles of its back buffer
// to the front with glXCopySubBufferMESA, which it finds through glXGetProcAddress; the
// library stands in for the finder and hands out a stand-in for the copy. Included by
// one file of each preloaded library, which defines what a copy does.
#pragma once

#include <GL/glx.h>
#include <dlfcn.h>

#include <cstring>

using CopySubBufferFunction = void (*)(Display*, GLXDrawable, int, int, int, int);
using FindFunction = __GLXextFuncPtr (*)(const GLubyte*);

// Defined by the library: runs in place of every copy, and calls `copy` for it.
void copiedSubBuffer(Display* display, GLXDrawable drawable, int x, int y, int width, int height,
                     CopySubBufferFunction copy);

namespace present_hooks {

// The copy the program would have had.
struct Hooks {
    CopySubBufferFunction realCopy;
};

inline Hooks hooks = {nullptr};

inline void copySubBuffer(Display* display, GLXDrawable drawable, int x, int y, int width, int height) {
    copiedSubBuffer(display, drawable, x, y, width, height, hooks.realCopy);
}

// What the real finder finds, but the stand-in for the copy.
inline __GLXextFuncPtr find(const char* finder, const GLubyte* name) {
    const auto real = reinterpret_cast<FindFunction>(dlsym(RTLD_NEXT, finder));
    if (!real) return nullptr;
    const __GLXextFuncPtr found = real(name);
    if (!found || std::strcmp(reinterpret_cast<const char*>(name), "glXCopySubBufferMESA") != 0) return found;
    hooks.realCopy = reinterpret_cast<CopySubBufferFunction>(found);
    return reinterpret_cast<__GLXextFuncPtr>(copySubBuffer);
}

}  // namespace present_hooks

extern "C" __attribute__((visibility("default"))) __GLXextFuncPtr glXGetProcAddressARB(const GLubyte* name) {
    return present_hooks::find("glXGetProcAddressARB", name);
}

extern "C" __attribute__((visibility("default"))) __GLXextFuncPtr glXGetProcAddress(const GLubyte* name) {
    return present_hooks::find("glXGetProcAddress", name);
}
