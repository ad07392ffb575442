// Where the game's window opens: the place it asks for when the screen holds it, else
// the largest square that fits the work area with the window manager's frame.
// Plain types only: the X code behind it keeps Xlib's names away from the game's own.
#pragma once

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

// Asks the X server named by GLUT's -display option (else by DISPLAY) for the work area
// and the frame its window manager will add, and fits `wanted` into them. Call before
// glutInit, which takes the option out of argv. Without a server, `wanted` comes back.
ScreenRect placeWindowOnScreen(const ScreenRect& wanted, int argc, char** argv);
