// Tells the X server and the desktop about the game's window: WM_CLASS and _NET_WM_ICON,
// and detectable key repeats (XKB). Works on GLUT's own connection, through GLX. Kept
// apart from the game's headers: Xlib's names would clash with the game's own.
#include "app/desktop_window.h"

#include <cstring>
#include <vector>

#if SLOT_HAVE_GLX
#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#endif

void setWindowClassAndIcon(const char* windowClass) {
#if SLOT_HAVE_GLX
    Display* display = glXGetCurrentDisplay();
    // freeglut makes its window current as the drawable itself, not through a GLXWindow.
    const Window window = glXGetCurrentDrawable();
    if (!display || !window) return;

    std::vector<char> name(windowClass, windowClass + std::strlen(windowClass) + 1);  // Xlib wants it writable
    XClassHint hint;
    hint.res_name = name.data();
    hint.res_class = name.data();
    XSetClassHint(display, window, &hint);

    // Format-32 properties go to Xlib as longs, whatever the size of a long.
    const std::vector<long> icon(windowIcon, windowIcon + windowIconWords);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(icon.data()), static_cast<int>(icon.size()));
    XFlush(display);
#else
    (void)windowClass;
#endif
}

bool detectKeyRepeats() {
#if SLOT_HAVE_GLX
    Display* display = glXGetCurrentDisplay();
    if (!display) return false;
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display, True, &supported);
    return supported == True;
#else
    return false;
#endif
}
