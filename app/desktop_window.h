// What the desktop learns about the game's window once it exists: its class and icon,
// by which docks and task bars know it, and held keys told apart from repeated presses.
// Plain types only: the X code behind it keeps Xlib's names away from the game's own.
#pragma once

#include <cstddef>
#include <cstdint>

// The game's icon as a window carries it (_NET_WM_ICON): for each size its width, its
// height, then its pixels as 0xAARRGGBB, row by row from the top. Drawn at build time by
// the picture tool, from the same drawing as the installed icon.
extern const uint32_t windowIcon[];
extern const size_t windowIconWords;

// Sets WM_CLASS (instance and class both `windowClass`) and _NET_WM_ICON on the window of
// the current GL context.
void setWindowClassAndIcon(const char* windowClass);

// Asks the X server to send the repeats of a held key as presses with no release between
// them, so that a release seen is a real one; false where the server cannot.
bool detectKeyRepeats();
