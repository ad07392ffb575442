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
    bool copyRefused;          // the X server refused the copy under way
    // The window's size when the back buffer was last fitted to it (0: not yet).
    unsigned fittedWidth, fittedHeight;
};

GlxPresenter glx = {nullptr, nullptr, false, 0, 0};

int backBufferAge() {
    unsigned int age = 0;
    glXQueryDrawable(glXGetCurrentDisplay(), glXGetCurrentDrawable(), GLX_BACK_BUFFER_AGE_EXT, &age);
    return static_cast<int>(age);
}

int refuseCopy(Display* /*display*/, XErrorEvent* /*error*/) {
    glx.copyRefused = true;
    return 0;
}

// A copy the window no longer holds (it changed its size under a frame drawn for the
// old one) is refused by the X server, whose default answer to an error ends the
// process: the copies' errors are heard here, and the frame is then shown another way.
bool copyRects(const PixelRect* rects, int count) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    XSync(display, False);  // the errors of earlier requests go where they went before
    glx.copyRefused = false;
    const auto before = XSetErrorHandler(refuseCopy);
    for (int i = 0; i < count; ++i)
        glx.copySubBuffer(display, drawable, rects[i].x, rects[i].y, rects[i].width, rects[i].height);
    XSync(display, False);
    XSetErrorHandler(before);
    return !glx.copyRefused;
}

// Mesa's software path reads the window's size, and fits the back buffer to it, only at
// the first frame and after a swap. So where the window's size is another than at the
// last of those, the picture shown is swapped once more before the next is drawn.
void fitBackBuffer() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    if (!display || !drawable || !XGetGeometry(display, drawable, &root, &x, &y, &width, &height, &border, &depth))
        return;
    if (glx.fittedWidth > 0 && (width != glx.fittedWidth || height != glx.fittedHeight))
        glXSwapBuffers(display, drawable);
    glx.fittedWidth = width;
    glx.fittedHeight = height;
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
        if (glx.copySubBuffer) {
            presenter.copyRects = copyRects;
            presenter.fitBackBuffer = fitBackBuffer;
        }
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
