// Reads, before the game's window exists, the desktop's scale (Xft.dpi), its monitors
// (RandR, Xinerama), the work area and the frame the window manager adds (EWMH), so the
// window opens at the desktop's scale and wholly on one monitor. Kept apart from the
// game's headers: Xlib's names would clash with the game's own.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "app/window_fit.h"

// ---------------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------------

// How long the window manager gets to say how large its frame is; one that has not
// answered by then is taken to add none.
static const int FrameAnswerMs = 500;
static const int WorkAreaFields = 4;  // x, y, width, height per desktop
static const int FrameFields = 4;     // left, right, top, bottom
static const long MaxDesktops = 1024;
static const long SupportedChunk = 256;  // atoms of the supported list read at a time

// ---------------------------------------------------------------------------------
// Reading properties
// ---------------------------------------------------------------------------------

// The desktop's Xft.dpi as the X resource database holds it (xrdb), "" where unset.
static std::string xftDpi(Display* display) {
    const char* resources = XResourceManagerString(display);
    if (!resources) return "";
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    if (!database) return "";
    char* type = nullptr;
    XrmValue value = {0, nullptr};
    std::string dpi;
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr && value.size > 0)
        dpi.assign(value.addr, strnlen(value.addr, value.size));
    XrmDestroyDatabase(database);
    return dpi;
}

// Any X error while probing (a window manager's check window that has just gone, say)
// only means the answer is not there; the default handler would end the program.
static int ignoreXError(Display* /*display*/, XErrorEvent* /*error*/) { return 0; }

// Reads up to `count` 32-bit items of type `type` from a property, from item `first`
// on; returns how many were read (0 where the property or the window is not there).
static long readItems(Display* display, Window window, Atom property, Atom type, long first, long count, long* out) {
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, first, count, False, type, &actualType, &format,
                                          &items, &after, &data);
    long read = 0;
    if (status == Success && data && actualType == type && format == 32) {
        read = std::min(static_cast<long>(items), count);
        std::memcpy(out, data, sizeof(long) * static_cast<size_t>(read));  // Xlib hands 32-bit items as longs
    }
    if (data) XFree(data);
    return read;
}

static bool readLongs(Display* display, Window window, Atom property, Atom type, long first, long count, long* out) {
    return readItems(display, window, property, type, first, count, out) == count;
}

// True when an EWMH window manager runs: the root names a check window that names itself.
static bool windowManagerRuns(Display* display, Window root) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    long fromRoot = 0;
    long fromChild = 0;
    if (!readLongs(display, root, check, XA_WINDOW, 0, 1, &fromRoot)) return false;
    return readLongs(display, static_cast<Window>(fromRoot), check, XA_WINDOW, 0, 1, &fromChild) &&
           fromChild == fromRoot;
}

// True when the window manager lists the hint `name` as supported.
static bool supports(Display* display, Window root, const char* name) {
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    const long wanted = static_cast<long>(XInternAtom(display, name, False));
    long chunk[SupportedChunk];
    for (long first = 0;; first += SupportedChunk) {
        const long read = readItems(display, root, supported, XA_ATOM, first, SupportedChunk, chunk);
        if (std::find(chunk, chunk + read, wanted) != chunk + read) return true;
        if (read < SupportedChunk) return false;
    }
}

// The work area of the current desktop, kept inside the screen; the screen where the
// window manager sets none.
static ScreenRect workArea(Display* display, Window root, const ScreenRect& screen) {
    long desktop = 0;
    readLongs(display, root, XInternAtom(display, "_NET_CURRENT_DESKTOP", False), XA_CARDINAL, 0, 1, &desktop);
    if (desktop < 0 || desktop >= MaxDesktops) desktop = 0;
    long v[WorkAreaFields];
    if (!readLongs(display, root, XInternAtom(display, "_NET_WORKAREA", False), XA_CARDINAL, desktop * WorkAreaFields,
                   WorkAreaFields, v))
        return screen;
    const long left = std::max<long>(v[0], screen.x);
    const long top = std::max<long>(v[1], screen.y);
    const long right = std::min<long>(v[0] + v[2], screen.x + screen.width);
    const long bottom = std::min<long>(v[1] + v[3], screen.y + screen.height);
    if (v[2] <= 0 || v[3] <= 0 || right <= left || bottom <= top) return screen;
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

// The monitors as RandR 1.5 lists them (the active ones), else as Xinerama's heads, each
// kept inside the screen; none where the server knows neither, and the screen is then
// the one monitor.
static std::vector<ScreenRect> monitors(Display* display, Window root, const ScreenRect& screen) {
    std::vector<ScreenRect> found;
    auto add = [&found, &screen](int x, int y, int width, int height) {
        const ScreenRect shown = intersection({x, y, width, height}, screen);
        if (shown.width > 0 && shown.height > 0) found.push_back(shown);
    };
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    // Asked of the server first: libXrandr keeps, and never frees, a record of a display
    // whose server it finds without RandR.
    if (XQueryExtension(display, RANDR_NAME, &opcode, &event, &error) && XRRQueryVersion(display, &major, &minor) &&
        (major > 1 || (major == 1 && minor >= 5))) {
        int count = 0;
        XRRMonitorInfo* info = XRRGetMonitors(display, root, True, &count);
        for (int i = 0; info && i < count; ++i) add(info[i].x, info[i].y, info[i].width, info[i].height);
        if (info) XRRFreeMonitors(info);
        if (!found.empty()) return found;
    }
    if (XineramaQueryExtension(display, &event, &error) && XineramaIsActive(display)) {
        int count = 0;
        XineramaScreenInfo* heads = XineramaQueryScreens(display, &count);
        for (int i = 0; heads && i < count; ++i) add(heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height);
        if (heads) XFree(heads);
    }
    return found;
}

// ---------------------------------------------------------------------------------
// Asking for the frame
// ---------------------------------------------------------------------------------

// Waits until the window's frame extents are set or the time is up.
static bool awaitFrameExtents(Display* display, Window window, Atom extents) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(FrameAnswerMs);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == PropertyNotify && event.xproperty.window == window && event.xproperty.atom == extents &&
                event.xproperty.state == PropertyNewValue)
                return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd connection = {ConnectionNumber(display), POLLIN, 0};
        if (poll(&connection, 1, static_cast<int>(left)) < 0) return false;
    }
}

// The frame the running window manager puts around a new window of the given size,
// learnt before any window is mapped (_NET_REQUEST_FRAME_EXTENTS on an unmapped probe).
static FrameExtents frameOfNewWindow(Display* display, Window root, const ScreenRect& size, const ScreenRect& screen) {
    FrameExtents frame = {0, 0, 0, 0};
    if (!windowManagerRuns(display, root) || !supports(display, root, "_NET_REQUEST_FRAME_EXTENTS")) return frame;

    const Window probe = XCreateSimpleWindow(display, root, 0, 0, static_cast<unsigned>(size.width),
                                             static_cast<unsigned>(size.height), 0, 0, 0);
    XSelectInput(display, probe, PropertyChangeMask);
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    XEvent request;
    std::memset(&request, 0, sizeof request);
    request.xclient.type = ClientMessage;
    request.xclient.window = probe;
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    XFlush(display);

    long v[FrameFields];
    if (awaitFrameExtents(display, probe, extents) &&
        readLongs(display, probe, extents, XA_CARDINAL, 0, FrameFields, v)) {
        // A frame wider or taller than the screen is nonsense: cap each side.
        auto side = [](long value, int limit) { return static_cast<int>(std::clamp<long>(value, 0, limit)); };
        frame = {side(v[0], screen.width), side(v[1], screen.width), side(v[2], screen.height),
                 side(v[3], screen.height)};
    }
    XDestroyWindow(display, probe);
    return frame;
}

// ---------------------------------------------------------------------------------
// Placing the window
// ---------------------------------------------------------------------------------

ScreenRect placeWindowOnScreen(const ScreenRect& wanted, const std::string& displayName, bool* fullScreen) {
    *fullScreen = false;
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!display) return wanted;
    XErrorHandler previous = XSetErrorHandler(ignoreXError);
    const int number = DefaultScreen(display);
    const Window root = RootWindow(display, number);
    const ScreenRect screen = {0, 0, DisplayWidth(display, number), DisplayHeight(display, number)};
    const ScreenRect area = workArea(display, root, screen);
    const std::vector<ScreenRect> shown = monitors(display, root, screen);
    const ScreenRect scaled = scaleForDesktop(wanted, xftDpi(display));
    const FrameExtents frame = frameOfNewWindow(display, root, scaled, screen);
    *fullScreen = windowManagerRuns(display, root) && supports(display, root, "_NET_WM_STATE_FULLSCREEN");
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return fitWindowOnMonitor(scaled, shown, area, frame);
}
