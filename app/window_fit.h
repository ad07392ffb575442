// Where the game's window opens and how large: the size it asks for, scaled by the
// desktop's Xft.dpi, on the monitor that holds the place it asks for (or the nearest),
// at that place when the monitor's share of the work area holds it, else the largest
// square that fits there with the window manager's frame.
// Plain types only: the X code behind it keeps Xlib's names away from the game's own.
#pragma once

#include <string>
#include <vector>

// ---------------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------------

// A rectangle in root-window pixels: for a window, (x, y) is where the outer corner of
// its frame goes, as X window managers read a requested position.
struct ScreenRect {
    int x, y, width, height;
};

// What the window manager adds around a window, in pixels.
struct FrameExtents {
    int left, right, top, bottom;
};

// ---------------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------------

// The place for a window that wants `wanted`: unchanged where it lies with its frame
// inside `area`, else moved as little as possible and, where even that is not enough,
// shrunk to the largest square that fits with its frame (never larger than wanted).
ScreenRect fitWindow(const ScreenRect& wanted, const ScreenRect& area, const FrameExtents& frame);

// The part of `a` inside `b`; 0 x 0 where they do not overlap.
ScreenRect intersection(const ScreenRect& a, const ScreenRect& b);

// The monitor a window asked at (x, y) opens on: the first of `monitors` that holds the
// point, else the one nearest to it. `monitors` must not be empty.
ScreenRect monitorAt(const std::vector<ScreenRect>& monitors, int x, int y);

// The place for `wanted` on a desktop of `monitors` (none where they are not known) whose
// work area is `workArea`: fitted as by fitWindow into the monitor's share of the work
// area (the monitor itself where the work area leaves it nothing).
ScreenRect fitWindowOnMonitor(const ScreenRect& wanted, const std::vector<ScreenRect>& monitors,
                              const ScreenRect& workArea, const FrameExtents& frame);

// `wanted` with its size scaled by the desktop's scale: the Xft.dpi resource as text
// against 96 dpi. Unset ("") or unreadable, the size stays; an absurd value is bounded.
ScreenRect scaleForDesktop(const ScreenRect& wanted, const std::string& xftDpi);

// The display GLUT's -display option names, "" where none; glutInit takes the option
// out of argv, so this is read before.
std::string glutDisplayOption(int argc, const char* const* argv);

// Asks the X server `displayName` ("" for the one in DISPLAY) for the desktop's Xft.dpi,
// its monitors (RandR 1.5, else Xinerama, else the screen as one), the work area and the
// frame its window manager will add, scales `wanted` by the dpi and fits it on its
// monitor; without a server, `wanted` comes back. Sets `*fullScreen` to whether the
// window manager offers fullscreen windows. Call after glutInit: while GLUT's connection
// is open, closing the probe's does not make a server with no other client reset and refuse the next one.
ScreenRect placeWindowOnScreen(const ScreenRect& wanted, const std::string& displayName, bool* fullScreen);
