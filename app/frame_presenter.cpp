// The GLX side of presenting part of a frame: the back buffer's age, the copy of a
// rectangle of it to the front, and the exposes on the window's connection. Kept apart
// from the game's headers: Xlib's names would clash with the game's own.
#include "app/frame_presenter.h"

#if SLOT_HAVE_GLX
#include <GL/glx.h>
// XESetWireToEvent, Xlib's hook into the decoding of an event.
#include <X11/Xlibint.h>

namespace {

using CopySubBuffer = void (*)(Display*, GLXDrawable, int, int, int, int);
using DecodeEvent = Bool (*)(Display*, XEvent*, xEvent*);

struct GlxPresenter {
    CopySubBuffer copySubBuffer;
    DecodeEvent decodeExpose;  // Xlib's own decoding of an Expose, which ours hands on to
};

GlxPresenter glx = {nullptr, nullptr};

int backBufferAge() {
    unsigned int age = 0;
    glXQueryDrawable(glXGetCurrentDisplay(), glXGetCurrentDrawable(), GLX_BACK_BUFFER_AGE_EXT, &age);
    return static_cast<int>(age);
}

void copyRect(const PixelRect& rect) {
    glx.copySubBuffer(glXGetCurrentDisplay(), glXGetCurrentDrawable(), rect.x, rect.y, rect.width, rect.height);
}

// GLUT hears an expose as one more redisplay and cannot tell it from one the game
// posted; Xlib hears it first, when it decodes the event.
Bool onExposeDecoded(Display* display, XEvent* event, xEvent* wire) {
    wantWholeFrame();
    return glx.decodeExpose(display, event, wire);
}

}  // namespace

FramePresenter glxFramePresenter() {
    FramePresenter presenter = glutFramePresenter();
    Display* display = glXGetCurrentDisplay();
    if (!display || !glXGetCurrentDrawable()) return presenter;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (listsExtension(extensions, "GLX_EXT_buffer_age")) presenter.backBufferAge = backBufferAge;
    if (listsExtension(extensions, "GLX_MESA_copy_sub_buffer")) {
        glx.copySubBuffer = reinterpret_cast<CopySubBuffer>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXCopySubBufferMESA")));
        if (glx.copySubBuffer) presenter.copyRect = copyRect;
    }
    return presenter;
}

void watchExposes() {
    Display* display = glXGetCurrentDisplay();
    if (display && !glx.decodeExpose) glx.decodeExpose = XESetWireToEvent(display, Expose, onExposeDecoded);
}
#else
FramePresenter glxFramePresenter() { return glutFramePresenter(); }
void watchExposes() {}
#endif
