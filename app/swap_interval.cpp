// Ties buffer swaps to the display refresh through GLX, where the GL offers it. Kept
// apart from the game's headers: Xlib's names would clash with the game's own.
#if SLOT_HAVE_GLX
#include <GL/glx.h>
#endif

#include "render/render.h"

// Asks for one buffer swap per display refresh, so that a frame is shown whole; the
// motion keeps to the step clock whatever the refresh rate.
void requestSwapInterval() {
#if SLOT_HAVE_GLX
    Display* display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable) return;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    auto has = [extensions](const char* name) { return listsExtension(extensions, name); };
    auto proc = [](const char* name) { return glXGetProcAddress(reinterpret_cast<const GLubyte*>(name)); };
    if (has("GLX_EXT_swap_control")) {
        using SwapIntervalEXT = void (*)(Display*, GLXDrawable, int);
        if (auto f = reinterpret_cast<SwapIntervalEXT>(proc("glXSwapIntervalEXT"))) f(display, drawable, 1);
    } else if (has("GLX_MESA_swap_control")) {
        using SwapIntervalMESA = int (*)(unsigned);
        if (auto f = reinterpret_cast<SwapIntervalMESA>(proc("glXSwapIntervalMESA"))) f(1);
    } else if (has("GLX_SGI_swap_control")) {
        using SwapIntervalSGI = int (*)(int);
        if (auto f = reinterpret_cast<SwapIntervalSGI>(proc("glXSwapIntervalSGI"))) f(1);
    }
#endif
}
